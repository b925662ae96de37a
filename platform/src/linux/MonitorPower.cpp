// Linux has no system-wide monitor-power command that a console program could post: the
// monitors stay as they are.
#include "platform/MonitorPower.h"

namespace platform {

void SetMonitorPower(int) {}

}  // namespace platform
