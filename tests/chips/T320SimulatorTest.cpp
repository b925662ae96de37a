// The T320 chip model against the simulated K7P128 controller: presets and register writes reach
// the chips and read back, and what the chips then measure comes out of the data reads in the
// right order and scale.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "SimulatedController.h"

namespace {

class T320SimulatorTest : public testing::Test, protected SimulatedController {
  protected:
    void SetUp() override { Open("K7P128", 96); }
    void TearDown() override { Close(); }

    std::vector<uint16_t> Line(int scanType, int channels) {
        std::vector<uint8_t> out(510, 0);
        EXPECT_TRUE(chip_->ReadAxisLine(scanType, out));
        std::vector<uint16_t> words;
        for (int k = 0; k < channels; ++k) {
            words.push_back(static_cast<uint16_t>(out[2 * static_cast<std::size_t>(k)] |
                                                  out[2 * static_cast<std::size_t>(k) + 1] << 8));
        }
        return words;
    }
};

// Two calibration readings, at the high and low sine offsets, span CalScale counts on a chip whose
// calibration value is 100.
TEST_F(T320SimulatorTest, CalibrationReadingsGiveTheChipsCalibrationValue) {
    ASSERT_TRUE(chip_->EnterCalMode(image_));
    uint16_t high = 0, low = 0;
    ASSERT_TRUE(chip_->WriteSinOffset(CSlave::kAllChips, image_, chip_->GetCalInputHigh()));
    ASSERT_TRUE(Api().SetTestMode(255, 255));
    ASSERT_TRUE(chip_->ReadCalSample(0, high));
    ASSERT_TRUE(chip_->WriteSinOffset(CSlave::kAllChips, image_, chip_->GetCalInputLow()));
    ASSERT_TRUE(Api().SetTestMode(255, 255));
    ASSERT_TRUE(chip_->ReadCalSample(0, low));
    ASSERT_GT(high, low);
    EXPECT_EQ(chip_->GetCalScale() * 100 / (high - low), 100);
}

// The chip keeps Tx values from its last channel down, high byte first; the line the builder
// reads is ascending, so an open Tx line near the start shows where it is, and the others are
// plausible values rather than byte-swapped ones.
TEST(T320SimulatorOrderTest, TxAxisLineComesOutInChannelOrder) {
    const testsupport::ScratchFolder folder("t320");
    const std::string profile = (folder / "open-tx3.profile").string();
    std::ofstream(profile) << "model = K7P128\nopen_tx = 3\n";
    struct Fixture : SimulatedController {
        ~Fixture() { Close(); }
        void Run(const std::string& path) {
            Open(path, 96);
            if (testing::Test::HasFatalFailure()) return;
            chip_->BuildModeImage(CSlave::kGroupWLTx, image_);
            ASSERT_TRUE(chip_->EnterSignalTestMode(image_, CSlave::kScanWLTx));
            ASSERT_TRUE(Api().SetTestMode(1, 255));
            ASSERT_TRUE(Api().SetTestMode(255, 255));
            std::vector<uint8_t> out(510, 0);
            ASSERT_TRUE(chip_->ReadAxisLine(CSlave::kScanWLTx, out));
            for (int k = 0; k < 64; ++k) {
                const int v = out[2 * static_cast<std::size_t>(k)] |
                              out[2 * static_cast<std::size_t>(k) + 1] << 8;
                if (k == 3) {
                    EXPECT_LT(v, 20) << "the open line";
                } else {
                    EXPECT_GT(v, 100) << k;
                    EXPECT_LT(v, 4000) << k;  // a byte-swapped value would be far larger
                }
            }
        }
    } fixture;
    fixture.Run(profile);
}

TEST_F(T320SimulatorTest, SignalIsLinearInTheMeasureCountAndHalvedPerScalingStep) {
    chip_->BuildDefaultImage(image_);
    ASSERT_TRUE(chip_->EnterSignalTestMode(image_, CSlave::kScanImage));
    ASSERT_TRUE(Api().SetTestMode(255, 255));
    const std::vector<uint16_t> base = Line(CSlave::kScanImage, 112);

    ASSERT_TRUE(chip_->WriteMeasureCnt(CSlave::kAllChips, image_, 60));
    ASSERT_TRUE(Api().SetTestMode(255, 255));
    const std::vector<uint16_t> twice = Line(CSlave::kScanImage, 112);

    ASSERT_TRUE(chip_->WriteScaling(CSlave::kAllChips, image_, chip_->GetScaling(image_) + 1));
    ASSERT_TRUE(Api().SetTestMode(255, 255));
    const std::vector<uint16_t> halved = Line(CSlave::kScanImage, 112);
    for (std::size_t k = 0; k < base.size(); k += 37) {
        EXPECT_GT(base[k], 100);
        // Within the noise floor: 0.15 % of the value plus a count, well under 2 %.
        EXPECT_NEAR(twice[k], 2 * base[k], 0.02 * 2 * base[k]) << k;
        EXPECT_NEAR(halved[k], base[k], 0.02 * base[k]) << k;
    }
}

TEST_F(T320SimulatorTest, NoisePresetMeasuresOnlyTheFloor) {
    ASSERT_TRUE(chip_->EnterNoiseScanMode(image_));
    ASSERT_TRUE(Api().SetTestMode(255, 255));
    for (uint16_t v : Line(CSlave::kScanNoise, 112)) {
        EXPECT_GE(v, 5);
        EXPECT_LE(v, 15);
    }
}

TEST_F(T320SimulatorTest, SineTableAndImageReadBack) {
    chip_->BuildModeImage(CSlave::kGroupImg, image_);
    ASSERT_TRUE(chip_->WriteImage(CSlave::kAllChips, image_));
    ASSERT_TRUE(chip_->WriteSinTable(image_));
    std::array<uint8_t, 111> table{};
    ASSERT_TRUE(Api().ReadRegisters(0, 0, CSlave::kSinTableFirstReg, 111, table.data()));
    std::array<uint8_t, 112> expected{};
    ASSERT_TRUE(chip_->BuildSinTable(image_, expected));
    EXPECT_TRUE(std::equal(table.begin(), table.end(), expected.begin()));
    Image back{};
    EXPECT_TRUE(chip_->ReadImage(0, back));
    EXPECT_EQ(back, image_);
}

}  // namespace
