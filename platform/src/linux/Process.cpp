#include "platform/Process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

extern char** environ;

namespace platform {

ProgramResult RunProgram(const std::filesystem::path& program,
                         const std::vector<std::string>& args) {
    ProgramResult result;
    std::vector<std::string> texts;
    texts.reserve(args.size() + 1);
    texts.push_back(program.string());
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& t : texts) argv.push_back(t.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int rc = posix_spawn(&pid, texts[0].c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        result.error = std::strerror(rc);
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.error = std::strerror(errno);
            return result;
        }
    }
    if (WIFEXITED(status)) {
        result.outcome = ProgramResult::Outcome::kExited;
        result.exitStatus = WEXITSTATUS(status);
        result.exitCode = static_cast<int8_t>(result.exitStatus);
    } else {
        result.outcome = ProgramResult::Outcome::kKilled;
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    return result;
}

int CurrentProcessId() {
    return static_cast<int>(getpid());
}

}  // namespace platform
