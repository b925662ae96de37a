#include "pages/FullScreenWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kBoxHeight = 40;
constexpr int kBoxWidth = 100;
constexpr int kOverlayPitch = 15;

tuner::DrawOps Box(const QRect& box, const char* word) {
    const tuner::Pen pen{tuner::kBlack, 1};
    tuner::DrawOps ops;
    ops.push_back(tuner::DrawOp::Line(box.left(), box.top(), box.right(), box.top(), pen));
    ops.push_back(tuner::DrawOp::Line(box.right(), box.top(), box.right(), box.bottom(), pen));
    ops.push_back(tuner::DrawOp::Line(box.right(), box.bottom(), box.left(), box.bottom(), pen));
    ops.push_back(tuner::DrawOp::Line(box.left(), box.bottom(), box.left(), box.top(), pen));
    const int textWidth = 6 * static_cast<int>(std::char_traits<char>::length(word));
    ops.push_back(tuner::DrawOp::Text(box.center().x() - textWidth / 2, box.center().y() - 6, word,
                                      tuner::kBlack));
    return ops;
}

}  // namespace

FullScreenWindow::FullScreenWindow() : DrawSurface(nullptr) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setCursor(Qt::ArrowCursor);
    setObjectName(QStringLiteral("fullScreenWindow"));
    QFont font = QFont(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(12);
    SetTextFont(font);
}

QRect FullScreenWindow::CleanBox() const {
    const QRect area = rect();
    return QRect(area.left() + 60, area.bottom() - 50, kBoxWidth, kBoxHeight);
}

QRect FullScreenWindow::QuitBox() const {
    const QRect area = rect();
    return QRect(area.right() - 180, area.bottom() - 50, kBoxWidth, kBoxHeight);
}

void FullScreenWindow::DrawFrame(const tuner::Colour& background, const tuner::DrawOps& pattern) {
    Fill(background);
    Draw(Box(CleanBox(), "Clean"));
    Draw(Box(QuitBox(), "Quit"));
    Draw(pattern);
}

void FullScreenWindow::SetOverlay(const QStringList& lines) {
    if (lines == overlay_) return;
    overlay_ = lines;
    update();
}

void FullScreenWindow::paintEvent(QPaintEvent* event) {
    DrawSurface::paintEvent(event);
    if (overlay_.isEmpty()) return;
    QPainter painter(this);
    painter.setPen(QColor(0, 0, 255));
    int y = kOverlayPitch;
    for (const QString& line : overlay_) {
        painter.drawText(10, y, line);
        y += kOverlayPitch;
    }
}

void FullScreenWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
    } else if (event->key() == Qt::Key_Space) {
        emit RedrawRequested();
    } else if (!event->text().isEmpty()) {
        emit PageKey(event->key(), event->text());
    }
}

void FullScreenWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) close();
}

void FullScreenWindow::closeEvent(QCloseEvent* event) {
    DrawSurface::closeEvent(event);
    emit Closed();
}
