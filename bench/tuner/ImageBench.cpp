// The image page's work per frame on the largest sensor the frame holds (158 Tx rows after the two
// lead rows, 254 Rx columns): assembling the frame from its reports and computing each data type.
// Each result carries its share of the 1 ms between two reports and of a 16.7 ms screen frame;
// copying the frame once is the baseline in the same run. The drawing benchmark drives the worker
// with frames far faster than the screen and counts how often it draws.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "model/FrameAssembler.h"
#include "model/ImageProcessor.h"
#include "model/ImageWorker.h"

namespace {

using namespace tuner::image;

constexpr double kReportIntervalMs = 1.0;
constexpr double kScreenFrameMs = 1000.0 / 60.0;

Geometry Largest() {
    tuner::ChannelInfo info;
    info.txCount = 158;
    info.rxCount = 254;
    info.leadRows1 = 1;
    info.leadRows2 = 1;
    return MakeGeometry(info, 0);
}

// Every report of one frame: each row in reports of 29 values.
std::vector<DevReport> FrameReports(const Geometry& g) {
    std::vector<DevReport> reports;
    for (int row = 0; row < g.lead + g.tx; ++row)
        for (int first = 0; first < g.rx; first += 29) {
            DevReport r{};
            const int n = std::min(29, g.rx - first);
            r.bytes[1] = static_cast<uint8_t>(3 + 2 * n);
            r.bytes[2] = 0x4A;
            r.bytes[3] = static_cast<uint8_t>(row);
            r.bytes[4] = static_cast<uint8_t>(first);
            for (int i = 0; i < n; ++i) {
                const int v = 1500 + (row * 7 + (first + i) * 3) % 400;
                r.bytes[5 + 2 * i] = static_cast<uint8_t>(v & 0xFF);
                r.bytes[6 + 2 * i] = static_cast<uint8_t>(v >> 8);
            }
            reports.push_back(r);
        }
    return reports;
}

void SetRatios(benchmark::State& state, double totalSeconds) {
    const double ms = totalSeconds * 1000.0 / static_cast<double>(state.iterations());
    state.counters["frame_ms"] = ms;
    state.counters["of_report_interval"] = ms / kReportIntervalMs;
    state.counters["of_screen_frame"] = ms / kScreenFrameMs;
}

template <typename F>
void Timed(benchmark::State& state, F work) {
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        work();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    SetRatios(state, total);
}

void BM_CopyFrameBaseline(benchmark::State& state) {
    Frame a, b;
    Timed(state, [&] {
        b = a;
        benchmark::DoNotOptimize(b.cells.data());
    });
}
BENCHMARK(BM_CopyFrameBaseline);

void BM_AssembleFrame(benchmark::State& state) {
    const Geometry g = Largest();
    const ReportPlan plan = PlanFor(DisplayMode::kTotal, 1, {}, g);
    const auto reports = FrameReports(g);
    FrameAssembler frames;
    frames.Configure(plan.expectedLastRow, plan.rowLength, 0);
    Timed(state, [&] {
        for (const DevReport& r : reports) benchmark::DoNotOptimize(frames.OnImageReport(r));
    });
    state.counters["reports"] = static_cast<double>(reports.size());
}
BENCHMARK(BM_AssembleFrame);

// Taking the frame from the handler's buffer and computing one data type, as the worker does.
void BM_ComputeFrame(benchmark::State& state) {
    const DataType& type = tuner::image::AllDataTypes()[static_cast<size_t>(state.range(0))];
    state.SetLabel(std::string(type.text));
    const Geometry g = Largest();
    const ReportPlan plan = PlanFor(DisplayMode::kTotal, 1, {}, g);
    FrameAssembler frames;
    frames.Configure(plan.expectedLastRow, plan.rowLength, 0);
    for (const DevReport& r : FrameReports(g)) frames.OnImageReport(r);
    ImageProcessor processor;
    processor.SetGeometry(g);
    processor.SelectType(type);
    UniformitySubTable table;
    for (int t = 0; t < g.tx; ++t)
        for (int r = 0; r < g.rx; r += 4) table.entries.push_back({t, r, 3});
    processor.SetUniformity(table);
    Frame work;
    GridSnapshot out;
    for (int i = 0; i < ImageProcessor::kBaselineFrames; ++i) {
        frames.CopyFront(work);
        processor.Process(work, {plan.window}, out);
    }
    const ProcessSettings settings{plan.window, state.range(1) != 0, TestKind::kCounts, 10};
    Timed(state, [&] {
        frames.CopyFront(work);
        benchmark::DoNotOptimize(processor.Process(work, settings, out));
    });
}
BENCHMARK(BM_ComputeFrame)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 8, 1), {0}})
    ->Args({0, 1});  // the raw view with the test-mode counts

// Frames handed to the worker every 0.2 ms for half a second: it computes the newest and draws
// at most once per drawing interval, never once per frame.
void BM_WorkerDrawsAtMostAtScreenRate(benchmark::State& state) {
    const Geometry g = Largest();
    const ReportPlan plan = PlanFor(DisplayMode::kTotal, 1, {}, g);
    FrameAssembler frames;
    frames.Configure(plan.expectedLastRow, plan.rowLength, 0);
    for (const DevReport& r : FrameReports(g)) frames.OnImageReport(r);
    double draws = 0, signals = 0, computed = 0, seconds = 0;
    for (auto _ : state) {
        std::atomic<int> drawn{0};
        ImageWorker worker(frames, [&] { return ProcessSettings{plan.window}; },
                           [&](const ImageWorker::Snapshot&) { ++drawn; });
        worker.WithProcessor([&](ImageProcessor& p) { p.SetGeometry(g); });
        worker.Start();
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500)) {
            worker.SignalFrame();
            ++signals;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        worker.Stop();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        draws += drawn.load();
        computed += static_cast<double>(worker.ComputedFrames());
    }
    state.counters["frames_per_s"] = signals / seconds;
    state.counters["computed_per_s"] = computed / seconds;
    state.counters["draws_per_s"] = draws / seconds;
    state.counters["of_screen_rate"] = draws / seconds / (1000.0 / kScreenFrameMs);
}
BENCHMARK(BM_WorkerDrawsAtMostAtScreenRate)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
