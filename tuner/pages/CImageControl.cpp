#include "pages/CImageControl.h"

#include <QMouseEvent>

CImageControl::CImageControl(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
}

void CImageControl::mouseMoveEvent(QMouseEvent* event) {
    emit PointerEvent(Pointer::kMove, event->position().toPoint());
}

void CImageControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit PointerEvent(Pointer::kLeftDown, event->position().toPoint());
    if (event->button() == Qt::RightButton) emit PointerEvent(Pointer::kRightDown, event->position().toPoint());
}

void CImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit PointerEvent(Pointer::kLeftDoubleClick, event->position().toPoint());
    if (event->button() == Qt::RightButton)
        emit PointerEvent(Pointer::kRightDoubleClick, event->position().toPoint());
}

void CImageControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit PointerEvent(Pointer::kLeftUp, event->position().toPoint());
    if (event->button() == Qt::RightButton) emit PointerEvent(Pointer::kRightUp, event->position().toPoint());
}
