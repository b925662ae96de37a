// The firmware's storage and register commands: parameter blocks, sensing-chip registers and
// the threshold modes kept in the stored sets.
#include <algorithm>

#include "Firmware.h"
#include "devlink_protocol.h"

namespace sim {
namespace {

using namespace devproto;

Outcome status(uint8_t s, std::string trace) {
    Outcome o;
    o.status = s;
    o.trace = std::move(trace);
    return o;
}

}  // namespace

// The firmware keeps a stylus set only while its stored hardware set uses a stylus.
bool Firmware::hasStylusSet() const {
    return hw::usesStylus(storage_.stored(kHardware));
}

Outcome Firmware::readBlock(const uint8_t* a) const {
    const int type = a[0];
    const uint32_t offset = getU32(a + 1), length = getU32(a + 5);
    const std::string trace = "type=" + std::to_string(type) + " offset=" + std::to_string(offset) +
                              " length=" + std::to_string(length);
    if (!isBlockType(type) || offset > blockLength(type) || length > blockLength(type) - offset)
        return status(kStatusRefused, trace);
    if (type == kStylus && !hasStylusSet()) return status(kStatusRefused, trace + " (no stylus)");
    uint32_t count = length;
    if (auto it = profile_.faults.shortRead.find(type); it != profile_.faults.shortRead.end())
        count = std::min(count, it->second);
    const Bytes& image = storage_.stored(type);
    Outcome o = status(kStatusOk, trace + " count=" + std::to_string(count));
    o.data.assign(image.begin() + offset, image.begin() + offset + count);
    return o;
}

Outcome Firmware::writeBlock(const uint8_t* a, const Bytes& bulk) {
    const int type = a[0];
    const uint32_t offset = getU32(a + 1), length = getU32(a + 5);
    const int flag = a[9];
    const std::string trace = "type=" + std::to_string(type) + " offset=" + std::to_string(offset) +
                              " length=" + std::to_string(length) + " flag=" + std::to_string(flag);
    if (!isBlockType(type) || offset > blockLength(type) || length > blockLength(type) - offset ||
        bulk.size() != length)
        return status(kStatusBadRequest, trace);
    if (profile_.faults.refusedWrites.count(type)) return status(kStatusRefused, trace);
    if (type == kStylus && !hasStylusSet()) return status(kStatusRefused, trace + " (no stylus)");
    if (flag == 0) {
        // A test image: the RAM copy of the hardware set only, lost at restart.
        const bool allowed = mode_ == 0x8000 || mode_ == 0x8001 || mode_ == 0x8004;
        if (type != kHardware || !allowed) return status(kStatusRefused, trace);
        storage_.applyToRam(offset, bulk);
        freqIndex_ =
            static_cast<uint8_t>(std::min<int>(freqIndex_, hw::frequencies(storage_.ram()) - 1));
        return status(kStatusOk, trace);
    }
    if (flag != 1 || mode_ != 0x8001) return status(kStatusRefused, trace);
    if (type != kTable) {
        Bytes candidate = storage_.stored(type);
        std::copy(bulk.begin(), bulk.end(), candidate.begin() + offset);
        if (!imageChecksumValid(candidate)) return status(kStatusRefused, trace + " (checksum)");
    }
    if (!storage_.store(type, offset, bulk)) return status(kStatusFailed, trace + " (storage)");
    if (type == kHardware)
        freqIndex_ =
            static_cast<uint8_t>(std::min<int>(freqIndex_, hw::frequencies(storage_.ram()) - 1));
    return status(kStatusOk, trace);
}

Outcome Firmware::readRegisters(const uint8_t* a) const {
    const int chip = a[0], bank = a[1], first = getU16(a + 2), count = getU16(a + 4);
    const std::string trace = "chip=" + std::to_string(chip) + " bank=" + std::to_string(bank) +
                              " first=" + std::to_string(first) + " count=" + std::to_string(count);
    if (profile_.faults.registerReadFails.count(chip)) return status(kStatusFailed, trace);
    Outcome o = status(kStatusOk, trace);
    if (!banks_.read(chip, bank, first, count, o.data)) return status(kStatusRefused, trace);
    return o;
}

Outcome Firmware::writeRegisters(const uint8_t* a, const Bytes& bulk) {
    const int chip = a[0], bank = a[1], first = getU16(a + 2), count = getU16(a + 4);
    const std::string trace = "chip=" + std::to_string(chip) + " bank=" + std::to_string(bank) +
                              " first=" + std::to_string(first) + " count=" + std::to_string(count);
    if (bulk.size() != static_cast<size_t>(count)) return status(kStatusBadRequest, trace);
    if (!banks_.write(chip, bank, first, bulk)) return status(kStatusRefused, trace);
    return status(kStatusOk, trace);
}

Outcome Firmware::thresholdMode(bool pen, uint8_t op, uint8_t value) {
    const std::string trace = "op=" + std::to_string(op) + " value=" + std::to_string(value);
    int count = 0;
    if (pen) {
        if (!hw::usesStylus(storage_.ram())) return status(kStatusRefused, trace);
        count = std::clamp<int>(storage_.stored(kStylus)[pen::kNumsOfThresholds], 1, 4);
    } else {
        count = std::clamp<int>(storage_.stored(kSoftware)[sw::kNumsOfThresholds], 1, 3);
    }
    uint8_t& current = pen ? penThreshold_ : touchThreshold_;
    Outcome o = status(kStatusOk, trace);
    switch (op) {
        case 255:
            o.data = {static_cast<uint8_t>(count)};
            break;
        case 0:
            o.data = {current};
            break;
        case 1:
            if (value >= count) return status(kStatusRefused, trace);
            current = value;
            o.data = {current};
            break;
        default:
            return status(kStatusRefused, trace);
    }
    return o;
}

}  // namespace sim
