// The seam between the builder's spine (start-up, dispatcher, menu) and the controller model.
//
// Start-up reaches the one attached controller only through a CDeviceSession: it discovers and
// assembles the controller, switches its working mode around each command, looks a command up and
// runs its handler, asks for the versions the dispatcher compares, watches the disconnect flag,
// closes the controller at exit, and gets the help text and the menu's key mapping. The program's
// session is made by MakeDeviceSession(); tests hand start-up a double.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Bits of a command's requirement mask: the parameter sets whose versions must be compatible.
enum SetRequirement : uint32_t {
    kRequireHwSet = 2,
    kRequireSwSet = 4,
    kRequirePenSet = 8,
};

enum class ParamSet { kHardware, kSoftware, kStylus };

// The versions the dispatcher compares for one parameter set before a command runs.
struct SetVersions {
    int builder = 0;  // the builder's own structure version of the set
    int flash = 0;    // the version stored in the set's image as read from the controller
    int kernel = 0;   // the structure version the controller reported for the set
};

class CDeviceSession {
  public:
    virtual ~CDeviceSession() = default;

    // Finds the one attached controller, assembles and initialises its model. False, after the
    // reason has been logged, when that failed; the session then holds no controller.
    virtual bool Discover() = 0;

    // True when the last Discover found no controller at all (nothing enumerated).
    virtual bool FoundNoController() const { return false; }

    // Restarts the firmware into the resume mode and tears the model down. Does nothing without a
    // controller; safe to call twice.
    virtual void Close() = 0;

    // Switches the controller's working mode (0x8000 command mode, 0 normal). False on failure.
    virtual bool SwitchWorkMode(uint16_t mode) = 0;

    // The requirement mask (SetRequirement bits) of a command, or nothing for an unknown name.
    virtual std::optional<uint32_t> CommandNeeds(const std::string& name) = 0;

    // The versions of one set, for the compatibility check.
    virtual SetVersions Versions(ParamSet set) = 0;

    // Runs a known command's handler; 0 or the handler's failure code (without the high bit).
    virtual uint32_t RunHandler(const std::string& name) = 0;

    // True once the controller has reported its disconnection (set from the library's thread).
    virtual bool Disconnected() const = 0;

    // The help text, printed on the console only.
    virtual std::string HelpText() = 0;

    // The command name of a menu key; empty for a key without a command.
    virtual std::string MenuCommand(char key) = 0;
};

// The program's session over the real controller model.
std::unique_ptr<CDeviceSession> MakeDeviceSession();
