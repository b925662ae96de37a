// Report subscriptions of one device and the dispatch of reports to them on the reader thread.
#include <algorithm>
#include <atomic>

#include "Device.h"
#include "Sinks.h"

namespace {

// Process-wide, so that a subscription token names one subscription of one device, ever.
std::atomic<uint64_t> gNextToken{1};

uint64_t tokenOf(DevSubscription subscription) {
    return reinterpret_cast<uintptr_t>(subscription);
}

}  // namespace

DevSubscription DevDevice::subscribe(DevSubscriptionImpl subscription) {
    subscription.token = gNextToken.fetch_add(1);
    std::lock_guard lock(subMutex_);
    subscriptions_.push_back(subscription);
    return reinterpret_cast<DevSubscription>(static_cast<uintptr_t>(subscription.token));
}

bool DevDevice::unsubscribe(DevSubscription subscription) {
    const uint64_t token = tokenOf(subscription);
    std::unique_lock lock(subMutex_);
    auto it = std::find_if(subscriptions_.begin(), subscriptions_.end(),
                           [&](const DevSubscriptionImpl& s) { return s.token == token; });
    if (it == subscriptions_.end() || it->removed) return false;
    it->removed = true;
    if (running_ == token) {
        // The dispatcher erases it once the callback returns; from inside the callback itself
        // there is nothing to wait for.
        if (!onReaderThread()) callbackDone_.wait(lock, [&] { return running_ != token; });
        return true;
    }
    subscriptions_.erase(it);
    return true;
}

void DevDevice::dispatch(const DevReport& report) {
    const uint8_t kind = report.bytes[2], subCode = report.bytes[3];
    std::unique_lock lock(subMutex_);
    for (auto it = subscriptions_.begin(); it != subscriptions_.end();) {
        DevSubscriptionImpl& s = *it;
        const bool matches =
            s.kind == kind && (s.subCode == kDevAnySubCode || s.subCode == subCode);
        if (s.removed || !matches) {
            ++it;
            continue;
        }
        running_ = s.token;
        lock.unlock();
        if (s.handler)
            s.handler(s.context, 0, &report);
        else
            devlink::postReport(s.window, s.message, &report);
        lock.lock();
        running_ = 0;
        if (s.removed) {
            it = subscriptions_.erase(it);
            callbackDone_.notify_all();
        } else {
            ++it;
        }
    }
}
