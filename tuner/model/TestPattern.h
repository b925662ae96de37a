// The millimetre test pattern under the draw-test traces: border lines one pattern distance in
// from each edge, eighths of the sensor with a parallel line on each side, and both diagonals with
// their parallels.
#pragma once

#include "model/DrawOps.h"

namespace tuner {

struct PatternGeometry {
    int width = 0, height = 0;     // drawing area in pixels
    int sensorX = 0, sensorY = 0;  // sensor size in 0.1 mm
    int distance = 0;              // pattern distance in 0.1 mm
};

// Nothing when the sensor size or the distance is 0 (the background alone is drawn).
DrawOps TestPattern(const PatternGeometry& g, const Pen& pen);

}  // namespace tuner
