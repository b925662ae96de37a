// Image reports as the controller sends them, for the image page's tests.
#pragma once

#include <cstdint>
#include <vector>

#include "devlink/devlink.h"

namespace tuner::image::test {

// A kind 0x4A report: row, first column and values; the count byte covers them.
inline DevReport RowReport(int row, int first, const std::vector<int16_t>& values) {
    DevReport r{};
    r.bytes[0] = 0x03;
    r.bytes[1] = static_cast<uint8_t>(3 + 2 * values.size());
    r.bytes[2] = 0x4A;
    r.bytes[3] = static_cast<uint8_t>(row);
    r.bytes[4] = static_cast<uint8_t>(first);
    for (size_t i = 0; i < values.size() && 6 + 2 * i < 64; ++i) {
        r.bytes[5 + 2 * i] = static_cast<uint8_t>(values[i] & 0xFF);
        r.bytes[6 + 2 * i] = static_cast<uint8_t>((values[i] >> 8) & 0xFF);
    }
    return r;
}

}  // namespace tuner::image::test
