// The arithmetic the sensor tests judge and record with: neighbour differences, the mutual map's
// phase agreement, the calibration value and the scaling word.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "diag/CalibrationCheck.h"
#include "diag/MutualTests.h"
#include "diag/OpenTests.h"
#include "diag/SensorTestSteps.h"

namespace {

struct NeighbourCase {
    int a, b, expected;
};

TEST(NeighbourDifference, IsPercentOfTheLargerValueAndFailsALineWithoutSignal) {
    constexpr int kThreshold = 30;
    const NeighbourCase cases[] = {
        {1000, 1000, 0},
        {1000, 700, 30},  // at the threshold: passes
        {699, 1000, 30},  // integer percent, truncated
        {1000, 690, 31},
        {0, 1000, 100},              // an open line next to a good one
        {0, 0, kThreshold + 1},      // two open lines
        {-40, -25, kThreshold + 1},  // only noise below zero: no signal either
        {-5, 0, kThreshold + 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NeighbourDifference(c.a, c.b, kThreshold), c.expected) << c.a << "," << c.b;
        EXPECT_EQ(NeighbourDifference(c.b, c.a, kThreshold), c.expected) << c.b << "," << c.a;
    }
}

// I = M sin(theta), Q = M cos(theta) / sqrt(3), as the controller streams them.
struct Cell {
    int i, q, m;
};
Cell At(double magnitude, double degrees) {
    const double rad = degrees * M_PI / 180.0;
    return {static_cast<int>(std::lround(magnitude * std::sin(rad))),
            static_cast<int>(std::lround(magnitude * std::cos(rad) / std::sqrt(3.0))),
            static_cast<int>(std::lround(magnitude))};
}

TEST(MutualMapValue, GrowsAsNeighbouringPhasesPartAndHasNoNaN) {
    const Cell a = At(1000, 45), same = At(1200, 45), turned = At(1000, 75), square = At(1000, 135);
    EXPECT_NEAR(MutualMapValue(a.i, a.q, a.m, same.i, same.q, same.m), 0.0, 1.0);
    // 30 degrees apart: c = 100 cos 30 = 86.6, value = 10000 - (c^2 + 10000) / 2 = 1250.
    EXPECT_NEAR(MutualMapValue(a.i, a.q, a.m, turned.i, turned.q, turned.m), 1250.0, 10.0);
    EXPECT_NEAR(MutualMapValue(a.i, a.q, a.m, square.i, square.q, square.m), 5000.0, 10.0);
    // A cell with no magnitude (an open line) gives the right-angle value, never inf or NaN.
    EXPECT_FLOAT_EQ(MutualMapValue(a.i, a.q, a.m, 0, 0, 0), 5000.0f);
    EXPECT_FLOAT_EQ(MutualMapValue(0, 0, 0, 0, 0, 0), 5000.0f);
    // c is capped at 100: magnitudes smaller than I and Q claim cannot push the value below 0.
    EXPECT_FLOAT_EQ(MutualMapValue(a.i, a.q, 1, a.i, a.q, 1), 0.0f);
}

TEST(CalibrationValue, IsTheScaleOverTheDifferenceWithinAByte) {
    struct {
        int high, low;
        std::optional<uint8_t> expected;
    } const cases[] = {
        {3180, 300, 100}, {1430, 300, 254},         {1429, 300, 255}, {301, 300, 255},
        {300, 3180, 0},   {300, 300, std::nullopt},  // a chip whose input does not move it
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalibrationValue(2880, 100, c.high, c.low), c.expected) << c.high - c.low;
}

TEST(ScalingWord, TakesTheOptionOnlyWithAValueAndScalesBothWays) {
    EXPECT_EQ(ScalingWord::Choose(0x8000, 12).Value(), 12);  // direction bit alone is no value
    EXPECT_EQ(ScalingWord::Choose(0, 12).Value(), 12);
    EXPECT_EQ(ScalingWord::Choose(0x8005, 12).Value(), 5);
    EXPECT_EQ(ScalingWord::Choose(0, 0x8000).Value(), 0);  // missing
    EXPECT_EQ(ScalingWord(0x8000 | 15).Apply(1000), 1500);
    EXPECT_EQ(ScalingWord(20).Apply(1000), 500);
    EXPECT_EQ(ScalingWord(3).Apply(-100), -333);
}

}  // namespace
