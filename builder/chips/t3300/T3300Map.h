// The T3300 register map, defaults, fixed images and data layout.
#pragma once

#include "chips/RegisterMap.h"

namespace Slave_T3300 {

const chipmap::ChipProfile& T3300Profile();

}  // namespace Slave_T3300
