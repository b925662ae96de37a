#include "chips/t324/CSlave_T324.h"

#include "chips/t324/T324Map.h"

namespace Slave_T324 {

const chipmap::ChipProfile* CSlave_T324::Profile() const {
    return &T324Profile();
}

int CSlave_T324::GetFirstChipTxOffset() {
    return 0;
}
int CSlave_T324::GetFirstChipRxOffset() {
    return 0;
}
int CSlave_T324::GetTxChannelFirst(int) {
    return 0;
}
int CSlave_T324::GetTxChannelLast(int) {
    return 47;
}
int CSlave_T324::GetRxChannelFirst(int) {
    return 0;
}
int CSlave_T324::GetRxChannelLast(int) {
    return 83;
}

}  // namespace Slave_T324
