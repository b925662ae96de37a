#include "ChipBanks.h"

#include <algorithm>

namespace sim {

ChipBanks::ChipBanks(ChipModel model, int chips, std::vector<RegisterFault> faults)
    : model_(model),
      chips_(static_cast<size_t>(std::clamp(chips, 1, 4))),
      faults_(std::move(faults)) {
    if (model_ == ChipModel::T324) {
        // Status and version registers, read-only.
        for (auto& chip : chips_) {
            chip.config[0] = 0x00;
            chip.config[1] = 0x24;
            chip.config[2] = 0x03;
        }
    }
}

ChipBanks::Bank* ChipBanks::bank(int chip, int bankNo) {
    return const_cast<Bank*>(static_cast<const ChipBanks*>(this)->bank(chip, bankNo));
}

const ChipBanks::Bank* ChipBanks::bank(int chip, int bankNo) const {
    if (chip < 0 || chip >= chips()) return nullptr;
    const Chip& c = chips_[static_cast<size_t>(chip)];
    switch (bankNo) {
        case 0:
            return &c.config;
        case 2:
            return &c.rxData;
        case 3:
            return &c.txData;
        default:
            return nullptr;
    }
}

void ChipBanks::writeOne(int chip, int bankNo, int reg, uint8_t value) {
    if (model_ == ChipModel::T324 && bankNo == 0 && reg <= 2) return;
    for (const auto& f : faults_) {
        if (f.chip != chip || f.bank != bankNo || f.reg != reg) continue;
        if (f.flipBit < 0) return;
        value = static_cast<uint8_t>(value ^ (1u << f.flipBit));
    }
    (*bank(chip, bankNo))[static_cast<size_t>(reg)] = value;
}

bool ChipBanks::write(int chip, int bankNo, int first, const Bytes& data) {
    if (first < 0 || first > kBankSize || data.size() > static_cast<size_t>(kBankSize - first))
        return false;
    const int from = chip == 255 ? 0 : chip;
    const int to = chip == 255 ? chips() - 1 : chip;
    if (!bank(from, bankNo)) return false;
    for (int c = from; c <= to; ++c) {
        for (size_t i = 0; i < data.size(); ++i)
            writeOne(c, bankNo, first + static_cast<int>(i), data[i]);
    }
    return true;
}

bool ChipBanks::read(int chip, int bankNo, int first, int count, Bytes& out) const {
    const Bank* b = bank(chip, bankNo);
    if (!b || first < 0 || count < 0 || first > kBankSize || count > kBankSize - first)
        return false;
    out.assign(b->begin() + first, b->begin() + first + count);
    return true;
}

}  // namespace sim
