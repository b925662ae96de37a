// detect_noise as a user runs it: the builder scans the simulated panel's noise spectrum into the
// sensor-test log, and the spectrum is judged against the interference sources the simulator
// says are there (its truth file).
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

namespace {

namespace fs = std::filesystem;

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

std::vector<NoiseSourceTruth> SourcesOf(const TruthFile& truth) {
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
        fs::create_directories(folder_ / "runtime");
        fs::create_directories(app_);
        fs::copy_file(fs::path(bin) / "TovrexBuilder4", app_ / "TovrexBuilder4");
    }

    // The settings file the command line names, with the pass count.
    void Settings(int passes) {
        std::ofstream(SettingsPath()) << "[Sensor Test]\nNoiseSpectrumGetTimes=" << passes << "\n";
    }
    fs::path SettingsPath() const { return folder_ / "noise.ini"; }

    ScanRun Run(const std::string& profile) {
        const fs::path path = folder_ / "panel.profile";
        std::ofstream(path) << profile << '\n';
        fs::remove_all(app_ / "BuilderLog");
        fs::remove(folder_ / "trace.txt");
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
        if (!fs::exists(app_ / "BuilderLog")) return "";
        for (const auto& entry : fs::directory_iterator(app_ / "BuilderLog"))
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
    const fs::path folder_ = scratch_.Path();
    const fs::path app_ = folder_ / "app";
};

struct SourceCase {
    const char* name;
    const char* profile;
    size_t linesPerPass;
};
void PrintTo(const SourceCase& c, std::ostream* os) {
    *os << c.name;
}

class NoiseSourcesE2ETest : public NoiseScanE2ETest,
                            public testing::WithParamInterface<SourceCase> {};

TEST_P(NoiseSourcesE2ETest, SpectrumShowsTheSourcesAndNothingElse) {
    Settings(1);
    const ScanRun run = Run(GetParam().profile);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Loop = 1"), std::string::npos);
    const auto lines = Spectrum();
    EXPECT_EQ(lines.size(), GetParam().linesPerPass);
    ExpectSourcesShown(lines, Truth());
}

INSTANTIATE_TEST_SUITE_P(
    Panels, NoiseSourcesE2ETest,
    testing::Values(
        // Clock scans: five clocks with 25 prescalers each.
        SourceCase{"ClockScan", "model = K7P100\nnoise_source = 150:300:1", 125},
        SourceCase{"ClockScanT320", "model = K7P128\nnoise_source = 101:300:1", 125},
        // A source on the second chip's lines only, read by a chip with a gain error: the
        // spectrum shows it at its calibrated strength.
        SourceCase{"CalibratedSecondChip",
                   "model = K9P100\nchip_gain = 1.0,1.25\nnoise_source = 150:300:1:rx120-130", 125},
        SourceCase{"TwoSources", "model = K7P80\nnoise_source = 150:300:1,80:120:1", 125},
        // The divider scan: dividers 3 to 10 with the prescalers whose sine table fits.
        SourceCase{"DividerScan", "model = K7P84\nnoise_source = 121:400:1", 78},
        SourceCase{"QuietPanel", "model = K9P80", 125}),
    [](const testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.name); });

// The frequencies the two scans print, and which settings they step through.
TEST_F(NoiseScanE2ETest, ClockScanPrintsEachClocksFrequencies) {
    Settings(1);
    const ScanRun run = Run("model = K7P128");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto lines = Spectrum();
    ASSERT_EQ(lines.size(), 125u);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].clock, static_cast<int>(i / 25)) << i;
        EXPECT_EQ(lines[i].phase1, 12 + static_cast<int>(i % 25)) << i;
    }
    EXPECT_EQ(lines[0].kHzText, "250.00");
    EXPECT_EQ(lines[25].kHzText, "208.33");
    EXPECT_EQ(lines[124].kHzText, "34.72");  // clock 4, prescaler 36
}

TEST_F(NoiseScanE2ETest, DividerScanStopsWhereTheSineTableNoLongerFits) {
    Settings(1);
    const ScanRun run = Run("model = K7P84");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto lines = Spectrum();
    ASSERT_EQ(lines.size(), 78u);
    int lastOfDivider[31] = {};
    for (const SpectrumLine& l : lines) {
        EXPECT_EQ(l.clock, 0);
        ASSERT_GE(l.divider, 3);
        ASSERT_LE(l.divider, 10) << "a divider whose sine table cannot fit printed a line";
        EXPECT_LE(l.phase1 * l.divider, 128);
        lastOfDivider[l.divider] = std::max(lastOfDivider[l.divider], l.phase1);
        if (l.divider == 10) {
            EXPECT_EQ(l.kHzText, "75.00");
        }
    }
    EXPECT_EQ(lastOfDivider[3], 30);
    EXPECT_EQ(lastOfDivider[4], 30);
    EXPECT_EQ(lastOfDivider[5], 25);
    EXPECT_EQ(lastOfDivider[10], 12);
    // Dividers up to 30 are still written to the chips.
    EXPECT_NE(Trace().find("write_registers"), std::string::npos);
}

TEST_F(NoiseScanE2ETest, EachPassPrintsTheMaximumSoFar) {
    Settings(3);
    const ScanRun run = Run("model = K7P100\nnoise_source = 150:300:1");
    ASSERT_EQ(run.status, 0) << run.out;
    for (const char* loop : {"Loop = 1", "Loop = 2", "Loop = 3"})
        EXPECT_NE(run.out.find(loop), std::string::npos) << loop;
    const auto lines = Spectrum();
    ASSERT_EQ(lines.size(), 375u);
    for (size_t i = 0; i < 125; ++i) {
        EXPECT_EQ(lines[i].pass, 1);
        EXPECT_EQ(lines[i + 250].pass, 3);
        EXPECT_EQ(lines[i + 125].kHzText, lines[i].kHzText);
        EXPECT_GE(lines[i + 125].noise, lines[i].noise) << lines[i].kHzText;
        EXPECT_GE(lines[i + 250].noise, lines[i + 125].noise) << lines[i].kHzText;
    }
    ExpectSourcesShown(lines, Truth());
}

TEST_F(NoiseScanE2ETest, NoPassesMeasureNothingAfterThePreset) {
    Settings(0);
    const ScanRun run = Run("model = K7P100\nnoise_source = 150:300:1");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out.find("Loop"), std::string::npos);
    EXPECT_TRUE(Spectrum().empty());
    const std::string trace = Trace();
    EXPECT_NE(trace.find("write_registers"), std::string::npos) << "the preset is written";
    EXPECT_EQ(trace.find("set_clock"), std::string::npos);
    EXPECT_EQ(trace.find("set_test_mode"), std::string::npos);
}

TEST_F(NoiseScanE2ETest, WithoutASettingsFileNothingIsMeasured) {
    const ScanRun run = Run("model = K7P100");
    EXPECT_EQ(run.status, 8) << run.out;
    EXPECT_EQ(Result(), "0x8240000E\n");  // the settings code OR "cannot open" (14)
    const std::string trace = Trace();
    EXPECT_EQ(trace.find("write_registers"), std::string::npos) << trace;
    EXPECT_EQ(trace.find("set_clock"), std::string::npos) << trace;
}

// A device failure stops the scan at its step with that step's message; the lines logged before
// it stay in the log.
struct FailureCase {
    const char* name;
    const char* fault;
    const char* message;
    bool linesBefore;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class NoiseScanFailureE2ETest : public NoiseScanE2ETest,
                                public testing::WithParamInterface<FailureCase> {};

TEST_P(NoiseScanFailureE2ETest, FailsWithTheStepsMessage) {
    Settings(1);
    std::string fault = GetParam().fault;
    if (fault == "mid-scan") {
        // Disconnect after the fortieth measurement of a scan that otherwise succeeds: the next
        // prescaler cannot be written.
        ASSERT_EQ(Run("model = K7P100").status, 0);
        std::istringstream trace(Trace());
        int requests = 0, measurements = 0;
        for (std::string line; std::getline(trace, line) && measurements < 40;) {
            ++requests;
            measurements += line.rfind("set_test_mode", 0) == 0;
        }
        fault = "disconnect_after = " + std::to_string(requests);
    }
    const ScanRun run = Run("model = K7P100\n" + fault);
    EXPECT_NE(run.out.find("Command Execution Failed! Errorcode(0x82400002)"), std::string::npos)
        << run.out;
    if (GetParam().linesBefore) {
        // A controller that is gone cannot be switched back either, which the exit status says.
        EXPECT_EQ(run.status, 7) << run.out;
    } else {
        EXPECT_EQ(run.status, 8) << run.out;
        EXPECT_EQ(Result(), "0x82400002\n");
    }
    EXPECT_NE(run.out.find(GetParam().message), std::string::npos) << run.out;
    EXPECT_NE(Log().find(GetParam().message), std::string::npos);
    const size_t lines = Spectrum().size();
    if (GetParam().linesBefore) {
        EXPECT_GT(lines, 0u);
        EXPECT_LT(lines, 125u);
    } else {
        EXPECT_EQ(lines, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, NoiseScanFailureE2ETest,
    testing::Values(FailureCase{"PresetNotWritten", "fail = write_registers",
                                "Set Test Parameter Fail", false},
                    FailureCase{"ClockNotSet", "fail = set_clock", "Get Clksrc Fail", false},
                    FailureCase{"MeasurementNotStarted", "fail = set_test_mode",
                                "Read channel Data Fail", false},
                    FailureCase{"Disconnected", "mid-scan", "Write FreqPreScale Fail", true}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

}  // namespace
