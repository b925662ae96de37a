#include "diag/CTuneData.h"

#include "device/DeviceHost.h"

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

CTuneData::CTuneData(DeviceHost* host) : host_(host), areas_(std::make_unique<Areas>()) {}

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
