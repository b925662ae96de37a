// Handles and subscriptions are never reused: a stale one fails even where the memory behind an
// earlier one has been handed to a new device or subscription.
#include <set>

#include "SimFixture.h"

using namespace testsim;

namespace {

constexpr int kRounds = 20;  // enough rounds for an allocator to hand back a freed block

TEST(Tokens, AClosedHandleStaysDeadAfterLaterOpens) {
    setenv("DEVLINK", "sim:K7P100", 1);
    const auto records = enumerateAll();
    ASSERT_EQ(records.size(), 1u);
    std::vector<DevHandle> closed;
    for (int round = 0; round < kRounds; ++round) {
        const DevHandle h = devOpen(records.front());
        ASSERT_NE(h, nullptr);
        uint8_t minor = 0;
        for (DevHandle old : closed) {
            ASSERT_NE(old, h) << "round " << round << " got a handle back";
            EXPECT_FALSE(devGetKernelNumber(old, &minor)) << "round " << round;
            EXPECT_EQ(devGetLastError(old), kDevErrorNoDevice);
            EXPECT_FALSE(devClose(old)) << "closing a stale handle closed the new device";
        }
        EXPECT_TRUE(devGetKernelNumber(h, &minor)) << "round " << round;
        ASSERT_TRUE(devClose(h));
        closed.push_back(h);
    }
}

TEST(Tokens, ARemovedSubscriptionStaysDeadAfterLaterSubscriptions) {
    SimDevice dev("K7P100");
    SimDevice other("K7P100");
    auto noop = [](void*, int, const DevReport*) {};
    std::set<DevSubscription> seen;
    DevSubscription removed = nullptr;
    for (int round = 0; round < kRounds; ++round) {
        const DevSubscription s =
            devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, nullptr, noop);
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(seen.insert(s).second) << "round " << round << " got a subscription back";
        if (removed) {
            EXPECT_FALSE(devRemoveReportHandler(dev.handle(), removed)) << "round " << round;
        }
        EXPECT_FALSE(devRemoveReportHandler(other.handle(), s)) << "another device's subscription";
        ASSERT_TRUE(devRemoveReportHandler(dev.handle(), s))
            << "round " << round << ": the stale removal took it";
        removed = s;
    }
}

}  // namespace
