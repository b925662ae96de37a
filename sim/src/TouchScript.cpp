#include "TouchScript.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kGap = 12;  // steps with nothing on the panel between strokes

constexpr uint8_t kContactBit = 0x01;
constexpr uint8_t kBarrel = 0x02;
constexpr uint8_t kEraser = 0x08;
constexpr uint8_t kInRange = 0x10;
constexpr uint8_t kHover = 0x20;

struct Point {
    double x, y;  // 0..1 across the panel
};

// A stroke of `steps` steps; where(i, t) gives the contacts at step i, t running 0..1.
class ScriptWriter {
  public:
    ScriptWriter(int maxX, int maxY) : maxX_(maxX), maxY_(maxY) {}

    Contact at(uint8_t id, uint8_t status, Point p, int z, uint8_t b8 = 0, uint8_t b9 = 0) const {
        Contact c;
        c.id = id;
        c.status = status;
        c.x = static_cast<uint16_t>(std::lround(std::clamp(p.x, 0.0, 1.0) * maxX_));
        c.y = static_cast<uint16_t>(std::lround(std::clamp(p.y, 0.0, 1.0) * maxY_));
        c.z = static_cast<int16_t>(z);
        c.byte8 = b8;
        c.byte9 = b9;
        return c;
    }

    void stroke(int steps, const std::function<void(Step&, double)>& fill) {
        for (int i = 0; i < steps; ++i) {
            Step step;
            fill(step, steps > 1 ? static_cast<double>(i) / (steps - 1) : 0.0);
            out_.push_back(step);
        }
    }
    void gap(int steps = kGap) { out_.insert(out_.end(), static_cast<size_t>(steps), Step{}); }

    std::vector<Step>& steps() { return out_; }

  private:
    int maxX_, maxY_;
    std::vector<Step> out_;
};

Point lerp(Point a, Point b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// A finger pressing a little harder in the middle of its stroke.
int fingerZ(double t) {
    return 300 + static_cast<int>(200 * std::sin(kPi * t));
}

void line(ScriptWriter& w, uint8_t id, Point from, Point to, int steps) {
    w.stroke(steps, [&](Step& s, double t) {
        s.contacts.push_back(w.at(id, kContactBit, lerp(from, to, t), fingerZ(t), 8));
    });
    w.gap();
}

void demo(ScriptWriter& w) {
    line(w, 0, {0.08, 0.12}, {0.92, 0.12}, 80);
    line(w, 0, {0.12, 0.22}, {0.12, 0.88}, 60);
    line(w, 0, {0.22, 0.22}, {0.88, 0.88}, 80);
    w.stroke(120, [&](Step& s, double t) {  // a circle, closed
        const double a = 2 * kPi * t;
        s.contacts.push_back(
            w.at(1, kContactBit, {0.55 + 0.22 * std::cos(a), 0.5 + 0.3 * std::sin(a)}, 450, 9));
    });
    w.gap();
    // A contact that starts on the left edge, and one that runs out to the right edge and lifts
    // there.
    line(w, 2, {0.0, 0.62}, {0.35, 0.62}, 40);
    line(w, 3, {0.6, 0.72}, {1.0, 0.72}, 40);
    w.stroke(70, [&](Step& s, double t) {  // two fingers drawing side by side
        s.contacts.push_back(w.at(0, kContactBit, lerp({0.3, 0.3}, {0.7, 0.4}, t), fingerZ(t), 8));
        s.contacts.push_back(w.at(1, kContactBit, lerp({0.3, 0.4}, {0.7, 0.5}, t), fingerZ(t), 8));
    });
    w.gap();
}

void hover(ScriptWriter& w, Point from, Point to) {
    w.stroke(10, [&](Step& s, double t) {
        s.contacts.push_back(w.at(0, kInRange | kHover, lerp(from, to, t), 0));
    });
}

void stylus(ScriptWriter& w) {
    const Point centre{0.5, 0.5};
    w.stroke(15, [&](Step& s, double t) {
        s.contacts.push_back(w.at(0, kInRange | kHover, lerp({0.3, 0.3}, {0.65, 0.5}, t), 0));
    });
    w.stroke(100, [&](Step& s, double t) {  // the tip down, drawing a circle, pressing harder
        const double a = 2 * kPi * t;
        const Point p{centre.x + 0.15 * std::cos(a), centre.y + 0.2 * std::sin(a)};
        const auto tiltX = static_cast<uint8_t>(static_cast<int8_t>(20 * std::cos(a)));
        const auto tiltY = static_cast<uint8_t>(static_cast<int8_t>(-12));
        s.contacts.push_back(
            w.at(0, kInRange | kContactBit, p, 400 + static_cast<int>(2600 * t), tiltX, tiltY));
    });
    // Lifted and hovering over to the next stroke, which uses the barrel button, then the
    // eraser end.
    hover(w, {centre.x + 0.15, centre.y}, {0.2, 0.85});
    w.stroke(30, [&](Step& s, double t) {
        s.contacts.push_back(
            w.at(0, kInRange | kContactBit | kBarrel, lerp({0.2, 0.85}, {0.5, 0.85}, t), 1500));
    });
    hover(w, {0.5, 0.85}, {0.55, 0.85});
    w.stroke(30, [&](Step& s, double t) {
        s.contacts.push_back(
            w.at(0, kInRange | kContactBit | kEraser, lerp({0.55, 0.85}, {0.85, 0.85}, t), 1500));
    });
    w.stroke(8, [&](Step& s, double) {  // lifted, still in range
        s.contacts.push_back(w.at(0, kInRange, {0.85, 0.85}, 0));
    });
    w.gap();
}

void water(ScriptWriter& w) {
    w.stroke(90, [&](Step& s, double t) {
        s.contacts.push_back(w.at(0, kContactBit, lerp({0.2, 0.3}, {0.8, 0.3}, t), fingerZ(t), 8));
        s.water = static_cast<uint8_t>(1 + std::min(2, static_cast<int>(t * 3)));
        s.waterQuantity = static_cast<int16_t>(40 + 260 * std::sin(kPi * t));
    });
    w.gap();
}

void palm(ScriptWriter& w) {
    // A palm on the panel: the firmware reports it and suppresses the touches.
    w.stroke(60, [&](Step& s, double) { s.palm = 1; });
    w.gap();
}

void keys(ScriptWriter& w, int touchKeys) {
    for (int k = 0; k < touchKeys; ++k) {
        w.stroke(10, [&](Step& s, double) { s.key = k; });
        w.gap(5);
    }
}

}  // namespace

bool isTouchPathPart(const std::string& name) {
    return name == "demo" || name == "stylus" || name == "water" || name == "palm" ||
           name == "keys";
}

std::vector<Step> buildTouchScript(const std::vector<std::string>& parts, int maxX, int maxY,
                                   int touchKeys) {
    ScriptWriter w(maxX, maxY);
    for (const std::string& part : parts) {
        if (part == "demo") demo(w);
        if (part == "stylus") stylus(w);
        if (part == "water") water(w);
        if (part == "palm") palm(w);
        if (part == "keys" || (part == "demo" && touchKeys > 0)) keys(w, touchKeys);
    }
    return std::move(w.steps());
}

}  // namespace sim
