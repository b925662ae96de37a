// What a report handler may call: waiting calls fail at once with their cause, and the program's
// threads neither wait for them nor see their cause.
#include <atomic>
#include <chrono>
#include <thread>

#include "SimFixture.h"

using namespace testsim;
using namespace std::chrono_literals;

namespace {

// Waits for `done` up to two seconds.
template <typename Pred>
bool waitFor(Pred done) {
    for (auto until = std::chrono::steady_clock::now() + 2s;
         std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(1ms))
        if (done()) return true;
    return false;
}

TEST(HandlerCalls, WaitingCallsAndCloseAreRefusedAtOnceWithTheirCause) {
    TempDir dir;
    SimDevice dev(dir.write("fast.profile", "model = K7P100\nframe_interval_ms = 1\n"));
    SimDevice other("K7P100");
    struct Seen {
        DevHandle handle, other;
        std::atomic<bool> done{false};
        int kernel = -1, otherKernel = -1, closed = -1, request = -1;
        int cause = -1, otherCause = -1;
        std::chrono::steady_clock::duration took{};
    } seen{dev.handle(), other.handle()};
    devAddReportHandler(
        dev.handle(), 0x4A, kDevAnySubCode, &seen, [](void* ctx, int, const DevReport*) {
            auto* s = static_cast<Seen*>(ctx);
            if (s->done) return;
            const auto start = std::chrono::steady_clock::now();
            uint8_t minor = 0, reply[64] = {};
            const uint8_t query[64] = {3, 2, 0x3F, 0x7D};
            int length = 0;
            s->kernel = devGetKernelNumber(s->handle, &minor);
            s->cause = devGetLastError(s->handle);
            s->request = devRequest(s->handle, query, 64, 0x3F, 0x7D, 500, reply, &length);
            s->otherKernel = devGetKernelNumber(s->other, &minor);
            s->otherCause = devGetLastError(s->other);
            s->closed = devClose(s->handle);
            s->took = std::chrono::steady_clock::now() - start;
            s->done = true;
        });
    // The program's cause before the frames start: the handler's refusals must not replace it.
    EXPECT_FALSE(devSwitchWorkMode(dev.handle(), 0x1234));
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x4080));
    EXPECT_EQ(devGetLastError(dev.handle()), kDevErrorNone);
    ASSERT_TRUE(waitFor([&] { return seen.done.load(); }));

    EXPECT_EQ(seen.kernel, 0);
    EXPECT_EQ(seen.request, 0);
    EXPECT_EQ(seen.closed, 0);
    EXPECT_EQ(seen.otherKernel, 0) << "a handler must not wait on another device either";
    EXPECT_EQ(seen.cause, kDevErrorFromHandler);
    EXPECT_EQ(seen.otherCause, kDevErrorFromHandler);
    EXPECT_LT(seen.took, 500ms) << "refused calls must not wait for a reply";

    EXPECT_EQ(devGetLastError(dev.handle()), kDevErrorNone) << "the program's cause is its own";
    uint8_t minor = 0;
    EXPECT_TRUE(devGetKernelNumber(dev.handle(), &minor)) << "the device is still open";
    EXPECT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
    EXPECT_EQ(devGetLastError(other.handle()), kDevErrorNone);
}

TEST(HandlerCalls, AHandlerMayRemoveAnotherSubscriptionAndAddOne) {
    TempDir dir;
    SimDevice dev(dir.write("fast.profile", "model = K7P100\nframe_interval_ms = 1\n"));
    struct State {
        DevHandle handle;
        std::atomic<DevSubscription> victim{nullptr}, added{nullptr};
        std::atomic<int> victimCalls{0}, addedCalls{0};
        std::atomic<int> removed{-1};
    } st{dev.handle()};
    auto counter = [](void* ctx, int, const DevReport*) {
        static_cast<State*>(ctx)->victimCalls++;
    };
    st.victim = devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, &st, counter);
    devAddReportHandler(
        dev.handle(), 0x4A, kDevAnySubCode, &st, [](void* ctx, int, const DevReport*) {
            auto* s = static_cast<State*>(ctx);
            if (s->removed != -1) return;
            s->removed = devRemoveReportHandler(s->handle, s->victim.load());
            s->added = devAddReportHandler(
                s->handle, 0x4A, kDevAnySubCode, s,
                [](void* c, int, const DevReport*) { static_cast<State*>(c)->addedCalls++; });
        });
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x4080));
    ASSERT_TRUE(waitFor([&] { return st.addedCalls > 10; }));
    const int victimCalls = st.victimCalls;
    std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
    EXPECT_EQ(st.removed.load(), 1);
    EXPECT_EQ(st.victimCalls.load(), victimCalls) << "the removed subscription still got reports";
    EXPECT_TRUE(devRemoveReportHandler(dev.handle(), st.added.load()));
}

}  // namespace
