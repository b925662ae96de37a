#include "model/ControllerSearch.h"

#include <cstring>

namespace tuner {

int AcceptControllerWith64ByteReports(DevRecord* record, const char* path, void* destination,
                                      uint32_t inputLength, uint32_t outputLength, uint16_t id1,
                                      uint16_t id2) {
    DevRecord* target = destination != nullptr ? static_cast<DevRecord*>(destination) : record;
    if (target == nullptr || path == nullptr) return 0;
    if (inputLength != kControllerReportLength || outputLength != kControllerReportLength) return 0;

    // The path may live in the very record being filled, so it is copied out first.
    DevRecord accepted{};
    std::memcpy(accepted.path, path, strnlen(path, sizeof accepted.path - 1));
    accepted.inputLength = inputLength;
    accepted.outputLength = outputLength;
    accepted.id1 = id1;
    accepted.id2 = id2;
    *target = accepted;
    return 1;
}

bool FindController(DevRecord& record) {
    record = DevRecord{};
    // The library may describe each controller in the record it is given before asking the
    // callback, so only the callback's acceptance writes the caller's record.
    DevRecord scratch{};
    devEnumerate(&scratch, AcceptControllerWith64ByteReports, &record);
    return record.path[0] != '\0';
}

}  // namespace tuner
