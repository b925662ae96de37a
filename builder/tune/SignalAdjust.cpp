#include "tune/SignalAdjust.h"

#include <algorithm>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "core/Progress.h"
#include "device/CAPI.h"
#include "diag/CTuneData.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/CParam_SW.h"
#include "params/SwLayout.h"

namespace {

constexpr uint16_t kModeMutual = 0x4080;
constexpr uint16_t kLastFrequencyBit = 0x0200;  // CtrlFlags(0): measure at the last frequency
constexpr int kProgressWorking = 101;

// The channel counts as bounds of the frame area.
int FrameRows(DiagHost& host) {
    return std::min<int>(host.Geometry().txCount, CTuneData::kFrameRows);
}
int FrameColumns(DiagHost& host) {
    return std::min<int>(host.Geometry().rxCount, CTuneData::kFrameColumns);
}

int FrameMaximum(DiagHost& host) {
    const CTuneData& data = host.TuneData();
    int most = 0;
    for (int t = 0; t < FrameRows(host); ++t)
        for (int r = 0; r < FrameColumns(host); ++r) most = std::max<int>(most, data.FrameValue(t, r));
    return most;
}

// The smallest value of the frame, and of its border (the first and last Rx channel of every Tx
// line, the first and last Tx line of every Rx channel). False for a frame with no cell.
bool FrameMinima(DiagHost& host, int& mutual, int& open) {
    const CTuneData& data = host.TuneData();
    const int rows = FrameRows(host), columns = FrameColumns(host);
    if (rows < 1 || columns < 1) return false;
    mutual = open = 32767;
    for (int t = 0; t < rows; ++t) {
        for (int r = 0; r < columns; ++r) {
            const int v = data.FrameValue(t, r);
            mutual = std::min(mutual, v);
            if (t == 0 || t == rows - 1 || r == 0 || r == columns - 1) open = std::min(open, v);
        }
    }
    return true;
}

// The -Lb frequency when given, else the last working frequency or the set's start frequency as
// the software set asks.
int TestFrequency(DiagHost& host) {
    const int given = host.Options().sensorTest.testFreqB;
    if (given != 255) return given;
    CParam_HW& hw = host.Hw();
    const bool last = (host.Sw().Word(SwLayout::CtrlFlags(0)) & kLastFrequencyBit) != 0;
    return last ? hw.FrequenciesBound() - 1 : hw.FreqStartIndex();
}

void RestoreFirstRead(CParam_HW& hw) {
    if (hw.HasFirstRead()) std::copy(hw.FirstRead().begin(), hw.FirstRead().end(), hw.Image());
}

}  // namespace

uint16_t ScalingRatio(int minimum, int reference) {
    if (minimum <= 0 || reference <= 0) return 0;
    if (minimum > reference) return static_cast<uint16_t>(minimum * 10 / reference);
    return static_cast<uint16_t>((reference * 10 / minimum) | 0x8000);
}

bool AdjustSignal(DiagHost& host, int f, int& scaling) {
    CParam_HW& hw = host.Hw();
    const int most = host.Chip().GetScalingMax();
    int s = 2;
    for (int tries = kAdjustSignalTries; tries > 0; --tries) {
        if (hw.SetTestScaling(f, s) == 1) {
            TestLog().Print(kColourError, kRouteDetail, "Set Test Parameter Fail...\n");
            return false;
        }
        NotifyResearchProgress(host.Options(), kProgressWorking);
        TestLog().Print(kColourNormal, kRouteDetail, "adjust signal\n");
        host.TuneData().ClearAreas();
        // A frame that does not come costs a try and keeps the Scaling.
        if (!host.TuneData().AcquireFrame(kModeMutual)) continue;
        const int h = FrameMaximum(host);
        if (h > kSignalWindowHigh) {
            if (s >= most) return false;
            ++s;  // a larger Scaling gives smaller values
        } else if (h < kSignalWindowLow) {
            if (s <= 0) return false;
            --s;
        } else {
            scaling = s;
            return true;
        }
    }
    return false;
}

bool MeasureOpenMutualScaling(DiagHost& host) {
    CParam_HW& hw = host.Hw();
    const int f = TestFrequency(host);
    // A frequency the set cannot hold is refused like one the controller refuses.
    if (f < 0 || f >= hw::kMaxFrequencies || !host.Api().SetFrequency(static_cast<uint8_t>(f))) {
        TestLog().Print(kColourError, kRouteBoth, "Set Test Freq Fail...\n");
        return false;
    }
    // Without a Scaling found, the set's own test Scaling is measured with and kept.
    int s = hw.SensorTestScaling();
    if (!AdjustSignal(host, f, s))
        TestLog().Print(kColourError, kRouteDetail, "Make Test Scaling Fail...\n");
    RestoreFirstRead(hw);
    if (hw.SetTestScaling(f, s) == 1)
        TestLog().Print(kColourError, kRouteDetail, "Sync HWParam To Ram Fail...\n");
    host.TuneData().ClearAreas();
    if (!host.TuneData().AcquireFrame(kModeMutual)) return false;
    RestoreFirstRead(hw);
    int mutual = 0, open = 0;
    // A minimum of 0 or below has no ratio: nothing is written.
    if (!FrameMinima(host, mutual, open) || mutual <= 0 || open <= 0) return false;
    hw.SetMutualScaling(ScalingRatio(mutual));
    hw.SetOpenScaling(ScalingRatio(open));
    hw.SetSensorTestScaling(static_cast<uint8_t>(s));
    hw.UpdateCheckSum();
    TestLog().Printf(kColourNormal, kRouteDetail, "Open Scaling = %d\n", hw.OpenScaling());
    TestLog().Printf(kColourNormal, kRouteDetail, "Mutual Scaling = %d\n", hw.MutualScaling());
    return true;
}

bool CalculateScaling(DiagHost& host) {
    if (!MeasureOpenMutualScaling(host)) {
        TestLog().Print(kColourError, kRouteDetail, "Calculate Scaling Fail\n");
        return false;
    }
    if (!host.Hw().CommitToDevice()) {
        TestLog().Print(kColourError, kRouteDetail, "Set Parameter Fail\n");
        return false;
    }
    return true;
}
