// Start-up of the tuner against a scripted controller: which controller is opened, and what each
// failure shows and leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "FakeDevlink.h"
#include "model/ControllerSearch.h"
#include "model/Startup.h"

namespace tuner {
namespace {

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { fake::Reset(); }
    fake::Controller& device() { return fake::Device(); }
};

struct ReportLengthCase {
    uint32_t input;
    uint32_t output;
    bool accepted;
};

class ReportLengthTest : public StartupTest,
                         public ::testing::WithParamInterface<ReportLengthCase> {};

TEST_P(ReportLengthTest, OnlyControllersWith64ByteReportsAreOpened) {
    const auto param = GetParam();
    device().devices = {{"/dev/only-one", param.input, param.output, 1, 2}};

    TunerState state;
    const StartupResult result = StartController(state);

    if (param.accepted) {
        EXPECT_EQ(result, StartupResult::kReady);
        EXPECT_EQ(device().Count("devOpen"), 1);
    } else {
        EXPECT_EQ(result, StartupResult::kNoController);
        EXPECT_EQ(device().Count("devOpen"), 0) << "a controller with other reports was opened";
        EXPECT_EQ(StartupMessage(result)->text, "Enumerate VORN Device Fail !");
        EXPECT_EQ(StartupMessage(result)->caption, "ERROR");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ReportLengthTest,
    ::testing::Values(ReportLengthCase{64, 64, true}, ReportLengthCase{32, 64, false},
                      ReportLengthCase{64, 32, false}, ReportLengthCase{65, 64, false},
                      ReportLengthCase{64, 128, false}, ReportLengthCase{0, 0, false}),
    [](const auto& info) {
        return "In" + std::to_string(info.param.input) + "Out" + std::to_string(info.param.output);
    });

TEST_F(StartupTest, SkipsAControllerWithOtherReportsAndOpensTheNextOne) {
    device().devices = {{"/dev/wide", 128, 128, 1, 1}, {"/dev/good", 64, 64, 0x1234, 0xC000}};

    TunerState state;
    ASSERT_EQ(StartController(state), StartupResult::kReady);

    EXPECT_STREQ(device().openedRecord.path, "/dev/good");
    EXPECT_EQ(device().openedRecord.inputLength, 64u);
    EXPECT_EQ(device().openedRecord.outputLength, 64u);
    EXPECT_EQ(device().openedRecord.id1, 0x1234);
    EXPECT_EQ(device().openedRecord.id2, 0xC000);
}

TEST_F(StartupTest, AnOverlongPathIsCutToTheRecordAndTerminated) {
    DevRecord record{};
    std::memset(record.path, 'x', sizeof record.path);  // leftovers must not survive
    const std::string path(600, 'p');

    ASSERT_EQ(AcceptControllerWith64ByteReports(&record, path.c_str(), nullptr, 64, 64, 1, 2), 1);

    EXPECT_EQ(strnlen(record.path, sizeof record.path), kDevPathSize - 1);
    EXPECT_EQ(record.path[kDevPathSize - 1], '\0');
    EXPECT_EQ(std::string(record.path), path.substr(0, kDevPathSize - 1));
}

TEST_F(StartupTest, ShorterPathLeavesNothingOfAnEarlierOneBehind) {
    DevRecord record{};
    std::memset(record.path, 'x', sizeof record.path);

    ASSERT_EQ(AcceptControllerWith64ByteReports(&record, "/dev/a", nullptr, 64, 64, 1, 2), 1);

    for (std::size_t i = std::strlen("/dev/a"); i < kDevPathSize; ++i)
        ASSERT_EQ(record.path[i], '\0') << "at " << i;
}

TEST_F(StartupTest, PathHandedOverInsideTheRecordItselfIsKept) {
    DevRecord record{};
    std::strcpy(record.path, "/dev/in-the-record");

    ASSERT_EQ(AcceptControllerWith64ByteReports(&record, record.path, nullptr, 64, 64, 1, 2), 1);

    EXPECT_STREQ(record.path, "/dev/in-the-record");
}

TEST_F(StartupTest, ReadyControllerIsInCommandModeAndStaysOpen) {
    TunerState state;
    ASSERT_EQ(StartController(state), StartupResult::kReady);

    EXPECT_TRUE(state.device.IsOpen());
    EXPECT_EQ(state.solutionCode, 94);
    EXPECT_EQ(device().Count("devSwitchWorkMode 0x8000"), 1);
    EXPECT_EQ(device().Count("devClose"), 0);
    EXPECT_EQ(device().handleCallsWithBadHandle, 0);
}

struct FailureCase {
    const char* name;
    std::function<void(fake::Controller&)> arrange;
    StartupResult result;
    std::string_view text;
    std::string_view caption;
    MessageIcon icon;
    int opens;
    int closes;
};

class StartupFailureTest : public StartupTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartupFailureTest, ShowsItsMessageAndLeavesNoControllerHeld) {
    const auto& param = GetParam();
    param.arrange(device());

    TunerState state;
    const StartupResult result = StartController(state);

    ASSERT_EQ(result, param.result);
    const UserMessage* message = StartupMessage(result);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text, param.text);
    EXPECT_EQ(message->caption, param.caption);
    EXPECT_EQ(message->icon, param.icon);
    EXPECT_EQ(message->buttons, MessageButtons::kOk);

    EXPECT_FALSE(state.device.IsOpen());
    EXPECT_EQ(device().Count("devOpen"), param.opens);
    EXPECT_EQ(device().Count("devClose"), param.closes);
    EXPECT_EQ(device().handleCallsWithBadHandle, 0) << "a call was made without a handle";
}

INSTANTIATE_TEST_SUITE_P(
    Failures, StartupFailureTest,
    ::testing::Values(
        FailureCase{"NoController", [](fake::Controller& d) { d.devices.clear(); },
                    StartupResult::kNoController, "Enumerate VORN Device Fail !", "ERROR",
                    MessageIcon::kNone, 0, 0},
        FailureCase{"UnsupportedSolution", [](fake::Controller& d) { d.solutionSupported = false; },
                    StartupResult::kUnsupportedSolution,
                    "This Tool Only For VORN Solution - ZQCK7PXXX !!", "ERROR", MessageIcon::kNone,
                    1, 1},
        FailureCase{"UnsupportedSolutionWithoutHandle",
                    [](fake::Controller& d) {
                        d.solutionSupported = false;
                        d.openFails = true;
                    },
                    StartupResult::kUnsupportedSolution,
                    "This Tool Only For VORN Solution - ZQCK7PXXX !!", "ERROR", MessageIcon::kNone,
                    1, 0},
        FailureCase{"OpenFails", [](fake::Controller& d) { d.openFails = true; },
                    StartupResult::kDeviceNotFound, "VORN Device Not Found !", "ERROR",
                    MessageIcon::kNone, 1, 0},
        FailureCase{"ChannelRecordFails", [](fake::Controller& d) { d.failingRecords = {3}; },
                    StartupResult::kChannelInfoUnreadable, "Read channel information fail !!",
                    "ERROR", MessageIcon::kError, 1, 1},
        FailureCase{"ChannelMapRecordFails", [](fake::Controller& d) { d.failingRecords = {4}; },
                    StartupResult::kChannelInfoUnreadable, "Read channel information fail !!",
                    "ERROR", MessageIcon::kError, 1, 1},
        FailureCase{"InfoBlockFails", [](fake::Controller& d) { d.infoBlockFails = true; },
                    StartupResult::kChannelInfoUnreadable, "Read channel information fail !!",
                    "ERROR", MessageIcon::kError, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, UnreadableChannelInformationReturnsTheControllerToNormalModeBeforeClosing) {
    device().failingRecords = {4};
    TunerState state;
    ASSERT_EQ(StartController(state), StartupResult::kChannelInfoUnreadable);

    const auto& calls = device().calls;
    const auto normal = std::find(calls.begin(), calls.end(), "devSwitchWorkMode 0x0000");
    const auto close = std::find(calls.begin(), calls.end(), "devClose");
    ASSERT_NE(normal, calls.end());
    EXPECT_LT(normal, close);
}

TEST_F(StartupTest, CapabilityAndRangeFailuresAreSilentAndKeepDefaults) {
    device().failingRecords = {0, 1};
    device().reportInfoFails = true;

    TunerState state;
    ASSERT_EQ(StartController(state), StartupResult::kReady);
    EXPECT_EQ(state.touchKeys.keys, 0);
    EXPECT_EQ(state.touchKeys.secondKeys, 0);
    EXPECT_EQ(state.coordinateMaxima, CoordinateMaxima{});
}

}  // namespace
}  // namespace tuner
