#include "platform/ProgramFolder.h"

#include <windows.h>

#include <string>

namespace platform {

std::filesystem::path ProgramFolder() {
    // The call cuts the name to the buffer without saying how long it is: grow until it fits.
    std::wstring name(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            const std::filesystem::path program(name);
            return program.is_absolute() ? program.parent_path() : std::filesystem::path();
        }
        name.resize(name.size() * 2);
    }
    return {};
}

}  // namespace platform
