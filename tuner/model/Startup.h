// The tuner's application state and the start-up steps that fill it: open the one controller,
// read its channel, capability and coordinate information, and build the window title.
#pragma once

#include <cstdint>
#include <mutex>

#include "devlink/devlink.h"
#include "model/ChannelInfo.h"
#include "model/ControllerQueries.h"
#include "model/DeviceSession.h"
#include "model/Messages.h"
#include "model/Title.h"

namespace tuner {

// The name under which only one tuner runs at a time.
inline constexpr const char* kSingleInstanceName = "TOVREX_TUNER_K7PXXX";

// The channel information is read again after a software restart while worker threads of the
// pages read it, so it is handed out as whole snapshots.
class SharedChannelInfo {
  public:
    ChannelInfo Get() const {
        std::lock_guard lock(mutex_);
        return info_;
    }
    void Set(const ChannelInfo& info) {
        std::lock_guard lock(mutex_);
        info_ = info;
    }

  private:
    mutable std::mutex mutex_;
    ChannelInfo info_;
};

struct TunerState {
    DevRecord record{};
    DeviceSession device;
    uint8_t solutionCode = 0;
    IdentityTexts texts;
    SharedChannelInfo channels;
    TouchKeyCounts touchKeys;
    CoordinateMaxima coordinateMaxima;
    Titles titles;
};

enum class StartupResult {
    kReady,
    kNoController,
    kUnsupportedSolution,
    kDeviceNotFound,
    kChannelInfoUnreadable,
};

// The message box for a failed start-up; nullptr for kReady.
const UserMessage* StartupMessage(StartupResult result);

// Finds the controller with 64-byte reports, opens it, checks that the tool supports it and puts
// it into command mode.
StartupResult OpenController(TunerState& state);

// Reads the channel information (a failure ends the start-up), then the touch-key counts and the
// coordinate maxima (their failures keep the defaults).
StartupResult ReadControllerInformation(TunerState& state);

// Both of the above. A start-up that fails after the controller was opened returns it to normal
// mode and closes it, so no failure leaves the controller held or in command mode.
StartupResult StartController(TunerState& state);

// Reads the channel information again and publishes it; false (and the old information kept)
// when it cannot be read.
bool RefreshChannelInfo(TunerState& state);

// The same after a software restart, while a page may be streaming: the controller is put into
// command mode first, so that no stream runs while the geometry changes.
bool RefreshChannelInfoAfterRestart(TunerState& state);

// Reads the identity texts and builds both titles from them and the channel information.
const Titles& UpdateTitles(TunerState& state);

}  // namespace tuner
