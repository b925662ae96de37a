// The local calendar date and time of a moment, through the thread-safe call each system offers.
#pragma once

#include <ctime>

namespace platform {

// The moment broken into local date and time; all fields 0 when the system cannot convert it.
std::tm LocalTime(std::time_t moment);

}  // namespace platform
