// The noise spectrum scan: with the sensing chips in the noise-reading preset and no Tx line
// driven, step them through every working frequency they can be set to and log, per frequency,
// the largest calibrated noise seen on the Rx channels so far (over every pass) as a CSV line in
// the test log. Nothing is stored on the controller, and the chips are left at the last setting
// the scan wrote.
#pragma once

#include <cstdint>

class DiagHost;

// 0 when the scan finished, 1 when it failed; the failing step has logged its message and the
// lines logged before it stay in the test log. A model whose divider sets its frequency is
// scanned by divider and prescaler, every other model by sensing clock and prescaler.
uint32_t NoiseSpectrumScan(DiagHost& host);

// Every sensing clock, each with every prescaler of the chip's noise-scan range.
uint32_t ClockNoiseScan(DiagHost& host);
// Sensing clock 0; every divider of the chip's range, each with the prescalers whose sine table
// the chip can still take.
uint32_t DividerNoiseScan(DiagHost& host);
