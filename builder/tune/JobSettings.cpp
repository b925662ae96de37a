// The candidate frequencies, the test lines and the settings a job writes to the chips.
#include <algorithm>

#include "chips/CSlave.h"
#include "device/CMCU.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "tune/Searches.h"
#include "tune/TuneSupport.h"

std::vector<FreqCandidate> BuildFreqCandidates(DiagHost& host, int scanType) {
    std::vector<FreqCandidate> list;
    if (scanType != CSlave::kScanImage) {
        for (int f = 0; f < tune::WorkingFrequencies(host); ++f)
            list.push_back(tune::WorkingFrequency(host, f));
        return list;
    }
    CMCU& mcu = host.Mcu();
    const CParam_INI& ini = host.Ini();
    // The settings count their usable entries, but the list takes that many entries from the
    // front, whatever each holds; there are never more entries than the settings keep.
    const int named = std::min<int>(ini.UsableFreqCount(), kIniWorkingFreqs);
    const int count = named > 0 ? named : std::max(mcu.GetFreqCount(), 0);
    for (int i = 0; i < count; ++i) {
        FreqCandidate c;
        mcu.GetFreqSetting(named > 0 ? ini.WorkingFreq(i) : i, c.clock, c.preScaler, c.divider);
        list.push_back(c);
    }
    return list;
}

void SetTestLines(DiagHost& host, TuneJob& job) {
    switch (job.scanType) {
        case CSlave::kScanImage: {
            const uint8_t line = host.Hw().PhaseTarget(std::clamp(job.targetIndex, 0, 9));
            job.testLineFirst = job.testLineLast = line;
            break;
        }
        case CSlave::kScanWLRx:
            job.testLineFirst = 0;
            job.testLineLast = static_cast<uint8_t>(std::max(host.Geometry().txCount - 1, 0));
            break;
        default:
            job.testLineFirst = job.testLineLast = 255;
            break;
    }
}

bool ApplyJobSettings(DiagHost& host, TuneJob& job) {
    CSlave& chip = host.Chip();
    constexpr int all = CSlave::kAllChips;
    if (!chip.WriteRs(all, job.image, job.rs) || !chip.WriteAfeGain(all, job.image, job.afeGain) ||
        !chip.WriteDelay(all, job.image, job.delay) ||
        !chip.WriteScaling(all, job.image, job.scaling) ||
        !chip.WriteMeasureCnt(all, job.image, job.measureCnt))
        return false;
    const int txChips = std::min<int>(host.Hw().NumsOfTxChips(), TuneJob::kDacValues);
    for (int i = 0; i < txChips; ++i) {
        if (!chip.WriteDacVb(i, job.image, job.dacValues[static_cast<size_t>(i)])) return false;
    }
    return true;
}
