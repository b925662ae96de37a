#include "shell/Dispatcher.h"

#include "core/BuilderLog.h"
#include "core/ConsoleOut.h"
#include "core/ResultCodes.h"

namespace {

constexpr uint16_t kCommandMode = 0x8000;
constexpr uint16_t kNormalMode = 0;

struct SetCheck {
    uint32_t requirement;
    ParamSet set;
    uint32_t refusal;
    const char* message;
};

constexpr SetCheck kSetChecks[] = {
    {kRequireHwSet, ParamSet::kHardware, kResultHwIncompatible,
     "Builder HW version(%d) is incompatible with Controller(Flash %d, Kernel %d)!\n"},
    {kRequireSwSet, ParamSet::kSoftware, kResultSwIncompatible,
     "Builder SW version(%d) is incompatible with Controller(Flash %d, Kernel %d)!\n"},
    {kRequirePenSet, ParamSet::kStylus, kResultPenIncompatible,
     "Builder PW version(%d) is incompatible with Controller(Flash %d, Kernel %d)!\n"},
};

bool IsIncompatibleSet(uint32_t result) {
    return result == kResultHwIncompatible || result == kResultSwIncompatible ||
           result == kResultPenIncompatible;
}

void LogResult(uint32_t result) {
    if (result == kResultSuccess) {
        MainLog().Print(kColourSuccess, kRouteBoth, "Command Execution Success!\n");
    } else if (result == kResultUnknownCommand) {
        MainLog().Print(kColourError, kRouteBoth, "Unknown Command.\n");
    } else if (!IsIncompatibleSet(result)) {  // those were reported with their versions
        MainLog().Printf(kColourError, kRouteBoth, "Command Execution Failed! Errorcode(0x%0X).\n",
                         static_cast<unsigned>(result));
    }
}

}  // namespace

uint32_t RunCommand(CDeviceSession& session, const std::string& name) {
    const std::optional<uint32_t> needs = session.CommandNeeds(name);
    if (!needs) return kResultUnknownCommand;
    for (const SetCheck& check : kSetChecks) {
        if ((*needs & check.requirement) == 0) continue;
        const SetVersions v = session.Versions(check.set);
        if (v.kernel > v.builder) {
            MainLog().Printf(kColourError, kRouteBoth, check.message, v.builder, v.flash, v.kernel);
            return check.refusal;
        }
    }
    const uint32_t code = session.RunHandler(name);
    return code == 0 ? kResultSuccess : (kResultHandlerFailed | code);
}

uint32_t DispatchCommand(CDeviceSession& session, const std::string& name) {
    if (name.empty()) {
        MainLog().Print(kColourError, kRouteBoth, "\nInvalid Command!\n");
        RingBell(3);
        return kResultSuccess;
    }
    if (!session.SwitchWorkMode(kCommandMode)) return kResultModeSwitchFailed;
    MainLog().Printf(kColourNormal, kRouteBoth, "Dispatch Command: %s.\n", name.c_str());

    uint32_t result = RunCommand(session, name);
    LogResult(result);
    RingBell(result == kResultSuccess ? 1 : 3);

    // Whatever the command did, the controller goes back to normal reporting.
    if (!session.SwitchWorkMode(kNormalMode)) result = kResultModeSwitchFailed;
    return result;
}

uint32_t RunMenu(CDeviceSession& session, platform::CConsoleInput& input) {
    uint32_t result = kResultSuccess;
    for (;;) {
        MainLog().Print(kColourPrompt, kRouteConsole,
                        "\nTovrexBuilder4 command (?: List Cmd, Q: Quit): ");
        const int key = input.ReadKey();
        if (session.Disconnected()) {
            result = kResultMenuDisconnected;
            break;
        }
        // The end of the input is the user's last word: it ends the menu as Q does.
        if (key == platform::kEndOfInput || key == 'Q') {
            result = kResultMenuQuit;
            break;
        }
        if (key == '?') {
            ConsoleWrite(session.HelpText());
            continue;
        }
        result = DispatchCommand(session, session.MenuCommand(static_cast<char>(key)));
        if (result != kResultSuccess) break;
    }
    input.DiscardPending();
    return result;
}
