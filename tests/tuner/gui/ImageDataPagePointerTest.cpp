// The pointer over the image page's grid: a double-click locks the magnifier on its cell, and a
// right click marks (and unmarks) the pointed row and column, but not while the lock holds.
#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "ImagePageSupport.h"

namespace {

using guitest::CellCentre;
using guitest::WaitForPicture;

class ImageDataPagePointerTest : public guitest::ImagePageTest {};

// The indexes that are set.
std::vector<int> Set(const std::vector<bool>& marks) {
    std::vector<int> out;
    for (size_t i = 0; i < marks.size(); ++i)
        if (marks[i]) out.push_back(static_cast<int>(i));
    return out;
}

TEST_F(ImageDataPagePointerTest, LockedMagnifierHoldsItsCellAndRightClicksMarkRowsAndColumns) {
    CTovrexTunerT3300App app;
    guitest::MessageBoxAnswerer answerer;
    struct Marks {
        std::vector<int> rows, columns;
    };
    struct Seen {
        bool lockedOn = false, heldAfterMove = false, onAfterUp = false, unlockedOff = false;
        int lockedRow = -1, lockedColumn = -1;
        Marks whileLocked, first, both, afterUnmark, afterLabel;
    } seen;
    int rowA = -1, rowB = -1;
    const int columnA = 1 + 7, columnB = 1 + 12;  // after the "WT" column

    OnImagePage(app, [&](CImageDataPage& page) {
        const auto s = page.Shown();
        CImageControl* grid = page.ImageControl();
        const QSize size = grid->pixmap().size();
        rowA = s->geometry.lead2 + 5;
        rowB = s->geometry.lead2 + 9;
        const QPoint a = CellCentre(*s, size, rowA, columnA),
                     b = CellCentre(*s, size, rowB, columnB);
        auto marks = [&] { return Marks{Set(page.MarkedRows()), Set(page.MarkedColumns())}; };
        auto rightClick = [&](QPoint at) { QTest::mouseClick(grid, Qt::RightButton, {}, at); };

        QTest::mouseDClick(grid, Qt::LeftButton, {}, a);
        seen.lockedOn = page.MagnifierLocked() && page.MagnifierOn();
        QTest::mouseMove(grid, b);
        seen.lockedRow = page.PointedRow();
        seen.lockedColumn = page.PointedColumn();
        seen.heldAfterMove = page.MagnifierOn();
        guitest::SaveGrab(page, "tuner-image-magnifier-locked.png");
        rightClick(b);
        seen.whileLocked = marks();

        QTest::mouseDClick(grid, Qt::LeftButton, {}, a);
        seen.unlockedOff = !page.MagnifierLocked() && !page.MagnifierOn();
        rightClick(b);
        seen.first = marks();
        rightClick(a);
        seen.both = marks();
        WaitForPicture(page, "Raw (Cal)", 2);
        guitest::SaveGrab(page, "tuner-image-marked.png");
        rightClick(b);
        seen.afterUnmark = marks();
        rightClick(QPoint(2, 2));  // a label names no cell
        seen.afterLabel = marks();
    });

    ASSERT_GE(rowA, 0) << "no picture";
    EXPECT_TRUE(seen.lockedOn);
    EXPECT_EQ(seen.lockedRow, rowA);
    EXPECT_EQ(seen.lockedColumn, columnA);
    EXPECT_TRUE(seen.heldAfterMove);
    EXPECT_TRUE(seen.whileLocked.rows.empty());
    EXPECT_TRUE(seen.whileLocked.columns.empty());
    EXPECT_TRUE(seen.unlockedOff);
    EXPECT_EQ(seen.first.rows, std::vector<int>{rowB});
    EXPECT_EQ(seen.first.columns, std::vector<int>{columnB});
    EXPECT_EQ(seen.both.rows, (std::vector<int>{rowA, rowB}));
    EXPECT_EQ(seen.both.columns, (std::vector<int>{columnA, columnB}));
    EXPECT_EQ(seen.afterUnmark.rows, std::vector<int>{rowA});
    EXPECT_EQ(seen.afterUnmark.columns, std::vector<int>{columnA});
    EXPECT_EQ(seen.afterLabel.rows, seen.afterUnmark.rows);
    EXPECT_EQ(seen.afterLabel.columns, seen.afterUnmark.columns);
    EXPECT_TRUE(answerer.Seen().empty());
}

}  // namespace
