// The builder's logger: every message goes through one of two process-wide instances, which colour
// the console, print the text and append a time-stamped line to a dated file in "BuilderLog".
#pragma once

#include <cstdint>
#include <string>

// Console colours of a message.
enum LogColour : int {
    kColourNormal = 7,
    kColourInfo = 9,
    kColourSuccess = 10,
    kColourError = 12,
    kColourPrompt = 14,
};

// Route flags of a message.
enum LogRoute : int {
    kRouteConsole = 1,
    kRouteFile = 2,
    kRouteBoth = 3,
    kRouteDetail = 4,  // the full text goes to the file; the console shows one "."
};

class CBuilderLog {
public:
    // kind 1: a log file (".en" scrambled, or ".log" in fixed-name mode); kind 0: a CSV file.
    bool Open(int kind, const std::string& baseName);
    // Returns true when the text was not empty. The text is written as it stands (never a format).
    bool Print(int colour, int route, const std::string& text);
    // Formats once with a literal format, then prints the result.
    [[gnu::format(printf, 4, 5)]] bool Printf(int colour, int route, const char* format, ...);
    // Appends one line unchanged (no time stamp); true when written.
    bool AppendLine(const std::string& line);

    // The implementation adds its private state below.
};

CBuilderLog& MainLog();  // opened at start-up under "TovrexBuilder4"
CBuilderLog& TestLog();  // opened by a command under the name of its work
