// Reports handed in by the caller go through the library's checks and subscriptions like a
// controller's: malformed ones are dropped and counted, handlers may read, unsubscribe and try to
// close, and nothing arrives after a close.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "devlink/ReportFeed.h"

using namespace std::chrono_literals;

namespace {

std::array<uint8_t, 64> Report(uint8_t count, uint8_t kind, uint8_t subCode, uint8_t fill = 0) {
    std::array<uint8_t, 64> r{};
    r.fill(fill);
    r[0] = 3;
    r[1] = count;
    r[2] = kind;
    r[3] = subCode;
    return r;
}

struct Seen {
    DevHandle handle = nullptr;
    std::atomic<DevSubscription> self{nullptr};
    std::vector<int> counts;  // the count byte of every report delivered
    int closeResult = -1;
    int removeResult = -1;
    uint32_t sum = 0;  // every byte of every delivered report, read as the library hands it over
};

void Handle(void* context, int, const DevReport* report) {
    auto* seen = static_cast<Seen*>(context);
    seen->counts.push_back(report->bytes[1]);
    for (const uint8_t b : report->bytes) seen->sum += b;
    if (report->bytes[3] == 0x99) {  // the report that asks the handler to leave
        seen->closeResult = devClose(seen->handle);
        seen->removeResult = devRemoveReportHandler(seen->handle, seen->self.load());
    }
}

TEST(ReportFeed, MalformedReportsAreDroppedAndHandlersMayUnsubscribeButNotClose) {
    const devlink::FedDevice fed = devlink::openFedDevice();
    ASSERT_NE(fed.handle, nullptr);
    Seen seen;
    seen.handle = fed.handle;
    seen.self = devAddReportHandler(fed.handle, 0x4A, kDevAnySubCode, &seen, &Handle);
    ASSERT_NE(seen.self.load(), nullptr);

    const std::vector<std::array<uint8_t, 64>> reports = {
        Report(0, 0x4A, 1, 0xFF),    // count below 2: dropped
        Report(1, 0x4A, 1, 0xFF),    // dropped
        Report(63, 0x4A, 1, 0xFF),   // more than a report holds: dropped
        Report(255, 0x4A, 1, 0xFF),  // dropped
        Report(62, 0x4A, 1, 0x01),   // delivered
        Report(2, 0x4B, 1, 0x01),    // another kind: not this subscription's
        Report(62, 0x7F, 0x07, 0),   // a reply nobody waits for: ignored
        Report(62, 0x7E, 0x01, 0),   // reply data nobody waits for: ignored
        Report(5, 0x4A, 0x99, 0),    // delivered; the handler tries to close, then unsubscribes
        Report(5, 0x4A, 2, 0),       // not delivered: unsubscribed
    };
    for (const auto& r : reports) ASSERT_TRUE(fed.feed->push(r.data()));
    ASSERT_TRUE(fed.feed->drain(2s));

    EXPECT_EQ(devGetDroppedReportCount(fed.handle), 4u);
    EXPECT_EQ(seen.counts, (std::vector<int>{62, 5}));
    EXPECT_EQ(seen.sum, 3u + 62u + 0x4Au + 1u + 60u * 1u + 3u + 5u + 0x4Au + 0x99u);
    EXPECT_EQ(seen.closeResult, 0) << "closing from a handler must be refused";
    EXPECT_EQ(seen.removeResult, 1);

    ASSERT_TRUE(devClose(fed.handle));
    EXPECT_FALSE(fed.feed->push(reports[4].data())) << "a closed device takes no more reports";
}

TEST(ReportFeed, AWaitingCallGetsTheReplyTheCallerFeeds) {
    const devlink::FedDevice fed = devlink::openFedDevice();
    std::atomic<int> result{-1};
    uint8_t minor = 0;
    std::thread caller([&] { result = devGetKernelNumber(fed.handle, &minor); });
    // The command carries sequence 1 (the device's first request).
    for (int i = 0; i < 200 && fed.feed->requestsSent() == 0; ++i) std::this_thread::sleep_for(5ms);
    ASSERT_EQ(fed.feed->requestsSent(), 1u);
    auto reply = Report(5, 0x7F, 0x07);
    reply[4] = 1;     // sequence
    reply[5] = 0;     // status ok
    reply[6] = 0x2C;  // the kernel minor
    ASSERT_TRUE(fed.feed->push(reply.data()));
    caller.join();
    EXPECT_EQ(result.load(), 1);
    EXPECT_EQ(minor, 0x2C);
    EXPECT_TRUE(devClose(fed.handle));
}

}  // namespace
