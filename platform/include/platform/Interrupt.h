// Asking a running program to end: Ctrl+C (SIGINT), SIGTERM, and SIGHUP when the console goes.
// On Windows the console's events stand for them under the same numbers: Ctrl+C and Ctrl+Break
// for SIGINT, the console's closing for SIGHUP, log-off and shut-down for SIGTERM.
//
// Once CatchInterrupts has run, the first of the chosen signals is only recorded: the program
// notices it at its next safe point (its next device call, its next console read) and leaves
// through its normal exit path, ending with ExitStatusForInterrupt(). A second signal ends the
// process at once with the same status convention.
#pragma once

namespace platform {

enum InterruptKind : unsigned {
    kInterruptKey = 1,  // Ctrl+C
    kTerminate = 2,     // the system or another program asks the program to end
    kHangUp = 4,        // the console the program runs in has gone
};

// Installs the handlers for the given kinds (a mask of InterruptKind). Console reads that are
// waiting, or start later, end at once (as at the end of the input) after the first signal.
void CatchInterrupts(unsigned kinds);

// 0 until a caught signal has arrived; then its number.
int InterruptSignal();

// The conventional exit status of a program ended by a signal: 128 + its number; on Windows the
// code the system gives a program that Ctrl+C ended (0xC000013A).
int ExitStatusForInterrupt(int signal);

}  // namespace platform
