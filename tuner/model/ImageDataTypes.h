// The kinds of data the image page can show: the text of the list entry, the working mode that
// makes the controller stream it, and what the page computes on each frame.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tuner::image {

enum class DataKind {
    kRawCal,
    kRawNoCal,
    kTouchSignal,
    kTouchPercent,
    kAfePercent,
    kAdcPercent,
    kCooked,
    kUniformityCooked,
    kUniformity,
};

struct DataType {
    DataKind kind;
    std::string_view text;
    uint16_t workingMode;
    // Raw values are coloured on a green scale from the frame's minimum to its maximum.
    bool greenScale;
    // The colour scale runs from the minimum (true) or from zero by magnitude (false).
    bool scaleFromMinimum;
    // Values above 79 are written in red.
    bool percentOfSwing;
};

inline constexpr std::string_view kDefaultDataType = "Raw (Cal)";

// Every type in list order.
const std::vector<DataType>& AllDataTypes();
// The types a controller offers: the uncalibrated raw view needs kernel 5.114 or later.
std::vector<DataType> OfferedDataTypes(uint8_t kernelMajor, uint8_t kernelMinor);
// nullptr when no type has this text.
const DataType* FindDataType(std::string_view text);

}  // namespace tuner::image
