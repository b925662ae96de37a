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

    int chips() const { return static_cast<int>(chips_.size()); }
    // chip 255 writes every chip. False for a missing chip or bank, or a run past the bank.
    bool write(int chip, int bank, int first, const Bytes& data);
    bool read(int chip, int bank, int first, int count, Bytes& out) const;
    // One register-level measurement on every chip, as its bank 0 configures it (ChipMeasure.cpp):
    // a calibration reading, the noise floor or the drive signal into the Rx words of bank 2, and
    // with txAxis the signal of every Tx line into bank 3.
    void measure(bool txAxis);

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
