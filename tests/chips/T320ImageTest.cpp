// The T320 register image in memory: the register map itself, the default and fixed images, the
// split AFE gain field, the sine table and the ADC gain factors.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "FakeController.h"
#include "chips/CSlave.h"
#include "chips/t320/T320Map.h"

namespace {

using Image = std::array<uint8_t, 68>;

constexpr Image kDefaultImage = {
    0x73, 0xE5, 0xCD, 0x5E, 0x60, 0x00, 0x80, 0x74, 0x08, 0x80, 0x00, 0x8F, 0xD2, 0x00,
    0xC4, 0x00, 0x80, 0x11, 0xAA, 0xAA, 0x4A, 0x0C, 0x15, 0x00, 0x00, 0x00, 0x2F, 0x00,
    0x20, 0x00, 0x00, 0x00, 0x28, 0xCC, 0xEA, 0x00, 0x80, 0xD7, 0x00, 0x00, 0x17, 0x17,
    0x17, 0x17, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0xB5, 0x59, 0x05};

const chipmap::ChipProfile& Map() {
    return Slave_T320::T320Profile();
}

// Which bits of each register a field owns.
Image FieldBits(const chipmap::Field& field) {
    Image bits{};
    for (int i = 0; i < field.layout.count; ++i) {
        const chipmap::BitRun& run = field.layout.runs[static_cast<std::size_t>(i)];
        bits[run.reg] |= static_cast<uint8_t>(((1u << run.width) - 1u) << run.lowBit);
    }
    return bits;
}

Image Noise(unsigned seed) {
    std::mt19937 random(seed);
    Image image{};
    for (auto& b : image) b = static_cast<uint8_t>(random());
    return image;
}

class T320ImageTest : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        chip_ = &Build(96).Chip();
    }
    CSlave* chip_ = nullptr;
};

TEST_F(T320ImageTest, DefaultImageIsTheChipsPowerOnImageAndDecodesToTheDefaults) {
    Image image;
    image.fill(0xEE);  // everything outside the fields must come out 0
    chip_->BuildDefaultImage(image);
    EXPECT_EQ(image, kDefaultImage);
    EXPECT_EQ(chipmap::Decode(Map(), image), chipmap::DefaultValues(Map()));
}

TEST_F(T320ImageTest, MapHasOneRowPerFieldWithoutOverlapsOrRegistersOutsideTheImage) {
    EXPECT_EQ(Map().fields.size(), 105u);
    Image owned{};
    for (const chipmap::Field& field : Map().fields) {
        const Image bits = FieldBits(field);
        for (std::size_t r = 0; r < owned.size(); ++r) {
            EXPECT_EQ(owned[r] & bits[r], 0) << field.suffix << " overlaps at register " << r;
            owned[r] |= bits[r];
        }
    }
    // Registers 31 and 48-63 carry no field.
    EXPECT_EQ(owned[31], 0);
    for (int r = 48; r < 64; ++r) EXPECT_EQ(owned[static_cast<std::size_t>(r)], 0) << r;
}

// Every field, at its extremes and at a bit pattern, over an image full of other bits: the value
// comes back and no bit outside the field changes.
TEST_F(T320ImageTest, EveryFieldRoundTripsAndLeavesOtherBitsAlone) {
    unsigned seed = 1;
    for (const chipmap::Field& field : Map().fields) {
        const int width = field.layout.Width();
        const uint32_t mask = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1u;
        for (uint32_t raw : {0u, 1u, mask, mask & 0x5A5A5A5Au, mask >> 1}) {
            const Image before = Noise(seed++);
            Image image = before;
            chipmap::EncodeField(field, static_cast<int32_t>(raw), image);
            uint32_t back = static_cast<uint32_t>(chipmap::DecodeField(field, image));
            if (field.layout.isSigned && width < 32) back &= mask;
            EXPECT_EQ(back, raw) << field.suffix;
            const Image bits = FieldBits(field);
            for (std::size_t r = 0; r < image.size(); ++r) {
                EXPECT_EQ(image[r] & ~bits[r], before[r] & ~bits[r])
                    << field.suffix << " changed register " << r;
            }
        }
    }
}

TEST_F(T320ImageTest, SixteenBitFieldsDecodeSigned) {
    Image image{};
    const int index = chipmap::FieldIndex(Map(), "_Rsubv");
    ASSERT_GE(index, 0);
    const chipmap::Field& field = Map().fields[static_cast<std::size_t>(index)];
    chipmap::EncodeField(field, -2, image);
    EXPECT_EQ(image[23], 0xFE);
    EXPECT_EQ(image[24], 0xFF);
    EXPECT_EQ(chipmap::DecodeField(field, image), -2);
}

// The AFE gain's bit 4 shares register 11 with the 7-bit delay.
TEST_F(T320ImageTest, AfeGainBitFourLivesInRegisterElevenBesideTheDelay) {
    struct Case {
        int gain;
        uint8_t reg7, reg11;
    };
    for (const Case& c : {Case{20, 0x74, 0x8F}, Case{15, 0x7F, 0x0F}, Case{16, 0x70, 0x8F},
                          Case{31, 0x7F, 0x8F}, Case{0, 0x70, 0x0F}, Case{33, 0x71, 0x0F}}) {
        Image image = kDefaultImage;
        chip_->SetAfeGain(image, c.gain);
        EXPECT_EQ(image[7], c.reg7) << c.gain;
        EXPECT_EQ(image[11], c.reg11) << c.gain;
        EXPECT_EQ(chip_->GetAfeGain(image), c.gain & 31);
        EXPECT_EQ(chip_->GetDelay(image), 15);
        EXPECT_EQ(chip_->GetRs(image), 7);
    }
    Image image = kDefaultImage;
    chip_->SetAfeGain(image, 29);
    chip_->SetDelay(image, 100);
    EXPECT_EQ(image[11], 0x80 | 100);
    EXPECT_EQ(chip_->GetAfeGain(image), 29);
}

TEST_F(T320ImageTest, SettersTouchOnlyTheirField) {
    Image image = kDefaultImage;
    chip_->SetScaling(image, 0x1F);  // 4-bit field: 15
    EXPECT_EQ(image[4], 0xF0);
    EXPECT_EQ(chip_->GetScaling(image), 15);
    chip_->SetPipeline(image, 2);  // value & 1
    EXPECT_EQ(image[0], 0x33);
    chip_->SetSWP(image, 0);
    EXPECT_EQ(image[14], 0x84);
    chip_->ApplyPreScaler(image, 37);
    EXPECT_EQ(image[12], 0xC0 | 37);
    EXPECT_EQ(chip_->GetPhase1(image), 37);
    EXPECT_EQ(chip_->GetPsample(image), 3);
}

TEST_F(T320ImageTest, ModeAndStylusGroupImages) {
    struct Case {
        bool pen;
        int group;
        std::vector<std::pair<int, uint8_t>> changed;  // register, value; the rest is the default
    };
    const std::vector<std::pair<int, uint8_t>> waterLine = {{2, 0xCD},  {3, 0x6D},  {10, 0x00},
                                                            {16, 0xC4}, {17, 0x11}, {18, 0xAA},
                                                            {25, 0x00}, {28, 0x20}};
    auto with = [&](std::vector<std::pair<int, uint8_t>> extra) {
        extra.insert(extra.end(), waterLine.begin(), waterLine.end());
        return extra;
    };
    const std::vector<Case> cases = {
        {false, 0, {{4, 0x63}, {14, 0xC0}}},
        {false, 1,
         with({{7, 0xCD},
               {8, 0x08},
               {11, 0x8D},
               {14, 0xC6},
               {22, 0x15},
               {26, 0x32},
               {65, 0xA1},
               {66, 0x63}})},
        {false, 2,
         with({{7, 0xCD},
               {8, 0x23},
               {11, 0x85},
               {14, 0xC7},
               {22, 0x02},
               {26, 0x27},
               {65, 0xA1},
               {66, 0x59}})},
        {false, 3, {}},
        {false, 4, {}},
        {false, 5, {}},
        {true,
         0,
         {{3, 0x7F},
          {4, 0x47},
          {7, 0xEA},
          {8, 0x08},
          {11, 0x00},
          {12, 0xCE},
          {14, 0xC2},
          {21, 0x0C},
          {22, 0x15}}},
        {true,
         1,
         {{3, 0x7F},
          {4, 0x47},
          {7, 0xEA},
          {8, 0x23},
          {11, 0x00},
          {12, 0xCE},
          {14, 0xC3},
          {21, 0x0C},
          {22, 0x04}}},
        {true,
         2,
         {{3, 0x56},
          {4, 0x47},
          {7, 0xEA},
          {8, 0x08},
          {11, 0x00},
          {12, 0xCE},
          {14, 0xC2},
          {21, 0x08},
          {22, 0x15}}},
        {true,
         3,
         {{3, 0x56},
          {4, 0x47},
          {7, 0xEA},
          {8, 0x23},
          {11, 0x00},
          {12, 0xCE},
          {14, 0xC3},
          {21, 0x08},
          {22, 0x04}}},
        {true,
         4,
         {{3, 0x7F},
          {4, 0x47},
          {7, 0xEA},
          {8, 0x08},
          {11, 0x00},
          {12, 0xCE},
          {14, 0xC2},
          {21, 0x0C},
          {22, 0x15}}},
    };
    for (const Case& c : cases) {
        Image expected = kDefaultImage;
        for (auto [reg, value] : c.changed) expected[static_cast<std::size_t>(reg)] = value;
        Image image;
        image.fill(0x99);
        if (c.pen) {
            chip_->BuildPenImage(c.group, image);
        } else {
            EXPECT_EQ(chip_->BuildModeImage(c.group, image), 0);
        }
        EXPECT_EQ(image, expected) << (c.pen ? "stylus group " : "mode group ") << c.group;
    }
}

TEST_F(T320ImageTest, SineTableLengthAndShape) {
    EXPECT_EQ(chip_->GetSinTableLength(kDefaultImage), 54);
    std::array<uint8_t, 112> table{};
    ASSERT_TRUE(chip_->BuildSinTable(kDefaultImage, table));
    const std::array<uint8_t, 6> start = {0, 2, 5, 8, 10, 13};
    EXPECT_TRUE(std::equal(start.begin(), start.end(), table.begin()));
    for (int i = 0; i < 54; ++i) {
        if (i >= 24 && i <= 30) {
            EXPECT_EQ(table[static_cast<std::size_t>(i)], 46) << i;
        } else {
            EXPECT_LT(table[static_cast<std::size_t>(i)], 46) << i;
        }
    }
    EXPECT_EQ(table[54], 0);  // nothing past the length
}

TEST_F(T320ImageTest, SineTableLongerThanTheChipTakesIsRefused) {
    Image image = kDefaultImage;
    chip_->SetPhase1(image, 37);  // 111 samples: the longest that fits
    std::array<uint8_t, 112> table{};
    EXPECT_TRUE(chip_->BuildSinTable(image, table));
    chip_->SetPhase1(image, 38);  // 114
    table.fill(0x5C);
    EXPECT_FALSE(chip_->BuildSinTable(image, table));
    EXPECT_EQ(table[0], 0x5C);
    EXPECT_EQ(table[111], 0x5C);
    // A table shorter than the length is refused too, never overrun.
    chip_->SetPhase1(image, 18);
    std::array<uint8_t, 20> small{};
    EXPECT_FALSE(chip_->BuildSinTable(image, small));
}

TEST_F(T320ImageTest, AdcGainFactorsWithCodesPastTheTableNeutral) {
    const std::array<int, 8> factors = {1, 4, 8, 16, 17, 20, 24, 32};
    for (int code = 0; code < 8; ++code) EXPECT_EQ(chip_->GetAdcGainFactor(code), factors[code]);
    EXPECT_EQ(chip_->GetAdcGainFactor(8), 1);
    EXPECT_EQ(chip_->GetAdcGainFactor(255), 1);
    EXPECT_EQ(chip_->GetAdcGainFactor(0x103), 16);  // low 8 bits
    EXPECT_EQ(chip_->GetAdcGainIndex(kDefaultImage), 3);
}

TEST_F(T320ImageTest, DefaultsForTheHardwareSet) {
    std::array<uint8_t, 8> r5{};
    chip_->GetDefaultIdTableR5(r5);
    EXPECT_EQ(r5, (std::array<uint8_t, 8>{0, 0, 4, 4, 4, 4, 4, 4}));
    std::array<uint8_t, 32> r3{};
    chip_->GetDefaultIdTableR3(r3);
    EXPECT_EQ(std::count(r3.begin(), r3.end(), 12), 32);
    std::array<uint8_t, 2> tx{}, rx{};
    chip_->GetDefaultTxRange(tx, 1);
    chip_->GetDefaultRxRange(rx, 1);
    EXPECT_EQ(tx, (std::array<uint8_t, 2>{0, 79}));
    EXPECT_EQ(rx, (std::array<uint8_t, 2>{0, 127}));
    std::array<uint8_t, 6> record{};
    chip_->GetDefaultImgTuning(record);
    EXPECT_EQ(record, (std::array<uint8_t, 6>{15, 7, 20, 30, 0, 0}));
    std::array<uint8_t, 12> general;
    general.fill(7);
    chip_->GetDefaultGeneralBlock(general);
    EXPECT_EQ(std::count(general.begin(), general.end(), 0), 12);
}

TEST_F(T320ImageTest, MergeTuningCopiesTheTuningButNotTheMeasureCount) {
    Image target = kDefaultImage;
    Image source = kDefaultImage;
    chip_->SetAfeGain(source, 25);
    chip_->SetRs(source, 3);
    chip_->SetDelay(source, 9);
    chip_->SetScaling(source, 11);
    chip_->SetMeasureCnt(source, 50);
    chip_->SetSinAmp(source, 60);
    EXPECT_EQ(chip_->MergeTuning(target, source), 0);
    EXPECT_EQ(chip_->GetAfeGain(target), 25);
    EXPECT_EQ(chip_->GetRs(target), 3);
    EXPECT_EQ(chip_->GetDelay(target), 9);
    EXPECT_EQ(chip_->GetScaling(target), 11);
    EXPECT_EQ(chip_->GetMeasureCnt(target), 30);
    EXPECT_EQ(chip_->GetSinAmp(target), 47);
}

TEST_F(T320ImageTest, ShortImagesAreLeftAloneAndReadAsZero) {
    std::array<uint8_t, 20> small;
    small.fill(0xAB);
    chip_->BuildDefaultImage(small);
    chip_->SetAfeGain(small, 3);
    EXPECT_EQ(chip_->GetMeasureCnt(small), 0);
    EXPECT_EQ(std::count(small.begin(), small.end(), 0), 20);  // zeroed, no field written
}

}  // namespace
