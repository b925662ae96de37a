// What the controller measures on its panel: image frames from the RAM hardware image, and the
// register-level measurements (axis lines, calibration and noise readings, AFE sample rows) from
// the chips' own registers. Every value is computed from the settings the builder wrote.
#pragma once

#include <cstdint>
#include <vector>

#include "ChipBanks.h"
#include "Panel.h"

namespace sim {

// Rows of values: the two lead rows, then one row per active Tx channel.
struct FrameGrid {
    int rows = 0, columns = 0;
    std::vector<int16_t> values;
};

// The Tx lines a register-level measurement drives (devSetTestMode).
struct LineSelection {
    int first = 255, last = 255;
    bool txAxis = false;  // water-line Tx: every Tx line senses itself
};

// The noise preset reads, on every channel, a floor of kNoiseFloorMin..kNoiseFloorMax (fixed per
// chip and channel) plus the sources at the sensing frequency, times the chip's gain error.
inline constexpr int kNoiseFloorMin = 5, kNoiseFloorMax = 15;

// The sensing frequency of working frequency f of a hardware image, in kHz.
double frameKHz(ChipModel model, const Bytes& image, int f);

// The magnitude of every active cell at working frequency f as the frame modes tune it, before
// noise; one row per active Tx channel.
std::vector<std::vector<double>> expectedMagnitude(const Panel& panel, ChipModel model,
                                                   const Bytes& image, int f);

FrameGrid measureFrame(const Panel& panel, ChipModel model, const Bytes& image, int f,
                       uint16_t mode);

// One measurement on every chip into its banks 2 and 3, as each chip's registers set it up.
void measureChips(const Panel& panel, ChipBanks& banks, const Bytes& image,
                  const LineSelection& selection, int clock, int firstChipPinOffset);

// AFE sample rows 0 .. rows - 1; row d + 2 holds the swing at delay d of every channel (the
// active Rx channels, or the Tx channels on the Tx axis); rows 0 and 1 are zero.
std::vector<int16_t> measureAfeRows(const Panel& panel, const ChipBanks& banks, const Bytes& image,
                                    const LineSelection& selection, int clock, int rows,
                                    int& channels);

}  // namespace sim
