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
    // Every step: open, short (with the flexible cable's ranges), mutual, calibration, mutual
    // map, phase; then each fixed selection.
    const std::vector<std::vector<std::string>> commands = {{"-cdiag", "-H49479"}, {"-cdiag_basic"},
                                                            {"-cdiag_open"},       {"-cdiag_short"},
                                                            {"-cdiag_mutual"},     {"-ccalibrate"}};
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0]);
        const BuilderRun run = Command(m.name, args);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(Result(), "0x00000000\n");
        const std::string log = SensorLog();
        EXPECT_TRUE(InOrder(log, {"DiagFreq=", "Raw16 Data", "Finish Raw16"}));
        EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
        // The frequency the log names is the one the panel was measured at.
        const size_t at = log.find("DiagFreq=");
        ASSERT_NE(at, std::string::npos);
        EXPECT_NEAR(std::stod(log.substr(at + 9)), Truth().Numbers("frequency_khz").at(0), 0.01);
    }
}

TEST_P(HealthyPanel, TestPassesTheOpenAndShortJudgements) {
    const SimModel m = GetParam();
    WriteSettings(m);
    const BuilderRun run = Command(m.name, {"-ctest"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Result(), "0x00000000\n");
    EXPECT_TRUE(InOrder(run.out, {"Open Test Pass", "Short Test pass"}));
    const std::string log = Log("TuningLog");
    EXPECT_TRUE(
        InOrder(log, {"CHANNEL,DATA-0,DATA-N", "RX[0],", "CHANNEL,DATA-0,DATA-N", "TX[0],"}));
    EXPECT_FALSE(Has(log, ",Fail"));
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
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

// The mutual test's frame is the second difference, across Rx and then across Tx, of the averaged
// scaled magnitude shifted right by 3: where a finger bends the panel's coupling it stands out.
// A scaling word of 40 with the direction bit multiplies by 4. Two repeats are averaged, so the
// values are those of one frame.
TEST_F(DiagnosticsE2E, MutualTestRecordsSecondDifferencesOfThePanel) {
    const SimModel m = testsupport::SimModels().front();
    WriteSettings(m);
    std::ofstream(app_ / (m.stem + ".ini"), std::ios::app) << "MutualCapTestGetTimes = 2\n";
    const BuilderRun run = Command(Profile("model = " + m.name + "\nfinger = 20,35\n"),
                                   {"-cdiag_mutual", "-u2", "-B32808"});
    ASSERT_EQ(run.status, 0) << run.out;
    const TruthFile truth = Truth();
    const int tx = truth.Number("frame_tx"), rx = truth.Number("frame_rx");
    std::vector<std::vector<int>> shifted;  // scaled magnitude >> 3, as the test sums it
    for (int t = 0; t < tx; ++t) {
        shifted.emplace_back();
        for (double v : truth.Magnitude(t)) shifted.back().push_back(static_cast<int>(v) * 4 >> 3);
    }
    auto across = [&](int t, int r) { return shifted[t][r] - shifted[t][r + 1]; };

    const std::string log = SensorLog();
    const size_t start = log.find("Start Mutual Cap Test"), end = log.find("Finish Mutual Cap");
    ASSERT_NE(start, std::string::npos);
    std::istringstream rows(log.substr(start, end - start));
    int rowsSeen = 0, largest = 0;
    for (std::string line; std::getline(rows, line);) {
        if (line.rfind("Rx[", 0) != 0) continue;
        const int r = std::stoi(line.substr(3));
        std::istringstream cells(line.substr(line.find(',') + 1));
        int t = 0;
        for (std::string cell; std::getline(cells, cell, ',') && cell.rfind("Chip", 0) != 0; ++t) {
            // Four noisy cells, each rounded down after scaling: within 9 of the noise-free value,
            // while an unhalved sum of the two repeats would double the finger's 25 and more.
            const int expected = across(t + 1, r) - across(t, r);
            EXPECT_NEAR(std::stoi(cell), expected, 9) << "Tx " << t << ", Rx " << r;
            largest = std::max(largest, std::abs(expected));
        }
        EXPECT_EQ(t, tx - 1) << line;
        ++rowsSeen;
    }
    EXPECT_EQ(rowsSeen, rx - 1);
    EXPECT_GT(largest, 24) << "the finger does not stand out";
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

// ---- Shorts
// ------------------------------------------------------------------------------------

struct ShortCase {
    const char* model;
    std::vector<std::string> args;
    const char* log;
    const char* result;
    bool classifies;  // the channels name their partners
};

void PrintTo(const ShortCase& c, std::ostream* os) {
    *os << c.model << " " << c.args[0];
}

class Shorts : public DiagnosticsE2E, public testing::WithParamInterface<ShortCase> {};

// The channel a panel line on the first chip is listed as: the classifying form lists every pin
// of the chip, the plain form the frame's channels.
int ListedChannel(const TruthFile& truth, bool classifies, bool tx, int line) {
    if (!classifies) {
        const std::vector<double> lines = truth.Numbers(tx ? "frame_tx_lines" : "frame_rx_lines");
        return static_cast<int>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    }
    int chip = 0, first = 0, last = 0;
    std::sscanf(truth.Text(tx ? "wired_tx" : "wired_rx").c_str(), "%d:%d-%d", &chip, &first, &last);
    return first + line;
}

// Lines shorted together and to the supplies fail the short step with 9, and each shorted
// channel shows what the panel's truth says it reads and, in the classifying form, its partner.
TEST_P(Shorts, FailWithNineAndNameTheirPartners) {
    const ShortCase& c = GetParam();
    const SimModel m =
        testsupport::SimModelsWhere([&](const SimModel& s) { return s.name == c.model; }).front();
    WriteSettings(m);
    const BuilderRun run = Command(Profile(std::string("model = ") + c.model +
                                           "\nshort = rx3-rx7, tx2-tx5, rx9-vdd, tx4-gnd\n"),
                                   c.args);
    EXPECT_EQ(Result(), std::string(c.result) + "\n") << run.out;
    EXPECT_EQ(run.status, 8);
    EXPECT_TRUE(Has(run.out, "Short Test fail\n")) << run.out;

    std::map<std::string, std::string> lines;  // "Rx[6]" -> "96,Short with Rx[10]"
    std::istringstream log(Log(c.log));
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind('[', 0) == 0) line.erase(0, line.find("] ") + 2);  // the time stamp
        const size_t close = line.find("],");
        if ((line.rfind("Rx[", 0) == 0 || line.rfind("Tx[", 0) == 0) && close != std::string::npos)
            lines[line.substr(0, close + 1)] = line.substr(close + 2);
    }
    const TruthFile truth = Truth();
    const std::string level = std::to_string(truth.Number("short_line_level"));
    const std::string supply = std::to_string(truth.Number("short_supply_level"));
    auto at = [&](bool tx, int line) {
        return (tx ? "Tx[" : "Rx[") + std::to_string(ListedChannel(truth, c.classifies, tx, line)) +
               "]";
    };
    auto partner = [&](bool tx, int line) {
        return c.classifies ? (tx ? ",Short with Tx[" : ",Short with Rx[") +
                                  std::to_string(ListedChannel(truth, true, tx, line)) + "]"
                            : std::string();
    };
    const std::map<std::string, std::string> expected = {
        {at(false, 3), level + partner(false, 7)},
        {at(false, 7), level + partner(false, 3)},
        {at(true, 2), level + partner(true, 5)},
        {at(true, 5), level + partner(true, 2)},
        {at(false, 9), supply + (c.classifies ? ",Short with vdd" : "")},
        {at(true, 4), "-" + supply + (c.classifies ? ",Short with gnd" : "")},
    };
    EXPECT_EQ(truth.Text("short"), "rx3-rx7,tx2-tx5,rx9-vdd,tx4-gnd");
    for (const auto& [channel, entry] : expected) EXPECT_EQ(lines[channel], entry) << channel;
    int shorted = 0;
    for (const auto& [channel, entry] : lines)
        shorted += expected.count(channel) != 0 || entry.find("Short") != std::string::npos;
    EXPECT_EQ(shorted, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Shorts,
    testing::Values(
        ShortCase{"K7P100", {"-ctest"}, "TuningLog", "0x81300009", false},
        ShortCase{"K7P100", {"-cdiag", "-H2"}, "TovrexSensorTester", "0x81430009", true},
        ShortCase{"K7P100", {"-cdiag_short"}, "TovrexSensorTester", "0x81630009", true},
        ShortCase{"K9P80", {"-cdiag", "-H2"}, "TovrexSensorTester", "0x81430009", true},
        ShortCase{"K7P128", {"-cdiag_short"}, "TovrexSensorTester", "0x81630009", false},
        ShortCase{"K7P84", {"-cdiag", "-H256"}, "TovrexSensorTester", "0x81430009", false}),
    [](const auto& info) {
        return std::string(info.param.model) + "_" + info.param.args[0].substr(2) +
               std::to_string(info.index);
    });

// ---- The order of the steps
// ----------------------------------------------------------------------

struct SequenceCase {
    const char* label;
    std::vector<std::string> args;
    const char* profileExtra;
    const char* settings;  // lines of the settings file's sensor test section
    const char* result;
    std::vector<std::string> inOrder;  // in the sensor log, in this order
    std::vector<std::string> absent;   // not in the sensor log
};

class Sequence : public DiagnosticsE2E, public testing::WithParamInterface<SequenceCase> {};

TEST_P(Sequence, RunsTheSelectedStepsInOrder) {
    const SequenceCase& c = GetParam();
    const SimModel m = testsupport::SimModels().front();
    WriteSettings(m, c.settings);
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
     "",
     "0x00000000",
     {"DiagFreq=", "Raw16 Data", "Finish Raw16"},
     {"Start ", "Calibrat"}},
    {"CalibrateAddsTheCalibrationCheckToTheMask",
     {"-ccalibrate", "-H4"},
     "",
     "",
     "0x00000000",
     {"Calibration Pass", "Start Mutual Cap Test", "Finish Mutual Cap Test", "Raw16 Data"},
     {"Start Open Test"}},
    {"DiagOpenReplacesTheMask",
     {"-cdiag_open", "-H4"},
     "",
     "",
     "0x00000000",
     {"Start Open Test", "Open Test pass", "Raw16 Data", "Finish Raw16"},
     {"Mutual", "Calibrat"}},
    {"EveryStepInItsPlace",
     {"-cdiag", "-H49221"},
     "",
     "",
     "0x00000000",
     {"Calibration Pass", "Start Open Test", "Start Mutual Cap Test", "Start Mutual Cap Test2",
      "I Data", "Q Data", "Raw16 Data"},
     {}},
    {"AnOpenTestWithoutItsTestImageEndsBeforeTheRawDump",
     {"-cdiag_open"},
     "fail = write_block\n",
     "",
     "0x81510001",
     {"Start Open Test", "Set Test Parameter Fail..."},
     {"Raw16 Data"}},
    {"TheShortStepRunsAfterTheRawDumpWithItsCode",
     {"-cdiag", "-H3"},
     "fail = short_test\n",
     "",
     "0x81430008",
     {"Start Open Test", "Raw16 Data", "Finish Raw16"},
     {}},
    {"ATestFrequencyTheSettingsDoNotAllowIsStepOne",
     {"-cdiag", "-H1", "-Lb2"},
     "",
     "",
     "0x81400001",
     {"Set Test Freq Fail...", "Please check test ini file"},
     {"DiagFreq=", "Start Open Test", "Raw16 Data"}},
    {"MonitorsOffIsNotedInTheLog",
     {"-cdiag", "-H0"},
     "",
     "TurnOffMonitor = 1\n",
     "0x00000000",
     {"Monitors off requested", "DiagFreq=", "Raw16 Data"},
     {}},
    {"ARefusedDiagnosticsModeEndsBeforeAnyStep",
     {"-cdiag", "-H1"},
     "refuse_mode = 0x8004\n",
     "",
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
        // The short test was asked for after the raw frame, with the form's step code.
        std::istringstream trace(Trace());
        bool rawSeen = false;
        int requests = 0;
        for (std::string line; std::getline(trace, line);) {
            if (line.find("mode=0x4004") != std::string::npos) rawSeen = true;
            if (line.rfind("short_test", 0) != 0) continue;
            ++requests;
            EXPECT_TRUE(rawSeen) << line;
            EXPECT_NE(line.find(c.stepCode), std::string::npos) << line;
        }
        EXPECT_GT(requests, 0) << Trace();
    }
}

}  // namespace
