// The tuner started against the simulated controller: its title, its two pages, the page keys,
// leaving with Escape, and the controller closed exactly once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <string>

#include "GuiSupport.h"
#include "app/CMainSheet.h"
#include "app/CTovrexTunerT3300App.h"
#include "pages/CDrawTestPage.h"
#include "pages/CImageDataPage.h"

namespace {

using guitest::Calls;

class TunerSheetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Calls() = {};
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
        setenv("DEVLINK", guitest::WriteProfile(profiles_, kProfile).c_str(), 1);
        setenv("DEVLINK_SIM_TRACE", TracePath().c_str(), 1);
    }
    void TearDown() override { unsetenv("DEVLINK_SIM_TRACE"); }

    std::string TracePath() const { return (profiles_.Path() / "trace.txt").string(); }

    // The last working mode the controller was asked for, as its trace shows it.
    std::string LastModeRequested() const {
        std::ifstream trace(TracePath());
        std::string line, last;
        while (std::getline(trace, line))
            if (line.rfind("switch_mode", 0) == 0) last = line;
        return last;
    }

    static constexpr const char* kProfile =
        "model = K7P100\n"
        "model_name = TP-GXXX\n"
        "sub_name = K7P100\n"
        "version = V5.120-T%s\n"
        "kernel_major = 5\n"
        "kernel_minor = 120\n";

    guitest::TempFolder runtime_;
    guitest::TempFolder profiles_;
};

struct SheetSeen {
    QString title;
    int pages = 0;
    bool pageKindsRight = false;
    int currentAtStart = -1;
    bool maximised = false;
    QRect tabArea;
    QRect expectedTabArea;
    int pageFontPoints = 0;
    bool deviceOpenWhileShown = false;
};

// The window's outer rectangle (with its frame) as seen from its client area.
QRect OuterRectInClientCoordinates(const QWidget& window) {
    const QPoint clientOrigin = window.geometry().topLeft();
    const QRect frame = window.frameGeometry();
    return QRect(frame.topLeft() - clientOrigin, frame.size());
}

bool SheetIsUp(CTovrexTunerT3300App& app) {
    CMainSheet* sheet = app.MainSheet();
    return sheet != nullptr && sheet->isVisible() && sheet->isMaximized() &&
           sheet->frameGeometry().size() == sheet->screen()->availableGeometry().size();
}

SheetSeen LookAt(CTovrexTunerT3300App& app, CMainSheet& sheet) {
    SheetSeen seen;
    seen.title = sheet.windowTitle();
    seen.pages = sheet.PageCount();
    seen.pageKindsRight = qobject_cast<CDrawTestPage*>(sheet.Page(0)) != nullptr &&
                          qobject_cast<CImageDataPage*>(sheet.Page(1)) != nullptr;
    seen.currentAtStart = sheet.CurrentPage();
    seen.maximised = sheet.isMaximized();
    seen.tabArea = sheet.Tabs()->geometry();
    seen.expectedTabArea = OuterRectInClientCoordinates(sheet).adjusted(15, 35, -15, -15);
    seen.pageFontPoints = sheet.Page(0)->font().pointSize();
    seen.deviceOpenWhileShown = app.Device() != nullptr;
    return seen;
}

TEST_F(TunerSheetTest, ShowsTheControllerAndLeavesOnEscapeClosingTheControllerOnce) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    SheetSeen seen;
    std::vector<int> pagesAfterKeys;
    std::size_t questionsBeforeYes = 0;
    bool stillRunningAfterNo = false;

    guitest::WhenReady scenario(
        [&] { return SheetIsUp(app); },
        [&] {
            CMainSheet& sheet = *app.MainSheet();
            seen = LookAt(app, sheet);
            sheet.grab().save(QString::fromStdString(
                (guitest::ArtifactFolder() / "tuner-main-sheet.png").string()));

            // Each key goes to the widget with the focus, as a user's key would.
            auto press = [&](Qt::Key key) {
                QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                              : sheet.Page(sheet.CurrentPage());
                QTest::keyClick(target, key);
                pagesAfterKeys.push_back(sheet.CurrentPage());
            };
            press(Qt::Key_F6);      // 1
            press(Qt::Key_Period);  // 1: the image page has no next page
            press(Qt::Key_F5);      // 1: the image page does not know F5
            press(Qt::Key_Comma);   // 0
            press(Qt::Key_F7);      // 0: there is no third page
            press(Qt::Key_F10);     // 0
            press(Qt::Key_Comma);   // 0: no page before the first
            press(Qt::Key_Period);  // 1
            press(Qt::Key_Comma);   // 0
            press(Qt::Key_F5);      // 0

            answerer.AnswerWith(QMessageBox::No);
            QTest::keyClick(sheet.Page(0), Qt::Key_Escape);
            QApplication::processEvents();
            stillRunningAfterNo = app.MainSheet() != nullptr && sheet.isVisible();
            questionsBeforeYes = answerer.Seen().size();

            answerer.AnswerWith(QMessageBox::Yes);
            QTest::keyClick(sheet.Page(0), Qt::Key_Escape);
        });

    const int status = app.Run();

    ASSERT_TRUE(scenario.Ran()) << "the sheet never appeared";
    EXPECT_EQ(status, 0);

    const QRegularExpression title(
        R"(^TovrexTuner_K7PXXX v1\.0\.0\.87\(180308\) \( M:TP-GXXX \(K7P100\), V:V5\.120-T%s, )"
        R"(T:\d+, R:\d+, Ker:05\.120\.\d{6} \)$)");
    EXPECT_TRUE(title.match(seen.title).hasMatch()) << seen.title.toStdString();
    const auto channels = app.State().channels.Get();
    EXPECT_GT(channels.txCount, 0u);
    EXPECT_GT(channels.rxCount, 0u);
    EXPECT_TRUE(seen.title.contains(
        QStringLiteral("T:%1, R:%2,").arg(channels.txCount).arg(channels.rxCount)));
    EXPECT_EQ(seen.pages, 2);
    EXPECT_TRUE(seen.pageKindsRight);
    EXPECT_EQ(seen.currentAtStart, 0);
    EXPECT_TRUE(seen.maximised);
    EXPECT_EQ(seen.tabArea, seen.expectedTabArea);
    EXPECT_EQ(seen.pageFontPoints, 10);
    EXPECT_TRUE(seen.deviceOpenWhileShown);

    EXPECT_EQ(pagesAfterKeys, (std::vector<int>{1, 1, 1, 0, 0, 0, 0, 1, 0, 0}));

    EXPECT_TRUE(stillRunningAfterNo) << "answering No must keep the tuner running";
    EXPECT_EQ(questionsBeforeYes, 1u);
    ASSERT_EQ(answerer.Seen().size(), 2u);
    for (const auto& question : answerer.Seen()) {
        EXPECT_EQ(question.text, QStringLiteral("Exit TovrexTuner?"));
        EXPECT_EQ(question.caption, QStringLiteral("Info"));
        EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    }

    EXPECT_EQ(Calls().openedHandles, 1);
    EXPECT_EQ(Calls().closes, 1) << "the controller must be closed exactly once";
    EXPECT_NE(LastModeRequested().find("mode=0x0000"), std::string::npos)
        << "the controller must be left in normal mode: " << LastModeRequested();
    EXPECT_EQ(app.Device(), nullptr);
}

TEST_F(TunerSheetTest, TabControlFollowsTheWindowSizeWithItsInsets) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    QRect restoredArea, restoredExpected;
    QSize sheetFrame;

    guitest::WhenReady scenario([&] { return SheetIsUp(app); },
                                [&] {
                                    CMainSheet& sheet = *app.MainSheet();
                                    sheet.showNormal();
                                    sheet.resize(640, 420);
                                    QApplication::processEvents();
                                    restoredArea = sheet.Tabs()->geometry();
                                    sheetFrame = sheet.frameGeometry().size();
                                    restoredExpected = OuterRectInClientCoordinates(sheet).adjusted(
                                        15, 35, -15, -15);
                                    sheet.close();
                                });

    EXPECT_EQ(app.Run(), 0);
    ASSERT_TRUE(scenario.Ran());
    EXPECT_EQ(restoredArea, restoredExpected);
    EXPECT_EQ(restoredArea.size(), sheetFrame - QSize(30, 50));
    EXPECT_EQ(Calls().closes, 1);
}

}  // namespace

namespace {

TEST_F(TunerSheetTest, ControllerThatIsGoneEndsTheTunerWithoutAClose) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    guitest::WhenReady gone([&] { return SheetIsUp(app); }, [&] { app.ForgetDevice(); });

    EXPECT_EQ(app.Run(), 0);

    ASSERT_TRUE(gone.Ran());
    EXPECT_EQ(Calls().openedHandles, 1);
    EXPECT_EQ(Calls().closes, 0) << "a controller that is gone must not be closed";
    EXPECT_EQ(LastModeRequested().find("mode=0x0000"), std::string::npos)
        << "nothing may be sent to a controller that is gone";
}

}  // namespace

namespace {

// The controller announces that it goes away while the sheet is up: the tuner ends by itself,
// without closing the handle and without sending anything more.
TEST_F(TunerSheetTest, TheDisconnectNoticeEndsTheTunerWithoutAClose) {
    setenv(
        "DEVLINK",
        guitest::WriteProfile(profiles_, std::string(kProfile) + "disconnect_after = 60\n").c_str(),
        1);
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    int requestsToTheEnd = 0;
    // Requests of the test's own, until the controller has answered its last one.
    guitest::WhenReady disconnect(
        [&] { return SheetIsUp(app); },
        [&] {
            uint8_t minor = 0;
            const DevHandle handle = app.Device();
            while (requestsToTheEnd < 60 && devGetKernelNumber(handle, &minor)) ++requestsToTheEnd;
        });
    // Fails the test instead of letting it hang when the notice is ignored.
    guitest::WhenReady watchdog([] { return false; }, [] {}, 5000);

    EXPECT_EQ(app.Run(), 0);

    ASSERT_TRUE(disconnect.Ran());
    EXPECT_LT(requestsToTheEnd, 60) << "the controller never went away";
    EXPECT_FALSE(watchdog.TimedOut()) << "the tuner kept running after the notice";
    EXPECT_EQ(app.Device(), nullptr);
    EXPECT_EQ(Calls().closes, 0) << "a controller that is gone must not be closed";
    std::ifstream trace(TracePath());
    std::string line, last;
    while (std::getline(trace, line)) last = line;
    EXPECT_EQ(last, "disconnect");
}

TEST_F(TunerSheetTest, TheWindowsCarryTheApplicationIcon) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    QImage sheetIcon;
    guitest::WhenReady look([&] { return SheetIsUp(app); },
                            [&] {
                                sheetIcon = app.MainSheet()->windowIcon().pixmap(32).toImage();
                                app.MainSheet()->close();
                            });
    EXPECT_EQ(app.Run(), 0);
    ASSERT_TRUE(look.Ran());
    ASSERT_FALSE(sheetIcon.isNull()) << "the icon does not render";
    EXPECT_EQ(sheetIcon, CTovrexTunerT3300App::Icon().pixmap(32).toImage());
    // Not a blank square: the icon's panel colour is in it.
    EXPECT_EQ(sheetIcon.pixelColor(5, 20).name(), QColor("#1f3b57").name());
}

}  // namespace
