// The process exit code that carries a program's 32-bit result to its caller.
#pragma once

#include <cstdint>

namespace platform {

// Windows keeps all 32 bits of an exit code, so there the result itself is the code. A POSIX exit
// status keeps only 8 bits, so there the caller's small status, which names the kind of result,
// stands for it.
int ExitCodeFor(uint32_t result, int smallStatus);

}  // namespace platform
