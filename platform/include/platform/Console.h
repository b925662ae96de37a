// Console output with colours. The colour numbers are the console text attributes the programs use
// (7 normal, 9 information, 10 success, 12 error, 14 prompt); on Linux they become ANSI escape
// sequences when standard output is a terminal and NO_COLOR is unset, and nothing otherwise.
// A colour is never an error: where it cannot be shown, the text is written plain.
#pragma once

#include <string_view>

namespace platform {

// The escape sequence that shows a colour attribute; "" for 7 (the terminal's own colour is the
// normal one) and for attributes without a mapping.
std::string_view AnsiSequenceFor(int attribute);

// Whether colours are wanted, given whether standard output is a terminal and the value of NO_COLOR
// (nullptr when unset; any value, even empty, switches colours off as that convention says).
bool ColoursWanted(bool outputIsTerminal, const char* noColorValue);

// Decided once per process from standard output and the environment.
bool ConsoleShowsColours();

// Sets the colour of the text written after it. Does nothing where colours are not shown.
void SetConsoleColour(int attribute);

// Writes the text to standard output exactly as it stands and flushes it, so that a prompt without
// a line end is visible before the program waits for input.
void WriteConsole(std::string_view text);

}  // namespace platform
