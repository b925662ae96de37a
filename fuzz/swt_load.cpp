// Loading a software text file (.swt) into the software set of a simulated controller of the model
// the file names: the set's common promises, and the threshold preparation a download runs next
// works on whatever the file left.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "SetChecks.h"
#include "SimulatedControllers.h"
#include "params/CParam_SW.h"
#include "params/SwLayout.h"
#include "controller/Controller.h"
#include "core/BuilderOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CController& controller = fuzz::SimulatedController(fuzz::NamedTypeCode(text));
    fuzz::RestoreSets(controller);
    CParam_SW& sw = controller.Sw();
    const auto before = fuzz::ImageOf(sw);

    fuzz::OptionsOf(controller).files.swTextPath = fuzz::WriteScratchFile("input.swt", data, size);
    controller.BeginCommand();
    const bool loaded = sw.LoadTxtFile() != 0;
    fuzz::Expect(controller.TakeCommandLinePath(CommandLineFile::kSwText).empty(),
                 "the file named for one load is kept");
    fuzz::ExpectSoundLoad(sw, before, loaded, SwLayout::kUsedLength);
    if (!loaded) return 0;

    // download_swt derives the thresholds before it writes the set.
    sw.PrepareForDownload();
    fuzz::ExpectUnchanged(sw, before, 4 + SwLayout::kUsedLength, sw.ImageLength(),
                          "threshold preparation beyond the used length");
    return 0;
}
