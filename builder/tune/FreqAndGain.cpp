// The frequency search: every candidate frequency is programmed and, on an image job, kept when
// its gain step accepts it, until the settings' number of working frequencies is reached.
#include <algorithm>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "params/HwLayout.h"
#include "tune/Searches.h"
#include "tune/TuneSupport.h"

namespace {

// Peaks at a target, reported as the gain search reports its own; the target's own test lines
// are used, so that the edges really are compared with each other.
bool PeaksAtTarget(DiagHost& host, TuneJob& job, int target, int& a, int& b) {
    job.targetIndex = target;
    SetTestLines(host, job);
    if (!MeasureAfePeaks(host, job, a, b)) return false;
    TestLog().Printf(kColourNormal, kRouteDetail,
                     "Target Index=%d, Rs=%d, AFE Gain=%d, PeakA=%d, PeakB=%d\n", job.targetIndex,
                     job.rs, job.afeGain, a, b);
    return true;
}

void StoreGain(DiagHost& host, const TuneJob& job, int record) {
    host.Hw().SetTuneRs(job.scanType, job.frequencyIndex, record, job.rs);
    host.Hw().SetTuneAfeGain(job.scanType, job.frequencyIndex, record, job.afeGain);
}

void AcceptFrequency(DiagHost& host, int f, const FreqCandidate& c) {
    CParam_HW& hw = host.Hw();
    hw.SetClkSrc(f, c.clock);
    hw.SetPreScaler(f, c.preScaler);
    hw.SetFreqDivider(f, c.divider);
}

}  // namespace

bool GainRefCenter(DiagHost& host, TuneJob& job) {
    job.targetIndex = 4;
    SetTestLines(host, job);
    if (!SearchGain(host, job)) return false;
    for (int k = 0; k < 10; ++k) StoreGain(host, job, k);

    int a1 = 0, b1 = 0, a9 = 0, b9 = 0;
    if (!PeaksAtTarget(host, job, 1, a1, b1) || !PeaksAtTarget(host, job, 9, a9, b9)) return false;
    const int edge1 = a1 == 0 ? 1 : a1, edge9 = a9 == 0 ? 1 : a9;
    const int ratio = static_cast<int16_t>(edge9 < edge1 ? b1 * 10 / edge9 : b9 * 10 / edge1);
    TestLog().Printf(kColourNormal, kRouteDetail, "Ratio=%d\n", ratio);
    if (ratio <= 20 && a9 < job.adHigh && a1 < job.adHigh) return true;
    TestLog().Print(kColourError, kRouteBoth, "Please Lower your working freqency and try again\n");
    return false;
}

bool GainRefAll(DiagHost& host, TuneJob& job) {
    for (int i = 0; i < 10; ++i) {
        job.targetIndex = i;
        SetTestLines(host, job);
        if (!SearchGain(host, job)) return false;
        StoreGain(host, job, i);
    }
    return true;
}

bool GainWaterLine(DiagHost& host, TuneJob& job) {
    SetTestLines(host, job);
    if (!SearchGain(host, job)) return false;
    StoreGain(host, job, 0);
    return true;
}

bool AdjustFreqAndGain(DiagHost& host, TuneJob& job) {
    host.Chip().EnterGainTestMode(job.image, job.scanType);
    const std::vector<FreqCandidate> candidates = BuildFreqCandidates(host, job.scanType);
    const int rule = host.Ini().TuningRule();
    // Never more working frequencies than the hardware set has room for.
    const int wanted = std::min<int>(host.Ini().NumsOfFreq(), hw::kMaxFrequencies);
    int found = 0;
    for (const FreqCandidate& candidate : candidates) {
        if (found >= hw::kMaxFrequencies) break;
        job.frequencyIndex = static_cast<uint8_t>(found);
        if (!tune::ProgramFrequency(host, job, candidate, "Set Frequency Fail\n", kRouteDetail))
            return false;
        if (job.scanType != CSlave::kScanImage) {
            if (!GainWaterLine(host, job)) return false;
            ++found;
            continue;
        }
        TestLog().Printf(kColourNormal, kRouteDetail, "Tuning Rule = %d\n", rule);
        bool accepted = true;
        if (rule == kTuningRuleRefCenter) accepted = GainRefCenter(host, job);
        if (rule == kTuningRuleRefAll) accepted = GainRefAll(host, job);
        if (!accepted) continue;
        AcceptFrequency(host, found, candidate);
        if (++found == wanted) break;
    }
    if (found == 0) {
        TestLog().Print(kColourError, kRouteBoth,
                        "Cant't find working freqency, please modify ini file\n");
        return false;
    }
    host.Hw().SetByte(hw::kNumsOfFreq, static_cast<uint8_t>(found));
    TestLog().Printf(kColourSuccess, kRouteBoth, "Total available working frequencies = %d\n",
                     found);
    return true;
}
