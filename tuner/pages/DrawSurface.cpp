#include "pages/DrawSurface.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

QColor ToQColor(const tuner::Colour& colour) {
    return QColor(colour.r, colour.g, colour.b);
}

DrawSurface::DrawSurface(QWidget* parent, int minRepaintMs)
    : QWidget(parent), minRepaintMs_(minRepaintMs) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    textFont_ = QFont(QStringLiteral("Monospace"));
    textFont_.setStyleHint(QFont::TypeWriter);
    textFont_.setPixelSize(9);
    throttle_.setSingleShot(true);
    connect(&throttle_, &QTimer::timeout, this, [this] { update(); });
    sinceRepaint_.start();
}

void DrawSurface::Fill(const tuner::Colour& colour) {
    background_ = ToQColor(colour);
    // A widget that was never shown has had no resize event yet.
    if (image_.size() != size())
        image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(background_);
    RequestRepaint();
}

void DrawSurface::Draw(const tuner::DrawOps& ops) {
    if (ops.empty() || image_.isNull()) return;
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const tuner::DrawOp& op : ops) {
        if (!op.pen.visible) continue;
        QPen pen(ToQColor(op.pen.colour));
        pen.setWidth(op.pen.width);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        switch (op.kind) {
            case tuner::DrawOp::Kind::kLine:
                painter.drawLine(op.x1, op.y1, op.x2, op.y2);
                break;
            case tuner::DrawOp::Kind::kCircle:
                painter.drawEllipse(QPoint(op.x1, op.y1), op.radius, op.radius);
                break;
            case tuner::DrawOp::Kind::kText: {
                painter.setFont(textFont_);
                const int ascent = painter.fontMetrics().ascent();
                painter.drawText(op.x1, op.y1 + ascent, QString::fromStdString(op.text));
                break;
            }
        }
    }
    RequestRepaint();
}

void DrawSurface::RequestRepaint() {
    if (throttle_.isActive()) return;  // a repaint is already on its way
    const int wait = std::max<qint64>(0, minRepaintMs_ - sinceRepaint_.elapsed());
    throttle_.start(wait);
}

void DrawSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
    ++repaints_;
    sinceRepaint_.restart();
}

void DrawSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (image_.size() != size()) {
        image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        image_.fill(background_);
    }
    emit Resized();
}
