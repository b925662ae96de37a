#include "shell/Uniformity.h"

#include <filesystem>

#include "controller/Controller.h"
#include "core/BuilderLog.h"
#include "params/CParam_INI.h"
#include "params/CParam_SW.h"
#include "platform/Process.h"

namespace {

namespace fs = std::filesystem;

// The tool in the current folder: the Windows name first, then the same name without ".exe".
bool FindTool(fs::path& program) {
    std::error_code ec;
    const fs::path folder = fs::current_path(ec);
    if (ec) return false;
    const std::string name = kUniformityToolName;
    for (const std::string& candidate : {name, name.substr(0, name.size() - 4)}) {
        const fs::path path = folder / candidate;
        if (fs::is_regular_file(path, ec)) {
            program = path;
            return true;
        }
    }
    return false;
}

// Changes the current folder for the time of the tool when fixed-name mode put the working folder
// elsewhere, and always changes it back.
class ScopedToolFolder {
  public:
    explicit ScopedToolFolder(const BuilderOptions& options) {
        if (!options.fixed.fixedName || options.fixed.workFolder.empty()) return;
        std::error_code ec;
        previous_ = fs::current_path(ec);
        if (ec) return;
        fs::current_path(options.folders.programFolder, ec);
        changed_ = !ec;
    }
    ~ScopedToolFolder() {
        std::error_code ec;
        if (changed_) fs::current_path(previous_, ec);
    }
    ScopedToolFolder(const ScopedToolFolder&) = delete;
    ScopedToolFolder& operator=(const ScopedToolFolder&) = delete;

  private:
    fs::path previous_;
    bool changed_ = false;
};

}  // namespace

std::vector<std::string> UniformityArguments(const BuilderOptions& options, int secondValue,
                                             int strength) {
    std::vector<std::string> args = {"-cCreateUniformityTable", "-v" + std::to_string(secondValue),
                                     "-t" + std::to_string(options.uniformity.second),
                                     "-s" + std::to_string(strength)};
    if (options.uniformity.disableWarning != 0) args.push_back("-disableWarning");
    if (options.uniformity.disableLog != 0) args.push_back("-disableLog");
    args.push_back("-disablemsBox");
    if (options.fixed.research && !options.device.devicePath.empty()) {
        // The path travels as one argument, blanks and all.
        args.push_back("-dn" + options.device.devicePath);
        args.push_back("-dil" + std::to_string(options.device.inputReportLength));
        args.push_back("-dol" + std::to_string(options.device.outputReportLength));
        args.push_back("-LogInMyDoc");
    }
    return args;
}

bool RunUniformityTool(const std::vector<std::string>& arguments, int& exitCode) {
    fs::path program;
    if (!FindTool(program)) return false;
    const platform::ProgramResult result = platform::RunProgram(program, arguments);
    // A tool that was killed built no table: that is a failure, not an unknown exit code.
    if (result.outcome != platform::ProgramResult::Outcome::kExited) return false;
    exitCode = result.exitCode;
    return true;
}

uint32_t BuildUniformityTable(CController& controller) {
    const BuilderOptions& options = controller.Options();
    const int strength = controller.UniformityRequested() ? 100 : controller.Ini().Uniformity();
    int secondValue = options.uniformity.strength;
    if (options.uniformity.strength == 1) {
        const int fromSet = controller.Sw().UniformityParameter();
        secondValue = fromSet > 9 ? fromSet / 2 : 0;
    }
    const auto arguments = UniformityArguments(options, secondValue, strength);

    int exitCode = 0;
    bool started = false;
    {
        ScopedToolFolder folder(options);
        started = RunUniformityTool(arguments, exitCode);
    }
    if (!started) {
        TestLog().Print(kColourError, kRouteBoth, "Create Uniformity Table Fail\n");
        return 0x15;
    }
    switch (exitCode) {
        case 0:
            TestLog().Print(kColourSuccess, kRouteBoth, "\nCreate Uniformity Table Success\n");
            return 0;
        case -1:
            TestLog().Print(kColourError, kRouteBoth, "Disable AutoFreq Fail!\n");
            return 0x12;
        case -2:
            TestLog().Print(kColourError, kRouteBoth, "Wait Data Timeout!\n");
            return 0x13;
        case -3:
            TestLog().Print(kColourError, kRouteBoth, "Uniformity Fail (Point is too much)!\n");
            return 0x14;
        case -4:
            TestLog().Print(kColourError, kRouteBoth, "Save Table to FW Fail!\n");
            return 0x11;
        default:
            return 0;  // the tool's other codes carry no failure
    }
}
