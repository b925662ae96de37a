// The image page's worker thread: computes the frame the library's thread hands over and has the
// page draw the newest result, at most once per drawing interval. The library's thread never
// waits for it: a frame that arrives while the worker is busy replaces the waiting one.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "model/FrameAssembler.h"
#include "model/ImageProcessor.h"

namespace tuner::image {

class ImageWorker {
  public:
    using Snapshot = std::shared_ptr<const GridSnapshot>;
    using Settings = std::function<ProcessSettings()>;
    // Called on the worker thread with the newest computed frame; must not wait for the
    // user-interface thread.
    using Draw = std::function<void(const Snapshot&)>;

    static constexpr std::chrono::milliseconds kWait{35};

    ImageWorker(FrameAssembler& frames, Settings settings, Draw draw);
    ~ImageWorker();
    ImageWorker(const ImageWorker&) = delete;
    ImageWorker& operator=(const ImageWorker&) = delete;

    void Start();
    // Wakes the thread and joins it; it wakes at least every kWait.
    void Stop();
    bool Running() const { return thread_.joinable(); }

    // The frame-ready event, set from any thread.
    void SignalFrame();
    // The last computed frame is drawn again (the drawing style changed), within one interval.
    void Redraw();

    // Changes of the computation, from the user-interface thread.
    template <typename F>
    void WithProcessor(F change) {
        std::lock_guard lock(processorMutex_);
        change(processor_);
    }

    Snapshot Latest() const;
    uint64_t ComputedFrames() const;

  private:
    void Run();

    FrameAssembler& frames_;
    Settings settings_;
    Draw draw_;

    std::mutex processorMutex_;
    ImageProcessor processor_;
    std::unique_ptr<Frame> work_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool frameReady_ = false, stop_ = false, drawn_ = true;
    Snapshot latest_;
    uint64_t computed_ = 0;
    std::thread thread_;
};

}  // namespace tuner::image
