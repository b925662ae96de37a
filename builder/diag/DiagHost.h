// What the measurement workspace reads from the controller that owns it: the device and its
// command interface, the chip model that sizes an AFE read, the hardware and software sets a test
// image comes from, and the panel's geometry, and the options of the run. The controller implements
// it; the workspace sees nothing else of the controller.
#pragma once

#include <cstdint>

#include <devlink/devlink.h>

#include "core/BuilderOptions.h"
#include "core/ControllerFacts.h"
#include "core/ModelTable.h"
#include "device/DevLinkApi.h"

class CAPI;
class CMCU;
class CSlave;
class CParam_HW;
class CParam_INI;
class CParam_SW;
class CTuneData;

class DiagHost {
  public:
    virtual const DevLinkApi& Dev() const = 0;
    // Null for a controller without a device.
    virtual DevHandle Handle() const = 0;
    virtual CAPI& Api() = 0;
    // The main MCU: its frequency table, and what a working frequency's settings come to in kHz.
    virtual CMCU& Mcu() = 0;
    virtual CSlave& Chip() = 0;
    virtual CParam_HW& Hw() = 0;
    virtual CParam_SW& Sw() = 0;
    // The tuning and test settings: thresholds, repeat counts, tolerances.
    virtual CParam_INI& Ini() = 0;
    // The measurement workspace the tests and searches read frames and samples through.
    virtual CTuneData& TuneData() = 0;
    virtual const BuilderOptions& Options() const = 0;
    virtual const ControllerIdentity& Identity() const = 0;
    virtual const ControllerGeometry& Geometry() const = 0;
    // The model's row: what the diagnostics choose by model, which chips are the smaller variant.
    virtual const ModelRow& Model() const = 0;
    // The diagnostic sequence's test selection for the current command.
    virtual uint32_t TestMask() const = 0;
    // A forced calibration replaces an Rx chip's calibration value (chips 0 to 3); the controller
    // keeps it for the rest of the run and never writes it to the device.
    virtual void SetCalibrationValue(int chip, uint8_t value) = 0;
    // The AFE sample rows of the last read, which the controller keeps with its geometry.
    virtual void SetRowsPerFrame(uint8_t rows) = 0;
    // 1 when the main MCU runs the alternative sensing clocks.
    virtual uint8_t ClockType() const = 0;
    // The active Tx and Rx channel counts, which follow the chips' ranges when pin finding
    // changes them (the geometry and the channel information alike).
    virtual void SetChannelCounts(int tx, int rx) = 0;
    // Set by the disconnect notice, on the library's thread.
    virtual bool Disconnected() const = 0;

  protected:
    ~DiagHost() = default;
};
