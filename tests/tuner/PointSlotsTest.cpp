// What each point record draws on the canvas, and what the slots remember: contact down, moves,
// lifts, an ID used again, the border mark, report rates, stylus drawing and the point panel.
#include <gtest/gtest.h>

#include "model/PointSlots.h"
#include "model/TestPattern.h"

namespace tuner {
namespace {

PointRecord Touch(uint8_t id, bool contact, int x, int y) {
    PointRecord r;
    r.status = contact ? 0x01 : 0x00;
    r.id = id;
    r.x = static_cast<uint16_t>(x);
    r.y = static_cast<uint16_t>(y);
    r.z = 600;
    r.byte8 = 12;
    return r;
}

class PointSlotsTest : public ::testing::Test {
  protected:
    PointSlotsTest() {
        area_.width = 4096;  // one pixel per coordinate step keeps the expectations readable
        area_.height = 4096;
    }
    DrawOps Draw(const PointRecord& r, int64_t nowMs = 0) {
        DrawOps ops;
        slots_.Draw(r, settings_, area_, nowMs, ops);
        return ops;
    }

    PointSlots slots_;
    DrawSettings settings_;
    DrawArea area_;
};

TEST_F(PointSlotsTest, ContactDownMoveLiftAndTheIdUsedAgain) {
    DrawOps ops = Draw(Touch(2, true, 100, 200));
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::kCircle);
    EXPECT_EQ(ops[0].radius, 5);
    EXPECT_EQ(ops[0].pen, IdPen(2));
    EXPECT_TRUE(slots_.Slot(2).down);

    ops = Draw(Touch(2, true, 150, 260));
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::kLine);
    EXPECT_EQ((std::array{ops[0].x1, ops[0].y1, ops[0].x2, ops[0].y2}),
              (std::array{100, 200, 150, 260}));

    // The lift record carries no new position: the circle marks the last one.
    ops = Draw(Touch(2, false, 0, 0));
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::kCircle);
    EXPECT_EQ(ops[0].radius, 2);
    EXPECT_EQ((std::pair{ops[0].x1, ops[0].y1}), (std::pair{150, 260}));
    EXPECT_FALSE(slots_.Slot(2).down);

    // The same ID touching again starts a new trace: no line back to the old one.
    ops = Draw(Touch(2, true, 3000, 3000));
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::kCircle);
    EXPECT_EQ(ops[0].radius, 5);
}

TEST_F(PointSlotsTest, ContactStartingOnTheBorderGetsTheBorderMark) {
    for (const auto& [x, y] : {std::pair{0, 500}, std::pair{500, 4095}, std::pair{4095, 0}}) {
        slots_.Reset(0);
        const DrawOps ops = Draw(Touch(0, true, x, y));
        ASSERT_EQ(ops.size(), 1u);
        EXPECT_EQ(ops[0].pen.colour, Colour::FromRef(0x3A3A74));
        EXPECT_EQ(ops[0].radius, 5);
    }
    // Without the down circle, an inside start draws nothing.
    settings_.circleDown = false;
    slots_.Reset(0);
    EXPECT_TRUE(Draw(Touch(0, true, 1, 1)).empty());
}

TEST_F(PointSlotsTest, DotsInsteadOfLinesAndNoCircles) {
    settings_.lines = false;
    settings_.circleUp = false;
    settings_.circleDown = false;
    EXPECT_TRUE(Draw(Touch(1, true, 100, 100)).empty());
    const DrawOps ops = Draw(Touch(1, true, 120, 100));
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].radius, 1);
    EXPECT_TRUE(Draw(Touch(1, false, 0, 0)).empty());
}

TEST_F(PointSlotsTest, CoordinatesScaleToTheAreaAndAZeroRangeKeepsTheDefault) {
    area_.width = 800;
    area_.height = 600;
    area_.touchMaxX = 0;  // not reported by the controller
    area_.touchMaxY = 2047;
    const DrawOps ops = Draw(Touch(0, true, 2048, 1024));
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].x1, 2048 * 800 / 4095);
    EXPECT_EQ(ops[0].y1, 1024 * 600 / 2047);
}

TEST_F(PointSlotsTest, IdsWithoutASlotAreIgnored) {
    EXPECT_TRUE(Draw(Touch(60, true, 100, 100)).empty());
    EXPECT_TRUE(Draw(Touch(255, true, 100, 100)).empty());
}

TEST_F(PointSlotsTest, RateIsTakenOnlyAfterMoreThanASecond) {
    slots_.Reset(1000);
    for (int i = 0; i <= 100; ++i) Draw(Touch(4, true, 100 + i, 100), 1000 + 10 * i);
    EXPECT_EQ(slots_.Slot(4).rate, 0);  // exactly 1000 ms have passed: not yet
    Draw(Touch(4, true, 300, 100), 2001);
    EXPECT_EQ(slots_.Slot(4).rate, 102);
    EXPECT_EQ(slots_.Slot(4).counter, 0);
    EXPECT_EQ(slots_.Slot(3).rate, 0);
}

TEST_F(PointSlotsTest, PointPanelLines) {
    slots_.Reset(0);
    for (int i = 0; i < 200; ++i) Draw(Touch(7, true, 1234, 567), 0);
    Draw(Touch(7, true, 1234, 567), 1001);
    Draw(Touch(9, true, 10, 20), 10);
    std::vector<std::string> lines = PointPanelLines(slots_, false, 400);
    ASSERT_GT(lines.size(), 9u);
    EXPECT_EQ(lines[7], "07:201Hz -1234, 0567, 0600, 012");
    EXPECT_EQ(lines[9], "09:000Hz -0010, 0020, 0600, 012");
    EXPECT_EQ(lines[0], "");
    // A lifted ID shows no rate, whatever it was.
    Draw(Touch(7, false, 0, 0), 1002);
    lines = PointPanelLines(slots_, false, 400);
    EXPECT_EQ(lines[7], "07:000Hz");
    // Only the lines that fit above the bottom margin.
    EXPECT_EQ(PointPanelLines(slots_, false, 100).size(), 9u);  // lines at 0 .. 80
}

PointRecord Stylus(uint8_t status, int x, int y, int z = 2040, int8_t tiltX = 0, int8_t tiltY = 0) {
    PointRecord r;
    r.status = static_cast<uint8_t>(0x10 | status);
    r.id = 0;
    r.x = static_cast<uint16_t>(x);
    r.y = static_cast<uint16_t>(y);
    r.z = static_cast<int16_t>(z);
    r.byte8 = static_cast<uint8_t>(tiltX);
    r.byte9 = static_cast<uint8_t>(tiltY);
    return r;
}

TEST_F(PointSlotsTest, StylusComesIntoRangeTouchesDrawsAndLifts) {
    settings_.penMode = true;
    settings_.penTilt = true;
    EXPECT_TRUE(Draw(Stylus(0x20, 500, 500)).empty());  // coming into range: nothing yet
    EXPECT_TRUE(slots_.Slot(0).inRange);
    DrawOps ops = Draw(Stylus(0x01, 500, 500));
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::kCircle);
    EXPECT_EQ(ops[0].radius, 2);
    EXPECT_EQ(ops[0].pen, (Pen{Colour::FromRef(0x0000FF), 10}));

    ops = Draw(Stylus(0x01, 600, 520, 2040, 10, 5));
    ASSERT_EQ(ops.size(), 2u);
    // The tilt line points from the tip towards X + 2 tilt X, Y - 2 tilt Y.
    EXPECT_EQ((std::array{ops[0].x1, ops[0].y1, ops[0].x2, ops[0].y2}),
              (std::array{600, 520, 620, 510}));
    EXPECT_EQ((std::array{ops[1].x1, ops[1].y1, ops[1].x2, ops[1].y2}),
              (std::array{500, 500, 600, 520}));

    Draw(Stylus(0x00, 600, 520));  // in range, not touching
    EXPECT_FALSE(slots_.Slot(0).down);

    // A touch record for the ID after the stylus counts as a lift of the stylus.
    Draw(Touch(0, true, 700, 700));
    EXPECT_FALSE(slots_.Slot(0).inRange);
    EXPECT_FALSE(slots_.Slot(0).down);

    area_.fullScreen = true;
    slots_.Reset(0);
    Draw(Stylus(0x20, 500, 500));
    EXPECT_EQ(Draw(Stylus(0x01, 500, 500))[0].radius, 5);
}

TEST(TestPatternTest, LinesOfThePattern) {
    const PatternGeometry g{1000, 800, 2000, 1600, 30};
    const DrawOps ops = TestPattern(g, {});
    // Four border lines, seven eighths with two parallels each way, two diagonals with two
    // parallels each.
    ASSERT_EQ(ops.size(), 4u + 7u * 6u + 6u);
    // A sensor wider in 0.1 mm than the area is in pixels still gets a border inside the edge.
    EXPECT_EQ(ops[0].y1, 15);
    EXPECT_EQ(ops[2].x1, 15);
    EXPECT_EQ(ops[3].x1, 985);
    // The diagonal's parallel starts m pixels along the top edge.
    const DrawOp& parallel = ops[4 + 42 + 1];
    EXPECT_EQ(parallel.y1, 0);
    EXPECT_EQ(parallel.x1, 24);  // sqrt(37.5² + 30²) × 0.5
}

TEST(TestPatternTest, NothingWithoutSizeOrDistance) {
    for (const PatternGeometry& g :
         {PatternGeometry{1000, 800, 0, 1600, 30}, PatternGeometry{1000, 800, 2000, 0, 30},
          PatternGeometry{1000, 800, 2000, 1600, 0}, PatternGeometry{0, 0, 2000, 1600, 30}})
        EXPECT_TRUE(TestPattern(g, {}).empty());
}

}  // namespace
}  // namespace tuner
