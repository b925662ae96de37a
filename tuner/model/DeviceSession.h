// The one device handle of the tuner, closed exactly once.
#pragma once

#include <cstdint>

#include "devlink/devlink.h"

namespace tuner {

inline constexpr uint16_t kCommandMode = 0x8000;
inline constexpr uint16_t kNormalMode = 0;

class DeviceSession {
  public:
    DeviceSession() = default;
    ~DeviceSession();  // closes a handle that is still held
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Takes ownership of an opened handle, closing any handle held before.
    void Adopt(DevHandle handle);
    DevHandle Handle() const { return handle_; }
    bool IsOpen() const { return handle_ != nullptr; }

    void Close();
    // What a page does when it goes away: the controller goes back to normal reporting first.
    void ReturnToNormalAndClose();
    // The controller is gone: the handle is dropped without a close call.
    void Forget() { handle_ = nullptr; }

  private:
    DevHandle handle_ = nullptr;
};

}  // namespace tuner
