#include "model/ImageWorker.h"

namespace tuner::image {

ImageWorker::ImageWorker(FrameAssembler& frames, Settings settings, Draw draw)
    : frames_(frames),
      settings_(std::move(settings)),
      draw_(std::move(draw)),
      work_(std::make_unique<Frame>()) {}

ImageWorker::~ImageWorker() {
    Stop();
}

void ImageWorker::Start() {
    if (thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
        frameReady_ = false;
    }
    thread_ = std::thread([this] { Run(); });
}

void ImageWorker::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ImageWorker::SignalFrame() {
    {
        std::lock_guard lock(mutex_);
        frameReady_ = true;
    }
    wake_.notify_all();
}

void ImageWorker::Redraw() {
    std::lock_guard lock(mutex_);
    if (latest_ != nullptr) drawn_ = false;
}

ImageWorker::Snapshot ImageWorker::Latest() const {
    std::lock_guard lock(mutex_);
    return latest_;
}

uint64_t ImageWorker::ComputedFrames() const {
    std::lock_guard lock(mutex_);
    return computed_;
}

void ImageWorker::Run() {
    using Clock = std::chrono::steady_clock;
    auto lastDraw = Clock::now() - kWait;
    std::unique_lock lock(mutex_);
    while (!stop_) {
        wake_.wait_for(lock, kWait, [this] { return stop_ || frameReady_; });
        if (stop_) break;
        if (frameReady_) {
            frameReady_ = false;
            lock.unlock();
            auto snapshot = std::make_shared<GridSnapshot>();
            bool shown = false;
            // A frame of a stream that was replaced meanwhile is not computed.
            if (frames_.CopyFront(*work_)) {
                std::lock_guard guard(processorMutex_);
                shown = processor_.Process(*work_, settings_(), *snapshot);
            }
            lock.lock();
            if (shown) {
                latest_ = std::move(snapshot);
                ++computed_;
                drawn_ = false;
            }
        }
        // Drawing follows the drawing interval, not the frames: a stream faster than the
        // interval still gets drawn, and a slow one is not drawn more than once per frame.
        if (!drawn_ && Clock::now() - lastDraw >= kWait) {
            const Snapshot snapshot = latest_;
            drawn_ = true;
            lastDraw = Clock::now();
            lock.unlock();
            if (draw_) draw_(snapshot);
            lock.lock();
        }
    }
}

}  // namespace tuner::image
