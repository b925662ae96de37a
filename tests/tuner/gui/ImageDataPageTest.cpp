// The image page against a simulated panel with a finger on it: every data type shown and saved
// as a picture, the finger drawn where the panel has it, and the image log's rows against the
// panel's truth file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <cctype>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

#include "../../diag/TruthFile.h"
#include "GuiSupport.h"
#include "ImagePageSupport.h"
#include "app/CMainSheet.h"
#include "app/CTovrexTunerT3300App.h"
#include "model/ImageColours.h"
#include "pages/CImageDataPage.h"

namespace {

using namespace tuner::image;

constexpr int kFingerTx = 9, kFingerRx = 30;  // panel lines

class ImageDataPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
        setenv("DEVLINK",
               guitest::WriteProfile(profiles_, "model = K7P100\nfinger = " +
                                                    std::to_string(kFingerTx) + "," +
                                                    std::to_string(kFingerRx) +
                                                    "\nfinger_from_frame = 40\n"
                                                    "touch_keys = 4\nkey_pressed = 1\n")
                   .c_str(),
               1);
        setenv("DEVLINK_SIM_TRUTH", TruthPath().c_str(), 1);
    }
    void TearDown() override { unsetenv("DEVLINK_SIM_TRUTH"); }

    std::string TruthPath() const { return (profiles_.Path() / "truth.txt").string(); }

    guitest::TempFolder runtime_;
    guitest::TempFolder profiles_;
};

// The finger lands on frame 40 of each stream and one frame in four is computed, so the twelfth
// frame after a switch has it (the default of WaitForPicture).
using guitest::WaitForPicture;

// The colour the page drew at the top-left inside of a grid cell (grid row, column with "WT" 0).
QColor CellColour(const QImage& grid, const GridSnapshot& s, int row, int column) {
    const double w = static_cast<double>(grid.width()) / (s.columns + 1 + kLabelColumns);
    const double h = static_cast<double>(grid.height()) / (s.rows + kLabelRows);
    return grid.pixelColor(static_cast<int>((column + kLabelColumns) * w) + 2,
                           static_cast<int>((row + kLabelRows) * h) + 2);
}

struct TypeSeen {
    std::string type;
    bool shown = false;
    std::vector<int> keys;
    std::string statistics;
    int peakRow = -1, peakColumn = -1;
    QColor fingerColour, farColour;
};

class ImageDataTypeTest : public ImageDataPageTest,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(ImageDataTypeTest, ShowsTheFingerWhereThePanelHasIt) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    std::vector<TypeSeen> seen;
    int fingerRow = -1, fingerColumn = -1;

    guitest::WhenReady scenario(
        [&] { return app.MainSheet() != nullptr && app.MainSheet()->isVisible(); },
        [&] {
            CMainSheet& sheet = *app.MainSheet();
            sheet.SelectPage(1);
            auto& page = *qobject_cast<CImageDataPage*>(sheet.Page(1));
            page.SetColourScale(true);
            const TruthFile truth(TruthPath());
            const auto txLines = truth.Numbers("frame_tx_lines");
            const auto rxLines = truth.Numbers("frame_rx_lines");
            fingerRow = static_cast<int>(
                std::find(txLines.begin(), txLines.end(), kFingerTx) - txLines.begin());
            fingerColumn = static_cast<int>(
                std::find(rxLines.begin(), rxLines.end(), kFingerRx) - rxLines.begin());

            const auto* grid = page.findChild<QLabel*>(QStringLiteral("imageGrid"));
            {
                const DataType& type = *FindDataType(GetParam());
                TypeSeen t;
                t.type = type.text;
                page.SelectDataType(QString::fromUtf8(type.text.data(),
                                                      static_cast<int>(type.text.size())));
                t.shown = WaitForPicture(page, type.text);
                std::string file = "tuner-image-" + t.type + ".png";
                for (char& ch : file)
                    if (ch == ' ' || ch == '%' || ch == '(' || ch == ')') ch = '_';
                const auto s = page.Shown();
                if (t.shown && s != nullptr) {
                    t.statistics = page.StatisticsText().toStdString();
                    t.keys = s->keys;
                    // The water rows carry other data; the Tx rows are the sensor.
                    for (int r = s->geometry.lead2; r < s->rows; ++r)
                        for (int c = 0; c < s->columns; ++c)
                            if (t.peakRow < 0 || s->Value(r, c) > s->Value(t.peakRow, t.peakColumn)) {
                                t.peakRow = r;
                                t.peakColumn = c;
                            }
                }
                page.grab().save(QString::fromStdString((guitest::ArtifactFolder() / file).string()));
                if (t.shown) {
                    // The colours alone, without the values written over them.
                    page.SetShowValue(false);
                    // A frame whose drawing began before the change still carries values.
                    t.shown = WaitForPicture(page, type.text, 3);
                    const auto now = page.Shown();
                    const QImage picture = grid->pixmap().toImage();
                    const int row = now->geometry.lead2 + fingerRow;
                    t.fingerColour = CellColour(picture, *now, row, fingerColumn + 1);
                    t.farColour = CellColour(picture, *now, now->rows - 1, 1);
                    page.SetShowValue(true);
                }
                seen.push_back(t);
            }
            sheet.close();
        });

    EXPECT_EQ(app.Run(), 0);
    ASSERT_TRUE(scenario.Ran());
    ASSERT_GE(fingerRow, 0);
    ASSERT_EQ(seen.size(), 1u);
    for (const TypeSeen& t : seen) {
        EXPECT_TRUE(t.shown) << t.type;
        EXPECT_EQ(t.statistics.rfind(t.type + ": Min: ", 0), 0u) << t.type << ": " << t.statistics;
    }
    // The delta views, and "Touch %" once the finger has landed on its baseline, peak under the
    // finger, which the colour scale paints red on a blue field; the pressed key stands out.
    const TruthFile truth(TruthPath());
    const double key = truth.Numbers("key_magnitude")[0];
    for (const TypeSeen& t : seen) {
        ASSERT_EQ(t.keys.size(), 4u) << t.type;
        if (t.type == "Raw (Cal)") {
            EXPECT_NEAR(t.keys[0], key, 0.01 * key + 6);
            EXPECT_NEAR(t.keys[1], 0.75 * key, 0.01 * key + 6);
        }
        if (t.type == "Touch Signal") {
            EXPECT_NEAR(t.keys[1], 0.25 * key, 0.01 * key + 6);
        }
        if (t.type != "Touch Signal" && t.type != "Cooked Data" && t.type != "Touch %") continue;
        EXPECT_EQ(t.peakRow, 1 + fingerRow) << t.type;  // after the one water row
        EXPECT_EQ(t.peakColumn, fingerColumn) << t.type;
        EXPECT_GT(t.fingerColour.red(), 200) << t.type;
        EXPECT_LT(t.fingerColour.blue(), 60) << t.type;
        EXPECT_GT(t.farColour.blue(), 150) << t.type;
    }
    EXPECT_TRUE(answerer.Seen().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryDataType, ImageDataTypeTest,
                         ::testing::Values("Raw (Cal)", "Raw (NoCal)", "Touch Signal", "Touch %",
                                           "AFE AD %", "ADC AD %", "Cooked Data", "Unifor Cook",
                                           "Uniformity"),
                         [](const auto& info) {
                             std::string name;
                             for (const char* c = info.param; *c != 0; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

TEST_F(ImageDataPageTest, ImageLogWritesTheShownRawRows) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    std::filesystem::path logPath;
    bool logged = false;

    guitest::WhenReady scenario(
        [&] { return app.MainSheet() != nullptr && app.MainSheet()->isVisible(); },
        [&] {
            CMainSheet& sheet = *app.MainSheet();
            sheet.SelectPage(1);
            auto& page = *qobject_cast<CImageDataPage*>(sheet.Page(1));
            if (!WaitForPicture(page, "Raw (Cal)")) {
                sheet.close();
                return;
            }
            page.ToggleLog();
            logPath = page.LogPath();
            logged = page.LogRunning();
            QTest::qWait(1500);  // one record a second
            page.ToggleLog();
            sheet.close();
        });
    EXPECT_EQ(app.Run(), 0);
    ASSERT_TRUE(logged);

    std::ifstream in(logPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string log = text.str();
    std::filesystem::remove(logPath);
    EXPECT_EQ(log.rfind("Tool Version:,TovrexTuner_K7PXXX", 0), 0u);
    EXPECT_NE(log.find("\r\nData Type:,Raw (Cal)\r\n"), std::string::npos);

    // The first record's Tx rows are the panel's in-phase signal.
    const TruthFile truth(TruthPath());
    const int tx = truth.Number("frame_tx");
    int rows = 0, far = 0;
    for (std::stringstream lines(log); rows < tx;) {
        std::string line;
        if (!std::getline(lines, line)) break;
        if (line.rfind("Tx[ ", 0) != 0) continue;
        std::stringstream cells(line.substr(line.find(',') + 1));
        const auto m = truth.Magnitude(rows), phase = truth.Phase(rows);
        size_t r = 0;
        for (std::string cell; std::getline(cells, cell, ',') && !cell.empty() && cell != "\r"; ++r) {
            const double expected = m[r] * std::sin(phase[r] * 3.14159265358979 / 180.0);
            if (std::abs(std::stod(cell) - expected) > 0.01 * std::abs(expected) + 6) ++far;
        }
        EXPECT_EQ(r, m.size()) << "row " << rows;
        ++rows;
    }
    EXPECT_EQ(rows, tx);
    EXPECT_EQ(far, 0);
}

TEST_F(ImageDataPageTest, PointerMagnifiesTheCellUnderItAndMarksRowsAndColumns) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    struct Seen {
        bool onAtCell = false, offAfterUp = false, onAtLabel = true;
        int row = -1, column = -1;
    } seen;
    int expectedRow = -1;

    guitest::WhenReady scenario(
        [&] { return app.MainSheet() != nullptr && app.MainSheet()->isVisible(); },
        [&] {
            CMainSheet& sheet = *app.MainSheet();
            sheet.SelectPage(1);
            auto& page = *qobject_cast<CImageDataPage*>(sheet.Page(1));
            if (WaitForPicture(page, "Raw (Cal)", 2)) {
                const auto s = page.Shown();
                const QImage picture = page.ImageControl()->pixmap().toImage();
                // The middle of the cell of Tx channel 5, Rx channel 7.
                expectedRow = s->geometry.lead2 + 5;
                const double w = static_cast<double>(picture.width()) / (s->columns + 1 + kLabelColumns);
                const double h = static_cast<double>(picture.height()) / (s->rows + kLabelRows);
                const QPoint cell(static_cast<int>((kLabelColumns + 1 + 7 + 0.5) * w),
                                  static_cast<int>((kLabelRows + expectedRow + 0.5) * h));
                QTest::mousePress(page.ImageControl(), Qt::LeftButton, {}, cell);
                seen.onAtCell = page.MagnifierOn();
                seen.row = page.PointedRow();
                seen.column = page.PointedColumn();
                page.grab().save(QString::fromStdString(
                    (guitest::ArtifactFolder() / "tuner-image-magnifier.png").string()));
                QTest::mouseRelease(page.ImageControl(), Qt::LeftButton, {}, cell);
                seen.offAfterUp = !page.MagnifierOn();
                QTest::mousePress(page.ImageControl(), Qt::LeftButton, {}, QPoint(2, 2));
                seen.onAtLabel = page.MagnifierOn();
                QTest::mouseRelease(page.ImageControl(), Qt::LeftButton, {}, QPoint(2, 2));
            }
            sheet.close();
        });
    EXPECT_EQ(app.Run(), 0);
    ASSERT_GE(expectedRow, 0) << "no picture";
    EXPECT_TRUE(seen.onAtCell);
    EXPECT_EQ(seen.row, expectedRow);
    EXPECT_EQ(seen.column, 1 + 7);  // after the "WT" column
    EXPECT_TRUE(seen.offAfterUp);
    EXPECT_FALSE(seen.onAtLabel);  // a label is no cell
}

}  // namespace

namespace {

TEST(ImageDataPageTableTest, CorruptUniformityTableIsReportedAndTheImageStillRuns) {
    guitest::TempFolder runtime, profiles;
    setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    setenv("DEVLINK",
           guitest::WriteProfile(profiles, "model = K7P100\nbad_checksum = table\n").c_str(), 1);
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    bool shown = false;
    std::string statistics;
    guitest::WhenReady scenario(
        [&] { return app.MainSheet() != nullptr && app.MainSheet()->isVisible(); },
        [&] {
            CMainSheet& sheet = *app.MainSheet();
            sheet.SelectPage(1);
            auto& page = *qobject_cast<CImageDataPage*>(sheet.Page(1));
            page.SelectDataType(QStringLiteral("Unifor Cook"));
            shown = WaitForPicture(page, "Unifor Cook", 2);
            statistics = page.StatisticsText().toStdString();
            sheet.close();
        });
    EXPECT_EQ(app.Run(), 0);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, QStringLiteral("Table is Invalid!!"));
    EXPECT_EQ(answerer.Seen()[0].caption, QStringLiteral(" ERROR "));
    EXPECT_TRUE(shown);
    // No table correction: no entries and no use.
    EXPECT_NE(statistics.find("URecord: 0 (0%)"), std::string::npos) << statistics;
}

}  // namespace
