// The T320 sensing chip.
#pragma once

#include "chips/CSlave.h"

namespace Slave_T320 {

class CSlave_T320 : public CSlave {
  public:
    using CSlave::CSlave;

  protected:
    const chipmap::ChipProfile* Profile() const override;
};

}  // namespace Slave_T320

using Slave_T320::CSlave_T320;
