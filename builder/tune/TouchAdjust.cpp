#include "tune/TouchAdjust.h"

#include <chrono>
#include <thread>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "params/HwLayout.h"
#include "platform/MonitorPower.h"
#include "tune/Searches.h"
#include "tune/SignalAdjust.h"

namespace {

constexpr std::chrono::milliseconds kMonitorSettle{1000};
constexpr int kMonitorOff = 2, kMonitorOn = -1;

}  // namespace

MonitorsOff::MonitorsOff(bool off) : off_(off) {
    if (!off_) return;
    platform::SetMonitorPower(kMonitorOff);
    std::this_thread::sleep_for(kMonitorSettle);
}

MonitorsOff::~MonitorsOff() {
    if (off_) platform::SetMonitorPower(kMonitorOn);
}

void SpreadCandidateFrequencies(DiagHost& host) {
    const std::vector<FreqCandidate> candidates = BuildFreqCandidates(host, CSlave::kScanImage);
    if (candidates.empty() || candidates.size() >= hw::kMaxFrequencies) return;
    CParam_HW& hw = host.Hw();
    hw.SetByte(hw::kNumsOfFreq, static_cast<uint8_t>(candidates.size()));
    for (size_t i = 0; i < candidates.size(); ++i) {
        const int k = static_cast<int>(i);
        hw.SetClkSrc(k, candidates[i].clock);
        hw.SetPreScaler(k, candidates[i].preScaler);
        hw.SetFreqDivider(k, candidates[i].divider);
        if (k == 0) continue;
        for (int j = 0; j < hw::kTuningRecordCount; ++j) {
            constexpr unsigned image = CSlave::kScanImage;
            hw.SetTuneRs(image, k, j, hw.GetTuneRs(image, 0, j));
            hw.SetTuneAfeGain(image, k, j, hw.GetTuneAfeGain(image, 0, j));
            hw.SetTuneDelay(image, k, j, hw.GetTuneDelay(image, 0, j));
        }
    }
}

bool AdjustTouchScreen(DiagHost& host) {
    bool result = true, committed = false, imageDone = false;
    TuneJob job;
    InitTuneJob(host, job);
    const CParam_INI& ini = host.Ini();
    // Research mode keeps each frequency's Scaling (with the -Js offset); otherwise it is searched.
    const ScalingMode mode =
        host.Options().fixed.research ? ScalingMode::kKeepPlusOffset : ScalingMode::kSearch;
    {
        MonitorsOff monitors(ini.TurnOffMonitor() != 0);
        static constexpr std::pair<uint32_t, int> kItems[] = {
            {kTuneImage, CSlave::kScanImage},
            {kTuneWaterLineRx, CSlave::kScanWLRx},
            {kTuneWaterLineTx, CSlave::kScanWLTx},
        };
        for (const auto& [flag, scanType] : kItems) {
            if ((ini.TuningFlags() & flag) == 0) continue;
            CompleteTuneJob(host, job, scanType);
            if (AdjustScalingAndMeasureCnt(host, job, mode)) {
                committed = true;
                imageDone = imageDone || scanType == CSlave::kScanImage;
            } else {
                TestLog().Print(kColourError, kRouteBoth, "Adjust Scaling & MeasureCnt Fail\n");
                result = false;
            }
        }
    }
    if (committed) {
        host.Hw().UpdateCheckSum();
        // What was adjusted but could not be stored is a failure, whichever scan it was.
        if (!host.Hw().CommitToDevice()) {
            TestLog().Print(kColourError, kRouteBoth, "Set Parameter Fail\n");
            result = false;
        }
    }
    if (imageDone && !CalculateScaling(host)) {
        TestLog().Print(kColourError, kRouteBoth, "Calculate Scaling Fail\n");
        return false;
    }
    return result;
}
