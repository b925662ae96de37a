// Where the image page's frames come from and which part of the sensor a display mode shows: the
// channel geometry, the report window asked of the controller, and the row that ends a frame.
#pragma once

#include <cstdint>

#include "model/ChannelInfo.h"

namespace tuner::image {

// The frame area: 160 rows, each row with room for 255 Rx values and one spare slot, so that no
// row of the widest sensor runs into the next.
inline constexpr int kFrameRows = 160;
inline constexpr int kRowSlots = 256;
inline constexpr int kMaxKeys = 256;

struct Geometry {
    int tx = 0;     // Tx channels (T)
    int rx = 0;     // Rx channels (R)
    int lead1 = 0;  // L1, never negative
    int lead2 = 0;  // L2, the water rows shown before the first Tx row
    int lead = 0;   // L1 + L2: the frame row of Tx channel 0
    int keys = 0;   // touch keys reported after the last row

    // Tx channels whose rows lie inside the frame area.
    int ShownTx() const;
    // Rows and columns of the page's grid: water rows and Tx rows, the "WT" column and Rx columns.
    int GridRows() const { return lead2 + ShownTx(); }
    int GridColumns() const { return rx + 1; }
};

// Channel counts above the area are cut to it and negative lead rows count as none.
Geometry MakeGeometry(const ChannelInfo& info, int keyCount);

enum class DisplayMode { kTotal = 0, kUp = 1, kDown = 2, kRange = 3, kQuad = 4 };

struct ChannelWindow {
    int firstRx = 0, lastRx = 0, firstTx = 0, lastTx = 0;

    bool operator==(const ChannelWindow&) const = default;
};

// What a display mode asks of the controller and how the page recognises the end of a frame.
struct ReportPlan {
    ChannelWindow window;
    int expectedLastRow = 0;
    int rowLength = 0;
};

// The RANGE window a page starts with: up to 51 Rx and 31 Tx channels from channel 0.
ChannelWindow DefaultRangeWindow(const Geometry& g);
// First below last, last inside the sensor, firsts not negative.
bool RangeWindowValid(const ChannelWindow& w, const Geometry& g);
// Moves the window by whole channels, keeping its width, never past channel 0 or the last channel.
ChannelWindow MoveRangeWindow(const ChannelWindow& w, int rxStep, int txStep, const Geometry& g);

// quadrant is 1..4 and only matters in QUAD; range only in RANGE.
ReportPlan PlanFor(DisplayMode mode, int quadrant, const ChannelWindow& range, const Geometry& g);

}  // namespace tuner::image
