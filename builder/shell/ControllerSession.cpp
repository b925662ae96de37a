// The program's device session: start-up and the dispatcher reach the controller model here.
#include <filesystem>

#include "controller/Controller.h"
#include "device/CAPI.h"
#include "device/CommandStop.h"
#include "params/CParam_HW.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"
#include "platform/ProgramFolder.h"
#include "shell/CommandTable.h"
#include "shell/DeviceSession.h"
#include "shell/Discovery.h"
#include "shell/Options.h"

namespace {

// The folder with the system's own separator at its end (a backslash on Windows), as file names
// are appended to it and shown in messages.
std::string WithSlash(const std::filesystem::path& folder) {
    std::string text = folder.string();
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (!text.empty() && text.back() != '/' && text.back() != separator) text += separator;
    return text;
}

class CControllerSession final : public CDeviceSession {
  public:
    bool Discover() override {
        // Parameter files go to the current folder, which start-up has made the working folder.
        BuilderOptions& o = Options();
        std::error_code ec;
        o.folders.workingFolder = WithSlash(std::filesystem::current_path(ec));
        o.folders.programFolder = WithSlash(platform::ProgramFolder());
        return DiscoverController(o);
    }
    bool FoundNoController() const override { return ControllerCount() == 0; }
    void Close() override { CloseController(); }

    bool SwitchWorkMode(uint16_t mode) override {
        CController* c = TheController();
        return c != nullptr && c->Api().SwitchWorkMode(mode);
    }

    std::optional<uint32_t> CommandNeeds(const std::string& name) override {
        const CommandEntry* entry = CCommandTable::Find(name);
        if (entry == nullptr) return std::nullopt;
        return entry->needs;
    }

    SetVersions Versions(ParamSet set) override {
        CController* c = TheController();
        if (c == nullptr) return {};
        switch (set) {
            case ParamSet::kHardware:
                return {c->Hw().GetAppParamVersion(), c->Hw().GetParamVersion(),
                        c->Identity().hwVersion};
            case ParamSet::kSoftware:
                return {c->Sw().GetAppParamVersion(), c->Sw().GetParamVersion(),
                        c->Identity().swVersion};
            case ParamSet::kStylus:
                break;
        }
        return {c->Pen().GetAppParamVersion(), c->Pen().GetParamVersion(),
                c->Identity().penVersion};
    }

    uint32_t RunHandler(const std::string& name) override {
        CController* c = TheController();
        const CommandEntry* entry = CCommandTable::Find(name);
        if (c == nullptr || entry == nullptr) return 1;
        c->BeginCommand();
        const CCommandScope scope;
        return ::RunHandler(*entry, *c);
    }

    bool Disconnected() const override {
        const CController* c = TheController();
        return c != nullptr && c->Disconnected();
    }

    std::string HelpText() override { return ::HelpText(TheController()); }
    std::string MenuCommand(char key) override { return CommandForMenuKey(key); }
};

}  // namespace

std::unique_ptr<CDeviceSession> MakeDeviceSession() {
    return std::make_unique<CControllerSession>();
}
