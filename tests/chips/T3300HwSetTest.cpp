// The T3300 controllers' default hardware set through its text and register files: every chip
// item is written in range and reads back into the same image, on every model.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "HwSetFixture.h"
#include "chips/CSlave.h"
#include "chips/t3300/T3300Map.h"
#include "params/CParam_HW.h"

namespace {

class T3300HwSetTest : public HwSetFixture, public testing::WithParamInterface<int> {};

// Range messages about the chip's items: keys made of a group name, "_" and a field.
std::string ChipRangeMessages(const std::string& out) {
    std::string found;
    std::size_t at = 0;
    while ((at = out.find("range error", at)) != std::string::npos) {
        const std::size_t begin =
            out.rfind('\n', at) == std::string::npos ? 0 : out.rfind('\n', at) + 1;
        const std::string line = out.substr(begin, out.find('\n', at) - begin);
        for (const char* group : {"Noise_", "WLRx_", "WLTx_", "Img_", "VKey_", "Rsv_"}) {
            if (line.rfind(group, 0) == 0) found += line + "\n";
        }
        at += 11;
    }
    return found;
}

// The rest of the default set is not this chip's business; its mode images are. The register
// file and then the text file are loaded, as the commands do.
TEST_P(T3300HwSetTest, DefaultModeImagesGoThroughTheFilesUnchanged) {
    CParam_HW& hw = DefaultSet(GetParam());
    const int frequencies = std::min<int>(hw.NumsOfFreq(), 5);
    ASSERT_GE(frequencies, 1);
    std::vector<std::vector<uint8_t>> before;
    for (int f = 0; f < frequencies; ++f) {
        for (int m = 0; m < 6; ++m) {
            const std::span<uint8_t> image = hw.ModeImage(f, m);
            before.emplace_back(image.begin(), image.end());
        }
    }
    EXPECT_EQ(Chip().GetSinAmp(hw.ModeImage(0, CSlave::kGroupWLTx)), 14);

    std::string out = Captured([&] {
        EXPECT_EQ(hw.SaveTxtFile(), 0);
        EXPECT_EQ(hw.SaveRegFile(), 0);
    });
    EXPECT_EQ(ChipRangeMessages(out), "");

    // Every field the register file reads changed: what comes back is what the files hold.
    const chipmap::ChipProfile& map = Slave_T3300::T3300Profile();
    for (int f = 0; f < frequencies; ++f) {
        for (int m = 0; m < 6; ++m) {
            const std::span<uint8_t> image = hw.ModeImage(f, m);
            for (const chipmap::Field& field : map.fields) {
                if (field.load == chipmap::Load::Yes)
                    chipmap::EncodeField(field, chipmap::DecodeField(field, image) ^ 1, image);
            }
        }
    }
    ASSERT_NE(std::vector<uint8_t>(hw.ModeImage(0, 0).begin(), hw.ModeImage(0, 0).end()),
              before[0]);
    out = Captured([&] { EXPECT_EQ(hw.LoadRegFile(), 1); });
    EXPECT_EQ(ChipRangeMessages(out), "");
    out = Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(ChipRangeMessages(out), "");
    for (int f = 0; f < frequencies; ++f) {
        for (int m = 0; m < 6; ++m) {
            const std::span<uint8_t> image = hw.ModeImage(f, m);
            EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.end()),
                      before[static_cast<std::size_t>(6 * f + m)])
                << "frequency " << f << " group " << m;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, T3300HwSetTest, testing::Values(94, 158, 164, 166, 172));

}  // namespace
