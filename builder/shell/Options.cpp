#include "shell/Options.h"

#include <cstdint>
#include <filesystem>
#include <limits>

#include "shell/BuilderLog.h"
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
            o.thresholdBlock = U8(value);
            break;
        case 'a':
            o.Uniformity = U16(value);
            break;
        case 'c':
            o.CookTouchTh = U16(value);
            break;
        case 'd':
            o.DeltaTouchTh = U16(value);
            break;
        case 'g':
            o.GroupMassTh = U16(value);
            break;
        case 't':
            o.TouchThFinger = U16(value);
            break;
        case 'v':
            o.RawFlatForStray = U8(value);
            break;
        case 'x':
            o.RawFlatForPoint = U8(value);
            break;
        case 'u':
            o.uniformityStrength = U8(value);
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
        o.scalingOffsetPerFreq[freq] = U8(arg.c_str() + 4);
        return;
    }
    if ((table != 'b' && table != 'c') || arg.size() < 5 || !IsDigit(arg[4])) return;
    const int entry = arg[4] - '0';
    auto& values = table == 'b' ? o.entryTableB : o.entryTableC;
    values[freq][entry] = U8(arg.c_str() + 5);
}

// -J: every one turns fixed-name mode on; unknown letters are ignored after that.
void ParseJ(const std::string& arg, BuilderOptions& o, bool enterWorkFolder) {
    o.fixedName = true;
    const char letter = arg.size() > 2 ? arg[2] : '\0';
    const char* value = arg.size() > 2 ? arg.c_str() + 3 : "";
    switch (letter) {
        case 'a':
            o.resumeMode = 0x8000;
            break;
        case 'b':
            o.optionMask = static_cast<uint16_t>(o.optionMask | U16(value));
            break;
        case 'c':
            o.keepVersion = true;
            break;
        case 'd':
            o.research = true;
            break;
        case 'e': {
            o.optionMask |= kOptionWorkFolder;
            std::error_code ec;
            const std::filesystem::path folder(value);
            o.workFolder =
                folder.empty() ? std::string() : std::filesystem::absolute(folder, ec).string();
            if (ec) o.workFolder = value;
            if (enterWorkFolder && !o.workFolder.empty() &&
                std::filesystem::is_directory(o.workFolder, ec)) {
                std::filesystem::current_path(o.workFolder, ec);
            }
            break;
        }
        case 'f':
            o.optionMask |= kOptionDevicePath;
            o.devicePath = std::string(value).substr(0, kMaxDevicePathLength);
            break;
        case 'g':
            o.inputReportLength = U32(value);
            break;
        case 'h':
            o.outputReportLength = U32(value);
            break;
        case 's':
            o.keptScalingOffset = U8(value);
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
        o.testFreqA = U8(value);
        o.testFreqAGiven = true;
    } else if (letter == 'b') {
        o.testFreqB = U8(value);
        o.testFreqBGiven = true;
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
            o.commandName = value;
            o.pauseAtExit = false;
            break;
        case 'j':
            o.pauseAtExit = true;
            break;
        case 't':
            o.hwTextPath = value;
            break;
        case 'h':
            o.hwBinPath = value;
            break;
        case 'g':
            o.swTextPath = value;
            break;
        case 's':
            o.swBinPath = value;
            break;
        case 'f':
            o.settingsPath = value;
            break;
        case 'e':
            o.mutualThreshold = U16(value);
            break;
        case 'u':
            o.mutualMinRepeat = U16(value);
            break;
        case 'v':
            o.shortMinRepeat = U16(value);
            break;
        case 'A':
            o.openScaling = U16(value);
            o.openScalingGiven = true;
            break;
        case 'B':
            o.mutualScaling = U16(value);
            o.mutualScalingGiven = true;
            break;
        case 'L':
            ParseL(arg, o);
            break;
        case 'H':
            o.testMask = U32(value);
            break;
        case 'l':
            o.uniformityStrength = U8NotZero(value);
            break;
        case 'q':
            o.uniformitySecond = U8NotZero(value);
            break;
        case 'C':
            o.toolDisableWarning = U8(value);
            break;
        case 'D':
            o.toolDisableLog = U8(value);
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
            options.hwTextPath = arg;
        } else if (has(".hwr")) {
            options.hwRegPath = arg;
        } else if (has(".hw")) {
            options.hwBinPath = arg;
        }
        if (has(".swt")) {
            options.swTextPath = arg;
        } else if (has(".sw")) {
            options.swBinPath = arg;
        }
        if (has(".pwt")) {
            options.penTextPath = arg;
        } else if (has(".pwr")) {
            options.penRegPath = arg;
        } else if (has(".pw")) {
            options.penBinPath = arg;
        }
    }
    return anyOption;
}
