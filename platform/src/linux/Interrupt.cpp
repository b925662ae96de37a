#include "platform/Interrupt.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "InterruptWake.h"

namespace platform {
namespace {

std::atomic<int> gSignal{0};
// Written once by the first signal, so that a console wait (poll) wakes up; a flag alone would
// leave a read that started just before the signal waiting.
int gWake[2] = {-1, -1};

void OnSignal(int signal) {
    int expected = 0;
    if (!gSignal.compare_exchange_strong(expected, signal)) _exit(ExitStatusForInterrupt(signal));
    if (gWake[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(gWake[1], &byte, 1);
    }
}

void Catch(int signal) {
    struct sigaction action = {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a blocking read returns, and the reader looks at the flag
    sigaction(signal, &action, nullptr);
}

}  // namespace

void CatchInterrupts(unsigned kinds) {
    if (gWake[0] < 0 && pipe2(gWake, O_CLOEXEC | O_NONBLOCK) != 0) gWake[0] = gWake[1] = -1;
    if (kinds & kInterruptKey) Catch(SIGINT);
    if (kinds & kTerminate) Catch(SIGTERM);
    if (kinds & kHangUp) Catch(SIGHUP);
}

int InterruptSignal() {
    return gSignal.load();
}

int ExitStatusForInterrupt(int signal) {
    return 128 + signal;
}

int InterruptWakeDescriptor() {
    return gWake[0];
}

}  // namespace platform
