#include "model/DrawOps.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace tuner {

std::string Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // A longer text is cut at the buffer; the page's texts are far shorter.
    const std::size_t length = n < 0 ? 0 : static_cast<std::size_t>(n);
    return std::string(text, std::min(length, sizeof text - 1));
}

}  // namespace tuner
