// The controller's uniformity table: per working frequency, the corrections the "Unifor Cook" view
// subtracts from the row differences. 32 768 bytes: covered length and checksum, a directory of
// eight sub-tables, then their groups (row, entry count, then column and signed value per entry).
#pragma once

#include <cstdint>
#include <vector>

#include "devlink/devlink.h"

namespace tuner::image {

inline constexpr uint32_t kUniformityTableSize = 32768;
inline constexpr int kUniformitySubTables = 8;

struct UniformityEntry {
    int row = 0;  // Tx channel; the row after the last Tx channel holds the keys
    int column = 0;
    int value = 0;
};

struct UniformitySubTable {
    int entryCount = 0;  // as the directory gives it
    int usePercent = 0;  // of the room the table has
    std::vector<UniformityEntry> entries;
};

// Covered length within the table and checksum (0x55AA plus its 16-bit words) right.
bool UniformityTableValid(const std::vector<uint8_t>& table);

// Sub-table `index` of a valid table. Parsing stops at the covered length and at the table's end;
// an index past the directory gives an empty sub-table. On kernels before 4.70 the values are
// scaled by scale / 100 when the scale byte is neither 0 nor 100.
UniformitySubTable ParseSubTable(const std::vector<uint8_t>& table, int index, int scale,
                                 uint8_t kernelMajor, uint8_t kernelMinor);

enum class TableRead { kOk, kReadError, kInvalid };

struct UniformityRead {
    TableRead result = TableRead::kReadError;
    std::vector<uint8_t> table;  // zeroed unless read
    int frequencyIndex = 0;
};

// Command mode, the current frequency index (0 when it cannot be read), then the table.
UniformityRead ReadUniformityTable(DevHandle handle);

}  // namespace tuner::image
