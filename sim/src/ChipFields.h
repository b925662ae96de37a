// Where each chip model keeps the fields a measurement depends on, in its bank 0 registers and in
// the register images of the hardware set (the same layout), and where it keeps its data.
#pragma once

#include <cstdint>

#include "sim/Profile.h"

namespace sim {

struct Bits {
    int reg, high, low;
};

struct ChipLayout {
    Bits caloe, readSel, waveN, rshift, gainLow, rs, sinOffset, delay, phase1, psample;
    int gainTopReg, gainTopBit;  // the AFE gain's bit 4; -1 when the field is 5 bits in one place
    int rxFirst, rxChannels, txFirst, txChannels;  // data blocks of banks 2 and 3
    double calHigh, calLow, calScale;              // the calibration input and scale
    bool dividerSetsFrequency;  // the sensing frequency divides by Psample (else by 3)
};

const ChipLayout& layoutOf(ChipModel model);

// The measurement settings of one register image.
struct ChipSettings {
    int rs = 0, gain = 0, delay = 0, waveN = 0, rshift = 0, readSel = 0, sinOffset = 0;
    int phase1 = 0, psample = 0;
    bool calibration = false;  // the calibration input is switched on
    bool noise = false;        // the noise reading is selected
};

ChipSettings decodeSettings(ChipModel model, const uint8_t* registers);

// The sensing frequency in kHz of a clock source code and the chip's prescaler and divider; 0
// when the prescaler is 0.
double sensingKHz(ChipModel model, int clock, int phase1, int psample);

}  // namespace sim
