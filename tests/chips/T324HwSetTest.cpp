// The K7P84's default hardware set through its register and text files: every T324 item of the
// six mode images reads back into the same image. The one exception is the water-line images' ADC
// gain code 1, below the 2~4 the files accept: loading the text raises it to 2, with a message.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "HwSetFixture.h"
#include "chips/CSlave.h"
#include "chips/t324/T324Map.h"
#include "params/CParam_HW.h"

namespace {

using T324HwSetTest = HwSetFixture;

// Range messages about the chip's items: keys made of a group name, "_" and a field.
std::string RangeMessages(const std::string& out) {
    std::string found;
    for (std::size_t at = out.find("range error"); at != std::string::npos;
         at = out.find("range error", at + 1)) {
        const std::size_t begin =
            out.rfind('\n', at) == std::string::npos ? 0 : out.rfind('\n', at) + 1;
        const std::string line = out.substr(begin, out.find('\n', at) - begin);
        for (const char* group : {"Noise_", "WLRx_", "WLTx_", "Img_", "VKey_", "Rsv_"}) {
            if (line.rfind(group, 0) == 0) found += line + "\n";
        }
    }
    return found;
}

TEST_F(T324HwSetTest, DefaultModeImagesGoThroughTheFiles) {
    CParam_HW& hw = DefaultSet(176);
    const int frequencies = std::min<int>(hw.NumsOfFreq(), 5);
    ASSERT_GE(frequencies, 1);
    std::vector<std::vector<uint8_t>> before;
    for (int f = 0; f < frequencies; ++f) {
        for (int m = 0; m < 6; ++m) {
            const std::span<uint8_t> image = hw.ModeImage(f, m);
            before.emplace_back(image.begin(), image.end());
        }
    }
    std::string out = Captured([&] {
        EXPECT_EQ(hw.SaveTxtFile(), 0);
        EXPECT_EQ(hw.SaveRegFile(), 0);
    });
    EXPECT_EQ(RangeMessages(out), "");
    // Every field the register file reads changed: what comes back is what the files hold.
    const chipmap::ChipProfile& map = Slave_T324::T324Profile();
    for (int f = 0; f < frequencies; ++f) {
        for (int m = 0; m < 6; ++m) {
            const std::span<uint8_t> image = hw.ModeImage(f, m);
            for (const chipmap::Field& field : map.fields) {
                if (field.load == chipmap::Load::Yes)
                    chipmap::EncodeField(field, chipmap::DecodeField(field, image) ^ 1, image);
            }
        }
    }
    out = Captured([&] { EXPECT_EQ(hw.LoadRegFile(), 1); });
    EXPECT_EQ(RangeMessages(out), "");
    out = Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    std::string expected;
    for (int f = 0; f < frequencies; ++f) {
        expected += "WLRx_ADCGain range error, value = 1, range = 2~4, Clamp!\n";
        expected += "WLTx_ADCGain range error, value = 1, range = 2~4, Clamp!\n";
    }
    EXPECT_EQ(RangeMessages(out), expected);
    for (int f = 0; f < frequencies; ++f) {
        for (int m = 0; m < 6; ++m) {
            std::vector<uint8_t> want = before[static_cast<std::size_t>(6 * f + m)];
            if (m == CSlave::kGroupWLRx || m == CSlave::kGroupWLTx) Chip().SetAdcGain(want, 2);
            const std::span<uint8_t> image = hw.ModeImage(f, m);
            EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.end()), want)
                << "frequency " << f << " group " << m;
        }
    }
}

}  // namespace
