#include <cstdlib>
#include <system_error>

#include "platform/SingleInstance.h"

namespace platform {

std::filesystem::path RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') return runtime;
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : temp;
}

}  // namespace platform
