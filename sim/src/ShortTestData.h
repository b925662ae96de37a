// What the controller's short test reads on its panel. The firmware drives every pin of every chip
// in turn and records what each other pin picks up (the matrices), and one reading per active
// channel (the lists). A line shorted to another line or to a supply shows in the readings in the
// form the tools classify: see docs/simulator.md, "The short test".
#pragma once

#include <cstdint>
#include <vector>

#include "Images.h"
#include "Panel.h"

namespace sim {

struct ShortTestData {
    // Matrix sizes: every pin of every chip, chip j's pins from j x per-chip.
    int rxPins = 0, txPins = 0;
    int rxPerChip = 0, txPerChip = 0;
    // Row-major, [driven pin][sensing pin] (Rx: column d holds what pin d's drive reached).
    std::vector<int8_t> rxMatrix, txMatrix;
    // One reading per active channel of the hardware image, in channel order.
    std::vector<int8_t> rxList, txList;

    int8_t rxAt(int row, int column) const {
        return rxMatrix[static_cast<size_t>(row * rxPins + column)];
    }
    int8_t txAt(int row, int column) const {
        return txMatrix[static_cast<size_t>(row * txPins + column)];
    }
};

// The reading of a line shorted to another line, and of one shorted to a supply (positive for
// VDD, negative for GND). A short swamps the noise; a healthy reading is noise of at most
// kHealthyNoise counts.
inline constexpr int kShortLineLevel = 96;
inline constexpr int kShortSupplyLevel = 110;
inline constexpr int kHealthyNoise = 3;

// Reads the panel's shorts under the RAM hardware image (chip counts and active channels); chip
// 0 keeps pin p's readings at position p + the profile's first-chip pin offset.
ShortTestData measureShortTest(const Panel& panel, const Profile& profile, const Bytes& image);

}  // namespace sim
