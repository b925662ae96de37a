#include "diag/ChannelWalk.h"

#include "params/CParam_HW.h"

std::vector<std::pair<int, int>> WalkChannels(const CParam_HW& hw, bool tx, int count) {
    const int chips = tx ? hw.TxChipsBound() : hw.RxChipsBound();
    auto start = [&](int c) { return tx ? hw.TxStart(c) : hw.RxStart(c); };
    auto end = [&](int c) { return tx ? hw.TxEnd(c) : hw.RxEnd(c); };
    std::vector<std::pair<int, int>> walk;
    int chip = 0, pin = start(0);
    for (int k = 0; k < count; ++k) {
        while (chip < chips - 1 && (start(chip) > end(chip) || pin > end(chip))) {
            ++chip;
            pin = start(chip);
        }
        walk.emplace_back(chip, pin++);
    }
    return walk;
}
