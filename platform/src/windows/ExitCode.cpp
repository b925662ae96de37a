#include "platform/ExitCode.h"

namespace platform {

int ExitCodeFor(uint32_t result, int) {
    return static_cast<int>(result);
}

}  // namespace platform
