// The real program as a calling program sees it: copied into a fresh folder (it works in its own
// folder), run with its own runtime folder, standard input and result file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "RunProgram.h"
#include "ScratchFolder.h"
#include "platform/SingleInstance.h"

namespace {

using ProcessRun = testsupport::ProgramRun;

class BuilderProcess : public testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("TOVREX_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "TOVREX_BIN_DIR is not set";
        std::filesystem::create_directory(folder_ / "app");
        std::filesystem::create_directory(folder_ / "runtime");
        std::filesystem::create_directory(folder_ / "caller");
        program_ = folder_ / "app" / "TovrexBuilder4";
        std::filesystem::copy_file(std::filesystem::path(bin) / "TovrexBuilder4", program_);
    }

    // Runs the copy from the "caller" folder with the given standard input text; no controller
    // is selected.
    ProcessRun Run(const std::vector<std::string>& args, const std::string& input = "") {
        testsupport::ProgramRequest request;
        request.program = program_;
        request.args = args;
        request.input = input;
        request.setEnv = {"XDG_RUNTIME_DIR=" + (folder_ / "runtime").string(),
                          "TOVREX_RESULT_FILE=" + ResultPath().string()};
        request.dropEnv = {"XDG_RUNTIME_DIR=", "TOVREX_RESULT_FILE=", "DEVLINK"};
        request.scratch = folder_;
        request.workingFolder = folder_ / "caller";
        return testsupport::RunProgram(request);
    }

    std::filesystem::path ResultPath() const { return folder_ / "result"; }
    std::filesystem::path LockPath() const { return folder_ / "runtime"; }

    testsupport::ScratchFolder scratch_{"builder-process"};
    const std::filesystem::path folder_ = scratch_.Path();
    std::filesystem::path program_;
};

TEST_F(BuilderProcess, StartUpFailureExitsWithOneAndWritesTheResultFile) {
    // No controller is selected, so discovery fails whatever the command.
    const ProcessRun run = Run({"-cstruct_info"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Device Initialization Failed!\n"), std::string::npos) << run.out;
    EXPECT_EQ(ReadFile(ResultPath()), "0x00000001\n");

    // The log is in the program's folder, scrambled, and holds the message.
    const std::filesystem::path logs = folder_ / "app" / "BuilderLog";
    ASSERT_TRUE(std::filesystem::is_directory(logs));
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(logs)) {
        EXPECT_EQ(entry.path().extension(), ".en");
        for (const auto& r : DecodeRecords(ReadFile(entry.path()))) text += r.text;
    }
    EXPECT_NE(text.find("Device Initialization Failed!"), std::string::npos);
}

TEST_F(BuilderProcess, SecondInstanceIsRefused) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", LockPath().c_str(), 1);
    const platform::CSingleInstanceLock first("TOVREXBUILDER4");
    if (old) {
        setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
    ASSERT_TRUE(first.Acquired());

    const ProcessRun run = Run({"-cstruct_info"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "TovrexBuilder4 already running!\n");
    EXPECT_EQ(ReadFile(ResultPath()), "0x00000001\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "app" / "BuilderLog"));
}

TEST_F(BuilderProcess, UnknownArgumentDoesNotStopTheParse) {
    // -Je after the unknown letter still takes effect: the logs go to that folder, in plain form.
    const std::filesystem::path work = folder_ / "work";
    const ProcessRun run = Run({"-x", "-Je" + work.string(), "-cstruct_info"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Unknown Argument.\n"), std::string::npos) << run.out;
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(work / "BuilderLog")) {
        EXPECT_EQ(entry.path().extension(), ".log");
        text += ReadFile(entry.path());
    }
    EXPECT_NE(text.find("] Device Initialization Failed!\r\n"), std::string::npos) << text;
}

}  // namespace
