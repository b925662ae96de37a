// The process-level noise scan tests' fixture: the builder run as a user runs detect_noise on a
// simulated panel, the spectrum it logs, and what the simulator's truth file says is there.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "ScratchFolder.h"
#include "TruthFile.h"

// One spectrum line of the log: ",Freq=,%3.2f,KHz, Max Noise=,%d, XI=%d, Delay=%d[, Divider=%d]".
struct SpectrumLine {
    std::string kHzText;  // as printed
    double kHz = 0;
    int noise = 0, clock = 0, phase1 = 0, divider = -1;
    int pass = 0;  // the "Loop = n" line before it
};

struct NoiseSourceTruth {
    double kHz, amplitude, width;
};

inline std::vector<NoiseSourceTruth> SourcesOf(const TruthFile& truth) {
    std::vector<NoiseSourceTruth> sources;
    std::stringstream items(truth.Text("noise_source"));
    for (std::string item; std::getline(items, item, ',');) {
        NoiseSourceTruth s{};
        if (std::sscanf(item.c_str(), "%lf:%lf:%lf", &s.kHz, &s.amplitude, &s.width) == 3)
            sources.push_back(s);
    }
    return sources;
}

struct ScanRun {
    int status = -1;
    std::string out;
};

class NoiseScanE2ETest : public testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("TOVREX_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "TOVREX_BIN_DIR is not set";
        std::filesystem::create_directories(folder_ / "runtime");
        std::filesystem::create_directories(app_);
        std::filesystem::copy_file(std::filesystem::path(bin) / "TovrexBuilder4",
                                   app_ / "TovrexBuilder4");
    }

    // The settings file the command line names, with the pass count.
    void Settings(int passes) {
        std::ofstream(SettingsPath()) << "[Sensor Test]\nNoiseSpectrumGetTimes=" << passes << "\n";
    }
    std::filesystem::path SettingsPath() const { return folder_ / "noise.ini"; }

    ScanRun Run(const std::string& profile) {
        const std::filesystem::path path = folder_ / "panel.profile";
        std::ofstream(path) << profile << '\n';
        std::filesystem::remove_all(app_ / "BuilderLog");
        std::filesystem::remove(folder_ / "trace.txt");
        testsupport::ProgramRequest request;
        request.program = app_ / "TovrexBuilder4";
        request.args = {"-cdetect_noise", "-f" + SettingsPath().string()};
        request.setEnv = {"XDG_RUNTIME_DIR=" + (folder_ / "runtime").string(),
                          "TOVREX_RESULT_FILE=" + (folder_ / "result").string(),
                          "DEVLINK=sim:" + path.string(),
                          "DEVLINK_SIM_TRUTH=" + (folder_ / "truth.txt").string(),
                          "DEVLINK_SIM_TRACE=" + (folder_ / "trace.txt").string()};
        request.dropEnv = {"XDG_RUNTIME_DIR=", "TOVREX_", "DEVLINK"};
        request.scratch = folder_;
        const testsupport::ProgramRun run = testsupport::RunProgram(request);
        return {run.status, run.out};
    }

    std::string Result() const { return testsupport::ReadWhole(folder_ / "result"); }
    std::string Trace() const { return testsupport::ReadWhole(folder_ / "trace.txt"); }
    TruthFile Truth() const { return TruthFile(folder_ / "truth.txt"); }

    // The sensor-test log's text ("" when the run made none).
    std::string Log() const {
        if (!std::filesystem::exists(app_ / "BuilderLog")) return "";
        for (const auto& entry : std::filesystem::directory_iterator(app_ / "BuilderLog"))
            if (entry.path().filename().string().rfind("TovrexSensorTester", 0) == 0)
                return testsupport::ReadWhole(entry.path());
        return "";
    }

    std::vector<SpectrumLine> Spectrum() const {
        std::vector<SpectrumLine> lines;
        std::istringstream log(Log());
        int pass = 0;
        for (std::string text; std::getline(log, text);) {
            if (const auto loop = text.find("Loop = "); loop != std::string::npos)
                pass = std::stoi(text.substr(loop + 7));
            const auto at = text.find(",Freq=,");
            if (at == std::string::npos) continue;
            SpectrumLine l;
            char kHz[32] = {};
            const int fields = std::sscanf(
                text.c_str() + at, ",Freq=,%31[^,],KHz, Max Noise=,%d, XI=%d, Delay=%d, Divider=%d",
                kHz, &l.noise, &l.clock, &l.phase1, &l.divider);
            EXPECT_GE(fields, 4) << text;
            l.kHzText = kHz;
            l.kHz = std::stod(l.kHzText);
            l.pass = pass;
            lines.push_back(l);
        }
        return lines;
    }

    // The spectrum shows the truth: its largest value stands at the scanned frequency nearest the
    // strongest source, as large as that source is there; every frequency more than three widths
    // from every source stays at the panel's noise floor.
    static void ExpectSourcesShown(const std::vector<SpectrumLine>& lines, const TruthFile& truth) {
        ASSERT_FALSE(lines.empty());
        ASSERT_TRUE(truth.Has("noise_floor"));
        // The calibration truncates: a reading of the floor can come out one count apart.
        const int floor = truth.Number("noise_floor") + 1;
        const auto sources = SourcesOf(truth);
        for (const SpectrumLine& l : lines) {
            bool far = true;
            for (const auto& s : sources) far = far && std::abs(l.kHz - s.kHz) > 3 * s.width;
            if (far) {
                EXPECT_LE(l.noise, floor) << l.kHzText << " kHz stands above the floor";
            }
        }
        if (sources.empty()) return;
        const auto strongest = *std::max_element(
            sources.begin(), sources.end(),
            [](const auto& a, const auto& b) { return a.amplitude < b.amplitude; });
        double nearest = lines.front().kHz;
        for (const SpectrumLine& l : lines)
            if (std::abs(l.kHz - strongest.kHz) < std::abs(nearest - strongest.kHz))
                nearest = l.kHz;
        const auto top = *std::max_element(
            lines.begin(), lines.end(),
            [](const SpectrumLine& a, const SpectrumLine& b) { return a.noise < b.noise; });
        EXPECT_NEAR(top.kHz, nearest, 0.005)
            << "the maximum " << top.noise << " stands at " << top.kHzText << " kHz";
        // The simulated readings carry 0.8 to 1.2 times the source's strength there.
        const double x = (nearest - strongest.kHz) / strongest.width;
        const double there = strongest.amplitude * std::exp(-x * x);
        EXPECT_GE(top.noise, 0.8 * there);
        EXPECT_LE(top.noise, 1.2 * there + floor);
    }

    testsupport::ScratchFolder scratch_{"noise-scan"};
    const std::filesystem::path folder_ = scratch_.Path();
    const std::filesystem::path app_ = folder_ / "app";
};
