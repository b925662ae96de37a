#include "device/CMCU_F412.h"

#include <array>

namespace {

// (count, divider) rows, clock 0 throughout.
constexpr std::array<FreqSetting, 38> kT324Table = {{
    {0, 12, 3},  {0, 13, 3},  {0, 14, 3},  {0, 15, 3},  {0, 12, 4},  {0, 13, 4},  {0, 14, 4},
    {0, 12, 5},  {0, 16, 4},  {0, 13, 5},  {0, 14, 5},  {0, 12, 6},  {0, 15, 5},  {0, 13, 6},
    {0, 16, 5},  {0, 12, 7},  {0, 15, 6},  {0, 13, 7},  {0, 12, 8},  {0, 14, 7},  {0, 13, 8},
    {0, 15, 7},  {0, 12, 9},  {0, 14, 8},  {0, 13, 9},  {0, 12, 10}, {0, 14, 9},  {0, 16, 8},
    {0, 13, 10}, {0, 12, 11}, {0, 15, 9},  {0, 14, 10}, {0, 12, 12}, {0, 15, 10}, {0, 12, 13},
    {0, 16, 10}, {0, 12, 14}, {0, 12, 15},
}};

// (clock, count) rows, divider 3 throughout.
constexpr std::array<FreqSetting, 45> kClockType1Table = {{
    {0, 12, 3}, {0, 13, 3}, {0, 14, 3}, {0, 15, 3}, {1, 14, 3}, {0, 16, 3}, {1, 15, 3}, {0, 17, 3},
    {1, 16, 3}, {0, 18, 3}, {1, 17, 3}, {2, 13, 3}, {0, 19, 3}, {1, 18, 3}, {0, 20, 3}, {2, 14, 3},
    {1, 19, 3}, {0, 21, 3}, {1, 20, 3}, {0, 22, 3}, {1, 21, 3}, {0, 23, 3}, {3, 13, 3}, {0, 24, 3},
    {0, 25, 3}, {0, 26, 3}, {0, 27, 3}, {2, 19, 3}, {0, 28, 3}, {0, 29, 3}, {0, 30, 3}, {3, 17, 3},
    {0, 31, 3}, {0, 32, 3}, {0, 33, 3}, {1, 31, 3}, {0, 34, 3}, {3, 19, 3}, {0, 35, 3}, {0, 36, 3},
    {0, 37, 3}, {1, 35, 3}, {1, 36, 3}, {1, 37, 3}, {2, 29, 3},
}};

constexpr std::array<FreqSetting, 47> kDefaultTable = {{
    {0, 12, 3}, {0, 13, 3}, {0, 14, 3}, {1, 12, 3}, {0, 15, 3}, {1, 13, 3}, {0, 16, 3}, {1, 14, 3},
    {0, 17, 3}, {0, 18, 3}, {0, 19, 3}, {1, 16, 3}, {0, 20, 3}, {1, 17, 3}, {2, 13, 3}, {0, 21, 3},
    {1, 18, 3}, {0, 22, 3}, {2, 14, 3}, {1, 19, 3}, {0, 23, 3}, {0, 24, 3}, {0, 25, 3}, {2, 16, 3},
    {0, 26, 3}, {1, 22, 3}, {0, 27, 3}, {2, 17, 3}, {0, 28, 3}, {1, 24, 3}, {0, 29, 3}, {0, 30, 3},
    {2, 19, 3}, {0, 31, 3}, {0, 32, 3}, {1, 27, 3}, {0, 33, 3}, {1, 28, 3}, {0, 34, 3}, {1, 29, 3},
    {0, 35, 3}, {0, 36, 3}, {0, 37, 3}, {1, 32, 3}, {1, 34, 3}, {2, 26, 3}, {1, 35, 3},
}};

}  // namespace

std::span<const FreqSetting> FreqTableT324() {
    return kT324Table;
}
std::span<const FreqSetting> FreqTableClockType1() {
    return kClockType1Table;
}
std::span<const FreqSetting> FreqTableDefault() {
    return kDefaultTable;
}

std::span<const FreqSetting> CMCU_F412::Table() const {
    if (Host()->Model().frequencies == FrequencyTable::kDivider) return FreqTableT324();
    if (Host()->ClockType() == 1) return FreqTableClockType1();
    return FreqTableDefault();
}

int CMCU_F412::GetFreqCount() {
    return static_cast<int>(Table().size());
}

float CMCU_F412::CalcFrequency(uint8_t clock, uint8_t count, uint8_t divider) {
    // A zero prescaler comes only from a blank or hand-made image; it has no frequency.
    if (count == 0) return 0.0f;
    const bool dividerSetsIt =
        Host()->Model().dividerSetsFrequency && divider >= 1 && divider <= 31;
    const float multiplier = dividerSetsIt ? static_cast<float>(divider) : 3.0f;
    const float base = Host()->ClockType() == 1 ? 50.0f : 45.0f;
    const float source = clock == 0 ? 18000.0f : base / static_cast<float>(clock + 2) * 1000.0f;
    return source / (static_cast<float>(count) * multiplier * 2.0f);
}

int CMCU_F412::GetFreqSetting(int index, uint8_t& clock, uint8_t& count, uint8_t& divider) {
    const auto table = Table();
    const FreqSetting& row =
        index >= 0 && index < static_cast<int>(table.size()) ? table[index] : table[0];
    clock = row.clock;
    count = row.count;
    divider = row.divider;
    return 1;
}

int CMCU_F412::GetClockType() {
    return Host()->PcapInfo()[49];
}

int CMCU_F412::GetModelLimitA() {
    return Host()->Model().limitA;
}

int CMCU_F412::GetModelLimitB() {
    return Host()->Model().limitB;
}
