// What a sensing chip model reads from the controller that owns it: the command interface it talks
// through, the model, and the wiring the hardware set gives (chips per axis and each chip's run of
// channels). The controller implements it; a chip sees nothing else.
#pragma once

#include "core/ModelTable.h"

class CAPI;

// First and last channel of one chip on one axis, as the hardware set records them.
struct WiredRun {
    int first = 0;
    int last = 0;
};

class ChipHost {
  public:
    virtual CAPI& Api() = 0;
    virtual int TypeCode() const = 0;
    virtual const ModelRow& Model() const = 0;
    // The hardware set's chip count of the axis, as stored (not limited).
    virtual int WiredChips(bool txAxis) const = 0;
    virtual WiredRun WiredChannels(bool txAxis, int chip) const = 0;

  protected:
    ~ChipHost() = default;
};
