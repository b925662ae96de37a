// Starting another program and waiting for it to end.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

struct ProgramResult {
    enum class Outcome { kExited, kNotStarted, kKilled };
    Outcome outcome = Outcome::kNotStarted;
    // kExited: the status as the system keeps it: a byte, 0-255, on POSIX; the whole 32-bit
    // code on Windows.
    int exitStatus = 0;
    // kExited: the exit code as the program gave it, signed: a program's -1 is -1 here, though a
    // POSIX status keeps it as 255.
    int exitCode = 0;
    // kKilled: the signal that ended the program (0 on Windows, where an exception or the
    // console's interrupt ends it with a system status code, kept in exitStatus).
    int signal = 0;
    std::string error;  // kNotStarted: why
};

// Starts the program file with the arguments (argument vector, no shell, the program's own path
// as argument 0) in the current folder, with the caller's standard streams, and waits for it to
// end without a time limit. The program must be a path; no search path is consulted.
ProgramResult RunProgram(const std::filesystem::path& program,
                         const std::vector<std::string>& args);

// The number the system knows this process by.
int CurrentProcessId();

}  // namespace platform
