#include "model/ImageGeometry.h"

#include <algorithm>

namespace tuner::image {

int Geometry::ShownTx() const {
    return std::clamp(kFrameRows - lead, 0, tx);
}

Geometry MakeGeometry(const ChannelInfo& info, int keyCount) {
    Geometry g;
    g.lead1 = std::max<int>(info.leadRows1, 0);
    g.lead2 = std::max<int>(info.leadRows2, 0);
    g.lead = g.lead1 + g.lead2;
    g.tx = std::min<int>(static_cast<int>(info.txCount), kFrameRows);
    g.rx = std::min<int>(static_cast<int>(info.rxCount), kRowSlots - 1);
    g.keys = std::clamp(keyCount, 0, kMaxKeys);
    return g;
}

ChannelWindow DefaultRangeWindow(const Geometry& g) {
    return {0, std::max(std::min(g.rx - 1, 50), 0), 0, std::max(std::min(g.tx - 1, 30), 0)};
}

bool RangeWindowValid(const ChannelWindow& w, const Geometry& g) {
    return w.firstRx >= 0 && w.firstRx < w.lastRx && w.lastRx < g.rx && w.firstTx >= 0 &&
           w.firstTx < w.lastTx && w.lastTx < g.tx;
}

namespace {

void MoveSpan(int& first, int& last, int step, int count) {
    const int width = last - first;
    first = std::clamp(first + step, 0, std::max(count - 1 - width, 0));
    last = first + width;
}

}  // namespace

ChannelWindow MoveRangeWindow(const ChannelWindow& w, int rxStep, int txStep, const Geometry& g) {
    ChannelWindow moved = w;
    MoveSpan(moved.firstRx, moved.lastRx, rxStep, g.rx);
    MoveSpan(moved.firstTx, moved.lastTx, txStep, g.tx);
    return moved;
}

ReportPlan PlanFor(DisplayMode mode, int quadrant, const ChannelWindow& range, const Geometry& g) {
    const int T = g.tx, R = g.rx, L2 = g.lead2;
    // The lower half starts one channel early on an even count, so both halves overlap.
    const int lowTx = T % 2 == 0 ? T / 2 - 1 : T / 2;
    const int rightRx = R % 2 == 0 ? R / 2 - 1 : R / 2;
    const ReportPlan top{{0, R - 1, 0, T / 2}, L2 + T / 2 + 1, R};
    const ReportPlan bottom{{0, R - 1, lowTx, T - 1}, L2 + T, R};
    switch (mode) {
        case DisplayMode::kTotal:
            return {{0, R - 1, 0, T - 1}, g.lead + T - 1, R};
        case DisplayMode::kUp:
            return top;
        case DisplayMode::kDown:
            return bottom;
        case DisplayMode::kRange:
            return {range, L2 + range.lastTx + 1, range.lastRx + 1};
        case DisplayMode::kQuad:
            break;
    }
    switch (quadrant) {
        case 2:
            return {{0, R / 2, lowTx, T - 1}, L2 + T, R / 2 + 1};
        case 3:
            return {{rightRx, R - 1, 0, T / 2}, L2 + T / 2 + 1, R};
        case 4:
            return {{rightRx, R - 1, lowTx, T - 1}, L2 + T, R};
        default:
            return {{0, R / 2, 0, T / 2}, L2 + T / 2 + 1, R / 2 + 1};
    }
}

}  // namespace tuner::image
