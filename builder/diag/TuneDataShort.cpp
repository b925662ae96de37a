// The short-test read of the workspace: the reports (kind 0x3F, sub-code 0x53) that fill the
// short-test lists, the Rx matrix and, with the Tx matrix, the frame area.
#include <algorithm>

#include "device/CAPI.h"
#include "diag/CTuneData.h"
#include "diag/DiagHost.h"

namespace {

constexpr uint8_t kShortReportKind = 0x3F;
constexpr uint8_t kShortReportSubCode = 0x53;
constexpr uint8_t kFlagMatrixRow = 0x02;
constexpr uint8_t kFlagRx = 0x01;
constexpr uint8_t kFlagTx = 0x81;
constexpr int kListEntryCount = 6;
constexpr int kCompletionCount = 3;

void ShortThunk(void* context, int, const DevReport* report) {
    static_cast<CTuneData*>(context)->OnShortReport(*report);
}

// Kernels 2.0 to 2.43 number Rx matrix rows across the chips and send no chip byte.
bool OldRxLayout(const ControllerIdentity& id) {
    return id.kernelMajor == 2 && id.kernelMinor < 44;
}

}  // namespace

int16_t CTuneData::MatrixValue(int row, int column) const {
    if (row < 0 || row >= kMatrixSize || column < 0 || column >= kMatrixSize) return 0;
    return areas_->matrix[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

int16_t CTuneData::ShortListValue(bool tx, int index) const {
    if (index < 0 || index >= kShortListSize) return 0;
    return (tx ? areas_->shortList2 : areas_->shortList1)[static_cast<size_t>(index)];
}

void CTuneData::ArmShort() {
    for (auto& row : areas_->matrix) row.fill(0);
    for (auto& row : areas_->frame) row.fill(0);
    areas_->shortList1.fill(0);
    areas_->shortList2.fill(0);
    dataEvent_.Reset();
    complete_ = false;
}

// A matrix row: byte 5 the chip, byte 6 the row within it, byte 7 the first column, values from
// byte 8 (old Rx layout: byte 5 the row, byte 6 the first column, values from byte 7). Cells
// outside the area are dropped.
void CTuneData::StoreShortRow(const DevReport& report, int count, bool rxMatrix) {
    const uint8_t* b = report.bytes;
    const bool old = rxMatrix && OldRxLayout(host_->Identity());
    const int perChip = rxMatrix ? host_->Geometry().rxPerChip : host_->Geometry().txPerChip;
    const int row = old ? b[5] : b[6] + perChip * b[5];
    const int first = old ? b[6] : b[7];
    const int valuesFrom = old ? 7 : 8;
    const int rows = rxMatrix ? kMatrixSize : kFrameRows;
    const int columns = rxMatrix ? kMatrixSize : kFrameColumns;
    if (row >= rows) return;
    auto& target = rxMatrix ? areas_->matrix[static_cast<size_t>(row)]
                            : areas_->frame[static_cast<size_t>(row)];
    // count + 2 bytes of the report are valid, and count is at most 62: never past byte 63.
    for (int i = 0; valuesFrom + i < count + 2 && first + i < columns; ++i)
        target[static_cast<size_t>(first + i)] = static_cast<int8_t>(b[valuesFrom + i]);
}

void CTuneData::OnShortReport(const DevReport& report) {
    if (complete_) return;
    const int count = devReportCount(report);
    if (count < kCompletionCount) return;
    const uint8_t flag = report.bytes[4];
    if ((flag & kFlagMatrixRow) != 0) {
        if (count >= kListEntryCount)
            StoreShortRow(report, count, (flag & ~kFlagMatrixRow) == kFlagRx);
    } else if (count == kListEntryCount && (flag == kFlagRx || flag == kFlagTx)) {
        auto& list = flag == kFlagRx ? areas_->shortList1 : areas_->shortList2;
        const int index = report.bytes[5];
        if (index < kShortListSize)
            list[static_cast<size_t>(index)] = static_cast<int8_t>(report.bytes[6]);
    } else if (count == kCompletionCount && flag == kFlagTx) {
        complete_ = true;
        dataEvent_.Set();
    }
}

bool CTuneData::SubscribeShort() {
    if (shortSubscription_ != nullptr) return true;
    shortSubscription_ = host_->Dev().addReportHandler(host_->Handle(), kShortReportKind,
                                                       kShortReportSubCode, this, ShortThunk);
    return shortSubscription_ != nullptr;
}

int CTuneData::AcquireShortStep(uint8_t stepCode) {
    ArmShort();
    const bool subscribed = host_->Handle() != nullptr && SubscribeShort();
    if (!host_->Api().StartShortTest(stepCode)) {
        complete_ = true;
        return 8;
    }
    // Without a subscription nothing can arrive: no use waiting for it.
    const bool arrived = subscribed && WaitForData();
    complete_ = true;
    return arrived ? 0 : 6;
}
