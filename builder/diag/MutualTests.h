// The mutual-capacitance tests: how each cell's coupling differs from its neighbours'. Both only
// record their data in the test log.
#pragma once

#include <cstdint>

class DiagHost;

// The second differences of the averaged, scaled magnitude across Rx and then Tx, as a CSV frame.
// 0 (recorded); 1 test image not written, 6 no frame, 7 no mutual scaling.
uint32_t MutualCapTest(DiagHost& host);

// How far each cell's phase turns from its Rx neighbour's, from the I, Q and magnitude frames, as
// a CSV map. 0 (recorded); 1 test image not written, 6 no frame.
uint32_t MutualCapMap(DiagHost& host);

// The map's value for two neighbouring cells (in-phase, quadrature, magnitude of each): 0 where
// their phases agree, up to 5000 where they are at right angles or a magnitude is 0.
float MutualMapValue(int i0, int q0, int m0, int i1, int q1, int m1);
