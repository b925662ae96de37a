#include "platform/NewFile.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace platform {

// The system's C library knows no exclusive mode letter for fopen; the exclusive open of its
// descriptor layer does the same. Binary: no line feed becomes a carriage return and line feed.
std::FILE* CreateNewFile(const std::filesystem::path& path) {
    const int fd = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) _close(fd);
    return file;
}

}  // namespace platform
