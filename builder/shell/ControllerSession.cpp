// The program's device session: start-up and the dispatcher reach the controller model here.
#include <filesystem>

#include "device/CAPI.h"
#include "params/CParam_HW.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"
#include "platform/ProgramFolder.h"
#include "shell/CommandTable.h"
#include "shell/Controller.h"
#include "shell/DeviceSession.h"
#include "shell/Discovery.h"
#include "shell/Options.h"

namespace {

std::string WithSlash(const std::filesystem::path& folder) {
    std::string text = folder.string();
    if (!text.empty() && text.back() != '/') text += '/';
    return text;
}

// The settings the controller model reads, taken from the process-wide options. The working
// folder is the current folder, which start-up has made it.
ControllerOptions FromBuilderOptions(const BuilderOptions& o) {
    ControllerOptions c;
    c.devicePath = o.devicePath;
    c.inputReportLength = o.inputReportLength;
    c.outputReportLength = o.outputReportLength;
    c.resumeMode = o.resumeMode;
    c.fixedNameMode = o.fixedName;
    c.outputFolder = o.workFolder;
    c.researchMode = o.research;
    c.keepVersion = o.keepVersion;
    c.optionMask = o.optionMask;
    std::error_code ec;
    c.workingFolder = WithSlash(std::filesystem::current_path(ec));
    c.programFolder = WithSlash(platform::ProgramFolder());
    c.uniformityStrength = o.uniformityStrength;
    c.uniformitySecond = o.uniformitySecond;
    c.disableWarning = o.toolDisableWarning;
    c.disableLog = o.toolDisableLog;
    c.testMask = o.testMask;
    c.thresholds = {o.thresholdBlock, o.Uniformity,    o.CookTouchTh,     o.DeltaTouchTh,
                    o.GroupMassTh,    o.TouchThFinger, o.RawFlatForStray, o.RawFlatForPoint};
    c.hwTextPath = o.hwTextPath;
    c.hwBinPath = o.hwBinPath;
    c.hwRegPath = o.hwRegPath;
    c.swTextPath = o.swTextPath;
    c.swBinPath = o.swBinPath;
    c.penTextPath = o.penTextPath;
    c.penBinPath = o.penBinPath;
    c.penRegPath = o.penRegPath;
    c.iniPath = o.settingsPath;
    return c;
}

class CControllerSession final : public CDeviceSession {
  public:
    bool Discover() override { return DiscoverController(FromBuilderOptions(Options())); }
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
                return {c->Hw().GetAppParamVersion(), c->Hw().GetParamVersion(), c->hwVersion};
            case ParamSet::kSoftware:
                return {c->Sw().GetAppParamVersion(), c->Sw().GetParamVersion(), c->swVersion};
            case ParamSet::kStylus:
                break;
        }
        return {c->Pen().GetAppParamVersion(), c->Pen().GetParamVersion(), c->penVersion};
    }

    uint32_t RunHandler(const std::string& name) override {
        CController* c = TheController();
        const CommandEntry* entry = CCommandTable::Find(name);
        if (c == nullptr || entry == nullptr) return 1;
        // The file arguments are assigned after discovery: take the settings as they are now.
        c->Options() = FromBuilderOptions(Options());
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
