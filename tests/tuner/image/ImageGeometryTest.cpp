// The report window and frame end of every display mode, the RANGE window's checks and moves.
#include <gtest/gtest.h>

#include "model/ImageGeometry.h"

namespace tuner::image {
namespace {

Geometry Sensor(int tx, int rx) {
    ChannelInfo info;
    info.txCount = static_cast<uint32_t>(tx);
    info.rxCount = static_cast<uint32_t>(rx);
    info.leadRows1 = 1;
    info.leadRows2 = 1;
    return MakeGeometry(info, 0);
}

struct PlanCase {
    const char* name;
    int tx, rx;
    DisplayMode mode;
    int quadrant;
    ChannelWindow window;
    int lastRow, rowLength;
};

class PlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanTest, ModeAsksForItsWindow) {
    const PlanCase& c = GetParam();
    const ReportPlan plan = PlanFor(c.mode, c.quadrant, {3, 10, 4, 9}, Sensor(c.tx, c.rx));
    EXPECT_EQ(plan.window, c.window);
    EXPECT_EQ(plan.expectedLastRow, c.lastRow);
    EXPECT_EQ(plan.rowLength, c.rowLength);
}

// 40 x 71: even Tx count (the lower half starts at 19), odd Rx count (the right half at 35).
INSTANTIATE_TEST_SUITE_P(
    Modes, PlanTest,
    ::testing::Values(PlanCase{"Total", 40, 71, DisplayMode::kTotal, 1, {0, 70, 0, 39}, 41, 71},
                      PlanCase{"Up", 40, 71, DisplayMode::kUp, 1, {0, 70, 0, 20}, 22, 71},
                      PlanCase{"Down", 40, 71, DisplayMode::kDown, 1, {0, 70, 19, 39}, 41, 71},
                      PlanCase{"DownOddTx", 41, 71, DisplayMode::kDown, 1, {0, 70, 20, 40}, 42, 71},
                      PlanCase{"Range", 40, 71, DisplayMode::kRange, 1, {3, 10, 4, 9}, 11, 11},
                      PlanCase{"Quad1", 40, 71, DisplayMode::kQuad, 1, {0, 35, 0, 20}, 22, 36},
                      PlanCase{"Quad2", 40, 71, DisplayMode::kQuad, 2, {0, 35, 19, 39}, 41, 36},
                      PlanCase{"Quad3", 40, 71, DisplayMode::kQuad, 3, {35, 70, 0, 20}, 22, 71},
                      PlanCase{"Quad4", 40, 71, DisplayMode::kQuad, 4, {35, 70, 19, 39}, 41, 71},
                      PlanCase{"Quad4EvenRx", 40, 64, DisplayMode::kQuad, 4, {31, 63, 19, 39}, 41,
                               64}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RangeWindowTest, ChecksAndDefault) {
    const Geometry g = Sensor(40, 71);
    EXPECT_EQ(DefaultRangeWindow(g), (ChannelWindow{0, 50, 0, 30}));
    EXPECT_EQ(DefaultRangeWindow(Sensor(12, 20)), (ChannelWindow{0, 19, 0, 11}));
    EXPECT_TRUE(RangeWindowValid({0, 70, 0, 39}, g));
    EXPECT_FALSE(RangeWindowValid({0, 71, 0, 39}, g));  // last Rx equal to the count
    EXPECT_FALSE(RangeWindowValid({5, 5, 0, 39}, g));   // first not below last
    EXPECT_FALSE(RangeWindowValid({-1, 10, 0, 39}, g));
    EXPECT_FALSE(RangeWindowValid({0, 10, 0, 40}, g));
}

TEST(RangeWindowTest, MovesKeepTheWidthWithinTheSensor) {
    const Geometry g = Sensor(40, 71);
    EXPECT_EQ(MoveRangeWindow({0, 10, 0, 5}, 1, 1, g), (ChannelWindow{1, 11, 1, 6}));
    EXPECT_EQ(MoveRangeWindow({0, 10, 0, 5}, -1, -1, g), (ChannelWindow{0, 10, 0, 5}));
    EXPECT_EQ(MoveRangeWindow({60, 70, 34, 39}, 1, 1, g), (ChannelWindow{60, 70, 34, 39}));
}

TEST(GeometryTest, LeadRowsAndCountsAreBoundedByTheFrame) {
    ChannelInfo info;
    info.txCount = 255;
    info.rxCount = 255;
    info.leadRows1 = -3;
    info.leadRows2 = 2;
    const Geometry g = MakeGeometry(info, 300);
    EXPECT_EQ(g.lead1, 0);
    EXPECT_EQ(g.lead, 2);
    EXPECT_EQ(g.tx, kFrameRows);
    EXPECT_EQ(g.ShownTx(), kFrameRows - 2);  // rows past the area are not shown
    EXPECT_EQ(g.rx, 255);
    EXPECT_EQ(g.GridRows(), 2 + 158);
    EXPECT_EQ(g.GridColumns(), 256);
    EXPECT_EQ(g.keys, kMaxKeys);
}

}  // namespace
}  // namespace tuner::image
