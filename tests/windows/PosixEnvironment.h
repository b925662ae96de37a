// Forced into the shared suites that the Windows build runs: the two POSIX calls by which they set
// and clear environment variables, over the C runtime's own call. Tests only; product code reads
// its environment and never writes it.
#pragma once

#include <stdlib.h>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (overwrite == 0 && getenv(name) != nullptr) return 0;
    return _putenv_s(name, value) == 0 ? 0 : -1;
}

// The C runtime removes a variable that is set to the empty text.
inline int unsetenv(const char* name) {
    return _putenv_s(name, "") == 0 ? 0 : -1;
}
