#include "model/PointSlots.h"

namespace tuner {
namespace {

constexpr int64_t kRatePeriodMs = 1000;
constexpr int kCanvasStylusRadius = 2;
constexpr int kFullScreenStylusRadius = 5;
constexpr int kLiftRadius = 2;
constexpr int kDotRadius = 1;
constexpr int kTouchDownRadius = 5;

struct Scaled {
    int x, y;
};

Scaled Scale(int x, int y, int maxX, int maxY, const DrawArea& area) {
    return {static_cast<int>(static_cast<int64_t>(x) * area.width / maxX),
            static_cast<int>(static_cast<int64_t>(y) * area.height / maxY)};
}

// A zero range from the controller keeps the default range.
int UsableMax(int max) {
    return max > 0 ? max : 0x0FFF;
}

Scaled TouchPoint(int x, int y, const DrawArea& a) {
    return Scale(x, y, UsableMax(a.touchMaxX), UsableMax(a.touchMaxY), a);
}
Scaled StylusPoint(int x, int y, const DrawArea& a) {
    return Scale(x, y, UsableMax(a.stylusMaxX), UsableMax(a.stylusMaxY), a);
}

}  // namespace

void PointSlots::Reset(int64_t nowMs) {
    for (PointSlot& slot : slots_) {
        slot = PointSlot{};
        slot.periodStart = nowMs;
    }
}

void PointSlots::Draw(const PointRecord& r, const DrawSettings& settings, const DrawArea& area,
                      int64_t nowMs, DrawOps& ops) {
    if (r.id >= kPointSlots) return;
    PointSlot& slot = slots_[r.id];
    ++slot.counter;
    if (nowMs - slot.periodStart > kRatePeriodMs) {
        slot.rate = slot.counter;
        slot.counter = 0;
        slot.periodStart = nowMs;
    }
    slot.lastReport = nowMs;

    if (settings.penMode && r.InRange())
        DrawStylus(slot, r, settings, area, ops);
    else
        DrawTouch(slot, r, settings, area, ops);

    slot.x = r.x;
    slot.y = r.y;
    slot.z = r.z;
    slot.extra = r.byte8 | (r.byte9 << 8);
}

void PointSlots::DrawStylus(PointSlot& slot, const PointRecord& r, const DrawSettings& s,
                            const DrawArea& area, DrawOps& ops) {
    if (!slot.inRange) {  // the stylus just came into range: nothing to join yet
        slot.inRange = true;
        return;
    }
    const int radius = area.fullScreen ? kFullScreenStylusRadius : kCanvasStylusRadius;
    const Pen pen = RecordPen(r);
    const Scaled at = StylusPoint(r.x, r.y, area);
    if (StyleOf(r) == StylusStyle::kInRange) {
        slot.down = false;
        if (s.circleUp && slot.HasData() && pen.visible) {
            const Scaled last = StylusPoint(slot.x, slot.y, area);
            ops.push_back(DrawOp::Circle(last.x, last.y, radius, pen));
        }
        return;
    }
    if (slot.down) {
        if (s.penTilt) {
            const auto tiltX = static_cast<int8_t>(r.byte8), tiltY = static_cast<int8_t>(r.byte9);
            const Scaled tip = StylusPoint(r.x + 2 * tiltX, r.y - 2 * tiltY, area);
            ops.push_back(DrawOp::Line(at.x, at.y, tip.x, tip.y, pen));
        }
        if (slot.HasData()) {
            const Scaled last = StylusPoint(slot.x, slot.y, area);
            ops.push_back(DrawOp::Line(last.x, last.y, at.x, at.y, pen));
        }
        return;
    }
    slot.down = true;
    if (s.circleDown) ops.push_back(DrawOp::Circle(at.x, at.y, radius, pen));
}

void PointSlots::DrawTouch(PointSlot& slot, const PointRecord& r, const DrawSettings& s,
                           const DrawArea& area, DrawOps& ops) {
    bool lift = !r.Contact();
    if (slot.inRange) {  // a touch record after the stylus left: the stylus is gone
        slot.inRange = false;
        lift = true;
    }
    const Pen idPen = IdPen(r.id);
    if (lift) {
        slot.down = false;
        if (s.circleUp && slot.HasData()) {
            const Scaled last = TouchPoint(slot.x, slot.y, area);
            ops.push_back(DrawOp::Circle(last.x, last.y, kLiftRadius, idPen));
        }
        return;
    }
    const Scaled at = TouchPoint(r.x, r.y, area);
    if (slot.down) {
        if (!s.lines) {
            ops.push_back(DrawOp::Circle(at.x, at.y, kDotRadius, idPen));
        } else if (slot.HasData()) {
            const Scaled last = TouchPoint(slot.x, slot.y, area);
            const Pen pen = s.penMode ? RecordPen(r) : idPen;
            if (pen.visible) ops.push_back(DrawOp::Line(last.x, last.y, at.x, at.y, pen));
        }
        return;
    }
    slot.down = true;
    const int maxX = UsableMax(area.touchMaxX), maxY = UsableMax(area.touchMaxY);
    const bool inside = r.x > 0 && r.x < maxX && r.y > 0 && r.y < maxY;
    if (!inside)
        ops.push_back(DrawOp::Circle(at.x, at.y, kTouchDownRadius, BorderPen()));
    else if (s.circleDown)
        ops.push_back(DrawOp::Circle(at.x, at.y, kTouchDownRadius, idPen));
}

std::vector<std::string> PointPanelLines(const PointSlots& slots, bool penMode, int panelHeight) {
    std::vector<std::string> lines(kPointSlots);
    for (int id = 0; id < kPointSlots; ++id) {
        if ((id + 1) * kPointPanelLinePitch > panelHeight - kPointPanelLinePitch) {
            lines.resize(static_cast<std::size_t>(id));
            break;
        }
        const PointSlot& s = slots.Slot(id);
        std::string& line = lines[static_cast<std::size_t>(id)];
        if (!s.HasData()) continue;
        if (!s.down)
            line = Format("%02d:000Hz", id);
        else if (penMode)
            line = Format("%02d:%03dHz -%04d, %04d, %04d, %03d, %03d", id, s.rate, s.x, s.y, s.z,
                          (s.extra >> 8) & 0xFF, s.extra & 0xFF);
        else
            line =
                Format("%02d:%03dHz -%04d, %04d, %04d, %03d", id, s.rate, s.x, s.y, s.z, s.extra);
    }
    return lines;
}

}  // namespace tuner
