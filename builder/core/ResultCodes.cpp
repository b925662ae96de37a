#include "core/ResultCodes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/ExitCode.h"
#include "platform/Process.h"

int ExitStatusFor(uint32_t result) {
    switch (result) {
        case kResultSuccess:
            return 0;
        case kResultStartFailed:
            return 1;
        case kResultNoOption:
            return 2;
        case kResultUnknownCommand:
            return 3;
        case kResultHwIncompatible:
        case kResultSwIncompatible:
        case kResultPenIncompatible:
            return 4;
        case kResultMenuDisconnected:
            return 5;
        case kResultMenuQuit:
            return 6;
        case kResultModeSwitchFailed:
            return 7;
        default:
            return (result & kResultHandlerFailed) != 0 ? 8 : 9;
    }
}

int ProcessExitCodeFor(uint32_t result) {
    return platform::ExitCodeFor(result, ExitStatusFor(result));
}

std::string ResultFileText(uint32_t result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X\n", static_cast<unsigned>(result));
    return text;
}

void ClearResultFile() {
    const char* path = std::getenv(kResultFileVariable);
    if (path == nullptr || *path == '\0') return;
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

bool WriteResultFile(uint32_t result) {
    const char* path = std::getenv(kResultFileVariable);
    if (path == nullptr || *path == '\0') return true;
    const std::string target = path;
    const std::string temporary = target + ".tmp" + std::to_string(platform::CurrentProcessId());
    const std::string text = ResultFileText(result);
    bool ok = false;
    if (std::FILE* f = std::fopen(temporary.c_str(), "wb")) {
        const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
        ok = (std::fclose(f) == 0) && written;
        // The file system's rename replaces an existing file on every system.
        std::error_code renamed;
        if (ok) std::filesystem::rename(temporary, target, renamed);
        ok = ok && !renamed;
    }
    if (!ok) {
        std::fprintf(stderr, "Cannot write the result file %s: %s\n", target.c_str(),
                     std::strerror(errno));
        std::remove(temporary.c_str());
    }
    return ok;
}
