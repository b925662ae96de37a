// The reports a controller sends, through devlink's reader thread and dispatch. The input is cut
// into 64-byte reports (the last one padded with zeros) and fed to a device that takes its reports
// from the caller, with these subscriptions:
//   - kind 0x4A, any sub-code, and kind 0x4B, sub-code 0x01: read every report they are given;
//   - kind 0x4C, any sub-code: on a report with sub-code 0x99 tries to close the device (which
//     must be refused on the reader thread) and removes its own subscription;
//   - kind 0xFF, any sub-code: the highest kind, which is also the "any" sub-code value;
//   - kind 0x7F: the reply kind, which goes to waiting calls and never to a subscription.
// Each subscription must get exactly the well-formed reports (count 2..62) of its kind and
// sub-code, byte for byte and in order, none after its removal; a malformed report is counted as
// dropped. The device is closed after the reader has dispatched everything.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "devlink/ReportFeed.h"
#include "devlink/devlink.h"

namespace {

using Report = std::array<uint8_t, kDevReportSize>;

constexpr uint8_t kReplyKind = 0x7F;
constexpr uint8_t kReplyDataKind = 0x7E;
constexpr uint8_t kLeaveSubCode = 0x99;

struct Subscriber {
    Subscriber(uint8_t k, uint8_t s, bool l) : kind(k), subCode(s), leaves(l) {}

    uint8_t kind;
    uint8_t subCode;
    bool leaves;  // removes itself on a report with kLeaveSubCode
    DevHandle handle = nullptr;
    std::atomic<DevSubscription> self{nullptr};
    std::vector<Report> seen;
    bool left = false;
    bool closeRefused = true;
    bool removed = true;
    std::string broken;  // the first promise a delivery broke, found on the reader thread

    bool Wants(const Report& r) const {
        return r[2] == kind && (subCode == kDevAnySubCode || r[3] == subCode);
    }
};

void OnReport(void* context, int, const DevReport* report) {
    auto* s = static_cast<Subscriber*>(context);
    Report copy;
    std::memcpy(copy.data(), report->bytes, copy.size());
    const int count = copy[1];
    if (!s->broken.empty()) return;
    if (s->left) {
        s->broken = "a report after the subscription was removed";
    } else if (count < 2 || count > 62) {
        s->broken = "a report with count " + std::to_string(count) + " was delivered";
    } else if (devReportCount(*report) != count) {
        s->broken = "the usable count differs from the report's count byte";
    } else if (!s->Wants(copy)) {
        s->broken = "a report of another kind or sub-code was delivered";
    }
    s->seen.push_back(copy);
    if (s->leaves && copy[3] == kLeaveSubCode && !s->left) {
        s->left = true;
        s->closeRefused = devClose(s->handle) == 0;
        s->removed = devRemoveReportHandler(s->handle, s->self.load()) != 0;
    }
}

// The reports the dispatch may not hand to a subscription: a count that does not fit a report,
// and a reply too short to hold its status (no call is waiting for one here).
bool Malformed(const Report& r) {
    const int count = r[1];
    if (count < 2 || count > 62) return true;
    return r[2] == kReplyKind && count < 4;
}

bool Dispatched(const Report& r) {
    return !Malformed(r) && r[2] != kReplyKind && r[2] != kReplyDataKind;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::vector<Report> reports;
    for (std::size_t at = 0; at < size; at += kDevReportSize) {
        Report r{};
        std::memcpy(r.data(), data + at, std::min<std::size_t>(kDevReportSize, size - at));
        reports.push_back(r);
    }

    const devlink::FedDevice fed = devlink::openFedDevice();
    if (fed.handle == nullptr || !fed.feed) fuzz::Finding("the fed device does not open");
    std::array<Subscriber, 5> subscribers{{
        {0x4A, kDevAnySubCode, false},
        {0x4B, 0x01, false},
        {0x4C, kDevAnySubCode, true},
        {0xFF, kDevAnySubCode, false},
        {kReplyKind, kDevAnySubCode, false},
    }};
    for (Subscriber& s : subscribers) {
        s.handle = fed.handle;
        s.self = devAddReportHandler(fed.handle, s.kind, s.subCode, &s, &OnReport);
        if (s.self.load() == nullptr) fuzz::Finding("a subscription is refused");
    }

    for (const Report& r : reports)
        fuzz::Expect(fed.feed->push(r.data()), "an open device refuses a report");
    fuzz::Expect(fed.feed->drain(std::chrono::seconds(5)), "the reports are not dispatched");

    uint32_t malformed = 0;
    for (const Report& r : reports) malformed += Malformed(r) ? 1 : 0;
    fuzz::Expect(devGetDroppedReportCount(fed.handle) == malformed,
                 "dropped " + std::to_string(devGetDroppedReportCount(fed.handle)) +
                     " reports instead of the " + std::to_string(malformed) + " malformed ones");

    for (const Subscriber& s : subscribers) {
        if (!s.broken.empty()) fuzz::Finding(s.broken);
        std::vector<Report> expected;
        for (const Report& r : reports) {
            if (!Dispatched(r) || !s.Wants(r)) continue;
            expected.push_back(r);
            if (s.leaves && r[3] == kLeaveSubCode) break;
        }
        fuzz::Expect(s.seen == expected, "a subscription did not get exactly the reports for it");
        fuzz::Expect(s.closeRefused, "a report handler closed its own device");
        fuzz::Expect(s.removed, "a report handler could not remove its own subscription");
    }

    fuzz::Expect(devClose(fed.handle) != 0, "the device does not close after the dispatch");
    const Report any{};
    fuzz::Expect(!fed.feed->push(any.data()), "a closed device takes a report");
    return 0;
}
