// Each data type's computation, the statistics, marked columns and the test-mode accumulators on
// small frames whose results are worked out by hand.
#include <gtest/gtest.h>

#include "model/ImageProcessor.h"

namespace tuner::image {
namespace {

// 3 Tx x 4 Rx, one lead row of each kind, 2 keys.
Geometry Small(int keys = 2) {
    ChannelInfo info;
    info.txCount = 3;
    info.rxCount = 4;
    info.leadRows1 = 1;
    info.leadRows2 = 1;
    return MakeGeometry(info, keys);
}

constexpr ChannelWindow kWhole{0, 3, 0, 2};

Frame WithTx(const std::vector<std::vector<int>>& rows, std::vector<int> keys = {}) {
    Frame f;
    for (size_t t = 0; t < rows.size(); ++t)
        for (size_t r = 0; r < rows[t].size(); ++r)
            f.At(2 + static_cast<int>(t), static_cast<int>(r)) = static_cast<int16_t>(rows[t][r]);
    for (size_t k = 0; k < keys.size(); ++k) f.keys[k] = static_cast<int16_t>(keys[k]);
    return f;
}

class ProcessorTest : public ::testing::Test {
  protected:
    void Select(std::string_view text) { p.SelectType(*FindDataType(text)); }
    GridSnapshot Run(Frame f, ProcessSettings s = {kWhole}) {
        GridSnapshot out;
        EXPECT_TRUE(p.Process(f, s, out));
        return out;
    }
    std::vector<int> TxRow(const GridSnapshot& s, int t) {
        return s.txRows[static_cast<size_t>(t)];
    }

    ImageProcessor p;
    void SetUp() override { p.SetGeometry(Small()); }
};

TEST_F(ProcessorTest, RawFrameGivesStatisticsMarksAndGrid) {
    Frame f = WithTx({{5, 9, 2, 9}, {7, 7, 7, 7}, {-4, 0, 30, 1}}, {40, 41});
    f.At(1, 2) = 55;  // the water row
    const GridSnapshot s = Run(f);
    EXPECT_EQ(s.rows, 4);  // water row and three Tx rows
    EXPECT_EQ(s.columns, 4);
    EXPECT_EQ(s.Value(0, 2), 55);
    EXPECT_EQ(s.Value(3, 2), 30);
    EXPECT_EQ(s.minimum, -4);  // the water row is not part of the statistics
    EXPECT_EQ(s.maximum, 30);
    // Largest and smallest columns per Tx row, first occurrence.
    EXPECT_EQ(s.largestColumn, (std::vector<int>{-1, 1, 0, 2}));
    EXPECT_EQ(s.smallestColumn, (std::vector<int>{-1, 2, 0, 0}));
    EXPECT_EQ(s.keys, (std::vector<int>{40, 41}));
    EXPECT_EQ(TxRow(s, 2), (std::vector<int>{-4, 0, 30, 1}));
}

TEST_F(ProcessorTest, TouchPercentWaitsForThreeFramesThenComparesWithTheirMean) {
    Select("Touch %");
    GridSnapshot out;
    const std::vector<Frame> base{WithTx({{100, 0, 200, 10}}, {10, 0}),
                                  WithTx({{110, 0, 200, 10}}, {20, 0}),
                                  WithTx({{90, 0, 200, 10}}, {30, 0})};
    for (Frame f : base) EXPECT_FALSE(p.Process(f, {kWhole}, out));
    const GridSnapshot s = Run(WithTx({{75, 5, 0, 10}}, {30, 7}));
    EXPECT_EQ(TxRow(s, 0), (std::vector<int>{25, -1, 100, 0}));  // baseline 0 shows -1
    EXPECT_EQ(s.keys, (std::vector<int>{50, 600}));  // a 0 key baseline counts as 1
    // A change of type starts a new baseline.
    Select("Raw (Cal)");
    Select("Touch %");
    Frame f = WithTx({{1}});
    EXPECT_FALSE(p.Process(f, {kWhole}, out));
}

TEST_F(ProcessorTest, TouchPercentSaturates) {
    Select("Touch %");
    GridSnapshot out;
    for (int i = 0; i < 3; ++i) {
        Frame f = WithTx({{1, 1}});
        p.Process(f, {kWhole}, out);
    }
    const GridSnapshot s = Run(WithTx({{-32768, 32767}}));
    EXPECT_EQ(TxRow(s, 0)[0], 32767);
    EXPECT_EQ(TxRow(s, 0)[1], -32768);
}

TEST_F(ProcessorTest, SwingPercentTakesTheLargerByte) {
    for (const char* type : {"AFE AD %", "ADC AD %"}) {
        Select(type);
        // bytes (low, high): (-128, 127), (64, -32), (0, 0), (-1, 100)
        const auto word = [](int low, int high) {
            return static_cast<int>(static_cast<int16_t>(((high & 0xFF) << 8) | (low & 0xFF)));
        };
        const GridSnapshot s =
            Run(WithTx({{word(-128, 127), word(64, -32), word(0, 0), word(-1, 100)}},
                       {word(10, -20), 0}));
        EXPECT_EQ(TxRow(s, 0), (std::vector<int>{100, 50, 0, 78})) << type;
        EXPECT_EQ(s.keys[0], 15) << type;
    }
}

TEST_F(ProcessorTest, UniformityIsTheNextRowMinusTheRowAndSaturates) {
    Select("Uniformity");
    const GridSnapshot s = Run(WithTx({{10, 20, 32767, 0}, {15, 10, -32768, 0}, {1, 2, 3, 4}}));
    EXPECT_EQ(TxRow(s, 0), (std::vector<int>{5, -10, -32768, 0}));
    EXPECT_EQ(TxRow(s, 1), (std::vector<int>{-14, -8, 32767, 4}));
    EXPECT_EQ(TxRow(s, 2), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(ProcessorTest, UniformityCookedSubtractsTheSubTableWithinTheSensor) {
    Select("Unifor Cook");
    UniformitySubTable table;
    table.entries = {{0, 1, 4},    {1, 3, -2},   // cells
                     {3, 0, 5},    {3, 1, 6},    {3, 2, 7},  // key row (row T): two keys only
                     {9, 0, 100},  {0, 200, 100}};            // outside the sensor
    table.entryCount = 7;
    p.SetUniformity(table);
    const GridSnapshot s = Run(WithTx({{0, 10, 0, 0}, {0, 0, 0, 3}, {0, 0, 0, 0}}, {50, 60}));
    EXPECT_EQ(TxRow(s, 0), (std::vector<int>{0, -14, 0, 3}));
    EXPECT_EQ(TxRow(s, 1), (std::vector<int>{0, 0, 0, -1}));
    EXPECT_EQ(s.keys, (std::vector<int>{45, 54}));
    EXPECT_EQ(s.uniformityEntries, 7);
}

TEST_F(ProcessorTest, WindowShowsItsChannelsOnly) {
    const GridSnapshot s = Run(WithTx({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}),
                               {ChannelWindow{1, 2, 1, 2}});
    EXPECT_EQ(s.rows, 3);
    EXPECT_EQ(s.columns, 2);
    EXPECT_EQ(s.Value(1, 0), 6);
    EXPECT_EQ(s.Value(2, 1), 11);
    EXPECT_EQ(s.minimum, 6);
    EXPECT_EQ(s.maximum, 11);
    EXPECT_EQ(s.FrameRow(0), 1);  // the water row
    EXPECT_EQ(s.FrameRow(1), 3);  // Tx channel 1
}

TEST_F(ProcessorTest, AccumulatorsCountKeepMaximaAndMinima) {
    ProcessSettings counts{kWhole, true, TestKind::kCounts, 5};
    GridSnapshot s;
    for (int v : {6, 4, 9}) s = Run(WithTx({{v, 5, -7, 0}}), counts);
    EXPECT_EQ(TxRow(s, 0), (std::vector<int>{2, 0, 0, 0}));
    EXPECT_EQ(s.Value(1, 0), 2);

    ProcessSettings maxima{kWhole, true, TestKind::kMaximum, 0};
    for (int v : {-5000, -4000, -4500}) s = Run(WithTx({{v}}), maxima);
    EXPECT_EQ(TxRow(s, 0)[0], -4000);  // below the old start value of the maxima

    ProcessSettings minima{kWhole, true, TestKind::kMinimum, 0};
    for (int v : {5000, 4000, 4500}) s = Run(WithTx({{v}}), minima);
    EXPECT_EQ(TxRow(s, 0)[0], 4000);  // above the old start value of the minima
    EXPECT_EQ(TxRow(s, 0)[1], 0);

    p.ResetAccumulators();
    s = Run(WithTx({{1}}), counts);
    EXPECT_EQ(TxRow(s, 0)[0], 0);
}

TEST_F(ProcessorTest, CountsStopAtTheirLimit) {
    ProcessSettings counts{kWhole, true, TestKind::kCounts, 0};
    GridSnapshot s;
    for (int i = 0; i < kCountLimit + 5; ++i) {
        Frame f = WithTx({{1}});
        p.Process(f, counts, s);
    }
    EXPECT_EQ(TxRow(s, 0)[0], kCountLimit);
}

}  // namespace
}  // namespace tuner::image
