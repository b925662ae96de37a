#include "tune/TuneSupport.h"

#include <algorithm>
#include <vector>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "device/CAPI.h"
#include "device/CMCU.h"
#include "diag/CTuneData.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/HwLayout.h"
#include "tune/ChipOfChannel.h"

namespace tune {
namespace {

// The tuning's factors of the ADC gain codes 0..7.
constexpr int kAdcGainFactor[8] = {1, 2, 4, 8, 16, 20, 26, 32};

int AxisBufferChannels(DiagHost& host) {
    return std::max(host.Chip().GetMaxRxChannels(), host.Chip().GetMaxTxChannels());
}

}  // namespace

int JobChannels(DiagHost& host, const TuneJob& job) {
    const ControllerGeometry& g = host.Geometry();
    const int count = job.scanType == CSlave::kScanWLTx ? g.txCount : g.rxCount;
    return std::min({count, CTuneData::kFrameColumns, AxisBufferChannels(host)});
}

int Normalised(DiagHost& host, int scanType, int channel, int value) {
    const int chip = ChipOfChannel(host.Hw(), scanType, channel);
    const int cal = host.Geometry().calValue[static_cast<size_t>(std::clamp(chip, 0, 3))];
    const int reference = host.Chip().GetCalReference();
    if (reference == 0) return value;
    return std::clamp(value * cal / reference, -32768, 32767);
}

int AdcGainFactor(DiagHost& host, const TuneJob& job) {
    const std::span<uint8_t> img = host.Hw().ModeImage(job.frequencyIndex, CSlave::kGroupImg);
    const int code = img.empty() ? 0 : host.Chip().GetAdcGainIndex(img);
    return kAdcGainFactor[std::clamp(code, 0, 7)];
}

bool ProgramFrequency(DiagHost& host, TuneJob& job, const FreqCandidate& candidate,
                      const char* preScalerFailure, int failureRoute) {
    TestLog().Printf(kColourNormal, kRouteBoth, "Tuning Frequency = Freq=%3.3fKHz\n",
                     static_cast<double>(host.Mcu().CalcFrequency(
                         candidate.clock, candidate.preScaler, candidate.divider)));
    CSlave& chip = host.Chip();
    const char* failure = nullptr;
    if (!host.Api().SetClock(candidate.clock))
        failure = "Set Clk Fail\n";
    else if (!chip.WritePhase1(CSlave::kAllChips, job.image, candidate.preScaler))
        failure = preScalerFailure;
    else if (!chip.WritePsample(CSlave::kAllChips, job.image, candidate.divider))
        failure = "Set Frequency Divider\n";
    else if (!chip.WriteSinTable(job.image))
        failure = "Set Sine Table Fail\n";
    if (failure == nullptr) return true;
    TestLog().Print(kColourError, failureRoute, failure);
    return false;
}

FreqCandidate WorkingFrequency(DiagHost& host, int f) {
    CParam_HW& hw = host.Hw();
    return {hw.GetClkSrc(f), hw.GetPreScaler(f), hw.GetFreqDivider(f)};
}

int WorkingFrequencies(DiagHost& host) {
    return std::min<int>(host.Hw().NumsOfFreq(), hw::kMaxFrequencies);
}

void SelectJobLines(DiagHost& host, const TuneJob& job) {
    if (job.scanType == CSlave::kScanWLTx) host.Api().SetTestMode(1, 255);
    host.Api().SetTestMode(job.testLineFirst, job.testLineLast);
}

bool ReadAverage(DiagHost& host, const TuneJob& job, int& average) {
    std::vector<uint8_t> line(2 * static_cast<size_t>(AxisBufferChannels(host)), 0);
    if (!host.Chip().ReadAxisLine(job.scanType, line)) return false;
    const int channels = JobChannels(host, job);
    if (channels <= 0) return false;
    int sum = 0;
    for (int c = 0; c < channels; ++c) {
        const auto at = 2 * static_cast<size_t>(c);
        const int raw = static_cast<int16_t>(line[at] | line[at + 1] << 8);
        sum += Normalised(host, job.scanType, c, raw);
    }
    average = static_cast<int16_t>(sum / channels);
    return true;
}

int ModeGroupOf(int scanType) {
    switch (scanType) {
        case CSlave::kScanImage:
            return CSlave::kGroupImg;
        case CSlave::kScanWLRx:
            return CSlave::kGroupWLRx;
        case CSlave::kScanWLTx:
            return CSlave::kGroupWLTx;
        default:
            return -1;
    }
}

int RecordsOf(int scanType) {
    return scanType == CSlave::kScanImage ? 10 : 1;
}

}  // namespace tune
