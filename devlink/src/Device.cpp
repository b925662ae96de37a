#include "Device.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "Sinks.h"
#include "devlink_protocol.h"

using namespace devproto;
using Clock = std::chrono::steady_clock;

namespace {

// The library's own time-out for a command: one second, plus room for every report a bulk
// transfer takes at the full-speed USB report interval.
uint32_t commandTimeoutMs(size_t bulkBytes) {
    return 1000 + static_cast<uint32_t>(2 * (bulkBytes / kDataPayloadMax + 1));
}

constexpr auto kReaderPoll = std::chrono::milliseconds(100);

thread_local bool tReaderThread = false;

DevError causeOfStatus(uint8_t status) {
    switch (status) {
        case kStatusOk:
            return kDevErrorNone;
        case kStatusRefused:
            return kDevErrorRefused;
        case kStatusUnknown:
            return kDevErrorUnknownOperation;
        case kStatusBadRequest:
            return kDevErrorBadRequest;
        default:
            return kDevErrorFailed;
    }
}

}  // namespace

struct DevDevice::Pending {
    bool raw = false;
    // Command replies.
    uint8_t op = 0;
    uint8_t seq = 0;
    uint8_t* out = nullptr;
    size_t outSize = 0;
    size_t length = 0;
    bool corrupt = false;
    uint8_t status = kStatusFailed;
    // Raw replies.
    uint8_t kind = 0;
    uint8_t subCode = 0;
    uint8_t* reply = nullptr;

    bool done = false;
};

bool DevDevice::onAnyReaderThread() {
    return tReaderThread;
}

void DevDevice::setError(DevError cause) {
    (onAnyReaderThread() ? readerError_ : callerError_).store(cause);
}

DevError DevDevice::lastError() const {
    return (onAnyReaderThread() ? readerError_ : callerError_).load();
}

DevError DevDevice::refusalBeforeSending() const {
    if (onAnyReaderThread()) return kDevErrorFromHandler;
    if (gone_ || stop_) return kDevErrorDeviceLost;
    return kDevErrorNone;
}

DevDevice::DevDevice(std::unique_ptr<devlink::Transport> transport)
    : transport_(std::move(transport)) {
    reader_ = std::thread([this] {
        readerId_.store(std::this_thread::get_id());
        tReaderThread = true;
        readerLoop();
    });
}

DevDevice::~DevDevice() {
    stop(false);
}

void DevDevice::stop(bool byProgram) {
    stop_ = true;
    transport_->close(byProgram);
    if (reader_.joinable()) reader_.join();
    std::lock_guard lock(replyMutex_);
    replyReady_.notify_all();
}

void DevDevice::readerLoop() {
    uint8_t report[kReportSize];
    while (!stop_) {
        const auto result = transport_->read(report, kReaderPoll);
        if (result == devlink::ReadResult::Timeout) continue;
        if (result == devlink::ReadResult::Gone) {
            gone_ = true;
            std::lock_guard lock(replyMutex_);
            replyReady_.notify_all();
            return;
        }
        onReport(report);
    }
}

void DevDevice::dropMalformed(const char* why) {
    if (dropped_.fetch_add(1) == 0)
        devlink::logText(std::string("devlink: dropped a report: ") + why);
}

void DevDevice::onReport(const uint8_t* report) {
    const int count = report[1];
    if (count < 2 || count > kMaxCount) {
        dropMalformed("its count byte does not fit a 64-byte report");
        return;
    }
    const uint8_t kind = report[2];
    if (kind == kKindDataIn || kind == kKindReply) {
        onCommandReport(report, count);
        return;
    }
    DevReport copy;
    std::memcpy(copy.bytes, report, kReportSize);
    if (rawPending_.load()) {
        std::lock_guard lock(replyMutex_);
        if (pending_ && pending_->raw && !pending_->done && kind == pending_->kind &&
            (pending_->subCode == kDevAnySubCode || report[3] == pending_->subCode)) {
            std::memcpy(pending_->reply, report, kReportSize);
            pending_->status = kStatusOk;
            pending_->done = true;
            replyReady_.notify_all();
        }
    }
    dispatch(copy);
}

bool DevDevice::onCommandReport(const uint8_t* report, int count) {
    std::lock_guard lock(replyMutex_);
    Pending* p = pending_;
    if (report[2] == kKindDataIn) {
        if (!p || p->raw || p->done || report[3] != p->seq) return false;  // stale: ignore
        const size_t n = static_cast<size_t>(count - 2);
        if (n > p->outSize - p->length) {
            p->corrupt = true;
            dropMalformed("more reply data than the request's buffer holds");
            return false;
        }
        if (n) std::memcpy(p->out + p->length, report + kDataPayloadOffset, n);
        p->length += n;
        return true;
    }
    if (count < 4) {
        dropMalformed("a reply without its status");
        return false;
    }
    if (!p || p->raw || p->done || report[3] != p->op || report[4] != p->seq) return false;
    const size_t tail = static_cast<size_t>(count - 4);
    if (tail > p->outSize - p->length) {
        p->corrupt = true;
        dropMalformed("more reply data than the request's buffer holds");
    } else {
        if (tail) std::memcpy(p->out + p->length, report + kReplyTailOffset, tail);
        p->length += tail;
    }
    p->status = report[5];
    p->done = true;
    replyReady_.notify_all();
    return true;
}

DevError DevDevice::waitForReply(std::unique_lock<std::mutex>& lock, Pending& pending,
                                 uint32_t timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    replyReady_.wait_until(lock, deadline, [&] { return pending.done || gone_ || stop_; });
    pending_ = nullptr;
    rawPending_ = false;
    if (pending.done)
        return pending.corrupt ? kDevErrorMalformedReply : causeOfStatus(pending.status);
    return gone_ || stop_ ? kDevErrorDeviceLost : kDevErrorTimeOut;
}

bool DevDevice::command(const Command& c, size_t* outLength) {
    if (outLength) *outLength = 0;
    if (const DevError refusal = refusalBeforeSending()) return settle(refusal);
    if (c.argLength > kCommandArgMax) return settle(kDevErrorBadRequest);
    std::lock_guard serial(requestMutex_);
    Pending pending;
    pending.op = c.op;
    pending.out = c.out;
    pending.outSize = c.out ? c.outSize : 0;
    {
        std::lock_guard lock(replyMutex_);
        pending.seq = ++sequence_;
        pending_ = &pending;
    }
    uint8_t report[kReportSize];
    bool sent = true;
    for (size_t at = 0; sent && at < c.bulkLength; at += kDataPayloadMax) {
        const size_t n = std::min(kDataPayloadMax, c.bulkLength - at);
        std::memset(report, 0, sizeof report);
        report[0] = kReportId;
        report[1] = static_cast<uint8_t>(2 + n);
        report[2] = kKindDataOut;
        report[3] = pending.seq;
        std::memcpy(report + kDataPayloadOffset, c.bulk + at, n);
        sent = transport_->write(report);
    }
    std::memset(report, 0, sizeof report);
    report[0] = kReportId;
    report[1] = static_cast<uint8_t>(3 + c.argLength);
    report[2] = kKindCommand;
    report[3] = c.op;
    report[4] = pending.seq;
    if (c.argLength) std::memcpy(report + kCommandArgOffset, c.args, c.argLength);
    sent = sent && transport_->write(report);

    std::unique_lock lock(replyMutex_);
    if (!sent) {
        pending_ = nullptr;
        return settle(kDevErrorDeviceLost);
    }
    const DevError cause =
        waitForReply(lock, pending, commandTimeoutMs(std::max(c.bulkLength, c.outSize)));
    if (cause == kDevErrorNone && outLength) *outLength = pending.length;
    return settle(cause);
}

bool DevDevice::request(const uint8_t* request, size_t length, uint8_t kind, uint8_t subCode,
                        uint32_t timeoutMs, uint8_t* reply64) {
    if (const DevError refusal = refusalBeforeSending()) return settle(refusal);
    if (!request || !reply64 || length > kReportSize) return settle(kDevErrorBadRequest);
    std::lock_guard serial(requestMutex_);
    Pending pending;
    pending.raw = true;
    pending.kind = kind;
    pending.subCode = subCode;
    pending.reply = reply64;
    {
        std::lock_guard lock(replyMutex_);
        pending_ = &pending;
        rawPending_ = true;
    }
    uint8_t report[kReportSize] = {};
    std::memcpy(report, request, length);
    const bool sent = transport_->write(report);
    std::unique_lock lock(replyMutex_);
    if (!sent) {
        pending_ = nullptr;
        rawPending_ = false;
        return settle(kDevErrorDeviceLost);
    }
    return settle(waitForReply(lock, pending, timeoutMs));
}
