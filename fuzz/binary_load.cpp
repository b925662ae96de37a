// Loading a binary image file (.hw, .sw, .pw) into the set its header names (kind byte), on a
// simulated controller of the type the header names.
//
// The file is loaded twice: as it is, where a refused file must leave the set untouched and an
// accepted one must hold exactly the file's image; and sealed (type, kind and checksums made to
// match), so that every input also reaches what runs on a loaded image: converting it to its text
// and register files, which loop over counts the image holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SetChecks.h"
#include "SimulatedControllers.h"
#include "params/BinaryHeader.h"
#include "params/CParam_HW.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"
#include "controller/Controller.h"

namespace {

constexpr std::size_t kHeaderLength = 64;
constexpr std::size_t kKindByte = 60;

CParam& SetOfKind(CController& controller, uint8_t kind) {
    switch (kind) {
        case 0:
            return controller.Sw();
        case 3:
            return controller.Pen();
        default:
            return controller.Hw();
    }
}

// The file with the controller's type and the set's kind in its header and a file checksum that
// matches: one the load must accept.
std::vector<uint8_t> Sealed(const uint8_t* data, std::size_t size, const CParam& set,
                            int typeCode) {
    std::vector<uint8_t> file(data, data + size);
    file.resize(kHeaderLength + static_cast<std::size_t>(set.ImageLength()), 0xFF);
    BinaryHeader header{};
    std::copy_n(file.begin(), kHeaderLength, header.begin());
    header[kKindByte] = set.Kind();
    header[61] = static_cast<uint8_t>(typeCode);
    const std::span<const uint8_t> image(file.data() + kHeaderLength, file.size() - kHeaderLength);
    const uint16_t sum = BinaryFileCheckSum(header, image);
    header[4] = static_cast<uint8_t>(sum & 0xFF);
    header[5] = static_cast<uint8_t>(sum >> 8);
    std::copy(header.begin(), header.end(), file.begin());
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    BinaryHeader header{};
    std::copy_n(data, std::min(size, kHeaderLength), header.begin());
    CController& controller = fuzz::SimulatedController(HeaderTypeCode(header));
    fuzz::RestoreSets(controller);
    CParam& set = SetOfKind(controller, header[kKindByte]);
    const auto before = fuzz::ImageOf(set);
    const std::size_t length = static_cast<std::size_t>(set.ImageLength());

    const int result = set.LoadBinFile(fuzz::WriteScratchFile("input.bin", data, size));
    fuzz::Expect(result == kParamOk || result == kParamWrongType || result == kParamChecksum,
                 "an unexpected result " + std::to_string(result));
    if (result != kParamOk) {
        fuzz::ExpectUnchanged(set, before, 0, set.ImageLength(), "a refused binary file");
    } else {
        fuzz::Expect(size >= kHeaderLength + length, "a short file was accepted");
        fuzz::Expect(std::equal(set.Image(), set.Image() + length, data + kHeaderLength),
                     "the loaded image is not the file's");
    }

    const std::vector<uint8_t> sealed = Sealed(data, size, set, controller.TypeCode());
    const std::string path = fuzz::WriteScratchFile("sealed.bin", sealed.data(), sealed.size());
    fuzz::Expect(set.LoadBinFile(path) == kParamOk, "a sealed file is refused");
    // Converting writes only a set whose checksum matches; make it match, as a dump would.
    set.UpdateCheckSum();
    set.SaveTxtFile();
    set.SaveRegFile();
    return 0;
}
