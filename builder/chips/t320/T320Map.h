// The T320 register map, defaults, fixed images and data layout.
#pragma once

#include "chips/RegisterMap.h"

namespace Slave_T320 {

const chipmap::ChipProfile& T320Profile();

}  // namespace Slave_T320
