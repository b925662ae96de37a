#include "platform/SingleInstance.h"

#include <windows.h>

#include <string>

#include "SystemText.h"

namespace platform {

namespace {

// A mutex name may not hold a backslash outside its namespace prefix; the same characters as the
// lock file's name elsewhere are kept.
std::string MutexName(std::string_view name) {
    std::string plain;
    for (const char c : name) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        plain += kept ? c : '_';
    }
    return plain;
}

}  // namespace

CSingleInstanceLock::CSingleInstanceLock(std::string_view name) : path_(MutexName(name)) {
    // Default security: the handle is not inherited by programs this one starts.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, path_.string().c_str());
    const DWORD error = GetLastError();
    // A mutex of that name made with rights that exclude this user is another instance too.
    if (mutex == nullptr && error == ERROR_ACCESS_DENIED) {
        state_ = State::kHeldElsewhere;
        return;
    }
    if (mutex == nullptr) {
        error_ = path_.string() + ": " + SystemErrorText(error);
        return;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        state_ = State::kHeldElsewhere;
        CloseHandle(mutex);
        return;
    }
    native_ = reinterpret_cast<std::intptr_t>(mutex);
    state_ = State::kAcquired;
}

CSingleInstanceLock::~CSingleInstanceLock() {
    // The mutex goes when its last handle closes, and with it the claim.
    if (state_ == State::kAcquired) CloseHandle(reinterpret_cast<HANDLE>(native_));
}

}  // namespace platform
