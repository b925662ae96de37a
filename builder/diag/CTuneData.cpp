#include "diag/CTuneData.h"

#include <algorithm>

#include "chips/CSlave.h"
#include "device/CAPI.h"
#include "device/DevLinkApi.h"
#include "core/BuilderLog.h"
#include "diag/DiagHost.h"

namespace {

constexpr uint8_t kImageReportKind = 0x4A;
constexpr uint16_t kModeCommand = 0x8000;
constexpr int kTxAxisScanType = 3;
// The controller is checked this often while a read waits, so a disconnect ends the wait at once.
constexpr std::chrono::milliseconds kDisconnectPoll{50};

void FrameThunk(void* context, int, const DevReport* report) {
    static_cast<CTuneData*>(context)->OnFrameReport(*report);
}

void SampleThunk(void* context, int, const DevReport* report) {
    static_cast<CTuneData*>(context)->OnSampleReport(*report);
}

}  // namespace

void CAutoResetEvent::Set() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    cv_.notify_one();
}

bool CAutoResetEvent::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, timeout, [this] { return signalled_; })) return false;
    signalled_ = false;
    return true;
}

void CAutoResetEvent::Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

CTuneData::CTuneData(DiagHost* host) : host_(host), areas_(std::make_unique<Areas>()) {}

CTuneData::~CTuneData() {
    Unsubscribe();
}

void CTuneData::ClearAreas() {
    *areas_ = Areas{};
    txScanMark_ = 0;
}

void CTuneData::Unsubscribe() {
    for (DevSubscription* sub : {&imageSubscription_, &shortSubscription_}) {
        if (*sub != nullptr && host_ != nullptr && host_->Handle() != nullptr) {
            host_->Dev().removeReportHandler(host_->Handle(), *sub);
        }
        *sub = nullptr;
    }
}

int16_t CTuneData::FrameValue(int row, int column) const {
    if (row < 0 || row >= kFrameRows || column < 0 || column >= kFrameColumns) return 0;
    return areas_->frame[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void CTuneData::SetFrameValue(int row, int column, int16_t value) {
    if (row < 0 || row >= kFrameRows || column < 0 || column >= kFrameColumns) return;
    areas_->frame[static_cast<size_t>(row)][static_cast<size_t>(column)] = value;
}

bool CTuneData::Received(int row, int column) const {
    if (row < 0 || row >= kFrameRows || column < 0 || column >= kFrameColumns) return false;
    return areas_->received[static_cast<size_t>(row * kFrameColumns + column)] != 0;
}

// ---- Report handlers ----------------------------------------------------------------------------

void CTuneData::ArmFrame() {
    *areas_ = Areas{};
    dataEvent_.Reset();
    complete_ = false;
}

void CTuneData::ArmSamples(int rows, bool txAxis) {
    *areas_ = Areas{};
    txScanMark_ = txAxis ? 1 : 0;
    sampleRows_ = rows;
    dataEvent_.Reset();
    complete_ = false;
}

int CTuneData::StoreReport(const DevReport& report, int& firstColumn, int& valueCount) {
    // Never past the report: a count byte above 62 claims bytes a report does not have.
    const int count = devReportCount(report);
    if (count < 3) return -1;
    const int lead =
        static_cast<int8_t>(host_->Geometry().rowOffset1) + static_cast<int8_t>(host_->Geometry().rowOffset2);
    const int row = report.bytes[3];
    if (row < lead) return -1;
    const int stored = row - lead;
    firstColumn = report.bytes[4];
    valueCount = (count - 3) / 2;
    if (stored >= kFrameRows) return stored;  // nothing fits, but the row still counts
    for (int i = 0; i < valueCount; ++i) {
        const int column = firstColumn + i;
        if (column >= kFrameColumns) break;
        const uint8_t* at = &report.bytes[static_cast<size_t>(5 + 2 * i)];
        areas_->frame[static_cast<size_t>(stored)][static_cast<size_t>(column)] =
            static_cast<int16_t>(at[0] | at[1] << 8);
        areas_->received[static_cast<size_t>(stored * kFrameColumns + column)] = 1;
    }
    return stored;
}

bool CTuneData::FrameComplete(int txCount, int rxCount) const {
    const int rows = std::min(txCount, kFrameRows), columns = std::min(rxCount, kFrameColumns);
    for (int t = 0; t < rows; ++t) {
        for (int r = 0; r < columns; ++r) {
            if (!areas_->received[static_cast<size_t>(t * kFrameColumns + r)]) return false;
        }
    }
    return true;
}

void CTuneData::OnFrameReport(const DevReport& report) {
    if (complete_) return;
    int first = 0, count = 0;
    if (StoreReport(report, first, count) < 0) return;
    const int tx = host_->Geometry().txCount, rx = host_->Geometry().rxCount;
    if (report.bytes[3] == tx + 1 && first + count == rx && FrameComplete(tx, rx)) {
        complete_ = true;
        dataEvent_.Set();
    }
}

void CTuneData::OnSampleReport(const DevReport& report) {
    if (complete_) return;
    int first = 0, count = 0;
    if (StoreReport(report, first, count) < 0) return;
    const int channels = txScanMark_ ? host_->Geometry().txCount : host_->Geometry().rxCount;
    if (report.bytes[3] + 1 == sampleRows_ && first + count == channels) {
        txScanMark_ = 0;
        complete_ = true;
        dataEvent_.Set();
    }
}

// ---- Reads --------------------------------------------------------------------------------------

bool CTuneData::Subscribe(DevReportHandler handler) {
    if (imageSubscription_ != nullptr) return true;
    imageSubscription_ = host_->Dev().addReportHandler(host_->Handle(), kImageReportKind,
                                                        kDevAnySubCode, this, handler);
    return imageSubscription_ != nullptr;
}

bool CTuneData::WaitForData() {
    // A controller without a device sends nothing to wait for.
    if (host_->Handle() == nullptr) return false;
    const auto end = std::chrono::steady_clock::now() + waitPeriod_;
    for (;;) {
        if (host_->Disconnected()) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        if (dataEvent_.Wait(std::min(left, kDisconnectPoll))) return true;
    }
}

bool CTuneData::AcquireFrame(uint16_t mode) {
    ArmFrame();
    Subscribe(FrameThunk);
    host_->Api().SwitchWorkMode(mode);
    bool arrived = false;
    for (int wait = 0; wait < kFrameWaits && !arrived; ++wait) {
        arrived = WaitForData();
        if (arrived) {
            TestLog().Printf(kColourSuccess, kRouteBoth, "Get Image Data OK! Count %d \n", 1);
        } else {
            TestLog().Print(kColourError, kRouteBoth, "Get Image Data Fail\n");
            if (host_->Disconnected()) break;
        }
    }
    complete_ = true;
    const bool back = host_->Api().SwitchWorkMode(kModeCommand) != 0;
    if (!back) MainLog().Print(kColourError, kRouteBoth, "Set Working Mode Failed!\n");
    Unsubscribe();
    return arrived && back;
}

bool CTuneData::AcquireAfeSamples(int afeGain, int scanType, std::span<const uint8_t> image) {
    const bool txAxis = scanType == kTxAxisScanType;
    const int rows = host_->Chip().GetSinTableLength(image);
    ArmSamples(rows, txAxis);
    bool arrived = false;
    // A sample set that cannot fit the frame area is never requested.
    if (rows >= 1 && rows <= kFrameRows) {
        host_->SetRowsPerFrame(static_cast<uint8_t>(rows));
        Subscribe(SampleThunk);
        if (host_->Api().RequestImage(static_cast<uint8_t>(rows), static_cast<uint8_t>(afeGain)))
            arrived = WaitForData();
    }
    if (!arrived) TestLog().Print(kColourError, kRouteBoth, "Get Image Data Fail\n");
    complete_ = true;
    txScanMark_ = 0;
    const bool back = host_->Api().SwitchWorkMode(kModeCommand) != 0;
    if (!back) MainLog().Print(kColourError, kRouteBoth, "Set Working Mode Failed!\n");
    Unsubscribe();
    return arrived && back;
}
