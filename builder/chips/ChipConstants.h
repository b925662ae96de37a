// The constants of each sensing chip: one row per chip of one table. A chip model reads its row;
// what a chip does beyond its constants stays in its class.
#pragma once

#include "core/ModelTable.h"

// First and last channel of one chip on each axis.
struct ChipChannels {
    int txFirst, txLast;
    int rxFirst, rxLast;
};

struct ChipConstants {
    ChipFamily chip;
    // Calibration measurement (sine offsets, scale, samples) and the reference the controller
    // keeps; the size of a register image.
    int calInputHigh, calInputLow, calScale, calSampleCount, calReference, regImageSize;
    // Channel geometry.
    int maxTxChannels, maxRxChannels;
    int txChannelsPerChip, firstChipTxChannels, rxChannelsPerChip, firstChipRxChannels;
    // Limits of the tuning quantities.
    int scalingMax, afeGainUpper, afeGainLower, rsMax, rsMin;
    int sinAmpMin, sinAmpMax, wlTxSinAmpMin, wlTxSinAmpMax, wlRxSinAmpMin, wlRxSinAmpMax;
    // Ranges the noise scan steps through.
    int psampleScanFirst, psampleScanEnd, clockSourceCount, phase1ScanEnd, phase1ScanFirst;
    // Channel numbering: of a chip, of the smaller variant (ModelRow::smallChips), and the offset
    // of the unwired first channels when the first chip is the smaller variant.
    ChipChannels channels;
    ChipChannels smallChannels;
    int smallFirstChipOffset;
};

// The row of a chip.
const ChipConstants& ConstantsOf(ChipFamily chip);
