#include "tune/PinFinding.h"

#include <algorithm>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "core/Progress.h"
#include "diag/CTuneData.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "tune/SignalAdjust.h"

namespace {

constexpr uint16_t kModeMutual = 0x4080;
constexpr uint16_t kModeRawI = 0x4004;
constexpr uint16_t kModeRawQ = 0x4200;
constexpr uint8_t kShortRangeEnd = 19;  // the chips not under test read channels 0..19
constexpr uint8_t kPinClockSource = 1;
constexpr uint8_t kPinPreScaler = 32, kPinPreScalerClockType1 = 35;
constexpr int kDefaultThreshold = 100;
constexpr int kProgressWorking = 101;
constexpr int kPitchTenthsMm = 60;  // a channel's pitch, for the panel size in research mode

void Log(int colour, const char* text) {
    TestLog().Print(colour, kRouteDetail, text);
}

// A measured frame of the present channel counts.
FrameView MeasuredFrame(DiagHost& host) {
    return FrameView::Of(host.TuneData(), host.Geometry().txCount, host.Geometry().rxCount);
}

bool Acquire(DiagHost& host, uint16_t mode) {
    host.TuneData().ClearAreas();
    return host.TuneData().AcquireFrame(mode);
}

void LogRanges(int chip, const PinRanges& r) {
    const auto i = static_cast<size_t>(std::clamp(chip, 0, 3));
    TestLog().Printf(kColourNormal, kRouteDetail, "Rx Start%d = %d\n", chip, r.rxStart[i]);
    TestLog().Printf(kColourNormal, kRouteDetail, "Rx End%d = %d\n", chip, r.rxEnd[i]);
    TestLog().Printf(kColourNormal, kRouteDetail, "Tx Start%d = %d\n", chip, r.txStart[i]);
    TestLog().Printf(kColourNormal, kRouteDetail, "Tx End%d = %d\n", chip, r.txEnd[i]);
}

// The last channel of a chip's full range: the smaller variant of a chip ends earlier.
uint8_t FullEnd(DiagHost& host, int chip, bool tx) {
    const CSlave& c = host.Chip();
    const int small = tx ? c.GetFirstChipTxChannels() : c.GetFirstChipRxChannels();
    const int full = tx ? c.GetTxChannelsPerChip() : c.GetRxChannelsPerChip();
    const bool smaller = host.Model().IsSmallChip(chip) && small > 0;
    return static_cast<uint8_t>((smaller ? small : full) - 1);
}

PinRanges CurrentRanges(const CParam_HW& hw) {
    PinRanges r;
    r.txChips = hw.TxChipsBound();
    r.rxChips = hw.RxChipsBound();
    for (int j = 0; j < 4; ++j) {
        const auto i = static_cast<size_t>(j);
        r.txStart[i] = hw.TxStart(j), r.txEnd[i] = hw.TxEnd(j);
        r.rxStart[i] = hw.RxStart(j), r.rxEnd[i] = hw.RxEnd(j);
    }
    return r;
}

// The ranges into the hardware set, and the channel counts and phase targets after them.
void ApplyRanges(DiagHost& host, const PinRanges& r) {
    CParam_HW& hw = host.Hw();
    for (int j = 0; j < r.txChips; ++j)
        hw.SetTxRange(j, r.txStart[static_cast<size_t>(j)], r.txEnd[static_cast<size_t>(j)]);
    for (int j = 0; j < r.rxChips; ++j)
        hw.SetRxRange(j, r.rxStart[static_cast<size_t>(j)], r.rxEnd[static_cast<size_t>(j)]);
    host.SetChannelCounts(r.TxTotal(), r.RxTotal());
    hw.InitPhaseTargets();
}

// Undoes a pass that ends without a result, so that no later command stores its test ranges.
class PassGuard {
  public:
    explicit PassGuard(DiagHost& host)
        : host_(host), tx_(host.Geometry().txCount), rx_(host.Geometry().rxCount) {}
    void Restore() {
        CParam_HW& hw = host_.Hw();
        if (hw.HasFirstRead()) std::copy(hw.FirstRead().begin(), hw.FirstRead().end(), hw.Image());
        host_.SetChannelCounts(tx_, rx_);
    }

  private:
    DiagHost& host_;
    int tx_, rx_;
};

}  // namespace

bool FindPinAlg3(DiagHost& host, int chip, int threshold, PinRanges& ranges) {
    Log(kColourNormal, "Find Pin Alg3\n");
    if (!Acquire(host, kModeMutual)) return false;
    FindPinEdges(MeasuredFrame(host), chip, threshold, ranges);
    LogRanges(chip, ranges);
    return true;
}

bool EstimatePins(DiagHost& host, int chip, int threshold, PinRanges& ranges) {
    if (!Acquire(host, kModeRawI)) return false;
    const FrameView p = MeasuredFrame(host);
    if (!Acquire(host, kModeRawQ)) return false;
    const FrameView q = MeasuredFrame(host);
    if (!Acquire(host, kModeMutual)) return false;
    EstimatePinsFromPhase(p, q, MeasuredFrame(host), chip, threshold, ranges);
    LogRanges(chip, ranges);
    return true;
}

bool FindSensorPins(DiagHost& host) {
    CParam_HW& hw = host.Hw();
    PassGuard guard(host);
    hw.SetClkSrc(0, kPinClockSource);
    hw.SetPreScaler(0, host.ClockType() ? kPinPreScalerClockType1 : kPinPreScaler);
    PinRanges found = CurrentRanges(hw);
    const int passes = std::max(found.txChips, found.rxChips);
    for (int i = 0; i < passes; ++i) {
        PinRanges test = found;
        for (int j = 0; j < 4; ++j) {
            const auto k = static_cast<size_t>(j);
            test.txStart[k] = test.rxStart[k] = 0;
            test.txEnd[k] = j == i ? FullEnd(host, j, true) : kShortRangeEnd;
            test.rxEnd[k] = j == i ? FullEnd(host, j, false) : kShortRangeEnd;
        }
        ApplyRanges(host, test);
        hw.UpdateCheckSum();
        if (!hw.WriteTestImage(0)) {
            Log(kColourError, "Set Parameter Fail\n");
            guard.Restore();
            return false;
        }
        // Without a Scaling found, the set's own test Scaling is measured with.
        int s = hw.SensorTestScaling();
        AdjustSignal(host, 0, s);
        hw.SetTestScaling(0, s);
        NotifyResearchProgress(host.Options(), kProgressWorking);
        if (!Acquire(host, kModeMutual)) {
            Log(kColourError, "Get Data Fail\n");
            guard.Restore();
            return false;
        }
        Log(kColourNormal, "Get Data\n");
        int threshold = kDefaultThreshold;
        EstimateSignalThreshold(MeasuredFrame(host), host.Geometry().maxTx,
                                host.Geometry().maxRx, threshold);
        PinRanges edges = test;
        EstimatePins(host, i, threshold, test);
        // Without its frame the edges are the full test ranges: never take those as found.
        if (!FindPinAlg3(host, i, threshold, edges)) {
            Log(kColourError, "Get Data Fail\n");
            guard.Restore();
            return false;
        }
        const auto k = static_cast<size_t>(i);
        bool none = false;
        if (i < found.txChips) {
            found.txStart[k] = edges.txStart[k], found.txEnd[k] = edges.txEnd[k];
            none = none || found.txStart[k] == found.txEnd[k];
        }
        if (i < found.rxChips) {
            found.rxStart[k] = edges.rxStart[k], found.rxEnd[k] = edges.rxEnd[k];
            none = none || found.rxStart[k] == found.rxEnd[k];
        }
        if (none) {
            Log(kColourError, "Can't find Pin define, Please fit it by yourself\n");
            guard.Restore();
            return true;
        }
    }
    ApplyRanges(host, found);
    if (host.Options().fixed.research)
        hw.SetDimensions(static_cast<uint16_t>(found.RxTotal() * kPitchTenthsMm),
                         static_cast<uint16_t>(found.TxTotal() * kPitchTenthsMm));
    hw.UpdateCheckSum();
    if (!hw.CommitToDevice()) {
        Log(kColourError, "Set Parameter Fail\n");
        return false;
    }
    return true;
}
