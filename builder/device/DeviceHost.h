// What the device interfaces (command interface, main MCU) and the measurement workspace read from
// the controller that owns them. The controller implements it; a device object sees nothing else.
#pragma once

#include "core/ModelTable.h"

#include <array>
#include <cstdint>

#include <devlink/devlink.h>

#include "device/DevLinkApi.h"

class DeviceHost {
  public:
    virtual const DevLinkApi& Dev() const = 0;
    // Null for a controller without a device.
    virtual DevHandle Handle() const = 0;
    virtual int TypeCode() const = 0;
    virtual const ModelRow& Model() const = 0;
    // Chips that "all chips" (255) stands for.
    virtual int RxChipCount() const = 0;
    virtual uint8_t ClockType() const = 0;
    virtual const std::array<uint8_t, 64>& PcapInfo() const = 0;

  protected:
    ~DeviceHost() = default;
};
