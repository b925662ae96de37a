// Signal adjustment: the test Scaling that brings the strongest mutual value into its window, and
// the open and mutual scaling ratios measured at it and stored in the controller.
#pragma once

class DiagHost;

// Finds the test Scaling for working frequency f; true with scaling set when found.
bool AdjustSignal(DiagHost& host, int f, int& scaling);
// Measures the open and mutual scaling ratios into the hardware set (nothing is committed).
bool MeasureOpenMutualScaling(DiagHost& host);
// MeasureOpenMutualScaling, then commits the hardware set to the controller.
bool CalculateScaling(DiagHost& host);
