#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace platform {

namespace {

std::string LockFileName(std::string_view name) {
    std::string file;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        file += plain ? c : '_';
    }
    return file + ".lock";
}

}  // namespace

std::filesystem::path RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') return runtime;
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : temp;
}

CSingleInstanceLock::CSingleInstanceLock(std::string_view name)
    : path_(RuntimeFolder() / LockFileName(name)) {
    // O_CLOEXEC: a child program must not keep the lock alive after this process has ended.
    fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error_ = path_.string() + ": " + std::strerror(errno);
        return;
    }
    int rc = 0;
    do {
        rc = flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        state_ = State::kAcquired;
        return;
    }
    if (errno == EWOULDBLOCK) {
        state_ = State::kHeldElsewhere;
    } else {
        error_ = path_.string() + ": " + std::strerror(errno);
    }
    close(fd_);
    fd_ = -1;
}

CSingleInstanceLock::~CSingleInstanceLock() {
    // Closing the descriptor releases the lock. The file stays: removing it would let a third
    // instance lock a new file while a second one still holds the old one.
    if (fd_ >= 0) close(fd_);
}

}  // namespace platform
