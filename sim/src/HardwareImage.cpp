#include "Images.h"

#include <algorithm>

namespace sim {
namespace {

void setBits(Bytes& image, int at, int first, int last) {
    for (int bit = first; bit <= last; ++bit)
        image[at + bit / 8] |= static_cast<uint8_t>(1 << (bit % 8));
}

}  // namespace

Bytes factoryHardware(const Profile& p) {
    Bytes image = emptyImage(kHardware, p.hwVersion);
    put16(image, hw::kScanCtrl, p.scanCtrl);
    put16(image, hw::kXDimension, 3820);
    put16(image, hw::kYDimension, 2150);
    image[hw::kRxChips] = static_cast<uint8_t>(p.chipCount);
    image[hw::kTxChips] = static_cast<uint8_t>(p.chipCount);
    image[hw::kNumsOfFreq] = 3;
    image[hw::kFreqStartIndex] = 0;
    for (int i = 0; i < 4; ++i) {
        const ChipRange r = i < p.chipCount ? p.ranges[i] : ChipRange{};
        image[hw::kTxStart + 2 * i] = r.txStart;
        image[hw::kTxStart + 2 * i + 1] = r.txEnd;
        image[hw::kRxStart + 2 * i] = r.rxStart;
        image[hw::kRxStart + 2 * i + 1] = r.rxEnd;
    }
    const int tx = hw::txCount(image);
    for (int k = 0; k < 10; ++k) image[hw::kPhaseTarget + k] = static_cast<uint8_t>(tx * k / 10);
    // Working frequencies 0..4: clock 0 and prescalers 18, 20, 22, 24, 26 (zeroed mode images).
    for (int f = 0; f < 5; ++f) {
        const int block = hw::kFreqBlock + hw::kFreqBlockSize * f;
        std::fill(image.begin() + block, image.begin() + block + hw::kFreqBlockSize, 0);
        image[block + hw::kBlockClkSrc] = 0;
        image[block + 1] = 0x0C;
        image[block + hw::kBlockPreScaler] = static_cast<uint8_t>(18 + 2 * f);
        image[block + 473] = 15;  // Img_Delay
        image[block + 474] = 7;   // Img_RS
        image[block + 475] = 20;  // Img_AFEGain
        image[block + 476] = 30;  // Img_MeasureCnt
        image[block + hw::kBlockFreqDivider] = p.typeCode == 176 ? 10 : 3;
    }
    std::fill(image.begin() + hw::kTxEnable, image.begin() + hw::kChannelCtrl + 1, 0);
    setBits(image, hw::kTxEnable, 0, std::min(tx, 160) - 1);
    setBits(image, hw::kRxEnable, 0, std::min(hw::rxCount(image), 256) - 1);
    image[hw::kChannelCtrl] = 1;
    renewImageChecksum(image);
    return image;
}

}  // namespace sim
