// The sensor test commands as a user runs them against the simulated controller: what they pass,
// what they fail and with which code, what their logs show, and the order of the diagnostic
// steps. Judged against what the simulated panel knows (its truth file).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "SimModels.h"
#include "SimulatedBuilder.h"
#include "TruthFile.h"
#include "core/LogRecord.h"

namespace {

namespace fs = std::filesystem;
using testsupport::SimModel;

class DiagnosticsE2E : public SimulatedBuilder {
  protected:
    void SetUp() override {
        SimulatedBuilder::SetUp();
        extraEnv_ = {"DEVLINK_SIM_TRUTH=" + TruthPath().string()};
    }

    fs::path TruthPath() const { return folder_ / "truth.txt"; }
    TruthFile Truth() const { return TruthFile(TruthPath()); }

    // The settings file of a model, beside the program, with the given sensor test lines.
    void WriteSettings(const SimModel& m, const std::string& sensorTest = "") {
        std::ofstream(app_ / (m.stem + ".ini")) << "[Sensor Test]\n" << sensorTest;
    }

    // One command with fresh logs.
    BuilderRun Command(const std::string& device, const std::vector<std::string>& args) {
        fs::remove_all(app_ / "BuilderLog");
        return Run(device, args);
    }

    // The text of the newest log whose name starts with base: CSV and plain logs as they are,
    // scrambled ones (".en") unscrambled record by record.
    std::string Log(const std::string& base) const {
        fs::path newest;
        if (!fs::is_directory(app_ / "BuilderLog")) return {};
        for (const auto& e : fs::directory_iterator(app_ / "BuilderLog"))
            if (e.path().filename().string().rfind(base, 0) == 0 && e.path() > newest)
                newest = e.path();
        const std::string bytes = Read(newest);
        if (newest.extension() != ".en") return bytes;
        std::string text;
        for (size_t at = 0; at + kLogRecordHeaderSize <= bytes.size();) {
            const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[at + i]); };
            const size_t length = byte(2) | byte(3) << 8;
            const auto& key = LogKeys()[byte(4) % kLogKeyRows];
            at += kLogRecordHeaderSize;
            for (size_t i = 0; i < length && at + i < bytes.size(); ++i)
                text += static_cast<char>(static_cast<uint8_t>(bytes[at + i]) ^
                                          key[i % kLogKeyRowSize]);
            at += length;
            text += '\n';
        }
        return text;
    }
    std::string SensorLog() const { return Log("TovrexSensorTester"); }

    // Each text appears in the log, in this order.
    static testing::AssertionResult InOrder(const std::string& log,
                                            const std::vector<std::string>& texts) {
        size_t at = 0;
        for (const std::string& t : texts) {
            const size_t found = log.find(t, at);
            if (found == std::string::npos)
                return testing::AssertionFailure() << "\"" << t << "\" missing or out of order in\n"
                                                   << log.substr(0, 4000);
            at = found + t.size();
        }
        return testing::AssertionSuccess();
    }
};

// ---- A healthy panel of every model ------------------------------------------------------------

class HealthyPanel : public DiagnosticsE2E, public testing::WithParamInterface<SimModel> {};

TEST_P(HealthyPanel, DiagnosticCommandsPassAndDumpTheFrames) {
    const SimModel m = GetParam();
    WriteSettings(m, "ForceCalibration = 1\n");
    // open, mutual, calibration, mutual map, phase
    const std::vector<std::vector<std::string>> commands = {
        {"-cdiag", "-H49221"}, {"-cdiag_open"}, {"-cdiag_mutual"}, {"-ccalibrate"}};
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0]);
        const BuilderRun run = Command(m.name, args);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(Result(), "0x00000000\n");
        const std::string log = SensorLog();
        EXPECT_TRUE(InOrder(log, {"DiagFreq=", "Raw16 Data", "Finish Raw16"}));
        EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
    }
}

// The open test records the panel's magnitude at the edges: with the factory open scaling of 10
// a value is itself, so the logged values are the truth's within the noise.
TEST_P(HealthyPanel, OpenTestRecordsThePanelsEdges) {
    const SimModel m = GetParam();
    WriteSettings(m);
    const BuilderRun run = Command(m.name, {"-cdiag_open"});
    ASSERT_EQ(run.status, 0) << run.out;
    const TruthFile truth = Truth();
    const int tx = truth.Number("frame_tx"), rx = truth.Number("frame_rx");
    const std::vector<double> first = truth.Magnitude(0), last = truth.Magnitude(tx - 1);
    ASSERT_EQ(static_cast<int>(first.size()), rx);
    const std::string log = SensorLog();
    for (int r = 0; r < rx; ++r) {
        const std::string key = "RX[" + std::to_string(r) + "],";
        const size_t at = log.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        int a = 0, b = 0;
        ASSERT_EQ(std::sscanf(log.c_str() + at + key.size(), "%d,%d", &a, &b), 2);
        EXPECT_NEAR(a, first[static_cast<size_t>(r)], 0.01 * first[static_cast<size_t>(r)] + 6)
            << key;
        EXPECT_NEAR(b, last[static_cast<size_t>(r)], 0.01 * last[static_cast<size_t>(r)] + 6)
            << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Models, HealthyPanel, testing::ValuesIn(testsupport::SimModels()),
                         [](const auto& info) { return testsupport::TestName(info.param); });

// ---- Open lines
// ----------------------------------------------------------------------------------

struct OpenLineCase {
    const char* model;
    const char* profileKey;  // open_rx or open_tx
    int line;                // panel line
};

class OpenLine : public DiagnosticsE2E, public testing::WithParamInterface<OpenLineCase> {};

// An open line fails the neighbour test, and the pairs it belongs to, and only those, are marked.
TEST_P(OpenLine, FailsTheNeighbourTestAtItsChannels) {
    const OpenLineCase c = GetParam();
    const SimModel m =
        testsupport::SimModelsWhere([&](const SimModel& s) { return s.name == c.model; }).front();
    WriteSettings(m);
    const std::string profile = Profile(std::string("model = ") + c.model + "\n" + c.profileKey +
                                        " = " + std::to_string(c.line) + "\n");
    const BuilderRun run = Command(profile, {"-ctest"});
    EXPECT_EQ(Result(), "0x81300002\n") << run.out;
    EXPECT_EQ(run.status, 8);

    const bool tx = std::string(c.profileKey) == "open_tx";
    const TruthFile truth = Truth();
    EXPECT_EQ(truth.Text(c.profileKey), std::to_string(c.line));
    const std::vector<double> lines = truth.Numbers(tx ? "frame_tx_lines" : "frame_rx_lines");
    const auto channel = std::find(lines.begin(), lines.end(), c.line) - lines.begin();
    ASSERT_LT(channel, static_cast<long>(lines.size())) << "the open line is not in the frame";
    std::set<long> expected = {channel - 1, channel};
    expected.erase(-1);
    expected.erase(static_cast<long>(lines.size()) - 1);  // no pair starts at the last channel

    std::set<long> failing;
    std::istringstream log(Log("TuningLog"));
    const std::string label = tx ? "TX[" : "RX[";
    for (std::string line; std::getline(log, line);) {
        if (line.rfind(label, 0) != 0) continue;
        if (line.size() >= 5 && line.compare(line.size() - 5, 5, ",Fail") == 0)
            failing.insert(std::stol(line.substr(3)));
    }
    EXPECT_EQ(failing, expected);
    EXPECT_EQ(run.out.find("Open Test Pass"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Lines, OpenLine,
                         testing::Values(OpenLineCase{"K7P100", "open_rx", 17},
                                         OpenLineCase{"K7P100", "open_tx", 5},
                                         OpenLineCase{"K7P84", "open_rx", 0},
                                         OpenLineCase{"K9P100", "open_tx", 41}),
                         [](const auto& info) {
                             return std::string(info.param.model) + "_" + info.param.profileKey +
                                    std::to_string(info.param.line);
                         });

// ---- Calibration
// ---------------------------------------------------------------------------------

TEST_F(DiagnosticsE2E, AChipOutOfToleranceFailsCalibrate) {
    const SimModel m = testsupport::SimModels().front();
    WriteSettings(m);
    const BuilderRun run =
        Command(Profile("model = " + m.name + "\nchip_gain = 1.33\n"), {"-ccalibrate"});
    EXPECT_EQ(Result(), "0x81B10004\n") << run.out;
    const int delta = std::abs(Truth().Number("calibration") - 100);
    EXPECT_TRUE(Has(run.out, "Calibrating Delta Value =" + std::to_string(delta) + "\n"))
        << run.out;
    EXPECT_TRUE(InOrder(SensorLog(), {"Calibrating Delta Value =", "Calibrating Fail..."}));
    EXPECT_FALSE(Has(SensorLog(), "Raw16 Data"));
}

TEST_F(DiagnosticsE2E, UnreadableCalibrationFailsCalibrateWithThree) {
    const SimModel m = testsupport::SimModels().front();
    WriteSettings(m, "ForceCalibration = 1\n");
    const BuilderRun run =
        Command(Profile("model = " + m.name + "\ncalibration_unreadable = 1\n"), {"-ccalibrate"});
    EXPECT_EQ(Result(), "0x81B10003\n") << run.out;
    EXPECT_TRUE(Has(run.out, "Calibrating Fail...\n")) << run.out;
}

// ---- The order of the steps
// ----------------------------------------------------------------------

struct SequenceCase {
    const char* label;
    std::vector<std::string> args;
    const char* profileExtra;
    const char* result;
    std::vector<std::string> inOrder;  // in the sensor log, in this order
    std::vector<std::string> absent;   // not in the sensor log
};

class Sequence : public DiagnosticsE2E, public testing::WithParamInterface<SequenceCase> {};

TEST_P(Sequence, RunsTheSelectedStepsInOrder) {
    const SequenceCase& c = GetParam();
    const SimModel m = testsupport::SimModels().front();
    WriteSettings(m);
    const BuilderRun run = Command(Profile("model = " + m.name + "\n" + c.profileExtra), c.args);
    EXPECT_EQ(Result(), std::string(c.result) + "\n") << run.out;
    const std::string log = SensorLog();
    EXPECT_TRUE(InOrder(log, c.inOrder));
    for (const std::string& text : c.absent) EXPECT_FALSE(Has(log, text)) << text << "\n" << log;
}

const SequenceCase kSequences[] = {
    {"MaskZeroStillDumpsTheRawFrame",
     {"-cdiag", "-H0"},
     "",
     "0x00000000",
     {"DiagFreq=", "Raw16 Data", "Finish Raw16"},
     {"Start ", "Calibrat"}},
    {"CalibrateAddsTheCalibrationCheckToTheMask",
     {"-ccalibrate", "-H4"},
     "",
     "0x00000000",
     {"Calibration Pass", "Start Mutual Cap Test", "Finish Mutual Cap Test", "Raw16 Data"},
     {"Start Open Test"}},
    {"DiagOpenReplacesTheMask",
     {"-cdiag_open", "-H4"},
     "",
     "0x00000000",
     {"Start Open Test", "Open Test pass", "Raw16 Data", "Finish Raw16"},
     {"Mutual", "Calibrat"}},
    {"EveryStepInItsPlace",
     {"-cdiag", "-H49221"},
     "",
     "0x00000000",
     {"Calibration Pass", "Start Open Test", "Start Mutual Cap Test", "Start Mutual Cap Test2",
      "I Data", "Q Data", "Raw16 Data"},
     {}},
    {"AnOpenTestWithoutItsTestImageEndsBeforeTheRawDump",
     {"-cdiag_open"},
     "fail = write_block\n",
     "0x81510001",
     {"Start Open Test", "Set Test Parameter Fail..."},
     {"Raw16 Data"}},
    {"TheShortStepRunsAfterTheRawDumpWithItsCode",
     {"-cdiag", "-H3"},
     "fail = short_test\n",
     "0x81430008",
     {"Start Open Test", "Raw16 Data", "Finish Raw16"},
     {}},
    {"ATestFrequencyTheSettingsDoNotAllowIsStepOne",
     {"-cdiag", "-H1", "-Lb2"},
     "",
     "0x81400001",
     {"Set Test Freq Fail...", "Please check test ini file"},
     {"DiagFreq=", "Start Open Test", "Raw16 Data"}},
    {"ARefusedDiagnosticsModeEndsBeforeAnyStep",
     {"-cdiag", "-H1"},
     "refuse_mode = 0x8004\n",
     "0x81400002",
     {},
     {"DiagFreq=", "Start Open Test", "Raw16 Data"}},
};

INSTANTIATE_TEST_SUITE_P(Steps, Sequence, testing::ValuesIn(kSequences),
                         [](const auto& info) { return std::string(info.param.label); });

// The short step's form: the plain one on type code 176 even when the classifying one is asked
// for, the classifying one with the flexible cable's step code elsewhere.
TEST_F(DiagnosticsE2E, ShortStepFormFollowsTheModel) {
    const struct {
        const char* model;
        const char* stepCode;
    } cases[] = {{"K7P84", "code=1"}, {"K7P100", "code=6"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        const SimModel m = testsupport::SimModelsWhere([&](const SimModel& s) {
                               return s.name == c.model;
                           }).front();
        WriteSettings(m);
        const BuilderRun run =
            Command(Profile(std::string("model = ") + c.model + "\nfail = short_test\n"),
                    {"-cdiag", "-H256"});
        EXPECT_EQ(Result(), "0x81430008\n") << run.out;
        EXPECT_TRUE(InOrder(SensorLog(), {"Raw16 Data", "Finish Raw16"}));
        // Every short-test request the controller saw came after the raw frame, with the form's
        // step code.
        std::istringstream trace(Trace());
        bool rawSeen = false;
        for (std::string line; std::getline(trace, line);) {
            if (line.find("mode=0x4004") != std::string::npos) rawSeen = true;
            if (line.rfind("short_test", 0) != 0) continue;
            EXPECT_TRUE(rawSeen) << line;
            EXPECT_NE(line.find(c.stepCode), std::string::npos) << line;
        }
    }
}

}  // namespace
