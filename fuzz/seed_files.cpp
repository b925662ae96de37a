// Writes the register files (.hwr) of every simulated model into a folder, as seeds for the
// register file fuzz target: no builder command writes a register file yet, so this program asks
// the hardware set of each model to save its own, as a dump would.
//
//     fuzz_seed_files <folder>
#include <cstdio>
#include <filesystem>
#include <string>

#include "SimulatedControllers.h"
#include "params/CParam.h"
#include "params/CParam_HW.h"
#include "shell/Controller.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out = std::filesystem::absolute(argv[1]);
    std::filesystem::create_directories(out);
    int written = 0;
    for (const ModelEntry& model : SupportedModels()) {
        CController& controller = fuzz::SimulatedController(model.typeCode);
        CParam_HW& hw = controller.Hw();
        if (hw.SaveRegFile() != kParamOk) {
            std::fprintf(stderr, "%s: the register file could not be written\n", model.modelName);
            continue;
        }
        std::error_code ec;
        // The set writes into the working folder, which is the current (scratch) folder.
        std::filesystem::copy_file(hw.GetRegFileName(),
                                   out / (std::string(model.modelName) + ".hwr"),
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) {
            std::fprintf(stderr, "%s: %s\n", model.modelName, ec.message().c_str());
            continue;
        }
        ++written;
    }
    std::fprintf(stderr, "%d register files in %s\n", written, out.c_str());
    return written == static_cast<int>(SupportedModels().size()) ? 0 : 1;
}
