// The scrambled form of a builder log line (".en" files).
//
// Each line is stored as one or more records, all numbers little-endian:
//   offset 0, 2 bytes   check word: 153 plus the sum of the scrambled text bytes, each taken as a
//                       signed byte, modulo 65536
//   offset 2, 2 bytes   text length in bytes
//   offset 4, 1 byte    key row, 0-9
//   offset 5, 5 bytes   zero
//   offset 10           the text, byte i exclusive-ored with byte (i mod 100) of the key row
// A line longer than 65535 bytes becomes consecutive records of at most 65535 bytes, so that the
// length field always frames its record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

inline constexpr std::size_t kLogKeyRows = 10;
inline constexpr std::size_t kLogKeyRowSize = 100;  // 99 printable characters and a zero byte
inline constexpr std::size_t kLogRecordHeaderSize = 10;
inline constexpr std::size_t kLogRecordMaxText = 65535;
inline constexpr uint16_t kLogCheckWordSeed = 153;

using LogKeyTable = std::array<std::array<uint8_t, kLogKeyRowSize>, kLogKeyRows>;

// The fixed key table, the same for every file.
const LogKeyTable& LogKeys();

// The check word of already scrambled text bytes.
uint16_t LogCheckWord(const uint8_t* scrambled, std::size_t size);

// The records of one line scrambled with the key row (0-9; other values are taken modulo 10).
std::vector<uint8_t> EncodeLogRecords(std::string_view line, unsigned keyRow);
