// The T320's items in register files and tuning sections: what is written, under which keys, and
// what reading the file back changes in a mode image.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <random>

#include "FakeController.h"
#include "chips/CSlave.h"
#include "chips/t320/T320Map.h"
#include "files/CParamFile.h"

namespace {

using Image = std::array<uint8_t, 68>;

const chipmap::ChipProfile& Map() {
    return Slave_T320::T320Profile();
}

class T320RegisterFileTest : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        chip_ = &Build(96).Chip();
    }

    std::string Path() const { return (folder_ / "chip.hwr").string(); }
    std::string Text() const {
        std::ifstream in(Path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteText(const std::string& text) const { std::ofstream(Path()) << text; }

    void SaveRegSection(const std::string& group, const Image& image) {
        CParamFile file(Path());
        ASSERT_TRUE(file.OpenWrite());
        file.WriteLine("[Freq-0 " + group + " Reg Parameters]", kLevelDetail);
        chip_->SaveRegSection(file, "Freq-0 " + group + " Reg Parameters", group, image);
        ASSERT_TRUE(file.Close());
    }
    void Load(const std::string& section, const std::string& group, Image& image) {
        CParamFile file(Path());
        EXPECT_TRUE(chip_->LoadRegSection(file, section, group, image));
    }

    CSlave* chip_ = nullptr;
};

// A mode image with every field away from its default, saved, then read over an image with
// every byte changed: the readable fields come back, the others keep what the image held.
TEST_F(T320RegisterFileTest, SavedSectionReadsBackTheReadableFieldsOnly) {
    std::mt19937 random(7);
    for (const char* group : {"Noise", "WLTx", "Img", "VKey"}) {
        Image original;
        for (auto& b : original) b = static_cast<uint8_t>(random());
        SaveRegSection(group, original);

        Image loaded;
        for (auto& b : loaded) b = static_cast<uint8_t>(random());
        const Image perturbed = loaded;
        Load(std::string("Freq-0 ") + group + " Reg Parameters", group, loaded);

        for (const chipmap::Field& field : Map().fields) {
            // Read-only fields are saved under "_" keys, so even the readable ones stay.
            const bool readBack =
                field.load == chipmap::Load::Yes && field.save == chipmap::Save::Plain;
            EXPECT_EQ(chipmap::DecodeField(field, loaded),
                      chipmap::DecodeField(field, readBack ? original : perturbed))
                << group << field.suffix;
        }
        // Bits that belong to no field keep the image's bits.
        EXPECT_EQ(loaded[31], perturbed[31]);
        EXPECT_EQ(loaded[50], perturbed[50]);
        EXPECT_EQ(loaded[8] & 0x80, perturbed[8] & 0x80);
    }
}

TEST_F(T320RegisterFileTest, ReadOnlyFieldsAreWrittenUnderKeysTheLoadNeverReads) {
    Image image{};
    chip_->BuildDefaultImage(image);
    SaveRegSection("Noise", image);
    const std::string text = Text();
    EXPECT_NE(text.find("_Noise_Bidirection = 1"), std::string::npos);
    EXPECT_NE(text.find("_NoiseSR2 = 0"), std::string::npos);
    EXPECT_NE(text.find("Noise_AEN = 1"), std::string::npos);
    EXPECT_NE(text.find("Noise_DACVB = 89"), std::string::npos);
    EXPECT_EQ(text.find("\nNoise_Pipeline"), std::string::npos);
    EXPECT_NE(text.find("Read Only"), std::string::npos);

    // Editing a read-only item has no effect; a plain one does.
    WriteText("[S]\n_Noise_Pipeline = 0\n_Noise_SinGenAMP = 5\nNoise_DACVB = 10\n");
    Load("S", "Noise", image);
    EXPECT_EQ(image[0] & 0x40, 0x40);
    EXPECT_EQ(chip_->GetSinAmp(image), 47);
    EXPECT_EQ(image[66], 10);
}

TEST_F(T320RegisterFileTest, TuningItemsAreReadFirstAndFieldsMaskedToTheirBits) {
    Image image{};
    chip_->BuildDefaultImage(image);
    // A missing key keeps the value; "_ADCGain" is clamped; other values are taken as they are
    // and only their field's bits are stored.
    WriteText(
        "[S]\nNoise_MeasureCnt = 40\nNoise_ADCGain = 7\nNoise_AFEGain = 25\n"
        "Noise_Pipeline = 0\nNoise_CHMASK = 255\nNoise_DoComm = 5\n");
    Load("S", "Noise", image);
    EXPECT_EQ(chip_->GetMeasureCnt(image), 40);
    EXPECT_EQ(chip_->GetAdcGain(image), 4);
    EXPECT_EQ(chip_->GetAfeGain(image), 25);
    EXPECT_EQ(chip_->GetDelay(image), 15);
    EXPECT_EQ(image[0] & 0x40, 0x40);   // Pipeline is not in the readable list
    EXPECT_EQ(image[67], 0xE0 | 0x05);  // CHMASK bits 7-5, PDRIVE/NDRIVE kept
    EXPECT_EQ(image[9], 0x80 | 5);      // DoComm beside StopExt
}

TEST_F(T320RegisterFileTest, ReadOutGroupsTakeTheirTuningFromTheRdSection) {
    Image image{};
    chip_->BuildDefaultImage(image);
    WriteText("[S]\nVKey_RS = 3\n[S-RD]\nVKey_RS = 11\nVKey_Scaling = 9\n");
    Load("S", "VKey", image);
    EXPECT_EQ(chip_->GetRs(image), 11);
    EXPECT_EQ(chip_->GetScaling(image), 9);

    // A group with no tuning list reads only the full list.
    chip_->BuildDefaultImage(image);
    WriteText("[S]\nOther_RS = 3\nOther_AEN = 0\n");
    Load("S", "Other", image);
    EXPECT_EQ(chip_->GetRs(image), 7);
    EXPECT_EQ(image[0] & 1, 0);
}

TEST_F(T320RegisterFileTest, TuneSectionItemsRangesAndLevels) {
    Image image{};
    chip_->BuildModeImage(CSlave::kGroupWLRx, image);
    {
        CParamFile file(Path());
        ASSERT_TRUE(file.OpenWrite());
        // The caller writes the section lines.
        file.WriteLine("[F]", kLevelDetail);
        chip_->SaveTuneSection(file, "F", "WLRx", image, 18, 0);
        file.WriteLine("[F-RD]", kLevelDetail);
        chip_->SaveTuneSection(file, "F", "Rsv", image, 20, 0);
        file.WriteLine("[P]", kLevelDetail);
        chip_->SaveTuneSection(file, "P", "DetRx", image, 14, 0, " Read Only");
        ASSERT_TRUE(file.Close());
    }
    const std::string text = Text();
    for (const char* expected :
         {"WLRx_MeasureCnt = 45", "WLRx_AFEGain = 29", "WLRx_RS = 12", "WLRx_Delay = 13",
          "WLRx_ADCGain = 3", "WLRx_Scaling = 6", "WLRx_PeakNum = 2", "WLRx_Tskip = 1",
          "Rsv_Delay = 13", "DetRx_Delay = 13"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    EXPECT_NE(text.find(";0~53"), std::string::npos);  // 18 x 3 - 1
    EXPECT_NE(text.find(";0~59"), std::string::npos);
    EXPECT_NE(text.find(";2~3"), std::string::npos);  // water-line Tskip
    EXPECT_NE(text.find("Read Only"), std::string::npos);
    EXPECT_EQ(CSlave::TuneSectionName("F", "Rsv"), "F-RD");
    EXPECT_EQ(CSlave::TuneSectionName("F", "VKey"), "F-RD");
    EXPECT_EQ(CSlave::TuneSectionName("F", "Img"), "F");

    // The items load back into another image.
    Image other{};
    chip_->BuildDefaultImage(other);
    Load("F", "WLRx", other);
    EXPECT_EQ(chip_->GetMeasureCnt(other), 45);
    EXPECT_EQ(chip_->GetAfeGain(other), 29);
    EXPECT_EQ(chip_->GetDelay(other), 13);
}

TEST_F(T320RegisterFileTest, MissingFileIsReportedAndChangesNothing) {
    Image image{};
    chip_->BuildDefaultImage(image);
    const Image before = image;
    CParamFile file((folder_ / "absent.hwr").string());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(chip_->LoadRegSection(file, "S", "Noise", image));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Cannot Load File: "), std::string::npos);
    EXPECT_EQ(image, before);
}

TEST_F(T320RegisterFileTest, ShortImageIsRefused) {
    std::array<uint8_t, 10> small{};
    WriteText("[S]\nNoise_AEN = 0\n");
    CParamFile file(Path());
    EXPECT_FALSE(chip_->LoadRegSection(file, "S", "Noise", small));
}

}  // namespace
