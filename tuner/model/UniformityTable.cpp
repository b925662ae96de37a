#include "model/UniformityTable.h"

#include <algorithm>

#include "model/DeviceSession.h"

namespace tuner::image {
namespace {

constexpr uint32_t kHeaderSize = 4;
constexpr uint32_t kMaxCovered = kUniformityTableSize - kHeaderSize;
constexpr uint32_t kDirectoryAt = 16, kDataAt = 48;
constexpr int kTableRoom = 32720;

uint32_t Word(const std::vector<uint8_t>& t, size_t at) {
    return at + 1 < t.size() ? static_cast<uint32_t>(t[at] | (t[at + 1] << 8)) : 0;
}

}  // namespace

bool UniformityTableValid(const std::vector<uint8_t>& table) {
    if (table.size() < kUniformityTableSize) return false;
    const uint32_t covered = Word(table, 0);
    if (covered > kMaxCovered) return false;
    uint32_t sum = 0x55AA;
    for (uint32_t i = 0; i < (covered + 1) / 2; ++i) sum += Word(table, kHeaderSize + 2 * i);
    return (sum & 0xFFFF) == Word(table, 2);
}

UniformitySubTable ParseSubTable(const std::vector<uint8_t>& table, int index, int scale,
                                 uint8_t kernelMajor, uint8_t kernelMinor) {
    UniformitySubTable sub;
    if (index < 0 || index >= kUniformitySubTables || table.size() < kDataAt) return sub;
    sub.entryCount = static_cast<int>(Word(table, kDirectoryAt + 4 * static_cast<size_t>(index)));
    const size_t offset = Word(table, kDirectoryAt + 2 + 4 * static_cast<size_t>(index));
    const size_t end = std::min<size_t>(table.size(), kHeaderSize + Word(table, 0));
    const bool scaled = (kernelMajor < 4 || (kernelMajor == 4 && kernelMinor < 70)) && scale != 0 &&
                        scale != 100;
    int used = 0;
    size_t at = kDataAt + offset;
    while (static_cast<int>(sub.entries.size()) < sub.entryCount && at + 2 <= end) {
        const int row = table[at], inGroup = table[at + 1];
        at += 2;
        int taken = 0;
        for (; taken < inGroup && at + 3 <= end; ++taken, at += 3) {
            int value = static_cast<int16_t>(Word(table, at + 1));
            if (scaled) value = value * scale / 100;
            sub.entries.push_back({row, table[at], value});
        }
        used += 2 + 3 * taken;
        if (taken < inGroup) break;
    }
    sub.usePercent = used * 100 / kTableRoom;
    return sub;
}

UniformityRead ReadUniformityTable(DevHandle handle) {
    UniformityRead read;
    read.table.assign(kUniformityTableSize, 0);
    devSwitchWorkMode(handle, kCommandMode);
    uint8_t index = 0;
    if (devGetFrequency(handle, &index) == 0) index = 0;
    read.frequencyIndex = index;
    const int got = devReadBlock(handle, 2, 0, kUniformityTableSize, read.table.data());
    if (got <= 0 || static_cast<uint32_t>(got) > kUniformityTableSize) {
        read.table.assign(kUniformityTableSize, 0);
        return read;
    }
    read.result = UniformityTableValid(read.table) ? TableRead::kOk : TableRead::kInvalid;
    return read;
}

}  // namespace tuner::image
