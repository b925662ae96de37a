// Where a sensing chip keeps its measurement data: Rx words little-endian in bank 2, Tx words
// big-endian from the last Tx channel down in bank 3, each block at the chip model's first data
// register.
#include <algorithm>

#include "ChipBanks.h"
#include "ChipFields.h"

namespace sim {

const uint8_t* ChipBanks::config(int chip) const {
    return chips_[static_cast<size_t>(std::clamp(chip, 0, chips() - 1))].config.data();
}

void ChipBanks::store(int chip, const std::vector<uint16_t>& rxWords,
                      const std::vector<uint16_t>& txWords) {
    if (chip < 0 || chip >= chips()) return;
    const ChipLayout& l = layoutOf(model_);
    Chip& c = chips_[static_cast<size_t>(chip)];
    c.rxData.fill(0);
    c.txData.fill(0);
    const int rx = std::min<int>(l.rxChannels, static_cast<int>(rxWords.size()));
    for (int k = 0; k < rx; ++k) {
        const uint16_t word = rxWords[static_cast<size_t>(k)];
        c.rxData[static_cast<size_t>(l.rxFirst + 2 * k)] = static_cast<uint8_t>(word);
        c.rxData[static_cast<size_t>(l.rxFirst + 2 * k + 1)] = static_cast<uint8_t>(word >> 8);
    }
    const int tx = std::min<int>(l.txChannels, static_cast<int>(txWords.size()));
    for (int k = 0; k < tx; ++k) {
        const uint16_t word = txWords[static_cast<size_t>(k)];
        const size_t at = static_cast<size_t>(l.txFirst + 2 * (l.txChannels - 1 - k));
        c.txData[at] = static_cast<uint8_t>(word >> 8);
        c.txData[at + 1] = static_cast<uint8_t>(word);
    }
}

}  // namespace sim
