// exit_code_probe <program> [arguments...]: runs the program with the probe's standard streams and
// current folder, then writes "exit code 0x%08X" (or how it failed to end normally) as the last
// line of standard error. The probe's own status is 0 when the program ran, 2 otherwise.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Process.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: exit_code_probe <program> [arguments...]\n", stderr);
        return 2;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    const platform::ProgramResult result = platform::RunProgram(argv[1], args);
    std::fflush(stdout);
    switch (result.outcome) {
        case platform::ProgramResult::Outcome::kExited:
            std::fprintf(stderr, "exit code 0x%08X\n", static_cast<uint32_t>(result.exitStatus));
            return 0;
        case platform::ProgramResult::Outcome::kKilled:
            std::fprintf(stderr, "ended by the system: 0x%08X signal %d\n",
                         static_cast<uint32_t>(result.exitStatus), result.signal);
            return 2;
        case platform::ProgramResult::Outcome::kNotStarted:
            break;
    }
    std::fprintf(stderr, "not started: %s\n", result.error.c_str());
    return 2;
}
