// Runs a built program the way a calling program would, for the process-level tests: an argument
// vector without a shell, an environment of the test's own plus the variables a test sets, standard
// input from a text, standard output and error captured together, and a generous time limit after
// which the program is killed and the test fails (a program must never hang on its input).
//
// Input that a person would type only after seeing something (a reply after a notice) is given as
// replies: each is sent once the program's output holds its cue, through a pipe the program waits
// on, as at a console.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace testsupport {

struct ProgramRun {
    int status = -1;  // exit status; -1 when the program did not exit by itself in time
    std::string out;  // standard output and error
};

// Text sent to standard input once the output (or the file cueFile) contains cue; with a signal
// number, that signal is sent to the program instead, and its input stays open until it ends.
struct Reply {
    Reply(std::string cueText, std::string replyText)
        : cue(std::move(cueText)), text(std::move(replyText)) {}
    static Reply Signal(std::string cueText, int number, std::filesystem::path file = {}) {
        Reply r(std::move(cueText), "");
        r.signal = number;
        r.cueFile = std::move(file);
        return r;
    }

    std::string cue;
    std::string text;
    int signal = 0;
    std::filesystem::path cueFile;
};

struct ProgramRequest {
    std::filesystem::path program;
    std::vector<std::string> args;
    std::string input;                    // standard input (at once)
    std::vector<Reply> replies;           // then these, in order; the input ends after the last
    std::vector<std::string> setEnv;      // "NAME=value" entries the test decides
    std::vector<std::string> dropEnv;     // prefixes of the test's variables to leave out
    std::filesystem::path scratch;        // folder for the input and output files
    std::filesystem::path workingFolder;  // empty: the test's current folder
};

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> p;
    for (auto& t : texts) p.push_back(t.data());
    p.push_back(nullptr);
    return p;
}

inline std::vector<std::string> Environment(const ProgramRequest& request) {
    std::vector<std::string> env = request.setEnv;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string var = *e;
        bool dropped = false;
        for (const auto& prefix : request.dropEnv) dropped = dropped || var.rfind(prefix, 0) == 0;
        if (!dropped) env.push_back(var);
    }
    return env;
}

inline ProgramRun RunProgram(const ProgramRequest& request) {
    const std::filesystem::path in = request.scratch / "stdin";
    const std::filesystem::path out = request.scratch / "stdout";
    const bool dialogue = !request.replies.empty();
    int inputPipe[2] = {-1, -1};
    if (dialogue) {
        EXPECT_EQ(pipe(inputPipe), 0);
        signal(SIGPIPE, SIG_IGN);  // a program that ends early must not end the test
    } else {
        std::ofstream(in, std::ios::binary) << request.input;
    }

    std::vector<std::string> env = Environment(request);
    std::vector<std::string> argv = {request.program.string()};
    argv.insert(argv.end(), request.args.begin(), request.args.end());

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (dialogue) {
        posix_spawn_file_actions_adddup2(&actions, inputPipe[0], 0);
        posix_spawn_file_actions_addclose(&actions, inputPipe[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (!request.workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, request.workingFolder.c_str());
    }
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, Pointers(argv).data(),
                               Pointers(env).data());
    posix_spawn_file_actions_destroy(&actions);
    ProgramRun run;
    if (dialogue) close(inputPipe[0]);
    const auto send = [&](const std::string& text) {
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = write(inputPipe[1], text.data() + done, text.size() - done);
            if (n <= 0) return;  // the program has gone; its status tells the rest
            done += static_cast<std::size_t>(n);
        }
    };
    EXPECT_EQ(rc, 0) << std::strerror(rc);
    if (rc != 0) {
        if (dialogue) close(inputPipe[1]);
        return run;
    }
    std::size_t nextReply = 0;
    if (dialogue) send(request.input);

    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << request.program.filename() << " did not end";
            break;
        }
        if (dialogue && nextReply < request.replies.size()) {
            const Reply& reply = request.replies[nextReply];
            const std::filesystem::path& cued = reply.cueFile.empty() ? out : reply.cueFile;
            if (ReadWhole(cued).find(reply.cue) != std::string::npos) {
                if (reply.signal != 0)
                    kill(pid, reply.signal);
                else
                    send(reply.text);
                if (++nextReply == request.replies.size() && reply.signal == 0) close(inputPipe[1]);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (dialogue && nextReply < request.replies.size()) {
        close(inputPipe[1]);
        ADD_FAILURE() << "never seen: " << request.replies[nextReply].cue;
    } else if (dialogue && request.replies.back().signal != 0) {
        close(inputPipe[1]);
    }
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.out = ReadWhole(out);
    return run;
}

}  // namespace testsupport
