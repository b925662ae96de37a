// The noise scan's maximum table: which readings replace a cell and what the cell then holds.
#include "tune/NoiseMaxima.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Two chips of three channels each: chip 0 at the reference, chip 1 as given.
NoiseCalibration TwoChips(int secondChipValue, int reference = 100) {
    NoiseCalibration c;
    c.chipOfChannel = {0, 0, 0, 1, 1, 1};
    c.values = {100, secondChipValue, 100, 100};
    c.reference = reference;
    return c;
}

struct CellCase {
    const char* name;
    int secondChip;                           // calibration value of chip 1
    std::vector<std::vector<int16_t>> lines;  // read one after another into one cell
    int16_t expected;
};

class NoiseCellTest : public testing::TestWithParam<CellCase> {};

TEST_P(NoiseCellTest, CellAfterTheLines) {
    const CellCase& c = GetParam();
    NoiseMaxima spectrum(2, 3, TwoChips(c.secondChip));
    for (const auto& line : c.lines) spectrum.Update(1, 2, line);
    EXPECT_EQ(spectrum.At(1, 2), c.expected);
    EXPECT_EQ(spectrum.At(0, 2), 0) << "another cell changed";
}

INSTANTIATE_TEST_SUITE_P(
    Readings, NoiseCellTest,
    testing::Values(
        CellCase{"OnlyNegativeReadingsLeaveZero", 100, {{-5, -1, -300, -2, -7, -9}}, 0},
        CellCase{"LargestReadingOfTheLine", 100, {{3, 40, 12, 7, 39, 1}}, 40},
        CellCase{"MaximumKeptOverPasses", 100, {{3, 40, 12, 0, 0, 0}, {1, 2, 3, 4, 5, 6}}, 40},
        CellCase{"ChipCalibrationScalesTheStoredValue", 125, {{0, 0, 0, 0, 80, 0}}, 100},
        // The raw reading decides: 90 raw beats the stored 75, and stores 90 x 80 / 100 = 72.
        CellCase{"CalibrationBelowReferenceCanLowerTheCell",
                 80,
                 {{75, 0, 0, 0, 0, 0}, {0, 0, 0, 90, 0, 0}},
                 72},
        CellCase{"TruncatedTowardZero", 33, {{0, 0, 0, 10, 0, 0}}, 3},
        // 255 x 32767 / 100 does not fit 16 bits.
        CellCase{"LargeCalibratedValueSaturates", 255, {{0, 0, 0, 32767, 0, 0}}, 32767}),
    [](const testing::TestParamInfo<CellCase>& info) { return std::string(info.param.name); });

TEST(NoiseMaxima, ReadsOnlyTheChannelsThatCount) {
    // Six channels count; the seventh value of the line is past the controller's Rx count.
    NoiseMaxima spectrum(1, 1, TwoChips(100));
    EXPECT_EQ(spectrum.Update(0, 0, std::vector<int16_t>{1, 2, 3, 4, 5, 6, 900}), 6);
    // A line shorter than the channel count is read as far as it goes.
    EXPECT_EQ(spectrum.Update(0, 0, std::vector<int16_t>{9}), 9);
}

TEST(NoiseMaxima, ChipIndexOutsideTheCalibrationTableUsesTheNearestChip) {
    NoiseCalibration c;
    c.chipOfChannel = {7, -1};
    c.values = {50, 100, 100, 200};
    c.reference = 100;
    NoiseMaxima spectrum(1, 1, c);
    EXPECT_EQ(spectrum.Update(0, 0, std::vector<int16_t>{10, 0}), 20);
    NoiseMaxima other(1, 1, c);
    EXPECT_EQ(other.Update(0, 0, std::vector<int16_t>{0, 10}), 5);
}

TEST(NoiseMaxima, NoReferenceKeepsTheRawReading) {
    NoiseMaxima spectrum(1, 1, TwoChips(75, 0));
    EXPECT_EQ(spectrum.Update(0, 0, std::vector<int16_t>{0, 0, 0, 40, 0, 0}), 40);
}

TEST(NoiseMaxima, SettingOutsideTheTableChangesNothing) {
    NoiseMaxima spectrum(2, 3, TwoChips(100));
    const std::vector<int16_t> line{50, 0, 0, 0, 0, 0};
    EXPECT_EQ(spectrum.Update(2, 0, line), 0);
    EXPECT_EQ(spectrum.Update(0, 3, line), 0);
    EXPECT_EQ(spectrum.Update(-1, 0, line), 0);
    for (int row = 0; row < 2; ++row)
        for (int cell = 0; cell < 3; ++cell) EXPECT_EQ(spectrum.At(row, cell), 0);
}

}  // namespace
