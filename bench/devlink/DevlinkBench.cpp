// Host time per request round trip and per streamed report through the in-process transport,
// each next to the cheapest way to do the same job in the same run, and against the link:
// one report per millisecond at USB full speed, 8000 per second at high speed.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "devlink/devlink.h"

namespace {

constexpr int kStreamBatch = 4000;  // reports per timed iteration of the stream benchmarks

DevHandle openSim(const std::string& profile) {
    setenv("DEVLINK", ("sim:" + profile).c_str(), 1);
    DevRecord record{};
    devEnumerate(
        &record,
        [](DevRecord*, const char*, void*, uint32_t, uint32_t, uint16_t, uint16_t) { return 1; },
        nullptr);
    return devOpen(record);
}

std::string fastProfile() {
    const std::string path = "/tmp/devlink_bench_fast.profile";
    std::ofstream(path) << "model = K9PM100\nframe_interval_ms = 0\n";
    return path;
}

// Baseline: a request handed to another thread and its reply handed back, one mutex and one
// condition variable each way.
void BM_BareHandoff(benchmark::State& state) {
    std::mutex m;
    std::condition_variable requestCv, replyCv;
    bool request = false, reply = false, quit = false;
    std::thread peer([&] {
        std::unique_lock lock(m);
        for (;;) {
            requestCv.wait(lock, [&] { return request || quit; });
            if (quit) return;
            request = false;
            reply = true;
            replyCv.notify_one();
        }
    });
    for (auto _ : state) {
        std::unique_lock lock(m);
        request = true;
        requestCv.notify_one();
        replyCv.wait(lock, [&] { return reply; });
        reply = false;
    }
    {
        std::lock_guard lock(m);
        quit = true;
    }
    requestCv.notify_one();
    peer.join();
}
BENCHMARK(BM_BareHandoff)->UseRealTime();

void BM_RequestRoundTrip(benchmark::State& state) {
    DevHandle h = openSim("K7P100");
    uint8_t minor = 0;
    for (auto _ : state) {
        if (!devGetKernelNumber(h, &minor)) state.SkipWithError("request failed");
        benchmark::DoNotOptimize(minor);
    }
    devClose(h);
}
BENCHMARK(BM_RequestRoundTrip)->UseRealTime();

void countReport(void* ctx, int, const DevReport* r) {
    benchmark::DoNotOptimize(r->bytes[3]);
    static_cast<std::atomic<long>*>(ctx)->fetch_add(1, std::memory_order_relaxed);
}

// Baseline: the handler called directly, once per report.
void BM_DirectHandlerCall(benchmark::State& state) {
    std::atomic<long> count{0};
    DevReport report{};
    report.bytes[1] = 61;
    report.bytes[2] = 0x4A;
    DevReportHandler handler = countReport;
    benchmark::DoNotOptimize(handler);
    for (auto _ : state) {
        for (int i = 0; i < kStreamBatch; ++i) {
            report.bytes[3] = static_cast<uint8_t>(i);
            handler(&count, 0, &report);
        }
    }
    state.SetItemsProcessed(state.iterations() * kStreamBatch);
}
BENCHMARK(BM_DirectHandlerCall)->UseRealTime();

// Image rows streamed by the simulated controller as fast as the reader takes them, each
// dispatched to one subscribed handler on the reader thread.
void BM_StreamedReport(benchmark::State& state) {
    DevHandle h = openSim(fastProfile());
    std::atomic<long> count{0};
    DevSubscription sub = devAddReportHandler(h, 0x4A, kDevAnySubCode, &count, countReport);
    devSwitchWorkMode(h, 0x4080);
    for (auto _ : state) {
        const long target = count.load() + kStreamBatch;
        // Sleep rather than spin, so that the reader thread has the processor to itself.
        while (count.load(std::memory_order_relaxed) < target)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    state.SetItemsProcessed(state.iterations() * kStreamBatch);
    devSwitchWorkMode(h, 0x8000);
    devRemoveReportHandler(h, sub);
    devClose(h);
}
BENCHMARK(BM_StreamedReport)->UseRealTime();

// Keeps each benchmark's real time per iteration for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                ns_[run.benchmark_name()] = run.GetAdjustedRealTime();  // ns, the default unit
        }
    }
    double ns(const std::string& name) const {
        auto it = ns_.find(name);
        return it == ns_.end() ? 0.0 : it->second;
    }

  private:
    std::map<std::string, double> ns_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double bare = reporter.ns("BM_BareHandoff/real_time");
    const double trip = reporter.ns("BM_RequestRoundTrip/real_time");
    const double direct = reporter.ns("BM_DirectHandlerCall/real_time") / kStreamBatch;
    const double streamed = reporter.ns("BM_StreamedReport/real_time") / kStreamBatch;
    if (bare <= 0 || trip <= 0 || direct <= 0 || streamed <= 0) return 0;  // a filtered run
    const double fullSpeedNs = 1e6, highSpeedRate = 8000.0;
    std::printf(
        "\nrequest round trip: %.0f ns = %.2f x bare hand-off (%.0f ns), %.3f %% of the 1 ms "
        "full-speed report interval\n",
        trip, trip / bare, bare, 100.0 * trip / fullSpeedNs);
    std::printf(
        "streamed report: %.0f ns = %.1f x direct handler call (%.1f ns), %.0f reports/s "
        "= %.0f x the 8000 reports/s of high-speed USB, %.3f %% of the 1 ms interval\n",
        streamed, streamed / direct, direct, 1e9 / streamed, 1e9 / streamed / highSpeedRate,
        100.0 * streamed / fullSpeedNs);
    return 0;
}
