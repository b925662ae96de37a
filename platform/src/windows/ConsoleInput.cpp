#include "platform/ConsoleInput.h"

#include <io.h>
#include <windows.h>

#include "InterruptWake.h"
#include "platform/Interrupt.h"

namespace platform {

namespace {

HANDLE HandleOf(int fd) {
    const intptr_t handle = _get_osfhandle(fd);
    return handle == -1 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(handle);
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

bool IsBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// One byte, or kEndOfInput at the end of the input, on an error, or once the program has been
// asked to end (the interrupt cancels a read that is waiting).
int ReadByte(HANDLE handle) {
    if (InterruptSignal() != 0) return kEndOfInput;
    unsigned char c = 0;
    DWORD n = 0;
    BOOL ok = FALSE;
    {
        CInterruptibleRead announced;
        if (InterruptSignal() != 0) return kEndOfInput;
        ok = ReadFile(handle, &c, 1, &n, nullptr);
    }
    if (!ok || n != 1 || InterruptSignal() != 0) return kEndOfInput;
    return c;
}

// Bytes that can be read without waiting; -1 where the kind of input cannot tell.
long AvailableBytes(HANDLE handle) {
    DWORD available = 0;
    if (GetFileType(handle) == FILE_TYPE_PIPE)
        return PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr) ? available : 0;
    return -1;
}

}  // namespace

int CConsoleInput::WaitForCharacter() {
    const HANDLE handle = HandleOf(fd_);
    if (handle == INVALID_HANDLE_VALUE) return kEndOfInput;
    const bool console = IsConsole(handle);
    for (;;) {
        const int c = ReadByte(handle);
        // A console ends a line with a carriage return and a line feed; the line feed alone is
        // the line end here, as on every other input.
        if (console && c == '\r') continue;
        return c;
    }
}

int CConsoleInput::ReadKey() {
    int c = WaitForCharacter();
    while (c != kEndOfInput && IsBlank(c)) c = WaitForCharacter();
    return c;
}

void CConsoleInput::DiscardPending() {
    const HANDLE handle = HandleOf(fd_);
    if (handle == INVALID_HANDLE_VALUE) return;
    if (IsConsole(handle)) {
        FlushConsoleInputBuffer(handle);
        return;
    }
    const DWORD type = GetFileType(handle);
    if (type != FILE_TYPE_PIPE && type != FILE_TYPE_DISK) return;  // nothing waits in a device
    // A pipe gives what has arrived; a file has all of its content at hand.
    while (type == FILE_TYPE_DISK || AvailableBytes(handle) > 0) {
        const int c = ReadByte(handle);
        if (c == kEndOfInput || c == '\n') return;
    }
}

CConsoleInput& StandardInput() {
    static CConsoleInput input(0);
    return input;
}

}  // namespace platform
