// Reports the firmware sends on its own: image rows, AFE sample rows, short-test data,
// touch and stylus information, the IC information reply and the disconnect notice.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ShortTestData.h"
#include "sim/Profile.h"

namespace sim {

using Report = std::array<uint8_t, 64>;
using Reports = std::vector<Report>;

// A report with its count byte covering `payload` bytes after kind and sub-code.
Report makeReport(uint8_t kind, uint8_t subCode, int payload);

struct Window {
    int firstRx = 0, lastRx = -1, firstTx = 0, lastTx = -1;  // last < first: the whole sensor
};

// One image frame: the two lead rows, then Tx lines (raw row 2 + t) with their Rx columns, each
// row split into reports of at most 29 values that end exactly at the row's last column. The
// values are (2 + tx) rows of rx columns, lead rows first; without them every value is 0.
void appendImageFrame(Reports& out, int tx, int rx, const Window& window,
                      const std::vector<int16_t>* values = nullptr);
// An AFE burst of `rows` sample rows numbered 0.., each with `channels` values (rows x channels
// words; zeros without them).
void appendAfeBurst(Reports& out, int rows, int channels,
                    const std::vector<int16_t>* words = nullptr);

// A short test's readings as the firmware reports them: both lists, the Rx matrix rows (the old
// layout, of kernels 2.x before 2.44, numbers rows across the chips and has no chip byte), the Tx
// matrix rows, then the completion report.
void appendShortTest(Reports& out, const ShortTestData& data, bool oldRxLayout);

// One record of five values per chip; big-endian u16 values when `wide`.
Report icInfoReply(const std::vector<std::array<uint16_t, 5>>& records, bool wide);
Report disconnectNotice();
// A report whose count byte claims more than a report holds.
Report malformedReport(uint8_t kind);

}  // namespace sim
