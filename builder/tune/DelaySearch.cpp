// The delay search: the sine-table step at which the weakest channel is strongest and the channels
// are most even, for one target or for every target of each working frequency.
#include <algorithm>
#include <vector>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "core/Progress.h"
#include "diag/CTuneData.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "tune/Searches.h"
#include "tune/TuneSupport.h"

namespace {

// The settings the delay is searched with at a target: the record's RS and gain, a fixed
// measure count, Scaling and starting delay.
void PrepareDelayJob(DiagHost& host, TuneJob& job, int target, int record) {
    CParam_HW& hw = host.Hw();
    job.targetIndex = target;
    job.measureCnt = 15;
    job.scaling = 4;
    job.delay = 10;
    job.rs = static_cast<uint8_t>(hw.GetTuneRs(job.scanType, job.frequencyIndex, record));
    job.afeGain = static_cast<uint8_t>(hw.GetTuneAfeGain(job.scanType, job.frequencyIndex, record));
    SetTestLines(host, job);
}

bool OneTargetDelay(DiagHost& host, TuneJob& job) {
    PrepareDelayJob(host, job, 5, 5);
    if (!SearchDelay(host, job)) {
        TestLog().Print(kColourError, kRouteDetail, "Find Delay Fail\n");
        return false;
    }
    for (int k = 0; k < tune::RecordsOf(job.scanType); ++k) {
        NotifyResearchProgress(host.Options(), 101);
        host.Hw().SetTuneDelay(job.scanType, job.frequencyIndex, k, job.delay);
    }
    return true;
}

bool PerTargetDelay(DiagHost& host, TuneJob& job) {
    for (int i = 0; i < tune::RecordsOf(job.scanType); ++i) {
        PrepareDelayJob(host, job, i, i);
        if (!SearchDelay(host, job)) {
            TestLog().Print(kColourError, kRouteDetail, "Find Delay Fail\n");
            return false;
        }
        host.Hw().SetTuneDelay(job.scanType, job.frequencyIndex, i, job.delay);
    }
    return true;
}

}  // namespace

bool SearchDelay(DiagHost& host, TuneJob& job) {
    if (!ApplyJobSettings(host, job)) {
        TestLog().Print(kColourError, kRouteBoth, "Set Target Parameter Fail\n");
        return false;
    }
    tune::SelectJobLines(host, job);
    CTuneData& data = host.TuneData();
    if (!data.AcquireAfeSamples(job.afeGain, job.scanType, job.image)) {
        TestLog().Print(kColourError, kRouteBoth, "Get AFE Data Fail\n");
        return false;
    }
    const int n = std::min(host.Chip().GetSinTableLength(job.image), CTuneData::kFrameRows);
    const int channels = tune::JobChannels(host, job);
    std::vector<int> least(static_cast<size_t>(std::max(n, 0)), 32767);
    std::vector<int> most(least.size(), 0);
    for (int i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) {
            const int v = tune::Normalised(host, job.scanType, c, data.FrameValue(i, c));
            least[static_cast<size_t>(i)] = std::min(least[static_cast<size_t>(i)], v);
            most[static_cast<size_t>(i)] = std::max(most[static_cast<size_t>(i)], v);
        }
    }
    int best = 0, d = 0;
    for (int i = 0; i < n; ++i) {
        if (least[static_cast<size_t>(i)] > best) best = least[static_cast<size_t>(i)], d = i;
    }
    // A later sample within 10 % of the best that spreads less across the channels is preferred.
    const int window = best * 10 / 100;
    int spread = n > 0 ? most[static_cast<size_t>(d)] - least[static_cast<size_t>(d)] : 0;
    for (int i = d; i < n; ++i) {
        const int lo = least[static_cast<size_t>(i)], s = most[static_cast<size_t>(i)] - lo;
        if (best - window < lo && lo < best + window && s < spread) d = i, spread = s;
    }
    job.delay = static_cast<uint8_t>(d);
    TestLog().Printf(kColourNormal, kRouteDetail, "Target=%d, Delay=%d\n", job.targetIndex, d);
    TestLog().Printf(kColourSuccess, kRouteDetail, "Find Delay = %d\n", d);
    return true;
}

bool AdjustDelay(DiagHost& host, TuneJob& job) {
    host.Chip().EnterSignalTestMode(job.image, job.scanType);
    const int rule = host.Ini().TuningRule();
    bool ran = false, allFound = true;
    for (int f = 0; f < tune::WorkingFrequencies(host); ++f) {
        job.frequencyIndex = static_cast<uint8_t>(f);
        if (!tune::ProgramFrequency(host, job, tune::WorkingFrequency(host, f),
                                    "Set frequency Fail\n", kRouteBoth))
            return false;
        bool found = true;
        if (rule == kTuningRuleRefAll) {
            found = PerTargetDelay(host, job);
        } else if (rule == kTuningRuleRefCenter || rule == 2 || rule == kTuningRuleResearch) {
            found = OneTargetDelay(host, job);
        } else {
            continue;
        }
        ran = true;
        // Every frequency is still searched, but one without its delay fails the whole step.
        allFound = allFound && found;
    }
    return ran && allFound;
}
