#include "chips/t320/CSlave_T320.h"

#include "chips/t320/T320Map.h"

namespace Slave_T320 {

const chipmap::ChipProfile* CSlave_T320::Profile() const {
    return &T320Profile();
}

int CSlave_T320::GetFirstChipTxOffset() {
    return 0;
}
int CSlave_T320::GetFirstChipRxOffset() {
    return 0;
}
int CSlave_T320::GetTxChannelFirst(int) {
    return 0;
}
int CSlave_T320::GetTxChannelLast(int) {
    return 79;
}
int CSlave_T320::GetRxChannelFirst(int) {
    return 0;
}
int CSlave_T320::GetRxChannelLast(int) {
    return 127;
}

}  // namespace Slave_T320
