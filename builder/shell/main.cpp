// TovrexBuilder4: one command against the one attached touch controller.
#include <string>
#include <vector>

#include "core/ResultCodes.h"
#include "platform/ConsoleInput.h"
#include "platform/ProgramFolder.h"
#include "shell/DeviceSession.h"
#include "shell/Startup.h"

int main(int argc, char** argv) {
    ClearResultFile();
    const std::unique_ptr<CDeviceSession> session = MakeDeviceSession();
    const BuilderRun run{std::vector<std::string>(argv, argv + argc), *session,
                         platform::StandardInput(), platform::ProgramFolder()};
    const uint32_t result = RunBuilder(run);
    WriteResultFile(result);
    return ExitStatusFor(result);
}
