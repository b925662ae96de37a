#include "model/TestPattern.h"

#include <cmath>

namespace tuner {
namespace {

int Px(double v) {
    return static_cast<int>(std::lround(v));
}

}  // namespace

DrawOps TestPattern(const PatternGeometry& g, const Pen& pen) {
    DrawOps ops;
    if (g.sensorX <= 0 || g.sensorY <= 0 || g.distance <= 0 || g.width <= 0 || g.height <= 0)
        return ops;
    const double W = g.width, H = g.height, X = g.sensorX, Y = g.sensorY, D = g.distance;
    // Pixels per pattern distance, in floating point: a sensor wider in 0.1 mm than the window is
    // in pixels must not round its scale to zero.
    const double sx = W / X * D, sy = H / Y * D;
    auto hline = [&](double y) { ops.push_back(DrawOp::Line(0, Px(y), g.width, Px(y), pen)); };
    auto vline = [&](double x) { ops.push_back(DrawOp::Line(Px(x), 0, Px(x), g.height, pen)); };

    hline(sy);
    hline(H - sy);
    vline(sx);
    vline(W - sx);
    for (int k = 1; k <= 7; ++k) {
        const double y = H * k / 8, x = W * k / 8;
        for (double d : {-sy, 0.0, sy}) hline(y + d);
        for (double d : {-sx, 0.0, sx}) vline(x + d);
    }

    const double m = std::sqrt((X * D / Y) * (X * D / Y) + D * D) * W / X;
    const double o = std::sqrt((Y * D / X) * (Y * D / X) + D * D) * W / X;
    auto line = [&](double x1, double y1, double x2, double y2) {
        ops.push_back(DrawOp::Line(Px(x1), Px(y1), Px(x2), Px(y2), pen));
    };
    // Top-left to bottom-right, with one parallel above (ends along the top and right edges) and
    // one below (ends along the left and bottom edges).
    line(0, 0, W, H);
    line(m, 0, W, H - o);
    line(0, o, W - m, H);
    // Top-right to bottom-left, likewise.
    line(W, 0, 0, H);
    line(W - m, 0, 0, H - o);
    line(W, o, m, H);
    return ops;
}

}  // namespace tuner
