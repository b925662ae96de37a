// The draw-test page against the simulated controller's scripted hand: what the canvas, the
// information panel and the full-screen window show (saved as screenshots), the page's requests,
// and a burst of reports that arrives faster than the page paints.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "GuiSupport.h"
#include "app/CMainSheet.h"
#include "app/CTovrexTunerT3300App.h"
#include "pages/PostedReports.h"
#include "pages/CDrawTestPage.h"
#include "pages/FullScreenWindow.h"

namespace {

using guitest::Calls;

// Steps run one after the other from the event loop, each once its condition holds. The whole
// script gives up after the time-out and ends the program, so a test never hangs.
class Script : public QObject {
  public:
    struct Step {
        const char* name;
        std::function<bool()> ready;
        std::function<void()> action;
    };
    Script(std::vector<Step> steps, int timeoutMs = 60000) : steps_(std::move(steps)) {
        connect(&poll_, &QTimer::timeout, this, [this] {
            if (next_ >= steps_.size() || !steps_[next_].ready()) return;
            steps_[next_++].action();
        });
        connect(&timeout_, &QTimer::timeout, this, [this] {
            poll_.stop();
            QApplication::quit();
        });
        poll_.start(10);
        timeout_.setSingleShot(true);
        timeout_.start(timeoutMs);
    }
    // The name of the step that never became ready, or empty when all ran.
    std::string Stuck() const { return next_ < steps_.size() ? steps_[next_].name : ""; }

  private:
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QTimer poll_;
    QTimer timeout_;
};

class DrawTestPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Calls() = {};
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
        setenv("DEVLINK_SIM_TRACE", TracePath().c_str(), 1);
    }
    void TearDown() override { unsetenv("DEVLINK_SIM_TRACE"); }
    void UseProfile(const std::string& text) {
        setenv("DEVLINK", guitest::WriteProfile(profiles_, text).c_str(), 1);
    }
    std::string TracePath() const { return (profiles_.Path() / "trace.txt").string(); }
    std::string Trace() const {
        std::ifstream in(TracePath());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Save(const QImage& image, const char* name) {
        image.save(QString::fromStdString((guitest::ArtifactFolder() / name).string()));
    }

    guitest::TempFolder runtime_;
    guitest::TempFolder profiles_;
};

CDrawTestPage* DrawPage(CTovrexTunerT3300App& app) {
    CMainSheet* sheet = app.MainSheet();
    if (sheet == nullptr || !sheet->isVisible()) return nullptr;
    auto* page = qobject_cast<CDrawTestPage*>(sheet->Page(0));
    return page != nullptr && page->isVisible() ? page : nullptr;
}

// Pixels of the picture in exactly this colour.
int CountColour(const QImage& image, const tuner::Colour& colour) {
    const QRgb wanted = qRgb(colour.r, colour.g, colour.b);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += (line[x] & 0xFFFFFF) == (wanted & 0xFFFFFF);
    }
    return count;
}

TEST_F(DrawTestPageTest, ScriptedHandOnTheCanvasTheInformationPanelAndTheFullScreen) {
    UseProfile(
        "model = K9PM100\ntouch_path = demo, stylus\ntouch_interval_ms = 2\n"
        "info_interval_ms = 10\ntouch_keys = 4\nerror_flags = 0x00300040\n");
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    CDrawTestPage* page = nullptr;
    QImage canvas, fullScreen;
    int idOnePixels = 0, borderPixels = 0, patternPixels = 0, fullScreenPatternPixels = 0;
    QString errorCode, errorInfo, frequency, penThreshold;
    bool stylusPanelShown = false, filterSent = false, fullScreenClosed = false;

    Script script({
        {"the page is up", [&] { return (page = DrawPage(app)) != nullptr; },
         [&] {
             errorCode = page->Controls().errorCode->text();
             errorInfo = page->Controls().errorInfo->text();
             frequency = page->Controls().freqValue->text();
             penThreshold = page->Controls().penThresholds->itemText(1);
             page->Controls().filter->click();  // unfiltered points, sent at once
             filterSent = Trace().find("switch_mode mode=0x2001") != std::string::npos;
             page->Controls().filter->click();
         }},
        {"the demo has drawn its contacts",
         [&] {
             const auto& held = page->Model().Slots();
             return held.Slot(1).HasData() && held.Slot(3).HasData() && !held.Slot(3).down;
         },
         [&] {
             canvas = page->Controls().canvas->Picture();
             Save(page->grab().toImage(), "draw-test-page.png");
             Save(canvas, "draw-test-canvas.png");
             idOnePixels = CountColour(canvas, tuner::IdPen(1).colour);
             borderPixels = CountColour(canvas, tuner::BorderPen().colour);
             patternPixels = CountColour(canvas, {160, 160, 160});
             page->Controls().touchInfo->click();
         }},
        {"touch information arrived", [&] { return page->Model().InfoReports() >= 30; },
         [&] {
             QTest::qWait(50);  // one more frame for the panels
             Save(page->grab().toImage(), "draw-test-touch-info.png");
             page->Controls().penMode->click();
             page->Controls().penInfo->click();
         }},
        {"the stylus drew and its ranges filled",
         [&] {
             return page->Model().Stylus().total.rx.max > 0 && page->Model().InfoReports() > 30;
         },
         [&] {
             QTest::qWait(50);
             stylusPanelShown = page->Model().InfoPanel().size() > 20;
             Save(page->grab().toImage(), "draw-test-stylus-info.png");
             page->OpenFullScreen();
         }},
        {"the full-screen window drew",
         [&] { return page->FullScreen() != nullptr && page->FullScreen()->Repaints() > 10; },
         [&] {
             QTest::qWait(300);
             fullScreen = page->FullScreen()->grab().toImage();
             Save(fullScreen, "draw-test-full-screen.png");
             fullScreenPatternPixels = CountColour(page->FullScreen()->Picture(), {160, 160, 160});
             QTest::keyClick(page->FullScreen(), Qt::Key_Escape);
         }},
        {"the full-screen window closed", [&] { return page->FullScreen() == nullptr; },
         [&] {
             fullScreenClosed = page->Controls().fullScreen->isEnabled();
             app.PostQuit();
         }},
    });

    EXPECT_EQ(app.Run(), 0);
    ASSERT_EQ(script.Stuck(), "");

    EXPECT_EQ(errorCode, QStringLiteral("0x00300040"));
    EXPECT_EQ(errorInfo, QStringLiteral("ERR_T310_INVALID, ERR_RX_INVALID, ERR_REPORTID_INVALID "
                                        "ERR_NOISE_CONDITION "));
    EXPECT_TRUE(frequency.endsWith(QStringLiteral(" KHz"))) << frequency.toStdString();
    EXPECT_EQ(penThreshold, QStringLiteral("PenThreshold-1"));
    EXPECT_TRUE(filterSent);
    EXPECT_GT(idOnePixels, 300);  // the circle of ID 1
    EXPECT_GT(borderPixels, 20);  // the contact that started on the edge
    EXPECT_GT(patternPixels, 1000);
    EXPECT_TRUE(stylusPanelShown);
    EXPECT_GT(fullScreenPatternPixels, 1000);
    EXPECT_TRUE(fullScreenClosed);
    EXPECT_TRUE(answerer.Seen().empty()) << answerer.Seen()[0].text.toStdString();
    EXPECT_EQ(Calls().closes, 1);
}

// The key the panel holds down is drawn in its own cell of the key strip, and only there.
TEST_F(DrawTestPageTest, KeyStripShowsTheKeyThePanelHolds) {
    UseProfile("model = K7P100\ntouch_keys = 4\nkey_pressed = 2\n");
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    CDrawTestPage* page = nullptr;
    QImage strip;
    auto inked = [](const QImage& image, int from, int to) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = from; x < to; ++x) n += (image.pixel(x, y) & 0xFFFFFF) == 0;
        return n;
    };

    Script script({
        {"the held key is drawn",
         [&] {
             if ((page = DrawPage(app)) == nullptr) return false;
             const QImage& picture = page->Controls().keyStrip->Picture();
             // Once the strip has its size: the key is reported again while it is held.
             return picture.width() >= 40 && inked(picture, 0, picture.width()) > 0;
         },
         [&] {
             strip = page->Controls().keyStrip->Picture();
             Save(page->grab().toImage(), "draw-test-held-key.png");
             app.PostQuit();
         }},
    });
    EXPECT_EQ(app.Run(), 0);
    ASSERT_EQ(script.Stuck(), "");
    const int cell = strip.width() / 4;
    EXPECT_GT(inked(strip, 2 * cell, 3 * cell), 20);  // the ellipse and the number 3
    EXPECT_EQ(inked(strip, 0, 2 * cell), 0);
    EXPECT_EQ(inked(strip, 3 * cell, strip.width()), 0);
    EXPECT_TRUE(answerer.Seen().empty());
}

DevReport PointReport(int step) {
    DevReport r{};
    r.bytes[1] = 53;
    r.bytes[2] = 0x36;
    r.bytes[3] = 0x13;
    r.bytes[4] = 0x01;  // contact
    r.bytes[5] = 0;     // ID
    const int x = 200 + step % 3000, y = 200 + (step * 7) % 3000;
    r.bytes[6] = static_cast<uint8_t>(x), r.bytes[7] = static_cast<uint8_t>(x >> 8);
    r.bytes[8] = static_cast<uint8_t>(y), r.bytes[9] = static_cast<uint8_t>(y >> 8);
    r.bytes[54] = 1;
    return r;
}

TEST_F(DrawTestPageTest, BurstOfReportsGivesBoundedRepaintsAndNoGrowingBacklog) {
    UseProfile("model = K7P100\n");
    constexpr int kReports = 10000;
    CTovrexTunerT3300App app;
    CDrawTestPage* page = nullptr;
    std::thread sender;
    std::atomic<bool> sent{false};
    QElapsedTimer burst;
    int repaintsBefore = 0, repaints = 0, maxPending = 0, finalPending = -1;
    qint64 burstMs = 0;
    uint64_t dropped = 0;
    QTimer watch;

    Script script({
        {"the canvas is drawn",
         [&] {
             return (page = DrawPage(app)) != nullptr && page->Controls().canvas->Repaints() > 0;
         },
         [&] {
             QTest::qWait(300);  // after the first pattern
             repaintsBefore = page->Controls().canvas->Repaints();
             QObject::connect(&watch, &QTimer::timeout,
                              [&] { maxPending = std::max(maxPending, PendingReports(page)); });
             watch.start(1);
             burst.start();
             sender = std::thread([&, window = WindowFor(page)] {
                 for (int i = 0; i < kReports; ++i) {
                     const DevReport report = PointReport(i);
                     PostReportToWindow(nullptr, window, 0x467, &report);
                 }
                 sent = true;
             });
         }},
        {"the burst is handled", [&] { return sent.load() && PendingReports(page) == 0; },
         [&] {
             burstMs = burst.elapsed();
             QTest::qWait(100);  // the last repaint
             repaints = page->Controls().canvas->Repaints() - repaintsBefore;
             finalPending = PendingReports(page);
             dropped = DroppedReports(page);
             app.PostQuit();
         }},
    });

    EXPECT_EQ(app.Run(), 0);
    if (sender.joinable()) sender.join();
    ASSERT_EQ(script.Stuck(), "");

    // At most one repaint per 16 ms frame of the burst (plus the one that ends it), never one
    // per report.
    EXPECT_LE(repaints, (burstMs + 100) / DrawSurface::kFrameMs + 2) << "in " << burstMs << " ms";
    EXPECT_LT(repaints, kReports / 10);
    EXPECT_LE(maxPending, kMaxPendingReports);
    EXPECT_EQ(finalPending, 0);
    // Only a page that fell a whole queue behind loses reports, and it says how many.
    EXPECT_LT(dropped, static_cast<uint64_t>(kReports));
}

}  // namespace
