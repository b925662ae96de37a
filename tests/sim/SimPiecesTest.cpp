// The simulator's own pieces where a unit test shows a fault better than the devlink API.
#include <gtest/gtest.h>

#include "Images.h"
#include "Streams.h"
#include "sim/Profile.h"

namespace sim {
namespace {

TEST(ImageChecksum, CoversTheUsedLengthOnlyAndRejectsAnImpossibleOne) {
    Bytes image(16, 0);
    image[0] = 5;  // five used bytes: two whole words, the odd fifth byte is not summed
    image[4] = 1;
    image[6] = 2;
    image[8] = 100;
    EXPECT_EQ(imageChecksum(image), 0x55 + 1 + 2);
    renewImageChecksum(image);
    EXPECT_TRUE(imageChecksumValid(image));
    image[8] = 7;
    EXPECT_TRUE(imageChecksumValid(image)) << "bytes past the used length are not covered";
    image[6] = 3;
    EXPECT_FALSE(imageChecksumValid(image));

    Bytes tooLong(16, 0);
    tooLong[0] = 13;  // more than length - 4
    renewImageChecksum(tooLong);
    EXPECT_FALSE(imageChecksumValid(tooLong));
}

TEST(FactoryImages, EveryModelStartsWithValidSetsAndItsGeometry) {
    for (const auto& name : builtinModelNames()) {
        const Profile p = *builtinProfile(name);
        for (int type : {kSoftware, kHardware, kStylus})
            EXPECT_TRUE(imageChecksumValid(factoryImage(type, p))) << name << " type " << type;
        EXPECT_TRUE(tableValid(factoryImage(kTable, p))) << name;
        const Bytes hw = factoryImage(kHardware, p);
        EXPECT_EQ(hw::txChips(hw), p.chipCount);
        EXPECT_LE(hw::txCount(hw), 160) << name;
        EXPECT_LE(hw::rxCount(hw), 254) << name;
    }
}

TEST(ImageFields, CountsFromAnyByteStayInTheirRanges) {
    Bytes hw = factoryImage(kHardware, *builtinProfile("K7P100"));
    hw[hw::kTxChips] = 0xFF;
    hw[hw::kRxChips] = 0;
    hw[hw::kNumsOfFreq] = 0xFF;
    hw[hw::kFreqStartIndex] = 9;
    EXPECT_EQ(hw::txChips(hw), 4);
    EXPECT_EQ(hw::rxChips(hw), 1);
    EXPECT_EQ(hw::frequencies(hw), 5);
    EXPECT_EQ(hw::freqStartIndex(hw), 4);
    hw[hw::kTxStart] = 10;  // end before start: no lines
    hw[hw::kTxStart + 1] = 5;
    hw[hw::kTxChips] = 1;
    EXPECT_EQ(hw::txCount(hw), 0);
}

TEST(ImageFrame, RowsEndAtTheirLastColumnAndLargeSensorsStayFramed) {
    struct Case {
        int tx, rx;
        size_t reports;
    } cases[] = {{1, 29, 3}, {1, 30, 6}, {2, 58, 8}, {300, 300, 255 * 9}};
    for (const auto& c : cases) {
        Reports out;
        appendImageFrame(out, c.tx, c.rx, Window{});
        EXPECT_EQ(out.size(), c.reports) << c.tx << "x" << c.rx;
        for (const auto& r : out) {
            EXPECT_LE(r[1], 61);
            EXPECT_EQ((r[1] - 3) % 2, 0);
        }
    }
}

TEST(ShortTest, OldLayoutCarriesRowAndColumnWithoutChip) {
    Reports out;
    ShortTestData data;
    data.rxPins = data.rxPerChip = 60;
    data.txPins = data.txPerChip = 1;
    data.rxMatrix.assign(60 * 60, 0);
    data.rxMatrix[57] = -5;  // row 0, column 57
    data.txMatrix.assign(1, 0);
    data.rxList.assign(60, 0);
    data.txList.assign(1, 0);
    appendShortTest(out, data, true);
    // 60 + 1 list entries, 60 Rx rows of 57 + 3 values, one Tx row, the completion.
    ASSERT_EQ(out.size(), 61u + 120u + 1u + 1u);
    const Report& firstRow = out[61];
    EXPECT_EQ(firstRow[4], 0x03);
    EXPECT_EQ(firstRow[1], 62);
    EXPECT_EQ(firstRow[1] - 5, 57) << "values from byte 7";
    EXPECT_EQ(out[62][6], 57) << "the second report of row 0 starts at column 57";
    EXPECT_EQ(static_cast<int8_t>(out[62][7]), -5);
}

TEST(Profiles, ListsAndNumbersParse) {
    std::string error;
    auto p = parseProfile(
        "model = 176  # by type code\nrefuse_mode = 0x8004,0x4080\nshort_read = hw:10, sw:0\n"
        "fail = info3, ic_info\n",
        error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->typeCode, 176);
    EXPECT_EQ(p->faults.refusedModes, (std::set<uint16_t>{0x8004, 0x4080}));
    EXPECT_EQ(p->faults.shortRead.at(kHardware), 10u);
    EXPECT_EQ(p->faults.shortRead.at(kSoftware), 0u);
    EXPECT_EQ(p->faults.failedQueries.count("ic_info"), 1u);
    EXPECT_FALSE(parseProfile("model = K7P100\nmodel_name = " + std::string(64, 'x'), error));
}

}  // namespace
}  // namespace sim
