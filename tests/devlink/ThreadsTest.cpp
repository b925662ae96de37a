// Streams on the reader thread: image frames, AFE bursts, short tests, posted reports, and
// subscriptions added and removed while reports flow.
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "SimFixture.h"
#include "WaitFor.h"

using namespace testsim;
using namespace std::chrono_literals;

namespace {

// Collects copies of the reports a subscription receives.
struct Collector {
    std::mutex mutex;
    std::vector<DevReport> reports;
    static void handle(void* ctx, int, const DevReport* r) {
        auto* self = static_cast<Collector*>(ctx);
        std::lock_guard lock(self->mutex);
        self->reports.push_back(*r);
    }
    size_t size() {
        std::lock_guard lock(mutex);
        return reports.size();
    }
    std::vector<DevReport> take() {
        std::lock_guard lock(mutex);
        return std::move(reports);
    }
    // Waits until `done` holds for the reports so far, up to two seconds.
    template <typename Pred>
    bool waitFor(Pred done) {
        for (auto until = std::chrono::steady_clock::now() + 2s;
             std::chrono::steady_clock::now() < until;) {
            {
                std::lock_guard lock(mutex);
                if (done(reports)) return true;
            }
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }
};

// Rows of columns seen, keyed by raw row, from 0x4A reports; checks each report's framing.
std::map<int, int> rowsOf(const std::vector<DevReport>& reports, int& badFraming) {
    std::map<int, int> rows;
    for (const auto& r : reports) {
        const int count = r.bytes[1];
        const int values = (count - 3) / 2;
        if (count < 5 || count > 61 || (count - 3) % 2 != 0 || values > 29 ||
            r.bytes[4] != rows[r.bytes[3]])
            ++badFraming;
        rows[r.bytes[3]] = r.bytes[4] + values;
    }
    return rows;
}

TEST(Streams, ImageModeSendsWholeFramesAndStopsWhenTheModeSwitchReturns) {
    SimDevice dev("K7P100");  // 40 Tx x 70 Rx
    Collector frames;
    auto sub = devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, &frames, Collector::handle);
    ASSERT_NE(sub, nullptr);
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x4080));
    const size_t perFrame = 42 * 3;  // lead rows and Tx lines, 70 values in 29 + 29 + 12
    ASSERT_TRUE(frames.waitFor([&](auto& r) { return r.size() >= perFrame; }));
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
    const size_t atSwitch = frames.size();
    std::this_thread::sleep_for(60ms);  // three frame intervals
    EXPECT_EQ(frames.size(), atSwitch) << "no image rows after the switch returned";

    auto reports = frames.take();
    reports.resize(perFrame);
    int bad = 0;
    const auto rows = rowsOf(reports, bad);
    EXPECT_EQ(bad, 0);
    ASSERT_EQ(rows.size(), 42u);
    for (const auto& [row, end] : rows) EXPECT_EQ(end, 70) << "row " << row << " ends at R";
    EXPECT_EQ(rows.rbegin()->first, 41) << "the last raw row is T + 1";
    EXPECT_TRUE(devRemoveReportHandler(dev.handle(), sub));
}

TEST(Streams, ReportWindowLimitsRowsAndColumnsAndIsCheckedAgainstTheSensor) {
    SimDevice dev("K7P100");
    EXPECT_FALSE(devSetReportImage(dev.handle(), 0, 70, 0, 39)) << "Rx 70 does not exist";
    EXPECT_FALSE(devSetReportImage(dev.handle(), 5, 4, 0, 39));
    ASSERT_TRUE(devSetReportImage(dev.handle(), 10, 40, 5, 6));
    Collector frames;
    auto sub = devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, &frames, Collector::handle);
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x4004));
    ASSERT_TRUE(frames.waitFor([](auto& r) { return r.size() >= 8; }));  // 4 rows x 2 reports
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
    auto reports = frames.take();
    reports.resize(8);
    std::vector<int> rawRows;
    for (const auto& r : reports) {
        if (rawRows.empty() || rawRows.back() != r.bytes[3]) rawRows.push_back(r.bytes[3]);
        EXPECT_GE(r.bytes[4], 10);
    }
    EXPECT_EQ(rawRows, (std::vector<int>{0, 1, 7, 8}));  // lead rows, then Lead + Tx 5 and 6
    EXPECT_EQ(reports.back().bytes[4] + (reports.back().bytes[1] - 3) / 2, 41);
    devRemoveReportHandler(dev.handle(), sub);
}

TEST(Streams, AfeBurstSendsTheRequestedRowsThenStops) {
    SimDevice dev("K7P84");  // 40 Tx x 64 Rx
    Collector rows;
    auto sub = devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, &rows, Collector::handle);
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
    ASSERT_TRUE(devSetTestMode(dev.handle(), 3, 3));
    ASSERT_TRUE(devRequestImage(dev.handle(), 36, 10));
    ASSERT_TRUE(rows.waitFor([](auto& r) { return r.size() >= 36 * 3; }));
    std::this_thread::sleep_for(30ms);
    auto reports = rows.take();
    EXPECT_EQ(reports.size(), 36u * 3);
    int bad = 0;
    auto seen = rowsOf(reports, bad);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(seen.size(), 36u);
    EXPECT_EQ(seen.rbegin()->second, 64);

    // Along the Tx axis the rows carry one value per Tx line.
    ASSERT_TRUE(devSetTestMode(dev.handle(), 1, 255));
    ASSERT_TRUE(devRequestImage(dev.handle(), 4, 10));
    ASSERT_TRUE(rows.waitFor([](auto& r) { return r.size() >= 8; }));
    bad = 0;
    seen = rowsOf(rows.take(), bad);
    EXPECT_EQ(seen.rbegin()->second, 40);
    devRemoveReportHandler(dev.handle(), sub);
}

TEST(Streams, ShortTestRunsInDiagnosticsModeAndEndsWithItsCompletionReport) {
    SimDevice dev("K9P100");
    Collector reports;
    auto sub = devAddReportHandler(dev.handle(), 0x3F, 0x53, &reports, Collector::handle);
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
    EXPECT_FALSE(devStartShortTest(dev.handle(), 1)) << "only in diagnostics mode";
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8004));
    EXPECT_FALSE(devStartShortTest(dev.handle(), 2));
    ASSERT_TRUE(devStartShortTest(dev.handle(), 1));
    auto isCompletion = [](const DevReport& r) { return r.bytes[1] == 3 && r.bytes[4] == 0x81; };
    ASSERT_TRUE(reports.waitFor([&](auto& r) { return !r.empty() && isCompletion(r.back()); }));
    auto all = reports.take();
    int rxEntries = 0, txEntries = 0, rxRows = 0, txRows = 0;
    for (const auto& r : all) {
        if (r.bytes[1] == 6 && r.bytes[4] == 0x01) ++rxEntries;
        if (r.bytes[1] == 6 && r.bytes[4] == 0x81) ++txEntries;
        if (r.bytes[4] == 0x03 && r.bytes[7] == 0) ++rxRows;
        if (r.bytes[4] == 0x83 && r.bytes[7] == 0) ++txRows;
        EXPECT_LE(r.bytes[1], 62);
    }
    // One list entry per active channel; one matrix row per pin of the two chips.
    EXPECT_EQ(rxEntries, 140);
    EXPECT_EQ(txEntries, 80);
    EXPECT_EQ(rxRows, 200);
    EXPECT_EQ(txRows, 128);
    EXPECT_EQ(std::count_if(all.begin(), all.end(), isCompletion), 1);
    devRemoveReportHandler(dev.handle(), sub);
}

struct Posted {
    std::mutex mutex;
    std::vector<std::tuple<void*, uint32_t, DevReport>> items;
};

TEST(Streams, PostedSubscriptionsReachTheProgramsSinkWithWindowAndMessage) {
    Posted posted;
    devSetPostSink(
        [](void* ctx, void* window, uint32_t message, const DevReport* r) {
            auto* p = static_cast<Posted*>(ctx);
            std::lock_guard lock(p->mutex);
            p->items.emplace_back(window, message, *r);
        },
        &posted);
    {
        SimDevice dev("K7P100");
        int window = 0;
        ASSERT_NE(devPostFilteredReports(dev.handle(), &window, 0x3F, 0x68, 0x46A), nullptr);
        ASSERT_NE(devPostFilteredReports(dev.handle(), &window, 0x3F, 0x70, 0x46B), nullptr);
        ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x2000));
        ASSERT_TRUE(devSetInfoReport(dev.handle(), 1));
        for (int i = 0; i < 200; ++i) {
            std::this_thread::sleep_for(5ms);
            std::lock_guard lock(posted.mutex);
            if (!posted.items.empty()) break;
        }
        ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
        std::lock_guard lock(posted.mutex);
        ASSERT_FALSE(posted.items.empty());
        for (const auto& [w, message, r] : posted.items) {
            EXPECT_EQ(w, &window);
            EXPECT_EQ(message, 0x46Au);
            EXPECT_EQ(r.bytes[3], 0x68);
        }
    }
    devSetPostSink(nullptr, nullptr);
}

// A handler that records whether it ever ran after its removal returned.
struct Guarded {
    std::atomic<bool> removed{false};
    std::atomic<int> lateCalls{0};
    std::atomic<int> calls{0};
    static void handle(void* ctx, int, const DevReport*) {
        auto* g = static_cast<Guarded*>(ctx);
        g->calls++;
        if (g->removed) g->lateCalls++;
    }
};

TEST(Subscriptions, AddAndRemoveFromManyThreadsWhileFramesFlow) {
    TempDir dir;
    SimDevice dev(dir.write("fast.profile", "model = K7P100\nframe_interval_ms = 0\n"));
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x4080));
    std::atomic<int> late{0}, called{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                auto g = std::make_unique<Guarded>();
                auto sub = devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, g.get(),
                                               Guarded::handle);
                ASSERT_NE(sub, nullptr);
                std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 5)));
                ASSERT_TRUE(devRemoveReportHandler(dev.handle(), sub));
                g->removed = true;
                std::this_thread::sleep_for(std::chrono::microseconds(50));
                late += g->lateCalls;
                called += g->calls;
                EXPECT_FALSE(devRemoveReportHandler(dev.handle(), sub)) << "removed twice";
            }  // the context is freed here: a late callback would touch freed memory
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(late.load(), 0);
    EXPECT_GT(called.load(), 0);
    EXPECT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
}

TEST(Subscriptions, RemovalWaitsForTheRunningCallbackAndWorksFromInsideIt) {
    TempDir dir;
    SimDevice dev(dir.write("fast.profile", "model = K7P100\nframe_interval_ms = 0\n"));
    struct Slow {
        std::atomic<bool> inside{false}, finished{false};
    } slow;
    auto sub = devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, &slow,
                                   [](void* ctx, int, const DevReport*) {
                                       auto* s = static_cast<Slow*>(ctx);
                                       if (s->finished) return;
                                       s->inside = true;
                                       std::this_thread::sleep_for(50ms);
                                       s->finished = true;
                                   });
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x4080));
    ASSERT_TRUE(testsupport::WaitFor([&] { return slow.inside.load(); })) << "no report arrived";
    ASSERT_TRUE(devRemoveReportHandler(dev.handle(), sub));
    EXPECT_TRUE(slow.finished) << "removal returned while the callback still ran";

    struct SelfRemoving {
        DevHandle handle;
        std::atomic<DevSubscription> sub{nullptr};  // set once the add returned
        std::atomic<int> calls{0}, removals{0};
    } self{dev.handle()};
    self.sub = devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, &self,
                                   [](void* ctx, int, const DevReport*) {
                                       auto* s = static_cast<SelfRemoving*>(ctx);
                                       const DevSubscription sub = s->sub.load();
                                       if (!sub) return;
                                       s->calls++;
                                       s->removals += devRemoveReportHandler(s->handle, sub);
                                   });
    for (int i = 0; i < 200 && self.calls == 0; ++i) std::this_thread::sleep_for(2ms);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(self.calls.load(), 1);
    EXPECT_EQ(self.removals.load(), 1);
}

TEST(Session, CloseStopsTheReaderPromptlyWhileReportsArrive) {
    TempDir dir;
    const auto fast = dir.write("fast.profile", "model = K9PM100\nframe_interval_ms = 0\n");
    for (int round = 0; round < 5; ++round) {
        SimDevice dev(fast);
        std::atomic<int> calls{0};
        devAddReportHandler(
            dev.handle(), 0x4A, kDevAnySubCode, &calls,
            [](void* c, int, const DevReport*) { ++*static_cast<std::atomic<int>*>(c); });
        ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x4080));
        ASSERT_TRUE(testsupport::WaitFor([&] { return calls >= 100; })) << calls;
        const auto start = std::chrono::steady_clock::now();
        DevHandle h = dev.handle();
        dev.close();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
        const int after = calls;
        std::this_thread::sleep_for(10ms);
        EXPECT_EQ(calls.load(), after) << "no callback after close";
        EXPECT_EQ(devSwitchWorkMode(h, 0x8000), 0);
    }
}

TEST(Requests, RawRequestTimesOutWhenNoMatchingReplyComes) {
    SimDevice dev("K7P100");
    uint8_t request[64] = {0x03, 0x02, 0x3F, 0x7D};
    uint8_t reply[64];
    int length = -1;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(devRequest(dev.handle(), request, 64, 0x3F, 0x11, 150, reply, &length));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 150ms);
    EXPECT_LT(waited, 1000ms);
    EXPECT_EQ(length, 0);
    // The device still answers afterwards; the late reply was not taken for the next request.
    uint8_t minor = 0;
    EXPECT_TRUE(devGetKernelNumber(dev.handle(), &minor));
    EXPECT_EQ(minor, 120);
}

TEST(Requests, ConcurrentCallersEachGetTheirOwnReply) {
    SimDevice dev("K7P100");
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 100; ++i) {
                if (t % 2) {
                    uint8_t minor = 0;
                    if (!devGetKernelNumber(dev.handle(), &minor) || minor != 120) ++wrong;
                } else {
                    uint8_t info[64];
                    if (!devQueryInfo(dev.handle(), 3, info) || info[8] != 40 || info[9] != 70)
                        ++wrong;
                }
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
