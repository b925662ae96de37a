#include "params/CParam_INI.h"

#include <algorithm>
#include <filesystem>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "device/CMCU.h"
#include "files/CParamFile.h"
#include "params/IniSections.h"

using namespace ini;

namespace {

// Only this controller has the water-line scans.

}  // namespace

int CParam_INI::InitFileName() {
    // The same project name and product number as the other sets' files, and the same refusal of
    // a model name that cannot name a file.
    if (!BuildFileNames(ParamExtensions{".ini", "", ""})) return 0;
    const std::string& commandLine = Host()->Options().files.settingsPath;
    if (!commandLine.empty()) SetFileNames(commandLine, "", "");
    return 1;
}

int CParam_INI::InitDefaultFileName() {
    const BuilderOptions& options = Host()->Options();
    const char* name = options.fixed.fixedName ? "GXXX_Default.ini" : "K7PXXX_Default.ini";
    SetFileNames(options.files.settingsPath.empty() ? name : options.files.settingsPath, "", "");
    return 1;
}

std::string CParam_INI::SettingsPath() {
    const std::string name = GetTxtFileName();
    // An absolute name from the command line cannot be put after the working folder.
    if (std::filesystem::path(name).is_absolute()) return name;
    return WorkingPath(name);
}

FpcTestRange CParam_INI::FPCTestRange(int chip) const {
    return chip >= 0 && chip < kIniFpcChips ? settings_.fpcTest[static_cast<std::size_t>(chip)]
                                            : FpcTestRange{};
}

int8_t CParam_INI::WorkingFreq(int i) const {
    return i >= 0 && i < kIniWorkingFreqs ? settings_.workingFreq[static_cast<std::size_t>(i)]
                                          : int8_t{-1};
}

int CParam_INI::LoadTxtFile() {
    const std::string path = SettingsPath();
    CParamFile file(path);
    if (file.Exists()) {
        MainLog().Printf(kColourSuccess, kRouteBoth, "Load File: %s Success.\n", path.c_str());
    } else if (PathTaken(path)) {
        // No settings to load and no room for the template: one error, the template's.
        return SaveTxtFile();
    } else {
        MainLog().Printf(kColourError, kRouteBoth, "Cannot Load File: %s\n", path.c_str());
        SaveTxtFile();
        if (!Host()->Options().fixed.fixedName) return kParamCannotOpen;
        // With fixed names the run goes on with the template, but only with one it can read.
        if (!file.Exists()) return kParamCannotOpen;
    }
    ReadTuningSections(file);
    ReadSensorTestSection(file);
    ReadFpcTestRanges(file);
    return kParamOk;
}

void CParam_INI::ReadTuningSections(CParamFile& file) {
    IniSettings& s = settings_;
    file.ReadItemClamped(kTuningSection, "NumsOfFreq", s.numsOfFreq, 1, 5);
    const int tableSize = Host()->Mcu().GetFreqCount();
    s.usableFreqCount = 0;  // counted afresh by every load
    for (int i = 0; i < kIniWorkingFreqs; ++i) {
        int8_t& index = s.workingFreq[static_cast<std::size_t>(i)];
        file.ReadItemClamped(kTuningSection, IndexedKey("WorkingFreq%d", i), index, -1, tableSize);
        // Index 0 is the table's first row, yet it does not count as a usable choice.
        if (index > 0 && index < tableSize) ++s.usableFreqCount;
    }

    file.ReadItemClamped(kResearchSection, "TuningRule", s.tuningRule, 0, 10);
    if (Host()->Options().fixed.research) s.tuningRule = kTuningRuleResearch;

    int32_t enable = 0;
    if (file.ReadItemClamped(kImageSection, "EnableImageTune", enable, 0, 1)) {
        s.tuningFlags = enable == 1 ? s.tuningFlags | kTuneImage : s.tuningFlags & ~kTuneImage;
    }
    ReadTargets(file, kImageSection, "", s.image);

    enable = 0;
    if (file.ReadItemClamped(kWaterLineRxSection, "EnableWaterLineTune", enable, 0, 1) &&
        enable == 1) {
        if (Host()->Model().waterLineTuning) {
            s.tuningFlags |= kTuneWaterLineRx | kTuneWaterLineTx;
        } else {
            MainLog().Print(kColourError, kRouteBoth, "Not Support Water Tuning\n");
        }
    }
    ReadTargets(file, kWaterLineRxSection, "WLRX_", s.waterLineRx);
    ReadTargets(file, kWaterLineTxSection, "WLTX_", s.waterLineTx);
}

// The four target keys of one scan; a missing key keeps its target.
void CParam_INI::ReadTargets(CParamFile& file, const char* section, const char* prefix,
                             TuneTargets& targets) {
    const std::string p = prefix;
    int32_t value = 0;
    if (file.ReadItemClamped(section, p + "AD_Level%", value, 0, 100)) {
        // The percentage of the full AFE level (128); the target itself never passes 80, a
        // higher request becomes the upper limit instead.
        const int target = value == 0 ? 15 : value * 128 / 100;
        targets.adTarget = static_cast<uint8_t>(std::min(target, 80));
        targets.adUpperLimit = static_cast<uint8_t>(std::max(target, 80));
    }
    file.ReadItemClamped(section, p + "Touch%", targets.touchPercent, 1, 50);
    if (file.ReadItemClamped(section, p + "SignalLevel", value, 1, 30)) {
        targets.signalLevel = static_cast<uint16_t>(value * 20);
    }
    if (file.ReadItemClamped(section, p + "NoiseResist", value, 0, 15)) {
        CSlave& chip = Host()->Chip();
        const int rs = std::max(chip.GetRsMin(), std::min(15 - value, chip.GetRsMax()));
        targets.rsTarget = static_cast<uint8_t>(rs);
    }
}

void CParam_INI::ReadSensorTestSection(CParamFile& file) {
    IniSettings& s = settings_;
    file.ReadItemClamped(kSensorTestSection, "ForceCalibration", s.forceCalibration, 0, 255);
    file.ReadItemClamped(kSensorTestSection, "CalTolerance", s.calTolerance, 0, 255);
    file.ReadItemClamped(kSensorTestSection, "TurnOffMonitor", s.turnOffMonitor, 0, 255);
    file.ReadItemClamped(kSensorTestSection, "OpenTestGetTimes", s.openTestGetTimes, 1, 255);
    file.ReadItemClamped(kSensorTestSection, "ShortTestGetTimes", s.shortTestGetTimes, 1, 255);
    file.ReadItemClamped(kSensorTestSection, "MutualCapTestGetTimes", s.mutualCapTestGetTimes, 1,
                         255);
    file.ReadItemClamped(kSensorTestSection, "UniformityTolerance", s.uniformityTolerance, 0, 255);
    file.ReadItemClamped(kSensorTestSection, "NoiseSpectrumGetTimes", s.noiseSpectrumGetTimes, 0,
                         65535);
    file.ReadItemClamped(kSensorTestSection, "OpenTestThreshold2", s.openTestThreshold2, 0, 65535);
    file.ReadItemClamped(kSensorTestSection, "ShortTestThreshold", s.shortTestThreshold, 0, 128);
}

// The flexible-cable test ranges are used whole or not at all: one range that does not fit the
// chip, or ends before it starts, turns the test off on both chips.
void CParam_INI::ReadFpcTestRanges(CParamFile& file) {
    CSlave& chip = Host()->Chip();
    const auto readRange = [&](const char* startKey, const char* endKey, int i, int last,
                               int32_t& start, int32_t& end) {
        file.ReadItemClamped(kSensorTestSection, IndexedKey(startKey, i), start, 0, last);
        file.ReadItemClamped(kSensorTestSection, IndexedKey(endKey, i), end, 0, last);
        return start <= last && end <= last && end >= start;
    };
    for (int i = 0; i < kIniFpcChips; ++i) {
        FpcTestRange& range = settings_.fpcTest[static_cast<std::size_t>(i)];
        const bool rxFits = readRange("FPCTestRxStart(%d)", "FPCTestRxEnd(%d)", i,
                                      chip.GetRxChannelLast(i), range.rxStart, range.rxEnd);
        if (!rxFits || !readRange("FPCTestTxStart(%d)", "FPCTestTxEnd(%d)", i,
                                  chip.GetTxChannelLast(i), range.txStart, range.txEnd)) {
            settings_.fpcTest.fill(FpcTestRange{});
            return;
        }
    }
}
