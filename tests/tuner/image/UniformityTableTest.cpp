// The uniformity table's check and its sub-tables, on tables built here byte by byte.
#include <gtest/gtest.h>

#include "model/UniformityTable.h"

namespace tuner::image {
namespace {

void Put16(std::vector<uint8_t>& t, size_t at, int v) {
    t[at] = static_cast<uint8_t>(v & 0xFF);
    t[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

// Sets the covered length and the checksum over it.
void Seal(std::vector<uint8_t>& t, int covered) {
    Put16(t, 0, covered);
    uint32_t sum = 0x55AA;
    for (size_t i = 0; i < static_cast<size_t>(covered + 1) / 2 && 5 + 2 * i < t.size(); ++i)
        sum += t[4 + 2 * i] | (t[5 + 2 * i] << 8);
    Put16(t, 2, static_cast<int>(sum & 0xFFFF));
}

// Sub-table 1 at data offset 10: row 2 with entries (5, -300) and (6, 7); row 0 with (1, 250).
std::vector<uint8_t> Table() {
    std::vector<uint8_t> t(kUniformityTableSize, 0);
    Put16(t, 16 + 4, 3);
    Put16(t, 18 + 4, 10);
    const std::vector<uint8_t> groups{2, 2, 5, 0xD4, 0xFE, 6, 7, 0, 0, 1, 1, 250, 0};
    std::copy(groups.begin(), groups.end(), t.begin() + 48 + 10);
    Seal(t, 44 + 10 + static_cast<int>(groups.size()));
    return t;
}

TEST(UniformityTableTest, CheckFindsABadLengthOrChecksum) {
    std::vector<uint8_t> t = Table();
    EXPECT_TRUE(UniformityTableValid(t));
    t[60] ^= 1;  // a covered byte changes
    EXPECT_FALSE(UniformityTableValid(t));
    t = Table();
    t[40000 % kUniformityTableSize] ^= 1;  // an uncovered byte does not matter
    EXPECT_TRUE(UniformityTableValid(t));
    Seal(t, 32765);  // more than the table can cover
    EXPECT_FALSE(UniformityTableValid(t));
    Seal(t, 32764);
    EXPECT_TRUE(UniformityTableValid(t));
    std::vector<uint8_t> zeros(kUniformityTableSize, 0);
    EXPECT_FALSE(UniformityTableValid(zeros));
    EXPECT_FALSE(UniformityTableValid(std::vector<uint8_t>(100, 0)));
}

TEST(UniformityTableTest, SubTableGroupsScaleAndUse) {
    const std::vector<uint8_t> t = Table();
    UniformitySubTable sub = ParseSubTable(t, 1, 0, 5, 120);
    EXPECT_EQ(sub.entryCount, 3);
    ASSERT_EQ(sub.entries.size(), 3u);
    EXPECT_EQ(sub.entries[0].row, 2);
    EXPECT_EQ(sub.entries[0].column, 5);
    EXPECT_EQ(sub.entries[0].value, -300);
    EXPECT_EQ(sub.entries[2].row, 0);
    EXPECT_EQ(sub.entries[2].column, 1);
    EXPECT_EQ(sub.entries[2].value, 250);
    EXPECT_EQ(sub.usePercent, (2 + 6 + 2 + 3) * 100 / 32720);

    // Old kernels scale by the scale byte; newer ones and 0 or 100 do not.
    EXPECT_EQ(ParseSubTable(t, 1, 50, 4, 69).entries[0].value, -150);
    EXPECT_EQ(ParseSubTable(t, 1, 50, 4, 70).entries[0].value, -300);
    EXPECT_EQ(ParseSubTable(t, 1, 100, 3, 0).entries[0].value, -300);
    EXPECT_EQ(ParseSubTable(t, 1, 0, 3, 0).entries[0].value, -300);

    // An empty sub-table, and frequency indexes past the directory.
    EXPECT_TRUE(ParseSubTable(t, 0, 0, 5, 120).entries.empty());
    for (int index : {8, 200, -1}) {
        const UniformitySubTable none = ParseSubTable(t, index, 0, 5, 120);
        EXPECT_EQ(none.entryCount, 0);
        EXPECT_EQ(none.usePercent, 0);
        EXPECT_TRUE(none.entries.empty());
    }
}

TEST(UniformityTableTest, ParsingStopsAtTheCoveredLengthAndTheTablesEnd) {
    std::vector<uint8_t> t(kUniformityTableSize, 0);
    Put16(t, 16, 60000);  // claims far more entries than there are
    Put16(t, 18, 32700);  // data near the end of the table
    t[48 + 32700] = 0;
    t[48 + 32700 + 1] = 200;
    Seal(t, 32764);
    const UniformitySubTable sub = ParseSubTable(t, 0, 0, 5, 120);
    EXPECT_EQ(sub.entries.size(), (kUniformityTableSize - 48 - 32700 - 2) / 3);

    Put16(t, 18, 65535);  // data offset past the table
    EXPECT_TRUE(ParseSubTable(t, 0, 0, 5, 120).entries.empty());

    Put16(t, 18, 0);
    t[48] = 0;
    t[49] = 9;
    Seal(t, 44 + 2 + 3);  // covers the group's head and one entry
    EXPECT_EQ(ParseSubTable(t, 0, 0, 5, 120).entries.size(), 1u);
}

}  // namespace
}  // namespace tuner::image
