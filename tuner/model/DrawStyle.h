// Colours and pens of the draw-test page. Colours are given as the page's colour references
// (0x00BBGGRR: red in the low byte).
#pragma once

#include <cstdint>

#include "model/DrawReports.h"

namespace tuner {

struct Colour {
    uint8_t r = 0, g = 0, b = 0;

    static constexpr Colour FromRef(uint32_t ref) {
        return {static_cast<uint8_t>(ref & 0xFF), static_cast<uint8_t>((ref >> 8) & 0xFF),
                static_cast<uint8_t>((ref >> 16) & 0xFF)};
    }
    bool operator==(const Colour&) const = default;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kPassGreen = Colour::FromRef(0x227C22);
inline constexpr Colour kAlertRed = Colour::FromRef(0x0000FF);

struct Pen {
    Colour colour;
    int width = 1;
    bool visible = true;

    bool operator==(const Pen&) const = default;
};

// The colour of a touch ID (it repeats every ten IDs), drawn 2 pixels wide.
Pen IdPen(int id);
// The pen that marks a contact starting on the coordinate border.
Pen BorderPen();
// The pen of a record in stylus drawing: by its style while the stylus is in range, else red by
// its pressure while it touches; invisible otherwise.
Pen RecordPen(const PointRecord& record);

enum class Background { kWhite, kBlue, kBlack };
Colour BackgroundColour(Background background);

}  // namespace tuner
