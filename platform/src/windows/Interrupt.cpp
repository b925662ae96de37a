#include "platform/Interrupt.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "InterruptWake.h"

namespace platform {
namespace {

// The console's events carry the numbers of the POSIX signals they stand for, so that callers see
// the same numbers on every system.
constexpr int kSignalHangUp = 1;
constexpr int kSignalInterrupt = 2;
constexpr int kSignalTerminate = 15;

// What the system reports for a program that the console's interrupt ended.
constexpr DWORD kControlCExit = 0xC000013A;

std::atomic<unsigned> gKinds{0};
std::atomic<int> gSignal{0};
std::atomic<HANDLE> gReader{nullptr};

int SignalFor(DWORD event, unsigned kinds) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            return (kinds & kInterruptKey) ? kSignalInterrupt : 0;
        case CTRL_CLOSE_EVENT:
            return (kinds & kHangUp) ? kSignalHangUp : 0;
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            return (kinds & kTerminate) ? kSignalTerminate : 0;
        default:
            return 0;
    }
}

// A read can be between announcing itself and entering the system when the cancel comes, and the
// cancel then finds nothing to cancel: try again until the reader has left.
void CancelWaitingRead() {
    for (int attempt = 0; attempt < 200; ++attempt) {
        const HANDLE reader = gReader.load();
        if (reader == nullptr) return;
        CancelSynchronousIo(reader);
        Sleep(10);
    }
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    const int signal = SignalFor(event, gKinds.load());
    if (signal == 0) return FALSE;  // the system's own handling
    int expected = 0;
    if (!gSignal.compare_exchange_strong(expected, signal))
        std::_Exit(ExitStatusForInterrupt(signal));
    CancelWaitingRead();
    // After a close, log-off or shut-down event the system ends the process as soon as this
    // handler returns; waiting here gives the main thread the few seconds the system allows to
    // leave through its exit path (which ends the process, and this wait with it).
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(INFINITE);
    return TRUE;
}

}  // namespace

void CatchInterrupts(unsigned kinds) {
    const unsigned before = gKinds.fetch_or(kinds);
    if (before == 0) SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

int InterruptSignal() {
    return gSignal.load();
}

int ExitStatusForInterrupt(int) {
    return static_cast<int>(kControlCExit);
}

// The handle from GetCurrentThread names "the calling thread" wherever it is used; the handler
// needs one that names the reader. It is made once per reading thread and kept open, so that the
// handler never cancels through a handle that has been closed in the meantime.
CInterruptibleRead::CInterruptibleRead() {
    thread_local HANDLE self = nullptr;
    if (self == nullptr && !DuplicateHandle(GetCurrentProcess(), GetCurrentThread(),
                                            GetCurrentProcess(), &self, THREAD_TERMINATE, FALSE, 0))
        self = nullptr;
    thread_ = self;
    if (self != nullptr) gReader.store(self);
}

CInterruptibleRead::~CInterruptibleRead() {
    if (thread_ != nullptr) gReader.store(nullptr);
}

}  // namespace platform
