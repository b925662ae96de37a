#include "shell/Usage.h"

#include <cstring>
#include <string_view>

#include "shell/CommandTable.h"
#include "shell/OptionTable.h"

#ifndef TOVREX_VERSION
#define TOVREX_VERSION "0"
#endif

namespace {

struct Summary {
    const char* name;
    const char* text;
};

constexpr Summary kSummaries[] = {
    {"convert_hbt", "write the hardware text file of a hardware binary file"},
    {"convert_sbt", "write the software text file of a software binary file"},
    {"convert_pbt", "write the stylus text file of a stylus binary file"},
    {"dump_hw", "read the hardware set from the controller into .hw and .hwt files"},
    {"dump_sw", "read the software set from the controller into .sw and .swt files"},
    {"dump_pw", "read the stylus set from the controller into .pw and .pwt files"},
    {"dump_all", "dump the hardware and software sets and write the settings template"},
    {"dump_def", "write the default parameter sets as binary and text files"},
    {"dump_all_def", "write the default sets of every supported model"},
    {"download_hw", "write a hardware binary file to the controller"},
    {"download_hwt", "write a hardware text file to the controller"},
    {"download_hwr", "write a hardware register file to the controller"},
    {"download_sw", "write a software binary file to the controller"},
    {"download_swt", "write a software text file to the controller"},
    {"download_pw", "write a stylus binary file to the controller"},
    {"download_pwt", "write a stylus text file to the controller"},
    {"download_pwr", "write a stylus register file to the controller"},
    {"autotune", "tune the analog front end and store the hardware set"},
    {"test", "run the open and short tests"},
    {"testandtune", "run the open and short tests, then autotune"},
    {"diag", "run the diagnostic sequence selected by -H"},
    {"diag_basic", "run the basic diagnostic tests"},
    {"diag_open", "run the open test"},
    {"diag_short", "run the short test"},
    {"diag_mutual", "run the mutual-capacitance test"},
    {"calibrate", "calibrate the sensor"},
    {"diag_digital", "digital diagnostics (no effect)"},
    {"check_flat", "check the flatness of the sensor image"},
    {"adjust_ts", "adjust the touch signal"},
    {"cal_open", "calibrate the open test"},
    {"adjust_alg_th", "store the -G thresholds into a threshold mode block"},
    {"create_utable", "have the uniformity tool build the uniformity table"},
    {"fast_tune_calib", "fast tuning and calibration (-Jb selects the steps)"},
    {"struct_info", "write the builder's and the controller's set versions to StructInfo"},
    {"set_pin", "find the sensor's pin ranges and store them"},
    {"detect_noise", "scan the noise spectrum"},
    {"adjust_hw_param", "apply the -E values to the hardware set and store it"},
};

constexpr ExitStatusRow kExitStatuses[] = {
    {0, 0x00000000, "success"},
    {1, 0x00000001, "another instance is running, or the controller could not be initialised"},
    {2, 0x80000000, "no option given"},
    {3, 0x00004001, "unknown command"},
    {4, 0x00004004, "a parameter set of the controller is newer than the builder's"},
    {5, 0x0000400A, "the menu ended because the controller was disconnected"},
    {6, 0x0000400B, "the menu ended with Q"},
    {7, 0x0000400C, "the controller's working mode could not be switched"},
    {8, 0x80000001, "the command failed (TOVREX_RESULT_FILE receives the full code)"},
    {9, 0x00004002, "any other result"},
};

constexpr struct {
    const char* name;
    const char* text;
} kEnvironment[] = {
    {"DEVLINK", "controller backend; sim:MODEL (sim:K7P100) or sim:FILE simulates one"},
    {"DEVLINK_SIM_STATE", "file that keeps the simulated controller's stored sets between runs"},
    {"DEVLINK_SIM_TRUTH", "file the simulated panel writes its ground truth to"},
    {"DEVLINK_SIM_PACE", "fs or hs: pace the simulated reports like a USB link"},
    {"DEVLINK_SIM_TRACE", "file the simulated controller writes one line per request to"},
    {"TOVREX_RESULT_FILE", "file that receives the full result code (0x%08X) at exit"},
    {"NO_COLOR", "set: no colours on the console"},
};

void Column(std::string& text, std::string_view left, std::string_view right) {
    constexpr std::size_t kWidth = 22;
    std::string line = "  ";
    line += left;
    line += line.size() < kWidth ? std::string(kWidth - line.size(), ' ') : std::string("  ");
    text += line;
    text += right;
    text += '\n';
}

void AppendOptions(std::string& text) {
    const char* group = "";
    for (const OptionRow& row : OptionRows()) {
        if (std::strcmp(group, row.group) != 0) {
            group = row.group;
            text += "\n";
            text += group;
            text += ":\n";
        }
        Column(text, std::string("-") + row.letter + row.sub + row.argument, row.summary);
    }
}

}  // namespace

const char* CommandSummary(const std::string& name) {
    for (const Summary& s : kSummaries) {
        if (name == s.name) return s.text;
    }
    return nullptr;
}

std::span<const ExitStatusRow> ExitStatusRows() {
    return kExitStatuses;
}

std::string VersionText() {
    return std::string("TovrexBuilder4 ") + TOVREX_VERSION + "\n";
}

std::string UsageText() {
    std::string text =
        "Usage: TovrexBuilder4 [OPTION]... [FILE]...\n"
        "Runs one command against the one attached touch controller, or the interactive menu.\n"
        "Every option is one argument, its value written right after the letters (-cdump_all,\n"
        "-Je/tmp/work). A FILE argument names a parameter file by its extension:\n"
        ".hwt, .hwr, .hw, .swt, .sw, .pwt, .pwr or .pw.\n"
        "\n"
        "  --help              show this help and exit\n"
        "  --version           show the version and exit\n";
    AppendOptions(text);
    text += "\nCommands (-cNAME):\n";
    for (const CommandEntry& entry : CCommandTable::Entries()) {
        const char* summary = CommandSummary(entry.name);
        Column(text, entry.name, summary != nullptr ? summary : "");
    }
    text += "\nEnvironment:\n";
    for (const auto& variable : kEnvironment) Column(text, variable.name, variable.text);
    text += "\nExit status:\n";
    for (const ExitStatusRow& row : kExitStatuses) {
        Column(text, std::to_string(row.status), row.meaning);
    }
    return text;
}

std::optional<std::string> InformationRequest(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help") return UsageText();
        if (args[i] == "--version") return VersionText();
    }
    return std::nullopt;
}
