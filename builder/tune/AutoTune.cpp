#include "tune/AutoTune.h"

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "core/Progress.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "tune/Searches.h"
#include "tune/SignalAdjust.h"
#include "tune/TouchAdjust.h"

namespace {

void Fail(const char* message) {
    TestLog().Print(kColourError, kRouteBoth, message);
}

// Frequencies and gain, delay, Scaling and measure counts, in this order; the first failure is
// reported and ends the tuning.
bool RunSearches(DiagHost& host, TuneJob& job) {
    if (!AdjustFreqAndGain(host, job)) {
        Fail("Adjust Frequency And Gain Fail\n");
        return false;
    }
    if (!AdjustDelay(host, job)) {
        Fail("Adjust delay Fail\n");
        return false;
    }
    if (!AdjustScalingAndMeasureCnt(host, job, ScalingMode::kSearch)) {
        Fail("Adjust Scaling & MeasureCnt Fail\n");
        return false;
    }
    return true;
}

bool TuneWaterLine(DiagHost& host, int scanType, const char* start) {
    TuneJob job;
    InitTuneJob(host, job);
    CompleteTuneJob(host, job, scanType);
    TestLog().Print(kColourInfo, kRouteBoth, start);
    return RunSearches(host, job);
}

}  // namespace

bool TuneImageStandard(DiagHost& host, TuneJob& job) {
    if (!RunSearches(host, job)) return false;
    if (host.Ini().TuningRule() != kTuningRuleRefAll) {
        ClearImgGainE(host);
        return true;
    }
    if (AdjustImgGainE(host, job)) return true;
    Fail("Adjust Image GainE Fail\n");
    return false;
}

bool TuneWaterLineRx(DiagHost& host) {
    return TuneWaterLine(host, CSlave::kScanWLRx, "Start Water Line Rx Tuning\n");
}

bool TuneWaterLineTx(DiagHost& host) {
    return TuneWaterLine(host, CSlave::kScanWLTx, "Start Water Line Tx Tuning\n");
}

bool AutoTune(DiagHost& host) {
    NotifyResearchProgress(host.Options(), 90);
    const CParam_INI& ini = host.Ini();
    if ((ini.TuningFlags() & (kTuneImage | kTuneWaterLineRx | kTuneWaterLineTx)) == 0) {
        Fail("Please Set Tuning Item in Ini File\n");
        return false;
    }
    MonitorsOff monitors(ini.TurnOffMonitor() != 0);
    const bool image = (ini.TuningFlags() & kTuneImage) != 0;
    if (image && !TuneImage(host)) return false;
    bool result = true;
    if (ini.TuningFlags() & kTuneWaterLineRx) result = TuneWaterLineRx(host);
    // A failed water-line Rx tuning still lets the Tx tuning run, but nothing is stored then.
    if ((ini.TuningFlags() & kTuneWaterLineTx) && !TuneWaterLineTx(host)) result = false;
    if (!result) return false;
    host.Hw().UpdateCheckSum();
    if (!host.Hw().CommitToDevice()) {
        Fail("Set Parameter Fail\n");
        return false;
    }
    // The open and mutual scaling follow the new tuning; their failure is reported where it
    // happens and does not undo the tuning just stored.
    if (image) CalculateScaling(host);
    return true;
}
