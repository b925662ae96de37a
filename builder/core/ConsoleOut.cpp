#include "core/ConsoleOut.h"

#include <string>

#include "platform/Console.h"

std::mutex& ConsoleMutex() {
    static std::mutex mutex;
    return mutex;
}

void ConsoleWrite(std::string_view text, int colour) {
    if (text.empty()) return;
    std::lock_guard lock(ConsoleMutex());
    platform::SetConsoleColour(colour);
    platform::WriteConsole(text);
    platform::SetConsoleColour(7);
}

void RingBell(int times) {
    if (times <= 0) return;
    std::lock_guard lock(ConsoleMutex());
    platform::WriteConsole(std::string(static_cast<std::size_t>(times), '\a'));
}
