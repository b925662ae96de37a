#include "platform/LocalTime.h"

namespace platform {

std::tm LocalTime(std::time_t moment) {
    std::tm local{};
    if (localtime_s(&local, &moment) != 0) return std::tm{};
    return local;
}

}  // namespace platform
