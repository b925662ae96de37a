// The program's device session. Until the controller model is part of the builder, no controller
// can be assembled: discovery fails and start-up reports that the device could not be initialised.
#include "shell/DeviceSession.h"

namespace {

class CNoControllerSession final : public CDeviceSession {
public:
    bool Discover() override { return false; }
    void Close() override {}
    bool SwitchWorkMode(uint16_t) override { return false; }
    std::optional<uint32_t> CommandNeeds(const std::string&) override { return std::nullopt; }
    SetVersions Versions(ParamSet) override { return {}; }
    uint32_t RunHandler(const std::string&) override { return 1; }
    bool Disconnected() const override { return true; }
    std::string HelpText() override { return {}; }
    std::string MenuCommand(char) override { return {}; }
};

}  // namespace

std::unique_ptr<CDeviceSession> MakeDeviceSession() {
    return std::make_unique<CNoControllerSession>();
}
