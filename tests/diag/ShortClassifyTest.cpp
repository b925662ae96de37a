// Reading the short test's matrices over small hand-made matrices: which channel a short names,
// where the Rx search stops, when a supply is named, and how chip pins become list channels.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "diag/ShortClassify.h"

namespace {

constexpr int kNone = kNoShortPartner;
constexpr int kSupply = kSupplyShortPartner;

// A matrix of small readings (1) with the cells a case sets.
struct Cells {
    std::map<std::pair<int, int>, int> set;  // (row, column) -> reading

    ShortCell Reader() const {
        return [this](int row, int column) {
            auto it = set.find({row, column});
            return it == set.end() ? 1 : it->second;
        };
    }
    // Column `column`, rows first .. last, all `value`.
    Cells& Column(int column, int first, int last, int value) {
        for (int row = first; row <= last; ++row) set[{row, column}] = value;
        return *this;
    }
    Cells& Cell(int row, int column, int value) {
        set[{row, column}] = value;
        return *this;
    }
};

struct RxCase {
    const char* name;
    Cells cells;
    int channel;
    ShortChannel expected;
};

TEST(ShortClassify, RxChannelsNameWhatTheirDriveReached) {
    const int perChip = 4, channels = 8;
    const RxCase cases[] = {
        {"healthy", Cells{}, 2, {1, kNone}},
        // The drive of 1 reaches row 2 and stops at 3: shorted to 3, which keeps 1.
        {"pair, lower channel", Cells{}.Column(1, 1, 2, 90).Cell(3, 1, 2), 1, {90, 3}},
        {"pair, upper channel", Cells{}.Column(1, 1, 2, 90).Cell(3, 1, 2), 3, {90, 1}},
        // Reaching every row to the end: a supply.
        {"tied to VDD", Cells{}.Column(5, 5, 7, 110), 5, {110, kSupply}},
        {"tied to GND", Cells{}.Column(5, 5, 7, -110), 5, {-110, kSupply}},
        // Stopping at the next chip's first row: a supply or a line of the other chip.
        {"stops at the chip boundary", Cells{}.Column(1, 1, 3, -90), 1, {-90, kSupply}},
        // The drop must be below 30 and below 0.8 of the reading.
        {"25 with no reading below 20",
         Cells{}.Column(0, 0, 7, 25).Cell(3, 0, 22),
         0,
         {25, kSupply}},
        {"25 dropping to 19", Cells{}.Column(0, 0, 7, 25).Cell(3, 0, 19), 0, {25, 3}},
        {"a drop to 30 is no drop", Cells{}.Column(2, 2, 7, 60).Cell(6, 2, 30), 2, {60, kSupply}},
        // Below 20 the column is not searched, however it reads.
        {"19 is not searched", Cells{}.Column(6, 6, 7, 19).Cell(7, 6, 0), 6, {19, kNone}},
        {"negative readings count by size",
         Cells{}.Column(6, 6, 6, -40).Cell(7, 6, -3),
         6,
         {-40, 7}},
    };
    for (const RxCase& c : cases) {
        const auto out = ClassifyRxShorts(c.cells.Reader(), perChip, channels);
        ASSERT_EQ(out.size(), 8u) << c.name;
        EXPECT_EQ(out[static_cast<size_t>(c.channel)].peak, c.expected.peak) << c.name;
        EXPECT_EQ(out[static_cast<size_t>(c.channel)].partner, c.expected.partner) << c.name;
    }
}

struct TxCase {
    const char* name;
    Cells cells;
    int channel;
    ShortChannel expected;
};

TEST(ShortClassify, TxChannelsNameTheLineTheyPickUp) {
    const TxCase cases[] = {
        {"healthy", Cells{}, 0, {1, kNone}},
        {"pair", Cells{}.Cell(3, 1, 80).Cell(1, 3, 80), 1, {80, 3}},
        {"pair, other side", Cells{}.Cell(3, 1, 80).Cell(1, 3, 80), 3, {80, 1}},
        {"largest pick-up wins", Cells{}.Cell(0, 2, 40).Cell(4, 2, -70), 2, {-70, 4}},
        // Its own row never counts.
        {"own row ignored", Cells{}.Cell(2, 2, 120), 2, {1, kNone}},
        // 20 is a peak but names nobody; 21 names its row.
        {"20 names nobody", Cells{}.Cell(4, 0, 20), 0, {20, kNone}},
        {"21 names its row", Cells{}.Cell(4, 0, 21), 0, {21, 4}},
        {"tied to VDD", Cells{}.Column(2, 0, 4, 110).Cell(2, 2, 0), 2, {110, kSupply}},
        {"tied to GND", Cells{}.Column(2, 0, 4, -110).Cell(2, 2, 0), 2, {-110, kSupply}},
        // One row below 100: the strongest row is the partner, not a supply.
        {"one row below 100",
         Cells{}.Column(2, 0, 4, 110).Cell(2, 2, 0).Cell(0, 2, 99),
         2,
         {110, 1}},
    };
    for (const TxCase& c : cases) {
        const auto out = ClassifyTxShorts(c.cells.Reader(), 5);
        ASSERT_EQ(out.size(), 5u) << c.name;
        EXPECT_EQ(out[static_cast<size_t>(c.channel)].peak, c.expected.peak) << c.name;
        EXPECT_EQ(out[static_cast<size_t>(c.channel)].partner, c.expected.partner) << c.name;
    }
}

TEST(ShortClassify, NoChannelsReadNothing) {
    EXPECT_TRUE(ClassifyRxShorts(Cells{}.Reader(), 4, 0).empty());
    // One channel alone has no other row to be tied through.
    const auto tx = ClassifyTxShorts(Cells{}.Reader(), 1);
    ASSERT_EQ(tx.size(), 1u);
    EXPECT_EQ(tx[0].partner, kNone);
}

TEST(ShortClassify, ListChannelsWalkTheChipRanges) {
    // Two chips of 10 pins; the first chip's pins sit 2 positions further on.
    std::vector<ShortChannel> pins(20);
    for (int i = 0; i < 20; ++i) pins[static_cast<size_t>(i)] = {i, kNone};
    pins[4] = {4, 7};        // chip 0 pin 2, partner at position 7 (chip 0 pin 5)
    pins[5] = {5, kSupply};  // chip 0 pin 3
    pins[13] = {13, 16};     // chip 1 pin 3
    const std::vector<ShortRange> ranges = {{1, 3}, {3, 4}};
    const auto out = MapShortChannels(pins, ranges, 10, 2, 256);
    ASSERT_EQ(out.size(), 5u);
    const int peaks[] = {3, 4, 5, 13, 14};
    for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i].peak, peaks[i]) << i;
    EXPECT_EQ(out[1].partner, 5) << "lowered by the first chip's offset";
    EXPECT_EQ(out[2].partner, kSupply) << "a supply stays a supply";
    EXPECT_EQ(out[3].partner, 16) << "the second chip's partners stay as found";

    // Pins past the matrix read empty; the list stops at its size.
    const std::vector<ShortRange> past = {{0, 9}, {8, 12}};
    const auto clipped = MapShortChannels(pins, past, 10, 0, 256);
    ASSERT_EQ(clipped.size(), 15u);
    EXPECT_EQ(clipped[11].peak, 19);
    EXPECT_EQ(clipped[12].peak, 0);
    EXPECT_EQ(clipped[12].partner, kNone);
    EXPECT_EQ(MapShortChannels(pins, past, 10, 0, 6).size(), 6u);
    const std::vector<ShortRange> none = {{5, 4}};
    EXPECT_TRUE(MapShortChannels(pins, none, 10, 0, 256).empty());
}

TEST(ShortClassify, LinesNameThePartner) {
    struct Case {
        bool tx;
        int index, value, partner;
        const char* line;
    };
    const Case cases[] = {
        {false, 3, 2, kNone, "Rx[3],2\n"},
        {false, 3, 96, 7, "Rx[3],96,Short with Rx[7]\n"},
        {true, 12, 96, 40, "Tx[12],96,Short with Tx[40]\n"},
        {false, 9, 110, kSupply, "Rx[9],110,Short with vdd\n"},
        {false, 9, 1, kSupply, "Rx[9],1,Short with vdd\n"},
        {false, 9, 0, kSupply, "Rx[9],0,Short with gnd or other rx chip\n"},
        {false, 9, -110, kSupply, "Rx[9],-110,Short with gnd or other rx chip\n"},
        {true, 4, 110, kSupply, "Tx[4],110,Short with vdd\n"},
        {true, 4, -110, kSupply, "Tx[4],-110,Short with gnd\n"},
        {false, 0, 96, -3, "Rx[0],96,Short with Rx[-3]\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortChannelLine(c.tx, c.index, c.value, c.partner), c.line);
}

}  // namespace
