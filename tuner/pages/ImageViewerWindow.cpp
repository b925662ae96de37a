#include "pages/ImageViewerWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ImageViewerWindow::ImageViewerWindow(std::function<bool(const QKeyEvent&)> pageKey)
    : QWidget(nullptr), pageKey_(std::move(pageKey)) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setObjectName(QStringLiteral("ImageDataViewer"));
    setWindowTitle(QStringLiteral("ImageDataViewer"));
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageViewerWindow::SetPicture(QImage picture) {
    picture_ = std::move(picture);
    ++pictures_;
    update();
}

void ImageViewerWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, picture_);
}

void ImageViewerWindow::keyPressEvent(QKeyEvent* event) {
    if (!pageKey_(*event)) QWidget::keyPressEvent(event);
}

void ImageViewerWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) close();
}

void ImageViewerWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit Closed();
}
