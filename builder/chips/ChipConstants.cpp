#include "chips/ChipConstants.h"

namespace {

// clang-format off
constexpr ChipConstants kChips[] = {
    {.chip = ChipFamily::T320,
     .calInputHigh = 212, .calInputLow = 44, .calScale = 2880, .calSampleCount = 34,
     .calReference = 100, .regImageSize = 68,
     .maxTxChannels = 160, .maxRxChannels = 255,
     .txChannelsPerChip = 80, .firstChipTxChannels = 0, .rxChannelsPerChip = 128,
     .firstChipRxChannels = 0,
     .scalingMax = 15, .afeGainUpper = 30, .afeGainLower = 1, .rsMax = 14, .rsMin = 1,
     .sinAmpMin = 0, .sinAmpMax = 127, .wlTxSinAmpMin = 0, .wlTxSinAmpMax = 127,
     .wlRxSinAmpMin = 0, .wlRxSinAmpMax = 127,
     .psampleScanFirst = 3, .psampleScanEnd = 3, .clockSourceCount = 5, .phase1ScanEnd = 37,
     .phase1ScanFirst = 12,
     .channels = {0, 79, 0, 127}, .smallChannels = {0, 79, 0, 127}, .smallFirstChipOffset = 0},
    {.chip = ChipFamily::T324,
     .calInputHigh = 236, .calInputLow = 27, .calScale = 5578, .calSampleCount = 34,
     .calReference = 100, .regImageSize = 56,
     .maxTxChannels = 96, .maxRxChannels = 168,
     .txChannelsPerChip = 48, .firstChipTxChannels = 0, .rxChannelsPerChip = 84,
     .firstChipRxChannels = 0,
     .scalingMax = 15, .afeGainUpper = 30, .afeGainLower = 1, .rsMax = 14, .rsMin = 1,
     .sinAmpMin = 10, .sinAmpMax = 111, .wlTxSinAmpMin = 10, .wlTxSinAmpMax = 111,
     .wlRxSinAmpMin = 10, .wlRxSinAmpMax = 111,
     .psampleScanFirst = 3, .psampleScanEnd = 31, .clockSourceCount = 0, .phase1ScanEnd = 31,
     .phase1ScanFirst = 12,
     .channels = {0, 47, 0, 83}, .smallChannels = {0, 47, 0, 83}, .smallFirstChipOffset = 0},
    {.chip = ChipFamily::T3300,
     .calInputHigh = 236, .calInputLow = 27, .calScale = 3720, .calSampleCount = 34,
     .calReference = 100, .regImageSize = 68,
     .maxTxChannels = 128, .maxRxChannels = 200,
     .txChannelsPerChip = 64, .firstChipTxChannels = 56, .rxChannelsPerChip = 100,
     .firstChipRxChannels = 80,
     .scalingMax = 15, .afeGainUpper = 30, .afeGainLower = 1, .rsMax = 14, .rsMin = 1,
     .sinAmpMin = 10, .sinAmpMax = 47, .wlTxSinAmpMin = 10, .wlTxSinAmpMax = 14,
     .wlRxSinAmpMin = 10, .wlRxSinAmpMax = 47,
     .psampleScanFirst = 3, .psampleScanEnd = 3, .clockSourceCount = 5, .phase1ScanEnd = 37,
     .phase1ScanFirst = 12,
     .channels = {0, 63, 1, 99}, .smallChannels = {0, 55, 0, 79}, .smallFirstChipOffset = 5},
};
// clang-format on

}  // namespace

const ChipConstants& ConstantsOf(ChipFamily chip) {
    for (const ChipConstants& row : kChips) {
        if (row.chip == chip) return row;
    }
    return kChips[0];
}
