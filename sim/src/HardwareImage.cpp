// The hardware set a simulated controller leaves the factory with: the default layout of every
// field, the profile's chips and wired channel runs, three working frequencies, and for every
// frequency six mode images (chip register images) as the factory tuned them. Every value lies in
// the range the configuration tools accept, so the set goes through their text files unchanged.
#include <algorithm>
#include <array>

#include "Images.h"

namespace sim {
namespace {

using RegisterImage = std::array<uint8_t, 68>;

struct RegisterWrite {
    int reg;
    uint8_t value;
};

// A bit field of a register image: `bits` bits from bit `shift` of register `reg`.
struct Field {
    int reg, shift, bits;
};

void setField(uint8_t* image, Field f, int value) {
    const auto mask = static_cast<uint8_t>(((1u << f.bits) - 1u) << f.shift);
    image[f.reg] = static_cast<uint8_t>((image[f.reg] & ~mask) | ((value << f.shift) & mask));
}

// What the factory image needs to know of each chip: its power-on register image, the registers
// each scan group changes, where the prescaler and the two switch bits lie, and its defaults for
// the channel runs and identification tables.
struct ChipFacts {
    RegisterImage defaults;
    std::array<std::vector<RegisterWrite>, 3> groupWrites;  // Noise, WLRx, WLTx; others none
    Field phase1;
    std::vector<Field> swp, swn;  // every copy of each switch bit
    std::array<uint8_t, 8> idTableR5;
    uint8_t idTableR3;
    uint8_t txLast, rxLast;  // of every chip (T3300: see usableRuns)
};

// Each chip's power-on register image (register 0 first) and the registers each scan group
// changes in it.
// clang-format off
const ChipFacts& t320() {
    static const ChipFacts facts{
        {0x73, 0xE5, 0xCD, 0x5E, 0x60, 0x00, 0x80, 0x74, 0x08, 0x80, 0x00, 0x8F, 0xD2, 0x00, 0xC4, 0x00,
         0x80, 0x11, 0xAA, 0xAA, 0x4A, 0x0C, 0x15, 0x00, 0x00, 0x00, 0x2F, 0x00, 0x20, 0x00, 0x00, 0x00,
         0x28, 0xCC, 0xEA, 0x00, 0x80, 0xD7, 0x00, 0x00, 0x17, 0x17, 0x17, 0x17, 0x00, 0x00, 0x00, 0x00,
         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
         0x01, 0xB5, 0x59, 0x05},
        {{{{4, 0x63}, {14, 0xC0}},
          {{2, 0xCD}, {3, 0x6D}, {7, 0xCD}, {8, 0x08}, {10, 0x00}, {11, 0x8D}, {14, 0xC6},
           {16, 0xC4}, {17, 0x11}, {18, 0xAA}, {22, 0x15}, {25, 0x00}, {26, 0x32}, {28, 0x20},
           {65, 0xA1}, {66, 0x63}},
          {{2, 0xCD}, {3, 0x6D}, {7, 0xCD}, {8, 0x23}, {10, 0x00}, {11, 0x85}, {14, 0xC7},
           {16, 0xC4}, {17, 0x11}, {18, 0xAA}, {22, 0x02}, {25, 0x00}, {26, 0x27}, {28, 0x20},
           {65, 0xA1}, {66, 0x59}}}},
        {12, 0, 6}, {{14, 6, 1}}, {{14, 7, 1}},
        {0, 0, 4, 4, 4, 4, 4, 4}, 12,
        79, 127,
    };
    return facts;
}

const ChipFacts& t324() {
    static const ChipFacts facts{
        {0x00, 0x00, 0x00, 0x00, 0x77, 0x1D, 0x74, 0x1E, 0x0F, 0x40, 0x13, 0x19, 0x72, 0x00, 0x54, 0x00,
         0x54, 0x01, 0x04, 0x88, 0xB1, 0x00, 0xD7, 0x3A, 0x02, 0x00, 0xAF, 0x1A, 0x0A, 0x00, 0x00, 0x00,
         0x88, 0x00, 0x00, 0x28, 0x6C, 0xE0, 0x0A, 0x07, 0x44, 0xD7, 0x00, 0x00, 0x17, 0x17, 0x17, 0x17,
         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x47, 0x47},
        // The water-line images run with ADC gain code 2 (reg 6 bits 7-5), the lowest code the
        // tools offer for a tuned set.
        {{{{9, 0x43}, {20, 0xB0}, {22, 0x57}},
          {{6, 0x41}, {8, 0x14}, {9, 0x20}, {10, 0x33}, {11, 0x1D}, {17, 0x13}, {18, 0x0A},
           {20, 0x81}, {21, 0x00}, {22, 0x64}, {23, 0x75}, {24, 0x02}},
          {{6, 0x41}, {8, 0x14}, {9, 0x20}, {10, 0x33}, {11, 0x1D}, {17, 0xDC}, {18, 0x08},
           {20, 0x81}, {21, 0x00}, {22, 0x64}, {23, 0x75}, {24, 0x02}}}},
        {12, 0, 5}, {{20, 4, 1}}, {{20, 5, 1}},
        {8, 8, 8, 8, 8, 8, 8, 8}, 8,
        47, 83,
    };
    return facts;
}

const ChipFacts& t3300() {
    static const ChipFacts facts{
        {0x73, 0xE5, 0xCD, 0x3C, 0x5E, 0x74, 0x8F, 0xD2, 0x40, 0x00, 0x64, 0x01, 0x80, 0x00, 0x01, 0x00,
         0x80, 0x11, 0x00, 0xAA, 0x8A, 0x0C, 0x04, 0x00, 0x00, 0x00, 0x2F, 0x00, 0x80, 0x00, 0x00, 0x74,
         0x9B, 0xC8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
         0x28, 0xCC, 0xEA, 0x47, 0x04, 0xD7, 0x00, 0x00, 0x17, 0x17, 0x17, 0x17, 0x00, 0x00, 0x00, 0x00,
         0x00, 0xF5, 0x4E, 0x0F},
        {{{{8, 0x43}},
          {{3, 0xA2}, {4, 0xDE}, {5, 0x71}, {6, 0x0F}, {11, 0x13}, {22, 0x04}, {25, 0x00},
           {26, 0x0E}, {31, 0x71}, {32, 0x02}, {65, 0xE4}, {66, 0x75}},
          {{3, 0xA3}, {4, 0xDE}, {5, 0x71}, {6, 0x0F}, {11, 0xDC}, {22, 0x02}, {25, 0x00},
           {26, 0x0E}, {31, 0x71}, {32, 0x02}, {65, 0xE4}, {66, 0x75}}}},
        {7, 0, 6}, {{3, 2, 1}, {32, 3, 1}}, {{3, 3, 1}, {32, 4, 1}},
        {3, 5, 12, 12, 12, 12, 12, 12}, 5,
        63, 99,
    };
    return facts;
}
// clang-format on

const ChipFacts& factsOf(ChipModel model) {
    switch (model) {
        case ChipModel::T320:
            return t320();
        case ChipModel::T324:
            return t324();
        default:
            return t3300();
    }
}

// The channels a chip can use: the T3300 controllers with a narrower first chip (158, 166) and
// those whose first Rx pin is not wired differ from the chip's plain limits.
ChipRange usableRuns(const Profile& p, int chip) {
    const ChipFacts& facts = factsOf(p.chip);
    ChipRange r{0, facts.txLast, 0, facts.rxLast};
    if (p.chip != ChipModel::T3300) return r;
    const bool narrow = p.typeCode == 158 || (p.typeCode == 166 && chip == 0);
    r.txEnd = narrow ? 55 : 63;
    r.rxStart = narrow ? 0 : 1;
    r.rxEnd = narrow ? 79 : 99;
    return r;
}

void setBits(Bytes& image, int at, int first, int last) {
    for (int bit = first; bit <= last; ++bit)
        image[at + bit / 8] |= static_cast<uint8_t>(1 << (bit % 8));
}

constexpr int kModeImageSize = 68;
constexpr int kModeImages = 2;  // in a frequency block
constexpr int kTuningRecords = 410;
constexpr int kFreqCtrl = 1;
constexpr uint8_t kFactoryFreqCtrl = 0x0C;  // both water-line images in low-gain mode

// Mode image m of a frequency block: the chip's group image with the block's prescaler, and the
// switch bits the block's FREQCTRL byte asks for (low-gain mode opens the switches).
void buildModeImage(uint8_t* image, const ChipFacts& facts, int group, int preScaler) {
    std::copy(facts.defaults.begin(), facts.defaults.end(), image);
    if (group < 3)
        for (const RegisterWrite& w : facts.groupWrites[static_cast<std::size_t>(group)])
            image[w.reg] = w.value;
    setField(image, facts.phase1, preScaler);
    const bool wlrx = group == 1, wltx = group == 2;
    if (wlrx || wltx) {
        const bool lowGain = (kFactoryFreqCtrl & (wltx ? 0x04 : 0x08)) != 0;
        for (Field f : facts.swp) setField(image, f, lowGain ? 0 : 1);
    }
    if (group == 3 || group == 4) {
        const bool lowGain = (kFactoryFreqCtrl & (group == 3 ? 0x02 : 0x10)) != 0;
        for (Field f : facts.swp) setField(image, f, lowGain ? 0 : 1);
        for (Field f : facts.swn) setField(image, f, lowGain ? 0 : 1);
    }
}

void buildFrequencyBlock(Bytes& image, const Profile& p, int f) {
    const int block = hw::kFreqBlock + hw::kFreqBlockSize * f;
    std::fill(image.begin() + block, image.begin() + block + hw::kFreqBlockSize, 0);
    const int preScaler = 18 + 2 * f;
    image[block + hw::kBlockClkSrc] = 0;
    image[block + kFreqCtrl] = kFactoryFreqCtrl;
    for (int m = 0; m < 6; ++m)
        buildModeImage(&image[block + kModeImages + kModeImageSize * m], factsOf(p.chip), m,
                       preScaler);
    // Ten image tuning records (delay, RS, AFE gain, measure count, gain E, spare) and their
    // maxima as the frequency's summary.
    for (int k = 0; k < 10; ++k) {
        const int record = block + kTuningRecords + 6 * k;
        image[record + 0] = 15;
        image[record + 1] = 7;
        image[record + 2] = 20;
        image[record + 3] = 30;
    }
    image[block + hw::kBlockPreScaler] = static_cast<uint8_t>(preScaler);
    image[block + 471] = 0;   // ThresholdIndex
    image[block + 472] = 0;   // CalibrationIndex
    image[block + 473] = 15;  // Img_Delay
    image[block + 474] = 7;   // Img_RS
    image[block + 475] = 20;  // Img_AFEGain
    image[block + 476] = 30;  // Img_MeasureCnt
    image[block + hw::kBlockFreqDivider] = p.typeCode == 176 ? 10 : 3;
}

}  // namespace

std::array<uint8_t, 68> chipPowerOnImage(ChipModel model, int preScaler) {
    const ChipFacts& facts = factsOf(model);
    std::array<uint8_t, 68> image{};
    std::copy(facts.defaults.begin(), facts.defaults.end(), image.begin());
    setField(image.data(), facts.phase1, preScaler);
    return image;
}

Bytes factoryHardware(const Profile& p) {
    const ChipFacts& facts = factsOf(p.chip);
    Bytes image = emptyImage(kHardware, p.hwVersion);
    put16(image, hw::kScanCtrl, p.scanCtrl);
    put16(image, hw::kScanCtrl + 2, p.scanCtrl);  // idle scan control
    std::copy(facts.idTableR5.begin(), facts.idTableR5.end(), image.begin() + 32);
    std::fill_n(image.begin() + 2554, 32, facts.idTableR3);
    put16(image, hw::kXDimension, 3820);
    put16(image, hw::kYDimension, 2150);
    image[hw::kRxChips] = static_cast<uint8_t>(p.chipCount);
    image[hw::kTxChips] = static_cast<uint8_t>(p.chipCount);
    image[hw::kNumsOfFreq] = 3;
    image[hw::kFreqStartIndex] = 0;
    // Wired runs for the chips there are (unless the wiring is still to be found); the chip's
    // usable runs for the others.
    for (int i = 0; i < 4; ++i) {
        const bool wired = i < p.chipCount && !p.panel.wiringUnknown;
        const ChipRange r = wired ? p.ranges[i] : usableRuns(p, i);
        image[hw::kTxStart + 2 * i] = r.txStart;
        image[hw::kTxStart + 2 * i + 1] = r.txEnd;
        image[hw::kRxStart + 2 * i] = r.rxStart;
        image[hw::kRxStart + 2 * i + 1] = r.rxEnd;
    }
    const int tx = hw::txCount(image);
    for (int k = 0; k < 10; ++k) image[hw::kPhaseTarget + k] = static_cast<uint8_t>(tx * k / 10);
    put16(image, 74, 10);  // OpenScaling
    put16(image, 76, 10);  // MutualScaling
    image[78] = 3;         // StartSkipCnt
    image[79] = 3;         // HopFreqSkipCnt
    image[80] = 200;       // StrayUpdatWaiteTime
    image[81] = 100;       // StrayUpdatTime
    image[82] = 6;         // ShortDelay
    image[83] = 4;         // SensorTestScaling
    put16(image, 84, 0);   // PowerOnDelayTime
    // No virtual keys: their runs cover the first chip's usable channels.
    const ChipRange keys = usableRuns(p, 0);
    image[86] = keys.txStart;
    image[87] = keys.txEnd;
    image[88] = keys.rxStart;
    image[89] = keys.rxEnd;
    image[90] = 0;
    image[91] = 0;
    for (int f = 0; f < 5; ++f) buildFrequencyBlock(image, p, f);

    std::fill(image.begin() + hw::kTxEnable, image.begin() + hw::kChannelCtrl + 1, 0);
    setBits(image, hw::kTxEnable, 0, std::min(tx, 160) - 1);
    setBits(image, hw::kRxEnable, 0, std::min(hw::rxCount(image), 256) - 1);
    image[hw::kChannelCtrl] = 1;
    // Remap areas, key areas (with their count) and gray ranges: none.
    std::fill(image.begin() + 2640, image.begin() + 3354, 0);
    renewImageChecksum(image);
    return image;
}

}  // namespace sim
