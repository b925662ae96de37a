#include "platform/Console.h"

#include <unistd.h>

#include <cstdlib>

namespace platform {

bool ConsoleShowsColours() {
    static const bool wanted = ColoursWanted(isatty(STDOUT_FILENO) == 1, std::getenv("NO_COLOR"));
    return wanted;
}

void SetConsoleColour(int attribute) {
    if (!ConsoleShowsColours()) return;
    WriteConsole(AnsiSequenceFor(attribute));
}

}  // namespace platform
