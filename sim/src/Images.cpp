#include "Images.h"

#include <algorithm>

namespace sim {
namespace {

struct SetShape {
    uint32_t length;
    uint16_t used;
    uint8_t major, minor;
};

SetShape shapeOf(int type) {
    switch (type) {
        case kSoftware:
            return {2048, 1266, 2, 6};
        case kHardware:
            return {4096, 3350, 1, 3};
        case kStylus:
            return {4096, 3676, 1, 4};
        default:
            return {0, 0, 0, 0};
    }
}

uint16_t get16(const Bytes& b, int at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

}  // namespace

void put16(Bytes& b, int at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

Bytes emptyImage(int type, uint8_t version) {
    const SetShape s = shapeOf(type);
    Bytes image(s.length, 0xFF);
    put16(image, 0, s.used);
    image[4] = static_cast<uint8_t>(version / 10);
    image[5] = static_cast<uint8_t>(version % 10);
    image[6] = 1;
    image[7] = 2;
    image[8] = 18;
    image[9] = 0;
    return image;
}

namespace {

// A valid table whose sub-tables are all empty.
Bytes factoryTable() {
    Bytes table(32768, 0);
    const uint16_t covered = 44;  // the directory, bytes 4..47
    put16(table, 0, covered);
    uint32_t sum = 0x55AA;
    for (int i = 0; i < (covered + 1) / 2; ++i) sum += get16(table, 4 + 2 * i);
    put16(table, 2, static_cast<uint16_t>(sum));
    return table;
}

}  // namespace

uint32_t blockLength(int type) {
    return type == kTable ? 32768 : shapeOf(type).length;
}

bool isBlockType(int type) {
    return type >= 0 && type < kBlockTypes;
}

uint16_t imageChecksum(const Bytes& image) {
    const uint32_t used = image.size() >= 2 ? get16(image, 0) : 0;
    uint32_t sum = 0x55;
    for (uint32_t i = 0; i + 1 < used && 4 + i + 1 < image.size(); i += 2)
        sum += get16(image, static_cast<int>(4 + i));
    return static_cast<uint16_t>(sum);
}

bool imageChecksumValid(const Bytes& image) {
    if (image.size() < 4) return false;
    const uint32_t used = get16(image, 0);
    if (used > image.size() - 4) return false;
    return get16(image, 2) == imageChecksum(image);
}

void renewImageChecksum(Bytes& image) {
    put16(image, 2, imageChecksum(image));
}

bool tableValid(const Bytes& table) {
    if (table.size() != 32768) return false;
    const uint32_t covered = get16(table, 0);
    if (covered > 32764) return false;
    uint32_t sum = 0x55AA;
    for (uint32_t i = 0; i < (covered + 1) / 2; ++i)
        sum += get16(table, static_cast<int>(4 + 2 * i));
    return get16(table, 2) == static_cast<uint16_t>(sum);
}

Bytes factoryImage(int type, const Profile& profile) {
    switch (type) {
        case kSoftware:
            return factorySoftware(profile);
        case kHardware:
            return factoryHardware(profile);
        case kStylus:
            return factoryStylus(profile);
        case kTable:
            return factoryTable();
        default:
            return {};
    }
}

namespace hw {

int txChips(const Bytes& image) {
    return std::clamp<int>(image[kTxChips], 1, 4);
}
int rxChips(const Bytes& image) {
    return std::clamp<int>(image[kRxChips], 1, 4);
}
int frequencies(const Bytes& image) {
    return std::clamp<int>(image[kNumsOfFreq], 1, 5);
}
int freqStartIndex(const Bytes& image) {
    return std::min<int>(image[kFreqStartIndex], frequencies(image) - 1);
}

int txCount(const Bytes& image) {
    int total = 0;
    for (int i = 0; i < txChips(image); ++i) {
        const int start = image[kTxStart + 2 * i], end = image[kTxStart + 2 * i + 1];
        if (end >= start) total += end - start + 1;
    }
    return total;
}

int rxCount(const Bytes& image) {
    int total = 0;
    for (int i = 0; i < rxChips(image); ++i) {
        const int start = image[kRxStart + 2 * i], end = image[kRxStart + 2 * i + 1];
        if (end >= start) total += end - start + 1;
    }
    return total;
}

bool usesStylus(const Bytes& image) {
    return (get16(image, kScanCtrl) & 0x0608) != 0;
}

}  // namespace hw
}  // namespace sim
