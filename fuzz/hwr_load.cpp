// Loading a hardware register file (.hwr) into the hardware set of a simulated controller of the
// model the file names. A register file holds the mode images of the working frequencies, so a
// load may change those images and the checksum at the front of the set, and nothing else: a
// chip's register loader writing past its 68-byte mode image would land in the next one or in
// another field, where the sanitizers cannot see it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SetChecks.h"
#include "SimulatedControllers.h"
#include "params/CParam_HW.h"
#include "params/HwLayout.h"
#include "controller/Controller.h"
#include "core/BuilderOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CController& controller = fuzz::SimulatedController(fuzz::NamedTypeCode(text));
    fuzz::RestoreSets(controller);
    CParam_HW& hw = controller.Hw();
    const auto before = fuzz::ImageOf(hw);

    fuzz::OptionsOf(controller).files.hwRegPath = fuzz::WriteScratchFile("input.hwr", data, size);
    controller.BeginCommand();
    const bool loaded = hw.LoadRegFile() != 0;
    fuzz::Expect(controller.TakeCommandLinePath(CommandLineFile::kHwRegister).empty(),
                 "the file named for one load is kept");
    // A load that fails half-way keeps what it read so far, so even then only mode images changed.
    std::vector<bool> mayChange(static_cast<std::size_t>(hw.ImageLength()), false);
    for (int i = 0; i < 4; ++i) mayChange[static_cast<std::size_t>(i)] = true;
    for (int f = 0; f < hw.FrequenciesBound(); ++f)
        for (int m = 0; m < hw::kModeGroups; ++m)
            for (int i = 0; i < hw::kModeImageSize; ++i)
                mayChange[static_cast<std::size_t>(hw::ModeImage(f, m) + i)] = true;
    for (int i = 0; i < hw.ImageLength(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!mayChange[at] && hw.Image()[i] != before[at])
            fuzz::Finding("a register file load changed image byte " + std::to_string(i) +
                          ", outside every mode image");
    }
    if (loaded) fuzz::Expect(hw.CalcCheckSum() == hw.Word(2), "a loaded set with a stale checksum");
    return 0;
}
