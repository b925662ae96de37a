// What the tuner reads from the controller: channel geometry, touch keys, coordinate ranges, and
// the title built from them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FakeDevlink.h"
#include "model/Startup.h"

namespace tuner {
namespace {

class ControllerInfoTest : public ::testing::Test {
  protected:
    void SetUp() override { fake::Reset(); }
    fake::Controller& device() { return fake::Device(); }

    std::unique_ptr<TunerState> Started() {
        auto state = std::make_unique<TunerState>();
        EXPECT_EQ(StartController(*state), StartupResult::kReady);
        return state;
    }
};

TEST_F(ControllerInfoTest, DecodesGeometryFromRecordsAndInfoBlock) {
    auto& record3 = device().records[3];
    record3[6] = 0xFF;  // L1 = -1: the lead rows are signed
    record3[7] = 3;
    record3[8] = 40;
    record3[9] = 200;
    for (int i = 0; i < 10; ++i) record3[10 + i] = static_cast<uint8_t>(i + 1);
    auto& record4 = device().records[4];
    record4[5] = 1;
    record4[6] = 0x81;   // first Tx map byte
    record4[21] = 0x7E;  // last Tx map byte
    record4[26] = 0x55;  // first Rx map byte
    record4[57] = 0xAA;  // last Rx map byte
    auto& block = device().infoBlock;
    block[2] = 0x34, block[3] = 0x12;  // sensor X 0x1234
    block[4] = 0x78, block[5] = 0x05;  // sensor Y 0x0578
    block[16] = 18, block[17] = 3, block[18] = 8;
    block[19] = 120;
    block[21] = 101;  // only bit 0 is the calibration-target offset
    block[25] = 1, block[26] = 20, block[31] = 7, block[32] = 9;
    block[36] = 2, block[37] = 30, block[42] = 5, block[43] = 6;
    device().kernelMajor = 6;
    device().kernelMinor = 4;

    auto state = Started();
    const ChannelInfo info = state->channels.Get();

    EXPECT_EQ(info.kernelMajor, 6);
    EXPECT_EQ(info.kernelMinor, 4);
    EXPECT_EQ(info.leadRows1, -1);
    EXPECT_EQ(info.leadRows2, 3);
    EXPECT_EQ(info.leadRowSum, 2);
    EXPECT_EQ(info.txCount, 40u);
    EXPECT_EQ(info.rxCount, 200u);
    EXPECT_EQ(info.calTargets[0], 1);
    EXPECT_EQ(info.calTargets[9], 10);
    EXPECT_TRUE(info.channelMapsValid);
    EXPECT_EQ(info.txChannelMap.front(), 0x81);
    EXPECT_EQ(info.txChannelMap.back(), 0x7E);
    EXPECT_EQ(info.rxChannelMap.front(), 0x55);
    EXPECT_EQ(info.rxChannelMap.back(), 0xAA);
    EXPECT_EQ(info.sensorSizeX, 0x1234);
    EXPECT_EQ(info.sensorSizeY, 0x0578);
    EXPECT_EQ(info.kernelBuildDate, (std::array<uint8_t, 3>{18, 3, 8}));
    EXPECT_EQ(info.uniformityScale, 120);
    EXPECT_EQ(info.calTargetOffset, 1);
    EXPECT_EQ(info.txPins[0].first, 1);
    EXPECT_EQ(info.txPins[0].last, 20);
    EXPECT_EQ(info.txPins[3].first, 7);
    EXPECT_EQ(info.txPins[3].last, 9);
    EXPECT_EQ(info.rxPins[0].first, 2);
    EXPECT_EQ(info.rxPins[0].last, 30);
    EXPECT_EQ(info.rxPins[3].first, 5);
    EXPECT_EQ(info.rxPins[3].last, 6);
}

TEST_F(ControllerInfoTest, FailedRefreshKeepsTheLastCompleteInformation) {
    device().records[3][8] = 30;
    device().records[3][9] = 50;
    auto state = Started();
    const ChannelInfo before = state->channels.Get();

    device().records[3][8] = 99;  // readable, but the block after it is not
    device().infoBlockFails = true;
    EXPECT_FALSE(RefreshChannelInfo(*state));

    EXPECT_EQ(state->channels.Get(), before);
}

TEST_F(ControllerInfoTest, RefreshAfterRestartStopsStreamingBeforeReading) {
    auto state = Started();
    device().calls.clear();
    device().records[3][8] = 52;

    ASSERT_TRUE(RefreshChannelInfoAfterRestart(*state));

    ASSERT_GE(device().calls.size(), 2u);
    EXPECT_EQ(device().calls.front(), "devSwitchWorkMode 0x8000");
    EXPECT_EQ(state->channels.Get().txCount, 52u);
}

struct TouchKeyCase {
    uint8_t flags;
    bool read;
};

class TouchKeyTest : public ControllerInfoTest,
                     public ::testing::WithParamInterface<TouchKeyCase> {};

TEST_P(TouchKeyTest, CountsAreReadOnlyWhenTheControllerHasTouchKeys) {
    device().records[0][4] = GetParam().flags;
    device().records[1][5] = 4;
    device().records[1][9] = 6;

    auto state = Started();

    EXPECT_EQ(device().Count("devQueryInfo 1"), GetParam().read ? 1 : 0);
    EXPECT_EQ(state->touchKeys.keys, GetParam().read ? 4 : 0);
    EXPECT_EQ(state->touchKeys.secondKeys, GetParam().read ? 6 : 0);
}

INSTANTIATE_TEST_SUITE_P(Flags, TouchKeyTest,
                         ::testing::Values(TouchKeyCase{0x01, true}, TouchKeyCase{0x08, true},
                                           TouchKeyCase{0x09, true}, TouchKeyCase{0x02, false},
                                           TouchKeyCase{0xF6, false}, TouchKeyCase{0x00, false}),
                         [](const auto& info) {
                             return "Flags" + std::to_string(info.param.flags);
                         });

struct KernelCase {
    uint8_t major;
    uint8_t minor;
    bool asks;
};

class CoordinateRangeTest : public ControllerInfoTest,
                            public ::testing::WithParamInterface<KernelCase> {};

TEST_P(CoordinateRangeTest, OnlyKernelsFrom5Point38AreAsked) {
    device().kernelMajor = GetParam().major;
    device().kernelMinor = GetParam().minor;
    auto& answer = device().reportInfo;
    answer[1] = 0x00, answer[2] = 0x20;    // touch X 8192
    answer[3] = 0x00, answer[4] = 0x10;    // touch Y 4096
    answer[14] = 0xFF, answer[15] = 0x3F;  // stylus X 16383
    answer[16] = 0x34, answer[17] = 0x12;  // stylus Y 0x1234

    auto state = Started();

    EXPECT_EQ(device().Count("devGetReportInfo"), GetParam().asks ? 1 : 0);
    const CoordinateMaxima expected =
        GetParam().asks ? CoordinateMaxima{8192, 4096, 16383, 0x1234} : CoordinateMaxima{};
    EXPECT_EQ(state->coordinateMaxima, expected);
}

INSTANTIATE_TEST_SUITE_P(Kernels, CoordinateRangeTest,
                         ::testing::Values(KernelCase{5, 37, false}, KernelCase{5, 38, true},
                                           KernelCase{5, 120, true}, KernelCase{6, 0, true},
                                           KernelCase{4, 99, false}, KernelCase{0, 0, false}),
                         [](const auto& info) {
                             return "Kernel" + std::to_string(info.param.major) + "_" +
                                    std::to_string(info.param.minor);
                         });

TEST_F(ControllerInfoTest, ShortOrZeroRangeAnswersKeepTheDefault) {
    device().reportInfo[1] = 0x00, device().reportInfo[2] = 0x20;
    device().reportInfoLength = 17;  // ends before the last stylus byte
    EXPECT_EQ(Started()->coordinateMaxima, CoordinateMaxima{});

    fake::Reset();
    device().reportInfo[1] = 0x00, device().reportInfo[2] = 0x20;  // touch X only, the rest zero
    EXPECT_EQ(Started()->coordinateMaxima, (CoordinateMaxima{8192, 4095, 4095, 4095}));
}

TEST_F(ControllerInfoTest, TitleShowsToolAndControllerIdentity) {
    device().modelName = "TP-GXXX";
    device().modelSubName = "K7P100";
    device().versionText = "V5.120";
    device().kernelMajor = 5;
    device().kernelMinor = 7;
    device().records[3][8] = 36;
    device().records[3][9] = 64;
    device().infoBlock[16] = 18, device().infoBlock[17] = 3, device().infoBlock[18] = 8;

    auto state = Started();
    const Titles& titles = UpdateTitles(*state);

    EXPECT_EQ(titles.base, "TovrexTuner_K7PXXX v1.0.0.87(180308)");
    EXPECT_EQ(titles.full,
              "TovrexTuner_K7PXXX v1.0.0.87(180308) ( M:TP-GXXX (K7P100), V:V5.120, T:36, R:64, "
              "Ker:05.07.180308 )");
    EXPECT_EQ(state->texts.icType, "T3300");
}

TEST_F(ControllerInfoTest, ControllerTextsAreShownAsTheyAreAndCutTo63Characters) {
    device().modelName = "100%s%n";
    device().versionText = std::string(100, 'v');

    auto state = Started();
    const Titles& titles = UpdateTitles(*state);

    EXPECT_NE(titles.full.find("M:100%s%n (K7P100)"), std::string::npos) << titles.full;
    EXPECT_EQ(state->texts.firmwareVersion, std::string(63, 'v'));
    EXPECT_NE(titles.full.find("V:" + std::string(63, 'v') + ","), std::string::npos);
}

}  // namespace
}  // namespace tuner
