// The T3300 operations that reach the chips, against the scripted fake device: the writes that
// keep the second register set in step, and the measurement presets field by field.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "FakeController.h"
#include "chips/CSlave.h"
#include "chips/t3300/T3300Map.h"
#include "params/CParam_HW.h"

namespace {

using Image = std::array<uint8_t, 68>;

const chipmap::ChipProfile& Map() {
    return Slave_T3300::T3300Profile();
}

class T3300DeviceTest : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        chip_ = &Build(166).Chip();
        chip_->BuildDefaultImage(image_);
    }

    std::vector<std::string> Calls(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& call : device_.calls) {
            if (call.rfind(prefix, 0) == 0) found.push_back(call);
        }
        return found;
    }
    static std::string Write(int chip, int reg, int count = 1) {
        return "writeRegisters chip=" + std::to_string(chip) +
               " bank=0 first=" + std::to_string(reg) + " count=" + std::to_string(count);
    }
    static int32_t Value(const Image& image, std::string_view suffix) {
        const int index = chipmap::FieldIndex(Map(), suffix);
        EXPECT_GE(index, 0) << suffix;
        return index < 0
                   ? -1
                   : chipmap::DecodeField(Map().fields[static_cast<std::size_t>(index)], image);
    }

    CSlave* chip_ = nullptr;
    Image image_{};
};

TEST_F(T3300DeviceTest, AfeGainAndRsWritesKeepTheSecondCopyInStep) {
    EXPECT_TRUE(chip_->WriteAfeGain(1, image_, 20));
    EXPECT_EQ(Calls("writeRegisters"),
              (std::vector<std::string>{Write(1, 6), Write(1, 5), Write(1, 31), Write(1, 32)}));
    EXPECT_EQ(Calls("readRegisters").size(), 4u);  // every register read back
    const auto& regs = device_.registers[1];
    EXPECT_EQ(regs[5] & 0x0F, 4);
    EXPECT_EQ(regs[6] & 0x80, 0x80);
    EXPECT_EQ(regs[31] & 0x0F, 4);
    EXPECT_EQ(regs[32] & 0x80, 0x80);
    EXPECT_EQ(Value(image_, "_SR3_99"), 20);
    EXPECT_EQ(device_.registers[0][31], 0);  // the other chip untouched

    device_.calls.clear();
    EXPECT_TRUE(chip_->WriteRs(CSlave::kAllChips, image_, 3));
    EXPECT_EQ(Calls("writeRegisters"), (std::vector<std::string>{Write(255, 5), Write(255, 31)}));
    EXPECT_EQ(image_[5], 0x34);
    EXPECT_EQ(image_[31], 0x34);
    EXPECT_EQ(device_.registers[0][31], 0x34);
}

TEST_F(T3300DeviceTest, AFailedWriteLeavesTheCopyUnwritten) {
    device_.writeFailuresLeft = 100;
    EXPECT_FALSE(chip_->WriteAfeGain(0, image_, 3));
    for (const std::string& call : Calls("writeRegisters")) EXPECT_EQ(call, Write(0, 6));
    EXPECT_EQ(chip_->GetAfeGain(image_), 3);
    EXPECT_EQ(Value(image_, "_SR3_99"), 20);

    device_.calls.clear();
    EXPECT_FALSE(chip_->WriteRs(0, image_, 3));
    for (const std::string& call : Calls("writeRegisters")) EXPECT_EQ(call, Write(0, 5));
}

// Every preset, field by field: the fields named here take these values, every other field
// keeps its default. -1: the caller's value.
TEST_F(T3300DeviceTest, PresetsSetExactlyTheirFields) {
    struct Row {
        const char* suffix;
        int cal, noise, gain, signal;
    };
    constexpr Row kRows[] = {
        {"_Pipeline", 0, 0, 0, 0},
        {"_WorkMode", 2, 1, 2, 1},
        {"_PeakNum", 1, 2, 2, 2},
        {"_PeakMode", 1, 1, 0, 1},
        {"_SWP", 0, 0, 0, 0},
        {"_SWN", 1, 0, 0, 0},
        {"_SR5", 2, 4, 3, 3},
        {"_WaveN", 63, 32, 30, 30},
        {"_Tskip", 3, 1, 1, 1},
        {"_SR3", 23, 15, 20, 20},
        {"_SRS", 1, 14, 7, 7},
        {"_Phase0", 10, 15, 15, 15},
        {"_Phase1", 31, 18, 18, 18},
        {"_ReadSel", 0, 3, 8, 0},
        {"_Rshift", 4, 1, 4, 4},
        {"_SIC", 0, 1, 1, 1},
        {"_DACOE", 0, 1, 1, 1},
        {"_CALOE", 1, 0, 0, 0},
        {"_SERI", 1, 0, 0, 0},
        {"_ID", 5, 8, 8, 8},
        {"_ST", 0, 4, 4, 4},
        {"_SinGenAMP", 0, 47, -1, -1},
        {"_SinGenEn", 1, 0, 0, 0},
        {"_SR3_99", 23, 20, 20, 20},
        {"_SRS_99", 1, 7, 7, 7},
        {"_SR5_99", 2, 4, 3, 3},
        {"_SWP_99", 0, 0, 0, 1},
        {"_SWN_99", 1, 0, 0, 1},
        {"_SWsame", 0, 0, 1, 1},
        {"_ID_99", 5, 8, 8, 8},
        {"_PWMdurationT0", 0, 23, 23, 23},
        {"_PWMdurationT1", 0, 23, 23, 23},
        {"_PWMdurationT2", 0, 23, 23, 23},
        {"_PWMdurationTn", 0, 23, 23, 23},
        {"_GAIN_H", 0, 21, -1, -1},
        {"_EN_HOP", 0, 1, 1, 1},
        {"_DACVB", 0, 78, 78, 78},
    };
    chip_->SetSinAmp(image_, 33);
    chip_->SetGainH(image_, 9);
    for (int preset = 0; preset < 4; ++preset) {
        Image image = image_;
        device_.calls.clear();
        bool ok = false;
        switch (preset) {
            case 0:
                ok = chip_->EnterCalMode(image);
                break;
            case 1:
                ok = chip_->EnterNoiseScanMode(image);
                break;
            case 2:
                ok = chip_->EnterGainTestMode(image, CSlave::kScanImage);
                break;
            default:
                ok = chip_->EnterSignalTestMode(image, CSlave::kScanImage);
                break;
        }
        ASSERT_TRUE(ok) << preset;
        EXPECT_EQ(Calls("writeRegisters"), (std::vector<std::string>{Write(255, 0, 68)})) << preset;
        EXPECT_TRUE(std::equal(image.begin(), image.end(), device_.registers[1].begin()));
        for (const chipmap::Field& field : Map().fields) {
            int32_t expected = field.def;
            for (const Row& row : kRows) {
                if (row.suffix != field.suffix) continue;
                const int values[] = {row.cal, row.noise, row.gain, row.signal};
                expected = values[preset];
                if (expected == -1) expected = field.suffix == "_GAIN_H" ? 9 : 33;
            }
            EXPECT_EQ(chipmap::DecodeField(field, image), expected)
                << "preset " << preset << field.suffix;
        }
    }
}

TEST_F(T3300DeviceTest, WaterLineTestPresetsSkipMoreAndScanEvenAndOddApart) {
    for (int scan : {CSlave::kScanWLRx, CSlave::kScanWLTx}) {
        Image gain = image_, signal = image_;
        ASSERT_TRUE(chip_->EnterGainTestMode(gain, scan));
        ASSERT_TRUE(chip_->EnterSignalTestMode(signal, scan));
        for (const Image* image : {&gain, &signal}) {
            EXPECT_EQ(Value(*image, "_Tskip"), 3) << scan;
            EXPECT_EQ(Value(*image, "_ScanEvenOdd"), 1) << scan;
            EXPECT_EQ(Value(*image, "_SWsame"), 1) << scan;
            // Only a water-line Tx scan reads the Tx axis, with the inputs of the WLTx image.
            EXPECT_EQ(chip_->GetRegBank(*image), scan == CSlave::kScanWLTx ? 3 : 0) << scan;
            EXPECT_EQ((*image)[11], scan == CSlave::kScanWLTx ? 0xCC : 0x01) << scan;
            EXPECT_EQ((*image)[22], scan == CSlave::kScanWLTx ? 0x02 : 0x04) << scan;
        }
    }
}

// On the K9P80 the first chip is the smaller variant: its channel k is read at k + 5, while the
// second chip's channels are read where they are.
TEST_F(T3300DeviceTest, OnlyTheFirstChipOfTheK9P80IsShifted) {
    CController& c = *controller_;
    for (int chip : {0, 1}) {
        for (int k = 0; k < 100; ++k) {
            device_.registers[static_cast<std::size_t>(chip)][static_cast<std::size_t>(2 * k)] =
                static_cast<uint8_t>(k + 100 * chip);
        }
    }
    c.Hw().SetByte(44, 2);
    c.Hw().SetByte(56, 0);
    c.Hw().SetByte(57, 79);
    c.Hw().SetByte(58, 1);
    c.Hw().SetByte(59, 99);
    EXPECT_EQ(chip_->GetFirstChipRxOffset(), 5);
    std::vector<uint8_t> out(400);
    ASSERT_TRUE(chip_->ReadAxisLine(CSlave::kScanImage, out));
    EXPECT_EQ(out[0], 5);          // chip 0 channel 0
    EXPECT_EQ(out[2 * 79], 84);    // chip 0 channel 79
    EXPECT_EQ(out[2 * 80], 101);   // chip 1 channel 1
    EXPECT_EQ(out[2 * 178], 199);  // chip 1 channel 99
}

}  // namespace
