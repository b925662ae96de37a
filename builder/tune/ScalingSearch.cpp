// The Scaling and measure-count searches: the Scaling that keeps a touch's share of the signal
// within the aimed level, then for each target the measure count whose level comes closest to it.
#include <algorithm>
#include <cstdlib>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "core/Progress.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "tune/Searches.h"
#include "tune/TuneSupport.h"

namespace {

// The settings of record `record` of the job's frequency, at the given target.
void LoadRecord(DiagHost& host, TuneJob& job, int target, int record) {
    CParam_HW& hw = host.Hw();
    const int f = job.frequencyIndex;
    job.targetIndex = target;
    job.rs = static_cast<uint8_t>(hw.GetTuneRs(job.scanType, f, record));
    job.afeGain = static_cast<uint8_t>(hw.GetTuneAfeGain(job.scanType, f, record));
    job.delay = static_cast<uint8_t>(hw.GetTuneDelay(job.scanType, f, record));
}

// Applies the job and reads its averaged axis line; false (reported when the settings fail)
// when nothing was read.
bool MeasureAverage(DiagHost& host, TuneJob& job, int& average) {
    if (!ApplyJobSettings(host, job)) {
        TestLog().Print(kColourError, kRouteBoth, "Set Target Parameter Fail\n");
        return false;
    }
    tune::SelectJobLines(host, job);
    return tune::ReadAverage(host, job, average);
}

enum class CountOutcome { kSettled, kLimit, kUnsettled, kFailed };

// The measure count of one target, at most `tries` measurements. count and level receive the
// result when it settled.
CountOutcome SearchTargetCount(DiagHost& host, TuneJob& job, int& count, int& level) {
    const int aim = job.signalLevel, factor = tune::AdcGainFactor(host, job);
    int c = 15, previous = 15, previousLevel = 0, bestDistance = 255;
    for (int tries = 63; tries > 0; --tries) {
        job.measureCnt = static_cast<uint8_t>(c);
        int average = 0;
        if (!MeasureAverage(host, job, average)) return CountOutcome::kFailed;
        const int now = average * job.touchPercent / 100 * factor;
        const int distance = std::abs(now - aim);
        if (now == aim) {
            count = c, level = now;
            return CountOutcome::kSettled;
        }
        int next = c;
        if (now < aim) {
            if (c >= job.maxMeasureCnt) return CountOutcome::kLimit;
            next = c + 1;
        } else if (c == 0) {
            // Never below count 0: a level still too high there is the best there is.
            count = 0, level = now;
            return CountOutcome::kSettled;
        } else {
            next = c - 1;
        }
        if (next == previous) {
            // Back to where it came from: the nearer of the two counts wins.
            const bool keep = now < aim ? distance < bestDistance : distance <= bestDistance;
            count = keep ? c : next;
            level = keep ? now : previousLevel;
            return CountOutcome::kSettled;
        }
        previous = c;
        bestDistance = distance;
        c = next;
        previousLevel = now;
    }
    return CountOutcome::kUnsettled;
}

}  // namespace

bool SearchScaling(DiagHost& host, TuneJob& job) {
    LoadRecord(host, job, 5, tune::RecordsOf(job.scanType) > 1 ? 5 : 0);
    job.measureCnt = 15;
    job.scaling = 2;
    SetTestLines(host, job);
    int average = 0;
    if (!MeasureAverage(host, job, average)) return false;
    const int factor = tune::AdcGainFactor(host, job);
    const int maxScaling = host.Chip().GetScalingMax();
    int scaling = job.scaling;
    int level = average * job.touchPercent / 100;
    // Each step of Scaling halves the signal; the chip's field ends at its largest Scaling.
    while (level * factor > job.signalLevel && scaling < maxScaling) {
        average >>= 1;
        ++scaling;
        level = average * job.touchPercent / 100;
    }
    job.scaling = static_cast<uint8_t>(scaling);
    TestLog().Printf(kColourNormal, kRouteDetail, "Target=%d, Scaling=%d, Signal Level=%d\n", 5,
                     scaling, level * factor);
    TestLog().Printf(kColourSuccess, kRouteDetail, "Find Scaling = %d\n", scaling);
    const int group = tune::ModeGroupOf(job.scanType);
    const std::span<uint8_t> image = host.Hw().ModeImage(job.frequencyIndex, group);
    if (group < 0 || image.empty()) return false;
    host.Chip().SetScaling(image, scaling);
    return true;
}

bool SearchMeasureCnt(DiagHost& host, TuneJob& job) {
    job.measureCntLimitReached = false;
    bool result = true;
    const int group = tune::ModeGroupOf(job.scanType);
    for (int t = 0; t < tune::RecordsOf(job.scanType); ++t) {
        NotifyResearchProgress(host.Options(), 101);
        LoadRecord(host, job, t, t);
        const std::span<uint8_t> image = host.Hw().ModeImage(job.frequencyIndex, group);
        job.scaling = static_cast<uint8_t>(image.empty() ? 0 : host.Chip().GetScaling(image));
        SetTestLines(host, job);
        int count = 0, level = 0;
        switch (SearchTargetCount(host, job, count, level)) {
            case CountOutcome::kFailed:
                return false;
            case CountOutcome::kLimit:
                job.measureCntLimitReached = true;
                result = false;
                continue;
            case CountOutcome::kUnsettled:
                continue;
            case CountOutcome::kSettled:
                break;
        }
        job.measureCnt = static_cast<uint8_t>(count);
        TestLog().Printf(kColourNormal, kRouteDetail,
                         "Target=%d, Measure Cnt=%d, Signal Level=%d\n", t, count, level);
        TestLog().Printf(kColourSuccess, kRouteDetail, "Find Measure Cnt = %d\n", count);
        host.Hw().SetTuneMeasureCnt(job.scanType, job.frequencyIndex, t, count);
        // The later targets aim at the level the first one reached.
        if (t == 0) job.signalLevel = static_cast<uint16_t>(std::max(level, 0));
    }
    return result;
}

bool AdjustScalingAndMeasureCnt(DiagHost& host, TuneJob& job, ScalingMode mode) {
    host.Chip().EnterSignalTestMode(job.image, job.scanType);
    const int maxScaling = host.Chip().GetScalingMax();
    for (int f = 0; f < tune::WorkingFrequencies(host); ++f) {
        job.frequencyIndex = static_cast<uint8_t>(f);
        if (!tune::ProgramFrequency(host, job, tune::WorkingFrequency(host, f),
                                    "Set frequency Fail\n", kRouteBoth))
            return false;
        if (mode == ScalingMode::kSearch) {
            if (!SearchScaling(host, job)) {
                TestLog().Print(kColourError, kRouteBoth, "Find Scaling Fail\n");
                return false;
            }
        } else {
            const int group = tune::ModeGroupOf(job.scanType);
            int scaling = group < 0 ? 0 : host.Hw().GetScalingOf(f, group);
            if (mode == ScalingMode::kKeepPlusOffset)
                scaling = std::min(scaling + host.Options().fixed.keptScalingOffset, maxScaling);
            job.scaling = static_cast<uint8_t>(scaling);
        }
        if (!SearchMeasureCnt(host, job)) {
            TestLog().Print(kColourError, kRouteBoth, "Find Measure Cnt Fail\n");
            return false;
        }
    }
    return true;
}
