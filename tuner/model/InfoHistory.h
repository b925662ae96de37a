// The histories behind the draw-test page's graphs: the last 400 touch information records' noise
// and water values with their running maxima, and the last 400 good stylus samples of the Rx and
// Tx scans with their ranges.
#pragma once

#include <array>
#include <cstdint>

#include "model/DrawReports.h"

namespace tuner {

inline constexpr int kHistoryLength = 400;

// A fixed ring of the last kHistoryLength values, read oldest first; it starts full of zeros.
template <typename T>
class History {
  public:
    void Push(const T& value) {
        items_[head_] = value;
        head_ = (head_ + 1) % kHistoryLength;
    }
    const T& operator[](int age) const { return items_[(head_ + age) % kHistoryLength]; }
    const T& Newest() const { return (*this)[kHistoryLength - 1]; }
    void Clear() {
        items_.fill(T{});
        head_ = 0;
    }

  private:
    std::array<T, kHistoryLength> items_{};
    int head_ = 0;
};

struct NoiseEntry {
    int16_t maxNoise = 0;
    uint8_t freqIndex = 0;
    uint8_t noiseCondition = 0;
    int16_t water = 0;
    int16_t waterRatio = 0;
};

// CMax × (−10) / CMin while there is water and CMin is not zero, else 0.
int16_t WaterRatio(const TouchInfo& info);

struct NoiseHistory {
    History<NoiseEntry> entries;
    int maxNoise = 0;
    int maxWater = 0;
    int maxRatio = 0;

    void Add(const TouchInfo& info);
    void Clear();
};

struct StylusSample {
    uint16_t signal = 0;
    uint16_t pressure = 0;
};

struct Range {
    int min = 0x7FFF;
    int max = 0;

    void Take(int value);
    void Take(const Range& other);
    bool operator==(const Range&) const = default;
};

struct StylusRanges {
    Range rx, tx, z1;
    bool operator==(const StylusRanges&) const = default;
};

struct StylusHistories {
    History<StylusSample> rx;
    History<StylusSample> tx;
    StylusRanges current;
    StylusRanges total;  // since the last clean

    // A sample passes when errors are not ignored, or when it is good: no error, normal button
    // state and its first non-zero index inside the sensor (stylusChannels from the controller's
    // stylus information). Rx scan states feed the Rx history, Tx scan states the Tx history.
    // True when the sample was added.
    bool Add(const StylusInfo& info, bool ignoreErrors, int stylusChannels);
    // Recomputes the current ranges over the histories (positive values only) and widens the
    // total ranges with them.
    void UpdateRanges();
    void Clear();
};

bool IsGoodStylusSample(const StylusInfo& info, int stylusChannels);

}  // namespace tuner
