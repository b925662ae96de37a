#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "FakeSession.h"
#include "LogTestSupport.h"
#include "PipeInput.h"
#include "core/ResultCodes.h"
#include "platform/SingleInstance.h"
#include "shell/Startup.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// Start-up in process: the test's folder plays the program's folder and the runtime folder.
class Startup : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        program_ = folder_ / "program";
        std::filesystem::create_directory(program_);
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        oldRuntime_ = old ? old : "";
        hadRuntime_ = old != nullptr;
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        session_.commands["struct_info"] = {0, 0, nullptr};
        session_.commands["autotune"] = {kRequireHwSet, 2, nullptr};
        session_.keys = {{'x', "struct_info"}};
    }
    void TearDown() override {
        if (hadRuntime_) {
            setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        TempFolderTest::TearDown();
    }
    uint32_t Run(std::vector<std::string> args, PipeInput& in) {
        args.insert(args.begin(), "TovrexBuilder4");
        CaptureStdout();
        const uint32_t result = RunBuilder({args, session_, in.Input(), program_});
        console_ = GetCapturedStdout();
        return result;
    }
    bool Printed(const std::string& text) const { return console_.find(text) != std::string::npos; }
    // Text of the one log file of a BuilderLog folder (either form).
    static std::string LogText(const std::filesystem::path& folder) {
        std::string text;
        for (const auto& entry : std::filesystem::directory_iterator(folder / "BuilderLog")) {
            const std::string file = ReadFile(entry.path());
            if (entry.path().extension() == ".log") {
                text += file;
            } else {
                for (const auto& r : DecodeRecords(file)) text += r.text;
            }
        }
        return text;
    }

    FakeSession session_;
    std::filesystem::path program_;
    std::string console_;
    std::string oldRuntime_;
    bool hadRuntime_ = false;
};

TEST_F(Startup, CommandRunsBetweenDiscoveryAndCloseInTheProgramFolder) {
    PipeInput in("");
    EXPECT_EQ(Run({"-cstruct_info"}, in), kResultSuccess);
    EXPECT_EQ(session_.trace, (std::vector<std::string>{"discover", "mode 32768", "run struct_info",
                                                        "mode 0", "close"}));
    EXPECT_EQ(std::filesystem::current_path(), program_);
    EXPECT_TRUE(Printed("Command Execution Success!\n"));
    EXPECT_TRUE(Printed("\nTovrexBuilder4 Exit.\n"));
    const std::string log = LogText(program_);  // scrambled: normal mode
    EXPECT_NE(log.find("Dispatch Command: struct_info."), std::string::npos);
    EXPECT_NE(log.find("TovrexBuilder4 Exit."), std::string::npos);
}

TEST_F(Startup, NoOptionRunsNothingButStillFindsAndClosesTheController) {
    PipeInput in("");
    EXPECT_EQ(Run({"x.hwt"}, in), kResultNoOption);
    EXPECT_EQ(session_.trace, (std::vector<std::string>{"discover", "close"}));
    EXPECT_EQ(Options().files.hwTextPath, "x.hwt");
    PipeInput none("");
    EXPECT_EQ(Run({}, none), kResultNoOption);
}

TEST_F(Startup, FailedDiscoveryReportsWaitsForOneCharacterAndEndsWithOne) {
    session_.discovers = false;
    PipeInput in("ab");
    EXPECT_EQ(Run({"-cstruct_info"}, in), kResultStartFailed);
    EXPECT_EQ(session_.trace, (std::vector<std::string>{"discover"}));
    EXPECT_TRUE(Printed("Device Initialization Failed!\n"));
    EXPECT_FALSE(Printed("TovrexBuilder4 Exit."));
    EXPECT_EQ(in.Rest(), "b");
}

TEST_F(Startup, ExitPauseFollowsTheLastOfDashJAndDashC) {
    PipeInput pauses("12");
    EXPECT_EQ(Run({"-cstruct_info", "-j"}, pauses), kResultSuccess);
    EXPECT_EQ(pauses.Rest(), "2");
    PipeInput noPause("12");
    EXPECT_EQ(Run({"-j", "-cstruct_info"}, noPause), kResultSuccess);
    EXPECT_EQ(noPause.Rest(), "12");
}

TEST_F(Startup, OptionsWithoutCommandShowTheHelpAndTheMenu) {
    PipeInput in("x\nQ\n");
    EXPECT_EQ(Run({"-e70"}, in), kResultMenuQuit);
    EXPECT_TRUE(Printed("Command List:\n"));
    EXPECT_EQ(session_.trace, (std::vector<std::string>{"discover", "mode 32768", "run struct_info",
                                                        "mode 0", "close"}));
}

TEST_F(Startup, HandlerFailureStillClosesAndLogsTheExit) {
    PipeInput in("");
    EXPECT_EQ(Run({"-cautotune"}, in), 0x80000002u);
    EXPECT_EQ(session_.trace.back(), "close");
    EXPECT_TRUE(Printed("Command Execution Failed! Errorcode(0x80000002).\n"));
    EXPECT_TRUE(Printed("\nTovrexBuilder4 Exit.\n"));
}

TEST_F(Startup, WorkFolderOfFixedNameModeIsCreatedAndHoldsPlainLogs) {
    PipeInput in("");
    EXPECT_EQ(Run({"-Jeout/work", "-cstruct_info"}, in), kResultSuccess);
    const std::filesystem::path work = folder_ / "out" / "work";
    EXPECT_EQ(std::filesystem::current_path(), work);
    const std::string log = LogText(work);
    EXPECT_NE(log.find("] Dispatch Command: struct_info.\r\n"), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists(program_ / "BuilderLog"));
}

TEST_F(Startup, SecondInstanceIsRefusedWithoutTouchingTheController) {
    const platform::CSingleInstanceLock first(kBuilderInstanceName);
    ASSERT_TRUE(first.Acquired());

    PipeInput waits("xy");
    EXPECT_EQ(Run({"-cstruct_info"}, waits), kResultStartFailed);
    EXPECT_EQ(console_, "TovrexBuilder4 already running!\n");
    EXPECT_TRUE(session_.trace.empty());
    EXPECT_EQ(waits.Rest(), "y");  // the pause took one character
    EXPECT_FALSE(std::filesystem::exists(program_ / "BuilderLog"));

    PipeInput fixedName("xy");
    EXPECT_EQ(Run({"-Jd", "-cstruct_info"}, fixedName), kResultStartFailed);
    EXPECT_EQ(fixedName.Rest(), "xy");  // no pause in fixed-name mode
}

}  // namespace
