// The main-MCU interface: what the controller's frequency generator can do, from built-in tables.
#pragma once

#include <cstdint>

#include "device/DeviceHost.h"

class CMCU {
  public:
    explicit CMCU(DeviceHost* host) : host_(host) {}
    virtual ~CMCU() = default;
    CMCU(const CMCU&) = delete;
    CMCU& operator=(const CMCU&) = delete;

    // Rows of the frequency setting table in use.
    virtual int GetFreqCount() = 0;
    // Working frequency in kHz of a (clock, count, divider) setting.
    virtual float CalcFrequency(uint8_t clock, uint8_t count, uint8_t divider) = 0;
    // Row `index` of the table; an index outside the table reads row 0. Always true.
    virtual int GetFreqSetting(int index, uint8_t& clock, uint8_t& count, uint8_t& divider) = 0;
    virtual int GetClockType() = 0;
    virtual int GetModelLimitA() = 0;
    virtual int GetModelLimitB() = 0;

  protected:
    DeviceHost* Host() const { return host_; }

  private:
    DeviceHost* host_;
};
