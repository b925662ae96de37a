// How reports travel between the library and one controller. One transport per open device:
// the device's reader thread calls read(), callers' threads call write().
#pragma once

#include <chrono>
#include <cstdint>

namespace devlink {

enum class ReadResult { Ok, Timeout, Gone };

class Transport {
  public:
    virtual ~Transport() = default;
    // Sends one 64-byte output report; false when the controller is gone.
    virtual bool write(const uint8_t* report64) = 0;
    // Waits up to `timeout` for one 64-byte input report.
    virtual ReadResult read(uint8_t* report64, std::chrono::milliseconds timeout) = 0;
    // Wakes a waiting read; later reads return Gone. `byProgram`: the program closed the device
    // (devClose); false when the library lets go of a device the program left open.
    virtual void close(bool byProgram) = 0;
};

}  // namespace devlink
