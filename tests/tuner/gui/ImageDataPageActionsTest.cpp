// The image page's actions against the simulated controller, judged by what the page then holds
// and by the requests the controller saw (its trace): the full-screen window, the software
// restart, the frequency buttons, and the pointer's magnifier lock and marks.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <set>
#include <string>
#include <vector>

#include "ImagePageSupport.h"
#include "pages/ImageViewerWindow.h"

namespace {

using guitest::Child;
using guitest::SaveGrab;
using guitest::WaitForPicture;
using tuner::image::DisplayMode;

class ImageDataPageActionsTest : public guitest::ImagePageTest {};

TEST_F(ImageDataPageActionsTest, FullScreenShowsTheGridOverTheScreenWhileTheStreamRunsOn) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    struct Seen {
        bool opened = false, secondOpen = false, buttonsOffWhileOpen = false,
             drawnForScreen = false;
        bool pageKeyReached = false, closed = false, buttonsBack = false, gridAgain = false;
        QRect window, screen;
        uint64_t statisticsWhileOpen = 0;
        int fontBefore = -1, fontOpen = -1, fontAfter = -1;
        bool quadrants[4] = {};
        bool satEnabled = true;
    } seen;

    OnImagePage(app, [&](CImageDataPage& page) {
        page.SetDisplayMode(DisplayMode::kQuad, 2);
        if (!WaitForPicture(page, "Raw (Cal)", 2)) return;
        SaveGrab(page, "tuner-image-page-controls.png");
        seen.satEnabled = Child<QRadioButton>(page, "satMax")->isEnabled() ||
                          Child<QRadioButton>(page, "satMin")->isEnabled();
        seen.fontBefore = page.FontStep();
        auto* fullScreen = Child<QPushButton>(page, "fullScreen");
        auto* pause = Child<QPushButton>(page, "pause");

        QTest::keyClick(&page, Qt::Key_F);
        ImageViewerWindow* viewer = page.FullScreen();
        if (viewer == nullptr) return;
        seen.opened = viewer->objectName() == QStringLiteral("ImageDataViewer");
        seen.buttonsOffWhileOpen = !fullScreen->isEnabled() && !pause->isEnabled();
        seen.fontOpen = page.FontStep();
        QTest::keyClick(viewer, Qt::Key_F);  // already open
        seen.secondOpen = page.FullScreen() != viewer;

        // The worker draws for the window's size and the page's own views keep up.
        const uint64_t shownBefore = page.PicturesShown();
        seen.drawnForScreen = QTest::qWaitFor(
            [&] { return viewer->Pictures() >= 3 && viewer->Picture().size() == viewer->size(); },
            10000);
        seen.statisticsWhileOpen = page.PicturesShown() - shownBefore;
        seen.window = viewer->geometry();
        seen.screen = page.screen()->geometry();
        SaveGrab(*viewer, "tuner-image-full-screen.png");

        QTest::keyClick(viewer, Qt::Key_Plus);  // the page's key: one font step larger
        seen.pageKeyReached = page.FontStep() == seen.fontOpen + 1;
        QTest::mouseClick(viewer, Qt::RightButton);
        seen.closed = page.FullScreen() == nullptr;
        seen.fontAfter = page.FontStep();
        seen.buttonsBack = fullScreen->isEnabled() && pause->isEnabled();
        for (int q = 0; q < 4; ++q)
            seen.quadrants[q] =
                Child<QPushButton>(page, ("quadrant" + std::to_string(q + 1)).c_str())->isEnabled();
        seen.gridAgain = QTest::qWaitFor(
            [&] { return page.ImageControl()->pixmap().size() == page.ImageControl()->size(); },
            10000);
    });

    EXPECT_FALSE(seen.satEnabled);
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(seen.window, seen.screen);
    EXPECT_TRUE(seen.buttonsOffWhileOpen);
    EXPECT_EQ(seen.fontOpen, seen.fontBefore + 1);
    EXPECT_FALSE(seen.secondOpen);
    EXPECT_TRUE(seen.drawnForScreen);
    EXPECT_GT(seen.statisticsWhileOpen, 0u);
    EXPECT_TRUE(seen.pageKeyReached);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(seen.fontAfter, seen.fontOpen);  // one larger by key, one smaller by closing
    EXPECT_TRUE(seen.buttonsBack);
    // QUAD mode with quadrant 2 pressed: the other three can be pressed again.
    EXPECT_TRUE(seen.quadrants[0]);
    EXPECT_FALSE(seen.quadrants[1]);
    EXPECT_TRUE(seen.quadrants[2]);
    EXPECT_TRUE(seen.quadrants[3]);
    EXPECT_TRUE(seen.gridAgain);
    EXPECT_TRUE(answerer.Seen().empty());
}

// The comma key in the full-screen window goes back to the draw-test page: the image page stops,
// and its window closes with it, from within the window's own key handling.
TEST_F(ImageDataPageActionsTest, LeavingThePageFromTheFullScreenClosesIt) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    bool opened = false, closed = false, opensAgain = false;
    int pageAfterComma = -1;

    OnImagePage(app, [&](CImageDataPage& page) {
        Child<QPushButton>(page, "fullScreen")->click();
        opened = page.FullScreen() != nullptr;
        if (!opened) return;
        QTest::keyClick(page.FullScreen(), Qt::Key_Comma);
        pageAfterComma = app.MainSheet()->CurrentPage();
        closed = page.FullScreen() == nullptr && !page.Active();
        QTest::qWait(50);  // the window is deleted once its key handling is over
        app.MainSheet()->SelectPage(1);
        if (!WaitForPicture(page, "Raw (Cal)", 2)) return;
        Child<QPushButton>(page, "fullScreen")->click();
        opensAgain = page.FullScreen() != nullptr;
    });

    EXPECT_TRUE(opened);
    EXPECT_EQ(pageAfterComma, 0);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(opensAgain);
    EXPECT_TRUE(answerer.Seen().empty());
}

// ">>" and "<<" step the working frequency round the controller's table, wrapping at both ends,
// and each step reads the uniformity table again and resumes the stream in the shown type.
TEST_F(ImageDataPageActionsTest, FrequencyButtonsStepRoundTheTable) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    struct Step {
        std::string since;
        QString text, expectedText;
        int expectedIndex = -1;
        bool framesAfter = false;
    };
    std::vector<Step> steps;
    int count = 0;

    OnImagePage(app, [&](CImageDataPage& page) {
        uint8_t table[64] = {};
        if (devGetFrequencyTable(app.Device(), table) == 0) return;
        count = table[0];
        int index = table[1];
        // Up once, then down past the first entry, then up past the last one.
        std::vector<int> clicks = {1, -1, -1};
        for (int i = 0; i < count; ++i) clicks.push_back(1);
        for (const int click : clicks) {
            Child<QPushButton>(page, click > 0 ? "frequencyUp" : "frequencyDown")->click();
            index = (index + click + count) % count;
            Step step;
            step.expectedIndex = index;
            step.since = TraceSince("set_frequency ");
            step.text = page.FrequencyText();
            const int word = table[2 + 2 * index] | (table[3 + 2 * index] << 8);
            step.expectedText = QString::asprintf("%.3f KHz", word / 100.0);
            step.framesAfter = WaitForPicture(page, "Raw (Cal)", 2);
            steps.push_back(step);
        }
    });

    ASSERT_GE(count, 2);
    ASSERT_EQ(steps.size(), static_cast<size_t>(3 + count));
    std::set<QString> texts;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.expectedIndex);
        EXPECT_EQ(step.since.rfind(
                      "set_frequency index=" + std::to_string(step.expectedIndex) + " -> ok", 0),
                  0u)
            << step.since.substr(0, 60);
        EXPECT_NE(step.since.find("read_block type=2"), std::string::npos);
        EXPECT_EQ(LastSwitch(step.since), "0x4004");
        EXPECT_EQ(step.text, step.expectedText);
        EXPECT_TRUE(step.framesAfter);
        texts.insert(step.text);
    }
    EXPECT_EQ(texts.size(), static_cast<size_t>(count));  // every entry was shown
    EXPECT_TRUE(answerer.Seen().empty());
}

struct RestartCase {
    const char* profile;
    const char* text;
    const char* caption;
    bool restarts;
};

class ImageDataPageRestartTest : public ImageDataPageActionsTest,
                                 public ::testing::WithParamInterface<RestartCase> {};

TEST_P(ImageDataPageRestartTest, ReportsTheOutcomeAndThePageRunsOn) {
    const RestartCase c = GetParam();
    UseProfile(c.profile);
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    std::string sinceRestart;
    bool logRunning = false, framesAfter = false;
    std::filesystem::path logPath;

    OnImagePage(app, [&](CImageDataPage& page) {
        page.SelectDataType(QStringLiteral("Touch Signal"));
        if (!WaitForPicture(page, "Touch Signal", 2)) return;
        page.ToggleLog();
        logPath = page.LogPath();
        Child<QPushButton>(page, "softRestart")->click();
        sinceRestart = TraceSince("restart ");
        logRunning = page.LogRunning();
        framesAfter = WaitForPicture(page, "Touch Signal", 3);
        if (page.LogRunning()) page.ToggleLog();
    });
    std::filesystem::remove(logPath);

    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, QString::fromLatin1(c.text));
    EXPECT_EQ(answerer.Seen()[0].caption, QString::fromLatin1(c.caption));
    // Restarted into the shown type's working mode.
    EXPECT_EQ(sinceRestart.rfind("restart mode=0x4801", 0), 0u) << sinceRestart;
    if (c.restarts) {
        // The channels, the frequency and the uniformity table read again; the window and the
        // data type sent again.
        for (const char* request :
             {"query_info", "frequency_table", "read_block type=2", "set_report_image"})
            EXPECT_NE(sinceRestart.find(request), std::string::npos) << request;
        EXPECT_EQ(LastSwitch(sinceRestart), "0x4801");
    }
    EXPECT_TRUE(logRunning);
    EXPECT_TRUE(framesAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ImageDataPageRestartTest,
    ::testing::Values(RestartCase{"", " Software Restart OK !! ", " MESSAGE ", true},
                      RestartCase{"restart_fails = 1\n", " Software Restart Fail !! ", " ERROR ",
                                  false}),
    [](const auto& info) { return std::string(info.param.restarts ? "Ok" : "Fails"); });

}  // namespace
