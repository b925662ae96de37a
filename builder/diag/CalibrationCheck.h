// The sensing chips' calibration: each Rx chip's gain correction (reference 100), measured from
// two known test inputs when the settings force it, and checked against the settings' tolerance.
#pragma once

#include <cstdint>

class DiagHost;

// 0 pass, 3 a chip could not be calibrated, 4 a chip out of tolerance.
uint32_t CheckCalibration(DiagHost& host);
