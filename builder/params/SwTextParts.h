// Pieces the writing and the reading of the software text file share.
#pragma once

#include <algorithm>
#include <cstdint>

#include "params/SwLayout.h"

namespace SwText {

inline constexpr char kModelSection[] = "Model Configuration";
inline constexpr char kGeneralRdSection[] = "Alg General Config-RD";

struct ModelString {
    const char* key;
    int offset;
    int width;
    const char* comment;
    const char* rangeText;
    const char* missing;  // what loading stores when the key is missing
};
inline constexpr ModelString kModelStrings[] = {
    {"ModelNum", SwLayout::kModelNum, SwLayout::kModelNumWidth, "", "0000~9999", "GXXX"},
    {"ModelInfo", SwLayout::kModelInfo, SwLayout::kModelInfoWidth, "7 character string.", "",
     "K7PXXX"},
    {"FWVersion", SwLayout::kFwVersion, SwLayout::kFwVersionWidth, "15 character string.", "",
     "99"},
};

// The threshold modes a file holds: a count outside 1 to 3 never bounds a loop.
inline int ModesOf(int numsOfThresholds) {
    return std::clamp(numsOfThresholds, 1, SwLayout::kThresholdModes);
}

}  // namespace SwText
