// The sensing chips' calibration: each Rx chip's gain correction (reference 100), measured from
// two known test inputs when the settings force it, and checked against the settings' tolerance.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

class DiagHost;

// 0 pass, 3 a chip could not be calibrated, 4 a chip out of tolerance.
uint32_t CheckCalibration(DiagHost& host);

// Measures the chip's calibration value and gives it to the controller. False, keeping the old
// value, when the calibration preset or a measurement failed, or when the two inputs read the
// same (a chip whose readings do not follow its input has no gain to correct).
bool CalibrateChip(DiagHost& host, int chip);

// The chip's mean reading of one sine-offset input, without the smallest and largest sample;
// nothing when the input could not be set or a sample not read.
std::optional<int16_t> MeasureCalInput(DiagHost& host, int chip, int input,
                                       std::span<uint8_t> image);

// The calibration value of two trimmed means: scale x reference / (high - low), within 0..255;
// nothing when they are equal.
std::optional<uint8_t> CalibrationValue(int scale, int reference, int high, int low);
