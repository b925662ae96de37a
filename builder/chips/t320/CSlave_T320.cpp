#include "chips/t320/CSlave_T320.h"

#include "chips/t320/T320Map.h"

namespace Slave_T320 {

const chipmap::ChipProfile* CSlave_T320::Profile() const {
    return &T320Profile();
}

}  // namespace Slave_T320
