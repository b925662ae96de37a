#include "chips/t324/CSlave_T324.h"

#include "chips/t324/T324Map.h"

namespace Slave_T324 {

const chipmap::ChipProfile* CSlave_T324::Profile() const {
    return &T324Profile();
}

}  // namespace Slave_T324
