// One running instance per name and user.
//
// On Windows the lock is the named mutex of that name in the user's session; the system removes it
// when its last handle closes, so a crashed program never blocks the next one, and it is not
// inherited by programs the holder starts. Path() is then the mutex name.
//
// Elsewhere the lock is an advisory lock on the file "<name>.lock" in the user's runtime folder
// (XDG_RUNTIME_DIR), else on "<name>-<user id>.lock" in the shared temporary folder, so that one
// user's instance never blocks another user's. The file is made owner-only; a symbolic link, a
// file of another user or anything else that is not a regular file at that name is refused. The
// system drops the lock when the process ends in any way, so a crashed program never blocks the
// next one. Programs that are started by the holder do not inherit it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// XDG_RUNTIME_DIR when it is set and not empty, else the system's temporary folder.
std::filesystem::path RuntimeFolder();

class CSingleInstanceLock {
  public:
    enum class State {
        kAcquired,       // this object holds the lock until it is destroyed
        kHeldElsewhere,  // another instance holds it
        kFailed,         // the lock file could not be opened or locked; see Error()
    };

    // Tries once to take the lock; never waits. Characters of the name other than letters, digits,
    // '.', '_' and '-' become '_' in the file name.
    explicit CSingleInstanceLock(std::string_view name);
    ~CSingleInstanceLock();
    CSingleInstanceLock(const CSingleInstanceLock&) = delete;
    CSingleInstanceLock& operator=(const CSingleInstanceLock&) = delete;

    State GetState() const { return state_; }
    bool Acquired() const { return state_ == State::kAcquired; }
    const std::filesystem::path& Path() const { return path_; }
    const std::string& Error() const { return error_; }

  private:
    std::intptr_t native_ = -1;  // the system's hold on the lock: a descriptor or a handle
    State state_ = State::kFailed;
    std::filesystem::path path_;
    std::string error_;
};

}  // namespace platform
