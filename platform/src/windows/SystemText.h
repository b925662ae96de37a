// Inside the platform layer on Windows: texts between the program's narrow strings and the
// system's wide ones, and the system's message for an error number.
#pragma once

#include <string>

namespace platform {

// The program's strings are in the system's code page, as the C runtime hands over arguments.
std::wstring WideFromNarrow(const std::string& text);

std::string SystemErrorText(unsigned long error);

}  // namespace platform
