// The measurement loops of the auto-tuning: for one tuning job they choose the working
// frequencies and, at each frequency, the RS and AFE gain, the delay, the Scaling and the measure
// count. Each programs the sensing chips, measures through the workspace and stores what it found
// in the hardware set as soon as it is found; nothing reaches the controller's storage here.
//
// Every loop is bounded: a search that cannot converge ends with its failure message.
#pragma once

#include <cstdint>
#include <vector>

#include "tune/TuneJob.h"

class DiagHost;

// One setting of the frequency generator.
struct FreqCandidate {
    uint8_t clock = 0, preScaler = 0, divider = 0;
};

// Image scans: the settings' "WorkingFreq%d" table rows when the settings name any, else every
// row of the table; water-line scans: the working frequencies the hardware set holds.
std::vector<FreqCandidate> BuildFreqCandidates(DiagHost& host, int scanType);

// The lines SetTestMode gets for the job's scan type and target.
void SetTestLines(DiagHost& host, TuneJob& job);
// Writes the job's RS, AFE gain, delay, Scaling, measure count and DAC values to the chips.
bool ApplyJobSettings(DiagHost& host, TuneJob& job);
// The weakest and strongest amplitude of the strongest AFE sample.
bool MeasureAfePeaks(DiagHost& host, TuneJob& job, int& peakA, int& peakB);
// RS and AFE gain that bring the weakest channel's amplitude to the AD target.
bool SearchGain(DiagHost& host, TuneJob& job);
bool GainRefCenter(DiagHost& host, TuneJob& job);
bool GainRefAll(DiagHost& host, TuneJob& job);
bool GainWaterLine(DiagHost& host, TuneJob& job);
// Chooses the working frequencies and their gains.
bool AdjustFreqAndGain(DiagHost& host, TuneJob& job);

bool SearchDelay(DiagHost& host, TuneJob& job);
// The delay of every working frequency; false when any frequency's delay was not found.
bool AdjustDelay(DiagHost& host, TuneJob& job);

// How AdjustScalingAndMeasureCnt comes by each frequency's Scaling.
enum class ScalingMode { kSearch = 0, kKeep = 1, kKeepPlusOffset = 2 };
bool SearchScaling(DiagHost& host, TuneJob& job);
bool SearchMeasureCnt(DiagHost& host, TuneJob& job);
bool AdjustScalingAndMeasureCnt(DiagHost& host, TuneJob& job, ScalingMode mode);
