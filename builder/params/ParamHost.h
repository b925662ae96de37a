// What a parameter set reads from the controller that owns it: the command interface, the main
// MCU and the chip model it works through, the settings, what initialisation learnt, and the few
// hardware-set values the software set depends on. The controller implements it; a parameter set
// sees nothing else of the controller or of its sibling sets.
#pragma once

#include "core/ModelTable.h"

#include <cstdint>
#include <string>

#include "core/BuilderOptions.h"
#include "core/ControllerFacts.h"

class CAPI;
class CMCU;
class CSlave;

// The hardware-set values the software set follows.
struct HardwareSummary {
    int frequencies = 0;  // NumsOfFreq
    bool waterScan = false;
    uint8_t strayUpdateWaitTime = 0;
    uint8_t strayUpdateTime = 0;
    bool usesStylus = false;  // the scan control's stylus bits
};

// The files a command line may name that a load uses up.
enum class CommandLineFile { kHwText, kHwRegister, kSwText, kPenText, kPenRegister };

class ParamHost {
  public:
    virtual CAPI& Api() = 0;
    virtual CMCU& Mcu() = 0;
    virtual CSlave& Chip() = 0;
    virtual const BuilderOptions& Options() const = 0;
    virtual int TypeCode() const = 0;
    virtual const ModelRow& Model() const = 0;
    // The name of the model in the builder's table, and the one the controller reports.
    virtual const std::string& ModelName() const = 0;
    virtual const std::string& ReportedModelName() const = 0;
    virtual uint16_t ProductNumber() const = 0;
    virtual const ControllerIdentity& Identity() const = 0;
    virtual const ControllerGeometry& Geometry() const = 0;
    virtual HardwareSummary Hardware() const = 0;
    // A file named on the command line serves the first load of a command; later loads read the
    // working-folder file. Returns the name (empty when there is none, or no longer).
    virtual std::string TakeCommandLinePath(CommandLineFile file) = 0;

  protected:
    ~ParamHost() = default;
};
