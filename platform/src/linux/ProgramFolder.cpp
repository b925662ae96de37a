#include "platform/ProgramFolder.h"

#include <system_error>

namespace platform {

std::filesystem::path ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || !program.is_absolute()) return {};
    return program.parent_path();
}

}  // namespace platform
