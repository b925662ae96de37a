#include "model/InfoGraph.h"

#include <algorithm>

namespace tuner {
namespace {

constexpr int kGridLines = 10;
constexpr int kTextPitch = 12;
constexpr Pen kGridPen{{60, 60, 60}, 1};
constexpr Pen kMarkerPen{{255, 255, 0}, 1};
constexpr Pen kFreqPen{{0, 200, 255}, 1};
constexpr Pen kTracePen{{255, 255, 255}, 1};
constexpr Colour kGreen{0, 220, 0};
constexpr Colour kOrange{255, 165, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kLabel{230, 230, 230};

// Maps history positions and values to pixels, values growing upwards from the bottom.
struct Scale {
    GraphSize size;
    double top;  // the value at the top edge

    int X(int age) const { return age * size.width / kHistoryLength; }
    int Y(double value) const {
        if (top <= 0) return size.height;
        return size.height - static_cast<int>(value * size.height / top);
    }
};

void Grid(DrawOps& ops, GraphSize size) {
    for (int i = 1; i <= kGridLines; ++i) {
        const int y = size.height * i / (kGridLines + 1);
        ops.push_back(DrawOp::Line(0, y, size.width, y, kGridPen));
    }
}

template <typename ValueOf>
void Trace(DrawOps& ops, const Scale& scale, const Pen& pen, ValueOf valueOf) {
    for (int i = 1; i < kHistoryLength; ++i)
        ops.push_back(DrawOp::Line(scale.X(i - 1), scale.Y(valueOf(i - 1)), scale.X(i),
                                   scale.Y(valueOf(i)), pen));
}

void Level(DrawOps& ops, const Scale& scale, double value, Colour colour) {
    const int y = scale.Y(value);
    ops.push_back(DrawOp::Line(0, y, scale.size.width, y, {colour, 1}));
}

}  // namespace

DrawOps NoiseGraph(NoiseHistory& history, uint8_t currentFreqIndex, GraphSize size) {
    DrawOps ops;
    Grid(ops, size);
    const auto& e = history.entries;
    const Scale scale{size, std::max(1.3 * history.maxNoise, 10.0)};
    Range range;
    long sum = 0;
    for (int i = 0; i < kHistoryLength; ++i) {
        const int x = scale.X(i);
        if (i > 0 && e[i].freqIndex != e[i - 1].freqIndex) {
            ops.push_back(DrawOp::Line(x, 0, x, size.height, kMarkerPen));
            history.maxNoise = 0;
        }
        if (e[i].noiseCondition != 0) ops.push_back(DrawOp::Line(x, 0, x, 5, {kRed, 1}));
        range.min = std::min<int>(range.min, e[i].maxNoise);
        range.max = std::max<int>(range.max, e[i].maxNoise);
        sum += e[i].maxNoise;
    }
    for (int i = 1; i < kHistoryLength; ++i)
        ops.push_back(DrawOp::Line(scale.X(i - 1), 25 + 5 * e[i - 1].freqIndex, scale.X(i),
                                   25 + 5 * e[i].freqIndex, kFreqPen));
    Trace(ops, scale, kTracePen, [&](int i) { return e[i].maxNoise; });
    Level(ops, scale, range.min, kGreen);
    Level(ops, scale, range.max, kGreen);
    int y = 2;
    ops.push_back(DrawOp::Text(4, y, Format("Freq: %d ", currentFreqIndex), kLabel));
    ops.push_back(DrawOp::Text(4, y += kTextPitch, Format("Max: %d ", history.maxNoise), kRed));
    ops.push_back(
        DrawOp::Text(4, y += kTextPitch, Format("Noise: %d ", e.Newest().maxNoise), kLabel));
    ops.push_back(DrawOp::Text(4, y += kTextPitch,
                               Format("Avg: %d ", static_cast<int>(sum / kHistoryLength)), kLabel));
    ops.push_back(DrawOp::Text(4, y += kTextPitch,
                               Format("Current range: ( %d, %d ) ", range.min, range.max), kGreen));
    return ops;
}

DrawOps WaterGraph(const NoiseHistory& history, GraphSize size) {
    DrawOps ops;
    Grid(ops, size);
    const auto& e = history.entries;
    const Scale scale{size, 1.2 * history.maxWater + 1};
    Range range;
    for (int i = 0; i < kHistoryLength; ++i) {
        range.min = std::min<int>(range.min, e[i].water);
        range.max = std::max<int>(range.max, e[i].water);
    }
    Level(ops, scale, history.maxWater, kRed);
    Trace(ops, scale, {{0, 160, 255}, 1}, [&](int i) { return e[i].water; });
    int y = 2;
    ops.push_back(DrawOp::Text(4, y, Format("Water - History Max: %d ", history.maxWater), kRed));
    ops.push_back(
        DrawOp::Text(4, y += kTextPitch, Format("Water - Val: %d ", e.Newest().water), kLabel));
    ops.push_back(DrawOp::Text(4, y += kTextPitch,
                               Format("Water - Current ( %d, %d) ", range.min, range.max), kLabel));
    return ops;
}

DrawOps StylusGraph(StylusHistories& h, StylusTraces traces, GraphSize size) {
    DrawOps ops;
    Grid(ops, size);
    h.UpdateRanges();
    struct Series {
        bool shown;
        const char* name;
        const History<StylusSample>& history;
        bool pressure;
        const Range& current;
        const Range& total;
        Colour colour;
    };
    const Series series[] = {
        {traces.rx, "Rx", h.rx, false, h.current.rx, h.total.rx, kOrange},
        {traces.tx, "Tx", h.tx, false, h.current.tx, h.total.tx, kGreen},
        {traces.z, "Z1", h.tx, true, h.current.z1, h.total.z1, kRed},
    };
    int y = 2;
    for (const Series& s : series) {
        if (s.shown) {
            const Scale scale{size, 1.1 * s.total.max + 1};
            Trace(ops, scale, {s.colour, 1},
                  [&](int i) { return s.pressure ? s.history[i].pressure : s.history[i].signal; });
            Level(ops, scale, s.current.min, s.colour);
            Level(ops, scale, s.current.max, s.colour);
        }
        ops.push_back(DrawOp::Text(
            4, y, Format("%s Current Range: ( %d, %d ) ", s.name, s.current.min, s.current.max),
            kLabel));
        ops.push_back(DrawOp::Text(
            4, y += kTextPitch,
            Format("%s Total Range: ( %d, %d ) ", s.name, s.total.min, s.total.max), s.colour));
        y += kTextPitch;
    }
    return ops;
}

}  // namespace tuner
