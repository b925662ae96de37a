// Reading the user's answers from standard input, one character at a time.
//
// The console delivers its input line by line; a line end is a character like any other. Reads go
// straight to the file descriptor (no stdio buffer), so that what one reader leaves is still there
// for the next. End of input and read errors end a wait at once: a program whose standard input is
// closed, a file or /dev/null never hangs and never spins on it.
#pragma once

namespace platform {

inline constexpr int kEndOfInput = -1;

class CConsoleInput {
  public:
    explicit CConsoleInput(int fd) : fd_(fd) {}

    // Waits for one character and returns it (0-255), or kEndOfInput at the end of the input or on
    // a read error.
    int WaitForCharacter();

    // Like WaitForCharacter, but skips blanks and line ends first (a formatted character read).
    int ReadKey();

    // Drops what has been typed but not read yet: the terminal's pending input, or, for a pipe or a
    // file, the rest of the current line as far as it is already available. Never waits.
    void DiscardPending();

  private:
    int fd_;
};

// The process's standard input.
CConsoleInput& StandardInput();

}  // namespace platform
