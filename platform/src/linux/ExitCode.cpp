#include "platform/ExitCode.h"

namespace platform {

int ExitCodeFor(uint32_t, int smallStatus) {
    return smallStatus;
}

}  // namespace platform
