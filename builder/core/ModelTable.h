// The controller models the builder supports: one row per model holds every fact that depends on
// the model. Code asks the row for a property; nothing compares type codes outside this table.
#pragma once

#include <cstdint>
#include <span>

enum class ChipFamily { T320, T324, T3300 };

// The working-frequency settings the main MCU offers.
enum class FrequencyTable {
    kByClockType,  // the standard table, or the clock-type-1 table when the clock type is 1
    kDivider,      // the divider table of chips whose divider sets the frequency
};

struct ModelRow {
    int typeCode;
    const char* name;
    ChipFamily chip;
    // Tx and Rx chips of the default hardware set.
    uint8_t defaultChips;
    // Bit i set: chip i is the smaller variant of its chip, whose channels start at 0 and end
    // earlier and whose first channels are unwired when it is the first chip.
    uint8_t smallChips;
    // The model's two limits the main MCU reports (0: none).
    int limitA;
    int limitB;
    FrequencyTable frequencies;
    // The divider (1-31) multiplies the frequency, so the text file's divider is kept instead of
    // the fixed one.
    bool dividerSetsFrequency;
    // IC information records are five big-endian 16-bit values instead of five bytes.
    bool wideIcInformation;
    // The clock type follows the kernel version (1 on old kernels, asked from the MCU on new).
    bool clockTypeFromKernel;
    // The default hardware set scans for a stylus.
    bool stylus;
    // The settings file may turn water-line tuning on.
    bool waterLineTuning;
    // Registers 0 .. readOnlyRegisters-1 of every chip are read-only: a write from register 0
    // leaves them out.
    uint8_t readOnlyRegisters;
    // The firmware's short test also names each shorted line's partner (on kernels above 2.34);
    // without it the diagnostics run the plain short test.
    bool classifyingShortTest;

    bool IsSmallChip(int chipIndex) const {
        return chipIndex >= 0 && chipIndex < 8 && ((smallChips >> chipIndex) & 1) != 0;
    }
};

// The supported models in table order.
std::span<const ModelRow> SupportedModels();
// The row of a type code in a table (the supported models unless given); nullptr when none.
const ModelRow* FindModel(int typeCode, std::span<const ModelRow> table = SupportedModels());
