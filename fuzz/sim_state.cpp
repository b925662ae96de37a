// The simulated controller's state file. Whatever the file holds, the controller starts with a
// complete set of images of the right lengths (the file's when it is a complete, matching set,
// else the factory images), and its working copy of the hardware set is the stored one.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "Images.h"
#include "Storage.h"
#include "sim/Profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The type code in the file chooses the model, so that seeds of every model match their own.
    const int typeCode = size > 8 ? data[8] : 94;
    auto profile = sim::builtinProfile(std::to_string(typeCode));
    if (!profile) profile = sim::builtinProfile("K7P100");
    const std::string path = fuzz::WriteScratchFile("controller.state", data, size);

    const sim::Storage storage(*profile, path);
    for (int type = 0; type < sim::kBlockTypes; ++type)
        fuzz::Expect(storage.stored(type).size() == sim::blockLength(type),
                     "stored set " + std::to_string(type) + " has another length");
    fuzz::Expect(storage.ram() == storage.stored(sim::kHardware),
                 "the working hardware set is not the stored one");
    return 0;
}
