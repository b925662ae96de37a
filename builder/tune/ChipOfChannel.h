// Which sensing chip reads a channel: the chips' channel runs of the hardware set, counted one
// after another (chip 0 first).
#pragma once

class CParam_HW;

// The scan type that reads along the Tx axis (water-line Tx); every other scan type reads Rx.
inline constexpr int kScanTypeWaterLineTx = 3;

// The index (below the set's Rx chip count) of the chip whose run holds the channel: the Tx runs
// for the water-line Tx scan, the Rx runs otherwise; 0 when no run holds it.
int ChipOfChannel(const CParam_HW& hw, int scanType, int channel);
