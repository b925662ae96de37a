// The colours of the image grid: value text by thresholds, the raw views' green scale, the
// percentage and test-mode warnings, and the blue-to-red fill of the colour scale.
#pragma once

#include <cstdint>

#include "model/ImageProcessor.h"

namespace tuner::image {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;

    bool operator==(const Rgb&) const = default;
};

// A colour written as 0x00BBGGRR, the form the colour tables below use.
constexpr Rgb FromBgr(uint32_t bgr) {
    return {static_cast<uint8_t>(bgr & 0xFF), static_cast<uint8_t>((bgr >> 8) & 0xFF),
            static_cast<uint8_t>((bgr >> 16) & 0xFF)};
}

inline constexpr Rgb kRed = FromBgr(0x0000FF);
inline constexpr Rgb kAmber = FromBgr(0xFFBF00);
inline constexpr Rgb kDim = FromBgr(0x3C3C3C);

// Text colour of a value against the thresholds ThL and ThH; negative values by their magnitude.
Rgb ThresholdColour(int value, int low, int high);
// Step 0 (darkest) to 15 of the green scale between the frame's minimum and maximum.
int GreenStep(int value, int minimum, int maximum);
Rgb GreenScale(int step);
// Text colour of one grid value (or key value) as the snapshot's type and mode colour it.
Rgb ValueColour(const GridSnapshot& s, int value, int low, int high);
// The colour-scale fill: x = 4 v / d from blue (0) through cyan, green and yellow to red (4).
// d = 0 is blue; x is kept within 0..4.
Rgb ScaleColour(double v, double d);
// The fill of a grid value under the colour scale, from the snapshot's minimum and maximum.
Rgb ScaleFill(const GridSnapshot& s, int value);

}  // namespace tuner::image
