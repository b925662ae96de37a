// The folder that holds the running program's file.
#pragma once

#include <filesystem>

namespace platform {

// Absolute path of the folder of the program file; empty when the system cannot tell.
std::filesystem::path ProgramFolder();

}  // namespace platform
