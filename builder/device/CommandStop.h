// Stopping a running command when the program is asked to end (Ctrl+C, SIGTERM, SIGHUP).
//
// While a command's handler runs, a CCommandScope exists; once the program has been asked to end,
// every device call of the command fails before it reaches the controller, so the command ends
// at its next device call. Outside the scope (the switch back to normal mode, the restart into
// the resume mode and the close of the exit path) device calls go through.
#pragma once

class CCommandScope {
  public:
    CCommandScope();
    ~CCommandScope();
    CCommandScope(const CCommandScope&) = delete;
    CCommandScope& operator=(const CCommandScope&) = delete;
};

// True when the program has been asked to end while a command runs; the first time it is true,
// the stop is logged.
bool CommandMustStop();
