#include "model/DrawStyle.h"

#include <algorithm>
#include <array>

namespace tuner {
namespace {

constexpr std::array<uint32_t, 10> kIdColours = {0x0000FF, 0x00FF00, 0xFF0000, 0x0FB9FF, 0xF020A0,
                                                 0x3A3A74, 0x0066CD, 0x228B69, 0xAB82FF, 0x98F5A0};
constexpr int kIdPenWidth = 2;
constexpr int kPressurePerPixel = 204;

// The pressure pen is never thinner than one pixel, whatever the pressure.
int PressureWidth(int16_t z) {
    return std::max(1, z / kPressurePerPixel);
}

}  // namespace

Pen IdPen(int id) {
    const auto index = static_cast<std::size_t>(((id % 10) + 10) % 10);
    return {Colour::FromRef(kIdColours[index]), kIdPenWidth};
}

Pen BorderPen() {
    return IdPen(5);
}

Pen RecordPen(const PointRecord& record) {
    if (record.InRange()) {
        switch (StyleOf(record)) {
            case StylusStyle::kHover:
                return {Colour::FromRef(0xB4B4B4), 3};
            case StylusStyle::kTip:
                return {Colour::FromRef(0x0000FF), PressureWidth(record.z)};
            case StylusStyle::kEraser:
                return {Colour::FromRef(0xCDCD79), 3};
            case StylusStyle::kBarrel:
                return {Colour::FromRef(0x25C1FF), 3};
            case StylusStyle::kInRange:
                break;
        }
        return {kBlack, 1, false};
    }
    if (record.Contact()) return {Colour::FromRef(0x0000FF), PressureWidth(record.z)};
    return {kBlack, 1, false};
}

Colour BackgroundColour(Background background) {
    switch (background) {
        case Background::kBlue:
            return Colour::FromRef(0x797900);
        case Background::kBlack:
            return Colour::FromRef(0x191919);
        case Background::kWhite:
            break;
    }
    return Colour::FromRef(0xFAFAFA);
}

}  // namespace tuner
