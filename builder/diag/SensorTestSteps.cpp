#include "diag/SensorTestSteps.h"

#include <algorithm>
#include <limits>

#include "core/BuilderLog.h"
#include "device/CAPI.h"
#include "diag/CTuneData.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"

ScalingWord ScalingWord::Choose(uint16_t optionWord, uint16_t storedWord) {
    return ScalingWord((optionWord & 0x7FFF) != 0 ? optionWord : storedWord);
}

int CurrentTestFrequency(DiagHost& host) {
    const int selected = host.TuneData().SelectedTestFrequency();
    // Preset, so that a failed query leaves the frequency the sequence chose and checked.
    uint8_t index = static_cast<uint8_t>(selected >= 0 ? selected : host.Hw().FreqStartIndex());
    host.Api().GetFrequency(index);
    return index;
}

int PrepareTestImage(DiagHost& host) {
    const int f = CurrentTestFrequency(host);
    CParam_HW& hw = host.Hw();
    // Without a good first read there is nothing sound to write: the step fails instead.
    if (!host.TuneData().RestoreFirstRead() || hw.SetTestScaling(f, hw.SensorTestScaling()) == 1) {
        TestLog().Print(kColourError, kRouteBoth, "Set Test Parameter Fail...\n");
        return 1;
    }
    return 0;
}

int16_t Saturate16(long long v) {
    return static_cast<int16_t>(std::clamp<long long>(v, std::numeric_limits<int16_t>::min(),
                                                      std::numeric_limits<int16_t>::max()));
}

Extent FrameExtent(const DiagHost& host) {
    return {std::min<int>(host.Geometry().txCount, CTuneData::kFrameRows),
            std::min<int>(host.Geometry().rxCount, CTuneData::kFrameColumns)};
}

bool SumScaledFrames(CTuneData& data, Extent e, int n, ScalingWord scaling, int shift,
                     std::vector<long long>& sums) {
    sums.assign(static_cast<size_t>(e.tx * e.rx), 0);
    for (int i = 0; i < n; ++i) {
        if (!data.AcquireFrame(kModeMagnitude)) {
            TestLog().Print(kColourNormal, kRouteFile, "Get Image Data Fail\n");
            return false;
        }
        for (int t = 0; t < e.tx; ++t)
            for (int r = 0; r < e.rx; ++r)
                sums[e.Cell(t, r)] += scaling.Apply(data.FrameValue(t, r)) >> shift;
    }
    return true;
}
