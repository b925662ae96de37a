// A device whose reports come from its caller instead of a controller, for driving the report
// dispatch from a fuzzer or a test: every report handed in goes through the same checks, the same
// reader thread and the same subscriptions as a controller's report. It has no device path and is
// never found by enumeration; it is opened only here.
//
// Requests sent to it are accepted and dropped, so a waiting call gets only what the caller
// feeds (replies included) or fails at its time-out.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "devlink/devlink.h"

namespace devlink {

class ReportFeed {
  public:
    virtual ~ReportFeed() = default;
    // Hands one 64-byte report to the device's reader thread; false once the device is closed.
    virtual bool push(const uint8_t* report64) = 0;
    // Waits until the reader has dispatched every report pushed so far (its handlers have
    // returned); false when that takes longer than `timeout` or the device is closed.
    virtual bool drain(std::chrono::milliseconds timeout) = 0;
    // Count of requests (64-byte reports) the library has sent to the device.
    virtual uint64_t requestsSent() const = 0;
};

struct FedDevice {
    DevHandle handle = nullptr;  // close it with devClose, as any device
    std::shared_ptr<ReportFeed> feed;
};

FedDevice openFedDevice();

}  // namespace devlink
