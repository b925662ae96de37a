// The arithmetic of pin finding, on small hand-made frames.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tune/PinEdges.h"

namespace {

// A frame of `rows` x `columns` holding `level` on the block of rows [t0, t1] and columns
// [c0, c1] and a noise-like 3 elsewhere.
FrameView Block(int rows, int columns, int t0, int t1, int c0, int c1, int level = 1000) {
    FrameView f(rows, columns);
    for (int t = 0; t < rows; ++t)
        for (int c = 0; c < columns; ++c)
            f.Set(t, c, t >= t0 && t <= t1 && c >= c0 && c <= c1 ? level + (t + c) % 7 : 3);
    return f;
}

PinRanges OneChip(int txEnd, int rxEnd) {
    PinRanges r;
    r.txEnd[0] = static_cast<uint8_t>(txEnd);
    r.rxEnd[0] = static_cast<uint8_t>(rxEnd);
    return r;
}

TEST(SignalThreshold, IsFortyPercentOfTheFullestBinsUpperEdge) {
    struct Case {
        int value, expected;
    };
    for (const Case& c : {Case{1050, 440}, Case{150, 80}, Case{2600, 1040}, Case{30000, 1040},
                          Case{2599, 1040}, Case{100, 80}}) {
        const FrameView f = Block(6, 8, 0, 5, 0, 7, c.value);
        int threshold = 100;
        EXPECT_TRUE(EstimateSignalThreshold(f, 160, 255, threshold)) << c.value;
        EXPECT_EQ(threshold, c.expected) << "value " << c.value;
    }
}

TEST(SignalThreshold, StaysWhenNoValueReachesTheFirstBin) {
    FrameView f(6, 8);
    for (int c = 0; c < 8; ++c) f.Set(2, c, c % 2 == 0 ? 99 : -500);
    int threshold = 100;
    EXPECT_FALSE(EstimateSignalThreshold(f, 160, 255, threshold));
    EXPECT_EQ(threshold, 100);
}

TEST(SignalThreshold, CountsOnlyBelowTheLastChannelOfTheChipsAndPrefersTheLowerBinOnATie) {
    FrameView f(4, 4);
    // Two cells in bin 10 and two in bin 12: the tie goes to bin 10.
    f.Set(0, 0, 1000), f.Set(0, 1, 1000), f.Set(1, 0, 1200), f.Set(1, 1, 1200);
    // With three Tx and three Rx channels at most, row 2 and column 2 are the last: not counted.
    for (int i = 0; i < 4; ++i) f.Set(2, i, 2000), f.Set(i, 2, 2000);
    int threshold = 0;
    ASSERT_TRUE(EstimateSignalThreshold(f, 3, 3, threshold));
    EXPECT_EQ(threshold, 440);
}

TEST(MostFrequentValue, CountsDistinctValuesSkippingTheEmptyMark) {
    struct Case {
        std::vector<uint8_t> values;
        uint8_t expected;
    };
    const Case cases[] = {
        {{}, 0},
        {{255, 255}, 0},
        {{3, 5, 5, 3}, 3},             // equal counts: the first seen
        {{255, 7, 255, 255, 7, 2}, 7},  // 255 is no value, however often it comes
        {{9, 4, 4}, 4},
    };
    for (const Case& c : cases) EXPECT_EQ(MostFrequentValue(c.values), c.expected);
}

TEST(EdgeTest, NeighbourMustBeWithinFifteenPercentOfACellAtTheThreshold) {
    struct Case {
        int v, w, threshold;
        bool edge;
    };
    const Case cases[] = {
        {1000, 860, 400, true},    // 14 %
        {1000, 850, 400, false},   // 15 %
        {1000, 1149, 400, true},   // 14.9 % truncates to 14
        {1000, 1150, 400, false},  // an isolated strong cell
        {399, 399, 400, false},    // below the threshold
        {0, 0, 0, false},          // nothing to divide by
    };
    for (const Case& c : cases)
        EXPECT_EQ(QualifiesAsEdge(c.v, c.w, c.threshold), c.edge) << c.v << " vs " << c.w;
}

TEST(FindPinEdges, FindsTheWiredBlockOfOneChip) {
    PinRanges r = OneChip(11, 15);
    FindPinEdges(Block(12, 16, 2, 9, 3, 13), 0, 400, r);
    EXPECT_EQ(r.txStart[0], 2);
    EXPECT_EQ(r.txEnd[0], 9);
    EXPECT_EQ(r.rxStart[0], 3);
    EXPECT_EQ(r.rxEnd[0], 13);
}

TEST(FindPinEdges, RunsThatTouchTheEndsOfTheChip) {
    PinRanges r = OneChip(11, 15);
    FindPinEdges(Block(12, 16, 0, 11, 0, 15), 0, 400, r);
    EXPECT_EQ(r.txStart[0], 0);
    EXPECT_EQ(r.txEnd[0], 11);
    EXPECT_EQ(r.rxStart[0], 0);
    EXPECT_EQ(r.rxEnd[0], 15);
}

TEST(FindPinEdges, AStrongCellWithoutAnEvenNeighbourIsNoEdge) {
    // The wired block is columns 4..10; a lone cell at column 13 stands 30 % above its neighbour
    // and must not extend the run.
    FrameView f = Block(6, 16, 0, 5, 4, 10);
    for (int t = 0; t < 6; ++t) f.Set(t, 13, 1000), f.Set(t, 14, 700);
    PinRanges r = OneChip(5, 15);
    FindPinEdges(f, 0, 400, r);
    EXPECT_EQ(r.rxStart[0], 4);
    EXPECT_EQ(r.rxEnd[0], 10);
}

TEST(FindPinEdges, ChipBehindAnotherIsMeasuredFromItsOffset) {
    PinRanges r;
    r.txChips = r.rxChips = 2;
    r.txEnd = {19, 15, 0, 0};
    r.rxEnd = {19, 29, 0, 0};
    // Chip 1's Rx channels are frame columns 20..49, its Tx lines rows 20..35.
    FindPinEdges(Block(36, 50, 22, 33, 23, 45), 1, 400, r);
    EXPECT_EQ(r.rxStart[1], 3);
    EXPECT_EQ(r.rxEnd[1], 25);
    EXPECT_EQ(r.txStart[1], 2);
    EXPECT_EQ(r.txEnd[1], 13);
    // Chip 0 is not the one asked about.
    EXPECT_EQ(r.rxEnd[0], 19);
}

TEST(FindPinEdges, NoQualifyingLineGivesEqualStartAndEnd) {
    PinRanges r;
    r.rxChips = 2;
    r.rxEnd = {19, 29, 0, 0};
    r.txEnd = {9, 0, 0, 0};
    FindPinEdges(Block(10, 50, 0, 9, 0, 19), 1, 400, r);  // nothing on chip 1's columns
    EXPECT_EQ(r.rxStart[1], r.rxEnd[1]);
    EXPECT_EQ(r.rxStart[1], static_cast<uint8_t>(0 - 20));
    // Chip 1 drives no Tx lines: that axis is left as it was.
    EXPECT_EQ(r.txStart[1], 0);
    EXPECT_EQ(r.txEnd[1], 0);
}

TEST(EstimatePinsFromPhase, WiredNeighboursShareTheirPhase) {
    const int rows = 10, columns = 14;
    const FrameView m = Block(rows, columns, 1, 8, 2, 11);
    FrameView p(rows, columns), q(rows, columns);
    for (int t = 0; t < rows; ++t) {
        for (int c = 0; c < columns; ++c) {
            // A slowly turning phase on the panel, a random one on the unwired pins.
            const double theta = (m.At(t, c) > 100 ? 40.0 + t + 0.5 * c : 10.0 * ((t * 7 + c * 3) % 9)) *
                                 3.14159265 / 180.0;
            p.Set(t, c, static_cast<int>(std::lround(m.At(t, c) * std::sin(theta))));
            q.Set(t, c, static_cast<int>(std::lround(m.At(t, c) * std::cos(theta) / std::sqrt(3.0))));
        }
    }
    PinRanges r = OneChip(rows - 1, columns - 1);
    EstimatePinsFromPhase(p, q, m, 0, 400, r);
    EXPECT_EQ(r.rxStart[0], 2);
    EXPECT_EQ(r.rxEnd[0], 11);
    EXPECT_EQ(r.txStart[0], 1);
    EXPECT_EQ(r.txEnd[0], 8);
}

TEST(EstimatePinsFromPhase, LargeValuesDoNotOverflowTheProducts) {
    // 3 x Q x Q' of two such cells is beyond 32 bits; wrapped, it would turn the cells' close
    // relation into an unrelated one.
    FrameView p(4, 4), q(4, 4), m(4, 4);
    for (int t = 0; t < 4; ++t) {
        for (int c = 0; c < 4; ++c) {
            m.Set(t, c, 32000);
            p.Set(t, c, 100);
            q.Set(t, c, 30000);
        }
    }
    PinRanges r = OneChip(3, 3);
    EstimatePinsFromPhase(p, q, m, 0, 400, r);
    EXPECT_EQ(r.rxStart[0], 0);
    EXPECT_EQ(r.rxEnd[0], 3);
}

}  // namespace
