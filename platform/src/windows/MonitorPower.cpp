#include "platform/MonitorPower.h"

#include <windows.h>

namespace platform {

void SetMonitorPower(int level) {
    // Posted, not sent: a window that does not answer must not hold up the caller. Without any
    // top-level window the broadcast reaches no one and does nothing.
    PostMessageW(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, static_cast<LPARAM>(level));
}

}  // namespace platform
