#include "params/BinaryHeader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr char kFileSignature[] = "TovrexTouchT310";

void Put32(BinaryHeader& header, int at, uint32_t value) {
    for (int i = 0; i < 4; ++i) header[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

uint16_t BinaryFileCheckSum(const BinaryHeader& header, std::span<const uint8_t> image) {
    uint16_t sum = 0x0EEF;
    for (std::size_t i = 6; i < header.size(); ++i) sum = static_cast<uint16_t>(sum + header[i]);
    for (uint8_t b : image) sum = static_cast<uint16_t>(sum + b);
    return sum;
}

BinaryHeader MakeBinaryHeader(uint8_t kind, int typeCode, std::span<const uint8_t> image,
                              const std::tm& written) {
    BinaryHeader header{};
    const uint32_t used = image.size() >= 2 ? (image[0] | image[1] << 8) : 0;
    Put32(header, 0, used + 64u);
    Put32(header, 8, 64);
    std::memcpy(header.data() + 12, kFileSignature, sizeof kFileSignature);  // with its zero byte
    char date[80] = {};
    std::snprintf(date, sizeof date, "%04d/%02d/%02d,%02d:%02d:%02d", written.tm_year + 1900,
                  written.tm_mon + 1, written.tm_mday, written.tm_hour, written.tm_min,
                  written.tm_sec);
    std::memcpy(header.data() + 28, date, std::min<std::size_t>(std::strlen(date), 31));
    header[60] = kind;
    header[61] = typeCode >= 0 && typeCode <= 255 ? static_cast<uint8_t>(typeCode) : 0;
    header[62] = static_cast<uint8_t>(typeCode & 0xFF);
    header[63] = static_cast<uint8_t>((typeCode >> 8) & 0xFF);
    const uint16_t sum = BinaryFileCheckSum(header, image);
    header[4] = static_cast<uint8_t>(sum & 0xFF);
    header[5] = static_cast<uint8_t>(sum >> 8);
    return header;
}

int HeaderTypeCode(const BinaryHeader& header) {
    return header[61] != 0 ? header[61] : (header[62] | header[63] << 8);
}

uint16_t HeaderCheckSum(const BinaryHeader& header) {
    return static_cast<uint16_t>(header[4] | header[5] << 8);
}
