// Image tuning: the calibration check, the phase targets, and the searches of each tuning rule;
// the gain E of the records for the every-target rule.
#include <algorithm>
#include <array>
#include <vector>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "core/Progress.h"
#include "diag/CalibrationCheck.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "params/HwLayout.h"
#include "tune/AutoTune.h"
#include "tune/Searches.h"
#include "tune/TuneSupport.h"

namespace {

constexpr int kRecords = hw::kTuningRecordCount;
// The fixed-gain rules never let a target take more than this measure count.
constexpr int kFixedGainMaxMeasureCnt = 51;
constexpr int kFixedGainStart = 29;
constexpr uint8_t kTestFrequencyDivider = 3;

void Fail(const char* message) {
    TestLog().Print(kColourError, kRouteBoth, message);
}

// Frequency 0 alone, on clock source 1 at the prescaler of the controller's clock type, within
// the chip's largest prescaler (a 5-bit field would take 32 as 0). Its divider becomes 3, the one
// chips without a divider register have: on a chip whose sine table is prescaler x divider long,
// a larger divider would make the table longer than the chip and the sample area hold, and no
// delay could be measured.
void SingleTestFrequency(DiagHost& host) {
    NotifyResearchProgress(host.Options(), 101);
    CParam_HW& hw = host.Hw();
    const int preScaler = host.ClockType() ? 35 : 32;
    hw.SetByte(hw::kNumsOfFreq, 1);
    hw.SetClkSrc(0, 1);
    hw.SetPreScaler(0, static_cast<uint8_t>(std::min(preScaler, host.Chip().GetPhase1ScanEnd())));
    hw.SetFreqDivider(0, kTestFrequencyDivider);
}

// Every candidate becomes a working frequency; the later ones take frequency 0's RS, AFE gain and
// delays.
void CopyToCandidates(DiagHost& host, const std::vector<FreqCandidate>& candidates) {
    CParam_HW& hw = host.Hw();
    hw.SetByte(hw::kNumsOfFreq, static_cast<uint8_t>(candidates.size()));
    for (size_t i = 0; i < candidates.size(); ++i) {
        const int c = static_cast<int>(i);
        hw.SetClkSrc(c, candidates[i].clock);
        hw.SetPreScaler(c, candidates[i].preScaler);
        hw.SetFreqDivider(c, candidates[i].divider);
        if (c == 0) continue;
        for (int k = 0; k < kRecords; ++k) {
            for (int field : {hw::record::kRS, hw::record::kAFEGain, hw::record::kDelay})
                hw.SetTuningRecordField(c, k, field, hw.TuningRecordField(0, k, field));
        }
    }
}

// The candidates of the fixed-gain rules: false without a message for five or more; an empty
// list has no frequency to tune at all.
bool FixedGainCandidates(DiagHost& host, TuneJob& job, std::vector<FreqCandidate>& candidates) {
    candidates = BuildFreqCandidates(host, CSlave::kScanImage);
    job.maxMeasureCnt = kFixedGainMaxMeasureCnt;
    if (candidates.size() >= hw::kMaxFrequencies) return false;
    if (candidates.empty()) {
        Fail("Cant't find working freqency, please modify ini file\n");
        return false;
    }
    return true;
}

}  // namespace

bool TuneImage(DiagHost& host) {
    TestLog().Print(kColourInfo, kRouteBoth, "Start Image Tuning\n");
    if (CheckCalibration(host) != 0) return false;
    host.Hw().InitPhaseTargets();
    TuneJob job;
    InitTuneJob(host, job);
    CompleteTuneJob(host, job, CSlave::kScanImage);
    bool tuned = false;
    switch (host.Ini().TuningRule()) {
        case 2:
            tuned = TuneImageFixedGain(host, job);
            break;
        case kTuningRuleResearch:
            tuned = TuneImageSingleFreq(host, job);
            break;
        default:
            tuned = TuneImageStandard(host, job);
            break;
    }
    if (tuned) {
        host.Hw().SetImgTuningFromRecords();
        host.Hw().DeriveNoiseImages();
    }
    return tuned;
}

bool TuneImageFixedGain(DiagHost& host, TuneJob& job) {
    std::vector<FreqCandidate> candidates;
    if (!FixedGainCandidates(host, job, candidates)) return false;
    CParam_HW& hw = host.Hw();
    // Each pass lowers the gain code (a stronger signal) until the measure counts fit.
    for (int g = kFixedGainStart;; --g) {
        SingleTestFrequency(host);
        for (int k = 0; k < kRecords; ++k) {
            hw.SetTuningRecordField(0, k, hw::record::kRS, 1);
            hw.SetTuningRecordField(0, k, hw::record::kAFEGain, static_cast<uint8_t>(g));
        }
        if (!AdjustDelay(host, job)) {
            Fail("Adjust delay Fail\n");
            return false;
        }
        CopyToCandidates(host, candidates);
        if (AdjustScalingAndMeasureCnt(host, job, ScalingMode::kSearch)) {
            ClearImgGainE(host);
            return true;
        }
        if (g <= 1 || !job.measureCntLimitReached) {
            Fail("Adjust Scaling & MeasureCnt Fail\n");
            return false;
        }
    }
}

bool TuneImageSingleFreq(DiagHost& host, TuneJob& job) {
    std::vector<FreqCandidate> candidates;
    if (!FixedGainCandidates(host, job, candidates)) return false;
    host.Chip().EnterGainTestMode(job.image, job.scanType);
    SingleTestFrequency(host);
    job.frequencyIndex = 0;
    if (!GainRefCenter(host, job)) {
        Fail("Adjust Frequency And Gain Fail\n");
        return false;
    }
    if (!AdjustDelay(host, job)) {
        Fail("Adjust delay Fail\n");
        return false;
    }
    CopyToCandidates(host, candidates);
    if (!AdjustScalingAndMeasureCnt(host, job, ScalingMode::kSearch)) {
        Fail("Adjust Scaling & MeasureCnt Fail\n");
        return false;
    }
    ClearImgGainE(host);
    return true;
}

void ClearImgGainE(DiagHost& host) {
    const int frequencies = tune::WorkingFrequencies(host);
    for (int f = 0; f < frequencies; ++f) {
        for (int k = 0; k < kRecords; ++k)
            host.Hw().SetTuningRecordField(f, k, hw::record::kGainE, 0);
    }
}

bool AdjustImgGainE(DiagHost& host, TuneJob& job) {
    if (job.scanType != CSlave::kScanImage) return false;
    CParam_HW& hw = host.Hw();
    static constexpr int kFields[] = {hw::record::kAFEGain, hw::record::kDelay, hw::record::kRS,
                                      hw::record::kMeasureCnt};
    const int frequencies = tune::WorkingFrequencies(host);
    std::array<std::array<std::array<uint8_t, 4>, kRecords>, hw::kMaxFrequencies> kept{};
    for (int f = 0; f < frequencies; ++f) {
        for (int k = 0; k < kRecords; ++k) {
            for (int i = 0; i < 4; ++i) kept[f][k][i] = hw.TuningRecordField(f, k, kFields[i]);
        }
    }
    // Record 0 has no previous target: it keeps its own values.
    for (int f = 0; f < frequencies; ++f) {
        for (int k = 1; k < kRecords; ++k) {
            int d = hw.PhaseTarget(k) - hw.PhaseTarget(k - 1);
            if (d == 0) d = 1;
            for (int i = 0; i < 3; ++i) {
                const int own = kept[f][k][i], previous = kept[f][k - 1][i];
                hw.SetTuningRecordField(
                    f, k, kFields[i],
                    static_cast<uint8_t>(previous + (own - previous) * (d - 1) / d));
            }
        }
    }
    const bool found = AdjustScalingAndMeasureCnt(host, job, ScalingMode::kKeep);
    for (int f = 0; f < frequencies; ++f) {
        for (int k = 0; k < kRecords; ++k) {
            if (found)
                hw.SetTuningRecordField(f, k, hw::record::kGainE,
                                        hw.TuningRecordField(f, k, hw::record::kMeasureCnt));
            for (int i = 0; i < 4; ++i) hw.SetTuningRecordField(f, k, kFields[i], kept[f][k][i]);
        }
    }
    return found;
}
