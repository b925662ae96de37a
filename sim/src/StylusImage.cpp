// The stylus set a simulated controller leaves the factory with, on the models whose hardware set
// uses a stylus: the default layout of every field, two stylus working frequencies, two stylus
// threshold modes, and for every frequency the register images of the five stylus scan groups
// (detection and raw scans, Rx and Tx, and a spare) as the factory set them. Every value lies in
// the range the configuration tools accept, so the set goes through their text files unchanged.
#include <algorithm>
#include <utility>
#include <vector>

#include "Images.h"

namespace sim {
namespace {

using Writes = std::vector<std::pair<int, uint8_t>>;

constexpr int kStylusPreScaler = 14;
constexpr int kFrequencies = 3;
constexpr int kFreqBlock = 128, kFreqBlockSize = 384, kModeImages = 44, kModeImageSize = 68;
constexpr int kThresholdBlock = 1536, kThresholdBlockSize = 64;

// The registers each stylus group changes in the chip's power-on image (at prescaler 14): every
// group runs without delay at the largest RS and a fixed AFE gain, the detection groups (0, 1, 4)
// measure 63 cycles and the raw groups 22, the Tx groups (1, 3) sense the Tx lines.
// clang-format off
std::array<Writes, 5> t320Groups() {
    const Writes det = {{3, 0x7F}, {4, 0x47}, {7, 0xEA}, {8, 0x08}, {11, 0x00}, {14, 0xC2}, {21, 0x0C}, {22, 0x15}};
    const Writes detTx = {{3, 0x7F}, {4, 0x47}, {7, 0xEA}, {8, 0x23}, {11, 0x00}, {14, 0xC3}, {21, 0x0C}, {22, 0x04}};
    const Writes raw = {{3, 0x56}, {4, 0x47}, {7, 0xEA}, {8, 0x08}, {11, 0x00}, {14, 0xC2}, {21, 0x08}, {22, 0x15}};
    const Writes rawTx = {{3, 0x56}, {4, 0x47}, {7, 0xEA}, {8, 0x23}, {11, 0x00}, {14, 0xC3}, {21, 0x08}, {22, 0x04}};
    return {det, detTx, raw, rawTx, det};
}

std::array<Writes, 5> t324Groups() {
    const Writes det = {{5, 0xED}, {6, 0x8A}, {7, 0x3F}, {8, 0x00}, {9, 0x47}, {10, 0x03}, {20, 0xB0}, {22, 0x57}};
    Writes detTx = det;
    detTx.push_back({17, 0x04});
    const Writes raw = {{5, 0xED}, {6, 0x6A}, {7, 0x16}, {8, 0x00}, {9, 0x47}, {10, 0x03}, {20, 0xB0}, {22, 0x57}};
    Writes rawTx = raw;
    rawTx.push_back({17, 0x04});
    return {det, detTx, raw, rawTx, det};
}

std::array<Writes, 5> t3300Groups() {
    const Writes common = {{5, 0xEA}, {6, 0x00}, {8, 0x47}, {12, 0x00}, {14, 0x00}, {22, 0x04}, {25, 0x00}, {26, 0x2F}, {31, 0xEA}, {65, 0x75}};
    auto with = [&](Writes own) {
        own.insert(own.begin(), common.begin(), common.end());
        return own;
    };
    const Writes det = with({{3, 0x4E}, {4, 0x3F}, {11, 0x01}, {32, 0x1C}});
    const Writes detTx = with({{3, 0x4F}, {4, 0x3F}, {11, 0xC4}, {32, 0x1C}});
    const Writes raw = with({{3, 0x3E}, {4, 0x16}, {11, 0x01}, {32, 0x1B}});
    const Writes rawTx = with({{3, 0x3F}, {4, 0x16}, {11, 0xC4}, {32, 0x1B}});
    return {det, detTx, raw, rawTx, det};
}
// clang-format on

std::array<Writes, 5> groupsOf(ChipModel model) {
    switch (model) {
        case ChipModel::T320:
            return t320Groups();
        case ChipModel::T324:
            return t324Groups();
        default:
            return t3300Groups();
    }
}

// The sine amplitude of a group image: the T324 drives with a fixed amplitude of its own.
uint8_t sinAmplitude(ChipModel model, const std::array<uint8_t, 68>& image) {
    return model == ChipModel::T324 ? 10 : static_cast<uint8_t>(image[26] & 0x7F);
}

void fill(Bytes& image, int at, std::initializer_list<uint8_t> values) {
    std::copy(values.begin(), values.end(), image.begin() + at);
}

void buildFrequencyBlock(Bytes& image, const Profile& p, int f) {
    const int block = kFreqBlock + kFreqBlockSize * f;
    fill(image, block, {0, 0, kStylusPreScaler, 3});  // clock, FREQCTRL, prescaler, divider
    for (int i = 0; i < 3; ++i) {
        fill(image, block + 4 + 4 * i, {14, 10});   // Tx RS, AFE gain
        fill(image, block + 16 + 4 * i, {14, 10});  // Rx RS, AFE gain
    }
    const std::array<Writes, 5> groups = groupsOf(p.chip);
    for (int g = 0; g < 5; ++g) {
        std::array<uint8_t, 68> regs = chipPowerOnImage(p.chip, kStylusPreScaler);
        for (const auto& [reg, value] : groups[static_cast<std::size_t>(g)]) regs[reg] = value;
        std::copy(regs.begin(), regs.end(),
                  image.begin() + block + kModeImages + kModeImageSize * g);
    }
}

}  // namespace

Bytes factoryStylus(const Profile& p) {
    Bytes image = emptyImage(kStylus, p.penVersion);
    put16(image, 10, 0);          // hardware control word
    image[12] = 1;                // styluses supported
    fill(image, 64, {2, 1, 63});  // frequencies, automatic gain control, beacon wave count
    fill(image, 68, {kStylusPreScaler, kStylusPreScaler, kStylusPreScaler, 0, 21});
    put16(image, 74, 20);                   // Tx delay, us
    fill(image, 82, {1, 1, 6, 18, 16, 0});  // scan counts, long beacon round, L-pen chip
    fill(image, 88, {0, 0, 0, 0});          // L-pen pins
    for (int f = 0; f < kFrequencies; ++f) buildFrequencyBlock(image, p, f);
    image[67] = sinAmplitude(p.chip, chipPowerOnImage(p.chip, kStylusPreScaler));

    put16(image, 1280, 0x0C6E);  // stylus control word 0; words 1-4 clear
    for (int n = 1; n < 5; ++n) put16(image, 1280 + 2 * n, 0);
    put16(image, 1290, 250);  // delay time
    const uint16_t thresholds[] = {300, 1500, 10, 200, 350, 8, 100, 200, 500, 100};
    for (int i = 0; i < 10; ++i) put16(image, 1304 + 2 * i, thresholds[i]);
    fill(image, 1336, {6, 8, 8, 3});
    const uint16_t z[] = {0, 0, 400, 2800, 1, 1023, 0, 5};
    for (int i = 0; i < 8; ++i) put16(image, 1352 + 2 * i, z[i]);
    fill(image, 1372, {14, 10, 50});
    put16(image, 1376, 4096);
    put16(image, 1378, 4096);
    fill(image, 1386, {1, 0, 2, 0, 2, 6, 3, 4, 3, 3, 0, 1, 2, 10, 8, 3, 10, 29, 20, 27});
    put16(image, 1406, 0);
    image[1408] = 0;
    fill(image, 1416, {24, 24, 24, 24, 0, 0, 0, 0, 100, 100, 30, 30});
    put16(image, 1436, 0);
    std::fill_n(image.begin() + 1440, 8, 1);  // draw filter
    std::fill_n(image.begin() + 1456, 8, 1);  // hover filter
    fill(image, 1480, {5, 5, 80});
    image[pen::kNumsOfThresholds] = 2;
    for (int t = 0; t < 4; ++t) {
        const int b = kThresholdBlock + kThresholdBlockSize * t;
        fill(image, b, {29, 20, 27, 14});
        put16(image, b + 4, 400);
        put16(image, b + 6, 300);
        put16(image, b + 8, 200);
        fill(image, b + 10, {0, 3, 2, 2, 10});
    }
    std::fill_n(image.begin() + 1792, 24, 0);  // research parameters
    renewImageChecksum(image);
    return image;
}

}  // namespace sim
