// TovrexBuilder4: one command against the one attached touch controller.
#include <cstdio>
#include <string>
#include <vector>

#include "core/ResultCodes.h"
#include "platform/ConsoleInput.h"
#include "platform/Interrupt.h"
#include "platform/ProgramFolder.h"
#include "shell/DeviceSession.h"
#include "shell/Startup.h"
#include "shell/Usage.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    // --help and --version touch nothing: no lock, no log, no controller, no result file.
    if (const auto information = InformationRequest(args)) {
        std::fputs(information->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    // Asked to end, the builder stops the running command at its next device call and leaves
    // through its exit path, so the controller is restarted and closed as after every command.
    platform::CatchInterrupts(platform::kInterruptKey | platform::kTerminate | platform::kHangUp);
    ClearResultFile();
    const std::unique_ptr<CDeviceSession> session = MakeDeviceSession();
    const BuilderRun run{std::move(args), *session, platform::StandardInput(),
                         platform::ProgramFolder()};
    const uint32_t result = RunBuilder(run);
    WriteResultFile(result);
    if (const int signal = platform::InterruptSignal())
        return platform::ExitStatusForInterrupt(signal);
    return ProcessExitCodeFor(result);
}
