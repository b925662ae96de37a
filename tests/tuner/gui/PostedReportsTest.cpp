// Reports that devlink posts to a page arrive there as events on the user-interface thread.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "GuiSupport.h"
#include "app/CTovrexTunerT3300App.h"
#include "pages/CSheetPage.h"
#include "pages/PostedReports.h"

namespace {

constexpr uint32_t kNoticeMessage = 0x465;

class RecordingPage : public CSheetPage {
  public:
    explicit RecordingPage(CTovrexTunerT3300App& app)
        : CSheetPage(app, tuner::PageKind::kDrawTest) {}

    bool Subscribe(uint8_t kind, uint32_t message) { return PostReportsHere(kind, message); }

    struct Received {
        uint32_t message;
        DevReport report;
        bool onGuiThread;
    };
    std::vector<Received> received;

  protected:
    void OnPostedReport(uint32_t message, const DevReport& report) override {
        received.push_back({message, report, QThread::currentThread() == qApp->thread()});
    }
};

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

class PostedReportsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        guitest::Calls() = {};
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    }
    guitest::TempFolder runtime_;
    guitest::TempFolder profiles_;
};

TEST_F(PostedReportsTest, ReportFromAnotherThreadArrivesAsACopyOnTheGuiThread) {
    CTovrexTunerT3300App app;
    RecordingPage page(app);
    DevReport sent{};
    for (std::size_t i = 0; i < kDevReportSize; ++i) sent.bytes[i] = static_cast<uint8_t>(i);

    std::thread reader([&] {
        DevReport onTheStack = sent;
        PostReportToWindow(nullptr, WindowFor(&page), kNoticeMessage, &onTheStack);
        std::memset(onTheStack.bytes, 0xEE,
                    kDevReportSize);  // the library reuses its buffer at once
    });
    reader.join();

    ASSERT_TRUE(WaitFor([&] { return !page.received.empty(); }));
    EXPECT_EQ(page.received[0].message, kNoticeMessage);
    EXPECT_TRUE(std::equal(sent.bytes, sent.bytes + kDevReportSize, page.received[0].report.bytes));
    EXPECT_TRUE(page.received[0].onGuiThread);
}

TEST_F(PostedReportsTest, ReportForAPageThatIsGoneIsDropped) {
    CTovrexTunerT3300App app;
    auto page = std::make_unique<RecordingPage>(app);
    void* window = WindowFor(page.get());
    DevReport report{};

    // One event queued while the page lives, then the page goes before the queue runs.
    PostReportToWindow(nullptr, window, kNoticeMessage, &report);
    page.reset();
    std::thread reader([&] { PostReportToWindow(nullptr, window, kNoticeMessage, &report); });
    reader.join();
    QApplication::processEvents();  // would reach freed memory if anything were delivered
    SUCCEED();
}

TEST_F(PostedReportsTest, SubscribedPageReceivesTheControllersDisconnectNotice) {
    // The simulated controller announces its disconnect after this many requests; start-up takes
    // fewer, and the test makes requests until it happens.
    setenv("DEVLINK",
           guitest::WriteProfile(profiles_, "model = K7P100\ndisconnect_after = 40\n").c_str(), 1);
    devSetPostSink(PostReportToWindow, nullptr);
    CTovrexTunerT3300App app;
    ASSERT_EQ(tuner::StartController(app.State()), tuner::StartupResult::kReady);

    RecordingPage page(app);
    ASSERT_TRUE(page.Subscribe(0x3B, kNoticeMessage));
    for (int request = 0; request < 100; ++request)
        if (!devSwitchWorkMode(app.Device(), tuner::kCommandMode)) break;

    ASSERT_TRUE(WaitFor([&] { return !page.received.empty(); }));
    EXPECT_EQ(page.received[0].message, kNoticeMessage);
    EXPECT_EQ(devReportKind(page.received[0].report), 0x3B);
    EXPECT_TRUE(page.received[0].onGuiThread);
}

}  // namespace
