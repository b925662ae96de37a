#include <gtest/gtest.h>

#include "FakeController.h"
#include "device/CMCU.h"
#include "device/CMCU_F412.h"

namespace {

using McuTest = FakeControllerTest;

struct TableCase {
    int typeCode;
    int clockType;  // byte 49 of the information block, used for 164/166/172 at kernel >= 3.19
    int expectedCount;
};

class FreqTableTest : public FakeControllerTest, public testing::WithParamInterface<TableCase> {};

TEST_P(FreqTableTest, CountAndFirstRowGive250kHz) {
    const TableCase c = GetParam();
    device_.typeCode = c.typeCode;
    device_.pcap[49] = static_cast<uint8_t>(c.clockType);
    device_.structVersion[0] = 3;
    device_.kernelMinor = 19;
    CController& ctl = Build(c.typeCode);
    ctl.Initialise();
    CMCU& mcu = ctl.Mcu();
    EXPECT_EQ(mcu.GetFreqCount(), c.expectedCount);
    uint8_t clock = 9, count = 9, divider = 9;
    ASSERT_TRUE(mcu.GetFreqSetting(0, clock, count, divider));
    EXPECT_EQ(clock, 0);
    EXPECT_EQ(count, 12);
    EXPECT_EQ(divider, 3);
    EXPECT_FLOAT_EQ(mcu.CalcFrequency(clock, count, divider), 250.0f);
}

INSTANTIATE_TEST_SUITE_P(Models, FreqTableTest,
                         testing::Values(TableCase{176, 0, 38}, TableCase{166, 1, 45},
                                         TableCase{164, 0, 47}, TableCase{94, 1, 47},
                                         TableCase{96, 0, 47}));

TEST(FreqTables, LastRowsAreAsPublished) {
    const auto t324 = FreqTableT324();
    EXPECT_EQ(t324.back().count, 12);
    EXPECT_EQ(t324.back().divider, 15);
    const auto ct1 = FreqTableClockType1();
    EXPECT_EQ(ct1.back().clock, 2);
    EXPECT_EQ(ct1.back().count, 29);
    const auto def = FreqTableDefault();
    EXPECT_EQ(def.back().clock, 1);
    EXPECT_EQ(def.back().count, 35);
    for (const auto& row : ct1) EXPECT_EQ(row.divider, 3);
    for (const auto& row : t324) EXPECT_EQ(row.clock, 0);
}

TEST_F(McuTest, CalcFrequencyFollowsClockDividerAndClockType) {
    CController& t3300 = Build(94);
    CMCU& mcu = t3300.Mcu();
    // Clock 1 on base 45: 45 / 3 * 1000 = 15000; over 12 x 3 x 2.
    EXPECT_NEAR(mcu.CalcFrequency(1, 12, 3), 15000.0f / 72.0f, 1e-3);
    // Any divider other than the T324's counts as 3.
    EXPECT_FLOAT_EQ(mcu.CalcFrequency(0, 12, 7), 250.0f);
    // A zero prescaler has no frequency instead of a division by zero.
    EXPECT_FLOAT_EQ(mcu.CalcFrequency(0, 0, 3), 0.0f);

    CController& t324 = Build(176);
    EXPECT_FLOAT_EQ(t324.Mcu().CalcFrequency(0, 12, 4), 187.5f);
    EXPECT_FLOAT_EQ(t324.Mcu().CalcFrequency(0, 12, 0), 250.0f);  // out of 1..31: 3
    EXPECT_FLOAT_EQ(t324.Mcu().CalcFrequency(0, 12, 32), 250.0f);
}

TEST_F(McuTest, ClockTypeOneUsesTheFiftyMegahertzBase) {
    device_.typeCode = 166;
    device_.structVersion[0] = 2;
    device_.kernelMinor = 95;
    CController& ctl = Build(166);
    ctl.Initialise();
    ASSERT_EQ(ctl.ClockType(), 1);
    EXPECT_NEAR(ctl.Mcu().CalcFrequency(1, 12, 3), 50.0f / 3.0f * 1000.0f / 72.0f, 1e-3);
}

TEST_F(McuTest, SettingsOutsideTheTableReadRowZero) {
    CMCU& mcu = Build(94).Mcu();
    for (int index : {-1, -100, 47, 255}) {
        uint8_t clock = 9, count = 9, divider = 9;
        EXPECT_TRUE(mcu.GetFreqSetting(index, clock, count, divider));
        EXPECT_EQ(count, 12) << index;
        EXPECT_EQ(clock, 0) << index;
    }
    uint8_t clock = 0, count = 0, divider = 0;
    mcu.GetFreqSetting(46, clock, count, divider);
    EXPECT_EQ(clock, 1);
    EXPECT_EQ(count, 35);
}

TEST_F(McuTest, ModelLimits) {
    struct Limit {
        int typeCode, a, b;
    };
    for (Limit l :
         {Limit{94, 64, 100}, Limit{158, 64, 100}, Limit{96, 80, 128}, Limit{164, 128, 200},
          Limit{166, 128, 200}, Limit{172, 128, 200}, Limit{160, 0, 0}, Limit{176, 0, 0}}) {
        CMCU& mcu = Build(l.typeCode).Mcu();
        EXPECT_EQ(mcu.GetModelLimitA(), l.a) << l.typeCode;
        EXPECT_EQ(mcu.GetModelLimitB(), l.b) << l.typeCode;
    }
}

}  // namespace
