// The image page's full-screen window: opened by its button or the F key, drawn from the same
// frames as the page. While it is open the stream, the statistics line, the key strip and a
// running image log carry on; pausing waits until it closes.
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "pages/CImageDataPage.h"
#include "pages/ImageViewerWindow.h"

void CImageDataPage::OpenFullScreen() {
    if (viewer_ != nullptr || !active_) return;
    fullScreen_->setEnabled(false);
    pause_->setEnabled(false);
    // A window of its own over the screen, deleted with the page at the latest.
    viewer_ = new ImageViewerWindow([this](const QKeyEvent& key) { return HandlePageKey(key); });
    viewer_->setParent(this, viewer_->windowFlags());
    connect(viewer_, &ImageViewerWindow::Closed, this, &CImageDataPage::FullScreenClosed);
    viewer_->setGeometry(screen()->geometry());
    viewer_->showFullScreen();
    ChangeFont(1);
    StyleChanged();
}

void CImageDataPage::FullScreenClosed() {
    if (viewer_ == nullptr) return;
    // The window may be closing from its own key or mouse handler: it goes once that is done.
    viewer_->deleteLater();
    viewer_ = nullptr;
    fullScreen_->setEnabled(true);
    pause_->setEnabled(true);
    // The quadrant buttons of QUAD mode, the current one disabled; the RANGE boxes keep what was
    // typed in them.
    const bool quad = mode_ == tuner::image::DisplayMode::kQuad;
    for (int q = 0; q < 4; ++q) quadrants_[q]->setEnabled(quad && q + 1 != quadrant_);
    ChangeFont(-1);
    StyleChanged();
}

QWidget* CImageDataPage::PictureTarget() const {
    return viewer_ != nullptr ? static_cast<QWidget*>(viewer_) : grid_;
}

int CImageDataPage::FontStep() const {
    std::lock_guard lock(shared_);
    return style_.fontStep;
}

QString CImageDataPage::FrequencyText() const {
    return frequency_->text();
}

std::vector<bool> CImageDataPage::MarkedRows() const {
    std::lock_guard lock(shared_);
    return style_.markedRows;
}

std::vector<bool> CImageDataPage::MarkedColumns() const {
    std::lock_guard lock(shared_);
    return style_.markedColumns;
}
