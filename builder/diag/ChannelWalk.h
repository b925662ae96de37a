// Which chip and pin each channel of an axis is: the CSV dumps label their rows and columns so.
#pragma once

#include <utility>
#include <vector>

class CParam_HW;

// (chip, pin) of each of `count` channels, walking the hardware set's per-chip ranges from chip 0.
// An empty or inverted range is passed over; past the last chip the channels count on along that
// chip.
std::vector<std::pair<int, int>> WalkChannels(const CParam_HW& hw, bool tx, int count);
