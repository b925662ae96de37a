// What a sensing chip measures when the firmware triggers a register-level test: the chip's own
// configuration registers decide between a calibration reading, noise and the drive signal, and the
// result lands where the chip keeps its data (Rx words little-endian in bank 2, Tx words big-endian
// from the last Tx channel down in bank 3).
//
// The panel is uniform and every line wired: the values depend on the registers and on the
// channel's distance from the middle of the chip (a few per cent), not on a sensor layout.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ChipBanks.h"

namespace sim {

namespace {

struct Bits {
    int reg, high, low;
};

// Where each chip model keeps the fields a measurement depends on, and its data.
struct ChipLayout {
    Bits caloe, readSel, waveN, rshift, gainLow, rs, sinOffset;
    int gainTopReg, gainTopBit;  // the AFE gain's bit 4; -1 when the field is 5 bits in one place
    int rxFirst, rxChannels, txFirst, txChannels;
    double calHigh, calLow, calScale;
};

// clang-format off
constexpr ChipLayout kT320{
    .caloe = {14, 3, 3}, .readSel = {4, 3, 0}, .waveN = {3, 5, 0}, .rshift = {4, 7, 4},
    .gainLow = {7, 3, 0}, .rs = {7, 7, 4}, .sinOffset = {25, 7, 0}, .gainTopReg = 11,
    .gainTopBit = 7, .rxFirst = 16, .rxChannels = 128, .txFirst = 16, .txChannels = 80,
    .calHigh = 212, .calLow = 44, .calScale = 2880};
constexpr ChipLayout kT324{
    .caloe = {20, 1, 1}, .readSel = {9, 3, 0}, .waveN = {7, 5, 0}, .rshift = {9, 7, 4},
    .gainLow = {6, 4, 0}, .rs = {5, 7, 4}, .sinOffset = {21, 7, 0}, .gainTopReg = -1,
    .gainTopBit = -1, .rxFirst = 0, .rxChannels = 84, .txFirst = 0, .txChannels = 48,
    .calHigh = 236, .calLow = 27, .calScale = 5578};
constexpr ChipLayout kT3300{
    .caloe = {14, 1, 1}, .readSel = {8, 3, 0}, .waveN = {4, 5, 0}, .rshift = {8, 7, 4},
    .gainLow = {5, 3, 0}, .rs = {5, 7, 4}, .sinOffset = {25, 7, 0}, .gainTopReg = 6,
    .gainTopBit = 7, .rxFirst = 0, .rxChannels = 100, .txFirst = 0, .txChannels = 64,
    .calHigh = 236, .calLow = 27, .calScale = 3720};
// clang-format on

const ChipLayout& layoutOf(ChipModel model) {
    switch (model) {
        case ChipModel::T320:
            return kT320;
        case ChipModel::T324:
            return kT324;
        case ChipModel::T3300:
            break;
    }
    return kT3300;
}

int field(const uint8_t* config, Bits b) {
    const int width = b.high - b.low + 1;
    return (config[b.reg] >> b.low) & ((1 << width) - 1);
}

// Calibration offset in counts; the slope gives the chip's calibration value 100.
constexpr double kCalOffset = 300.0;
// Signal scale: the AFE swing of a middle cell at RS 8 and gain code 20, and the counts per swing
// unit and measurement.
constexpr double kSwing = 12.0;
constexpr double kCountsPerSwing = 64.0;

uint16_t clampWord(double v) {
    return static_cast<uint16_t>(std::clamp(v, 0.0, 32767.0));
}

double edgeFactor(int channel, int channels) {
    const double middle = (channels - 1) / 2.0;
    return middle <= 0 ? 1.0 : 1.0 - 0.08 * std::abs(channel - middle) / middle;
}

}  // namespace

void ChipBanks::measure(bool txAxis) {
    const ChipLayout& l = layoutOf(model_);
    for (int chip = 0; chip < chips(); ++chip) {
        Chip& c = chips_[static_cast<size_t>(chip)];
        const uint8_t* config = c.config.data();
        int gain = field(config, l.gainLow);
        if (l.gainTopReg >= 0) gain |= ((config[l.gainTopReg] >> l.gainTopBit) & 1) << 4;
        const double swing = kSwing * (field(config, l.rs) / 8.0) * std::exp2((20 - gain) / 6.0);
        const double signal =
            swing * field(config, l.waveN) * kCountsPerSwing / std::exp2(field(config, l.rshift));
        const bool calibration = field(config, l.caloe) == 1;
        const bool noise = !calibration && field(config, l.readSel) == 3;

        c.rxData.fill(0);
        c.txData.fill(0);
        for (int k = 0; k < l.rxChannels; ++k) {
            double v = signal * edgeFactor(k, l.rxChannels);
            if (calibration) {
                v = kCalOffset + l.calScale / (l.calHigh - l.calLow) * field(config, l.sinOffset);
            } else if (noise) {
                v = 5 + (k * 7 + chip * 3) % 11;
            }
            const uint16_t word = clampWord(v);
            c.rxData[static_cast<size_t>(l.rxFirst + 2 * k)] = static_cast<uint8_t>(word);
            c.rxData[static_cast<size_t>(l.rxFirst + 2 * k + 1)] = static_cast<uint8_t>(word >> 8);
        }
        if (!txAxis || calibration || noise) continue;
        for (int k = 0; k < l.txChannels; ++k) {
            const uint16_t word = clampWord(signal * edgeFactor(k, l.txChannels));
            const size_t at = static_cast<size_t>(l.txFirst + 2 * (l.txChannels - 1 - k));
            c.txData[at] = static_cast<uint8_t>(word >> 8);
            c.txData[at + 1] = static_cast<uint8_t>(word);
        }
    }
}

}  // namespace sim
