#include "platform/ConsoleInput.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "InterruptWake.h"
#include "platform/Interrupt.h"

namespace platform {

namespace {

// Blocks until the descriptor is readable or hung up; false on an error other than a signal.
bool AwaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const int n = poll(&p, 1, timeoutMs);
        if (n > 0) return true;
        if (n == 0) return false;
        if (errno != EINTR) return false;
    }
}

bool IsBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Once the program has been asked to end, a wait for the user ends as at the end of the input.
// Waits for the input or the interrupt; true when the input is readable.
bool InputBeforeInterrupt(int fd) {
    const int wake = InterruptWakeDescriptor();
    if (wake < 0) return true;  // interrupts are not caught: read as usual
    pollfd p[2] = {{fd, POLLIN, 0}, {wake, POLLIN, 0}};
    for (;;) {
        if (InterruptSignal() != 0) return false;
        const int n = poll(p, 2, -1);
        if (n > 0) return (p[1].revents & POLLIN) == 0 && InterruptSignal() == 0;
        if (n < 0 && errno != EINTR) return true;  // let the read report the error
    }
}

}  // namespace

int CConsoleInput::WaitForCharacter() {
    for (;;) {
        if (!InputBeforeInterrupt(fd_)) return kEndOfInput;
        unsigned char c = 0;
        const ssize_t n = read(fd_, &c, 1);
        if (n == 1) return c;
        if (n == 0) return kEndOfInput;
        if (errno == EINTR) continue;
        // A non-blocking descriptor without data: wait for data or the writer's end instead of
        // retrying in a loop.
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && AwaitReadable(fd_, -1)) continue;
        return kEndOfInput;
    }
}

int CConsoleInput::ReadKey() {
    int c = WaitForCharacter();
    while (c != kEndOfInput && IsBlank(c)) c = WaitForCharacter();
    return c;
}

void CConsoleInput::DiscardPending() {
    if (isatty(fd_) == 1) {
        tcflush(fd_, TCIFLUSH);
        return;
    }
    while (AwaitReadable(fd_, 0)) {
        unsigned char c = 0;
        const ssize_t n = read(fd_, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n != 1 || c == '\n') return;
    }
}

CConsoleInput& StandardInput() {
    static CConsoleInput input(STDIN_FILENO);
    return input;
}

}  // namespace platform
