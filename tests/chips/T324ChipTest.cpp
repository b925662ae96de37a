// The T324's register map in memory, in the register files and on the chip: the default and group
// images byte for byte, the fields spread over two registers, the bit that always reads 0, the
// stylus group images, the tuning items the chip writes and reads, and its preset writes.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>
#include <vector>

#include "FakeController.h"
#include "chips/CSlave.h"
#include "chips/t324/T324Map.h"
#include "files/CParamFile.h"

namespace {

using Image = std::array<uint8_t, 68>;
using Writes = std::vector<std::pair<int, uint8_t>>;

const chipmap::ChipProfile& Map() {
    return Slave_T324::T324Profile();
}

// The chip's power-on register contents, register 0 first; bytes 56-67 lie outside the chip.
constexpr Image kDefaultImage = {
    0x00, 0x00, 0x00, 0x00, 0x77, 0x1D, 0x74, 0x1E, 0x0F, 0x40, 0x13, 0x19, 0x72, 0x00,
    0x54, 0x00, 0x54, 0x01, 0x04, 0x88, 0xB1, 0x00, 0xD7, 0x3A, 0x02, 0x00, 0xAF, 0x1A,
    0x0A, 0x00, 0x00, 0x00, 0x88, 0x00, 0x00, 0x28, 0x6C, 0xE0, 0x0A, 0x07, 0x44, 0xD7,
    0x00, 0x00, 0x17, 0x17, 0x17, 0x17, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x47, 0x47,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

Image With(const Writes& writes) {
    Image image = kDefaultImage;
    for (const auto& [reg, value] : writes) image[static_cast<std::size_t>(reg)] = value;
    return image;
}

std::string Hex(const Image& image) {
    std::ostringstream out;
    for (uint8_t b : image) out << std::hex << int{b} << ' ';
    return out.str();
}

int32_t FieldOf(const Image& image, std::string_view suffix) {
    const int index = chipmap::FieldIndex(Map(), suffix);
    EXPECT_GE(index, 0) << suffix;
    return index < 0 ? -1
                     : chipmap::DecodeField(Map().fields[static_cast<std::size_t>(index)], image);
}

void SetFieldOf(Image& image, std::string_view suffix, int32_t value) {
    const int index = chipmap::FieldIndex(Map(), suffix);
    ASSERT_GE(index, 0) << suffix;
    chipmap::EncodeField(Map().fields[static_cast<std::size_t>(index)], value, image);
}

class T324ChipTest : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        chip_ = &Build(176).Chip();
    }

    std::string Path() const { return (folder_ / "chip.pwr").string(); }
    std::string Text() const {
        std::ifstream in(Path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteText(const std::string& text) const { std::ofstream(Path()) << text; }
    std::vector<std::string> WriteCalls() const {
        std::vector<std::string> found;
        for (const std::string& call : device_.calls)
            if (call.rfind("writeRegisters", 0) == 0) found.push_back(call);
        return found;
    }

    CSlave* chip_ = nullptr;
};

TEST_F(T324ChipTest, DefaultAndModeGroupImages) {
    Image image;
    image.fill(0xEE);
    chip_->BuildDefaultImage(image);
    EXPECT_EQ(Hex(image), Hex(kDefaultImage));

    const Writes wlrx = {{6, 0x21},  {8, 0x14},  {9, 0x20},  {10, 0x33}, {11, 0x1D}, {17, 0x13},
                         {18, 0x0A}, {20, 0x81}, {21, 0x00}, {22, 0x64}, {23, 0x75}, {24, 0x02}};
    Writes wltx = wlrx;
    wltx[5] = {17, 0xDC};
    wltx[6] = {18, 0x08};
    const Image expected[6] = {With({{9, 0x43}, {20, 0xB0}, {22, 0x57}}),
                               With(wlrx),
                               With(wltx),
                               kDefaultImage,
                               kDefaultImage,
                               kDefaultImage};
    for (int group = 0; group < 6; ++group) {
        image.fill(0xEE);
        EXPECT_EQ(chip_->BuildModeImage(group, image), 0);
        EXPECT_EQ(Hex(image), Hex(expected[group])) << "mode group " << group;
    }
}

// Fields over two registers and the one bit the chip never reports.
TEST_F(T324ChipTest, SplitFieldsAndTheBitThatReadsZero) {
    Image image{};
    SetFieldOf(image, "_DACVB", 570);
    EXPECT_EQ(image[23], 0x3A);
    EXPECT_EQ(image[24] & 0x0F, 0x02);
    EXPECT_EQ(FieldOf(image, "_DACVB"), 570);
    SetFieldOf(image, "_DACVB", 0xFFF);
    EXPECT_EQ(FieldOf(image, "_DACVB"), 0xFFF);
    EXPECT_EQ(image[24] & 0xF0, 0) << "EN_VDTHV and VBSEL keep their bits";

    image.fill(0);
    SetFieldOf(image, "_B_PSample", 3);
    SetFieldOf(image, "_B_Phase1", 12);
    EXPECT_EQ(image[36], 0x6C);
    EXPECT_EQ(image[37] & 0x03, 0);
    SetFieldOf(image, "_B_PSample", 27);  // 0b11011: low three bits in reg 36, top two in 37
    EXPECT_EQ(image[36] >> 5, 3);
    EXPECT_EQ(image[37] & 0x03, 3);
    EXPECT_EQ(FieldOf(image, "_B_PSample"), 27);
    EXPECT_EQ(FieldOf(image, "_B_Phase1"), 12);

    SetFieldOf(image, "_VBSEL", 1);
    EXPECT_EQ(image[24] & 0x20, 0x20) << "written to the chip";
    EXPECT_EQ(FieldOf(image, "_VBSEL"), 0) << "but never reported";
    chipmap::Encode(Map(), chipmap::Decode(Map(), image), image);
    EXPECT_EQ(image[24] & 0x20, 0) << "gone after the next decode and encode";
}

// The stylus groups keep a working drive: prescaler 14 and divider 3, never 0, and nothing
// beyond the chip's 56 registers.
TEST_F(T324ChipTest, StylusGroupImages) {
    struct Case {
        int group;
        int measureCnt, adcGain, sic, sia;
    };
    for (const Case& c : {Case{0, 63, 4, 1, 0}, Case{1, 63, 4, 0, 1}, Case{2, 22, 3, 1, 0},
                          Case{3, 22, 3, 0, 1}, Case{4, 63, 4, 1, 0}}) {
        Image image;
        image.fill(0xEE);
        chip_->BuildPenImage(c.group, image);
        EXPECT_EQ(chip_->GetPhase1(image), 14) << c.group;
        EXPECT_EQ(chip_->GetPsample(image), 3) << c.group;
        EXPECT_EQ(chip_->GetMeasureCnt(image), c.measureCnt) << c.group;
        EXPECT_EQ(chip_->GetAdcGain(image), c.adcGain) << c.group;
        EXPECT_EQ(chip_->GetRs(image), 14) << c.group;
        EXPECT_EQ(chip_->GetAfeGain(image), 10) << c.group;
        EXPECT_EQ(chip_->GetDelay(image), 0) << c.group;
        EXPECT_EQ(chip_->GetReadSel(image), 7) << c.group;
        EXPECT_EQ(FieldOf(image, "_SIC"), c.sic) << c.group;
        EXPECT_EQ(FieldOf(image, "_SIA"), c.sia) << c.group;
        EXPECT_EQ(FieldOf(image, "_DACOE"), 0) << c.group;
        EXPECT_EQ(FieldOf(image, "_EN_HOP"), 0) << c.group;
        for (std::size_t b = 56; b < image.size(); ++b) EXPECT_EQ(image[b], 0) << c.group;
    }
}

TEST_F(T324ChipTest, TuningItemsHaveNoPeakFieldsAndNoneForTheStylusGroups) {
    Image image;
    chip_->BuildModeImage(CSlave::kGroupNoise, image);
    {
        CParamFile file(Path());
        ASSERT_TRUE(file.OpenWrite());
        for (const char* group : {"Noise", "WLRx", "Img", "VKey", "DetRx", "RawTx"})
            chip_->SaveTuneSection(file, "S", group, image, 14, 0xFF);
        ASSERT_TRUE(file.Close());
    }
    EXPECT_EQ(Text(),
              "Noise_MeasureCnt = 30    ;0~63    ;\n"
              "Noise_AFEGain = 20    ;1~29    ;\n"
              "Noise_RS = 1    ;1~14    ;\n"
              "Noise_Delay = 15    ;0~41    ;0~3*PreScaler-1\n"
              "Noise_ADCGain = 3    ;2~4    ;\n"
              "Noise_Scaling = 4    ;0~15    ;\n"
              "Noise_Tskip = 1    ;0~3    ;\n"
              "WLRx_MeasureCnt = 30    ;0~63    ;\n"
              "WLRx_AFEGain = 20    ;1~29    ;\n"
              "WLRx_RS = 1    ;1~14    ;\n"
              "WLRx_Delay = 15    ;0~41    ;0~3*PreScaler-1\n"
              "WLRx_ADCGain = 3    ;2~4    ;\n"
              "WLRx_Scaling = 4    ;0~15    ;\n"
              "WLRx_Tskip = 1    ;2~3    ;\n"
              "Img_ADCGain = 3    ;2~4    ;\n"
              "Img_Scaling = 4    ;0~15    ;\n"
              "Img_Tskip = 1    ;0~3    ;\n"
              "VKey_MeasureCnt = 30    ;0~63    ;\n"
              "VKey_Tskip = 1    ;0~3    ;\n"
              "VKey_AFEGain = 20    ;1~29    ;\n"
              "VKey_RS = 1    ;1~14    ;\n"
              "VKey_Delay = 15    ;0~41    ;0~3*PreScaler-1\n"
              "VKey_ADCGain = 3    ;2~4    ;\n"
              "VKey_Scaling = 4    ;0~15    ;\n");
}

// Tuning quantities come back only through the tuning items; a stylus group has none, so its
// section changes only what the full list reads.
TEST_F(T324ChipTest, RegisterSectionsReadTuningItemsForTheirGroupsOnly) {
    WriteText(
        "[Noise]\nNoise_AFEGain = 9\nNoise_SR3 = 25\nNoise_ReadSel = 5\nNoise_ADCGain = 7\n"
        "[Pen]\nDetRx_MeasureCnt = 9\nDetRx_AFEGain = 9\nDetRx_WaveN = 9\nDetRx_ReadSel = 5\n"
        "DetRx_VBSEL = 1\n");
    Image noise;
    chip_->BuildModeImage(CSlave::kGroupNoise, noise);
    {
        CParamFile file(Path());
        ASSERT_TRUE(chip_->LoadRegSection(file, "Noise", "Noise", noise));
    }
    EXPECT_EQ(chip_->GetAfeGain(noise), 9);
    EXPECT_EQ(chip_->GetReadSel(noise), 5);
    EXPECT_EQ(chip_->GetAdcGain(noise), 4) << "clamped to 2~4";

    Image pen;
    chip_->BuildPenImage(0, pen);
    {
        CParamFile file(Path());
        ASSERT_TRUE(chip_->LoadRegSection(file, "Pen", "DetRx", pen));
    }
    EXPECT_EQ(chip_->GetMeasureCnt(pen), 63);
    EXPECT_EQ(chip_->GetAfeGain(pen), 10);
    EXPECT_EQ(chip_->GetReadSel(pen), 5);
    EXPECT_EQ(pen[24] & 0x20, 0x20) << "a register file sets the bit the chip never reports";
}

TEST_F(T324ChipTest, SavedSectionWritesEveryFieldPlain) {
    Image image;
    chip_->BuildDefaultImage(image);
    {
        CParamFile file(Path());
        ASSERT_TRUE(file.OpenWrite());
        chip_->SaveRegSection(file, "S", "Img", image);
        ASSERT_TRUE(file.Close());
    }
    const std::string text = Text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(Map().fields.size()));
    EXPECT_EQ(text.find("Read Only"), std::string::npos);
    EXPECT_NE(text.find("Img_DACVB = 570    ;    ;\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Img_B_PSample = 3    ;    ;\n"), std::string::npos) << text;
}

// Presets go out as the chip's 56 registers (the command interface leaves out 0-2); the
// water-line tests skip more and scan even and odd lines apart, and a Tx-axis test senses Tx.
TEST_F(T324ChipTest, PresetsAndRegisterWrites) {
    Image image;
    chip_->BuildDefaultImage(image);
    chip_->SetGainH(image, 9);
    ASSERT_TRUE(chip_->EnterGainTestMode(image, CSlave::kScanWLTx));
    EXPECT_EQ(WriteCalls(),
              (std::vector<std::string>{"writeRegisters chip=255 bank=0 first=3 count=53"}));
    EXPECT_EQ(chip_->GetGainH(image), 9);
    EXPECT_EQ(chip_->GetReadSel(image), 8);
    EXPECT_EQ(FieldOf(image, "_Tskip"), 3);
    EXPECT_EQ(FieldOf(image, "_ScanEvenOdd"), 1);
    EXPECT_EQ(FieldOf(image, "_SIA"), 3);
    EXPECT_EQ(FieldOf(image, "_RX_ReadSel"), 8);

    ASSERT_TRUE(chip_->EnterSignalTestMode(image, CSlave::kScanImage));
    EXPECT_EQ(FieldOf(image, "_Tskip"), 1);
    EXPECT_EQ(FieldOf(image, "_Pipeline") + FieldOf(image, "_SWP") + FieldOf(image, "_SWN"), 0);

    ASSERT_TRUE(chip_->EnterCalMode(image));
    EXPECT_EQ(chip_->GetPhase1(image), 31);
    EXPECT_EQ(FieldOf(image, "_CALOE"), 1);
    EXPECT_EQ(FieldOf(image, "_ID_SERIN"), 8);
    EXPECT_EQ(FieldOf(image, "_DACVB"), 0);

    device_.calls.clear();
    ASSERT_TRUE(chip_->WriteDacVb(0, image, 0x275));
    ASSERT_TRUE(chip_->WriteAfeGain(0, image, 17));
    ASSERT_TRUE(chip_->WriteDelay(0, image, 200));
    EXPECT_EQ(WriteCalls(),
              (std::vector<std::string>{"writeRegisters chip=0 bank=0 first=23 count=1",
                                        "writeRegisters chip=0 bank=0 first=24 count=1",
                                        "writeRegisters chip=0 bank=0 first=6 count=1",
                                        "writeRegisters chip=0 bank=0 first=8 count=1"}));
    EXPECT_EQ(device_.registers[0][23], 0x75);
    EXPECT_EQ(device_.registers[0][24] & 0x0F, 0x02);
    EXPECT_EQ(device_.registers[0][8], 200);
}

// The tuning merge the stylus set uses: delay, gains, scaling and skip, not the measure count.
TEST_F(T324ChipTest, MergeTuningCopiesTheTuningFields) {
    Image raw, det;
    chip_->BuildPenImage(2, raw);
    chip_->BuildPenImage(0, det);
    chip_->SetAfeGain(raw, 5);
    chip_->SetRs(raw, 3);
    chip_->SetDelay(raw, 40);
    chip_->SetScaling(raw, 9);
    chip_->MergeTuning(det, raw);
    EXPECT_EQ(chip_->GetAfeGain(det), 5);
    EXPECT_EQ(chip_->GetRs(det), 3);
    EXPECT_EQ(chip_->GetDelay(det), 40);
    EXPECT_EQ(chip_->GetScaling(det), 9);
    EXPECT_EQ(chip_->GetMeasureCnt(det), 63);
    EXPECT_EQ(chip_->GetAdcGain(det), 4);
}

}  // namespace
