// The T3300's register map in memory and in the register files: the default and group images
// byte for byte, the fields that share register 2 and the split AFE gain, the second register
// set, and what the register and tuning sections write and read back.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <utility>
#include <vector>

#include "FakeController.h"
#include "chips/CSlave.h"
#include "chips/t3300/T3300Map.h"
#include "files/CParamFile.h"

namespace {

using Image = std::array<uint8_t, 68>;
using Writes = std::vector<std::pair<int, uint8_t>>;

const chipmap::ChipProfile& Map() {
    return Slave_T3300::T3300Profile();
}

// The chip's power-on register contents, register 0 first.
constexpr Image kDefaultImage = {
    0x73, 0xE5, 0xCD, 0x3C, 0x5E, 0x74, 0x8F, 0xD2, 0x40, 0x00, 0x64, 0x01, 0x80, 0x00,
    0x01, 0x00, 0x80, 0x11, 0x00, 0xAA, 0x8A, 0x0C, 0x04, 0x00, 0x00, 0x00, 0x2F, 0x00,
    0x80, 0x00, 0x00, 0x74, 0x9B, 0xC8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x28, 0xCC, 0xEA, 0x47, 0x04, 0xD7, 0x00, 0x00,
    0x17, 0x17, 0x17, 0x17, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF5, 0x4E, 0x0F};

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

class T3300ImageTest : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        chip_ = &Build(94).Chip();
    }

    std::string Path() const { return (folder_ / "chip.hwr").string(); }
    std::string Text() const {
        std::ifstream in(Path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteText(const std::string& text) const { std::ofstream(Path()) << text; }
    void Load(const std::string& section, const std::string& group, Image& image) {
        CParamFile file(Path());
        EXPECT_TRUE(chip_->LoadRegSection(file, section, group, image));
    }
    // The value and comment parts of an item line, "value    ;range    ;comment".
    std::string Line(const std::string& key) const {
        const std::string text = Text();
        const auto at = text.find("\n" + key + " = ");
        if (at == std::string::npos) return "";
        const auto end = text.find('\n', at + 1);
        return text.substr(at + 1, end - at - 1);
    }

    CSlave* chip_ = nullptr;
};

TEST_F(T3300ImageTest, DefaultAndGroupImagesByteForByte) {
    const Writes wlWrites = {{25, 0x00}, {26, 0x0E}, {31, 0x71},
                             {32, 0x02}, {65, 0xE4}, {66, 0x75}};
    Writes wlrx = {{3, 0xA2}, {4, 0xDE}, {5, 0x71}, {6, 0x0F}, {11, 0x13}, {22, 0x04}};
    Writes wltx = {{3, 0xA3}, {4, 0xDE}, {5, 0x71}, {6, 0x0F}, {11, 0xDC}, {22, 0x02}};
    wlrx.insert(wlrx.end(), wlWrites.begin(), wlWrites.end());
    wltx.insert(wltx.end(), wlWrites.begin(), wlWrites.end());
    const Image modeImages[6] = {With({{8, 0x43}}), With(wlrx),    With(wltx),
                                 kDefaultImage,     kDefaultImage, kDefaultImage};
    for (int group = 0; group < 6; ++group) {
        Image image;
        image.fill(0xEE);
        EXPECT_EQ(chip_->BuildModeImage(group, image), 0);
        EXPECT_EQ(Hex(image), Hex(modeImages[group])) << "mode group " << group;
    }

    const Writes penCommon = {{7, 0xCE},  {8, 0x47},  {14, 0x00}, {22, 0x04},
                              {25, 0x00}, {26, 0x2F}, {65, 0x75}};
    auto pen = [&](Writes own) {
        own.insert(own.begin(), penCommon.begin(), penCommon.end());
        return With(own);
    };
    const Image penImages[6] = {pen({{3, 0x4E},
                                     {4, 0x3F},
                                     {5, 0xEA},
                                     {6, 0x00},
                                     {11, 0x01},
                                     {12, 0x00},
                                     {31, 0xEA},
                                     {32, 0x1C}}),
                                pen({{3, 0x4F},
                                     {4, 0x3F},
                                     {5, 0xEA},
                                     {6, 0x00},
                                     {11, 0xC4},
                                     {12, 0x00},
                                     {31, 0xEA},
                                     {32, 0x1C}}),
                                pen({{3, 0x3E},
                                     {4, 0x16},
                                     {5, 0xEA},
                                     {6, 0x00},
                                     {11, 0x01},
                                     {12, 0x00},
                                     {31, 0xEA},
                                     {32, 0x1B}}),
                                pen({{3, 0x3F},
                                     {4, 0x16},
                                     {5, 0xEA},
                                     {6, 0x00},
                                     {11, 0xC4},
                                     {12, 0x00},
                                     {31, 0xEA},
                                     {32, 0x1B}}),
                                pen({{3, 0x4E},
                                     {4, 0x3F},
                                     {5, 0xEA},
                                     {6, 0x00},
                                     {11, 0x01},
                                     {12, 0x00},
                                     {31, 0xEA},
                                     {32, 0x1C}}),
                                kDefaultImage};
    for (int group = 0; group < 6; ++group) {
        Image image;
        image.fill(0xEE);
        chip_->BuildPenImage(group, image);
        EXPECT_EQ(Hex(image), Hex(penImages[group])) << "stylus group " << group;
    }
}

TEST_F(T3300ImageTest, FieldsOfTheSharedAndSplitRegisters) {
    Image image = kDefaultImage;
    // Register 2 bits 5-4 belong to no readable field: they keep what the chip holds, and
    // QmulAuto reads 0 whatever bit 5 says and writes nothing.
    for (int peakNum : {1, 3, 0}) {
        image[2] = 0x30;
        WriteText("[S]\nNoise_PeakNum = " + std::to_string(peakNum) +
                  "\nNoise_QmulAuto = 1\nNoise_VREFSEL = 1\nNoise_PeakMode = 1\n"
                  "Noise_Qmulv = 2\n");
        Load("S", "Noise", image);
        EXPECT_EQ(image[2], 0x30 | 0x80 | 0x08 | (peakNum << 1) | 0x01) << peakNum;
        const int qmulAuto = chipmap::FieldIndex(Map(), "_QmulAuto");
        ASSERT_GE(qmulAuto, 0);
        EXPECT_EQ(chipmap::Decode(Map(), image)[static_cast<std::size_t>(qmulAuto)], 0);
    }

    // AFE gain 20: bits 3-0 in register 5, bit 4 in register 6 bit 7 beside the delay.
    image = kDefaultImage;
    chip_->SetDelay(image, 0x55);
    chip_->SetAfeGain(image, 20);
    EXPECT_EQ(image[5], 0x74);
    EXPECT_EQ(image[6], 0x80 | 0x55);
    chip_->SetAfeGain(image, 9);
    EXPECT_EQ(image[5], 0x79);
    EXPECT_EQ(image[6], 0x55);
    EXPECT_EQ(chip_->GetAfeGain(image), 9);
    EXPECT_EQ(chip_->GetDelay(image), 0x55);
    EXPECT_EQ(image[31], 0x74);  // the setter leaves the second copy alone

    // The switches are set in both register sets, and nothing else moves.
    image = kDefaultImage;
    chip_->SetSWP(image, 0);
    chip_->SetSWN(image, 2);  // only bit 0 counts
    EXPECT_EQ(image[3], 0x3C & ~0x0C);
    EXPECT_EQ(image[32], 0x9B & ~0x18);
    chip_->SetSWP(image, 1);
    EXPECT_EQ(image[3], 0x34);
    EXPECT_EQ(image[32], 0x8B);

    // The tuning quantities land where the chip keeps them.
    image = kDefaultImage;
    chip_->SetMeasureCnt(image, 63);
    chip_->SetScaling(image, 15);
    chip_->SetAdcGain(image, 7);
    chip_->SetSinAmp(image, 10);
    chip_->SetPhase1(image, 31);
    EXPECT_EQ(image[4], 0x7F);
    EXPECT_EQ(image[8], 0xF0);
    EXPECT_EQ(image[3], 0x7C);
    EXPECT_EQ(image[26], 10);
    EXPECT_EQ(image[7], 0xDF);
    EXPECT_EQ(chip_->GetSinTableLength(image), 93);
    EXPECT_EQ(chip_->GetReadSel(kDefaultImage), 0);
    EXPECT_EQ(chip_->GetRegBank(With({{3, 0xA3}})), 3);
}

// A mode image with every byte random, saved, then read over another random image: the fields
// the full list reads come back, the tuning fields (only read through their tuning items) and
// the bits of no field keep what the image held.
TEST_F(T3300ImageTest, SavedSectionReadsBackEveryReadableField) {
    std::mt19937 random(11);
    for (const char* group : {"Noise", "WLRx", "WLTx", "Img", "VKey", "Rsv"}) {
        Image original;
        for (auto& b : original) b = static_cast<uint8_t>(random());
        const std::string section = std::string("Freq-0 ") + group + " Reg Parameters";
        {
            CParamFile file(Path());
            ASSERT_TRUE(file.OpenWrite());
            file.WriteLine("[" + section + "]", kLevelDetail);
            chip_->SaveRegSection(file, section, group, original);
            ASSERT_TRUE(file.Close());
        }
        const std::string text = Text();
        EXPECT_EQ(text.find("Read Only"), std::string::npos) << group;
        EXPECT_EQ(text.find("\n_"), std::string::npos) << group;
        EXPECT_NE(text.find(std::string("\n") + group + "_SR3_99 = "), std::string::npos);

        Image loaded;
        for (auto& b : loaded) b = static_cast<uint8_t>(random());
        const Image perturbed = loaded;
        Load(section, group, loaded);

        int readable = 0;
        for (const chipmap::Field& field : Map().fields) {
            const bool readBack = field.load == chipmap::Load::Yes;
            readable += readBack ? 1 : 0;
            EXPECT_EQ(chipmap::DecodeField(field, loaded),
                      chipmap::DecodeField(field, readBack ? original : perturbed))
                << group << field.suffix;
        }
        EXPECT_EQ(readable, static_cast<int>(Map().fields.size()) - 6);
        for (int reg : {38, 42, 47, 60, 63}) {
            EXPECT_EQ(loaded[static_cast<std::size_t>(reg)],
                      perturbed[static_cast<std::size_t>(reg)])
                << reg;
        }
        EXPECT_EQ(loaded[2] & 0x30, perturbed[2] & 0x30);
        EXPECT_EQ(loaded[30] & 0x0F, perturbed[30] & 0x0F);
        // The tuning fields through their own items: AFE gain, RS, delay, measure count,
        // scaling, ADC gain.
        EXPECT_EQ(chip_->GetAfeGain(loaded), chip_->GetAfeGain(perturbed)) << group;
        EXPECT_EQ(chip_->GetMeasureCnt(loaded), chip_->GetMeasureCnt(perturbed)) << group;
    }
}

TEST_F(T3300ImageTest, TuneSectionCommentsFollowTheGroupAndItsFixedGainBit) {
    struct Case {
        const char* group;
        uint8_t freqCtrl;
        bool adcGainFixed;
    };
    for (const Case& c :
         {Case{"WLTx", 0x04, true}, Case{"WLTx", 0x0A, false}, Case{"WLRx", 0x08, true},
          Case{"WLRx", 0x04, false}, Case{"Img", 0x02, true}, Case{"Img", 0xFD, false},
          Case{"Noise", 0xFF, false}}) {
        Image image{};
        const std::string group = c.group;
        const int m = group == "WLTx" ? 2 : group == "WLRx" ? 1 : group == "Img" ? 3 : 0;
        chip_->BuildModeImage(m, image);
        {
            CParamFile file(Path());
            ASSERT_TRUE(file.OpenWrite());
            file.WriteLine("[F]", kLevelDetail);
            chip_->SaveTuneSection(file, "F", group, image, 18, c.freqCtrl);
            ASSERT_TRUE(file.Close());
        }
        const int adcGain = m == 1 || m == 2 ? 2 : 3;
        const std::string adcLine = group + "_ADCGain = " + std::to_string(adcGain) +
                                    "    ;2~4    ;Analog to digital gain value." +
                                    (c.adcGainFixed ? " Read Only" : "");
        EXPECT_EQ(Line(group + "_ADCGain"), adcLine) << c.freqCtrl;
        EXPECT_EQ(Line(group + "_Scaling"),
                  group +
                      "_Scaling = 4    ;0~15    ;For signal normalization. +1 means divided by "
                      "2, -1 means multiplied by 2.");
    }

    // The water-line groups: RS always read-only, Tskip 2~3, in the chip's order. An item without
    // a comment ends in an empty one.
    Image image{};
    chip_->BuildModeImage(CSlave::kGroupWLRx, image);
    {
        CParamFile file(Path());
        ASSERT_TRUE(file.OpenWrite());
        file.WriteLine("[F]", kLevelDetail);
        chip_->SaveTuneSection(file, "F", "WLRx", image, 20, 0);
        file.WriteLine("[N]", kLevelDetail);
        chip_->SaveTuneSection(file, "N", "Noise", image, 20, 0);
        ASSERT_TRUE(file.Close());
    }
    EXPECT_EQ(Text(),
              "[F]\n"
              "WLRx_MeasureCnt = 30    ;0~63    ;The measure counts for signal measurement.\n"
              "WLRx_AFEGain = 1    ;1~29    ;Analog front end gain value.\n"
              "WLRx_Delay = 15    ;0~59    ;The offset of measure time.\n"
              "WLRx_Scaling = 4    ;0~15    ;For signal normalization. +1 means divided by 2, "
              "-1 means multiplied by 2.\n"
              "WLRx_PeakNum = 2    ;0~3    ;\n"
              "WLRx_PeakMode = 1    ;0~1    ;\n"
              "WLRx_Tskip = 3    ;2~3    ;\n"
              "WLRx_RS = 7    ;1~14    ;The ability to resist noise interference. Read Only\n"
              "WLRx_ADCGain = 2    ;2~4    ;Analog to digital gain value.\n"
              "[N]\n"
              "Noise_MeasureCnt = 30    ;0~63    ;The measure counts for signal measurement.\n"
              "Noise_AFEGain = 1    ;1~29    ;Analog front end gain value.\n"
              "Noise_RS = 7    ;1~14    ;The ability to resist noise interference.\n"
              "Noise_Delay = 15    ;0~59    ;The offset of measure time.\n"
              "Noise_ADCGain = 2    ;2~4    ;Analog to digital gain value.\n"
              "Noise_Scaling = 4    ;0~15    ;For signal normalization. +1 means divided by 2, "
              "-1 means multiplied by 2.\n"
              "Noise_PeakNum = 2    ;0~3    ;\n"
              "Noise_PeakMode = 1    ;0~1    ;\n"
              "Noise_Tskip = 3    ;0~3    ;\n");
}

TEST_F(T3300ImageTest, WaterLineGroupsPreferTheRdSectionForAdcGainAndRs) {
    Image image{};
    chip_->BuildModeImage(CSlave::kGroupWLRx, image);
    WriteText(
        "[F]\nWLRx_ADCGain = 3\nWLRx_RS = 9\nWLRx_MeasureCnt = 40\nWLRx_Scaling = 6\n"
        "[F-RD]\nWLRx_ADCGain = 4\nWLRx_MeasureCnt = 50\n");
    Load("F", "WLRx", image);
    EXPECT_EQ(chip_->GetAdcGain(image), 4);      // from "-RD"
    EXPECT_EQ(chip_->GetRs(image), 9);           // "-RD" lacks it: the given section
    EXPECT_EQ(chip_->GetMeasureCnt(image), 40);  // only ever from the given section
    EXPECT_EQ(chip_->GetScaling(image), 6);

    // "Noise" reads only the given section; "_ADCGain" is clamped to 2~4.
    chip_->BuildModeImage(CSlave::kGroupNoise, image);
    WriteText("[F]\nNoise_ADCGain = 9\nNoise_Delay = 3\n[F-RD]\nNoise_RS = 2\n");
    Load("F", "Noise", image);
    EXPECT_EQ(chip_->GetAdcGain(image), 4);
    EXPECT_EQ(chip_->GetDelay(image), 3);
    EXPECT_EQ(chip_->GetRs(image), 7);

    // "Img" reads its ADC gain and scaling only; "VKey" reads "-RD" as on every chip.
    chip_->BuildModeImage(CSlave::kGroupImg, image);
    WriteText("[F]\nImg_ADCGain = 2\nImg_Scaling = 1\nImg_RS = 2\nImg_MeasureCnt = 9\n");
    Load("F", "Img", image);
    EXPECT_EQ(chip_->GetAdcGain(image), 2);
    EXPECT_EQ(chip_->GetScaling(image), 1);
    EXPECT_EQ(chip_->GetRs(image), 7);
    EXPECT_EQ(chip_->GetMeasureCnt(image), 30);

    chip_->BuildModeImage(CSlave::kGroupVKey, image);
    WriteText("[F]\nVKey_RS = 2\n[F-RD]\nVKey_RS = 11\n");
    Load("F", "VKey", image);
    EXPECT_EQ(chip_->GetRs(image), 11);
}

}  // namespace
