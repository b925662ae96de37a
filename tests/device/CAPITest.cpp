#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FakeController.h"
#include "ScratchFolder.h"
#include "SimulatedController.h"
#include "device/CAPI.h"
#include "device/CAPI_F412.h"
#include "device/CAPI_Null.h"
#include "params/CParam_HW.h"

namespace {

using CapiTest = FakeControllerTest;

const char* kCheckMessage = "Reg check Error: Write[0x00]=0x5A, Read[0x00]=0x5B";

TEST_F(CapiTest, WriteThatReadsBackIsVerifiedOnce) {
    CController& ctl = Build(94);
    const uint8_t data[] = {1, 2, 3, 4, 5};
    EXPECT_TRUE(ctl.Api().WriteRegisters(1, 0, 20, 5, data, true));
    EXPECT_EQ(CountCalls(device_, "writeRegisters"), 1);
    EXPECT_EQ(CountCalls(device_, "readRegisters chip=1 bank=0 first=20 count=5"), 1);
}

TEST_F(CapiTest, FailedWritesAreRetriedAndUnverifiedWritesReadNothing) {
    CController& ctl = Build(94);
    device_.writeFailuresLeft = 3;
    const uint8_t data[] = {7};
    EXPECT_TRUE(ctl.Api().WriteRegisters(0, 0, 1, 1, data, false));
    EXPECT_EQ(CountCalls(device_, "writeRegisters"), 4);
    EXPECT_EQ(CountCalls(device_, "readRegisters"), 0);

    device_.calls.clear();
    device_.writeFailuresLeft = 100;
    EXPECT_FALSE(ctl.Api().WriteRegisters(0, 0, 1, 1, data, false));
    EXPECT_EQ(CountCalls(device_, "writeRegisters"), 20);
}

TEST_F(CapiTest, T324RunsFromRegisterZeroLeaveOutTheReadOnlyRegisters) {
    CController& ctl = Build(176);
    const uint8_t data[] = {0xA0, 0xA1, 0xA2, 0xA3};
    EXPECT_TRUE(ctl.Api().WriteRegisters(0, 0, 0, 4, data, true));
    ASSERT_EQ(CountCalls(device_, "writeRegisters"), 1);
    EXPECT_EQ(CountCalls(device_, "writeRegisters chip=0 bank=0 first=3 count=1"), 1);
    EXPECT_EQ(device_.registers[0][3], 0xA3);
    EXPECT_EQ(device_.registers[0][0], 0);

    // Three registers from 0, or a run from another register, go out unchanged.
    device_.calls.clear();
    EXPECT_TRUE(ctl.Api().WriteRegisters(0, 0, 0, 3, data, false));
    EXPECT_EQ(CountCalls(device_, "writeRegisters chip=0 bank=0 first=0 count=3"), 1);
    device_.calls.clear();
    CController& t3300 = Build(94);
    EXPECT_TRUE(t3300.Api().WriteRegisters(0, 0, 0, 4, data, false));
    EXPECT_EQ(CountCalls(device_, "writeRegisters chip=0 bank=0 first=0 count=4"), 1);
}

TEST_F(CapiTest, AllChipsAreVerifiedUpToTheHardwareSetsChipCountWithinOneToFour) {
    struct Case {
        uint8_t storedCount;
        int chipsRead;
    };
    for (Case c : {Case{2, 2}, Case{0, 1}, Case{0xFF, 4}, Case{4, 4}}) {
        CController& ctl = Build(164);
        ctl.Hw().SetByte(44, c.storedCount);
        device_.calls.clear();
        const uint8_t data[] = {9};
        EXPECT_TRUE(ctl.Api().WriteRegisters(255, 0, 5, 1, data, true));
        EXPECT_EQ(CountCalls(device_, "readRegisters"), c.chipsRead) << int(c.storedCount);
        EXPECT_EQ(CountCalls(device_, "readRegisters chip=" + std::to_string(c.chipsRead - 1)), 1);
    }
}

TEST_F(CapiTest, TextQueries) {
    CController& ctl = Build(94);
    std::string text;
    EXPECT_TRUE(ctl.Api().GetModelName(text));
    EXPECT_EQ(text, "TP-GXXX");
    device_.failing.insert("getTypeName");
    EXPECT_FALSE(ctl.Api().GetTypeName(text));
    EXPECT_EQ(text, "N/A");
    // A library that fills the whole buffer gives a text of the buffer's length, no more.
    device_.fillWholeTextBuffer = true;
    EXPECT_TRUE(ctl.Api().GetVersion(text));
    EXPECT_EQ(text, std::string(kDevTextSize, 'A'));

    CController& deviceless = Build(94, false);
    CAPI_Null null(&deviceless);
    EXPECT_FALSE(null.GetModelName(text));
    EXPECT_EQ(text, "N/A");
    uint32_t flags = 7;
    EXPECT_FALSE(null.GetErrorCode(flags));
    EXPECT_EQ(flags, 0u);
    EXPECT_FALSE(null.SwitchWorkMode(0x8000));
}

TEST_F(CapiTest, WithoutADeviceNoLibraryCallIsMade) {
    CController& ctl = Build(94, false);
    CAPI& api = ctl.Api();
    uint8_t buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    // Deviceless conversions rely on these three answering yes.
    EXPECT_TRUE(api.SetTestMode(1, 2));
    EXPECT_TRUE(api.WriteRegisters(0, 0, 0, 4, buffer, true));
    EXPECT_TRUE(api.ReadRegisters(0, 0, 0, 8, buffer));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(buffer[i], 0) << "register " << i;
    EXPECT_EQ(buffer[8], 0xEE);
    int length = 64;
    EXPECT_FALSE(api.GetPcapInfo(buffer));
    EXPECT_FALSE(api.GetReportInfo(buffer, length));
    EXPECT_FALSE(api.RequestImage(4, 10));
    EXPECT_FALSE(api.SwitchWorkMode(0x8000));
    EXPECT_FALSE(api.ReadBlock(1, 0, 64, buffer));
    EXPECT_TRUE(api.Flush(0, 0));
    EXPECT_TRUE(device_.calls.empty());
}

TEST_F(CapiTest, QueriesDecodeTheirRecords) {
    CController& ctl = Build(94);
    device_.info0[4] = 0x02;
    device_.info3 = {};
    for (int i = 0; i < 5; ++i) device_.info3[5 + i] = static_cast<uint8_t>(200 + i);
    int flag = 0;
    EXPECT_TRUE(ctl.Api().GetInfoFlag(flag));
    EXPECT_EQ(flag, 1);
    int v[5] = {};
    EXPECT_TRUE(ctl.Api().GetChannelInfo(v[0], v[1], v[2], v[3], v[4]));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(v[i], 200 + i);
}

// The command interface over the simulated controller, with the fault its profile switches on.
class CapiSimTest : public testing::Test, protected SimulatedController {
  protected:
    void TearDown() override {
        Close();
        unsetenv("DEVLINK_SIM_TRACE");
    }
    // Opens a K7P100 with the profile's extra lines; the requests count from here.
    void Start(const std::string& faults) {
        const std::filesystem::path profile = setup_ / "controller.profile";
        std::ofstream(profile) << "model = K7P100\n" << faults;
        setenv("DEVLINK_SIM_TRACE", Trace().c_str(), 1);
        Open(profile.string(), 94);
        traceStart_ = std::filesystem::exists(Trace()) ? std::filesystem::file_size(Trace()) : 0;
    }
    std::filesystem::path Trace() const { return setup_ / "trace.txt"; }
    // The requests since Start, without their results.
    std::vector<std::string> Requests() const {
        std::ifstream in(Trace());
        in.seekg(static_cast<std::streamoff>(traceStart_));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(0, line.find(" ->")));
        return lines;
    }
    int RequestsNamed(const std::string& name) const {
        const std::vector<std::string> lines = Requests();
        return static_cast<int>(
            std::count_if(lines.begin(), lines.end(),
                          [&](const std::string& l) { return l.rfind(name + " ", 0) == 0; }));
    }

    testsupport::ScratchFolder setup_{"capi-sim"};
    std::uintmax_t traceStart_ = 0;  // the controller keeps its trace open: read on from here
};

TEST_F(CapiSimTest, ReadBackMismatchLogsEveryAttemptAndFails) {
    Start("register_flips_bit = 0:0:10:0\n");
    ASSERT_FALSE(HasFatalFailure());
    const uint8_t data[] = {0x5A, 0x01};
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Api().WriteRegisters(0, 0, 10, 2, data, true));
    const std::string out = testing::internal::GetCapturedStdout();
    int messages = 0;
    for (auto at = out.find(kCheckMessage); at != std::string::npos;
         at = out.find(kCheckMessage, at + 1))
        ++messages;
    EXPECT_EQ(messages, CAPI_F412::kWriteAttempts) << out;
    EXPECT_EQ(RequestsNamed("write_registers"), CAPI_F412::kWriteAttempts);
}

// A block read counts only when every byte came.
TEST_F(CapiSimTest, ABlockReadCountsOnlyWhole) {
    for (const auto& [fault, whole] :
         {std::pair{"", true}, std::pair{"short_read = table:15\n", false}}) {
        SCOPED_TRACE(fault);
        Start(fault);
        ASSERT_FALSE(HasFatalFailure());
        uint8_t block[16];
        EXPECT_EQ(Api().ReadBlock(2, 0, 16, block), whole);
        Close();
    }
}

// The index counts as set only when the controller reads it back.
TEST_F(CapiSimTest, SetFrequencyTrustsOnlyTheIndexReadBack) {
    const struct {
        const char* fault;
        uint8_t index;
        bool set;
    } cases[] = {
        {"", 2, true},
        {"frequency_does_not_stick = 1\n", 2, false},  // answers yes but keeps its index
        {"fail = get_frequency\n", 0, false},  // nothing read back: the 0xFF preset never matches
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Start(c.fault);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(Api().SetFrequency(c.index), c.set);
        const std::vector<std::string> requests = Requests();
        ASSERT_GE(requests.size(), 3u);
        EXPECT_EQ(requests[0], "set_freq_option option=0");
        EXPECT_EQ(requests[1], "set_frequency index=" + std::to_string(c.index));
        EXPECT_EQ(requests[2].rfind("get_frequency", 0), 0u) << requests[2];
        Close();
    }
}

}  // namespace
