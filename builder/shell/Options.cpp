#include "shell/Options.h"

#include <cstdint>
#include <filesystem>
#include <limits>

#include "core/BuilderLog.h"
#include "shell/OptionTable.h"

namespace {

uint8_t U8(const char* value) {
    return static_cast<uint8_t>(ParseLeadingInt(value));
}
uint16_t U16(const char* value) {
    return static_cast<uint16_t>(ParseLeadingInt(value));
}
uint32_t U32(const char* value) {
    return static_cast<uint32_t>(ParseLeadingInt(value));
}

// -l and -q: 0 is not a useful value and becomes 1.
uint8_t U8NotZero(const char* value) {
    const uint8_t v = U8(value);
    return v == 0 ? 1 : v;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// -G: adjust_alg_th values and the uniformity strength. Unknown letters are ignored.
void ParseG(char letter, const char* value, BuilderOptions& o) {
    switch (letter) {
        case 'i':
            o.thresholds.block = U8(value);
            break;
        case 'a':
            o.thresholds.Uniformity = U16(value);
            break;
        case 'c':
            o.thresholds.CookTouchTh = U16(value);
            break;
        case 'd':
            o.thresholds.DeltaTouchTh = U16(value);
            break;
        case 'g':
            o.thresholds.GroupMassTh = U16(value);
            break;
        case 't':
            o.thresholds.TouchThFinger = U16(value);
            break;
        case 'v':
            o.thresholds.RawFlatForStray = U8(value);
            break;
        case 'x':
            o.thresholds.RawFlatForPoint = U8(value);
            break;
        case 'u':
            o.uniformity.strength = U8(value);
            break;
        default:
            break;
    }
}

// -EaIN, -EbIKN, -EcIKN: I and K must be digits, else the argument is ignored (a table index).
void ParseE(const std::string& arg, BuilderOptions& o) {
    const char table = arg.size() > 2 ? arg[2] : '\0';
    if (arg.size() < 4 || !IsDigit(arg[3])) return;
    const int freq = arg[3] - '0';
    if (table == 'a') {
        o.hwAdjust.scalingOffsetPerFreq[freq] = U8(arg.c_str() + 4);
        return;
    }
    if ((table != 'b' && table != 'c') || arg.size() < 5 || !IsDigit(arg[4])) return;
    const int entry = arg[4] - '0';
    auto& values = table == 'b' ? o.hwAdjust.entryTableB : o.hwAdjust.entryTableC;
    values[freq][entry] = U8(arg.c_str() + 5);
}

// -J: every one turns fixed-name mode on; unknown letters are ignored after that.
void ParseJ(const std::string& arg, BuilderOptions& o, bool enterWorkFolder) {
    o.fixed.fixedName = true;
    const char letter = arg.size() > 2 ? arg[2] : '\0';
    const char* value = arg.size() > 2 ? arg.c_str() + 3 : "";
    switch (letter) {
        case 'a':
            o.fixed.resumeMode = 0x8000;
            break;
        case 'b':
            o.fixed.optionMask = static_cast<uint16_t>(o.fixed.optionMask | U16(value));
            break;
        case 'c':
            o.fixed.keepVersion = true;
            break;
        case 'd':
            o.fixed.research = true;
            break;
        case 'e': {
            o.fixed.optionMask |= kOptionWorkFolder;
            std::error_code ec;
            const std::filesystem::path folder(value);
            o.fixed.workFolder =
                folder.empty() ? std::string() : std::filesystem::absolute(folder, ec).string();
            if (ec) o.fixed.workFolder = value;
            if (enterWorkFolder && !o.fixed.workFolder.empty() &&
                std::filesystem::is_directory(o.fixed.workFolder, ec)) {
                std::filesystem::current_path(o.fixed.workFolder, ec);
            }
            break;
        }
        case 'f':
            o.fixed.optionMask |= kOptionDevicePath;
            o.device.devicePath = std::string(value).substr(0, kMaxDevicePathLength);
            break;
        case 'g':
            o.device.inputReportLength = U32(value);
            break;
        case 'h':
            o.device.outputReportLength = U32(value);
            break;
        case 's':
            o.fixed.keptScalingOffset = U8(value);
            break;
        default:
            break;
    }
}

// -La, -Lb: the test frequency choices.
void ParseL(const std::string& arg, BuilderOptions& o) {
    const char letter = arg.size() > 2 ? arg[2] : '\0';
    const char* value = arg.size() > 2 ? arg.c_str() + 3 : "";
    if (letter == 'a') {
        o.sensorTest.testFreqA = U8(value);
        o.sensorTest.testFreqAGiven = true;
    } else if (letter == 'b') {
        o.sensorTest.testFreqB = U8(value);
        o.sensorTest.testFreqBGiven = true;
    }
}

// One argument that starts with "-"; false when its letter is unknown. The option table says which
// letters are known, so --help shows exactly the options parsed here.
bool ParseOne(const std::string& arg, BuilderOptions& o, bool enterWorkFolder) {
    const char letter = arg.size() > 1 ? arg[1] : '\0';
    const char* value = arg.size() > 1 ? arg.c_str() + 2 : "";
    if (!IsOptionLetter(letter)) return false;
    switch (letter) {
        case 'c':
            o.command.commandName = value;
            o.command.pauseAtExit = false;
            break;
        case 'j':
            o.command.pauseAtExit = true;
            break;
        case 't':
            o.files.hwTextPath = value;
            break;
        case 'h':
            o.files.hwBinPath = value;
            break;
        case 'g':
            o.files.swTextPath = value;
            break;
        case 's':
            o.files.swBinPath = value;
            break;
        case 'f':
            o.files.settingsPath = value;
            break;
        case 'e':
            o.sensorTest.mutualThreshold = U16(value);
            break;
        case 'u':
            o.sensorTest.mutualMinRepeat = U16(value);
            break;
        case 'v':
            o.sensorTest.shortMinRepeat = U16(value);
            break;
        case 'A':
            o.sensorTest.openScaling = U16(value);
            o.sensorTest.openScalingGiven = true;
            break;
        case 'B':
            o.sensorTest.mutualScaling = U16(value);
            o.sensorTest.mutualScalingGiven = true;
            break;
        case 'L':
            ParseL(arg, o);
            break;
        case 'H':
            o.sensorTest.testMask = U32(value);
            break;
        case 'l':
            o.uniformity.strength = U8NotZero(value);
            break;
        case 'q':
            o.uniformity.second = U8NotZero(value);
            break;
        case 'C':
            o.uniformity.disableWarning = U8(value);
            break;
        case 'D':
            o.uniformity.disableLog = U8(value);
            break;
        case 'G':
            ParseG(arg.size() > 2 ? arg[2] : '\0', arg.size() > 2 ? arg.c_str() + 3 : "", o);
            break;
        case 'E':
            ParseE(arg, o);
            break;
        case 'J':
            ParseJ(arg, o, enterWorkFolder);
            break;
        default:
            break;  // -a, -b, -i, -n: accepted for compatibility, no effect
    }
    return true;
}

}  // namespace

BuilderOptions& Options() {
    static BuilderOptions options;
    return options;
}

int32_t ParseLeadingInt(const char* text) {
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    const char* p = text;  // no blanks skipped: the value is written right after the letter
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > kMax + 1) value = kMax + 1;  // saturated; more digits change nothing
    }
    value = negative ? -value : value;
    if (value > kMax) return static_cast<int32_t>(kMax);
    if (value < kMin) return static_cast<int32_t>(kMin);
    return static_cast<int32_t>(value);
}

void ParseOptions(const std::vector<std::string>& args, BuilderOptions& options, CBuilderLog& log,
                  bool enterWorkFolder) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg[0] != '-') continue;  // a file name; the second pass reads it
        if (!ParseOne(arg, options, enterWorkFolder)) {
            log.Print(kColourError, kRouteBoth, "Unknown Argument.\n");
        }
    }
}

bool AssignFileArguments(const std::vector<std::string>& args, BuilderOptions& options) {
    bool anyOption = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.empty() && arg[0] == '-') {
            // Options keep the value the first pass gave them: "-tC.hwt" names "C.hwt".
            anyOption = true;
            continue;
        }
        const auto has = [&arg](const char* ext) { return arg.find(ext) != std::string::npos; };
        if (has(".hwt")) {
            options.files.hwTextPath = arg;
        } else if (has(".hwr")) {
            options.files.hwRegPath = arg;
        } else if (has(".hw")) {
            options.files.hwBinPath = arg;
        }
        if (has(".swt")) {
            options.files.swTextPath = arg;
        } else if (has(".sw")) {
            options.files.swBinPath = arg;
        }
        if (has(".pwt")) {
            options.files.penTextPath = arg;
        } else if (has(".pwr")) {
            options.files.penRegPath = arg;
        } else if (has(".pw")) {
            options.files.penBinPath = arg;
        }
    }
    return anyOption;
}
