// The tuning searches on simulated panels, judged against what the panel knows to be true: the
// delays found against each Tx line's optimal delay, the Scaling and measure counts against a
// panel built to known swings, and the frequency search against noisy bands, an uneven panel and
// a panel that saturates.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TuneFixture.h"
#include "chips/CSlave.h"
#include "device/CMCU.h"
#include "params/CParam_HW.h"

namespace {

constexpr int kImage = CSlave::kScanImage;

class SearchesOnEveryChip : public testing::TestWithParam<ChipCase>, protected TuneFixture {
  protected:
    void SetUp() override { Open(GetParam().model, GetParam().typeCode); }
    void TearDown() override { Close(); }
};

// Rule 0 tunes the gain on the centre target and one delay, target 5's, for every record.
TEST_P(SearchesOnEveryChip, CentreRuleFindsGainDelayScalingAndCounts) {
    LoadSettings(ImageSettings(0, 1, ""));
    TuneJob job = ImageJob();
    ASSERT_TRUE(Logged([&] { return AdjustFreqAndGain(C(), job); })) << console_;
    EXPECT_TRUE(Printed("Total available working frequencies = 1")) << console_;
    EXPECT_EQ(C().Hw().NumsOfFreq(), 1);
    ASSERT_TRUE(Logged([&] { return AdjustDelay(C(), job); })) << console_;
    const int delay = C().Hw().GetTuneDelay(kImage, 0, 5);
    EXPECT_NEAR(delay, OptimalDelayOfTarget(5), 2);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(C().Hw().GetTuneDelay(kImage, 0, k), delay) << k;
        EXPECT_EQ(C().Hw().GetTuneRs(kImage, 0, k), C().Hw().GetTuneRs(kImage, 0, 4)) << k;
        EXPECT_EQ(C().Hw().GetTuneAfeGain(kImage, 0, k), C().Hw().GetTuneAfeGain(kImage, 0, 4));
    }
    ASSERT_TRUE(Logged([&] { return AdjustScalingAndMeasureCnt(C(), job, ScalingMode::kSearch); }))
        << console_;
    // The gain search brings the weakest swing near 19, which the Scaling search halves to a
    // level under 200 in five steps; the counts then land between 15 and the largest.
    EXPECT_EQ(C().Hw().GetScalingOf(0, CSlave::kGroupImg), 7);
    for (int k = 0; k < 10; ++k) {
        const int count = C().Hw().TuningRecordField(0, k, 3);
        EXPECT_GE(count, 15) << k;
        EXPECT_LE(count, 63) << k;
    }
}

// Rule 1 searches gain and delay on every target: each delay near its own line's optimum.
TEST_P(SearchesOnEveryChip, EveryTargetRuleFindsEachTargetsOptimalDelay) {
    LoadSettings(ImageSettings(1, 1, ""));
    TuneJob job = ImageJob();
    ASSERT_TRUE(Logged([&] { return AdjustFreqAndGain(C(), job); })) << console_;
    ASSERT_TRUE(Logged([&] { return AdjustDelay(C(), job); })) << console_;
    for (int k = 0; k < 10; ++k)
        EXPECT_NEAR(C().Hw().GetTuneDelay(kImage, 0, k), OptimalDelayOfTarget(k), 2) << k;
}

INSTANTIATE_TEST_SUITE_P(Chips, SearchesOnEveryChip, testing::ValuesIn(kChipCases), ChipCaseName);

class SearchesTest : public testing::Test, protected TuneFixture {
  protected:
    void TearDown() override { Close(); }

    // Table indexes of the default model's frequencies: one near `kHz` and one far from it.
    struct Pair {
        int near = -1, far = -1;
        double nearKHz = 0;
    };
    Pair Frequencies(double kHz) {
        Pair p;
        CMCU& mcu = C().Mcu();
        for (int i = 1; i < mcu.GetFreqCount(); ++i) {
            uint8_t clock = 0, count = 0, divider = 0;
            mcu.GetFreqSetting(i, clock, count, divider);
            const double f = mcu.CalcFrequency(clock, count, divider);
            if (p.near < 0 && std::abs(f - kHz) < 1) p.near = i, p.nearKHz = f;
            if (p.far < 0 && std::abs(f - kHz) > 60) p.far = i;
        }
        return p;
    }

    static std::string WorkingFreqs(int a, int b) {
        return "WorkingFreq0 = " + std::to_string(a) + "\nWorkingFreq1 = " + std::to_string(b) +
               "\nWorkingFreq2 = -1\nWorkingFreq3 = -1\nWorkingFreq4 = -1\n";
    }
};

// A panel built to known swings: a flat panel whose Rx columns give a weakest swing of 19 and an
// average of 22 at the gain the search settles on (RS 8, gain 23), read with K 64, Touch% 10 and
// ADC factor 8. The Scaling search halves 22 x 15 x 64 / 4 five times (Scaling 7), and the level
// 22 x c x 64 / 128 x 10 % x 8 reaches 200 at count 23.
TEST_F(SearchesTest, PanelOfKnownSwingsGivesScalingSevenAndCountTwentyThree) {
    Open("model = K7P100\nflat = 1\nsignal_scale = 2.576\nrx_coupling = 10:0.869,40:1.5645", 94);
    LoadSettings(ImageSettings(1, 1, ""));
    TuneJob job = ImageJob();
    ASSERT_TRUE(Logged([&] { return AdjustFreqAndGain(C(), job); })) << console_;
    EXPECT_EQ(C().Hw().GetTuneRs(kImage, 0, 0), 8);
    EXPECT_EQ(C().Hw().GetTuneAfeGain(kImage, 0, 0), 23);
    ASSERT_TRUE(Logged([&] { return AdjustDelay(C(), job); })) << console_;
    ASSERT_TRUE(Logged([&] { return AdjustScalingAndMeasureCnt(C(), job, ScalingMode::kSearch); }))
        << console_;
    EXPECT_EQ(C().Hw().GetScalingOf(0, CSlave::kGroupImg), 7);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(C().Hw().TuningRecordField(0, k, 3), 23) << k;
}

TEST_F(SearchesTest, FrequencySearchAvoidsANoisyBand) {
    Open("model = K7P100", 94);
    const Pair p = Frequencies(166.67);
    ASSERT_GT(p.near, 0);
    ASSERT_GT(p.far, 0);
    Close();
    Open("model = K7P100\nnoise_source = " + std::to_string(p.nearKHz) + ":40", 94);
    LoadSettings(ImageSettings(0, 1, WorkingFreqs(p.near, p.far)));
    TuneJob job = ImageJob();
    ASSERT_TRUE(Logged([&] { return AdjustFreqAndGain(C(), job); })) << console_;
    EXPECT_TRUE(Printed("Please Lower your working freqency and try again")) << console_;
    uint8_t clock = 0, count = 0, divider = 0;
    C().Mcu().GetFreqSetting(p.far, clock, count, divider);
    EXPECT_EQ(C().Hw().NumsOfFreq(), 1);
    EXPECT_EQ(C().Hw().GetClkSrc(0), clock);
    EXPECT_EQ(C().Hw().GetPreScaler(0), count);
    EXPECT_EQ(C().Hw().GetFreqDivider(0), divider);
}

// Faults that leave no working frequency: every candidate noisy, a panel too uneven for the
// ratio check, and a panel that saturates the AFE at every gain (the gain search must end).
TEST_F(SearchesTest, NoWorkingFrequencyOnFaultyPanels) {
    Open("model = K7P100", 94);
    const Pair low = Frequencies(166.67);
    const Pair high = Frequencies(100.0);
    Close();
    ASSERT_GT(low.near, 0);
    ASSERT_GT(high.near, 0);
    struct Case {
        std::string panel, refusal;
    } cases[] = {
        {"noise_source = " + std::to_string(low.nearKHz) + ":40," + std::to_string(high.nearKHz) +
             ":40",
         "Please Lower your working freqency and try again"},
        {"uneven = 1", "Please Lower your working freqency and try again"},
        {"signal_scale = 250", ""},
    };
    for (const Case& c : cases) {
        Open("model = K7P100\n" + c.panel, 94);
        LoadSettings(ImageSettings(0, 2, WorkingFreqs(low.near, high.near)));
        const uint8_t before = C().Hw().NumsOfFreq();
        TuneJob job = ImageJob();
        EXPECT_FALSE(Logged([&] { return AdjustFreqAndGain(C(), job); })) << c.panel;
        EXPECT_TRUE(Printed("Cant't find working freqency, please modify ini file")) << c.panel;
        if (!c.refusal.empty()) {
            EXPECT_TRUE(Printed(c.refusal)) << c.panel;
        }
        EXPECT_EQ(C().Hw().NumsOfFreq(), before) << c.panel;
        Close();
    }
}

// The factory gains on a panel this weak cannot bring a touch to the signal level even at the
// largest measure count.
TEST_F(SearchesTest, TooWeakPanelFailsTheMeasureCountSearch) {
    Open("model = K7P100\nsignal_scale = 0.01", 94);
    LoadSettings(ImageSettings(0, 1, ""));
    TuneJob job = ImageJob();
    const int count = C().Hw().TuningRecordField(0, 0, 3);
    EXPECT_FALSE(
        Logged([&] { return AdjustScalingAndMeasureCnt(C(), job, ScalingMode::kSearch); }));
    EXPECT_TRUE(Printed("Find Measure Cnt Fail")) << console_;
    EXPECT_TRUE(job.measureCntLimitReached);
    EXPECT_EQ(C().Hw().TuningRecordField(0, 0, 3), count);
}

}  // namespace
