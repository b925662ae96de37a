#include "chips/t3300/CSlave_T3300.h"

#include "shell/Controller.h"

namespace Slave_T3300 {

namespace {

// On the K7P80 (158) every chip, and on the K9P80 (166) the first chip, is the smaller variant
// whose channels start at 0 and end earlier.
bool IsSmallChip(int typeCode, int chip) {
    return typeCode == 158 || (typeCode == 166 && chip == 0);
}

bool HasSmallFirstChip(int typeCode) {
    return typeCode == 158 || typeCode == 166;
}

}  // namespace

int CSlave_T3300::GetFirstChipTxOffset() {
    return HasSmallFirstChip(Owner()->TypeCode()) ? 5 : 0;
}
int CSlave_T3300::GetFirstChipRxOffset() {
    return HasSmallFirstChip(Owner()->TypeCode()) ? 5 : 0;
}
int CSlave_T3300::GetTxChannelFirst(int) {
    return 0;
}

int CSlave_T3300::GetTxChannelLast(int chip) {
    return IsSmallChip(Owner()->TypeCode(), chip) ? 55 : 63;
}

int CSlave_T3300::GetRxChannelFirst(int chip) {
    return IsSmallChip(Owner()->TypeCode(), chip) ? 0 : 1;
}

int CSlave_T3300::GetRxChannelLast(int chip) {
    return IsSmallChip(Owner()->TypeCode(), chip) ? 79 : 99;
}

}  // namespace Slave_T3300
