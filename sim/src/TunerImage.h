// What the controller adds to its image streams for the tuner's image page: the touch keys'
// values after the last row, list bursts of the touched cells, and a uniformity table measured
// on the untouched panel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Panel.h"
#include "Streams.h"

namespace sim {

// The keys' signal when untouched: the mean untouched magnitude of the sensor's cells.
double keyMagnitude(const Panel& panel, ChipModel model, const Bytes& image, int f);

// One value per key in a working mode: the raw signal (lowered by a quarter under a finger),
// the touch delta, or the AFE swing word.
std::vector<int16_t> measureKeys(const Panel& panel, ChipModel model, const Bytes& image, int f,
                                 uint16_t mode);

// The report after a frame's last row: raw row `row`, first column 0, the key values.
Report keyReport(int row, const std::vector<int16_t>& values);

// The cells a finger touches (more than 5 % of their signal gone), as six-byte items (Tx line,
// Rx line, the loss in 0.01 %, the frame number), nine to a report, then the closing report.
void appendListBurst(Reports& out, const Panel& panel, const std::vector<ActiveLine>& tx,
                     const std::vector<ActiveLine>& rx, int frame);

// A valid uniformity table whose sub-table f holds, for working frequency f, the difference of
// each Tx line's in-phase signal to the next one's on the untouched panel. A sub-table that does
// not fit in the room left stays empty.
Bytes panelUniformityTable(Panel& panel, ChipModel model, const Bytes& image);

// The truth file's lines about the keys.
std::string keyTruth(const Panel& panel, ChipModel model, const Bytes& image, int f);

}  // namespace sim
