// The in-process simulated controller as a transport. Its device paths are "sim:<profile>" for
// the first controller and "sim:<profile>#<n>" for further ones.
#pragma once

#include "Backend.h"

namespace devlink::simtransport {

extern const Backend kBackend;

}  // namespace devlink::simtransport
