// The auto-tuning: for each scan the settings enable (image, water-line Rx, water-line Tx) the
// working frequencies, RS and AFE gain, delay, Scaling and measure counts, stored in the hardware
// set and committed to the controller at the end. A failed tuning commits nothing.
#pragma once

class DiagHost;
struct TuneJob;

bool AutoTune(DiagHost& host);

// Image tuning: the calibration check, then the searches of the settings' tuning rule.
bool TuneImage(DiagHost& host);
bool TuneImageStandard(DiagHost& host, TuneJob& job);    // rules 0 (centre) and 1 (every target)
bool TuneImageFixedGain(DiagHost& host, TuneJob& job);   // rule 2
bool TuneImageSingleFreq(DiagHost& host, TuneJob& job);  // rule 3
bool TuneWaterLineRx(DiagHost& host);
bool TuneWaterLineTx(DiagHost& host);

// Gain E of every image tuning record of every working frequency = 0.
void ClearImgGainE(DiagHost& host);
// Gain E of each record: the measure count its target needs with the RS, AFE gain and delay moved
// one Tx line towards the previous target (rule 1). The records keep their own values.
bool AdjustImgGainE(DiagHost& host, TuneJob& job);
