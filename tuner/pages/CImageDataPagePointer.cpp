// The pointer over the image control: the magnifier and the marked rows and columns.
#include <QPixmap>

#include "pages/CImageDataPage.h"

using namespace tuner::image;

void CImageDataPage::ShowPicture() {
    if (!magnifier_ || shown_ == nullptr || pointedRow_ < 0) {
        grid_->setPixmap(QPixmap::fromImage(shownGrid_));
        return;
    }
    QImage picture = shownGrid_;
    GridStyle style;
    {
        std::lock_guard lock(shared_);
        style = style_;
    }
    DrawMagnifier(picture, *shown_, style, pointedRow_, pointedColumn_, pointer_);
    grid_->setPixmap(QPixmap::fromImage(picture));
}

void CImageDataPage::OnPointer(CImageControl::Pointer event, QPoint at) {
    if (shown_ == nullptr) return;  // nothing computed yet
    int row = -1, column = -1;
    // A control without area or a point beside the grid names no cell.
    const bool cell = CellAt(*shown_, shownGrid_.size(), at, row, column);
    using P = CImageControl::Pointer;
    switch (event) {
        case P::kLeftDown:
            magnifier_ = cell;
            break;
        case P::kMove:
            if (!magnifier_ || magnifierLocked_ || !cell) return;
            break;
        case P::kLeftUp:
            if (magnifierLocked_) return;
            magnifier_ = false;
            break;
        case P::kLeftDoubleClick:
            magnifierLocked_ = !magnifierLocked_;
            magnifier_ = magnifierLocked_ && cell;
            break;
        case P::kRightUp:
            if (!magnifierLocked_ && cell) {
                std::lock_guard lock(shared_);
                style_.markedRows.resize(static_cast<size_t>(shown_->rows));
                style_.markedColumns.resize(static_cast<size_t>(shown_->columns + 1));
                style_.markedRows[static_cast<size_t>(row)].flip();
                style_.markedColumns[static_cast<size_t>(column)].flip();
            }
            worker_->Redraw();
            return;
        case P::kRightDown:
        case P::kRightDoubleClick:
            return;
    }
    if (cell) {
        pointedRow_ = row;
        pointedColumn_ = column;
        pointer_ = at;
    }
    ShowPicture();
}
