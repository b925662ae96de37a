// The draw-test canvas's memory of each touch or stylus ID: where it was last seen, whether it is
// down, and how often it reports; and what each new point record draws.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/DrawOps.h"
#include "model/DrawReports.h"

namespace tuner {

inline constexpr int kPointSlots = 60;

struct PointSlot {
    int x = -1, y = -1, z = -1;  // -1 until the ID has reported
    int extra = -1;              // bytes 8 (low) and 9 of the last record
    bool down = false;
    bool inRange = false;
    int counter = 0;
    int rate = 0;  // reports in the last full second
    int64_t periodStart = 0;
    int64_t lastReport = 0;

    bool HasData() const { return x != -1; }
};

// How the page draws points (its check boxes and radio buttons).
struct DrawSettings {
    bool lines = true;  // join contact points with lines, else dots
    bool circleUp = true;
    bool circleDown = true;
    bool penMode = false;
    bool penTilt = false;
};

// The drawing area and the coordinate ranges it shows.
struct DrawArea {
    int width = 0;
    int height = 0;
    int touchMaxX = 4095, touchMaxY = 4095;
    int stylusMaxX = 4095, stylusMaxY = 4095;
    bool fullScreen = false;  // larger stylus circles
};

class PointSlots {
  public:
    explicit PointSlots(int64_t nowMs = 0) { Reset(nowMs); }

    void Reset(int64_t nowMs);
    const PointSlot& Slot(int id) const { return slots_[static_cast<std::size_t>(id)]; }

    // Counts the record for its ID, draws it into `ops` and remembers it. Records of IDs the page
    // has no slot for are left alone.
    void Draw(const PointRecord& record, const DrawSettings& settings, const DrawArea& area,
              int64_t nowMs, DrawOps& ops);

  private:
    void DrawStylus(PointSlot& slot, const PointRecord& r, const DrawSettings& s,
                    const DrawArea& area, DrawOps& ops);
    void DrawTouch(PointSlot& slot, const PointRecord& r, const DrawSettings& s,
                   const DrawArea& area, DrawOps& ops);

    std::array<PointSlot, kPointSlots> slots_{};
};

// The lines of the point panel for a panel of the given height, 10 pixels per slot.
std::vector<std::string> PointPanelLines(const PointSlots& slots, bool penMode, int panelHeight);

inline constexpr int kPointPanelLinePitch = 10;

}  // namespace tuner
