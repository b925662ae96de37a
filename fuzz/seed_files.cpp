// Writes the register files of every simulated model into a folder (<model>.hwr, and <model>.pwr
// for a model whose stylus set can write one), as seeds for the register file fuzz targets: no
// builder command writes a register file yet, so this program asks the sets to save their own, as
// a dump would.
//
//     fuzz_seed_files <folder>
#include <cstdio>
#include <filesystem>
#include <string>

#include "SimulatedControllers.h"
#include "params/CParam.h"
#include "params/CParam_HW.h"
#include "params/CParam_Pen.h"
#include "controller/Controller.h"

namespace {

// The set's register file copied to out/<model><extension>; false when it could not be written.
bool CopyRegisterFile(CParam& set, const std::filesystem::path& out, const std::string& model,
                      const char* extension) {
    if (set.SaveRegFile() != kParamOk) return false;
    std::error_code ec;
    // The set writes into the working folder, which is the current (scratch) folder.
    std::filesystem::copy_file(set.GetRegFileName(), out / (model + extension),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) std::fprintf(stderr, "%s%s: %s\n", model.c_str(), extension, ec.message().c_str());
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out = std::filesystem::absolute(argv[1]);
    std::filesystem::create_directories(out);
    int missing = 0;
    for (const ModelRow& model : SupportedModels()) {
        CController& controller = fuzz::SimulatedController(model.typeCode);
        if (!CopyRegisterFile(controller.Hw(), out, model.name, ".hwr")) {
            std::fprintf(stderr, "%s: no hardware register file\n", model.name);
            ++missing;
        }
        // Only a model whose hardware set uses a stylus has a stylus set to write.
        if (controller.Hw().UsesStylus())
            CopyRegisterFile(controller.Pen(), out, model.name, ".pwr");
    }
    return missing == 0 ? 0 : 1;
}
