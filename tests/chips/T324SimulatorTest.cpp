// The T324 chip model against the simulated K7P84: the factory's mode and stylus images are the
// chip model's group images, whole-image writes leave the chip's status and version registers
// alone, and a calibration reading gives the chip's calibration value.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "SimulatedController.h"
#include "params/CParam_HW.h"
#include "params/CParam_Pen.h"

namespace {

class T324SimulatorTest : public testing::Test, protected SimulatedController {
  protected:
    void SetUp() override { Open("K7P84", 176); }
    void TearDown() override { Close(); }
};

// The factory runs its water-line images with ADC gain code 2, the lowest the files accept.
TEST_F(T324SimulatorTest, FactoryImagesAreTheChipsGroupImages) {
    CParam_HW& hw = controller_->Hw();
    for (int f = 0; f < std::min<int>(hw.NumsOfFreq(), 5); ++f) {
        for (int m = 0; m < 6; ++m) {
            Image expected{};
            chip_->BuildModeImage(m, expected);
            chip_->ApplyPreScaler(expected, hw.GetPreScaler(f));
            if (m == CSlave::kGroupWLRx || m == CSlave::kGroupWLTx) chip_->SetAdcGain(expected, 2);
            const std::span<uint8_t> factory = hw.ModeImage(f, m);
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), factory.begin()))
                << "frequency " << f << " group " << m;
        }
    }
    CParam_Pen& pen = controller_->Pen();
    ASSERT_TRUE(pen.IsDumped());
    for (int f = 0; f < pen.FrequenciesBound(); ++f) {
        for (int g = 0; g < 5; ++g) {
            Image expected{};
            chip_->BuildPenImage(g, expected);
            chip_->ApplyPreScaler(expected, pen.GetPreScaler(f));
            const std::span<uint8_t> factory = pen.ModeImage(f, g);
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), factory.begin()))
                << "frequency " << f << " stylus group " << g;
        }
    }
}

TEST_F(T324SimulatorTest, ImageWritesLeaveTheStatusAndVersionRegisters) {
    Image before{};
    ASSERT_TRUE(chip_->ReadImage(0, before));
    chip_->BuildModeImage(CSlave::kGroupWLTx, image_);
    ASSERT_TRUE(chip_->EnterGainTestMode(image_, CSlave::kScanWLTx));
    Image back{};
    ASSERT_TRUE(chip_->ReadImage(0, back));
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 3, back.begin()));
    EXPECT_TRUE(std::equal(image_.begin() + 3, image_.begin() + 56, back.begin() + 3));
    ASSERT_TRUE(chip_->WriteDacVb(CSlave::kAllChips, image_, 0x2FF));
    ASSERT_TRUE(chip_->ReadImage(0, back));
    EXPECT_EQ(back[23], 0xFF);
    EXPECT_EQ(back[24] & 0x0F, 0x02);
}

TEST_F(T324SimulatorTest, CalibrationReadingsGiveTheChipsCalibrationValue) {
    ASSERT_TRUE(chip_->EnterCalMode(image_));
    uint16_t high = 0, low = 0;
    ASSERT_TRUE(chip_->WriteSinOffset(CSlave::kAllChips, image_, chip_->GetCalInputHigh()));
    ASSERT_TRUE(controller_->Api().SetTestMode(255, 255));
    ASSERT_TRUE(chip_->ReadCalSample(0, high));
    ASSERT_TRUE(chip_->WriteSinOffset(CSlave::kAllChips, image_, chip_->GetCalInputLow()));
    ASSERT_TRUE(controller_->Api().SetTestMode(255, 255));
    ASSERT_TRUE(chip_->ReadCalSample(0, low));
    ASSERT_GT(high, low);
    EXPECT_EQ(chip_->GetCalScale() * 100 / (high - low), 100);
}

}  // namespace
