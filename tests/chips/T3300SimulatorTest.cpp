// The T3300 chip model against the simulated T3300 controllers: the factory's mode images are the
// chip model's group images, and the presets and writes configure chips that measure as the
// registers say.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "SimModels.h"
#include "SimulatedController.h"
#include "params/CParam_HW.h"

namespace {

using testsupport::OnChip;
using testsupport::SimModelsWhere;
using testsupport::TestName;

class T3300SimulatorTest : public testing::TestWithParam<testsupport::SimModel>,
                           protected SimulatedController {
  protected:
    void SetUp() override { Open(GetParam().name, GetParam().typeCode); }
    void TearDown() override { Close(); }
};

// The factory runs every frequency's images at that frequency's prescaler; its FREQCTRL byte puts
// both water-line images in low-gain mode, which their group images already are.
TEST_P(T3300SimulatorTest, FactoryModeImagesAreTheChipsGroupImages) {
    CParam_HW& hw = controller_->Hw();
    ASSERT_GE(hw.NumsOfFreq(), 1);
    for (int f = 0; f < std::min<int>(hw.NumsOfFreq(), 5); ++f) {
        for (int m = 0; m < 6; ++m) {
            Image expected{};
            chip_->BuildModeImage(m, expected);
            chip_->ApplyPreScaler(expected, hw.GetPreScaler(f));
            const std::span<uint8_t> factory = hw.ModeImage(f, m);
            ASSERT_EQ(factory.size(), expected.size());
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), factory.begin()))
                << "frequency " << f << " group " << m;
        }
    }
}

TEST_P(T3300SimulatorTest, CalibrationReadingsGiveTheChipsCalibrationValue) {
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

// A checked AFE gain write reaches both register sets of every chip; a higher gain gives a
// smaller signal on every channel of the line.
TEST_P(T3300SimulatorTest, AfeGainWriteReachesBothSetsAndTheSignal) {
    chip_->BuildModeImage(CSlave::kGroupImg, image_);
    ASSERT_TRUE(chip_->EnterSignalTestMode(image_, CSlave::kScanImage));
    ASSERT_TRUE(controller_->Api().SetTestMode(255, 255));
    std::vector<uint8_t> before(400), after(400);
    ASSERT_TRUE(chip_->ReadAxisLine(CSlave::kScanImage, before));

    ASSERT_TRUE(chip_->WriteAfeGain(CSlave::kAllChips, image_, 26));
    Image back{};
    ASSERT_TRUE(chip_->ReadImage(0, back));
    EXPECT_EQ(back, image_);
    EXPECT_EQ(back[31] & 0x0F, 26 & 0x0F);
    EXPECT_EQ(back[32] & 0x80, 0x80);
    ASSERT_TRUE(controller_->Api().SetTestMode(255, 255));
    ASSERT_TRUE(chip_->ReadAxisLine(CSlave::kScanImage, after));
    for (std::size_t k = 0; k + 1 < 2 * 40; k += 2) {
        const int was = before[k] | before[k + 1] << 8;
        const int now = after[k] | after[k + 1] << 8;
        EXPECT_GT(was, 0) << k / 2;
        EXPECT_LT(now, was) << k / 2;
    }
}

INSTANTIATE_TEST_SUITE_P(Models, T3300SimulatorTest,
                         testing::ValuesIn(SimModelsWhere(OnChip(sim::ChipModel::T3300))),
                         [](const auto& info) { return TestName(info.param); });

}  // namespace
