// Frames assembled from image rows: where they end, what is skipped and paused, and reports whose
// rows, columns or counts lie outside the frame.
#include <gtest/gtest.h>

#include "ImageReports.h"
#include "model/FrameAssembler.h"

namespace tuner::image {
namespace {

using test::RowReport;

// Rows 0 .. lastRow of `columns` values, cell (row, c) = 100 * row + c + base, in reports of
// at most 29 values.
int SendFrame(FrameAssembler& a, int lastRow, int columns, int base = 0) {
    int signals = 0;
    for (int row = 0; row <= lastRow; ++row)
        for (int first = 0; first < columns; first += 29) {
            std::vector<int16_t> values;
            for (int c = first; c < std::min(columns, first + 29); ++c)
                values.push_back(static_cast<int16_t>(100 * row + c + base));
            signals += a.OnImageReport(RowReport(row, first, values)) ? 1 : 0;
        }
    return signals;
}

TEST(FrameAssemblerTest, FrameEndsAtTheExpectedLastRowAndRowLength) {
    FrameAssembler a;
    a.Configure(5, 40, 0);
    a.SetSkipCount(1);
    EXPECT_EQ(SendFrame(a, 4, 40), 0);  // one row short: nothing completes
    EXPECT_EQ(a.CompletedFrames(), 0u);
    EXPECT_EQ(SendFrame(a, 5, 40), 0);  // the first complete frame is counted, not yet handed on
    EXPECT_EQ(SendFrame(a, 5, 40), 1);
    Frame f;
    a.CopyFront(f);
    EXPECT_EQ(f.At(5, 39), 539);
    EXPECT_EQ(f.At(3, 31), 331);
}

TEST(FrameAssemblerTest, WithSkipCountThreeEveryFourthFrameIsHandedOn) {
    FrameAssembler a;
    a.Configure(2, 10, 0);
    a.SetSkipCount(3);
    std::vector<int> handed;
    for (int frame = 1; frame <= 12; ++frame)
        if (SendFrame(a, 2, 10, frame) == 1) handed.push_back(frame);
    EXPECT_EQ(handed, (std::vector<int>{4, 8, 12}));
    a.SetSkipCount(0);
    EXPECT_EQ(a.SkipCount(), 1);
}

TEST(FrameAssemblerTest, MissingReportLeavesTheLastCompleteFrame) {
    FrameAssembler a;
    a.Configure(3, 10, 0);
    SendFrame(a, 3, 10, 0);
    // A new frame whose last row never arrives.
    SendFrame(a, 2, 10, 5000);
    Frame f;
    a.CopyFront(f);
    EXPECT_EQ(f.At(2, 0), 200);
    EXPECT_EQ(a.CompletedFrames(), 1u);
}

TEST(FrameAssemblerTest, PausedKeepsThePictureAndResumingShowsTheNewest) {
    FrameAssembler a;
    a.Configure(1, 4, 0);
    SendFrame(a, 1, 4, 0);
    a.SetPaused(true);
    SendFrame(a, 1, 4, 7000);
    Frame f;
    a.CopyFront(f);
    EXPECT_EQ(f.At(1, 0), 100);
    a.SetPaused(false);
    SendFrame(a, 1, 4, 8000);
    a.CopyFront(f);
    EXPECT_EQ(f.At(1, 0), 8100);
}

TEST(FrameAssemblerTest, RestartForgetsThePreviousStream) {
    FrameAssembler a;
    a.Configure(1, 4, 0);
    a.SetSkipCount(1);
    Frame f;
    EXPECT_FALSE(a.CopyFront(f));  // nothing complete yet
    SendFrame(a, 1, 4, 0);
    ASSERT_TRUE(a.CopyFront(f));
    SendFrame(a, 0, 4, 500);  // half a frame of the old stream
    a.Restart();
    EXPECT_FALSE(a.CopyFront(f));
    // The new stream's frames count from the start again: the second is handed on.
    EXPECT_EQ(SendFrame(a, 1, 4, 900), 0);
    EXPECT_EQ(SendFrame(a, 1, 4, 900), 1);
    ASSERT_TRUE(a.CopyFront(f));
    EXPECT_EQ(f.At(0, 0), 900);
}

TEST(FrameAssemblerTest, ReportsOutsideTheFrameAreaAreBounded) {
    FrameAssembler a;
    a.Configure(200, 255, 0);
    std::vector<int16_t> values(29, 77);
    // A row past the area, and a row whose values run past its slots.
    EXPECT_FALSE(a.OnImageReport(RowReport(200, 0, values)));
    EXPECT_FALSE(a.OnImageReport(RowReport(159, 240, values)));
    // A count byte claiming more than a report holds is read as the report's own bytes.
    DevReport longer = RowReport(159, 0, values);
    longer.bytes[1] = 255;
    a.OnImageReport(longer);
    // Too short to carry anything.
    DevReport empty = RowReport(3, 0, {});
    empty.bytes[1] = 2;
    EXPECT_FALSE(a.OnImageReport(empty));
    // The row's end as the controller counts it lies past the slots; the frame still ends.
    a.Configure(159, 269, 0);
    a.OnImageReport(RowReport(159, 240, values));
    EXPECT_EQ(a.CompletedFrames(), 1u);
    Frame f;
    a.CopyFront(f);
    EXPECT_EQ(f.At(159, 255), 77);  // the row's last slot; nothing went past the area
    EXPECT_EQ(f.At(159, 28), 77);
}

TEST(FrameAssemblerTest, KeyValuesFollowTheLastRow) {
    FrameAssembler a;
    a.Configure(3, 10, 3);
    a.SetSkipCount(1);
    SendFrame(a, 3, 10);
    EXPECT_EQ(a.CompletedFrames(), 0u);  // with keys the last row does not end the frame
    EXPECT_FALSE(a.OnImageReport(RowReport(4, 0, {11, 12, 13})));
    EXPECT_EQ(a.CompletedFrames(), 1u);
    // More values than keys: only the keys are taken, and the frame does not end.
    a.OnImageReport(RowReport(4, 0, std::vector<int16_t>(29, 99)));
    EXPECT_EQ(a.CompletedFrames(), 1u);
    Frame f;
    a.CopyFront(f);
    EXPECT_EQ(f.keys[0], 11);
    EXPECT_EQ(f.keys[2], 13);
    EXPECT_EQ(f.keys[3], 0);
}

DevReport ListReport(int n, bool closing) {
    DevReport r{};
    r.bytes[1] = 62;
    r.bytes[2] = 0x4B;
    r.bytes[3] = static_cast<uint8_t>(n);
    if (closing) r.bytes[4] = 0xFF;
    for (int i = 5; i < 64; ++i) r.bytes[i] = static_cast<uint8_t>(i);
    return r;
}

TEST(ListBurstTest, ItemsStopAt254AndClosingBytesAtTheReportsEnd) {
    ListBurst list;
    for (int i = 0; i < 40; ++i) list.OnListReport(ListReport(9, false));
    list.OnListReport(ListReport(70, true));
    const ListBurst::List last = list.Last();
    EXPECT_EQ(last.items.size(), ListBurst::kMaxItems);
    ASSERT_EQ(last.closing.size(), 59u);
    EXPECT_EQ(last.closing.back(), 63);
    // The next burst starts empty.
    list.OnListReport(ListReport(2, false));
    list.OnListReport(ListReport(0, true));
    EXPECT_EQ(list.Last().items.size(), 2u);
}

}  // namespace
}  // namespace tuner::image
