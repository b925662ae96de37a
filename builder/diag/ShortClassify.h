// Reading a short test's matrices: for each channel, its largest reading (the peak) and what it
// is shorted to (its partner). The controller drives each channel in turn and records what every
// other channel of its chips picks up; a channel shorted to another picks up that one's drive, and
// one tied to a supply (or, on the Rx side, to a line of another chip) reads it whoever drives.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

inline constexpr int kNoShortPartner = -1;
// A supply; on the Rx side also a line of another chip, which the chip cannot tell from ground.
inline constexpr int kSupplyShortPartner = 0x7000;

struct ShortChannel {
    int peak = 0;
    int partner = kNoShortPartner;
};

// One cell [row][column] of a square matrix of signed readings, 0 outside what was read.
using ShortCell = std::function<int(int row, int column)>;

// Rx: channel d's reading is cell [d][d]. From 20 on, its column is searched from d down the
// rows for the first reading below 30 and below 0.8 of it: that row is the partner (row perChip,
// the next chip's first, names a supply or another chip); none found names a supply as well.
std::vector<ShortChannel> ClassifyRxShorts(const ShortCell& matrix, int perChip, int channels);
// Tx: channel d's peak is the largest reading of column d on the other rows, whose row is the
// partner when it is above 20; readings of 100 and more on every other row name a supply.
std::vector<ShortChannel> ClassifyTxShorts(const ShortCell& matrix, int channels);

// Pins [first, last] of one chip; last < first: none.
struct ShortRange {
    int first = 0, last = -1;
};

// The channels of the output list: each chip's range in turn, chip c's pin p at position
// c x perChip + p of `pins`. The first chip's range is shifted by firstChipOffset (its first
// positions are not wired), and partners found in it are lowered by that offset. A pin outside
// `pins` gives an empty channel; the list ends at `limit` channels.
std::vector<ShortChannel> MapShortChannels(std::span<const ShortChannel> pins,
                                           std::span<const ShortRange> ranges, int perChip,
                                           int firstChipOffset, std::size_t limit);

// "Rx[3],96,Short with Rx[7]\n": a channel's value and, when it has one, its partner. A supply
// partner is VDD for a value of 1 or more, else ground (on the Rx side: or another chip).
std::string ShortChannelLine(bool tx, int index, int value, int partner);
