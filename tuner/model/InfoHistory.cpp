#include "model/InfoHistory.h"

#include <algorithm>

namespace tuner {

int16_t WaterRatio(const TouchInfo& info) {
    if (info.waterQuantity == 0 || info.cMin == 0) return 0;
    return static_cast<int16_t>(info.cMax * -10 / info.cMin);
}

void NoiseHistory::Add(const TouchInfo& info) {
    NoiseEntry entry;
    entry.maxNoise = info.maxNoise;
    entry.freqIndex = info.freqIndex;
    entry.noiseCondition = info.noiseCondition;
    entry.water = info.waterQuantity;
    entry.waterRatio = WaterRatio(info);
    entries.Push(entry);
    maxNoise = std::max<int>(maxNoise, entry.maxNoise);
    maxWater = std::max<int>(maxWater, entry.water);
    maxRatio = std::max<int>(maxRatio, entry.waterRatio);
}

void NoiseHistory::Clear() {
    entries.Clear();
    maxNoise = maxWater = maxRatio = 0;
}

void Range::Take(int value) {
    min = std::min(min, value);
    max = std::max(max, value);
}

void Range::Take(const Range& other) {
    min = std::min(min, other.min);
    max = std::max(max, other.max);
}

bool IsGoodStylusSample(const StylusInfo& info, int stylusChannels) {
    // In int: a small channel count must not wrap round to a large bound.
    const int start = info.nonZeroStartIndex;
    return info.errorState == 0 && info.buttonState == 1 && start > 1 && start < stylusChannels - 8;
}

bool StylusHistories::Add(const StylusInfo& info, bool ignoreErrors, int stylusChannels) {
    if (ignoreErrors && !IsGoodStylusSample(info, stylusChannels)) return false;
    const StylusSample sample{info.maxSig, info.z1Comp};
    switch (info.scanState) {
        case 4:
        case 12:
            rx.Push(sample);
            return true;
        case 8:
        case 16:
            tx.Push(sample);
            return true;
        default:
            return false;
    }
}

void StylusHistories::UpdateRanges() {
    current = {};
    for (int i = 0; i < kHistoryLength; ++i) {
        if (rx[i].signal > 0) current.rx.Take(rx[i].signal);
        if (tx[i].signal > 0) current.tx.Take(tx[i].signal);
        if (tx[i].pressure > 0) current.z1.Take(tx[i].pressure);
    }
    total.rx.Take(current.rx);
    total.tx.Take(current.tx);
    total.z1.Take(current.z1);
}

void StylusHistories::Clear() {
    rx.Clear();
    tx.Clear();
    current = {};
    total = {};
}

}  // namespace tuner
