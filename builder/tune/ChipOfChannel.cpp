#include "tune/ChipOfChannel.h"

#include "params/CParam_HW.h"

int ChipOfChannel(const CParam_HW& hw, int scanType, int channel) {
    const bool tx = scanType == kScanTypeWaterLineTx;
    int first = 0;
    for (int chip = 0; chip < hw.NumsOfRxChips() && chip < 4; ++chip) {
        const int start = tx ? hw.TxStart(chip) : hw.RxStart(chip);
        const int end = tx ? hw.TxEnd(chip) : hw.RxEnd(chip);
        const int count = end >= start ? end - start + 1 : 0;
        if (channel >= first && channel < first + count) return chip;
        first += count;
    }
    return 0;
}
