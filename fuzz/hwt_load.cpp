// Loading a hardware text file (.hwt) into the hardware set of a simulated controller of the model
// the file names. Besides the set's common promises: every count and range item the file gives
// ends inside its range, and the counts the rest of the builder loops over stay in their bounds.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "SetChecks.h"
#include "SimulatedControllers.h"
#include "params/CParam_HW.h"
#include "params/HwTextKeys.h"
#include "files/ParamIndex.h"
#include "controller/Controller.h"
#include "core/BuilderOptions.h"

namespace {

void ExpectInRange(const CParam_HW& hw, const ParamIndex& file, const char* section,
                   std::span<const hwtext::RangedKey> keys) {
    for (const hwtext::RangedKey& key : keys) {
        if (!file.Find(section, key.key)) continue;
        const int value = key.bits == 16 ? hw.Word(key.offset) : hw.Byte(key.offset);
        if (value < key.readMin || value > key.readMax)
            fuzz::Finding(std::string(key.key) + " loaded as " + std::to_string(value));
    }
}

// An item the file gives ends inside min~max.
void ExpectItemInRange(const ParamIndex& file, const std::string& section, const char* key,
                       int value, int min, int max) {
    if (!file.Find(section, key)) return;
    if (value < min || value > max)
        fuzz::Finding("[" + section + "] " + key + " loaded as " + std::to_string(value));
}

void ExpectFrequenciesInRange(const CParam_HW& hw, const ParamIndex& file) {
    for (int f = 0; f < hw.FrequenciesBound(); ++f) {
        const std::string section = "Freq-" + std::to_string(f) + " General Config-RD";
        ExpectItemInRange(file, section, "ClkSrc", hw.GetClkSrc(f), 0, 4);
        ExpectItemInRange(file, section, "PreScaler", hw.GetPreScaler(f), 12, 37);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CController& controller = fuzz::SimulatedController(fuzz::NamedTypeCode(text));
    fuzz::RestoreSets(controller);
    CParam_HW& hw = controller.Hw();
    const auto before = fuzz::ImageOf(hw);

    fuzz::OptionsOf(controller).files.hwTextPath = fuzz::WriteScratchFile("input.hwt", data, size);
    controller.BeginCommand();
    const bool loaded = hw.LoadTxtFile() != 0;
    fuzz::Expect(controller.TakeCommandLinePath(CommandLineFile::kHwText).empty(),
                 "the file named for one load is kept");
    fuzz::ExpectSoundLoad(hw, before, loaded, CParam_HW::kUsedLength);
    if (!loaded) return 0;

    const ParamIndex file(text);
    ExpectInRange(hw, file, "Sensor Config", hwtext::kSensorConfigHead);
    ExpectInRange(hw, file, "Sensor Config", hwtext::kSensorConfigTail);
    ExpectInRange(hw, file, "Sensor Config-RD", hwtext::kSensorConfigDetail);
    ExpectFrequenciesInRange(hw, file);
    ExpectItemInRange(file, "Key Area-RD", "NumsOfKey", hw.NumsOfKey(), 0, hw::kMaxKeyAreas);
    ExpectItemInRange(file, "Channel Ctrl", "ChannelCtrl", hw.ChannelCtrl(), 0, 1);
    ExpectItemInRange(file, "V-Key Param-RD", "VKeyTxChipsSel", hw.Byte(hw::kVKeyTxChipsSel), 0, 1);
    fuzz::Expect(hw.RxChipsBound() >= 1 && hw.RxChipsBound() <= 4, "Rx chip bound");
    fuzz::Expect(hw.TxChipsBound() >= 1 && hw.TxChipsBound() <= 4, "Tx chip bound");
    fuzz::Expect(hw.FrequenciesBound() >= 1 && hw.FrequenciesBound() <= 5, "frequency bound");
    return 0;
}
