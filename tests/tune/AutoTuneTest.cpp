// The auto-tuning and touch adjustment steps in the cases the commands' runs do not reach: no
// tuning item, the gain E of a record whose target repeats the previous one, and the candidate
// list that is too long to spread.
#include <gtest/gtest.h>

#include <string>

#include "TuneFixture.h"
#include "chips/CSlave.h"
#include "params/CParam_HW.h"
#include "params/HwLayout.h"
#include "tune/AutoTune.h"
#include "tune/TouchAdjust.h"

namespace {

class AutoTuneTest : public testing::Test, protected TuneFixture {
  protected:
    void SetUp() override { Open("K7P100", 94); }
    void TearDown() override { Close(); }

    std::array<uint8_t, CParam_HW::kImageLength> Image() {
        std::array<uint8_t, CParam_HW::kImageLength> copy{};
        std::copy_n(C().Hw().Image(), copy.size(), copy.begin());
        return copy;
    }
};

// Without a tuning item both steps leave the set alone: auto-tuning says why, the touch
// adjustment has nothing to do and nothing to store.
TEST_F(AutoTuneTest, NoTuningItemChangesNothing) {
    LoadSettings("[---Image Parameter]\nEnableImageTune = 0\n");
    const auto before = Image();
    const std::string traceBefore = Trace();
    EXPECT_FALSE(Logged([&] { return AutoTune(C()); }));
    EXPECT_TRUE(Printed("Please Set Tuning Item in Ini File")) << console_;
    EXPECT_TRUE(Logged([&] { return AdjustTouchScreen(C()); }));
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(Trace(), traceBefore) << "nothing was sent to the controller";
}

// Gain E is measured with each record moved one Tx line towards the previous target; where two
// targets are the same line (d = 1) the record takes the previous record's settings, and every
// record gets its own settings back afterwards.
TEST_F(AutoTuneTest, GainEMeasuresTowardsThePreviousTargetAndRestoresTheRecords) {
    LoadSettings(ImageSettings(1, 1, "WorkingFreq0 = 9\n"));
    TuneJob job = ImageJob();
    ASSERT_TRUE(Logged([&] { return AdjustFreqAndGain(C(), job) && AdjustDelay(C(), job); }));
    ASSERT_TRUE(Logged([&] { return AdjustScalingAndMeasureCnt(C(), job, ScalingMode::kSearch); }));
    CParam_HW& hw = C().Hw();
    // Targets 0 and 1 on the same line; record 1's own settings far from record 0's.
    hw.SetByte(hw::kPhaseTarget + 1, hw.PhaseTarget(0));
    hw.SetTuningRecordField(0, 1, hw::record::kAFEGain, 29);
    hw.SetTuningRecordField(0, 1, hw::record::kRS, 1);
    const auto before = Image();
    ASSERT_TRUE(Logged([&] { return AdjustImgGainE(C(), job); })) << console_;
    // Measured at record 0's settings on record 0's line, record 1 needs record 0's count.
    EXPECT_NEAR(hw.TuningRecordField(0, 1, hw::record::kGainE),
                hw.TuningRecordField(0, 0, hw::record::kMeasureCnt), 1);
    EXPECT_EQ(hw.TuningRecordField(0, 1, hw::record::kAFEGain), 29);
    EXPECT_EQ(hw.TuningRecordField(0, 1, hw::record::kRS), 1);
    for (int k = 0; k < 10; ++k) {
        for (int field :
             {hw::record::kDelay, hw::record::kRS, hw::record::kAFEGain, hw::record::kMeasureCnt})
            EXPECT_EQ(hw.TuningRecordField(0, k, field), before[hw::TuningRecord(0, k) + field]);
    }
}

TEST_F(AutoTuneTest, FiveOrMoreCandidatesAreNotSpread) {
    // No "WorkingFreq%d" entry: the whole frequency table is the list.
    LoadSettings("[Tuning Parameter]\nNumsOfFreq = 1\n");
    const auto before = Image();
    SpreadCandidateFrequencies(C());
    EXPECT_EQ(Image(), before);
}

}  // namespace
