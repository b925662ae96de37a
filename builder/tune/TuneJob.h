// The record one tuning search works on: what it aims at, the settings it applies, and what it
// found. A search overwrites the job's target, frequency, test lines and settings as it goes; the
// caller reads the results from the job or from the hardware set.
#pragma once

#include <array>
#include <cstdint>

class DiagHost;

struct TuneJob {
    static constexpr int kDacValues = 4;
    // The measure count the measure-count search never goes above unless told otherwise.
    static constexpr int kDefaultMaxMeasureCnt = 63;

    int32_t targetIndex = 0;     // phase target 0..9 the searches measure on
    uint16_t signalLevel = 100;  // level the measure-count search aims at
    uint8_t adHigh = 80;         // upper AD limit of the gain search
    uint8_t adTarget = 10;       // AD value the gain search aims at
    uint8_t tolerance = 2;       // accepted distance from the AD target
    uint8_t touchPercent = 10;   // share of the signal that counts as a touch
    uint8_t frequencyIndex = 0;  // working frequency being tuned
    int8_t rsStart = 7;          // RS at which the gain search starts
    uint8_t scanType = 1;        // 1 image, 2 water-line Rx, 3 water-line Tx
    uint8_t rs = 14;
    uint8_t afeGain = 29;
    uint8_t delay = 10;
    uint8_t measureCnt = 15;
    uint8_t scaling = 4;
    uint8_t testLineFirst = 0;  // the two values given to SetTestMode
    uint8_t testLineLast = 0;
    std::array<int32_t, kDacValues> dacValues{};  // DACVB of each Tx chip
    std::array<uint8_t, 68> image{};              // the mode image being tuned

    // The largest measure count the measure-count search may use, and whether a target needed
    // more than that in its last run (the fixed-gain tuning lowers the gain then).
    int maxMeasureCnt = kDefaultMaxMeasureCnt;
    bool measureCntLimitReached = false;
};

// The defaults above, with the chip's default register image.
void InitTuneJob(DiagHost& host, TuneJob& job);

// Completes a job for a scan type (1 image, 2 water-line Rx, 3 water-line Tx) from the tuning
// settings and the hardware set: targets, tolerance, RS start, DAC values and the mode image of
// working frequency 0. Fields the scan type does not set keep their values.
void CompleteTuneJob(DiagHost& host, TuneJob& job, int scanType);
