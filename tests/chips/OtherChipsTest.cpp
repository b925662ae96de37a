// What the chips do without a register map behind it: the T324's missing sine generator and
// register banks, the constant tables, the channel layouts and the T3300's first-chip offset.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <vector>

#include "FakeController.h"
#include "chips/CSlave.h"
#include "files/CParamFile.h"
#include "params/CParam_HW.h"

namespace {

using Image = std::array<uint8_t, 68>;

class OtherChipsTest : public FakeControllerTest {
  protected:
    std::vector<std::string> Calls(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& call : device_.calls) {
            if (call.rfind(prefix, 0) == 0) found.push_back(call);
        }
        return found;
    }
};

TEST_F(OtherChipsTest, T324HasNoSineGeneratorAndNoRegisterBank) {
    CSlave& chip = Build(176).Chip();
    Image image{};
    image.fill(0x5A);
    chip.SetSinAmp(image, 40);
    EXPECT_EQ(chip.GetSinAmp(image), 10);
    EXPECT_TRUE(chip.WriteSinTable(image));
    EXPECT_TRUE(chip.WriteRegBank(0, image, 3));
    EXPECT_TRUE(chip.SelectRegBank3(image));
    EXPECT_TRUE(Calls("writeRegisters").empty());
    EXPECT_TRUE(Calls("readRegisters").empty());
    EXPECT_EQ(std::count(image.begin(), image.end(), 0x5A), 68);
}

// The image write sends the chip's 56 registers; the command interface leaves out the
// read-only registers 0-2.
TEST_F(OtherChipsTest, T324ImageWriteStaysInsideTheChipsRegisters) {
    CSlave& chip = Build(176).Chip();
    Image image{};
    EXPECT_TRUE(chip.WriteImage(0, image));
    EXPECT_EQ(Calls("writeRegisters"),
              (std::vector<std::string>{"writeRegisters chip=0 bank=0 first=3 count=53"}));
}

TEST_F(OtherChipsTest, ConstantTablesPerChip) {
    struct Case {
        int typeCode;
        std::array<uint8_t, 8> r5;
        uint8_t r3;
        std::array<uint8_t, 6> imgTuning;
        int factor6;
    };
    for (const Case& c : {Case{176, {8, 8, 8, 8, 8, 8, 8, 8}, 8, {15, 1, 20, 30, 0, 0}, 26},
                          Case{94, {3, 5, 12, 12, 12, 12, 12, 12}, 5, {15, 7, 20, 30, 0, 0}, 26},
                          Case{160, {0, 0, 4, 4, 4, 4, 4, 4}, 12, {15, 7, 20, 30, 0, 0}, 24}}) {
        CSlave& chip = Build(c.typeCode).Chip();
        std::array<uint8_t, 8> r5{};
        std::array<uint8_t, 32> r3{};
        std::array<uint8_t, 6> record{};
        chip.GetDefaultIdTableR5(r5);
        chip.GetDefaultIdTableR3(r3);
        chip.GetDefaultImgTuning(record);
        EXPECT_EQ(r5, c.r5) << c.typeCode;
        EXPECT_EQ(std::count(r3.begin(), r3.end(), c.r3), 32) << c.typeCode;
        EXPECT_EQ(record, c.imgTuning) << c.typeCode;
        EXPECT_EQ(chip.GetAdcGainFactor(6), c.factor6) << c.typeCode;
        EXPECT_EQ(chip.GetAdcGainFactor(9), 1) << c.typeCode;
    }
}

TEST_F(OtherChipsTest, DefaultRangesFollowTheChipsChannels) {
    struct Case {
        int typeCode, chip;
        std::array<uint8_t, 2> tx, rx;
    };
    for (const Case& c : {Case{176, 0, {0, 47}, {0, 83}}, Case{94, 1, {0, 63}, {1, 99}},
                          Case{158, 0, {0, 55}, {0, 79}}, Case{166, 0, {0, 55}, {0, 79}},
                          Case{166, 1, {0, 63}, {1, 99}}}) {
        CSlave& chip = Build(c.typeCode).Chip();
        std::array<uint8_t, 2> tx{}, rx{};
        chip.GetDefaultTxRange(tx, c.chip);
        chip.GetDefaultRxRange(rx, c.chip);
        EXPECT_EQ(tx, c.tx) << c.typeCode << " chip " << c.chip;
        EXPECT_EQ(rx, c.rx) << c.typeCode << " chip " << c.chip;
    }
}

// On the smaller T3300 variant the first chip's channel k lives at position k + 5 of its data.
TEST_F(OtherChipsTest, T3300FirstChipOffsetShiftsTheRxRun) {
    CController& c = Build(158);
    for (int k = 0; k < 100; ++k) {
        device_.registers[0][static_cast<std::size_t>(2 * k)] = static_cast<uint8_t>(k);
        device_.registers[0][static_cast<std::size_t>(2 * k + 1)] = 0;
    }
    c.Hw().SetByte(44, 1);
    c.Hw().SetByte(56, 0);
    c.Hw().SetByte(57, 79);
    std::vector<uint8_t> out(400);
    ASSERT_TRUE(c.Chip().ReadAxisLine(CSlave::kScanImage, out));
    EXPECT_EQ(Calls("readRegisters"),
              (std::vector<std::string>{"readRegisters chip=0 bank=2 first=0 count=200"}));
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[2 * 79], 84);

    // 79 + 5 is past the 100 channels' data only when the range is: 95 + 5 is not.
    c.Hw().SetByte(57, 95);
    EXPECT_FALSE(c.Chip().ReadAxisLine(CSlave::kScanImage, out));
}

}  // namespace
