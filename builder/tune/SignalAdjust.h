// Signal adjustment: the test Scaling that brings the strongest mutual value into its window, and
// the open and mutual scaling ratios measured at it and stored in the controller.
#pragma once

#include <cstdint>

class DiagHost;

// The window AdjustSignal brings the strongest mutual value into.
inline constexpr int kSignalWindowLow = 1000;
inline constexpr int kSignalWindowHigh = 2200;
// Frames AdjustSignal takes before it gives up.
inline constexpr int kAdjustSignalTries = 30;
// The measured minimum the open and mutual scaling ratios compare with.
inline constexpr int kScalingReference = 3000;

// Finds the test Scaling for working frequency f; true with scaling set when found. scaling is
// left as it was when none is found.
bool AdjustSignal(DiagHost& host, int f, int& scaling);
// Measures the open and mutual scaling ratios into the hardware set (nothing is committed).
bool MeasureOpenMutualScaling(DiagHost& host);
// MeasureOpenMutualScaling, then commits the hardware set to the controller.
bool CalculateScaling(DiagHost& host);

// A positive minimum m against the reference r in tenths: m * 10 / r when m > r, otherwise
// r * 10 / m with bit 15 set.
uint16_t ScalingRatio(int minimum, int reference = kScalingReference);
