#include "model/ImageColours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace tuner::image {
namespace {

constexpr std::array<uint32_t, 16> kGreens{0x005500, 0x007500, 0x009100, 0x00A600,
                                           0x00BB00, 0x00DB00, 0x00EC00, 0x28FF28,
                                           0x53FF53, 0x79FF79, 0x93FF93, 0xA6FFA6,
                                           0xBBFFBB, 0xCEFFCE, 0xDFFFDF, 0xF0FFF0};

uint8_t Level(double fraction) {
    return static_cast<uint8_t>(std::lround(std::clamp(fraction, 0.0, 1.0) * 255.0));
}

}  // namespace

Rgb ThresholdColour(int value, int low, int high) {
    const long magnitude = std::labs(value);
    if (value < 1 && value >= 0) return kDim;
    if (magnitude < low) return kDim;
    if (value > 0) return magnitude < high ? FromBgr(0x28DC82) : FromBgr(0x00FF00);
    return magnitude < high ? FromBgr(0xAB82FF) : kRed;
}

int GreenStep(int value, int minimum, int maximum) {
    if (maximum <= minimum) return 0;
    const long long step = (static_cast<long long>(value) - minimum) * 15 / (maximum - minimum);
    return static_cast<int>(std::clamp<long long>(step, 0, 15));
}

Rgb GreenScale(int step) {
    return FromBgr(kGreens[static_cast<size_t>(std::clamp(step, 0, 15))]);
}

Rgb ValueColour(const GridSnapshot& s, int value, int low, int high) {
    if (s.testMode) return value < 32766 ? kAmber : kRed;
    if (s.type != nullptr && s.type->greenScale)
        return GreenScale(GreenStep(value, s.minimum, s.maximum));
    if (s.type != nullptr && s.type->percentOfSwing && value > 79) return kRed;
    return ThresholdColour(value, low, high);
}

Rgb ScaleColour(double v, double d) {
    const double x = d > 0 ? std::clamp(4.0 * v / d, 0.0, 4.0) : 0.0;
    return {Level(x - 2.0), Level(x <= 3.0 ? x : 4.0 - x), Level(2.0 - x)};
}

Rgb ScaleFill(const GridSnapshot& s, int value) {
    if (s.type != nullptr && s.type->scaleFromMinimum)
        return ScaleColour(static_cast<double>(value) - s.minimum,
                           static_cast<double>(s.maximum) - s.minimum);
    const double d = std::max(std::fabs(static_cast<double>(s.minimum)),
                              std::fabs(static_cast<double>(s.maximum)));
    return ScaleColour(std::fabs(static_cast<double>(value)), d);
}

}  // namespace tuner::image
