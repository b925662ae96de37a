// The draw-test page's history graph: the noise or water view of the touch information history,
// or the stylus signal view, as lines and texts on a black field of the given size.
#pragma once

#include "model/DrawOps.h"
#include "model/InfoHistory.h"

namespace tuner {

struct GraphSize {
    int width = 0;
    int height = 0;
};

// The noise view also clears the noise maximum where the frequency changed inside the history,
// so that the maximum follows the frequency in use.
DrawOps NoiseGraph(NoiseHistory& history, uint8_t currentFreqIndex, GraphSize size);
DrawOps WaterGraph(const NoiseHistory& history, GraphSize size);

struct StylusTraces {
    bool rx = true, tx = true, z = true;
};
// Updates the ranges of the histories first.
DrawOps StylusGraph(StylusHistories& histories, StylusTraces traces, GraphSize size);

}  // namespace tuner
