// Monitor power: the system command that switches every monitor off or on again, as a long
// unattended test run asks for so that the display's emissions do not disturb the panel.
//
// Where the system has such a command, it is posted to every top-level window. Where it has none
// (Linux), the call does nothing.
#pragma once

namespace platform {

// level 2 switches the monitors off, -1 on again.
void SetMonitorPower(int level);

}  // namespace platform
