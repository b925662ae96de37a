// A saved software text file, loaded over a disturbed image, gives back the image as it stood
// after the save in every bit the text carries, and leaves every other bit as it found it.
#include <vector>

#include "SwFixture.h"

namespace {

using namespace SwLayout;

// Bits of the image that the text file does not carry: unnamed bytes, keys written for
// information only (read but not applied), keys read but never written, calibration sets 1 and 2
// (only set 0 is written), control-word bits outside the applied masks.
struct NotCarried {
    int first, last;  // inclusive byte range
    uint8_t mask;     // bits of each byte left as found
};

std::vector<NotCarried> NotCarriedBits() {
    std::vector<NotCarried> list = {
        // Control words 0 to 3: only the bits of the applied masks (0x4219, 0x0280, 0x04D3,
        // 0x0011) come from the text; bit 7 of word 3 is checked on its own below.
        {10, 10, 0xE6},     {11, 11, 0xBD},
        {12, 12, 0x7F},     {13, 13, 0xFD},
        {14, 14, 0x2C},     {15, 15, 0xFB},
        {16, 16, 0x6E},     {17, 17, 0xFF},
        {18, 19, 0xFF},     {22, 39, 0xFF},
        {68, 101, 0xFF},    {106, 107, 0xFF},
        {110, 111, 0xFF},   {136, 159, 0xFF},
        {161, 161, 0xFF},   {186, 187, 0xFF},
        {190, 190, 0xFF},  // AloneTouchSignalLenTh: read, never written
        {194, 194, 0xFF},   {217, 229, 0xFF},
        {666, 681, 0xFF},   {689, 695, 0xFF},
        {712, 743, 0xFF},  // calibration sets 1 and 2
        {758, 763, 0xFF},   {772, 783, 0xFF},
        {807, 815, 0xFF},   {1036, 1037, 0xFF},  // USB control word: not applied
        {1044, 1067, 0xFF}, {1070, 1071, 0xFF},  // power control word: not applied
        {1075, 1075, 0xFF}, {1102, 1102, 0xFF},  // interface support byte: not applied
        {1104, 1105, 0xFF},                      // interface selection bytes: not applied
        {1111, 1111, 0xFF}, {1112, 1112, 0x11},
        {1113, 1113, 0xFF},  // serial report format: bits 0 and 4, high byte
        {1114, 1133, 0xFF}, {1210, 1229, 0xFF},
        {1231, 1245, 0xFF}, {1270, 2047, 0xFF},
    };
    for (int t = 0; t < 3; ++t) {
        const int b = ThresholdBlock(t);
        list.insert(list.end(),
                    {
                        {b + 0, b + 0, 0x5D},
                        {b + 1, b + 1, 0xDB},  // copy of word 0: bits 1, 5, 7, 10, 13
                        {b + 2, b + 2, 0xFF},
                        {b + 3, b + 3, 0xFE},  // copy of word 1: bit 8
                        {b + 4, b + 4, 0xF7},
                        {b + 5, b + 5, 0xFF},  // copy of word 2: bit 3
                        {b + 6, b + 9, 0xFF},
                        {b + 40, b + 47, 0xFF},
                        {b + 48, b + 49, 0xFF},  // WaterTh_High: read, never written
                        {b + 50, b + 67, 0xFF},
                        {b + 80, b + 81, 0xFF},
                        {b + 83, b + 83, 0xFF},
                        {b + 89, b + 89, 0xFF},  // WaterTxCorrectTime: read, never written
                        {b + 90, b + 99, 0xFF},
                        {b + 105, b + 105, 0xFF},  // WaterRxCorrectTime: read, never written
                        {b + 106, b + 115, 0xFF},
                        {b + 116, b + 116, 0xFF},  // WaterLineThRatio: read, never written
                        {b + 121, b + 143, 0xFF},
                    });
        // The last mode's water settings are followed by CheckCookL2WQInterval at 1206.
        list.push_back({ModeWater(t) + 8, t < 2 ? ModeWater(t) + 29 : 1205, 0xFF});
    }
    for (int a = 0; a < 5; ++a) {
        const int area = ActiveArea(a);
        list.insert(list.end(), {{area + 8, area + 29, 0xFF}, {area + 32, area + 39, 0xFF}});
    }
    return list;
}

using SwRoundTrip = SwFixture;

TEST_F(SwRoundTrip, LoadingTheSavedTextRestoresEveryCarriedBit) {
    CParam_SW& sw = Set();
    // Some values away from the defaults, all within their ranges.
    sw.SetByte(kNumsOfThresholds, 3);
    sw.SetWord(ThresholdBlock(1) + Block::kAvgTouchSignal, 0);
    sw.SetByte(ThresholdBlock(2) + Block::kSensitivityLevel, 0xFD);  // -3
    sw.SetWord(ThresholdBlock(0) + Block::kCtrlCopy0, 0x24A2);
    sw.SetByte(ActiveArea(2) + kAreaAttribute, 0x85);
    sw.SetWord(ActiveArea(2), 100);
    sw.SetWord(kCtrlFlags0, 0x4219);
    // Bits 7 to 15 of the notification word have keys that are read but never written, so a
    // load clears them; this image has none.
    sw.SetWord(kNotifyCtrl, 0x0041);
    sw.SetWord(kTempParams + 6, 4321);
    sw.SetByte(kNoiseNodeCntRatio, 16);  // the default image leaves it out of range
    sw.UpdateCheckSum();
    std::string console;
    Save(&console);
    EXPECT_EQ(console.find("range error"), std::string::npos) << console;
    const std::vector<uint8_t> saved(sw.Image(), sw.Image() + sw.ImageLength());

    std::vector<uint8_t> perturbed = saved;
    for (std::size_t i = 4; i < perturbed.size(); ++i) perturbed[i] ^= 0x5A;
    // Calibration sets 1 and 2 stay within their resolution class, so that the check after
    // loading leaves them alone.
    for (int i = CalibrationSet(1); i < CalibrationSet(3); ++i) {
        perturbed[static_cast<std::size_t>(i)] = saved[static_cast<std::size_t>(i)] ^ 0x01;
    }
    std::copy(perturbed.begin(), perturbed.end(), sw.Image());
    std::ifstream in(TextPath(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::string out = Load(text);
    EXPECT_EQ(out.find("Clamp!"), std::string::npos) << out;
    EXPECT_EQ(out.find("resolution not match"), std::string::npos) << out;

    std::vector<uint8_t> keep(saved.size(), 0);  // bits that keep the disturbed value
    for (const NotCarried& n : NotCarriedBits()) {
        for (int i = n.first; i <= n.last; ++i) keep[static_cast<std::size_t>(i)] |= n.mask;
    }
    for (std::size_t i = 4; i < saved.size(); ++i) {
        uint8_t expected = static_cast<uint8_t>((saved[i] & ~keep[i]) | (perturbed[i] & keep[i]));
        if (i == static_cast<std::size_t>(kCtrlFlags0 + 6)) expected |= 0x80;  // checked below
        for (int a = 0; a < 5; ++a) {
            // Active area attributes: loading only adds the bits the text shows.
            if (i == static_cast<std::size_t>(ActiveArea(a) + kAreaAttribute)) {
                expected = static_cast<uint8_t>(perturbed[i] | saved[i]);
            }
        }
        EXPECT_EQ(sw.Byte(static_cast<int>(i)), expected) << "image byte " << i;
    }
    // Disturbed, word 2 has REPORT_PALM_GROUP (bit 12), so loading sets PALM_MERGE_LARGE_GROUP.
    ASSERT_TRUE(sw.Word(CtrlFlags(2)) & kCtrl2ReportPalmGroup);
    EXPECT_TRUE(sw.Word(CtrlFlags(3)) & kCtrl3PalmMergeLargeGroup);
    EXPECT_EQ(sw.Word(2), sw.CalcCheckSum());
}

}  // namespace
