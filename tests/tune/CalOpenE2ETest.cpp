// cal_open as a user runs it, followed by dump_hw: the open and mutual scaling ratios stored in
// the controller are those of the minima of the panel the simulator measured (its truth file),
// and the test Scaling stored brings the panel's strongest cell into the window. A panel without
// a usable minimum, or a test frequency the controller cannot take, fails with nothing stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TuneCommandRun.h"
#include "tune/SignalAdjust.h"

namespace {

struct Minima {
    double mutual = 1e9, open = 1e9, most = 0;
};

// The smallest magnitude of the last frame, over every cell and over its border, and the largest.
Minima TruthMinima(const TruthFile& truth) {
    Minima m;
    const int rows = truth.Number("frame_tx");
    for (int t = 0; t < rows; ++t) {
        const std::vector<double> row = truth.Magnitude(t);
        for (size_t r = 0; r < row.size(); ++r) {
            m.mutual = std::min(m.mutual, row[r]);
            m.most = std::max(m.most, row[r]);
            if (t == 0 || t == rows - 1 || r == 0 || r + 1 == row.size())
                m.open = std::min(m.open, row[r]);
        }
    }
    return m;
}

// The stored ratio lies between the ratios of the minimum's noise bounds (the frame noise is
// 0.15 % plus a count; four standard deviations either way).
testing::AssertionResult RatioOfMinimum(int stored, double minimum) {
    const double spread = 4 * (0.0015 * minimum + 1);
    const int a = ScalingRatio(static_cast<int>(minimum - spread));
    const int b = ScalingRatio(static_cast<int>(minimum + spread + 1));
    if (stored >= std::min(a, b) && stored <= std::max(a, b)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "stored " << stored << ", minimum " << minimum
                                       << " gives " << a << " .. " << b;
}

struct Panel {
    const char* name;
    const char* profile;
};

class CalOpenE2ETest : public TuneCommandRun, public testing::WithParamInterface<Panel> {};

TEST_P(CalOpenE2ETest, StoresTheRatiosOfTheMeasuredMinima) {
    UseProfile(GetParam().profile);
    const CommandRun run = Run({"-ccal_open"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.result, "0x00000000\n");
    EXPECT_TRUE(Has(run.out, "Open Scaling = ")) << run.out;
    const Minima truth = TruthMinima(Truth());
    ASSERT_GT(truth.mutual, 0);
    // The last frame was taken at the Scaling found: its strongest cell is in the window.
    EXPECT_GE(truth.most, kSignalWindowLow * 0.98);
    EXPECT_LE(truth.most, kSignalWindowHigh * 1.02);

    const auto hw = DumpHw();
    EXPECT_TRUE(RatioOfMinimum(Number(hw, "MutualScaling"), truth.mutual));
    EXPECT_TRUE(RatioOfMinimum(Number(hw, "OpenScaling"), truth.open));
}

INSTANTIATE_TEST_SUITE_P(
    Panels, CalOpenE2ETest,
    testing::Values(Panel{"K7P100", "model = K7P100"},
                    Panel{"K7P100_weak", "model = K7P100\nsignal_scale = 0.15"},
                    Panel{"K7P100_strong", "model = K7P100\nsignal_scale = 4"},
                    Panel{"K9P100", "model = K9P100\npanel_seed = 5"},
                    Panel{"K7P128", "model = K7P128"},
                    Panel{"K7P84", "model = K7P84\nsignal_scale = 2"}),
    [](const testing::TestParamInfo<Panel>& info) { return std::string(info.param.name); });

class CalOpenFailureE2ETest : public TuneCommandRun {
  protected:
    // The command failed with its code and nothing went to the controller's storage.
    void ExpectFailedWithNothingStored(const CommandRun& run) {
        EXPECT_EQ(run.status, 8) << run.out;
        EXPECT_EQ(run.result, "0x81D00002\n");
        EXPECT_FALSE(Has(Trace(), "flag=1")) << Trace();
    }
};

TEST_F(CalOpenFailureE2ETest, AnOpenLineLeavesAZeroMinimum) {
    UseProfile("model = K7P100\nopen_rx = 7");
    const CommandRun run = Run({"-ccal_open"});
    ExpectFailedWithNothingStored(run);
    EXPECT_TRUE(Has(run.out, "Calculate Scaling Fail")) << run.out;
}

TEST_F(CalOpenFailureE2ETest, AFrequencyBeyondTheSetIsNotMeasured) {
    const CommandRun run = Run({"-ccal_open", "-Lb7"});
    ExpectFailedWithNothingStored(run);
    EXPECT_TRUE(Has(run.out, "Set Test Freq Fail...")) << run.out;
    EXPECT_FALSE(Has(Trace(), "mode=0x4080")) << Trace();
}

TEST_F(CalOpenFailureE2ETest, ARefusedWriteFailsTheCommand) {
    UseProfile("model = K7P100\nrefuse_mode = 0x8001");
    const CommandRun run = Run({"-ccal_open"});
    ExpectFailedWithNothingStored(run);
    EXPECT_TRUE(Has(run.out, "Set Parameter Fail")) << run.out;
}

}  // namespace
