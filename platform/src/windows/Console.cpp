#include "platform/Console.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

// A console keeps a mode; a pipe or a file has none, so the mode query tells them apart.
bool OutputIsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

}  // namespace

bool ConsoleShowsColours() {
    static const bool wanted = ColoursWanted(OutputIsConsole(), std::getenv("NO_COLOR"));
    return wanted;
}

// The colour numbers are the console's own text attributes, so they are set as they stand. Text
// already written through the standard library goes out first, in the colour it was written in.
void SetConsoleColour(int attribute) {
    if (!ConsoleShowsColours() || attribute < 0 || attribute > 0xFF) return;
    std::fflush(stdout);
    SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), static_cast<WORD>(attribute));
}

}  // namespace platform
