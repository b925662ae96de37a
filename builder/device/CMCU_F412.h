// The F412 main MCU: its three frequency setting tables and its frequency formula.
#pragma once

#include <cstdint>
#include <span>

#include "device/CMCU.h"

// One row of a frequency setting table.
struct FreqSetting {
    uint8_t clock;
    uint8_t count;
    uint8_t divider;
};

class CMCU_F412 : public CMCU {
  public:
    using CMCU::CMCU;

    int GetFreqCount() override;
    float CalcFrequency(uint8_t clock, uint8_t count, uint8_t divider) override;
    int GetFreqSetting(int index, uint8_t& clock, uint8_t& count, uint8_t& divider) override;
    int GetClockType() override;
    int GetModelLimitA() override;
    int GetModelLimitB() override;

    // The table GetFreqCount and GetFreqSetting describe for this controller.
    std::span<const FreqSetting> Table() const;
};

// The three tables: T324 controllers (type code 176), clock type 1, and every other controller.
std::span<const FreqSetting> FreqTableT324();
std::span<const FreqSetting> FreqTableClockType1();
std::span<const FreqSetting> FreqTableDefault();
