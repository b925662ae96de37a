// The image page's keys: pause, full screen, the display modes, the font steps and the RANGE
// window's arrows.
#include <QKeyEvent>

#include "pages/CImageDataPage.h"

using namespace tuner::image;

void CImageDataPage::ChangeFont(int step) {
    {
        std::lock_guard lock(shared_);
        style_.fontStep = std::clamp(style_.fontStep + step, 0, 9);
    }
    worker_->Redraw();
}

void CImageDataPage::MoveRange(int rxStep, int txStep) {
    if (mode_ != DisplayMode::kRange) return;
    range_ = MoveRangeWindow(range_, rxStep, txStep, geometry_);
    ApplyModeControls();
    if (active_) SendReportWindow();
}

bool CImageDataPage::HandlePageKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        case Qt::Key_P:
            TogglePause();
            return true;
        case Qt::Key_F:
            OpenFullScreen();
            return true;
        case Qt::Key_Z:
            if (mode_ == DisplayMode::kTotal) SetDisplayMode(DisplayMode::kRange);
            return true;
        case Qt::Key_X:
            if (mode_ != DisplayMode::kTotal) SetDisplayMode(DisplayMode::kTotal);
            return true;
        case Qt::Key_Plus:
            ChangeFont(1);
            return true;
        case Qt::Key_Minus:
            ChangeFont(-1);
            return true;
        case Qt::Key_Left:
            MoveRange(-1, 0);
            return mode_ == DisplayMode::kRange;
        case Qt::Key_Right:
            MoveRange(1, 0);
            return mode_ == DisplayMode::kRange;
        case Qt::Key_Up:
            MoveRange(0, -1);
            return mode_ == DisplayMode::kRange;
        case Qt::Key_Down:
            MoveRange(0, 1);
            return mode_ == DisplayMode::kRange;
        default:
            return CSheetPage::HandlePageKey(event);
    }
}
