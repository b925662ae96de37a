// The worker thread between the frame handler and the drawing: it computes the newest frame,
// draws what it computed, skips frames of a replaced stream, and stops when asked.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ImageReports.h"
#include "model/ImageWorker.h"

namespace tuner::image {
namespace {

using test::RowReport;

Geometry Small() {
    ChannelInfo info;
    info.txCount = 2;
    info.rxCount = 3;
    info.leadRows1 = 1;
    info.leadRows2 = 1;
    return MakeGeometry(info, 0);
}

template <typename F>
bool WaitFor(F condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}

// A frame of rows 0..3, every value `v`, fed on another thread as the library would.
void Feed(FrameAssembler& frames, ImageWorker& worker, int16_t v) {
    std::thread library([&] {
        for (int row = 0; row <= 3; ++row)
            if (frames.OnImageReport(RowReport(row, 0, {v, v, v}))) worker.SignalFrame();
    });
    library.join();
}

TEST(ImageWorkerTest, ComputesAndDrawsTheNewestFrameAndStops) {
    const Geometry g = Small();
    FrameAssembler frames;
    const ReportPlan plan = PlanFor(DisplayMode::kTotal, 1, {}, g);
    frames.Configure(plan.expectedLastRow, plan.rowLength, 0);
    frames.SetSkipCount(1);
    std::atomic<int> drawn{0};
    std::atomic<int> lastDrawnMaximum{0};
    ImageWorker worker(
        frames, [&] { return ProcessSettings{plan.window}; },
        [&](const ImageWorker::Snapshot& s) {
            lastDrawnMaximum = s->maximum;
            ++drawn;
        });
    worker.WithProcessor([&](ImageProcessor& p) { p.SetGeometry(g); });
    worker.Start();
    EXPECT_TRUE(worker.Running());

    for (int16_t v = 1; v <= 6; ++v) Feed(frames, worker, v);
    ASSERT_TRUE(WaitFor([&] { return worker.Latest() != nullptr && worker.Latest()->maximum == 6; }));
    ASSERT_TRUE(WaitFor([&] { return lastDrawnMaximum.load() == 6; }));
    EXPECT_LE(worker.ComputedFrames(), 3u);  // every second complete frame is handed on
    EXPECT_LE(drawn.load(), static_cast<int>(worker.ComputedFrames()));

    // A new style is drawn without a new frame.
    const int before = drawn.load();
    worker.Redraw();
    EXPECT_TRUE(WaitFor([&] { return drawn.load() == before + 1; }));

    // A replaced stream: its kept frame is not computed again.
    frames.Restart();
    const uint64_t computed = worker.ComputedFrames();
    worker.SignalFrame();
    std::this_thread::sleep_for(ImageWorker::kWait * 2);
    EXPECT_EQ(worker.ComputedFrames(), computed);

    worker.Stop();
    EXPECT_FALSE(worker.Running());
}

}  // namespace
}  // namespace tuner::image
