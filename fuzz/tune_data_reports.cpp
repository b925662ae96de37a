// The measurement workspace's report handlers, fed the reports a controller might send after a
// frame or a sample read was armed. The input's first 8 bytes set the read and the geometry:
//   byte 0     bit 0: a sample read instead of a frame read; bit 1: samples along the Tx axis
//   bytes 1-2  the two lead-row offsets
//   bytes 3-6  the Tx and Rx counts (16-bit, little-endian)
//   byte 7     the sample rows
// and the rest is cut into 64-byte reports (the last one padded with zeros).
//
// Whatever the reports claim: a cell is marked received only when a report taken before the read
// completed named its row and column, and it holds the value the last such report gave; a cell not
// received holds 0; a frame completes only once every cell of the Tx x Rx frame arrived; and once
// the read is complete, no later report changes anything.
#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "controller/Controller.h"
#include "core/BuilderOptions.h"
#include "device/DevLinkApi.h"
#include "diag/CTuneData.h"

namespace {

constexpr int kRows = CTuneData::kFrameRows;
constexpr int kColumns = CTuneData::kFrameColumns;
constexpr std::size_t kSetupLength = 8;

// What the reports taken so far put into each cell: kUnclaimed, else the 16-bit value.
constexpr int32_t kUnclaimed = INT32_MIN;
using Claims = std::array<std::array<int32_t, kColumns>, kRows>;

struct Workspace {
    BuilderOptions options;  // read by the controller, so it outlives it
    CController controller{RealDevLink(), nullptr, DevRecord{}, SupportedModels().front().typeCode,
                           SupportedModels().front().name, options};
    CTuneData data{&controller};
    Claims claims;
};

Workspace& TheWorkspace() {
    static auto* workspace = new Workspace;  // lives for the process: no teardown between inputs
    return *workspace;
}

// The cells a report names, by the report format: raw row (byte 3) less the lead rows, first
// column (byte 4), then 16-bit values within the report's usable count.
void Claim(Claims& claims, const DevReport& report, int lead) {
    const int count = devReportCount(report);
    if (count < 3) return;
    const int row = report.bytes[3] - lead;
    if (row < 0 || row >= kRows) return;
    const int first = report.bytes[4];
    for (int i = 0; i < (count - 3) / 2 && first + i < kColumns; ++i) {
        const std::size_t at = static_cast<std::size_t>(5 + 2 * i);
        claims[static_cast<std::size_t>(row)][static_cast<std::size_t>(first + i)] =
            static_cast<int16_t>(report.bytes[at] | report.bytes[at + 1] << 8);
    }
}

std::vector<int16_t> Snapshot(const CTuneData& data) {
    std::vector<int16_t> cells;
    cells.reserve(static_cast<std::size_t>(kRows * kColumns * 2));
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            cells.push_back(data.FrameValue(r, c));
            cells.push_back(data.Received(r, c) ? 1 : 0);
        }
    }
    return cells;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < kSetupLength) return 0;
    Workspace& w = TheWorkspace();
    ControllerGeometry& g = w.controller.EditGeometry();
    const bool samples = (data[0] & 1) != 0;
    const bool txAxis = (data[0] & 2) != 0;
    g.rowOffset1 = data[1];
    g.rowOffset2 = data[2];
    g.txCount = static_cast<uint16_t>(data[3] | data[4] << 8);
    g.rxCount = static_cast<uint16_t>(data[5] | data[6] << 8);
    const int sampleRows = data[7];
    // The offsets are signed bytes in the controller's geometry record.
    const int lead = static_cast<int8_t>(g.rowOffset1) + static_cast<int8_t>(g.rowOffset2);

    CTuneData& tune = w.data;
    if (samples)
        tune.ArmSamples(sampleRows, txAxis);
    else
        tune.ArmFrame();
    for (auto& row : w.claims) row.fill(kUnclaimed);

    bool complete = false;
    std::vector<int16_t> atCompletion;
    for (std::size_t at = kSetupLength; at < size; at += kDevReportSize) {
        DevReport report{};
        std::memcpy(report.bytes, data + at, std::min<std::size_t>(kDevReportSize, size - at));
        if (samples)
            tune.OnSampleReport(report);
        else
            tune.OnFrameReport(report);
        if (complete) continue;
        Claim(w.claims, report, lead);
        if (tune.DataEvent().Wait(std::chrono::milliseconds(0))) {
            complete = true;
            atCompletion = Snapshot(tune);
        }
    }

    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const int32_t claimed = w.claims[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            const bool received = tune.Received(r, c);
            const int16_t value = tune.FrameValue(r, c);
            if (received ? claimed != value : value != 0)
                fuzz::Finding("cell " + std::to_string(r) + "," + std::to_string(c) + " holds " +
                              std::to_string(value) + (received ? " marked received" : "") +
                              " where the reports put " + std::to_string(claimed));
        }
    }
    if (complete && !samples) {
        const int rows = std::min<int>(g.txCount, kRows), columns = std::min<int>(g.rxCount, kColumns);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                if (!tune.Received(r, c)) fuzz::Finding("a frame completed without every cell");
    }
    if (complete) fuzz::Expect(Snapshot(tune) == atCompletion, "a report changed a completed read");
    return 0;
}
