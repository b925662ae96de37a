#include "chips/t324/CSlave_T324.h"

#include "chips/RegisterMap.h"

namespace Slave_T324 {

namespace {

constexpr chipmap::ChipProfile MakeProfile() {
    chipmap::ChipProfile p{};
    p.adcGainFactors = {1, 2, 4, 8, 16, 20, 26, 32};
    p.idTableR5 = {8, 8, 8, 8, 8, 8, 8, 8};
    p.idTableR3 = 8;
    p.imgTuning = {15, 1, 20, 30, 0, 0};
    p.imageBytes = 56;
    p.sinTableMax = 128;
    p.rxData = {2, 0, 168};
    p.txData = {3, 0, 96};
    p.lastTxChannel = 47;
    p.noiseScanFirstChipOnly = false;
    p.flushAfterCalWrite = false;
    return p;
}

constexpr chipmap::ChipProfile kProfile = MakeProfile();

}  // namespace

const chipmap::ChipProfile* CSlave_T324::Profile() const {
    return &kProfile;
}

}  // namespace Slave_T324
