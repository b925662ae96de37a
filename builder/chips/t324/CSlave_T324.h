// The T324 sensing chip.
#pragma once

#include "chips/CSlave.h"

namespace Slave_T324 {

class CSlave_T324 : public CSlave {
  public:
    using CSlave::CSlave;

    // The chip has no sine generator and no register banks to switch.
    void SetSinAmp(Image, int) override {}
    int GetSinAmp(ConstImage) override { return 10; }
    bool WriteSinTable(ConstImage) override { return true; }
    bool WriteRegBank(int, Image, int) override { return true; }
    bool SelectRegBank3(Image) override { return true; }

  protected:
    const chipmap::ChipProfile* Profile() const override;
};

}  // namespace Slave_T324

using Slave_T324::CSlave_T324;
