#include "tune/NoiseScan.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "core/ControllerExceptions.h"
#include "core/Progress.h"
#include "device/CAPI.h"
#include "device/CMCU.h"
#include "diag/DiagHost.h"
#include "params/CParam_INI.h"
#include "tune/ChipOfChannel.h"
#include "tune/NoiseMaxima.h"

namespace {

// The test-mode pair that measures without driving any Tx line.
constexpr uint8_t kNoLine = 255;
// The prescaler multiplier of every model whose divider does not set the frequency.
constexpr uint8_t kFixedDivider = 3;

void Require(bool done, const char* failure) {
    if (!done) throw CDiagnosticException(failure);
}

// The noise-reading preset, written to the chips; the image it leaves is what the scan changes
// one field at a time.
bool EnterPreset(DiagHost& host, std::span<uint8_t> image) {
    if (host.Chip().EnterNoiseScanMode(image)) return true;
    TestLog().Print(kColourError, kRouteBoth, "Set Test Parameter Fail\n");
    return false;
}

NoiseCalibration CalibrationOf(DiagHost& host) {
    const ControllerGeometry& g = host.Geometry();
    NoiseCalibration calibration;
    // The line holds as many channels as the largest Rx count; a reported count beyond it has
    // no readings to give.
    const int channels = std::min<int>(g.rxCount, g.maxRx);
    for (int i = 0; i < channels; ++i)
        calibration.chipOfChannel.push_back(ChipOfChannel(host.Hw(), CSlave::kScanNoise, i));
    for (std::size_t k = 0; k < calibration.values.size(); ++k)
        calibration.values[k] = g.calValue[k];
    calibration.reference = g.calReference;
    return calibration;
}

// One scan run's working state: the preset's register image, the line buffer and the maximum
// table. Everything is released with the run, whichever way the scan ends.
class NoiseScanRun {
  public:
    NoiseScanRun(DiagHost& host, std::span<uint8_t> image, int rows)
        : host_(host),
          chip_(host.Chip()),
          image_(image),
          first_(chip_.GetPhase1ScanFirst()),
          end_(chip_.GetPhase1ScanEnd()),
          bytes_(static_cast<std::size_t>(host.Geometry().maxRx) * 2, 0),
          line_(host.Geometry().maxRx, 0),
          spectrum_(rows, end_ - first_, CalibrationOf(host)) {}

    int FirstPhase1() const { return first_; }
    int EndPhase1() const { return end_; }

    // Sets the prescaler, measures one line with no Tx line driven and raises the setting's
    // cell with it; returns the cell.
    int16_t Measure(int row, int phase1) {
        Require(chip_.WritePhase1(CSlave::kAllChips, image_, phase1), "Write FreqPreScale Fail\n");
        // A measurement that did not start would leave the previous line in the chips.
        Require(host_.Api().SetTestMode(kNoLine, kNoLine) != 0, "Read channel Data Fail\n");
        Require(chip_.ReadAxisLine(CSlave::kScanNoise, bytes_), "Read channel Data Fail\n");
        for (std::size_t i = 0; i < line_.size(); ++i)
            line_[i] = static_cast<int16_t>(bytes_[2 * i] | bytes_[2 * i + 1] << 8);
        return spectrum_.Update(row, phase1 - first_, line_);
    }

  private:
    DiagHost& host_;
    CSlave& chip_;
    std::span<uint8_t> image_;
    int first_, end_;
    std::vector<uint8_t> bytes_;
    std::vector<int16_t> line_;
    NoiseMaxima spectrum_;
};

template <typename Scan>
uint32_t Guarded(Scan scan) {
    try {
        scan();
        return 0;
    } catch (const CDiagnosticException& failure) {
        TestLog().Print(kColourError, kRouteBoth, failure.GetMessage());
        return 1;
    }
}

void LogPass(int pass) {
    TestLog().Printf(kColourInfo, kRouteBoth, "Loop = %d\n", pass);
}

}  // namespace

uint32_t NoiseSpectrumScan(DiagHost& host) {
    return host.Model().dividerSetsFrequency ? DividerNoiseScan(host) : ClockNoiseScan(host);
}

uint32_t ClockNoiseScan(DiagHost& host) {
    std::array<uint8_t, CSlave::kImageBufferSize> image{};
    if (!EnterPreset(host, image)) return 1;
    const int clocks = host.Chip().GetClockSourceCount();
    NoiseScanRun run(host, image, clocks);
    const int passes = host.Ini().NoiseSpectrumGetTimes();
    return Guarded([&] {
        for (int pass = 1; pass <= passes; ++pass) {
            LogPass(pass);
            for (int clock = 0; clock < clocks; ++clock) {
                // The tools that drive a research run take the notice as an 8-bit percentage.
                if (clock < 8)
                    NotifyResearchProgress(host.Options(), static_cast<uint8_t>(10 * pass));
                Require(host.Api().SetClock(static_cast<uint8_t>(clock)) != 0, "Get Clksrc Fail\n");
                for (int c = run.FirstPhase1(); c < run.EndPhase1(); ++c) {
                    const int cell = run.Measure(clock, c);
                    const float kHz = host.Mcu().CalcFrequency(
                        static_cast<uint8_t>(clock), static_cast<uint8_t>(c), kFixedDivider);
                    TestLog().Printf(kColourNormal, kRouteFile,
                                     ",Freq=,%3.2f,KHz, Max Noise=,%d, XI=%d, Delay=%d\n",
                                     static_cast<double>(kHz), cell, clock, c);
                }
            }
        }
    });
}

uint32_t DividerNoiseScan(DiagHost& host) {
    std::array<uint8_t, CSlave::kImageBufferSize> image{};
    if (!EnterPreset(host, image)) return 1;
    CSlave& chip = host.Chip();
    const int firstDivider = chip.GetPsampleScanFirst();
    const int endDivider = chip.GetPsampleScanEnd();
    // Rows are indexed by the divider itself.
    NoiseScanRun run(host, image, endDivider);
    const int passes = host.Ini().NoiseSpectrumGetTimes();
    const int maxSamples = chip.GetSinTableMax();
    return Guarded([&] {
        Require(host.Api().SetClock(0) != 0, "Get Clksrc Fail\n");
        for (int pass = 1; pass <= passes; ++pass) {
            LogPass(pass);
            for (int d = firstDivider; d < endDivider; ++d) {
                Require(chip.WritePsample(CSlave::kAllChips, image, d), "Set Frequency Divider\n");
                for (int c = run.FirstPhase1(); c < run.EndPhase1() && c * d <= maxSamples; ++c) {
                    const int cell = run.Measure(d, c);
                    const float kHz = host.Mcu().CalcFrequency(0, static_cast<uint8_t>(c),
                                                               static_cast<uint8_t>(d));
                    TestLog().Printf(
                        kColourNormal, kRouteBoth,
                        ",Freq=,%3.2f,KHz, Max Noise=,%d, XI=%d, Delay=%d, Divider=%d\n",
                        static_cast<double>(kHz), cell, 0, c, d);
                }
            }
            if (pass <= 8) NotifyResearchProgress(host.Options(), 10 * pass);
        }
    });
}
