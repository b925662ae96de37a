// Auto-tuning one model of each chip family against the simulated controller, as the builder
// runs it (the image tuning with the settings file's defaults).
//
// Paced like a USB full-speed link (DEVLINK_SIM_PACE=fs, one report each way per millisecond
// frame), the wall time is stated as a ratio to the link-time floor of the reports the run moved:
// the frames they need at least in the order they moved, which the controller counts. The larger
// of the reports sent and taken would be no floor: it assumes that reports to the controller and
// reports from it always share frames, while a request and its reply follow one another (a bulk
// write's reports all go before its reply, a frame's reports all come before the request that
// ends the stream). The processor time of the process (the builder and, in this process, the
// simulated controller too) is stated as a share of the wall time. Unpaced, the same run shows
// the host's own cost against the same floor.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "controller/Controller.h"
#include "core/BuilderOptions.h"
#include "device/CAPI.h"
#include "device/DevLinkApi.h"
#include "params/CParam_INI.h"
#include "tune/AutoTune.h"

namespace {

struct Model {
    const char* name;
    int typeCode;
};
constexpr Model kModels[] = {{"K7P100", 94}, {"K7P128", 96}, {"K7P84", 176}};

struct RunResult {
    double wallMs = 0, cpuMs = 0;
    long sent = 0, taken = 0, frames = 0;
    bool tuned = false;
};

// The "reports sent=.. taken=.. frames=.." line the paced controller writes when it is closed.
void ReadReportCounts(const std::filesystem::path& trace, RunResult& r) {
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("reports sent=", 0) == 0)
            std::sscanf(line.c_str(), "reports sent=%ld taken=%ld frames=%ld", &r.sent, &r.taken,
                        &r.frames);
    }
}

RunResult TuneOnce(const Model& model, const char* pace) {
    const auto folder =
        std::filesystem::temp_directory_path() /
        ("tovrex-bench-autotune-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto trace = folder / "trace.txt";
    setenv("DEVLINK", (std::string("sim:") + model.name).c_str(), 1);
    setenv("DEVLINK_SIM_TRACE", trace.c_str(), 1);
    if (pace != nullptr)
        setenv("DEVLINK_SIM_PACE", pace, 1);
    else
        unsetenv("DEVLINK_SIM_PACE");

    RunResult result;
    DevRecord record{};
    devEnumerate(
        &record,
        [](DevRecord*, const char*, void*, uint32_t, uint32_t, uint16_t, uint16_t) { return 1; },
        nullptr);
    BuilderOptions options;
    options.folders.workingFolder = folder.string() + "/";
    // The whole session is timed, from opening the controller to closing it, because the floor
    // counts every report of it.
    const auto wall = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    {
        auto controller = std::make_unique<CController>(RealDevLink(), devOpen(record), record,
                                                        model.typeCode, "model", options);
        controller->CreateObjects();
        controller->Initialise();
        controller->Ini().InitFileName();
        std::ofstream(controller->Ini().SettingsPath())
            << "[Tuning Parameter]\nNumsOfFreq = 1\nWorkingFreq0 = 9\n[---Image Parameter]\n"
               "EnableImageTune = 1\nAD_Level% = 15\nTouch% = 10\nSignalLevel = 10\n"
               "NoiseResist = 7\n";
        controller->Ini().LoadTxtFile();
        controller->Api().SwitchWorkMode(0x8000);
        result.tuned = AutoTune(*controller);
    }  // closing the controller writes the report counts
    result.cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    result.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count();
    ReadReportCounts(trace, result);
    std::filesystem::remove_all(folder);
    return result;
}

std::map<std::string, RunResult> g_results;

void Run(benchmark::State& state, const char* pace) {
    const Model& model = kModels[state.range(0)];
    RunResult r;
    for (auto _ : state) {
        r = TuneOnce(model, pace);
        state.SetIterationTime(r.wallMs / 1000.0);
        if (!r.tuned) state.SkipWithError("the tuning failed");
    }
    state.SetLabel(model.name);
    state.counters["reports"] = static_cast<double>(r.sent + r.taken);
    state.counters["frames"] = static_cast<double>(r.frames);
    g_results[std::string(pace ? "paced " : "unpaced ") + model.name] = r;
}

void BM_AutoTuneUnpaced(benchmark::State& state) {
    Run(state, nullptr);
}
BENCHMARK(BM_AutoTuneUnpaced)
    ->DenseRange(0, 2)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void BM_AutoTunePacedFullSpeed(benchmark::State& state) {
    Run(state, "fs");
}
BENCHMARK(BM_AutoTunePacedFullSpeed)
    ->DenseRange(0, 2)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n");
    for (const Model& model : kModels) {
        const auto paced = g_results.find(std::string("paced ") + model.name);
        const auto unpaced = g_results.find(std::string("unpaced ") + model.name);
        if (paced != g_results.end() && paced->second.frames > 0) {
            const RunResult& r = paced->second;
            const double floorMs = static_cast<double>(r.frames);  // one frame per millisecond
            std::printf(
                "%-7s full-speed pace: %ld reports sent, %ld taken, in at least %ld frames; "
                "%.0f ms = %.3f x the link-time floor of %.0f ms; processor time %.1f %% of the "
                "wall time\n",
                model.name, r.sent, r.taken, r.frames, r.wallMs, r.wallMs / floorMs, floorMs,
                100.0 * r.cpuMs / r.wallMs);
            if (unpaced != g_results.end()) {
                const RunResult& u = unpaced->second;
                std::printf(
                    "%-7s unpaced: %.1f ms, %.4f ms per link frame = %.2f %% of the link-time "
                    "floor\n",
                    model.name, u.wallMs, u.wallMs / floorMs, 100.0 * u.wallMs / floorMs);
            }
        }
    }
    return 0;
}
