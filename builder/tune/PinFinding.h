// Sensor pin finding: which Tx and Rx channels of each chip reach the panel. Each chip in turn
// gets its full channel range while the others keep a short one; the edges of its signal in a
// mutual frame give its wired run. The runs found become the hardware set's channel ranges and
// are stored in the controller.
#pragma once

#include "tune/PinEdges.h"

class DiagHost;

// True when the ranges were found and stored, and also when some chip shows no wired run ("Can't
// find Pin define, Please fit it by yourself", nothing applied); false when a test image, a
// frame or the final write failed.
bool FindSensorPins(DiagHost& host);

// Measures a mutual frame and puts chip's edges into ranges (the ranges under test going in).
bool FindPinAlg3(DiagHost& host, int chip, int threshold, PinRanges& ranges);

// The second estimate of chip's run from the I, Q and magnitude frames; it is logged only.
bool EstimatePins(DiagHost& host, int chip, int threshold, PinRanges& ranges);
