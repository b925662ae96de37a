// The commands that chain several steps, run as a user runs them: testandtune tests the panel and
// then tunes it; fast_tune_calib takes a panel fresh from the factory, whose hardware set does not
// know its wiring, through pin finding, signal adjustment, the open test and the short test, after
// which autotune and test pass on it. The controller's storage lasts from run to run, and what it
// stores (read back with dump_hw) is judged against the simulated panel's truth.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AutoTuneRun.h"
#include "WiredRuns.h"

namespace {

class CommandChainRun : public AutoTuneRun {
  protected:
    // Rule 0 stores target 5's delay in every record; it must be the panel's optimal delay for
    // that target's line, and every count must be one the search may end with.
    void ExpectImageTunedToTheTruth(const HwText& hw) {
        const int delay = Value(hw, Record("Delay", 5));
        EXPECT_NEAR(delay, OptimalDelay(hw, 5), 2);
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(Value(hw, Record("Delay", k)), delay) << k;
            EXPECT_GE(Value(hw, Record("MeasureCnt", k)), 15) << k;
            EXPECT_LE(Value(hw, Record("MeasureCnt", k)), 63) << k;
        }
    }

    // The stored channel ranges are exactly the wired runs of the truth file.
    void ExpectWiredRunsStored(const HwText& hw) {
        const TruthFile truth = Truth();
        const auto tx = WiredRuns(truth.Text("wired_tx")), rx = WiredRuns(truth.Text("wired_rx"));
        ASSERT_FALSE(tx.empty());
        ASSERT_FALSE(rx.empty());
        auto stored = [&](const char* key, int chip) {
            return Value(hw,
                         "Sensor Config/" + std::string(key) + "(" + std::to_string(chip) + ")");
        };
        for (const PinRun& r : tx) {
            EXPECT_EQ(stored("TxStart", r.chip), r.first) << r.chip;
            EXPECT_EQ(stored("TxEnd", r.chip), r.last) << r.chip;
        }
        for (const PinRun& r : rx) {
            EXPECT_EQ(stored("RxStart", r.chip), r.first) << r.chip;
            EXPECT_EQ(stored("RxEnd", r.chip), r.last) << r.chip;
        }
    }

    static bool Before(const std::string& out, const char* first, const char* then) {
        const auto a = out.find(first), b = out.find(then);
        return a != std::string::npos && b != std::string::npos && a < b;
    }
};

// testandtune on a healthy panel of each chip: the open test, the short test, then the tuning,
// whose results the controller stores.
class TestAndTuneE2ETest : public CommandChainRun,
                           public testing::WithParamInterface<const char*> {};

TEST_P(TestAndTuneE2ETest, TestsThenTunesAndStoresWhatThePanelNeeds) {
    UseProfile(std::string("model = ") + GetParam());
    UseSettings(SettingsText(0, 1, "WorkingFreq0 = 9\n", false));
    const HwText before = Dump();
    const CommandRun run = Run({"-ctestandtune"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.result, "0x00000000\n");
    EXPECT_TRUE(Before(run.out, "Open Test Pass", "Short Test pass")) << run.out;
    EXPECT_TRUE(Before(run.out, "Short Test pass", "Start Image Tuning")) << run.out;
    const HwText tuned = Dump();
    ExpectImageTunedToTheTruth(tuned);
    // The open and mutual scaling are measured on the tuned panel and stored with it.
    EXPECT_NE(Value(tuned, "Sensor Config-RD/OpenScaling"),
              Value(before, "Sensor Config-RD/OpenScaling"));
}

INSTANTIATE_TEST_SUITE_P(OneModelOfEachChip, TestAndTuneE2ETest,
                         testing::Values("K7P100", "K7P128", "K7P84"));

// The first failing step ends testandtune with its code, and a panel that fails a test is not
// tuned: the stored set stays as it was.
TEST_F(CommandChainRun, TestAndTuneStopsAtTheFirstFailingStep) {
    struct Case {
        const char* panel;
        const char* result;
        bool shortTested, tuned;  // whether the short test and the tuning started
        const char* message;      // what the failing step says
    } cases[] = {
        // An open line reads about 0: its neighbours differ by all of their value.
        {"open_rx = 17", "0x81300002\n", false, false, ""},
        {"short = rx3-rx7", "0x81300009\n", true, false, "Short Test fail"},
        {"uneven = 1", "0x81300004\n", true, true,
         "Cant't find working freqency, please modify ini file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.panel);
        std::filesystem::remove(folder_ / "state");
        UseProfile(std::string("model = K7P100\n") + c.panel);
        UseSettings(SettingsText(0, 1, "", false));
        const HwText before = Dump();
        const CommandRun run = Run({"-ctestandtune"});
        EXPECT_EQ(run.status, 8) << run.out;
        EXPECT_EQ(run.result, c.result) << run.out;
        EXPECT_TRUE(Has(run.out, c.message)) << run.out;
        EXPECT_EQ(Has(run.out, "Start Short Test"), c.shortTested) << run.out;
        EXPECT_EQ(Has(run.out, "Start Image Tuning"), c.tuned) << run.out;
        EXPECT_EQ(Dump(), before);
    }
}

// A panel fresh from the factory, wired to an unknown part of each chip's pins, with no settings
// file written by hand: fast_tune_calib with every step finds and stores the wiring and passes the
// tests on it, and the panel then tunes and tests like any other.
class FastTuneCalibChainE2ETest : public CommandChainRun,
                                  public testing::WithParamInterface<const char*> {};

TEST_P(FastTuneCalibChainE2ETest, FindsTunesAndTestsAFreshPanel) {
    UseProfile(std::string(GetParam()) + "\nwiring_unknown = 1");
    std::filesystem::remove(folder_ / "GXXX_C000.ini");

    CommandRun run = Run({"-cfast_tune_calib", "-Jb7"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.result, "0x00000000\n");
    EXPECT_TRUE(Before(run.out, "Find Pin Alg3", "Open Test Pass")) << run.out;
    EXPECT_TRUE(Before(run.out, "Open Test Pass", "Short Test pass")) << run.out;
    ExpectWiredRunsStored(Dump());

    run = Run({"-cautotune"});
    ASSERT_EQ(run.status, 0) << run.out;
    const HwText tuned = Dump();
    ExpectWiredRunsStored(tuned);
    ExpectImageTunedToTheTruth(tuned);

    run = Run({"-ctest"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.result, "0x00000000\n");
    EXPECT_TRUE(Has(run.out, "Open Test Pass")) << run.out;
    EXPECT_TRUE(Has(run.out, "Short Test pass")) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Wirings, FastTuneCalibChainE2ETest,
    testing::Values("model = K7P100\nwired_tx = 0:3-37\nwired_rx = 0:5-70",
                    // Two chips, the first the smaller variant.
                    "model = K9P80\nwired_tx = 0:1-50,1:3-60\nwired_rx = 0:2-77,1:1-95",
                    "model = K7P128", "model = K7P84\nwired_tx = 0:4-47\nwired_rx = 0:0-70"),
    [](const testing::TestParamInfo<const char*>& info) {
        return std::string(info.param).substr(8, std::string(info.param).find('\n') - 8);
    });

// Each -Jb bit runs its own step and no other.
TEST_F(CommandChainRun, FastTuneCalibRunsTheStepsItsBitsSelect) {
    struct Case {
        const char* bits;
        bool pins, open, shorts;
    } cases[] = {
        {"-Jb0", false, false, false},
        {"-Jb1", true, false, false},
        {"-Jb2", false, true, false},
        {"-Jb4", false, false, true},
    };
    UseProfile("model = K7P100");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        std::filesystem::remove(folder_ / "state");
        const HwText before = Dump();
        const CommandRun run = Run({"-cfast_tune_calib", c.bits});
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(Has(run.out, "Find Pin Alg3"), c.pins) << run.out;
        EXPECT_EQ(Has(run.out, "Open Test Pass"), c.open) << run.out;
        EXPECT_EQ(Has(run.out, "Start Short Test"), c.shorts) << run.out;
        EXPECT_EQ(Has(run.out, "Short Test pass"), c.shorts) << run.out;
        // Only pin finding stores anything: the ranges it found (and its own working frequency).
        if (c.pins) {
            ExpectWiredRunsStored(Dump());
        } else {
            EXPECT_EQ(Dump(), before);
        }
    }
}

// The short-test step fails with the diagnostics' short-test code, after the pins of a fresh
// panel were stored and its open test passed; a refused diagnostics mode has its own code.
TEST_F(CommandChainRun, FastTuneCalibShortStepFailures) {
    struct Case {
        const char* panel;
        const char* bits;
        const char* result;
    } cases[] = {
        {"wiring_unknown = 1\nshort = rx3-rx7", "-Jb7", "0x82030009\n"},
        {"short = tx2-tx5", "-Jb4", "0x82030009\n"},
        {"refuse_mode = 0x8004", "-Jb4", "0x82000007\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.panel);
        std::filesystem::remove(folder_ / "state");
        UseProfile(std::string("model = K7P100\n") + c.panel);
        const CommandRun run = Run({"-cfast_tune_calib", c.bits});
        EXPECT_EQ(run.status, 8) << run.out;
        EXPECT_EQ(run.result, c.result) << run.out;
        if (std::string(c.bits) == "-Jb7") {
            EXPECT_TRUE(Has(run.out, "Open Test Pass")) << run.out;
            EXPECT_TRUE(Has(run.out, "Short Test fail")) << run.out;
            ExpectWiredRunsStored(Dump());
        }
    }
}

}  // namespace
