// Inside the platform layer: the descriptor that becomes readable when a caught interrupt arrives
// (-1 before CatchInterrupts), for waits that must end on it.
#pragma once

namespace platform {

int InterruptWakeDescriptor();

}  // namespace platform
