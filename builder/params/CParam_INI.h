// The tuning and test settings: which scans the auto-tuning tunes, on which working frequencies
// and towards which signal targets, and the repeat counts, thresholds and channel ranges of the
// sensor tests. They live in a settings file (.ini) beside the builder, never in the controller:
// the set has no image, no binary and no register file.
//
// Loading derives several settings instead of copying them (the AD targets, the RS target, the
// signal level, the usable working frequencies, the tuning flags); the accessors return the
// derived values. Nothing writes the settings after a load.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "params/CParam.h"

// The values a new settings file is written with (the template, see SaveTxtFile).
enum tagINIDefault : int {
    kIniDefaultNumsOfFreq = 1,
    kIniDefaultFirstWorkingFreq = 9,   // WorkingFreq0
    kIniDefaultOtherWorkingFreq = -1,  // WorkingFreq1 to WorkingFreq4: no frequency
    kIniDefaultTuningRule = 0,
    kIniDefaultEnableImageTune = 1,
    kIniDefaultAdLevel = 15,
    kIniDefaultTouch = 10,
    kIniDefaultSignalLevel = 10,
    kIniDefaultNoiseResist = 7,
    kIniDefaultTurnOffMonitor = 0,
    kIniDefaultFpcTestChannel = 0,
};

// Bits of the tuning flags.
inline constexpr uint32_t kTuneImage = 1u << 0;
inline constexpr uint32_t kTuneWaterLineRx = 1u << 1;
inline constexpr uint32_t kTuneWaterLineTx = 1u << 2;

// Tuning rules; research mode always tunes with rule 3.
inline constexpr int32_t kTuningRuleRefCenter = 0;
inline constexpr int32_t kTuningRuleRefAll = 1;
inline constexpr int32_t kTuningRuleResearch = 3;

inline constexpr int kIniWorkingFreqs = 5;
inline constexpr int kIniFpcChips = 2;

// The signal targets of one scan (image, water-line Rx, water-line Tx).
struct TuneTargets {
    uint8_t adTarget = 15;      // AFE level the gain search aims at, of 128
    uint8_t adUpperLimit = 80;  // AFE level the search must not pass
    uint8_t touchPercent = 10;  // Touch%
    uint8_t rsTarget = 7;       // 15 - NoiseResist, within the chip's RS range
    uint16_t signalLevel = 10;  // SignalLevel x 20 once loaded

    bool operator==(const TuneTargets&) const = default;
};

// The channel range of the flexible-cable test on one chip.
struct FpcTestRange {
    int32_t rxStart = 0, rxEnd = 0, txStart = 0, txEnd = 0;

    bool operator==(const FpcTestRange&) const = default;
};

// Every setting, with its value before any file is loaded.
struct IniSettings {
    int32_t openTestGetTimes = 1;
    int32_t mutualCapTestGetTimes = 1;
    int32_t shortTestGetTimes = 1;
    int32_t shortTestThreshold = 30;
    int32_t noiseSpectrumGetTimes = 1;
    int32_t openTestThreshold2 = 30;
    std::array<FpcTestRange, kIniFpcChips> fpcTest{};
    uint8_t forceCalibration = 0;
    uint8_t calTolerance = 20;
    int32_t turnOffMonitor = 0;
    uint32_t tuningFlags = 0;
    int32_t tuningRule = kTuningRuleRefCenter;
    uint8_t numsOfFreq = 1;
    std::array<int8_t, kIniWorkingFreqs> workingFreq{};
    uint8_t usableFreqCount = 0;  // WorkingFreq indexes above 0 and below the table size
    TuneTargets image{15, 80, 10, 7, 10};
    TuneTargets waterLineRx{15, 80, 10, 10, 10};
    TuneTargets waterLineTx{15, 80, 10, 7, 10};
    uint8_t uniformityTolerance = 70;

    bool operator==(const IniSettings&) const = default;
};

class CParam_INI : public CParam {
  public:
    explicit CParam_INI(CController* owner) : CParam(owner, 0, 0) {}

    int GetAppParamVersion() override { return 0; }
    int GetParamVersion() override { return 0; }
    // "<project>_<product number>.ini" ("GXXX_C000.ini" with fixed names); a settings file named
    // on the command line replaces it for the rest of the run.
    int InitFileName() override;
    int InitDefaultFileName() override;
    int LoadDefault() override { return 1; }  // nothing to fill
    // 0 after reading; 14 when the file is missing (a template is written in its place, and with
    // fixed names the load goes on with that template); 15, with "Cannot Create File: %s", when
    // something that is not a readable file stands at the path.
    int LoadTxtFile() override;
    // Writes the template of default settings, never the current ones. 0 also when the file
    // exists already (it is left untouched); 15 when it cannot be written, also when something
    // that is not a readable file (a folder, a device) stands at the path.
    int SaveTxtFile() override;
    int LoadRegFile() override { return 0; }
    int SaveRegFile() override { return 0; }

    // The settings file's path: a relative name in the working folder, an absolute one as given.
    std::string SettingsPath();

    const IniSettings& Settings() const { return settings_; }

    // ---- Sensor tests ------------------------------------------------------------------------
    int32_t OpenTestGetTimes() const { return settings_.openTestGetTimes; }
    int32_t MutualCapTestGetTimes() const { return settings_.mutualCapTestGetTimes; }
    int32_t ShortTestGetTimes() const { return settings_.shortTestGetTimes; }
    int32_t ShortTestThreshold() const { return settings_.shortTestThreshold; }
    int32_t NoiseSpectrumGetTimes() const { return settings_.noiseSpectrumGetTimes; }
    int32_t OpenTestThreshold2() const { return settings_.openTestThreshold2; }
    // Chip 0 or 1; any other chip has no range (all 0).
    FpcTestRange FPCTestRange(int chip) const;
    uint8_t ForceCalibration() const { return settings_.forceCalibration; }
    uint8_t CalTolerance() const { return settings_.calTolerance; }
    int32_t TurnOffMonitor() const { return settings_.turnOffMonitor; }
    uint8_t UniformityTolerance() const { return settings_.uniformityTolerance; }
    // The uniformity strength the uniformity tool gets: the uniformity tolerance.
    int Uniformity() const { return settings_.uniformityTolerance; }

    // ---- Tuning -------------------------------------------------------------------------------
    uint32_t TuningFlags() const { return settings_.tuningFlags; }
    bool IsImageTuneOn() const { return (settings_.tuningFlags & kTuneImage) != 0; }
    bool IsWaterLineTuneOn() const {
        return (settings_.tuningFlags & (kTuneWaterLineRx | kTuneWaterLineTx)) != 0;
    }
    int32_t TuningRule() const { return settings_.tuningRule; }
    uint8_t NumsOfFreq() const { return settings_.numsOfFreq; }
    // Index 0 to 4 into the main MCU's frequency table, -1 for none (also for any other i).
    int8_t WorkingFreq(int i) const;
    uint8_t UsableFreqCount() const { return settings_.usableFreqCount; }
    const TuneTargets& ImageTargets() const { return settings_.image; }
    const TuneTargets& WLRxTargets() const { return settings_.waterLineRx; }
    const TuneTargets& WLTxTargets() const { return settings_.waterLineTx; }

  private:
    void ReadTuningSections(CParamFile& file);
    void ReadTargets(CParamFile& file, const char* section, const char* prefix,
                     TuneTargets& targets);
    void ReadSensorTestSection(CParamFile& file);
    void ReadFpcTestRanges(CParamFile& file);
    void WriteTemplate(CParamFile& file);
    // Something other than a readable regular file stands at the path: neither settings to load
    // nor a place for the template.
    static bool PathTaken(const std::string& path);

    IniSettings settings_;
};
