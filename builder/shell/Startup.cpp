#include "shell/Startup.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "core/BuilderLog.h"
#include "core/ConsoleOut.h"
#include "core/ResultCodes.h"
#include "platform/SingleInstance.h"
#include "platform/WindowNotice.h"
#include "shell/Dispatcher.h"
#include "shell/Options.h"
#include "core/Progress.h"

namespace {

// In fixed-name mode a -Je folder (made when missing), otherwise the program's own folder.
bool EnterWorkingFolder(const BuilderOptions& o, const std::filesystem::path& programFolder) {
    const bool ownFolder = o.fixed.fixedName && !o.fixed.workFolder.empty();
    const std::filesystem::path folder =
        ownFolder ? std::filesystem::path(o.fixed.workFolder) : programFolder;
    std::error_code ec;
    if (folder.empty()) {
        MainLog().Print(kColourError, kRouteBoth, "Cannot find the program's folder!\n");
        return false;
    }
    if (ownFolder) std::filesystem::create_directories(folder, ec);
    if (!ec) std::filesystem::current_path(folder, ec);
    if (ec) {
        MainLog().Printf(kColourError, kRouteBoth, "Cannot use the working folder %s: %s!\n",
                         folder.string().c_str(), ec.message().c_str());
        return false;
    }
    return true;
}

// Without DEVLINK the library looks for real controllers only; a user who finds none may not know
// that a simulated one exists. Standard error, so the usual output stays as it is.
void HintAtSimulatedController() {
    const char* backend = std::getenv("DEVLINK");
    if (backend != nullptr && *backend != '\0') return;
    std::fflush(stdout);
    std::fputs("No touch controller was found. To use the simulated one, set DEVLINK, for "
               "example DEVLINK=sim:K7P100 (see --help).\n",
               stderr);
}

// The second pass over the arguments, then the command or the menu.
uint32_t RunArguments(const BuilderRun& run) {
    BuilderOptions& o = Options();
    if (!AssignFileArguments(run.args, o)) return kResultNoOption;
    if (!o.command.commandName.empty()) return DispatchCommand(run.session, o.command.commandName);
    ConsoleWrite(run.session.HelpText());
    return RunMenu(run.session, run.input);
}

}  // namespace

uint32_t RunBuilder(const BuilderRun& run) {
    BuilderOptions& o = Options();
    o = BuilderOptions{};
    MainLog().UseOptions(&o);
    TestLog().UseOptions(&o);
    ParseOptions(run.args, o, MainLog(), true);

    const platform::CSingleInstanceLock lock(kBuilderInstanceName);
    if (lock.GetState() == platform::CSingleInstanceLock::State::kHeldElsewhere) {
        // Standard output only: the log belongs to the instance that runs. (Desktops that end a
        // program through its message queue get a quit message posted here; a console program
        // on Linux has no such queue.)
        ConsoleWrite("TovrexBuilder4 already running!\n");
        if (!o.fixed.fixedName) run.input.WaitForCharacter();
        return kResultStartFailed;
    }
    if (!lock.Acquired()) {
        MainLog().Printf(kColourError, kRouteConsole, "Cannot take the single-instance lock %s!\n",
                         lock.Error().c_str());
        return kResultStartFailed;
    }

    if (!EnterWorkingFolder(o, run.programFolder)) return kResultStartFailed;
    MainLog().Open(1, "TovrexBuilder4");
    if (o.fixed.research) {
        SetProgressNotifier(
            platform::MakeWindowNotifier({kProgressWindowClasses[0], kProgressWindowClasses[1]}));
    }

    if (!run.session.Discover()) {
        MainLog().Print(kColourError, kRouteBoth, "Device Initialization Failed!\n");
        if (run.session.FoundNoController()) HintAtSimulatedController();
        run.input.WaitForCharacter();
        return kResultStartFailed;
    }

    const uint32_t result = RunArguments(run);
    run.session.Close();
    MainLog().Print(kColourNormal, kRouteBoth, "\nTovrexBuilder4 Exit.\n");
    if (o.command.pauseAtExit) run.input.WaitForCharacter();
    return result;
}
