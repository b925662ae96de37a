// Pieces every tuning search shares: the channels of a job, the calibrated view of a raw value,
// programming a frequency on the chips, choosing the lines a measurement drives, and the averaged
// axis line.
#pragma once

#include <cstdint>

#include "tune/Searches.h"

namespace tune {

// The job's channels: the Rx channel total, or the Tx total on the water-line Tx scan, never
// more than the areas and line buffers hold.
int JobChannels(DiagHost& host, const TuneJob& job);

// value x the calibration value of the channel's chip / the calibration reference, kept within
// 16 signed bits.
int Normalised(DiagHost& host, int scanType, int channel, int value);

// The factor of the Img mode image's ADC gain code of the job's frequency, from the tuning's own
// table (whatever the chip).
int AdcGainFactor(DiagHost& host, const TuneJob& job);

// Reports "Tuning Frequency = ..." and programs the clock, the prescaler, the divider and the sine
// table; the prescaler's failure message differs between the frequency search and the later
// steps. A failure is reported with the route given and gives false.
bool ProgramFrequency(DiagHost& host, TuneJob& job, const FreqCandidate& candidate,
                      const char* preScalerFailure, int failureRoute);
// The candidate of working frequency f as the hardware set holds it.
FreqCandidate WorkingFrequency(DiagHost& host, int f);
// The working frequencies the hardware set holds, as a loop bound (never past its five).
int WorkingFrequencies(DiagHost& host);

// Selects the job's test lines (the Tx axis first on the water-line Tx scan).
void SelectJobLines(DiagHost& host, const TuneJob& job);

// Reads the job's axis line and averages the calibrated values over its channels; false when
// the read fails or the job has no channel.
bool ReadAverage(DiagHost& host, const TuneJob& job, int& average);

// The mode image group a scan type's results go to; -1 for a scan type without one.
int ModeGroupOf(int scanType);

// Records a scan type stores per frequency: ten image tuning records, or the one mode image.
int RecordsOf(int scanType);

}  // namespace tune
