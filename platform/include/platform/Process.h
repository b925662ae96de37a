// Starting another program and waiting for it to end.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

struct ProgramResult {
    enum class Outcome { kExited, kNotStarted, kKilled };
    Outcome outcome = Outcome::kNotStarted;
    int exitStatus = 0;  // kExited: the status byte as the system keeps it, 0-255
    int signal = 0;      // kKilled: the signal that ended the program
    std::string error;   // kNotStarted: why
};

// Starts the program file with the arguments (argument vector, no shell, the program's own path
// as argument 0) in the current folder, with the caller's standard streams, and waits for it to
// end without a time limit. The program must be a path; no search path is consulted.
ProgramResult RunProgram(const std::filesystem::path& program,
                         const std::vector<std::string>& args);

// The number the system knows this process by.
int CurrentProcessId();

}  // namespace platform
