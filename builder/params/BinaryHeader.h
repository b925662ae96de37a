// The 64-byte header of a binary image file: lengths, the file checksum, the signature, the date of
// writing, the set's kind and the controller type the file was made for.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <span>

using BinaryHeader = std::array<uint8_t, 64>;

// The header for an image; the file checksum (bytes 4-5) is computed last, over header bytes 6..63
// and the whole image.
BinaryHeader MakeBinaryHeader(uint8_t kind, int typeCode, std::span<const uint8_t> image,
                              const std::tm& written);
// The controller type a header names: byte 61 when it is not zero (types up to 255), else the
// 16-bit field at 62.
int HeaderTypeCode(const BinaryHeader& header);
uint16_t HeaderCheckSum(const BinaryHeader& header);
uint16_t BinaryFileCheckSum(const BinaryHeader& header, std::span<const uint8_t> image);
