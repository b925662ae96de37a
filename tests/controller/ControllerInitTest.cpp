// Discovery, assembly and initialisation of the controller model: over the scripted device, and
// over the simulated one where its fault switches give the failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FakeController.h"
#include "ScratchFolder.h"
#include "controller/Controller.h"
#include "core/ControllerExceptions.h"
#include "params/CParam_HW.h"
#include "shell/Discovery.h"

namespace {

class DiscoveryTest : public FakeControllerTest {
  protected:
    void TearDown() override {
        CloseController();
        FakeControllerTest::TearDown();
    }

    // Runs discovery and returns what it printed.
    std::string Discover(bool expectSuccess) {
        testing::internal::CaptureStdout();
        const bool ok = DiscoverController(options_, FakeDevLink());
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(ok, expectSuccess) << out;
        EXPECT_EQ(TheController() != nullptr, expectSuccess);
        return out;
    }

    bool NothingWritten() const {
        return CountCalls(device_, "writeBlock") == 0 && CountCalls(device_, "writeRegisters") == 0;
    }
};

TEST_F(DiscoveryTest, FindsAssemblesAndClosesTheController) {
    device_.structVersion = {5, 13, 26, 14, 0, 0, 0};
    device_.kernelMinor = 40;
    const std::string out = Discover(true);
    EXPECT_NE(out.find("Find controller: T3300 (TP-GXXX, V1.02), Kernel: 05_40."),
              std::string::npos);
    EXPECT_NE(out.find("Dev parameter version: HW=13, SW=26"), std::string::npos);
    EXPECT_EQ(CountCalls(device_, "addReportHandler kind=3B sub=FF"), 1);
    EXPECT_EQ(TheController()->ModelName(), "K7P100");
    EXPECT_TRUE(NothingWritten());

    options_.fixed.resumeMode = 0x8000;  // the controller reads the record it was given
    CloseController();
    EXPECT_EQ(TheController(), nullptr);
    EXPECT_EQ(device_.restartMode, 0x8000);
    EXPECT_EQ(device_.removedSubscriptions, 1);
    EXPECT_EQ(device_.closeCount, 1);
    // The subscription goes before the handle.
    const auto& calls = device_.calls;
    EXPECT_EQ(calls[calls.size() - 2], "removeReportHandler");
    EXPECT_EQ(calls.back(), "close");
    CloseController();  // nothing left: no second restart or close
    EXPECT_EQ(device_.closeCount, 1);
}

TEST_F(DiscoveryTest, TwoControllersAreRefusedWithoutOpeningEither) {
    device_.enumeratedPaths = {"sim:a", "sim:b"};
    const std::string out = Discover(false);
    EXPECT_NE(out.find("\nCannot support multiplr controllers!\n"), std::string::npos);
    EXPECT_EQ(CountCalls(device_, "open"), 0);
}

TEST_F(DiscoveryTest, NoControllerOpensTheEmptyRecordAndIsNotSupported) {
    device_.enumeratedPaths = {};
    const std::string out = Discover(false);
    EXPECT_NE(out.find("Not support this device!\n"), std::string::npos);
    EXPECT_EQ(CountCalls(device_, "getSolutionCode"), 0);
    EXPECT_EQ(device_.closeCount, 0);
}

TEST_F(DiscoveryTest, AnUnsupportedModelIsClosedAgain) {
    device_.typeCode = 95;
    const std::string out = Discover(false);
    EXPECT_NE(out.find("Not support this device!\n"), std::string::npos);
    EXPECT_EQ(device_.closeCount, 1);
    EXPECT_EQ(CountCalls(device_, "restart"), 0);
}

TEST_F(DiscoveryTest, AGivenDevicePathIsUsedInsteadOfEnumerationAndKeptWithinTheRecord) {
    options_.device.devicePath = std::string(600, 'p');
    options_.device.inputReportLength = 32;
    Discover(true);
    EXPECT_EQ(CountCalls(device_, "enumerate"), 0);
    EXPECT_EQ(CountCalls(device_, "open " + std::string(511, 'p')), 1);
    EXPECT_EQ(TheController()->Identity().devicePath.size(), 511u);
}

TEST_F(DiscoveryTest, TheDisconnectNoticeMarksTheControllerAndLowersTheCount) {
    Discover(true);
    ASSERT_NE(device_.disconnectHandler, nullptr);
    EXPECT_EQ(ControllerCount(), 1);
    DevReport report{};
    report.bytes[2] = 0x3B;
    testing::internal::CaptureStdout();
    device_.disconnectHandler(device_.disconnectContext, 0, &report);
    device_.disconnectHandler(device_.disconnectContext, 0, &report);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(TheController()->Disconnected());
    EXPECT_EQ(ControllerCount(), 0);  // never below zero
    EXPECT_NE(out.find("\nDevice disconnected.\n"), std::string::npos);
    EXPECT_NE(out.find("\a\a\a"), std::string::npos);
}

// Discovery of the simulated controller with one of its fault switches on, seen in its trace.
class SimDiscoveryTest : public testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(scratch_.Path());
        setenv("DEVLINK_SIM_TRACE", (scratch_ / "trace.txt").c_str(), 1);
    }
    void TearDown() override {
        CloseController();
        unsetenv("DEVLINK");
        unsetenv("DEVLINK_SIM_TRACE");
        std::filesystem::current_path(previous_);
    }

    // Runs discovery of the controller the profile describes and returns what it printed.
    std::string Discover(const std::string& profile, bool expectSuccess) {
        const std::filesystem::path path = scratch_ / "controller.profile";
        std::ofstream(path) << profile;
        setenv("DEVLINK", ("sim:" + path.string()).c_str(), 1);
        testing::internal::CaptureStdout();
        const bool ok = DiscoverController(options_);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(ok, expectSuccess) << out;
        EXPECT_EQ(TheController() != nullptr, expectSuccess);
        return out;
    }

    // The trace lines that start with `prefix`.
    int TraceLines(const std::string& prefix) const {
        std::ifstream in(scratch_ / "trace.txt");
        int n = 0;
        for (std::string line; std::getline(in, line);) n += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }

    BuilderOptions options_;
    testsupport::ScratchFolder scratch_{"discovery-test"};
    std::filesystem::path previous_;
};

struct InitFailure {
    const char* fault;  // the profile line that makes one step of initialisation fail
    const char* message;
};

class InitFailureTest : public SimDiscoveryTest, public testing::WithParamInterface<InitFailure> {};

// Every step of initialisation that fails stops it with its own message; the controller is then
// restarted and closed, and nothing is written to it. (The simulated kernel, 5.120, asks for the
// report information.)
TEST_P(InitFailureTest, StopsWithItsMessageAndRestartsTheController) {
    const std::string out = Discover(std::string("model = K7P100\n") + GetParam().fault, false);
    EXPECT_NE(out.find(GetParam().message), std::string::npos) << out;
    EXPECT_EQ(out.find("Find controller"), std::string::npos);
    EXPECT_EQ(TraceLines("restart "), 1);
    EXPECT_EQ(TraceLines("close "), 1);
    EXPECT_EQ(TraceLines("write_block"), 0);
    EXPECT_EQ(TraceLines("write_registers"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, InitFailureTest,
    testing::Values(InitFailure{"refuse_mode = 0x8000", "Switch Work Mode Failed!\n"},
                    InitFailure{"fail = model_name", "Get Model Name Failed!\n"},
                    InitFailure{"fail = type_name", "Get Type Name Failed!\n"},
                    InitFailure{"fail = version_text", "Get Version Failed!\n"},
                    InitFailure{"fail = error_code", "Get ErrorCode Failed!\n"},
                    InitFailure{"fail = info3", "Query Channel Information Failed!\n"},
                    InitFailure{"fail = pcap_info", "Query PCAP Information Failed!\n"},
                    InitFailure{"fail = struct_version", "Query Structure Version Failed!\n"},
                    InitFailure{"fail = kernel_number", "Query Kernel Number Failed!\n"},
                    InitFailure{"refuse_mode = 0", "Switch Work Mode Failed!\n"},
                    InitFailure{"fail = ic_info", "Query IC Information Failed!\n"},
                    InitFailure{"fail = report_info", "Query HID Report Information Failed!\n"}));

TEST_F(DiscoveryTest, AModelNameWithoutAProjectNameFailsTheFileNames) {
    for (const char* name : {"N/A", "ABC"}) {
        device_.texts["model"] = name;
        const std::string out = Discover(false);
        EXPECT_NE(out.find("Init HW Setting File Name Fail!\n"), std::string::npos) << name;
    }
}

using ControllerInitTest = FakeControllerTest;

TEST_F(ControllerInitTest, WithoutAHandleNothingIsAsked) {
    CController& c = Build(94, false);
    try {
        c.Initialise();
        FAIL() << "no exception";
    } catch (const CInitDevException& e) {
        EXPECT_EQ(e.GetMessage(), "Device Handle Invalid!\n");
    }
    EXPECT_TRUE(device_.calls.empty());
}

struct ClockCase {
    int typeCode;
    uint8_t major, minor, infoByte49;
    int expected;
};

class ClockTypeTest : public FakeControllerTest, public testing::WithParamInterface<ClockCase> {};

TEST_P(ClockTypeTest, FollowsTheKernelVersionFieldsSeparately) {
    const ClockCase c = GetParam();
    device_.typeCode = c.typeCode;
    device_.structVersion[0] = c.major;
    device_.kernelMinor = c.minor;
    device_.pcap[49] = c.infoByte49;
    CController& ctl = Build(c.typeCode);
    ctl.Initialise();
    EXPECT_EQ(ctl.ClockType(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Kernels, ClockTypeTest,
                         testing::Values(ClockCase{166, 2, 95, 0, 1}, ClockCase{166, 2, 96, 1, 0},
                                         ClockCase{166, 3, 19, 1, 1}, ClockCase{166, 3, 19, 0, 0},
                                         ClockCase{164, 4, 5, 1, 0}, ClockCase{172, 1, 99, 1, 0},
                                         ClockCase{94, 2, 95, 1, 0}, ClockCase{176, 3, 19, 1, 0}));

TEST_F(ControllerInitTest, RangeClassesAreAskedFromKernel538On) {
    device_.structVersion[0] = 5;
    device_.kernelMinor = 37;
    CController& old = Build(94);
    old.Initialise();
    EXPECT_EQ(CountCalls(device_, "getReportInfo"), 0);
    EXPECT_EQ(old.Geometry().rangeClassX, 0);

    device_.kernelMinor = 38;
    device_.reportInfo[1] = 0x00;  // x maximum 0x2000
    device_.reportInfo[2] = 0x20;
    device_.reportInfo[3] = 0x00;  // y maximum 0x1000
    device_.reportInfo[4] = 0x10;
    CController& recent = Build(94);
    recent.Initialise();
    EXPECT_EQ(CountCalls(device_, "getReportInfo"), 1);
    EXPECT_EQ(recent.Geometry().rangeClassX, 2);
    EXPECT_EQ(recent.Geometry().rangeClassY, 1);
}

TEST_F(ControllerInitTest, IcInformationRecordsAreReadWithinTheReply) {
    // Five one-byte values per chip; a fifth record is ignored.
    device_.icReply = {};
    device_.icReply[1] = 62;
    device_.icReply[4] = 5;
    for (int i = 0; i < 25; ++i) device_.icReply[5 + i] = static_cast<uint8_t>(i + 1);
    CController& c = Build(94);
    c.Initialise();
    EXPECT_EQ(CountCalls(device_, "request 03 02 3F 7D kind=3F sub=7D ms=1000"), 1);
    EXPECT_EQ(c.Geometry().icInfo[0][0], 1);
    EXPECT_EQ(c.Geometry().icInfo[3][4], 20);

    // Five big-endian 16-bit values per chip on the T324 controller.
    device_.typeCode = 176;
    device_.icReply = {};
    device_.icReply[1] = 62;
    device_.icReply[4] = 1;
    device_.icReply[5] = 0x12;
    device_.icReply[6] = 0x34;
    device_.icReply[13] = 0xAB;
    device_.icReply[14] = 0xCD;
    CController& t324 = Build(176);
    t324.Initialise();
    EXPECT_EQ(t324.Geometry().icInfo[0][0], 0x1234);
    EXPECT_EQ(t324.Geometry().icInfo[0][4], 0xABCD);
    EXPECT_EQ(t324.Geometry().icInfo[1][0], 0);

    // A reply that claims more records than it holds: what did not come stays zero.
    device_.typeCode = 94;
    device_.icReply = {};
    device_.icReply[1] = 10;  // bytes 2..11 are the reply
    device_.icReply[4] = 4;
    for (int i = 5; i < 64; ++i) device_.icReply[i] = 0x77;
    CController& shortReply = Build(94);
    shortReply.Initialise();
    EXPECT_EQ(shortReply.Geometry().icInfo[0][4], 0x77);
    EXPECT_EQ(shortReply.Geometry().icInfo[1][0], 0);
}

TEST_F(ControllerInitTest, GeometryComesFromTheChannelRecordTheChipAndTheInformationBlock) {
    device_.typeCode = 158;
    device_.info3 = {};
    device_.info3[5] = 0;
    device_.info3[6] = 1;
    device_.info3[7] = 1;
    device_.info3[8] = 42;
    device_.info3[9] = 72;
    device_.pcap[21] = 100;
    device_.pcap[22] = 101;
    device_.pcap[47] = 102;
    device_.pcap[48] = 103;
    std::vector<uint8_t> hw(4096, 0);
    hw[0] = 0x16;  // used length 3350
    hw[1] = 0x0D;
    hw[44] = 2;
    hw[45] = 1;
    uint16_t sum = 0x55;
    for (int i = 0; i < 3350 / 2; ++i) sum = uint16_t(sum + (hw[4 + 2 * i] | hw[5 + 2 * i] << 8));
    hw[2] = sum & 0xFF;
    hw[3] = sum >> 8;
    device_.blocks[1] = hw;
    CController& c = Build(158);
    c.Initialise();
    EXPECT_EQ(c.Geometry().txCount, 42);
    EXPECT_EQ(c.Geometry().rxCount, 72);
    EXPECT_EQ(c.Geometry().rowOffset1 + c.Geometry().rowOffset2, 2);
    EXPECT_EQ(c.Geometry().maxTx, 128);
    EXPECT_EQ(c.Geometry().maxRx, 200);
    EXPECT_EQ(c.Geometry().numRxChips, 2);
    EXPECT_EQ(c.Geometry().numTxChips, 1);
    EXPECT_EQ(c.Geometry().firstChipTxOffset[0], 5);
    EXPECT_EQ(c.Geometry().firstChipRxOffset[1], 0);
    EXPECT_EQ(c.Geometry().calValue[3], 103);
    EXPECT_EQ(c.Geometry().rowsPerFrame, 0);
    EXPECT_TRUE(c.Hw().IsDumped());
    EXPECT_TRUE(c.Hw().HasFirstRead());
    EXPECT_EQ(c.Hw().FirstRead()[44], 2);
}

}  // namespace
