// Helpers for tests of the image page: waiting for newly computed frames, finding a grid cell on
// the page's picture, and a fixture that runs a scenario on the page against the simulated
// controller with its request trace.
#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QSize>
#include <QTest>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

#include "GuiSupport.h"
#include "app/CMainSheet.h"
#include "app/CTovrexTunerT3300App.h"
#include "pages/CImageDataPage.h"
#include "pages/ImageGridRender.h"

namespace guitest {

// Waits, with the event loop running, until the page has shown `frames` newly computed frames of
// the type (a picture drawn again for a new style is no new frame).
inline bool WaitForPicture(CImageDataPage& page, std::string_view type, int frames = 12) {
    std::set<const tuner::image::GridSnapshot*> seen{page.Shown().get()};
    int fresh = 0;
    return QTest::qWaitFor(
        [&] {
            const auto shown = page.Shown();
            if (shown != nullptr && shown->type->text == type && seen.insert(shown.get()).second)
                ++fresh;
            return fresh >= frames;
        },
        30000);
}

// The middle of a grid cell (grid row, grid column with "WT" as column 0) on a picture of `size`.
inline QPoint CellCentre(const tuner::image::GridSnapshot& s, QSize size, int row, int column) {
    using tuner::image::kLabelColumns;
    using tuner::image::kLabelRows;
    const double w = static_cast<double>(size.width()) / (s.columns + 1 + kLabelColumns);
    const double h = static_cast<double>(size.height()) / (s.rows + kLabelRows);
    return {static_cast<int>((kLabelColumns + column + 0.5) * w),
            static_cast<int>((kLabelRows + row + 0.5) * h)};
}

template <typename T>
T* Child(CImageDataPage& page, const char* name) {
    return page.findChild<T*>(QString::fromLatin1(name));
}

inline void SaveGrab(QWidget& widget, const char* name) {
    widget.grab().save(QString::fromStdString((ArtifactFolder() / name).string()));
}

class ImagePageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
        setenv("DEVLINK_SIM_TRACE", TracePath().c_str(), 1);
        UseProfile("");
    }
    void TearDown() override { unsetenv("DEVLINK_SIM_TRACE"); }
    void UseProfile(const std::string& extra) {
        setenv("DEVLINK", WriteProfile(profiles_, "model = K7P100\n" + extra).c_str(), 1);
    }
    std::string TracePath() const { return (profiles_.Path() / "trace.txt").string(); }
    std::string Trace() const {
        std::ifstream in(TracePath());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The trace from the last line that starts with `from`; empty when there is none.
    std::string TraceSince(const std::string& from) const {
        const std::string trace = Trace();
        const size_t at = trace.rfind("\n" + from);
        return at == std::string::npos ? std::string() : trace.substr(at + 1);
    }
    static std::string LastSwitch(const std::string& trace) {
        const size_t at = trace.rfind("switch_mode mode=");
        return at == std::string::npos ? std::string() : trace.substr(at + 17, 6);
    }

    // Runs the scenario on the image page once the sheet is up, then closes the sheet.
    void OnImagePage(CTovrexTunerT3300App& app, const std::function<void(CImageDataPage&)>& run) {
        WhenReady scenario(
            [&] { return app.MainSheet() != nullptr && app.MainSheet()->isVisible(); },
            [&] {
                CMainSheet& sheet = *app.MainSheet();
                sheet.SelectPage(1);
                auto& page = *qobject_cast<CImageDataPage*>(sheet.Page(1));
                if (WaitForPicture(page, "Raw (Cal)", 2)) run(page);
                ran_ = true;
                sheet.close();
            },
            90000);
        EXPECT_EQ(app.Run(), 0);
        ASSERT_TRUE(ran_);
    }

    TempFolder runtime_;
    TempFolder profiles_;
    bool ran_ = false;
};

}  // namespace guitest
