// Acquiring the largest frame of each chip family through devlink, the way the builder reads a
// frame: switch to the image mode, take reports until the frame is complete, switch back.
//
// Unpaced, the simulator hands reports over as fast as the reader takes them: the host time per
// report is shown as a fraction of the 1 ms a full-speed link needs per report. Paced like a
// full-speed link (DEVLINK_SIM_PACE=fs), the wall time is shown against the link-time floor of
// the reports the frame took, one per millisecond.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

#include "devlink/devlink.h"

namespace {

struct Model {
    const char* name;
    int tx, rx;  // the frame's size
};
// The largest frame of each chip family among the models.
constexpr Model kModels[] = {{"K9PM100", 96, 168}, {"K7P128", 64, 112}, {"K7P84", 40, 64}};

DevHandle OpenSim(const std::string& profile, const char* pace) {
    setenv("DEVLINK", ("sim:" + profile).c_str(), 1);
    if (pace != nullptr)
        setenv("DEVLINK_SIM_PACE", pace, 1);
    else
        unsetenv("DEVLINK_SIM_PACE");
    DevRecord record{};
    devEnumerate(
        &record,
        [](DevRecord*, const char*, void*, uint32_t, uint32_t, uint16_t, uint16_t) { return 1; },
        nullptr);
    return devOpen(record);
}

// Counts the reports of one frame and signals when its last report arrived.
struct FrameReader {
    int lastRow = 0, columns = 0;
    std::mutex m;
    std::condition_variable cv;
    long reports = 0;
    bool done = false;

    static void Handle(void* context, int, const DevReport* r) {
        auto* self = static_cast<FrameReader*>(context);
        std::lock_guard lock(self->m);
        if (self->done) return;
        ++self->reports;
        const int n = (devReportCount(*r) - 3) / 2;
        if (r->bytes[3] == self->lastRow && r->bytes[4] + n == self->columns) {
            self->done = true;
            self->cv.notify_one();
        }
    }
};

// One frame per iteration; returns the reports of the last one.
long AcquireFrames(benchmark::State& state, DevHandle h, const Model& model) {
    FrameReader reader;
    reader.lastRow = model.tx + 1;
    reader.columns = model.rx;
    DevSubscription sub =
        devAddReportHandler(h, 0x4A, kDevAnySubCode, &reader, FrameReader::Handle);
    long reports = 0;
    for (auto _ : state) {
        {
            std::lock_guard lock(reader.m);
            reader.done = false;
            reader.reports = 0;
        }
        devSwitchWorkMode(h, 0x4080);
        std::unique_lock lock(reader.m);
        if (!reader.cv.wait_for(lock, std::chrono::seconds(10), [&] { return reader.done; })) {
            state.SkipWithError("no complete frame");
            break;
        }
        reports = reader.reports;
        lock.unlock();
        devSwitchWorkMode(h, 0x8000);
    }
    devRemoveReportHandler(h, sub);
    state.counters["reports"] = static_cast<double>(reports);
    return reports;
}

void BM_FrameUnpaced(benchmark::State& state) {
    const Model& model = kModels[state.range(0)];
    DevHandle h = OpenSim(model.name, nullptr);
    AcquireFrames(state, h, model);
    state.SetLabel(model.name);
    devClose(h);
}
BENCHMARK(BM_FrameUnpaced)->DenseRange(0, 2)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_FramePacedFullSpeed(benchmark::State& state) {
    const Model& model = kModels[state.range(0)];
    DevHandle h = OpenSim(model.name, "fs");
    AcquireFrames(state, h, model);
    state.SetLabel(model.name);
    devClose(h);
}
BENCHMARK(BM_FramePacedFullSpeed)
    ->DenseRange(0, 2)
    ->UseRealTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Keeps each run's time per iteration (ms) and its report count for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            auto it = run.counters.find("reports");
            results_[run.benchmark_name()] = {run.GetAdjustedRealTime(),
                                              it == run.counters.end() ? 0.0 : double(it->second)};
        }
    }
    struct Result {
        double ms = 0, reports = 0;
    };
    Result get(const std::string& name) const {
        auto it = results_.find(name);
        return it == results_.end() ? Result{} : it->second;
    }

  private:
    std::map<std::string, Result> results_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n");
    for (int i = 0; i < 3; ++i) {
        const auto unpaced = reporter.get("BM_FrameUnpaced/" + std::to_string(i) + "/real_time");
        const auto paced =
            reporter.get("BM_FramePacedFullSpeed/" + std::to_string(i) + "/iterations:3/real_time");
        if (unpaced.reports > 0) {
            const double perReport = unpaced.ms / unpaced.reports;
            std::printf(
                "%-8s unpaced: %.0f reports in %.2f ms, %.4f ms per report = %.2f %% of the "
                "1 ms link interval\n",
                kModels[i].name, unpaced.reports, unpaced.ms, perReport, 100 * perReport);
        }
        if (paced.reports > 0) {
            std::printf(
                "%-8s full-speed pace: %.0f reports in %.1f ms = %.3f x the link-time "
                "floor of %.0f ms\n",
                kModels[i].name, paced.reports, paced.ms, paced.ms / paced.reports, paced.reports);
        }
    }
    return 0;
}
