#include "diag/CalibrationCheck.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "device/CAPI.h"
#include "diag/DiagHost.h"
#include "params/CParam_INI.h"

namespace {

constexpr int kMaxRxChips = 4;  // the controller keeps four calibration values

int RxChips(const DiagHost& host) {
    return std::clamp<int>(host.Geometry().numRxChips, 0, kMaxRxChips);
}

}  // namespace

std::optional<int16_t> MeasureCalInput(DiagHost& host, int chip, int input,
                                       std::span<uint8_t> image) {
    CSlave& slave = host.Chip();
    if (!slave.WriteSinOffset(CSlave::kAllChips, image, input)) {
        TestLog().Print(kColourError, kRouteBoth, "Set Test Parameter Fail\n");
        return std::nullopt;
    }
    const int n = slave.GetCalSampleCount();
    if (n <= 2) return std::nullopt;  // no samples left once the extremes are dropped
    long sum = 0;
    int smallest = 0, largest = 0;
    for (int i = 0; i < n; ++i) {
        uint16_t raw = 0;
        host.Api().SetTestMode(255, 255);
        if (!slave.ReadCalSample(chip, raw)) {
            TestLog().Print(kColourError, kRouteBoth, "Read Test Data Fail\n");
            return std::nullopt;
        }
        const int v = static_cast<int16_t>(raw);
        sum += v;
        smallest = i == 0 ? v : std::min(smallest, v);
        largest = i == 0 ? v : std::max(largest, v);
    }
    return static_cast<int16_t>((sum - smallest - largest) / (n - 2));
}

std::optional<uint8_t> CalibrationValue(int scale, int reference, int high, int low) {
    const int difference = high - low;
    if (difference == 0) return std::nullopt;
    return static_cast<uint8_t>(std::clamp(scale * reference / difference, 0, 255));
}

bool CalibrateChip(DiagHost& host, int chip) {
    CSlave& slave = host.Chip();
    std::array<uint8_t, CSlave::kImageBufferSize> image{};
    if (!slave.EnterCalMode(image)) {
        TestLog().Print(kColourError, kRouteBoth, "Set Test Parameter Fail\n");
        return false;
    }
    const auto high = MeasureCalInput(host, chip, slave.GetCalInputHigh(), image);
    const auto low = MeasureCalInput(host, chip, slave.GetCalInputLow(), image);
    // A failed measurement would give a plausible value that is not the chip's.
    if (!high || !low) return false;
    const auto value =
        CalibrationValue(slave.GetCalScale(), host.Geometry().calReference, *high, *low);
    if (!value) return false;
    host.SetCalibrationValue(chip, *value);
    return true;
}

uint32_t CheckCalibration(DiagHost& host) {
    const int chips = RxChips(host);
    if (host.Ini().ForceCalibration() != 0) {
        for (int i = 0; i < chips; ++i) {
            if (!CalibrateChip(host, i)) {
                TestLog().Print(kColourError, kRouteBoth, "Calibrating Fail...\n");
                return 3;
            }
        }
    }
    const ControllerGeometry& g = host.Geometry();
    uint8_t delta = 0;
    for (int i = 0; i < chips; ++i) {
        const int value = g.calValue[static_cast<size_t>(i)];
        TestLog().Printf(kColourNormal, kRouteBoth, "IC%d Calibrating Value =%d\n", i, value);
        delta = std::max(delta, static_cast<uint8_t>(std::abs(value - g.calReference)));
    }
    if (delta > host.Ini().CalTolerance()) {
        TestLog().Printf(kColourError, kRouteBoth, "Calibrating Delta Value =%d\n", delta);
        TestLog().Print(kColourError, kRouteBoth, "Calibrating Fail...\n");
        return 4;
    }
    TestLog().Print(kColourSuccess, kRouteBoth, "Calibration Pass\n");
    return 0;
}
