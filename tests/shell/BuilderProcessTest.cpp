// The real program as a calling program sees it: copied into a fresh folder (it works in its own
// folder), run with its own runtime folder, standard input and result file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "LogTestSupport.h"
#include "platform/SingleInstance.h"

extern char** environ;

namespace {

struct ProcessRun {
    int status = -1;  // exit status, or -1 when it did not exit normally in time
    std::string out;
};

class BuilderProcess : public testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("TOVREX_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "TOVREX_BIN_DIR is not set";
        char pattern[] = "/tmp/builder-process-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        std::filesystem::create_directory(folder_ / "app");
        std::filesystem::create_directory(folder_ / "runtime");
        std::filesystem::create_directory(folder_ / "caller");
        program_ = folder_ / "app" / "TovrexBuilder4";
        std::filesystem::copy_file(std::filesystem::path(bin) / "TovrexBuilder4", program_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Runs the copy from the "caller" folder with the given standard input text.
    ProcessRun Run(const std::vector<std::string>& args, const std::string& input = "") {
        const std::filesystem::path in = folder_ / "stdin";
        const std::filesystem::path out = folder_ / "stdout";
        { std::ofstream(in, std::ios::binary) << input; }

        std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + (folder_ / "runtime").string(),
                                        "TOVREX_RESULT_FILE=" + ResultPath().string()};
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string var = *e;
            // The test decides these itself; no controller is selected.
            if (var.rfind("XDG_RUNTIME_DIR=", 0) == 0 || var.rfind("TOVREX_RESULT_FILE=", 0) == 0 ||
                var.rfind("DEVLINK", 0) == 0) {
                continue;
            }
            env.push_back(var);
        }
        std::vector<std::string> argv = {program_.string()};
        argv.insert(argv.end(), args.begin(), args.end());

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        posix_spawn_file_actions_addchdir_np(&actions, (folder_ / "caller").c_str());
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, Pointers(argv).data(),
                                   Pointers(env).data());
        posix_spawn_file_actions_destroy(&actions);
        ProcessRun run;
        EXPECT_EQ(rc, 0) << std::strerror(rc);
        if (rc != 0) return run;

        // The program must never hang on its input: give it a generous limit, then kill it.
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                ADD_FAILURE() << "the program did not end";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
        run.out = ReadFile(out);
        return run;
    }

    std::filesystem::path ResultPath() const { return folder_ / "result"; }
    std::filesystem::path LockPath() const { return folder_ / "runtime"; }

    static std::vector<char*> Pointers(std::vector<std::string>& texts) {
        std::vector<char*> p;
        for (auto& t : texts) p.push_back(t.data());
        p.push_back(nullptr);
        return p;
    }

    std::filesystem::path folder_;
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
