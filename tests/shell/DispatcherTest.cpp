#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "FakeSession.h"
#include "LogTestSupport.h"
#include "PipeInput.h"
#include "core/BuilderLog.h"
#include "core/ResultCodes.h"
#include "shell/Dispatcher.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// The main log writes a plain file in the test's folder, so that messages can be read back.
class Dispatch : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        Options().fixed.fixedName = true;
        MainLog().UseOptions(&Options());
        ASSERT_TRUE(MainLog().Open(1, "TovrexBuilder4"));
    }
    std::string MainLogText() { return ReadFile(MainLog().Path()); }
    static int Bells(const std::string& console) {
        return static_cast<int>(std::count(console.begin(), console.end(), '\a'));
    }
    FakeSession session_;
};

TEST_F(Dispatch, VersionCheckRefusesTheFirstRequiredSetThatIsNewerOnTheController) {
    const SetVersions ok{3, 2, 3};
    const SetVersions newer{3, 1, 4};
    const struct {
        uint32_t needs;
        SetVersions hw, sw, pen;
        uint32_t result;
        std::string message;
    } cases[] = {
        {kRequireHwSet, newer, ok, ok, kResultHwIncompatible,
         "Builder HW version(3) is incompatible with Controller(Flash 1, Kernel 4)!\n"},
        {kRequireHwSet | kRequireSwSet, newer, newer, ok, kResultHwIncompatible, "Builder HW"},
        {kRequireSwSet | kRequirePenSet, ok, ok, newer, kResultPenIncompatible,
         "Builder PW version(3) is incompatible with Controller(Flash 1, Kernel 4)!\n"},
        {kRequireSwSet, newer, SetVersions{5, 5, 6}, ok, kResultSwIncompatible,
         "Builder SW version(5) is incompatible with Controller(Flash 5, Kernel 6)!\n"},
        {kRequireSwSet, newer, ok, newer, kResultSuccess, ""},  // sets it does not need
        {0, newer, newer, newer, kResultSuccess, ""},
        {kRequireHwSet | kRequireSwSet | kRequirePenSet, ok, ok, ok, kResultSuccess, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.needs);
        FakeSession s;
        s.commands["dump_all"] = {c.needs, 0, nullptr};
        s.versions = {
            {ParamSet::kHardware, c.hw}, {ParamSet::kSoftware, c.sw}, {ParamSet::kStylus, c.pen}};
        CaptureStdout();
        EXPECT_EQ(RunCommand(s, "dump_all"), c.result);
        const std::string console = GetCapturedStdout();
        const bool ran = std::find(s.trace.begin(), s.trace.end(), "run dump_all") != s.trace.end();
        EXPECT_EQ(ran, c.result == kResultSuccess);
        if (!c.message.empty()) {
            EXPECT_NE(console.find(c.message), std::string::npos) << console;
            EXPECT_NE(MainLogText().find(c.message.substr(0, 10)), std::string::npos);
        }
    }
}

TEST_F(Dispatch, ResultsMessagesBellsAndTheWorkingModeAroundTheCommand) {
    const struct {
        std::string name;
        uint32_t handlerCode;
        std::set<uint16_t> failingModes;
        uint32_t result;
        std::string message;
        int bells;
        std::vector<std::string> trace;
    } cases[] = {
        {"struct_info",
         0,
         {},
         0,
         "Command Execution Success!\n",
         1,
         {"mode 32768", "run struct_info", "mode 0"}},
        {"download_pwt",
         0x01000000,
         {},
         0x81000000,
         "Command Execution Failed! Errorcode(0x81000000).\n",
         3,
         {"mode 32768", "run download_pwt", "mode 0"}},
        {"download_hw",
         1,
         {},
         0x80000001,
         "Command Execution Failed! Errorcode(0x80000001).\n",
         3,
         {"mode 32768", "run download_hw", "mode 0"}},
        {"decode_log",
         0,
         {},
         kResultUnknownCommand,
         "Unknown Command.\n",
         3,
         {"mode 32768", "mode 0"}},
        // Command mode refused: nothing else happens.
        {"struct_info", 0, {0x8000}, kResultModeSwitchFailed, "", 0, {"mode 32768"}},
        // Normal mode refused afterwards: its code replaces the command's.
        {"download_hw",
         5,
         {0},
         kResultModeSwitchFailed,
         "Command Execution Failed! Errorcode(0x80000005).\n",
         3,
         {"mode 32768", "run download_hw", "mode 0"}},
        {"", 0, {}, 0, "\nInvalid Command!\n", 3, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + " " + std::to_string(c.handlerCode));
        FakeSession s;
        s.commands["struct_info"] = {0, c.handlerCode, nullptr};
        s.commands["download_pwt"] = {0, c.handlerCode, nullptr};
        s.commands["download_hw"] = {0, c.handlerCode, nullptr};
        s.failingModes = c.failingModes;
        CaptureStdout();
        EXPECT_EQ(DispatchCommand(s, c.name), c.result);
        const std::string console = GetCapturedStdout();
        EXPECT_EQ(s.trace, c.trace);
        EXPECT_EQ(Bells(console), c.bells);
        if (!c.message.empty()) {
            EXPECT_NE(console.find(c.message), std::string::npos) << console;
            // The file holds the line without its surrounding line ends.
            const std::size_t first = c.message.find_first_not_of('\n');
            const std::string line =
                c.message.substr(first, c.message.find_last_not_of('\n') + 1 - first);
            EXPECT_NE(MainLogText().find("] " + line + "\r\n"), std::string::npos) << line;
        }
        const bool dispatched =
            console.find("Dispatch Command: " + c.name + ".\n") != std::string::npos;
        EXPECT_EQ(dispatched, c.trace.size() > 1);
    }
}

TEST_F(Dispatch, CommandNameIsLoggedAsTextNotAsFormat) {
    CaptureStdout();
    DispatchCommand(session_, "%s%n%x");
    EXPECT_NE(GetCapturedStdout().find("Dispatch Command: %s%n%x.\n"), std::string::npos);
}

class Menu : public Dispatch {
  protected:
    void SetUp() override {
        Dispatch::SetUp();
        session_.commands["struct_info"] = {0, 0, nullptr};
        session_.commands["autotune"] = {kRequireHwSet, 2, nullptr};
        session_.keys = {{'x', "struct_info"}, {'a', "autotune"}, {'z', "decode_log"}};
    }
    static int Prompts(const std::string& console) {
        int n = 0;
        const std::string prompt = "\nTovrexBuilder4 command (?: List Cmd, Q: Quit): ";
        for (std::size_t at = 0; (at = console.find(prompt, at)) != std::string::npos; ++at) ++n;
        return n;
    }
};

TEST_F(Menu, HelpAndCommandsRepeatUntilQ) {
    PipeInput in("?\n  x\nQ\n");
    CaptureStdout();
    EXPECT_EQ(RunMenu(session_, in.Input()), kResultMenuQuit);
    const std::string console = GetCapturedStdout();
    EXPECT_EQ(Prompts(console), 3);
    EXPECT_NE(console.find("Command List:\n"), std::string::npos);
    EXPECT_EQ(session_.trace,
              (std::vector<std::string>{"mode 32768", "run struct_info", "mode 0"}));
    // The prompt is console only.
    EXPECT_EQ(MainLogText().find("TovrexBuilder4 command"), std::string::npos);
}

TEST_F(Menu, KeyWithoutCommandIsInvalidAndTheMenuGoesOn_UnknownCommandEndsIt) {
    PipeInput in("k\nz\nx\n");
    CaptureStdout();
    EXPECT_EQ(RunMenu(session_, in.Input()), kResultUnknownCommand);
    const std::string console = GetCapturedStdout();
    EXPECT_NE(console.find("Invalid Command!"), std::string::npos);
    EXPECT_NE(console.find("Unknown Command.\n"), std::string::npos);
    EXPECT_EQ(std::count(session_.trace.begin(), session_.trace.end(), "run struct_info"), 0);
}

TEST_F(Menu, FailingCommandEndsTheMenuWithItsCode) {
    PipeInput in("a\nx\n");
    CaptureStdout();
    EXPECT_EQ(RunMenu(session_, in.Input()), 0x80000002u);
    GetCapturedStdout();
}

TEST_F(Menu, EndOfInputEndsTheMenuAsQ) {
    PipeInput in("x\n");
    CaptureStdout();
    EXPECT_EQ(RunMenu(session_, in.Input()), kResultMenuQuit);
    EXPECT_EQ(Prompts(GetCapturedStdout()), 2);
}

TEST_F(Menu, DisconnectEndsTheMenuBeforeTheNextCommand) {
    session_.commands["struct_info"].effect = [this] { session_.disconnected = true; };
    PipeInput in("x\nx\nx\n");
    CaptureStdout();
    EXPECT_EQ(RunMenu(session_, in.Input()), kResultMenuDisconnected);
    GetCapturedStdout();
    EXPECT_EQ(std::count(session_.trace.begin(), session_.trace.end(), "run struct_info"), 1);
}

TEST_F(Menu, LeavingDiscardsTheRestOfTheLine) {
    PipeInput in("Q and more\nnext");
    CaptureStdout();
    EXPECT_EQ(RunMenu(session_, in.Input()), kResultMenuQuit);
    GetCapturedStdout();
    EXPECT_EQ(in.Rest(), "next");
}

}  // namespace
