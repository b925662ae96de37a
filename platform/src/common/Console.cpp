// The parts of the console seam that are the same on every system.
#include <cstdio>

#include "platform/Console.h"

namespace platform {

std::string_view AnsiSequenceFor(int attribute) {
    switch (attribute) {
        case 7:
            return "\x1b[0m";  // back to the terminal's normal colour
        case 9:
            return "\x1b[94m";  // bright blue
        case 10:
            return "\x1b[92m";  // bright green
        case 12:
            return "\x1b[91m";  // bright red
        case 14:
            return "\x1b[93m";  // yellow
        default:
            return "";
    }
}

bool ColoursWanted(bool outputIsTerminal, const char* noColorValue) {
    return outputIsTerminal && noColorValue == nullptr;
}

void WriteConsole(std::string_view text) {
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace platform
