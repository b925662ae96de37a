// The T320 chip operations that reach the chips, against the scripted fake device: which registers
// are written in which order and how, the presets, the sine table and the data reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "FakeController.h"
#include "chips/CSlave.h"
#include "params/CParam_HW.h"

namespace {

using Image = std::array<uint8_t, 68>;

class T320DeviceTest : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        controller_ptr_ = &Build(96);
        chip_ = &controller_ptr_->Chip();
        chip_->BuildDefaultImage(image_);
    }

    std::vector<std::string> Calls(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& call : device_.calls) {
            if (call.rfind(prefix, 0) == 0) found.push_back(call);
        }
        return found;
    }
    CParam_HW& Hw() { return controller_ptr_->Hw(); }
    void SetRanges(bool tx, int chips, std::vector<std::pair<int, int>> ranges) {
        Hw().SetByte(tx ? 45 : 44, static_cast<uint8_t>(chips));
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            Hw().SetByte((tx ? 48 : 56) + 2 * static_cast<int>(i),
                         static_cast<uint8_t>(ranges[i].first));
            Hw().SetByte((tx ? 49 : 57) + 2 * static_cast<int>(i),
                         static_cast<uint8_t>(ranges[i].second));
        }
    }
    static uint16_t Word(const std::vector<uint8_t>& out, int channel) {
        return static_cast<uint16_t>(out[2 * static_cast<std::size_t>(channel)] |
                                     out[2 * static_cast<std::size_t>(channel) + 1] << 8);
    }

    CController* controller_ptr_ = nullptr;
    CSlave* chip_ = nullptr;
    Image image_{};
};

TEST_F(T320DeviceTest, AfeGainWritesRegisterElevenThenSevenChecked) {
    EXPECT_TRUE(chip_->WriteAfeGain(0, image_, 20));
    EXPECT_EQ(Calls("writeRegisters"),
              (std::vector<std::string>{"writeRegisters chip=0 bank=0 first=11 count=1",
                                        "writeRegisters chip=0 bank=0 first=7 count=1"}));
    EXPECT_EQ(Calls("readRegisters").size(), 2u);  // each run read back
    EXPECT_EQ(device_.registers[0][11], 0x8F);
    EXPECT_EQ(device_.registers[0][7], 0x74);
}

TEST_F(T320DeviceTest, RegisterBankIsWrittenWithoutReadBack) {
    EXPECT_TRUE(chip_->SelectRegBank3(image_));
    EXPECT_EQ(Calls("writeRegisters"),
              (std::vector<std::string>{"writeRegisters chip=255 bank=0 first=14 count=1"}));
    EXPECT_TRUE(Calls("readRegisters").empty());
    EXPECT_EQ(image_[14], 0xC7);
}

TEST_F(T320DeviceTest, FailedWriteStopsAtThatRegisterAndKeepsTheImageChange) {
    device_.failing.insert("writeRegisters");
    EXPECT_FALSE(chip_->WriteAfeGain(1, image_, 17));
    for (const std::string& call : Calls("writeRegisters")) {
        EXPECT_EQ(call, "writeRegisters chip=1 bank=0 first=11 count=1");
    }
    EXPECT_EQ(chip_->GetAfeGain(image_), 17);
}

TEST_F(T320DeviceTest, SingleFieldWritesGoToTheirRegister) {
    struct Case {
        bool (CSlave::*write)(int, CSlave::Image, int);
        int value;
        int reg;
        uint8_t byte;  // on the default image
    };
    for (const Case& c :
         {Case{&CSlave::WriteSinOffset, 212, 25, 212}, Case{&CSlave::WritePhase1, 31, 12, 0xDF},
          Case{&CSlave::WriteRs, 3, 7, 0x34}, Case{&CSlave::WriteDelay, 9, 11, 0x89},
          Case{&CSlave::WriteMeasureCnt, 63, 3, 0x7F}, Case{&CSlave::WriteScaling, 2, 4, 0x20},
          Case{&CSlave::WriteDacVb, 0xFF, 66, 0x7F}, Case{&CSlave::WriteReadSel, 5, 4, 0x65},
          Case{&CSlave::WritePsample, 2, 12, 0x92}}) {
        Image image = image_;
        device_.calls.clear();
        EXPECT_TRUE((chip_->*c.write)(0, image, c.value));
        EXPECT_EQ(Calls("writeRegisters"),
                  (std::vector<std::string>{
                      "writeRegisters chip=0 bank=0 first=" + std::to_string(c.reg) + " count=1"}));
        EXPECT_EQ(image[static_cast<std::size_t>(c.reg)], c.byte) << c.reg;
        EXPECT_EQ(device_.registers[0][static_cast<std::size_t>(c.reg)], c.byte) << c.reg;
    }
}

TEST_F(T320DeviceTest, CalibrationPresetNeedsClockZero) {
    device_.failing.insert("setClock");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(chip_->EnterCalMode(image_));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Set Clk Fail"), std::string::npos);
    EXPECT_TRUE(Calls("writeRegisters").empty());

    device_.failing.clear();
    EXPECT_TRUE(chip_->EnterCalMode(image_));
    EXPECT_EQ(Calls("writeRegisters"),
              (std::vector<std::string>{"writeRegisters chip=255 bank=0 first=0 count=68"}));
    EXPECT_TRUE(std::equal(image_.begin(), image_.end(), device_.registers[0].begin()));
    EXPECT_EQ(image_[14] & 0x0B, 0x08);  // CALOE on, DACOE off, bank 0
    EXPECT_EQ(chip_->GetReadSel(image_), 0);
    EXPECT_EQ(chip_->GetSinTableLength(image_), 93);
    EXPECT_EQ(chip_->GetSinAmp(image_), 0);
}

TEST_F(T320DeviceTest, NoiseScanPresetGoesToTheFirstChipOnly) {
    EXPECT_TRUE(chip_->EnterNoiseScanMode(image_));
    EXPECT_EQ(Calls("writeRegisters"),
              (std::vector<std::string>{"writeRegisters chip=0 bank=0 first=0 count=68"}));
    EXPECT_EQ(chip_->GetReadSel(image_), 3);
    EXPECT_EQ(chip_->GetMeasureCnt(image_), 15);
    EXPECT_EQ(chip_->GetScaling(image_), 2);
    EXPECT_EQ(image_[14] & 0x04, 0);  // no drive
}

TEST_F(T320DeviceTest, TestPresetsKeepTheCallersDriveAndSelectTheTxAxis) {
    chip_->SetSinAmp(image_, 60);
    chip_->SetGainH(image_, 9);
    chip_->SetMeasureCnt(image_, 50);
    Image gain = image_;
    ASSERT_TRUE(chip_->EnterGainTestMode(gain, CSlave::kScanImage));
    EXPECT_EQ(chip_->GetSinAmp(gain), 60);
    EXPECT_EQ(chip_->GetGainH(gain), 9);
    EXPECT_EQ(chip_->GetMeasureCnt(gain), 15);  // the preset's, not the caller's
    EXPECT_EQ(chip_->GetReadSel(gain), 8);
    EXPECT_EQ(gain[1] & 3, 2);  // work mode
    EXPECT_EQ(gain[8], 0x08);

    Image signal = image_;
    ASSERT_TRUE(chip_->EnterSignalTestMode(signal, CSlave::kScanWLTx));
    EXPECT_EQ(signal[0] & 0x40, 0);  // Pipeline
    EXPECT_EQ(signal[14], 0x07);     // SWP, SWN off; DACOE on; bank 3
    EXPECT_EQ(signal[8], 0x23);      // Tx-axis inputs
    EXPECT_EQ(signal[22], 0x02);
    EXPECT_EQ(chip_->GetMeasureCnt(signal), 30);
    EXPECT_EQ(chip_->GetSinAmp(signal), 60);
    EXPECT_EQ(Calls("writeRegisters").back(), "writeRegisters chip=255 bank=0 first=0 count=68");
}

TEST_F(T320DeviceTest, SineTableTooLongIsWrittenFlat) {
    std::fill(device_.registers[0].begin() + 144, device_.registers[0].begin() + 255, 0x55);
    chip_->SetPhase1(image_, 40);  // 120 samples
    EXPECT_TRUE(chip_->WriteSinTable(image_));
    EXPECT_EQ(Calls("writeRegisters"),
              (std::vector<std::string>{"writeRegisters chip=255 bank=0 first=144 count=111"}));
    EXPECT_TRUE(std::all_of(device_.registers[0].begin() + 144, device_.registers[0].begin() + 255,
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(device_.registers[0][255], 0);

    chip_->SetPhase1(image_, 18);
    EXPECT_TRUE(chip_->WriteSinTable(image_));
    EXPECT_EQ(device_.registers[0][145], 2);
    EXPECT_EQ(device_.registers[0][144 + 27], 46);

    device_.failing.insert("writeRegisters");
    EXPECT_FALSE(chip_->WriteSinTable(image_));
}

// The chip keeps Tx values from channel 79 down, high byte first; the line comes out ascending
// and little-endian.
TEST_F(T320DeviceTest, TxLineIsReadInReverseByteOrder) {
    for (int k = 0; k < 80; ++k) {
        const uint16_t value = static_cast<uint16_t>(0x1000 + 3 * k);
        device_.registers[0][static_cast<std::size_t>(16 + 2 * (79 - k))] = uint8_t(value >> 8);
        device_.registers[0][static_cast<std::size_t>(17 + 2 * (79 - k))] = uint8_t(value);
    }
    SetRanges(true, 1, {{0, 79}});
    std::vector<uint8_t> out(320, 0xEE);
    ASSERT_TRUE(chip_->ReadAxisLine(CSlave::kScanWLTx, out));
    EXPECT_EQ(Calls("readRegisters"),
              (std::vector<std::string>{"readRegisters chip=0 bank=3 first=16 count=160"}));
    for (int k = 0; k < 80; ++k) EXPECT_EQ(Word(out, k), 0x1000 + 3 * k) << k;
    EXPECT_EQ(out[160], 0xEE);

    SetRanges(true, 1, {{10, 19}});
    ASSERT_TRUE(chip_->ReadAxisLine(CSlave::kScanWLTx, out));
    for (int k = 0; k < 10; ++k) EXPECT_EQ(Word(out, k), 0x1000 + 3 * (10 + k)) << k;
}

// Two chips of 128 Rx channels are 256 channels; the chip's maximum is 255, and the buffer sized
// for it is never overrun: the 256th channel is dropped.
TEST_F(T320DeviceTest, RxLineOfTwoFullChipsStopsAtTheBufferEnd) {
    for (int chip = 0; chip < 2; ++chip) {
        for (int k = 0; k < 128; ++k) {
            device_
                .registers[static_cast<std::size_t>(chip)][static_cast<std::size_t>(16 + 2 * k)] =
                static_cast<uint8_t>(k);
            device_
                .registers[static_cast<std::size_t>(chip)][static_cast<std::size_t>(17 + 2 * k)] =
                static_cast<uint8_t>(chip + 1);
        }
    }
    SetRanges(false, 2, {{0, 127}, {0, 127}});
    std::vector<uint8_t> storage(520, 0xEE);
    std::span<uint8_t> out(storage.data(), 510);
    ASSERT_TRUE(chip_->ReadAxisLine(CSlave::kScanNoise, out));
    EXPECT_EQ(Word(storage, 0), 0x0100);
    EXPECT_EQ(Word(storage, 127), 0x0100 + 127);
    EXPECT_EQ(Word(storage, 128), 0x0200);
    EXPECT_EQ(Word(storage, 254), 0x0200 + 126);
    EXPECT_TRUE(
        std::all_of(storage.begin() + 510, storage.end(), [](uint8_t b) { return b == 0xEE; }));
}

TEST_F(T320DeviceTest, AxisLineRefusesRangesOutsideTheChipsData) {
    struct Case {
        bool tx;
        int start, end;
    };
    for (const Case& c : {Case{false, 10, 5}, Case{false, 0, 128}, Case{false, 200, 255},
                          Case{true, 0, 80}, Case{true, 50, 40}}) {
        SetRanges(c.tx, 1, {{c.start, c.end}});
        std::vector<uint8_t> out(512);
        EXPECT_FALSE(chip_->ReadAxisLine(c.tx ? CSlave::kScanWLTx : CSlave::kScanImage, out))
            << c.start << ".." << c.end;
    }
    // A buffer shorter than the chip's largest line is refused before any read.
    SetRanges(false, 1, {{0, 9}});
    device_.calls.clear();
    std::vector<uint8_t> small(509);
    EXPECT_FALSE(chip_->ReadAxisLine(CSlave::kScanImage, small));
    EXPECT_TRUE(Calls("readRegisters").empty());
}

TEST_F(T320DeviceTest, AxisLineFailsWhenAChipCannotBeRead) {
    SetRanges(false, 1, {{0, 9}});
    device_.failing.insert("readRegisters");
    std::vector<uint8_t> out(510);
    EXPECT_FALSE(chip_->ReadAxisLine(CSlave::kScanImage, out));
}

TEST_F(T320DeviceTest, ChipCountFromADamagedImageIsBounded) {
    SetRanges(false, 0xFF, {{0, 50}, {0, 50}, {0, 50}, {0, 50}});
    std::vector<uint8_t> out(510);
    EXPECT_TRUE(chip_->ReadAxisLine(CSlave::kScanImage, out));
    EXPECT_EQ(Calls("readRegisters").size(), 4u);
}

TEST_F(T320DeviceTest, CalibrationSampleIsTheLastWordOfTheRxBlock) {
    device_.registers[1][270] = 0x34;
    device_.registers[1][271] = 0x12;
    uint16_t sample = 0;
    ASSERT_TRUE(chip_->ReadCalSample(1, sample));
    EXPECT_EQ(sample, 0x1234);
    EXPECT_EQ(Calls("readRegisters"),
              (std::vector<std::string>{"readRegisters chip=1 bank=2 first=16 count=256"}));
    device_.failing.insert("readRegisters");
    EXPECT_FALSE(chip_->ReadCalSample(1, sample));
}

TEST_F(T320DeviceTest, RxPairsTakeBothValuesOfTheActiveChannels) {
    SetRanges(false, 1, {{2, 4}});
    for (int k = 0; k < 128; ++k) {
        device_.registers[0][static_cast<std::size_t>(16 + 4 * k)] = static_cast<uint8_t>(k);
        device_.registers[0][static_cast<std::size_t>(18 + 4 * k)] = static_cast<uint8_t>(100 + k);
    }
    std::vector<uint16_t> first, second;
    EXPECT_EQ(chip_->ReadRxPairs(first, second), 0);
    EXPECT_EQ(first, (std::vector<uint16_t>{2, 3, 4}));
    EXPECT_EQ(second, (std::vector<uint16_t>{102, 103, 104}));
}

}  // namespace
