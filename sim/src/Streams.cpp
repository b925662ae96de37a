#include "Streams.h"

#include <algorithm>

#include "devlink_protocol.h"

namespace sim {
namespace {

constexpr int kValuesPerImageReport = 29;
constexpr int kLeadRows = 2;

// One row as consecutive reports: first column, then n signed 16-bit values, taken from `row`
// (indexed by column; zeros without one).
void appendRow(Reports& out, int rawRow, int firstColumn, int endColumn, const int16_t* row) {
    for (int c = firstColumn; c < endColumn; c += kValuesPerImageReport) {
        const int n = std::min(kValuesPerImageReport, endColumn - c);
        Report r = makeReport(devproto::kKindImage, static_cast<uint8_t>(rawRow), 1 + 2 * n);
        r[4] = static_cast<uint8_t>(c);
        for (int i = 0; row != nullptr && i < n; ++i) {
            const auto v = static_cast<uint16_t>(row[c + i]);
            r[static_cast<size_t>(5 + 2 * i)] = static_cast<uint8_t>(v);
            r[static_cast<size_t>(6 + 2 * i)] = static_cast<uint8_t>(v >> 8);
        }
        out.push_back(r);
    }
}

const int16_t* rowOf(const std::vector<int16_t>* values, int row, int columns) {
    if (values == nullptr) return nullptr;
    const size_t at = static_cast<size_t>(row) * static_cast<size_t>(columns);
    return at + static_cast<size_t>(columns) <= values->size() ? values->data() + at : nullptr;
}

}  // namespace

Report makeReport(uint8_t kind, uint8_t subCode, int payload) {
    Report r{};
    r[0] = devproto::kReportId;
    r[1] = static_cast<uint8_t>(2 + payload);
    r[2] = kind;
    r[3] = subCode;
    return r;
}

void appendImageFrame(Reports& out, int tx, int rx, const Window& w,
                      const std::vector<int16_t>* values) {
    const int columns = rx;
    tx = std::clamp(tx, 0, 253);
    rx = std::clamp(rx, 0, 255);
    const bool full = w.lastRx < w.firstRx || w.lastTx < w.firstTx;
    const int firstRx = full ? 0 : w.firstRx, endRx = full ? rx : std::min(w.lastRx + 1, rx);
    const int firstTx = full ? 0 : w.firstTx, endTx = full ? tx : std::min(w.lastTx + 1, tx);
    for (int lead = 0; lead < kLeadRows; ++lead)
        appendRow(out, lead, firstRx, endRx, rowOf(values, lead, columns));
    for (int t = firstTx; t < endTx; ++t)
        appendRow(out, kLeadRows + t, firstRx, endRx, rowOf(values, kLeadRows + t, columns));
}

void appendAfeBurst(Reports& out, int rows, int channels, const std::vector<int16_t>* words) {
    const int columns = channels;
    channels = std::clamp(channels, 0, 255);
    for (int row = 0; row < std::min(rows, 256); ++row)
        appendRow(out, row, 0, channels, rowOf(words, row, columns));
}

void appendShortTest(Reports& out, const ShortTestData& data, bool oldRxLayout) {
    auto listEntry = [&out](uint8_t flag, int index, int8_t value) {
        Report r = makeReport(devproto::kKindInfo, devproto::kSubShortTest, 4);
        r[4] = flag;
        r[5] = static_cast<uint8_t>(index);
        r[6] = static_cast<uint8_t>(value);
        out.push_back(r);
    };
    const int rxEntries = std::min<int>(static_cast<int>(data.rxList.size()), 256);
    const int txEntries = std::min<int>(static_cast<int>(data.txList.size()), 256);
    for (int i = 0; i < rxEntries; ++i) listEntry(0x01, i, data.rxList[static_cast<size_t>(i)]);
    for (int i = 0; i < txEntries; ++i) listEntry(0x81, i, data.txList[static_cast<size_t>(i)]);

    // Matrix rows: [4] flag, [5] chip, [6] row in chip, [7] first column, values from 8
    // (the old Rx layout has no chip byte: [5] row, [6] first column, values from 7).
    auto matrix = [&out](uint8_t flag, int pins, int perChip, bool old, auto valueAt) {
        const int head = old ? 3 : 4;
        const int maxValues = devproto::kMaxCount - 2 - head;
        for (int row = 0; row < pins; ++row) {
            for (int c = 0; c < pins; c += maxValues) {
                const int n = std::min(maxValues, pins - c);
                Report r = makeReport(devproto::kKindInfo, devproto::kSubShortTest, head + n);
                r[4] = flag;
                if (old) {
                    r[5] = static_cast<uint8_t>(row);
                    r[6] = static_cast<uint8_t>(c);
                } else {
                    r[5] = static_cast<uint8_t>(row / perChip);
                    r[6] = static_cast<uint8_t>(row % perChip);
                    r[7] = static_cast<uint8_t>(c);
                }
                for (int i = 0; i < n; ++i)
                    r[static_cast<size_t>(4 + head + i)] =
                        static_cast<uint8_t>(valueAt(row, c + i));
                out.push_back(r);
            }
        }
    };
    matrix(0x03, data.rxPins, std::max(data.rxPerChip, 1), oldRxLayout,
           [&data](int row, int column) { return data.rxAt(row, column); });
    matrix(0x83, data.txPins, std::max(data.txPerChip, 1), false,
           [&data](int row, int column) { return data.txAt(row, column); });

    Report done = makeReport(devproto::kKindInfo, devproto::kSubShortTest, 1);
    done[4] = 0x81;
    out.push_back(done);
}

Report icInfoReply(const std::vector<std::array<uint16_t, 5>>& records, bool wide) {
    const int perRecord = wide ? 10 : 5;
    const int count = std::min<int>(static_cast<int>(records.size()), (64 - 5) / perRecord);
    Report r = makeReport(devproto::kKindInfo, devproto::kSubIcInfo, 1 + count * perRecord);
    r[4] = static_cast<uint8_t>(count);
    size_t at = 5;
    for (int i = 0; i < count && at + static_cast<size_t>(perRecord) <= r.size(); ++i) {
        for (uint16_t v : records[static_cast<size_t>(i)]) {
            if (wide) r[at++] = static_cast<uint8_t>(v >> 8);
            r[at++] = static_cast<uint8_t>(v);
        }
    }
    return r;
}

Report disconnectNotice() {
    Report r = makeReport(devproto::kKindDisconnect, 0x70, 0);
    r[1] = 2;
    r[4] = 3;
    return r;
}

Report malformedReport(uint8_t kind) {
    Report r = makeReport(kind, 0, 0);
    r[1] = 200;
    return r;
}

}  // namespace sim
