// The register banks of the sensing chips: bank 0 configuration (with the sine table from
// register 144), banks 2 and 3 measurement data. Every bank holds 1024 registers, so runs that
// go past register 255 read back like the chips' own auto-incrementing reads.
#pragma once

#include <array>
#include <vector>

#include "Images.h"

namespace sim {

class ChipBanks {
  public:
    static constexpr int kBankSize = 1024;

    ChipBanks(ChipModel model, int chips, std::vector<RegisterFault> faults);

    ChipModel model() const { return model_; }

    int chips() const { return static_cast<int>(chips_.size()); }
    // chip 255 writes every chip. False for a missing chip or bank, or a run past the bank.
    bool write(int chip, int bank, int first, const Bytes& data);
    bool read(int chip, int bank, int first, int count, Bytes& out) const;
    // The chip's bank 0 registers (at least 256), which configure its measurements.
    const uint8_t* config(int chip) const;
    // A measurement's result, where the chip keeps it (ChipMeasure.cpp): one word per data
    // position, Rx words into bank 2 and Tx words into bank 3 (none: bank 3 is cleared).
    void store(int chip, const std::vector<uint16_t>& rxWords, const std::vector<uint16_t>& txWords);

  private:
    using Bank = std::array<uint8_t, kBankSize>;
    struct Chip {
        Bank config{}, rxData{}, txData{};
    };
    Bank* bank(int chip, int bank);
    const Bank* bank(int chip, int bank) const;
    void writeOne(int chip, int bankNo, int reg, uint8_t value);

    ChipModel model_;
    std::vector<Chip> chips_;
    std::vector<RegisterFault> faults_;
};

}  // namespace sim
