// Loading a tuning and test settings file (.ini) for a simulated controller: every setting the
// tuning and the sensor tests loop over or index with ends inside its range, whatever the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "SimulatedControllers.h"
#include "params/CParam.h"
#include "params/CParam_INI.h"
#include "controller/Controller.h"
#include "core/BuilderOptions.h"

namespace {

void ExpectTargets(const TuneTargets& t, const std::string& scan) {
    fuzz::Expect(t.adTarget <= 128 && t.adUpperLimit <= 128, scan + " AD level above 128");
    fuzz::Expect(t.touchPercent >= 1 && t.touchPercent <= 50, scan + " Touch% out of range");
    fuzz::Expect(t.rsTarget <= 15, scan + " RS target above 15");
    fuzz::Expect(t.signalLevel <= 30 * 20, scan + " signal level out of range");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CController& controller = fuzz::SimulatedController(fuzz::NamedTypeCode(text));
    fuzz::OptionsOf(controller).files.settingsPath = fuzz::WriteScratchFile("input.ini", data, size);
    // A fresh set for every input: nothing of an earlier input carries over.
    CParam_INI ini(&controller);
    fuzz::Expect(ini.InitFileName() != 0, "the settings file cannot be named");
    fuzz::Expect(ini.LoadTxtFile() == kParamOk, "an existing settings file is not read");

    const IniSettings& s = ini.Settings();
    fuzz::Expect(s.numsOfFreq >= 1 && s.numsOfFreq <= kIniWorkingFreqs, "NumsOfFreq");
    fuzz::Expect(s.usableFreqCount <= kIniWorkingFreqs, "usable frequency count");
    for (int i = 0; i < kIniWorkingFreqs; ++i)
        fuzz::Expect(ini.WorkingFreq(i) >= -1, "WorkingFreq" + std::to_string(i) + " below -1");
    fuzz::Expect(s.tuningRule >= 0 && s.tuningRule <= 10, "TuningRule");
    ExpectTargets(s.image, "image");
    ExpectTargets(s.waterLineRx, "water-line Rx");
    ExpectTargets(s.waterLineTx, "water-line Tx");
    fuzz::Expect(s.openTestGetTimes >= 1 && s.openTestGetTimes <= 255, "OpenTestGetTimes");
    fuzz::Expect(s.shortTestGetTimes >= 1 && s.shortTestGetTimes <= 255, "ShortTestGetTimes");
    fuzz::Expect(s.mutualCapTestGetTimes >= 1 && s.mutualCapTestGetTimes <= 255,
                 "MutualCapTestGetTimes");
    fuzz::Expect(s.shortTestThreshold >= 0 && s.shortTestThreshold <= 128, "ShortTestThreshold");
    for (int chip = 0; chip < kIniFpcChips; ++chip) {
        const FpcTestRange r = ini.FPCTestRange(chip);
        fuzz::Expect(r.rxStart >= 0 && r.rxEnd >= 0 && r.txStart >= 0 && r.txEnd >= 0,
                     "a negative flexible-cable test channel");
        // A range that ends before it starts turns the test off instead of being kept.
        fuzz::Expect(r.rxStart <= r.rxEnd && r.txStart <= r.txEnd,
                     "a flexible-cable test range that ends before it starts");
    }
    return 0;
}
