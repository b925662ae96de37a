#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace platform {

namespace {

bool HasRuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && *runtime != '\0';
}

// The runtime folder belongs to the user; the shared temporary folder does not, so there the name
// carries the user id: one user's lock never stands in another user's way.
std::string LockFileName(std::string_view name) {
    std::string file;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        file += plain ? c : '_';
    }
    if (!HasRuntimeFolder()) file += "-" + std::to_string(geteuid());
    return file + ".lock";
}

// A name in a shared folder can be prepared by someone else: a link to another file, a folder or
// a file owned by another user is refused rather than used.
std::string UnfitLockFile(int fd) {
    struct stat status {};
    if (fstat(fd, &status) != 0) return std::strerror(errno);
    if (!S_ISREG(status.st_mode)) return "not a regular file";
    if (status.st_uid != geteuid()) return "owned by another user";
    if ((status.st_mode & 077) != 0 && fchmod(fd, 0600) != 0) return std::strerror(errno);
    return "";
}

}  // namespace

CSingleInstanceLock::CSingleInstanceLock(std::string_view name)
    : path_(RuntimeFolder() / LockFileName(name)) {
    // O_CLOEXEC: a child program must not keep the lock alive after this process has ended.
    // O_NOFOLLOW: a symbolic link at the name is refused, never followed to another file.
    const int fd =
        open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        error_ = path_.string() + ": " + std::strerror(errno);
        return;
    }
    if (const std::string unfit = UnfitLockFile(fd); !unfit.empty()) {
        error_ = path_.string() + ": " + unfit;
        close(fd);
        return;
    }
    int rc = 0;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        native_ = fd;
        state_ = State::kAcquired;
        return;
    }
    if (errno == EWOULDBLOCK) {
        state_ = State::kHeldElsewhere;
    } else {
        error_ = path_.string() + ": " + std::strerror(errno);
    }
    close(fd);
}

CSingleInstanceLock::~CSingleInstanceLock() {
    // Closing the descriptor releases the lock. The file stays: removing it would let a third
    // instance lock a new file while a second one still holds the old one.
    if (native_ >= 0) close(static_cast<int>(native_));
}

}  // namespace platform
