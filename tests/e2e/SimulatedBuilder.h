// Runs the real builder against the simulated controller the way a calling program would: the
// program and the stand-in uniformity tool copied into a fresh folder, no -J options, its own
// runtime folder, a result file, standard input from a text, and the simulator's trace.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

struct BuilderRun {
    int status = -1;  // exit status; -1 when the program did not exit by itself
    std::string out;  // standard output and error
};

class SimulatedBuilder : public testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("TOVREX_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "TOVREX_BIN_DIR is not set";
        char pattern[] = "/tmp/builder-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        app_ = folder_ / "app";
        std::filesystem::create_directories(app_);
        std::filesystem::create_directories(folder_ / "runtime");
        std::filesystem::copy_file(std::filesystem::path(bin) / "TovrexBuilder4",
                                   app_ / "TovrexBuilder4");
        std::filesystem::copy_file(std::filesystem::path(bin) / "uniformity_stand_in",
                                   app_ / "TovrexT310Suite.exe");
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // A profile file: a built-in model and some changes, one "key = value" per line.
    std::string Profile(const std::string& text) {
        const std::filesystem::path path = folder_ / "profile.txt";
        std::ofstream(path) << text;
        return path.string();
    }

    BuilderRun Run(const std::string& device, const std::vector<std::string>& args,
                   const std::string& input = "") {
        const std::filesystem::path in = folder_ / "stdin";
        const std::filesystem::path out = folder_ / "stdout";
        std::ofstream(in, std::ios::binary) << input;
        std::filesystem::remove(TracePath());

        std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + (folder_ / "runtime").string(),
                                        "TOVREX_RESULT_FILE=" + ResultPath().string(),
                                        "DEVLINK=sim:" + device,
                                        "DEVLINK_SIM_TRACE=" + TracePath().string()};
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string var = *e;
            if (var.rfind("XDG_RUNTIME_DIR=", 0) && var.rfind("TOVREX_", 0) &&
                var.rfind("DEVLINK", 0)) {
                env.push_back(var);
            }
        }
        std::vector<std::string> argv = {(app_ / "TovrexBuilder4").string()};
        argv.insert(argv.end(), args.begin(), args.end());

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, Pointers(argv).data(),
                                   Pointers(env).data());
        posix_spawn_file_actions_destroy(&actions);
        BuilderRun run;
        EXPECT_EQ(rc, 0) << std::strerror(rc);
        if (rc != 0) return run;
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                ADD_FAILURE() << "the builder did not end";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
        run.out = Read(out);
        return run;
    }

    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path ResultPath() const { return folder_ / "result"; }
    std::filesystem::path TracePath() const { return folder_ / "trace.txt"; }
    std::string Result() const { return Read(ResultPath()); }
    std::string Trace() const { return Read(TracePath()); }

    // The session as the controller saw it: opened once at the start, restarted into the resume
    // mode at exit and then closed, once.
    static testing::AssertionResult EndsWithRestartAndClose(const std::string& trace,
                                                            const char* mode = "0x0000") {
        const std::string end = std::string("restart mode=") + mode + " -> ok\nclose -> ok\n";
        int opens = 0, closes = 0;
        std::istringstream lines(trace);
        for (std::string line; std::getline(lines, line);) {
            opens += line.rfind("open", 0) == 0;
            closes += line.rfind("close", 0) == 0;
        }
        if (trace.rfind("open -> ok\n", 0) != 0 || opens != 1)
            return testing::AssertionFailure() << "not opened exactly once, first:\n" << trace;
        if (closes != 1) return testing::AssertionFailure() << closes << " closes:\n" << trace;
        if (trace.size() < end.size() ||
            trace.compare(trace.size() - end.size(), end.size(), end) != 0)
            return testing::AssertionFailure() << "does not end with\n" << end << "but:\n" << trace;
        return testing::AssertionSuccess();
    }

    static bool Has(const std::string& text, const std::string& what) {
        return text.find(what) != std::string::npos;
    }

    static std::vector<char*> Pointers(std::vector<std::string>& texts) {
        std::vector<char*> p;
        for (auto& t : texts) p.push_back(t.data());
        p.push_back(nullptr);
        return p;
    }

    std::filesystem::path folder_;
    std::filesystem::path app_;
};
