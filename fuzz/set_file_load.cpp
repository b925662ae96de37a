// Loading a text or register file into one parameter set of a simulated controller of the model
// the file names, with the promises every set's load keeps (see SetChecks.h). One source for any
// set and kind of file; fuzz/CMakeLists.txt makes a target of it with tovrex_fuzz_set_target,
// which defines:
//   FUZZ_SET   the controller's accessor of the set (Hw, Sw, Pen)
//   FUZZ_PATH  the file options field that names the file for one load (penTextPath)
//   FUZZ_KIND  the CommandLineFile through which the load takes that name (kPenText)
//   FUZZ_LOAD  the set's load (LoadTxtFile, LoadRegFile)
//   FUZZ_FILE  the scratch file's name, whose extension the load checks ("input.pwt")
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "SetChecks.h"
#include "SimulatedControllers.h"
#include "params/CParam_HW.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"
#include "controller/Controller.h"
#include "core/BuilderOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CController& controller = fuzz::SimulatedController(fuzz::NamedTypeCode(text));
    fuzz::RestoreSets(controller);
    CParam& set = controller.FUZZ_SET();
    const auto before = fuzz::ImageOf(set);

    fuzz::OptionsOf(controller).files.FUZZ_PATH = fuzz::WriteScratchFile(FUZZ_FILE, data, size);
    controller.BeginCommand();
    const bool loaded = set.FUZZ_LOAD() != 0;
    fuzz::Expect(controller.TakeCommandLinePath(CommandLineFile::FUZZ_KIND).empty(),
                 "the file named for one load is kept");
    // A load starts by storing the set's used length at the front; nothing past it may change.
    fuzz::ExpectSoundLoad(set, before, loaded, loaded ? set.Word(0) : 0);
    return 0;
}
