// The Windows seams, run under Windows or Wine: the named mutex, starting a program and reading
// its whole exit code, the program folder, and colours that stay off when output is no console.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <stdlib.h>
#include <windows.h>

// The system header names its own console call WriteConsole by a macro; the seam's function of
// that name is meant here.
#undef WriteConsole

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Console.h"
#include "platform/ConsoleInput.h"
#include "platform/LocalTime.h"
#include "platform/Process.h"
#include "platform/ProgramFolder.h"
#include "platform/SingleInstance.h"
#include "platform/WindowNotice.h"

namespace {

namespace fs = std::filesystem;

// A name no other test run uses, so that parallel runs do not meet in one mutex.
std::string UniqueName(const char* what) {
    return std::string("TovrexSeamTest-") + what + "-" + std::to_string(GetCurrentProcessId());
}

TEST(NamedMutex, ASecondInstanceIsRefusedUntilTheFirstHasGone) {
    const std::string name = UniqueName("mutex");
    {
        platform::CSingleInstanceLock first(name);
        ASSERT_TRUE(first.Acquired()) << first.Error();
        platform::CSingleInstanceLock second(name);
        EXPECT_EQ(second.GetState(), platform::CSingleInstanceLock::State::kHeldElsewhere);
        // The refused one let go of its handle: it does not keep the name alive.
    }
    platform::CSingleInstanceLock third(name);
    EXPECT_TRUE(third.Acquired()) << third.Error();
}

TEST(NamedMutex, CharactersThatAreNoPartOfAMutexNameAreReplaced) {
    const std::string name = UniqueName("a\\b/c d");
    platform::CSingleInstanceLock lock(name);
    ASSERT_TRUE(lock.Acquired()) << lock.Error();
    EXPECT_EQ(lock.Path().string().find_first_of("\\/ "), std::string::npos) << lock.Path();
    // The same name written again is the same mutex.
    platform::CSingleInstanceLock again(name);
    EXPECT_FALSE(again.Acquired());
}

class StartedProgram : public testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("TOVREX_BIN_DIR");
        ASSERT_NE(bin, nullptr);
        standIn_ = fs::path(bin) / "uniformity_stand_in.exe";
        ASSERT_TRUE(fs::exists(standIn_)) << standIn_;
        folder_ = fs::temp_directory_path() / UniqueName("process");
        fs::create_directories(folder_);
        _putenv_s("TOVREX_STANDIN_ARGS", (folder_ / "args.txt").string().c_str());
    }
    void TearDown() override {
        _putenv_s("TOVREX_STANDIN_ARGS", "");
        _putenv_s("TOVREX_STANDIN_EXIT", "");
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    std::vector<std::string> ArgumentsSeen() const {
        std::ifstream in(folder_ / "args.txt");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    fs::path standIn_;
    fs::path folder_;
};

TEST_F(StartedProgram, TheToolsExitCodesArriveWhole) {
    // The uniformity tool's answers, and codes a byte could not carry.
    for (const int code : {0, -1, -2, -3, -4, 7, 0x4001, -65536}) {
        _putenv_s("TOVREX_STANDIN_EXIT", std::to_string(code).c_str());
        const platform::ProgramResult r = platform::RunProgram(standIn_, {});
        ASSERT_EQ(r.outcome, platform::ProgramResult::Outcome::kExited) << code << r.error;
        EXPECT_EQ(r.exitCode, code);
        EXPECT_EQ(static_cast<uint32_t>(r.exitStatus), static_cast<uint32_t>(code));
    }
}

TEST_F(StartedProgram, ArgumentsArriveAsTheyWereGiven) {
    const std::vector<std::string> args = {"-cCreateUniformityTable",
                                           "-dn\\\\?\\hid#vid_1234 pid_5678",
                                           "",
                                           "say \"hi\"",
                                           "ends with a backslash\\",
                                           "tab\there",
                                           "trailing\\\\",
                                           "-disablemsBox"};
    const platform::ProgramResult r = platform::RunProgram(standIn_, args);
    ASSERT_EQ(r.outcome, platform::ProgramResult::Outcome::kExited) << r.error;
    EXPECT_EQ(ArgumentsSeen(), args);
}

TEST_F(StartedProgram, AProgramInAFolderWithBlanksIsStartedByItsPath) {
    const fs::path spaced = folder_ / "Program Files" / "TovrexT310Suite.exe";
    fs::create_directories(spaced.parent_path());
    fs::copy_file(standIn_, spaced);
    _putenv_s("TOVREX_STANDIN_EXIT", "-3");
    const platform::ProgramResult r = platform::RunProgram(spaced, {"-s100"});
    ASSERT_EQ(r.outcome, platform::ProgramResult::Outcome::kExited) << r.error;
    EXPECT_EQ(r.exitCode, -3);
    EXPECT_EQ(ArgumentsSeen(), std::vector<std::string>{"-s100"});
}

TEST_F(StartedProgram, AMissingProgramIsNotStartedAndSaysWhy) {
    const platform::ProgramResult r = platform::RunProgram(folder_ / "TovrexT310Suite.exe", {});
    EXPECT_EQ(r.outcome, platform::ProgramResult::Outcome::kNotStarted);
    EXPECT_FALSE(r.error.empty());
}

TEST(ProgramFolder, IsTheAbsoluteFolderOfThisTestProgram) {
    const fs::path folder = platform::ProgramFolder();
    ASSERT_TRUE(folder.is_absolute()) << folder;
    EXPECT_TRUE(fs::is_regular_file(folder / "platform_windows_tests.exe")) << folder;
}

// CTest hands the test a pipe, not a console: the colour calls then change nothing in the output,
// which holds exactly the text written.
TEST(ConsoleColours, StayOffWhenOutputIsNoConsole) {
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode))
        GTEST_SKIP() << "standard output is a console here";
    EXPECT_FALSE(platform::ConsoleShowsColours());
    testing::internal::CaptureStdout();
    platform::SetConsoleColour(12);
    platform::WriteConsole("Unknown Command.\n");
    platform::SetConsoleColour(7);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unknown Command.\n");
}

// A pipe gives what has arrived; its writer's end is the end of the input, and a wait then ends at
// once instead of hanging.
TEST(KeyWait, ReadsOneCharacterAtATimeFromAPipeAndEndsWithIt) {
    int ends[2] = {-1, -1};
    ASSERT_EQ(_pipe(ends, 256, _O_BINARY), 0);
    const char typed[] = "a \nbc\nd";
    ASSERT_EQ(_write(ends[1], typed, sizeof typed - 1), static_cast<int>(sizeof typed - 1));
    platform::CConsoleInput input(ends[0]);
    EXPECT_EQ(input.WaitForCharacter(), 'a');
    EXPECT_EQ(input.ReadKey(), 'b');  // the blank and the line end are skipped
    input.DiscardPending();           // the rest of that line
    EXPECT_EQ(input.WaitForCharacter(), 'd');
    input.DiscardPending();  // nothing more has arrived: returns without waiting
    _close(ends[1]);
    EXPECT_EQ(input.WaitForCharacter(), platform::kEndOfInput);
    EXPECT_EQ(input.ReadKey(), platform::kEndOfInput);
    _close(ends[0]);
}

TEST(KeyWait, AFileIsReadToItsEndAndAMissingInputEndsAtOnce) {
    const fs::path path = fs::temp_directory_path() / (UniqueName("keys") + ".txt");
    std::ofstream(path, std::ios::binary) << "x1\n2";
    const int fd = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
    ASSERT_GE(fd, 0);
    {
        platform::CConsoleInput input(fd);
        EXPECT_EQ(input.WaitForCharacter(), 'x');
        input.DiscardPending();
        EXPECT_EQ(input.WaitForCharacter(), '2');
        EXPECT_EQ(input.WaitForCharacter(), platform::kEndOfInput);
    }
    _close(fd);
    fs::remove(path);
    platform::CConsoleInput none(-1);
    EXPECT_EQ(none.WaitForCharacter(), platform::kEndOfInput);
    none.DiscardPending();
}

// Where no window of a class is open, a notice for it goes nowhere and says so, at once.
TEST(WindowNotices, WithoutTheListeningWindowsNoNoticeIsSent) {
    const auto notifier =
        platform::MakeWindowNotifier({UniqueName("NoSuchWindowClass"), UniqueName("NorThisOne")});
    EXPECT_FALSE(notifier->Send(0, "processed_10"));
    EXPECT_FALSE(notifier->Send(1, "processed_done"));
    EXPECT_FALSE(notifier->Send(2, "processed_I"));  // no such target
}

TEST(LocalTime, BreaksAMomentIntoItsLocalFields) {
    const std::time_t now = std::time(nullptr);
    const std::tm local = platform::LocalTime(now);
    std::tm copy = local;
    EXPECT_EQ(std::mktime(&copy), now);  // mktime reads local fields back into the same moment
    EXPECT_GE(local.tm_year, 120);
}

}  // namespace
