#include "platform/Process.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace {

using Outcome = platform::ProgramResult::Outcome;

TEST(Process, ExitStatusAndArgumentsArriveUnchanged) {
    // The argument with blanks and quotes must reach the program as one token.
    const auto r = platform::RunProgram(
        "/bin/sh", {"-c", "[ \"$1\" = 'a \"b\" c' ] && exit 253 || exit 1", "sh", "a \"b\" c"});
    EXPECT_EQ(r.outcome, Outcome::kExited);
    EXPECT_EQ(r.exitStatus, 253);
}

TEST(Process, MissingProgramIsNotStarted) {
    const auto r = platform::RunProgram("./no-such-program-here", {});
    EXPECT_EQ(r.outcome, Outcome::kNotStarted);
    EXPECT_FALSE(r.error.empty());
}

TEST(Process, ProgramEndedBySignalIsReported) {
    const auto r = platform::RunProgram("/bin/sh", {"-c", "kill -9 $$"});
    EXPECT_EQ(r.outcome, Outcome::kKilled);
    EXPECT_EQ(r.signal, SIGKILL);
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
    const std::filesystem::path folder = platform::ProgramFolder();
    ASSERT_TRUE(folder.is_absolute());
    EXPECT_TRUE(std::filesystem::exists(folder / "platform_tests"));
}

}  // namespace
