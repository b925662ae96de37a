#include "chips/t3300/CSlave_T3300.h"

#include "chips/RegisterMap.h"

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

constexpr chipmap::ChipProfile MakeProfile() {
    chipmap::ChipProfile p{};
    p.adcGainFactors = {1, 2, 4, 8, 16, 20, 26, 32};
    p.idTableR5 = {3, 5, 12, 12, 12, 12, 12, 12};
    p.idTableR3 = 5;
    p.imgTuning = {15, 7, 20, 30, 0, 0};
    p.imageBytes = 68;
    p.sinTableMax = 111;
    p.rxData = {2, 0, 200};
    p.txData = {3, 0, 128};
    p.lastTxChannel = 63;
    p.noiseScanFirstChipOnly = false;
    p.flushAfterCalWrite = true;
    return p;
}

constexpr chipmap::ChipProfile kProfile = MakeProfile();

}  // namespace

const chipmap::ChipProfile* CSlave_T3300::Profile() const {
    return &kProfile;
}

// The first chip of the smaller variant has its first channels unwired: its data starts later.
int CSlave_T3300::AxisChannelOffset(int chip, bool txAxis) {
    if (chip != 0) return 0;
    return txAxis ? GetFirstChipTxOffset() : GetFirstChipRxOffset();
}

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
