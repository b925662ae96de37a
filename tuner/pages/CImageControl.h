// The image control: shows the page's picture and reports the mouse over it as one of seven
// pointer events with the position, for the page to turn into a grid cell.
#pragma once

#include <QLabel>

class CImageControl : public QLabel {
    Q_OBJECT

  public:
    enum class Pointer {
        kMove = 0,
        kLeftDown,
        kLeftDoubleClick,
        kLeftUp,
        kRightDown,
        kRightDoubleClick,
        kRightUp,
    };

    explicit CImageControl(QWidget* parent = nullptr);

  signals:
    void PointerEvent(CImageControl::Pointer event, QPoint position);

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
