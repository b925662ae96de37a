// A simulated controller opened as the tuner opens it, with the image page's frame handler
// subscribed and the simulator's truth file in a fresh folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "../../diag/TruthFile.h"
#include "ScratchFolder.h"
#include "model/FrameAssembler.h"
#include "model/ImageDataTypes.h"
#include "model/ImageProcessor.h"
#include "model/Startup.h"

namespace tuner::image::test {

class ImageSession {
  public:
    // `profile` is profile text ("model = ...").
    void Open(const std::string& profile) {
        scratch_.emplace("tuner-image");
        folder_ = scratch_->Path();
        const auto path = folder_ / "panel.profile";
        std::ofstream(path) << profile << '\n';
        setenv("DEVLINK", ("sim:" + path.string()).c_str(), 1);
        setenv("DEVLINK_SIM_TRUTH", (folder_ / "truth.txt").c_str(), 1);
        ASSERT_EQ(StartController(state_), StartupResult::kReady);
        geometry_ = MakeGeometry(state_.channels.Get(), state_.touchKeys.keys != 0
                                                            ? state_.touchKeys.keys
                                                            : state_.touchKeys.secondKeys);
        subscription_ = devAddReportHandler(Handle(), 0x4A, kDevAnySubCode, &frames_,
                                            [](void* context, int, const DevReport* report) {
                                                static_cast<FrameAssembler*>(context)
                                                    ->OnImageReport(*report);
                                            });
        ASSERT_NE(subscription_, nullptr);
    }

    ~ImageSession() {
        if (subscription_ != nullptr) devRemoveReportHandler(Handle(), subscription_);
        state_.device.ReturnToNormalAndClose();
        unsetenv("DEVLINK_SIM_TRUTH");
        scratch_.reset();
    }

    DevHandle Handle() { return state_.device.Handle(); }
    const Geometry& Geo() const { return geometry_; }
    TunerState& State() { return state_; }
    TruthFile Truth() const { return TruthFile(folder_ / "truth.txt"); }

    // Streams the working mode in the plan's window until `frames` more frames have completed
    // (at least two: the first may still hold rows of the previous stream), then returns to
    // command mode.
    bool Capture(uint16_t mode, const ReportPlan& plan, Frame& frame, int frames = 2) {
        frames_.Configure(plan.expectedLastRow, plan.rowLength, geometry_.keys);
        devSwitchWorkMode(Handle(), 0x8000);
        const ChannelWindow& w = plan.window;
        if (devSetReportImage(Handle(), w.firstRx, w.lastRx, w.firstTx, w.lastTx) == 0)
            return false;
        const uint64_t start = frames_.CompletedFrames();
        devSwitchWorkMode(Handle(), mode);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        const uint64_t end = start + static_cast<uint64_t>(std::max(frames, 2));
        while (frames_.CompletedFrames() < end && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Paused before command mode, so the frame taken is the one counted.
        frames_.SetPaused(true);
        devSwitchWorkMode(Handle(), 0x8000);
        frames_.CopyFront(frame);
        frames_.SetPaused(false);
        return frames_.CompletedFrames() >= end;
    }

    ReportPlan Total() const { return PlanFor(DisplayMode::kTotal, 1, {}, geometry_); }
    FrameAssembler& Frames() { return frames_; }

  private:
    std::optional<testsupport::ScratchFolder> scratch_;
    std::filesystem::path folder_;
    TunerState state_;
    Geometry geometry_;
    FrameAssembler frames_;
    DevSubscription subscription_ = nullptr;
};

}  // namespace tuner::image::test
