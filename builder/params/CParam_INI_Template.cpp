// The template a new settings file starts from: the default settings and, for the reader, the main
// MCU's frequency table that the WorkingFreq indexes point into.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/BuilderLog.h"
#include "device/CMCU.h"
#include "files/CParamFile.h"
#include "params/CParam_INI.h"
#include "params/IniSections.h"

using namespace ini;

namespace {

std::string Bracketed(const char* section) {
    return std::string("[") + section + "]";
}

}  // namespace

// Anything at the path that is not a readable file (a folder, a device, a file we cannot read, a
// dangling link, a path we cannot even look at) is in the way: the template never takes its place.
bool CParam_INI::PathTaken(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return false;
    return !CParamFile(path).Exists();
}

int CParam_INI::SaveTxtFile() {
    const std::string path = SettingsPath();
    CParamFile file(path);
    const bool taken = PathTaken(path);
    if (!taken && file.Exists()) {
        MainLog().Printf(kColourNormal, kRouteBoth, "File Exist: %s\n", path.c_str());
        return kParamOk;
    }
    if (taken || !file.OpenWrite()) {
        MainLog().Printf(kColourError, kRouteBoth, "Cannot Create File: %s\n", path.c_str());
        return kParamCannotCreateText;
    }
    WriteTemplate(file);
    if (!file.Close()) {  // a failed write leaves no file behind
        MainLog().Printf(kColourError, kRouteBoth, "Cannot Create File: %s\n", path.c_str());
        return kParamCannotCreateText;
    }
    MainLog().Printf(kColourNormal, kRouteBoth, "Write %s success!\n", path.c_str());
    return kParamOk;
}

void CParam_INI::WriteTemplate(CParamFile& file) {
    const char* section = kTuningSection;
    file.WriteLine(Bracketed(section), kLevelBasic);
    file.WriteItem(int32_t{kIniDefaultNumsOfFreq}, kLevelBasic, section, "NumsOfFreq", "", "");
    for (int i = 0; i < kIniWorkingFreqs; ++i) {
        const int32_t index = i == 0 ? kIniDefaultFirstWorkingFreq : kIniDefaultOtherWorkingFreq;
        file.WriteItem(index, kLevelBasic, section, IndexedKey("WorkingFreq%d", i), "", "");
    }
    file.WriteLine(" ", kLevelBasic);

    section = kResearchSection;
    file.WriteLine(Bracketed(section), kLevelDetail);
    file.WriteItem(int32_t{kIniDefaultTuningRule}, kLevelDetail, section, "TuningRule", "0~1",
                   "0: RefCenter, 1:RefAll");
    file.WriteLine("", kLevelDetail);

    section = kImageSection;
    file.WriteLine(Bracketed(section), kLevelBasic);
    file.WriteItem(int32_t{kIniDefaultEnableImageTune}, kLevelBasic, section, "EnableImageTune", "",
                   "");
    file.WriteItem(int32_t{kIniDefaultAdLevel}, kLevelBasic, section, "AD_Level%", "10~50", "");
    file.WriteItem(int32_t{kIniDefaultTouch}, kLevelBasic, section, "Touch%", "3~30", "");
    file.WriteItem(int32_t{kIniDefaultSignalLevel}, kLevelBasic, section, "SignalLevel", "1~20",
                   "");
    file.WriteItem(int32_t{kIniDefaultNoiseResist}, kLevelBasic, section, "NoiseResist", "1~14",
                   "");
    file.WriteLine("", kLevelBasic);

    section = kSensorTestSection;
    file.WriteLine(Bracketed(section), kLevelBasic);
    file.WriteItem(int32_t{kIniDefaultTurnOffMonitor}, kLevelBasic, section, "TurnOffMonitor", "",
                   "");
    for (int chip = 0; chip < kIniFpcChips; ++chip) {
        for (const char* key :
             {"FPCTestRxStart(%d)", "FPCTestRxEnd(%d)", "FPCTestTxStart(%d)", "FPCTestTxEnd(%d)"}) {
            file.WriteItem(int32_t{kIniDefaultFpcTestChannel}, kLevelDetail, section,
                           IndexedKey(key, chip), "", "");
        }
    }
    file.WriteLine("", kLevelBasic);

    // Not read back: it shows which frequency each WorkingFreq index stands for.
    section = kFrequencyIndexSection;
    file.WriteLine(Bracketed(section), kLevelBasic);
    CMCU& mcu = Host()->Mcu();
    const int count = mcu.GetFreqCount();
    for (int k = 0; k < count; ++k) {
        uint8_t clock = 0, prescaler = 0, divider = 0;
        mcu.GetFreqSetting(k, clock, prescaler, divider);
        char frequency[32];
        std::snprintf(frequency, sizeof frequency, "%.2fKHz",
                      static_cast<double>(mcu.CalcFrequency(clock, prescaler, divider)));
        char setting[48];
        std::snprintf(setting, sizeof setting, "%d, %d, %d", clock, divider, prescaler);
        file.WriteItem(frequency, kLevelBasic, section, std::to_string(k), "", setting);
    }
    file.WriteLine("", kLevelBasic);
}
