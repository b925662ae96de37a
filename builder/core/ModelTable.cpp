#include "core/ModelTable.h"

#include <algorithm>

namespace {

using enum ChipFamily;
constexpr FrequencyTable kByClock = FrequencyTable::kByClockType;
constexpr FrequencyTable kDivider = FrequencyTable::kDivider;

// clang-format off
constexpr ModelRow kModels[] = {
    // code  name        chip   chips small limitA limitB freq      divider wideIc clockK stylus water readOnly classify
    {94,  "K7P100",   T3300, 1, 0x0, 64,  100, kByClock, false, false, false, false, false, 0, true},
    {158, "K7P80",    T3300, 1, 0xF, 64,  100, kByClock, false, false, false, false, false, 0, true},
    {164, "K9P100",   T3300, 2, 0x0, 128, 200, kByClock, false, false, true,  false, false, 0, true},
    {166, "K9P80",    T3300, 2, 0x1, 128, 200, kByClock, false, false, true,  false, false, 0, true},
    {172, "K9PM100",  T3300, 2, 0x0, 128, 200, kByClock, false, false, true,  true,  false, 0, true},
    {96,  "K7P128",   T320,  1, 0x0, 80,  128, kByClock, false, false, false, false, true,  0, false},
    {160, "6310_K7P", T320,  1, 0x0, 0,   0,   kByClock, false, false, false, false, false, 0, true},
    {176, "K7P84",    T324,  1, 0x0, 0,   0,   kDivider, true,  true,  false, false, false, 3, false},
};
// clang-format on

}  // namespace

std::span<const ModelRow> SupportedModels() {
    return kModels;
}

const ModelRow* FindModel(int typeCode, std::span<const ModelRow> table) {
    const auto it = std::find_if(table.begin(), table.end(),
                                 [typeCode](const ModelRow& m) { return m.typeCode == typeCode; });
    return it == table.end() ? nullptr : &*it;
}
