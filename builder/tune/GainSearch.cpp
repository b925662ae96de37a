// The gain steps: the AFE peaks of one measurement, the RS and AFE gain search, and the three ways
// a frequency's gain is chosen (the centre target, every target, the water line).
#include <algorithm>
#include <cstdlib>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "core/Progress.h"
#include "diag/CTuneData.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "tune/Searches.h"
#include "tune/TuneSupport.h"

namespace {

// A search that neither settles nor leaves its RS level within this many measurements leaves it.
constexpr int kGainStepsPerRs = 64;

// The amplitude the gain search reads from one sample word: the swing between the negative (low)
// and positive (high) byte.
int Amplitude(int16_t word) {
    const int a = static_cast<int8_t>(word & 0xFF), b = static_cast<int8_t>((word >> 8) & 0xFF);
    int v = static_cast<int16_t>(static_cast<float>(b - a) * 1.22f) >> 1;
    if (v > 127) v = 127;
    return std::abs(v);
}

void ReportPeaks(const TuneJob& job, int peakA, int peakB) {
    TestLog().Printf(kColourNormal, kRouteDetail,
                     "Target Index=%d, Rs=%d, AFE Gain=%d, PeakA=%d, PeakB=%d\n", job.targetIndex,
                     job.rs, job.afeGain, peakA, peakB);
}

enum class Step { kFound, kLeave, kNext };

// One measurement's verdict on gain g; newGain is the gain to try next.
Step JudgeGain(const TuneJob& job, int p, int q, int g, int& lo, int& hi, bool& inWindow, int upper,
               int& newGain) {
    const int t = job.adTarget, u = job.adHigh, tol = job.tolerance;
    const int m = std::min(p, q);
    if (std::abs(t - m) <= tol) return Step::kFound;
    if (p >= t - tol && p <= u && q >= t - tol && q <= u) {
        inWindow = true;
        newGain = m > t ? g + 1 : g - 1;
        return Step::kNext;
    }
    if (inWindow) return Step::kLeave;
    if ((p > u && q < t) || (q > u && p < t)) return Step::kLeave;
    if ((p > u && q > u) || (p > u && q > t) || (q > u && p > t)) {
        if (g == upper) return Step::kLeave;
        lo = g;
        newGain = (g + hi + 1) / 2;
        return Step::kNext;
    }
    if ((p <= t && q <= t) || (p > t && q < t) || (p < t && q > t)) {
        hi = g;
        newGain = (lo + g) / 2;
        return Step::kNext;
    }
    newGain = g;
    return Step::kNext;
}

}  // namespace

bool MeasureAfePeaks(DiagHost& host, TuneJob& job, int& peakA, int& peakB) {
    ApplyJobSettings(host, job);
    tune::SelectJobLines(host, job);
    if (!host.TuneData().AcquireAfeSamples(job.afeGain, job.scanType, job.image)) {
        TestLog().Print(kColourError, kRouteDetail, "Get AFE Data Fail\n");
        return false;
    }
    const int samples = std::min(host.Chip().GetSinTableLength(job.image), CTuneData::kFrameRows);
    const int channels = tune::JobChannels(host, job);
    peakA = peakB = 0;
    int best = 0;
    for (int s = 0; s < samples; ++s) {
        int most = 0, least = 32767;
        for (int c = 0; c < channels; ++c) {
            const int amplitude = Amplitude(host.TuneData().FrameValue(s, c));
            most = std::max(most, amplitude);
            least = std::min(least, amplitude);
        }
        if (most > best) {
            best = most;
            peakB = most;
            peakA = least;
        }
    }
    return true;
}

bool SearchGain(DiagHost& host, TuneJob& job) {
    CSlave& chip = host.Chip();
    const int upper = chip.GetAfeGainUpper(), lower = chip.GetAfeGainLower();
    if (chip.GetRsMax() * upper == 0) return false;
    for (int r = job.rsStart; r >= chip.GetRsMin() && r >= 0; --r) {
        job.rs = static_cast<uint8_t>(r);
        int g = upper, hi = upper, lo = lower, previous = g;
        bool inWindow = false;
        for (int step = 0; hi >= lo + 1 && step < kGainStepsPerRs; ++step) {
            NotifyResearchProgress(host.Options(), 101);
            job.afeGain = static_cast<uint8_t>(g);
            int p = 0, q = 0;
            if (!MeasureAfePeaks(host, job, p, q)) {
                TestLog().Print(kColourError, kRouteDetail, "Get AFE Data Fail\n");
                return false;
            }
            ReportPeaks(job, p, q);
            int next = g;
            const Step verdict = JudgeGain(job, p, q, g, lo, hi, inWindow, upper, next);
            if (verdict == Step::kLeave) break;
            // Never past the chip's gain codes: at a bound the search settles there.
            next = std::clamp(next, lower, upper);
            if (verdict == Step::kFound || next == previous) {
                TestLog().Printf(kColourSuccess, kRouteDetail, "Find Gain Rs=%d, AFE Gain=%d\n", r,
                                 g);
                return true;
            }
            previous = g;
            g = next;
        }
    }
    return false;
}
