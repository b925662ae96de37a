// The scaling ratio's encoding, and AdjustSignal against the simulated panel: the Scaling it
// settles on brings the panel's strongest cell (as the simulator's truth file knows it) into the
// window, on panels of different strength; it gives up at once when no Scaling can, and after its
// tries when frames never come.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "PanelFixture.h"
#include "tune/SignalAdjust.h"

namespace {

int CountLines(const std::string& text, const std::string& what) {
    int n = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) n += line.find(what) != std::string::npos;
    return n;
}

// The largest magnitude of the last frame the simulator sent, before noise.
double TruthMaximum(const TruthFile& truth) {
    double most = 0;
    for (int t = 0; t < truth.Number("frame_tx"); ++t)
        for (double m : truth.Magnitude(t)) most = std::max(most, m);
    return most;
}

TEST(ScalingRatio, EncodesTenthsAboveAndBelowTheReference) {
    struct Case {
        int minimum;
        uint16_t expected;
    };
    for (const Case& c : {Case{4500, 15}, Case{3001, 10}, Case{32767, 109},
                          Case{1500, 20 | 0x8000}, Case{3000, 10 | 0x8000},
                          Case{1, 30000 | 0x8000}}) {
        EXPECT_EQ(ScalingRatio(c.minimum), c.expected) << "minimum " << c.minimum;
    }
}

class AdjustSignalSimTest : public testing::Test, protected PanelFixture {
  protected:
    void TearDown() override { Close(); }

    // AdjustSignal at frequency 0 on a K7P100 panel of the given strength.
    bool Adjust(const std::string& extra, int& scaling) {
        Open("model = K7P100\n" + extra, 94);
        if (HasFatalFailure()) return false;
        testing::internal::CaptureStdout();
        const bool found = AdjustSignal(C(), 0, scaling);
        testing::internal::GetCapturedStdout();
        return found;
    }
};

TEST_F(AdjustSignalSimTest, StrongestCellLandsInTheWindowWhateverThePanelsStrength) {
    int previous = -1;
    for (const char* strength : {"0.1", "1", "3"}) {
        SCOPED_TRACE(std::string("signal_scale ") + strength);
        int scaling = -1;
        ASSERT_TRUE(Adjust(std::string("signal_scale = ") + strength, scaling));
        const double most = TruthMaximum(Truth());
        // Within the frame noise of the window's edges.
        EXPECT_GE(most, kSignalWindowLow * 0.98);
        EXPECT_LE(most, kSignalWindowHigh * 1.02);
        // A stronger panel needs a larger Scaling (smaller values).
        EXPECT_GT(scaling, previous);
        previous = scaling;
        Close();
    }
}

TEST_F(AdjustSignalSimTest, TooWeakAPanelFailsAtScalingZeroWithoutUsingItsTries) {
    int scaling = 77;
    EXPECT_FALSE(Adjust("signal_scale = 0.01", scaling));
    EXPECT_EQ(scaling, 77);
    // Scalings 2, 1 and 0, one frame each.
    EXPECT_EQ(CountLines(Trace(), "switch_mode mode=0x4080"), 3) << Trace();
}

TEST_F(AdjustSignalSimTest, FramesThatNeverComeUseUpEveryTry) {
    Open("model = K7P100\nframes_stop_after = 0", 94);
    ASSERT_FALSE(HasFatalFailure());
    Data().SetWaitPeriod(std::chrono::milliseconds(5));
    int scaling = 77;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(AdjustSignal(C(), 0, scaling));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(scaling, 77);
    EXPECT_EQ(CountLines(Trace(), "switch_mode mode=0x4080"), kAdjustSignalTries);
}

}  // namespace
