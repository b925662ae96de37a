#include "ChipFields.h"

namespace sim {
namespace {

// clang-format off
constexpr ChipLayout kT320{
    .caloe = {14, 3, 3}, .readSel = {4, 3, 0}, .waveN = {3, 5, 0}, .rshift = {4, 7, 4},
    .gainLow = {7, 3, 0}, .rs = {7, 7, 4}, .sinOffset = {25, 7, 0}, .delay = {11, 6, 0},
    .phase1 = {12, 5, 0}, .psample = {12, 7, 6}, .gainTopReg = 11, .gainTopBit = 7,
    .rxFirst = 16, .rxChannels = 128, .txFirst = 16, .txChannels = 80,
    .calHigh = 212, .calLow = 44, .calScale = 2880, .dividerSetsFrequency = false};
constexpr ChipLayout kT324{
    .caloe = {20, 1, 1}, .readSel = {9, 3, 0}, .waveN = {7, 5, 0}, .rshift = {9, 7, 4},
    .gainLow = {6, 4, 0}, .rs = {5, 7, 4}, .sinOffset = {21, 7, 0}, .delay = {8, 7, 0},
    .phase1 = {12, 4, 0}, .psample = {11, 7, 3}, .gainTopReg = -1, .gainTopBit = -1,
    .rxFirst = 0, .rxChannels = 84, .txFirst = 0, .txChannels = 48,
    .calHigh = 236, .calLow = 27, .calScale = 5578, .dividerSetsFrequency = true};
constexpr ChipLayout kT3300{
    .caloe = {14, 1, 1}, .readSel = {8, 3, 0}, .waveN = {4, 5, 0}, .rshift = {8, 7, 4},
    .gainLow = {5, 3, 0}, .rs = {5, 7, 4}, .sinOffset = {25, 7, 0}, .delay = {6, 6, 0},
    .phase1 = {7, 5, 0}, .psample = {7, 7, 6}, .gainTopReg = 6, .gainTopBit = 7,
    .rxFirst = 0, .rxChannels = 100, .txFirst = 0, .txChannels = 64,
    .calHigh = 236, .calLow = 27, .calScale = 3720, .dividerSetsFrequency = false};
// clang-format on

int field(const uint8_t* registers, Bits b) {
    const int width = b.high - b.low + 1;
    return (registers[b.reg] >> b.low) & ((1 << width) - 1);
}

}  // namespace

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

ChipSettings decodeSettings(ChipModel model, const uint8_t* r) {
    const ChipLayout& l = layoutOf(model);
    ChipSettings s;
    s.gain = field(r, l.gainLow);
    if (l.gainTopReg >= 0) s.gain |= ((r[l.gainTopReg] >> l.gainTopBit) & 1) << 4;
    s.rs = field(r, l.rs);
    s.delay = field(r, l.delay);
    s.waveN = field(r, l.waveN);
    s.rshift = field(r, l.rshift);
    s.readSel = field(r, l.readSel);
    s.sinOffset = field(r, l.sinOffset);
    s.phase1 = field(r, l.phase1);
    s.psample = field(r, l.psample);
    s.calibration = field(r, l.caloe) == 1;
    s.noise = !s.calibration && s.readSel == 3;
    return s;
}

double sensingKHz(ChipModel model, int clock, int phase1, int psample) {
    if (phase1 <= 0) return 0.0;
    const bool divider = layoutOf(model).dividerSetsFrequency && psample >= 1 && psample <= 31;
    const int m = divider ? psample : 3;
    const double source = clock == 0 ? 18000.0 : 45.0 / (clock + 2) * 1000.0;
    return source / (phase1 * m * 2);
}

}  // namespace sim
