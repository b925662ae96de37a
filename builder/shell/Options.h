// The builder's process-wide settings, filled from the command line before anything else runs and
// read by every part of the builder (file paths, test values, modes, working folder, device path).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CBuilderLog;

// Bits of BuilderOptions::optionMask.
enum OptionMaskBit : uint16_t {
    kOptionPinFinding = 0x01,       // -Jb bit 0: fast_tune_calib runs pin finding
    kOptionOpenTest = 0x02,         // -Jb bit 1: fast_tune_calib runs the open test
    kOptionShortTest = 0x04,        // -Jb bit 2: fast_tune_calib runs the short test
    kOptionAdjustExtraStep = 0x08,  // -Jb bit 3: adjust_ts spreads the candidate frequencies
    kOptionWorkFolder = 0x10,       // set by -Je
    kOptionDevicePath = 0x20,       // set by -Jf
};

inline constexpr std::size_t kMaxDevicePathLength = 511;  // the device record keeps 512 with NUL

struct BuilderOptions {
    // -cNAME, -j. The pause is on with -j and off again with a later -c.
    std::string commandName;
    bool pauseAtExit = false;

    // Parameter files. -t, -h, -g, -s, -f, and bare arguments by their extension.
    std::string hwTextPath, hwBinPath, hwRegPath;
    std::string swTextPath, swBinPath;
    std::string penTextPath, penBinPath, penRegPath;
    std::string settingsPath;

    // Sensor test values.
    uint16_t mutualThreshold = 60;    // -e
    uint16_t mutualMinRepeat = 1;     // -u
    uint16_t shortMinRepeat = 1;      // -v
    uint16_t openScaling = 0;         // -A, used instead of the hardware set's when nonzero
    uint16_t mutualScaling = 0;       // -B, likewise
    bool openScalingGiven = false;    // -A appeared
    bool mutualScalingGiven = false;  // -B appeared
    uint8_t testFreqA = 255;          // -La; 255 takes it from the parameter sets
    uint8_t testFreqB = 255;          // -Lb
    bool testFreqAGiven = false;
    bool testFreqBGiven = false;
    uint32_t testMask = 0;  // -H, the diagnostic sequence's test selection

    // Uniformity table tool.
    uint8_t uniformityStrength = 1;  // -l (0 becomes 1), -Gu (kept as given)
    uint8_t uniformitySecond = 1;    // -q (0 becomes 1)
    uint8_t toolDisableWarning = 1;  // -C
    uint8_t toolDisableLog = 1;      // -D

    // adjust_alg_th values.
    uint8_t thresholdBlock = 0;    // -Gi
    uint16_t Uniformity = 20;      // -Ga
    uint16_t CookTouchTh = 60;     // -Gc
    uint16_t DeltaTouchTh = 60;    // -Gd
    uint16_t GroupMassTh = 1000;   // -Gg
    uint16_t TouchThFinger = 40;   // -Gt
    uint8_t RawFlatForStray = 13;  // -Gv
    uint8_t RawFlatForPoint = 13;  // -Gx

    // adjust_hw_param values: -EaIN per working frequency I, -EbIKN and -EcIKN per frequency I and
    // entry K.
    std::array<uint8_t, 10> scalingOffsetPerFreq{};
    std::array<std::array<uint8_t, 10>, 10> entryTableB{};
    std::array<std::array<uint8_t, 10>, 10> entryTableC{};

    // -J options; any of them turns fixed-name mode on.
    bool fixedName = false;
    uint16_t resumeMode = 0;   // -Ja: 0x8000
    uint16_t optionMask = 0;   // OptionMaskBit
    bool keepVersion = false;  // -Jc
    bool research = false;     // -Jd
    std::string workFolder;    // -Je, made absolute against the folder current when it was parsed
    std::string devicePath;    // -Jf, at most kMaxDevicePathLength characters
    uint32_t inputReportLength = 64;   // -Jg
    uint32_t outputReportLength = 64;  // -Jh
    uint8_t keptScalingOffset = 0;     // -Js
};

// The one instance of the process.
BuilderOptions& Options();

// Reads a decimal number from the leading characters of a text the way the options are read: an
// optional sign, then digits; 0 without digits (so also when the text starts with a blank). Saturates at the limits of a 32-bit int.
int32_t ParseLeadingInt(const char* text);

// First pass over args[1..]: fills the settings. An unknown letter after "-" logs
// "Unknown Argument.\n" through the log (error colour) and parsing goes on. With enterWorkFolder,
// -Je makes its folder current at once, when it exists.
void ParseOptions(const std::vector<std::string>& args, BuilderOptions& options, CBuilderLog& log,
                  bool enterWorkFolder);

// Second pass over args[1..]: arguments that do not start with "-" become parameter file paths by
// the extension they contain. Returns whether any argument starts with "-".
bool AssignFileArguments(const std::vector<std::string>& args, BuilderOptions& options);
