// The builder's console: one process-wide lock around colour, text and colour reset, so that
// messages of the main log, the test log and the device library's thread never interleave.
#pragma once

#include <mutex>
#include <string_view>

std::mutex& ConsoleMutex();

// Writes text to standard output in a colour (LogColour), then sets the normal colour again.
// Console only: nothing reaches a log file.
void ConsoleWrite(std::string_view text, int colour = 7);

// The bell: the character 7 on standard output, the given number of times.
void RingBell(int times);
