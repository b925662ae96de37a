// autotune and adjust_ts as a user runs them, each followed by dump_hw: what the controller then
// stores is judged against the simulated panel's truth (each target's optimal delay), and failures
// on faulty panels end with their messages and result codes, with nothing stored.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "AutoTuneRun.h"

namespace {

struct ModelRule {
    const char* model;
    int rule;
};

class AutoTuneE2ETest : public AutoTuneRun, public testing::WithParamInterface<ModelRule> {};

// Every model converges under every rule. Rule 1 finds each target's delay; the others measure
// target 5 alone and store its delay in every record, so that is judged against target 5's line
// (the edge lines' optimum lies up to one sample either side of it). A second run on the tuned
// panel keeps what matters.
TEST_P(AutoTuneE2ETest, StoresDelaysTheTruthCallsRight) {
    const ModelRule c = GetParam();
    UseProfile(std::string("model = ") + c.model);
    // One candidate: the single-frequency rule refuses five or more.
    UseSettings(SettingsText(c.rule, 1, "WorkingFreq0 = 9\n", false));
    const CommandRun run = Run({"-cautotune"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.result, "0x00000000\n");
    const HwText tuned = Dump();
    EXPECT_EQ(Value(tuned, "Sensor Config/NumsOfFreq"), 1);
    const int largest = c.rule >= 2 ? 51 : 63;
    for (int k = 0; k < 10; ++k) {
        const int delay = Value(tuned, Record("Delay", c.rule == 1 ? k : 5));
        EXPECT_NEAR(delay, OptimalDelay(tuned, c.rule == 1 ? k : 5), 2) << k;
        EXPECT_EQ(Value(tuned, Record("Delay", k)),
                  c.rule == 1 ? delay : Value(tuned, Record("Delay", 5)));
        EXPECT_GE(Value(tuned, Record("MeasureCnt", k)), 15) << k;
        EXPECT_LE(Value(tuned, Record("MeasureCnt", k)), largest) << k;
        // Rule 1 measures each record's gain E; the others clear it.
        const int gainE = Value(tuned, Record("GainE", k));
        if (c.rule == 1) {
            EXPECT_GE(gainE, 15) << k;
        } else {
            EXPECT_EQ(gainE, 0) << k;
        }
    }

    ASSERT_EQ(Run({"-cautotune"}).status, 0);
    const HwText again = Dump();
    EXPECT_EQ(Value(again, "Freq-0 Img Reg Parameters/Img_Scaling"),
              Value(tuned, "Freq-0 Img Reg Parameters/Img_Scaling"));
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(Value(again, Record("RS", k)), Value(tuned, Record("RS", k))) << k;
        EXPECT_NEAR(Value(again, Record("AFEGain", k)), Value(tuned, Record("AFEGain", k)), 1) << k;
        EXPECT_NEAR(Value(again, Record("Delay", k)), OptimalDelay(again, c.rule == 1 ? k : 5), 2);
        EXPECT_NEAR(Value(again, Record("MeasureCnt", k)), Value(tuned, Record("MeasureCnt", k)), 3)
            << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ModelsAndRules, AutoTuneE2ETest,
    testing::Values(ModelRule{"K7P100", 0}, ModelRule{"K7P100", 1}, ModelRule{"K7P100", 2},
                    ModelRule{"K7P100", 3}, ModelRule{"K7P128", 0}, ModelRule{"K7P128", 1},
                    ModelRule{"K7P128", 2}, ModelRule{"K7P128", 3}, ModelRule{"K7P84", 0},
                    ModelRule{"K7P84", 1}, ModelRule{"K7P84", 2}, ModelRule{"K7P84", 3}),
    [](const testing::TestParamInfo<ModelRule>& info) {
        return std::string(info.param.model) + "_rule" + std::to_string(info.param.rule);
    });

// Rule 2 lowers the fixed gain until every count fits below 51, and stores it for every
// candidate frequency.
TEST_F(AutoTuneRun, FixedGainRuleConvergesWithinItsLargestCount) {
    UseSettings(SettingsText(2, 1, "WorkingFreq0 = 3\nWorkingFreq1 = 6\n", false));
    const CommandRun run = Run({"-cautotune"});
    ASSERT_EQ(run.status, 0) << run.out;
    const HwText tuned = Dump();
    EXPECT_EQ(Value(tuned, "Sensor Config/NumsOfFreq"), 2);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(Value(tuned, Record("RS", k)), 1) << k;
        EXPECT_LE(Value(tuned, Record("MeasureCnt", k)), 51) << k;
        EXPECT_EQ(Value(tuned, "Freq-1 Img Parameters-RD/Img_AFEGain(" + std::to_string(k) + ")"),
                  Value(tuned, Record("AFEGain", k)));
    }
}

// The water-line scans are tuned on the model that has them, into their mode images; another
// model refuses them when the settings are read and tunes the image alone.
TEST_F(AutoTuneRun, WaterLineTuningOnlyWhereTheModelHasIt) {
    UseProfile("model = K7P128");
    UseSettings(SettingsText(0, 1, "", true));
    const HwText before = Dump();
    CommandRun run = Run({"-cautotune"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "Start Water Line Rx Tuning")) << run.out;
    EXPECT_TRUE(Has(run.out, "Start Water Line Tx Tuning")) << run.out;
    const HwText tuned = Dump();
    const int delayRx = Value(tuned, "Freq-0 WLRx Reg Parameters/WLRx_Delay");
    EXPECT_GE(delayRx, 11);
    EXPECT_LE(delayRx, 17);
    EXPECT_NE(Value(tuned, "Freq-0 WLTx Reg Parameters/WLTx_Scaling"),
              Value(before, "Freq-0 WLTx Reg Parameters/WLTx_Scaling"));

    UseProfile("model = K7P100");
    std::filesystem::remove(folder_ / "state");
    run = Run({"-cautotune"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "Not Support Water Tuning")) << run.out;
    EXPECT_FALSE(Has(run.out, "Start Water Line")) << run.out;
}

// Failures end with their message and the command's failure code, and store nothing.
TEST_F(AutoTuneRun, FaultyPanelsStoreNothing) {
    struct Case {
        const char* panel;
        const char* message;
    } cases[] = {
        // The information block's calibration value 77 is 23 away from 100: out of tolerance.
        {"chip_gain = 1.3", "Calibrating Fail..."},
        {"uneven = 1", "Cant't find working freqency, please modify ini file"},
        {"signal_scale = 250", "Adjust Frequency And Gain Fail"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(folder_ / "state");
        UseProfile(std::string("model = K7P100\n") + c.panel);
        UseSettings(SettingsText(0, 1, "", false));
        const HwText before = Dump();
        const CommandRun run = Run({"-cautotune"});
        EXPECT_EQ(run.result, "0x81200002\n") << c.panel << run.out;
        EXPECT_TRUE(Has(run.out, c.message)) << c.panel << run.out;
        EXPECT_EQ(Dump(), before) << c.panel;
    }
}

// adjust_ts redoes the Scaling and counts on the gains and delays the controller holds.
TEST_F(AutoTuneRun, TouchAdjustmentKeepsGainsAndDelays) {
    UseSettings(SettingsText(0, 1, "", false));
    const HwText before = Dump();
    const CommandRun run = Run({"-cadjust_ts"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_FALSE(Has(run.out, "Tuning Rule")) << "no frequency or gain search";
    const HwText after = Dump();
    for (const char* field : {"RS", "AFEGain", "Delay"}) {
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(Value(after, Record(field, k)), Value(before, Record(field, k))) << field;
    }
    for (int k = 0; k < 10; ++k) {
        EXPECT_GE(Value(after, Record("MeasureCnt", k)), 15) << k;
        EXPECT_LE(Value(after, Record("MeasureCnt", k)), 63) << k;
    }
    EXPECT_TRUE(Has(run.out, "Mutual Scaling = ")) << "the image adjustment ends with the scaling";
}

// With -Jb bit 3 the settings' candidates become the working frequencies first, each with
// frequency 0's gains and delays.
TEST_F(AutoTuneRun, TouchAdjustmentSpreadsTheCandidatesFirst) {
    UseSettings(
        SettingsText(0, 1, "WorkingFreq0 = 3\nWorkingFreq1 = 6\nWorkingFreq2 = 8\n", false));
    const HwText before = Dump();
    const CommandRun run = Run({"-cadjust_ts", "-Jb8"});
    ASSERT_EQ(run.status, 0) << run.out;
    const HwText after = Dump();
    EXPECT_EQ(Value(after, "Sensor Config/NumsOfFreq"), 3);
    for (int f : {1, 2}) {
        const std::string section = "Freq-" + std::to_string(f) + " Img Parameters-RD/Img_";
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(Value(after, section + "Delay(" + std::to_string(k) + ")"),
                      Value(before, Record("Delay", k)));
            EXPECT_EQ(Value(after, section + "RS(" + std::to_string(k) + ")"),
                      Value(before, Record("RS", k)));
        }
    }
}

TEST_F(AutoTuneRun, TooWeakPanelFailsTheTouchAdjustment) {
    UseProfile("model = K7P100\nsignal_scale = 0.01");
    UseSettings(SettingsText(0, 1, "", false));
    const HwText before = Dump();
    const CommandRun run = Run({"-cadjust_ts"});
    EXPECT_EQ(run.result, "0x81C00002\n") << run.out;
    EXPECT_TRUE(Has(run.out, "Adjust Scaling & MeasureCnt Fail")) << run.out;
    EXPECT_EQ(Dump(), before);
}

}  // namespace
