#include "shell/OptionTable.h"

#include <algorithm>

namespace {

constexpr const char* kRun = "Command";
constexpr const char* kFiles = "Parameter files";
constexpr const char* kTests = "Sensor tests";
constexpr const char* kUniformity = "Uniformity table tool";
constexpr const char* kThresholds = "adjust_alg_th thresholds";
constexpr const char* kHwAdjust = "adjust_hw_param values";
constexpr const char* kFixed = "Fixed-name mode (any -J option)";
constexpr const char* kIgnored = "Accepted for compatibility";

constexpr OptionRow kRows[] = {
    {'c', "", kRun, "NAME", "run the command NAME (without -c: the interactive menu)"},
    {'j', "", kRun, "", "wait for a key before exiting (a later -c turns it off)"},
    {'t', "", kFiles, "PATH", "hardware parameter text file (.hwt)"},
    {'h', "", kFiles, "PATH", "hardware parameter binary file (.hw)"},
    {'g', "", kFiles, "PATH", "software parameter text file (.swt)"},
    {'s', "", kFiles, "PATH", "software parameter binary file (.sw)"},
    {'f', "", kFiles, "PATH", "tuning and test settings file (.ini)"},
    {'e', "", kTests, "N", "mutual-capacitance test threshold (default 60)"},
    {'u', "", kTests, "N", "smallest repeat count of the mutual-capacitance test (default 1)"},
    {'v', "", kTests, "N", "smallest repeat count of the short test (default 1)"},
    {'A', "", kTests, "N", "scaling of the open test instead of the hardware set's (0: the set's)"},
    {'B', "", kTests, "N", "scaling of the mutual-capacitance test (0: the set's)"},
    {'L', "a", kTests, "N", "test frequency of the first choice (255: from the parameter sets)"},
    {'L', "b", kTests, "N", "test frequency of the second choice (255: from the parameter sets)"},
    {'H', "", kTests, "N", "test selection mask of the diagnostic sequence"},
    {'l', "", kUniformity, "N", "uniformity-table strength (1: from the software set)"},
    {'q', "", kUniformity, "N", "uniformity-table second value (default 1)"},
    {'C', "", kUniformity, "N", "1: pass -disableWarning to the tool (default 1)"},
    {'D', "", kUniformity, "N", "1: pass -disableLog to the tool (default 1)"},
    {'G', "u", kUniformity, "N", "uniformity-table strength, 0 kept as given"},
    {'G', "i", kThresholds, "N", "threshold mode block to set, 0 to 2"},
    {'G', "a", kThresholds, "N", "Uniformity (default 20)"},
    {'G', "c", kThresholds, "N", "CookTouchTh (default 60)"},
    {'G', "d", kThresholds, "N", "DeltaTouchTh (default 60)"},
    {'G', "g", kThresholds, "N", "GroupMassTh (default 1000)"},
    {'G', "t", kThresholds, "N", "TouchThFinger (default 40)"},
    {'G', "v", kThresholds, "N", "RawFlatForStray (default 13)"},
    {'G', "x", kThresholds, "N", "RawFlatForPoint (default 13)"},
    {'E', "aI", kHwAdjust, "N", "scaling offset of working frequency I (a digit)"},
    {'E', "bIK", kHwAdjust, "N", "value of entry K (a digit) of frequency I in table b"},
    {'E', "cIK", kHwAdjust, "N", "value of entry K (a digit) of frequency I in table c"},
    {'J', "a", kFixed, "", "restart the controller into command mode at exit"},
    {'J', "b", kFixed, "N", "option bits: 1 pin finding, 2 open test, 4 short test, 8 extra step"},
    {'J', "c", kFixed, "", "keep-version mode: keep the version bytes of the parameter sets"},
    {'J', "d", kFixed, "", "research mode"},
    {'J', "e", kFixed, "DIR", "working folder (created when missing) instead of the program's"},
    {'J', "f", kFixed, "PATH", "device path instead of enumeration"},
    {'J', "g", kFixed, "N", "input report length that goes with -Jf (default 64)"},
    {'J', "h", kFixed, "N", "output report length that goes with -Jf (default 64)"},
    {'J', "s", kFixed, "N", "Scaling offset of the kept-Scaling mode"},
    {'a', "", kIgnored, "N", "no effect"},
    {'b', "", kIgnored, "N", "no effect"},
    {'i', "", kIgnored, "", "no effect"},
    {'n', "", kIgnored, "NAME", "no effect"},
};

}  // namespace

std::span<const OptionRow> OptionRows() {
    return kRows;
}

bool IsOptionLetter(char letter) {
    return std::any_of(std::begin(kRows), std::end(kRows),
                       [letter](const OptionRow& row) { return row.letter == letter; });
}
