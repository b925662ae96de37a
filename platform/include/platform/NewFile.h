// Creating a file that must not exist yet, written through the C library.
#pragma once

#include <cstdio>
#include <filesystem>

namespace platform {

// Opens a new file for writing, or returns nullptr with errno set (EEXIST when the name is taken
// already): never truncates or shares a file that exists. The bytes are stored as written, line
// ends included, so that a file is the same whichever system wrote it.
std::FILE* CreateNewFile(const std::filesystem::path& path);

}  // namespace platform
