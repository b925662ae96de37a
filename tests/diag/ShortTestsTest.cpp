// The short tests against simulated panels: what they report is judged against the panel's truth
// file (which lines are shorted to what, how a short reads), never against their own output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "PanelFixture.h"
#include "core/BuilderLog.h"
#include "diag/Diagnostics.h"
#include "diag/ShortTests.h"
#include "params/CParam_INI.h"

namespace {

using namespace std::chrono_literals;

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> items;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, sep);) {
        item.erase(0, item.find_first_not_of(' '));
        if (!item.empty()) items.push_back(item);
    }
    return items;
}

// Where a panel line is wired, from the truth file's runs ("0:3-72,1:1-70").
struct Pin {
    int chip = -1, pin = -1;
};
Pin PinOf(const TruthFile& truth, bool tx, int line) {
    for (const std::string& run : Split(truth.Text(tx ? "wired_tx" : "wired_rx"), ',')) {
        int chip = 0, first = 0, last = 0;
        std::sscanf(run.c_str(), "%d:%d-%d", &chip, &first, &last);
        if (line <= last - first) return {chip, first + line};
        line -= last - first + 1;
    }
    return {};
}

// How a model's controller lists its channels in the classifying form: every pin of each chip,
// the first chip of the narrow models with fewer.
struct ModelCase {
    const char* model;
    int typeCode;
    bool classifies;
    int chips, rxPerChip, txPerChip, rxFirstChip, txFirstChip;
};
const ModelCase kModels[] = {
    {"K7P100", 94, true, 1, 100, 64, 100, 64},    {"K7P80", 158, true, 1, 100, 64, 80, 56},
    {"K9P100", 164, true, 2, 100, 64, 100, 64},   {"K9P80", 166, true, 2, 100, 64, 80, 56},
    {"K9PM100", 172, true, 2, 100, 64, 100, 64},  {"K7P128", 96, false, 1, 128, 80, 128, 80},
    {"6310_K7P", 160, true, 1, 128, 80, 128, 80}, {"K7P84", 176, false, 1, 84, 48, 84, 48},
};

void PrintTo(const ModelCase& c, std::ostream* os) {
    *os << c.model;
}

// The channel a panel line is listed as: in the classifying form the chips' pins one after the
// other, in the plain form the frame's channels.
int ListedAs(const ModelCase& m, const TruthFile& truth, bool tx, int line) {
    if (!m.classifies) {
        const auto lines = truth.Numbers(tx ? "frame_tx_lines" : "frame_rx_lines");
        for (size_t i = 0; i < lines.size(); ++i)
            if (static_cast<int>(lines[i]) == line) return static_cast<int>(i);
        return -1;
    }
    const Pin p = PinOf(truth, tx, line);
    const int first = tx ? m.txFirstChip : m.rxFirstChip, per = tx ? m.txPerChip : m.rxPerChip;
    return p.chip == 0 ? p.pin : first + (p.chip - 1) * per + p.pin;
}

class ShortTestsTest : public PanelFixture, public testing::Test {
  protected:
    void TearDown() override { Close(); }

    // Runs a test with the test log open; the log's channel lines by channel ("Rx[3]" ->
    // "96,Short with Rx[7]"), and its other lines.
    uint32_t Run(const std::function<uint32_t()>& test) {
        TestLog().Open(0, "ShortTest");
        testing::internal::CaptureStdout();
        const uint32_t result = test();
        console_ = testing::internal::GetCapturedStdout();
        channels_.clear();
        text_.clear();
        std::ifstream in(TestLog().Path());
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind('[', 0) == 0) line.erase(0, line.find("] ") + 2);  // the time stamp
            text_ += line + "\n";
            const auto close = line.find("],");
            if ((line.rfind("Rx[", 0) == 0 || line.rfind("Tx[", 0) == 0) &&
                close != std::string::npos)
                channels_[line.substr(0, close + 1)] = line.substr(close + 2);
        }
        return result;
    }

    void LoadSettings(const std::string& sensorTest) {
        std::ofstream(C().Ini().SettingsPath()) << "[Sensor Test]\n" << sensorTest;
        testing::internal::CaptureStdout();
        ASSERT_EQ(C().Ini().LoadTxtFile(), 0);
        testing::internal::GetCapturedStdout();
    }

    int ChannelCount(const char* axis) const {
        int n = 0;
        for (const auto& [name, value] : channels_) n += name.rfind(axis, 0) == 0;
        return n;
    }
    static int ValueOf(const std::string& entry) { return std::atoi(entry.c_str()); }

    std::map<std::string, std::string> channels_;
    std::string text_, console_;
};

// The form of the short test the controller offers, as the diagnostics choose it.
uint32_t RunOfferedForm(DiagHost& host) {
    return UsesClassifyingShortTest(host) ? ShortTestClassified(host, false) : ShortTest(host);
}

std::string Channel(bool tx, int index) {
    return (tx ? "Tx[" : "Rx[") + std::to_string(index) + "]";
}

class ShortTestsModels : public ShortTestsTest, public testing::WithParamInterface<ModelCase> {};

TEST_P(ShortTestsModels, AHealthyPanelPasses) {
    const ModelCase& m = GetParam();
    Open(m.model, m.typeCode);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(UsesClassifyingShortTest(C()), m.classifies);
    EXPECT_EQ(Run([&] { return RunOfferedForm(C()); }), 0u) << text_;
    EXPECT_NE(text_.find("Short Test pass\n"), std::string::npos);
    EXPECT_EQ(text_.find("Short with"), std::string::npos) << text_;
    const int rx =
        m.classifies ? m.rxFirstChip + (m.chips - 1) * m.rxPerChip : C().Geometry().rxCount;
    const int tx =
        m.classifies ? m.txFirstChip + (m.chips - 1) * m.txPerChip : C().Geometry().txCount;
    EXPECT_EQ(ChannelCount("Rx["), rx);
    EXPECT_EQ(ChannelCount("Tx["), tx);
    EXPECT_NE(Trace().find("short_test code=1 -> ok"), std::string::npos);
    if (!m.classifies) return;

    // Through the cable: the hardware set's runs, which are the panel's lines.
    EXPECT_EQ(Run([&] { return ShortTestClassified(C(), true); }), 0u) << text_;
    EXPECT_NE(Trace().find("short_test code=6 -> ok"), std::string::npos);
    EXPECT_EQ(ChannelCount("Rx["), Truth().Number("rx_count"));
    EXPECT_EQ(ChannelCount("Tx["), Truth().Number("tx_count"));
}

// Lines shorted together, to VDD and to GND: each shorted channel fails and, where the
// controller classifies, names what it is shorted to; every other channel passes.
TEST_P(ShortTestsModels, ShortsFailAndNameTheirPartners) {
    const ModelCase& m = GetParam();
    Open(std::string("model = ") + m.model +
             "\nshort = rx3-rx7, tx2-tx5, rx9-vdd, tx4-gnd, rx11-gnd",
         m.typeCode);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Run([&] { return RunOfferedForm(C()); }), 9u);
    EXPECT_NE(text_.find("Short Test fail\nFinish Short Test\n"), std::string::npos) << text_;

    const TruthFile truth = Truth();
    const int line = truth.Number("short_line_level"), supply = truth.Number("short_supply_level");
    std::map<std::string, std::string> expected;
    for (const std::string& item : Split(truth.Text("short"), ',')) {
        const bool tx = item[0] == 't';
        const auto dash = item.find('-');
        const int a = ListedAs(m, truth, tx, std::stoi(item.substr(2, dash - 2)));
        const std::string other = item.substr(dash + 1);
        if (other == "vdd" || other == "gnd") {
            const int value = other == "vdd" ? supply : -supply;
            expected[Channel(tx, a)] =
                std::to_string(value) + (!m.classifies ? ""
                                         : value > 0   ? ",Short with vdd"
                                         : tx          ? ",Short with gnd"
                                                       : ",Short with gnd or other rx chip");
            continue;
        }
        const int b = ListedAs(m, truth, tx, std::stoi(other.substr(2)));
        const std::string name = tx ? ",Short with Tx[" : ",Short with Rx[";
        expected[Channel(tx, a)] =
            std::to_string(line) + (m.classifies ? name + std::to_string(b) + "]" : "");
        expected[Channel(tx, b)] =
            std::to_string(line) + (m.classifies ? name + std::to_string(a) + "]" : "");
    }
    ASSERT_EQ(expected.size(), 7u);
    for (const auto& [channel, entry] : expected) EXPECT_EQ(channels_[channel], entry) << channel;
    for (const auto& [channel, entry] : channels_) {
        if (expected.count(channel)) continue;
        EXPECT_EQ(entry.find("Short"), std::string::npos) << channel;
        EXPECT_LE(std::abs(ValueOf(entry)), 30) << channel;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryModel, ShortTestsModels, testing::ValuesIn(kModels),
                         [](const testing::TestParamInfo<ModelCase>& info) {
                             return std::string(info.param.model) == "6310_K7P"
                                        ? std::string("M6310_K7P")
                                        : std::string(info.param.model);
                         });

// A reading equal to the threshold passes; one above it fails, and the channels after it are
// still written. The repeats are the larger of the settings' count and the option.
TEST_F(ShortTestsTest, TheThresholdItselfPasses) {
    options_.sensorTest.shortMinRepeat = 3;
    Open("model = K7P100\nshort = rx3-rx7", 94);
    ASSERT_FALSE(HasFatalFailure());
    const int level = Truth().Number("short_line_level");
    LoadSettings("ShortTestThreshold = " + std::to_string(level) + "\nShortTestGetTimes = 2\n");
    EXPECT_EQ(Run([&] { return ShortTestClassified(C(), false); }), 0u);
    LoadSettings("ShortTestThreshold = " + std::to_string(level - 1) + "\n");
    EXPECT_EQ(Run([&] { return ShortTestClassified(C(), false); }), 9u);
    EXPECT_EQ(ChannelCount("Rx["), 100);
    EXPECT_EQ(ChannelCount("Tx["), 64);
    EXPECT_EQ(ValueOf(channels_["Rx[6]"]), level) << "three repeats of one reading";
    int steps = 0;
    for (auto at = Trace().find("short_test code=1"); at != std::string::npos;
         at = Trace().find("short_test code=1", at + 1))
        ++steps;
    EXPECT_EQ(steps, 6);
}

// Older kernels: 2.35 to 2.43 classify with Rx rows numbered across the chips; up to 2.34 only
// the plain form runs. Readings come before calibration, and are scaled by chip 0's calibration
// value (here 50, so doubled): in the plain form always, in the classifying form the Rx readings
// below 2.75 and the Tx readings below 2.02.
TEST_F(ShortTestsTest, OlderKernelsAndTheCalibrationScaling) {
    struct Case {
        int major, minor;
        bool classifies;  // the form the controller offers
        bool runClassified;
        int rxScale, txScale;
    };
    for (const Case& k : {Case{2, 40, true, true, 2, 1}, Case{2, 75, true, true, 1, 1},
                          Case{2, 34, false, false, 2, 2}, Case{2, 1, false, true, 2, 2}}) {
        SCOPED_TRACE(std::to_string(k.major) + "." + std::to_string(k.minor));
        Open("model = K7P100\nkernel_major = " + std::to_string(k.major) + "\nkernel_minor = " +
                 std::to_string(k.minor) + "\ncalibration = 50\nshort = rx3-rx7, tx2-tx5",
             94);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(UsesClassifyingShortTest(C()), k.classifies);
        EXPECT_EQ(Run([&] {
                      return k.runClassified ? ShortTestClassified(C(), false)
                                             : RunOfferedForm(C());
                  }),
                  9u);
        const int level = Truth().Number("short_line_level");
        // Pins 6 and 10 (Rx lines 3 and 7), 4 and 7 (Tx lines 2 and 5); the plain form lists lines.
        if (k.runClassified) {
            EXPECT_EQ(channels_["Rx[6]"], std::to_string(level * k.rxScale) + ",Short with Rx[10]");
            EXPECT_EQ(channels_["Tx[7]"], std::to_string(level * k.txScale) + ",Short with Tx[4]");
        } else {
            EXPECT_EQ(channels_["Rx[3]"], std::to_string(level * k.rxScale));
            EXPECT_EQ(channels_["Tx[5]"], std::to_string(level * k.txScale));
        }
        Close();
    }
}

// The flexible-cable form lists the cable's channel ranges of the settings, or without them the
// hardware set's runs; a partner is named by its pin.
TEST_F(ShortTestsTest, TheCableFormListsTheCablesChannels) {
    Open("model = K7P100\nshort = rx3-rx7, tx2-tx5", 94);
    ASSERT_FALSE(HasFatalFailure());
    LoadSettings(
        "FPCTestRxStart(0) = 3\nFPCTestRxEnd(0) = 20\nFPCTestTxStart(0) = 2\n"
        "FPCTestTxEnd(0) = 10\n");
    EXPECT_EQ(Run([&] { return ShortTestClassified(C(), true); }), 9u);
    EXPECT_NE(Trace().find("short_test code=6 -> ok"), std::string::npos);
    EXPECT_EQ(ChannelCount("Rx["), 18);
    EXPECT_EQ(ChannelCount("Tx["), 9);
    const int level = Truth().Number("short_line_level");
    // Rx pins 6 and 10 are the cable's channels 3 and 7; Tx pins 4 and 7 its channels 2 and 5.
    EXPECT_EQ(channels_["Rx[3]"], std::to_string(level) + ",Short with Rx[10]");
    EXPECT_EQ(channels_["Rx[7]"], std::to_string(level) + ",Short with Rx[6]");
    EXPECT_EQ(channels_["Tx[2]"], std::to_string(level) + ",Short with Tx[7]");
    EXPECT_EQ(channels_["Tx[5]"], std::to_string(level) + ",Short with Tx[4]");

    // No cable ranges: the hardware set's runs, Rx pins 3..72, Tx pins 2..41.
    LoadSettings(
        "FPCTestRxStart(0) = 0\nFPCTestRxEnd(0) = 0\nFPCTestTxStart(0) = 0\n"
        "FPCTestTxEnd(0) = 0\n");
    EXPECT_EQ(Run([&] { return ShortTestClassified(C(), true); }), 9u);
    EXPECT_EQ(ChannelCount("Rx["), Truth().Number("rx_count"));
    EXPECT_EQ(ChannelCount("Tx["), Truth().Number("tx_count"));
    EXPECT_EQ(channels_["Rx[3]"], std::to_string(level) + ",Short with Rx[10]");
    EXPECT_EQ(channels_["Tx[2]"], std::to_string(level) + ",Short with Tx[7]");
}

// Two chips: a partner on the first chip is named by its listed channel, also where the first
// chip's pins sit further on (K9P80); a partner on the second chip by the controller's channel
// number, chip x pins per chip + pin. An Rx line shorted to the other chip's line reads like
// ground on both.
TEST_F(ShortTestsTest, TwoChipsNumberTheirPartners) {
    struct Case {
        const char* model;
        int typeCode;
        const char* shorts;
        std::map<std::string, std::string> lines;  // values as multiples of the line level
    };
    const Case cases[] = {
        // Tx lines 40 and 45 are chip 1's pins 8 and 13: listed after chip 0's 56, named 64 + pin.
        {"K9P80",
         166,
         "tx40-tx45",
         {{"Tx[64]", "1,Short with Tx[77]"}, {"Tx[69]", "1,Short with Tx[72]"}}},
        // Rx lines 60 and 70 are chip 1's pins 5 and 15: listed after chip 0's 80, named 100 + pin.
        {"K9P80",
         166,
         "rx60-rx70",
         {{"Rx[85]", "1,Short with Rx[115]"}, {"Rx[95]", "1,Short with Rx[105]"}}},
        // Rx line 3 is chip 0's pin 4, line 100 chip 1's pin 31.
        {"K9P100",
         164,
         "rx3-rx100",
         {{"Rx[4]", "-1,Short with gnd or other rx chip"},
          {"Rx[131]", "-1,Short with gnd or other rx chip"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.shorts);
        Open(std::string("model = ") + c.model + "\nshort = " + c.shorts, c.typeCode);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(Run([&] { return ShortTestClassified(C(), false); }), 9u);
        const int level = Truth().Number("short_line_level");
        for (const auto& [channel, expected] : c.lines) {
            const auto comma = expected.find(',');
            EXPECT_EQ(channels_[channel],
                      std::to_string(std::stoi(expected) * level) + expected.substr(comma))
                << channel;
        }
        int shorted = 0;
        for (const auto& [channel, entry] : channels_)
            shorted += entry.find("Short") != std::string::npos;
        EXPECT_EQ(shorted, 2);
        Close();
    }
}

// A controller that holds no calibration value for chip 0 gets its readings as they are.
TEST_F(ShortTestsTest, NoCalibrationValueLeavesTheReadings) {
    Open("model = K7P128\ncalibration = 0\nshort = rx3-rx7", 96);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Run([&] { return ShortTest(C()); }), 9u);
    EXPECT_EQ(ValueOf(channels_["Rx[3]"]), Truth().Number("short_line_level"));
}

// An open line is not a short.
TEST_F(ShortTestsTest, AnOpenLinePasses) {
    Open("model = K7P100\nopen_rx = 17\nopen_tx = 5", 94);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Run([&] { return ShortTestClassified(C(), false); }), 0u);
    EXPECT_EQ(Run([&] { return ShortTest(C()); }), 0u);
}

// Each failure ends the test with its result and message, in both forms, and leaves no
// subscription behind; a lost completion ends the wait after its period.
TEST_F(ShortTestsTest, FailuresGiveTheirResults) {
    struct Case {
        const char* fault;
        uint32_t result;
        const char* message;
    };
    const Case cases[] = {
        {"refuse_mode = 0x8004", 2, "Set Working Mode Failed!\n"},
        {"fail = short_test:refused", 8, "Send Short Command Fail\n"},
        {"short_burst = missing", 6, "Get Short Data Fail\nShort Test fail\n"},
        {"short_burst = truncated", 6, "Get Short Data Fail\nShort Test fail\n"},
    };
    for (const Case& c : cases) {
        for (bool classified : {false, true}) {
            SCOPED_TRACE(std::string(c.fault) + (classified ? ", classified" : ", plain"));
            Open(std::string("model = K7P100\n") + c.fault, 94);
            ASSERT_FALSE(HasFatalFailure());
            Data().SetWaitPeriod(200ms);
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(
                Run([&] { return classified ? ShortTestClassified(C(), false) : ShortTest(C()); }),
                c.result);
            EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
            EXPECT_NE((text_ + console_).find(c.message), std::string::npos) << text_ << console_;
            EXPECT_EQ(text_.find("Rx["), std::string::npos) << "no channel lines";
            Close();
        }
    }
}

}  // namespace
