// The builder's settings from the command line: file paths, test values, modes, working folder,
// device path. Parsed once at start-up (shell/Options.h); the controller and the log read them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

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

// adjust_hw_param values: -EaIN per working frequency I, -EbIKN and -EcIKN per frequency I and
// entry K.
struct HwAdjustOptions {
    std::array<uint8_t, 10> scalingOffsetPerFreq{};
    std::array<std::array<uint8_t, 10>, 10> entryTableB{};
    std::array<std::array<uint8_t, 10>, 10> entryTableC{};
};

// -cNAME, -j. The pause is on with -j and off again with a later -c.
struct CommandOptions {
    std::string commandName;
    bool pauseAtExit = false;
};

// Parameter files: -t, -h, -g, -s, -f, and bare arguments by their extension. Empty when not
// given.
struct FileOptions {
    std::string hwTextPath, hwBinPath, hwRegPath;
    std::string swTextPath, swBinPath;
    std::string penTextPath, penBinPath, penRegPath;
    std::string settingsPath;
};

// Sensor test values.
struct SensorTestOptions {
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
};

// The uniformity table tool.
struct UniformityOptions {
    uint8_t strength = 1;        // -l (0 becomes 1), -Gu (kept as given)
    uint8_t second = 1;          // -q (0 becomes 1)
    uint8_t disableWarning = 1;  // -C
    uint8_t disableLog = 1;      // -D
};

// The threshold values adjust_alg_th stores into one threshold mode block (-Gi, -Ga, -Gc, -Gd,
// -Gg, -Gt, -Gv, -Gx).
struct ThresholdOptions {
    uint8_t block = 0;
    uint16_t Uniformity = 20;
    uint16_t CookTouchTh = 60;
    uint16_t DeltaTouchTh = 60;
    uint16_t GroupMassTh = 1000;
    uint16_t TouchThFinger = 40;
    uint8_t RawFlatForStray = 13;
    uint8_t RawFlatForPoint = 13;
};

// The -J options; any of them turns fixed-name mode on.
struct FixedNameOptions {
    bool fixedName = false;
    uint16_t resumeMode = 0;   // -Ja: 0x8000, the working mode the firmware restarts into at exit
    uint16_t optionMask = 0;   // OptionMaskBit
    bool keepVersion = false;  // -Jc
    bool research = false;     // -Jd
    std::string workFolder;    // -Je, made absolute against the folder current when it was parsed
    uint8_t keptScalingOffset = 0;  // -Js
};

// The device given instead of enumeration (-Jf, at most kMaxDevicePathLength characters), with
// its report lengths (-Jg, -Jh).
struct DeviceOptions {
    std::string devicePath;
    uint32_t inputReportLength = 64;
    uint32_t outputReportLength = 64;
};

// Not options but where they lead: set by start-up once it has entered the working folder.
struct FolderOptions {
    std::string workingFolder;  // parameter files, logs and "StructInfo" go here; ends with '/'
    std::string programFolder;  // the program's own; ends with '/'
};

struct BuilderOptions {
    CommandOptions command;
    FileOptions files;
    SensorTestOptions sensorTest;
    UniformityOptions uniformity;
    ThresholdOptions thresholds;
    HwAdjustOptions hwAdjust;
    FixedNameOptions fixed;
    DeviceOptions device;
    FolderOptions folders;
};
