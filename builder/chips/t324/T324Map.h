// The T324 register map, defaults, fixed images and data layout.
#pragma once

#include "chips/RegisterMap.h"

namespace Slave_T324 {

const chipmap::ChipProfile& T324Profile();

}  // namespace Slave_T324
