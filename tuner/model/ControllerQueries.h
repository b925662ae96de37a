// The controller's identity texts, touch-key capability and coordinate ranges. A failing capability
// or range query is silent and leaves the defaults.
#pragma once

#include <cstdint>
#include <string>

#include "devlink/devlink.h"

namespace tuner {

// The tuner keeps at most this many characters of each identity text.
inline constexpr std::size_t kIdentityTextMax = 63;

struct IdentityTexts {
    std::string modelName;
    std::string modelSubName;
    std::string icType;
    std::string firmwareVersion;
};

struct TouchKeyCounts {
    uint8_t keys = 0;        // record 1 byte 5
    uint8_t secondKeys = 0;  // record 1 byte 9, used when keys is 0
};

inline constexpr uint16_t kDefaultCoordinateMax = 0x0FFF;

struct CoordinateMaxima {
    uint16_t touchX = kDefaultCoordinateMax;
    uint16_t touchY = kDefaultCoordinateMax;
    uint16_t stylusX = kDefaultCoordinateMax;
    uint16_t stylusY = kDefaultCoordinateMax;

    bool operator==(const CoordinateMaxima&) const = default;
};

// Reads the four texts; a text the controller does not give stays empty.
IdentityTexts ReadIdentityTexts(DevHandle handle);

// Touch-key counts: asked for only when record 0 announces touch keys (bit 0 or bit 3 of byte 4).
TouchKeyCounts ReadTouchKeyCounts(DevHandle handle);

// Kernels before 5.38 cannot answer the report-information request.
bool KernelReportsCoordinateRanges(uint8_t kernelMajor, uint8_t kernelMinor);

// Coordinate maxima from the report information, or 4095 for each where it is not available.
CoordinateMaxima ReadCoordinateMaxima(DevHandle handle, uint8_t kernelMajor, uint8_t kernelMinor);

}  // namespace tuner
