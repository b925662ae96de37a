#include "model/InfoPanel.h"

namespace tuner {
namespace {

// Lays the items of one line out left to right.
class LineWriter {
  public:
    LineWriter(DrawOps& ops, int y, int x = 0) : ops_(ops), y_(y), x_(x) {}
    LineWriter& Add(std::string text, Colour colour = kBlack) {
        const int width = static_cast<int>(text.size()) * kPanelCharWidth;
        ops_.push_back(DrawOp::Text(x_, y_, std::move(text), colour));
        x_ += width;
        return *this;
    }
    LineWriter& MoveTo(int x) {
        x_ = x;
        return *this;
    }

  private:
    DrawOps& ops_;
    int y_;
    int x_;
};

Colour AlertIf(bool alert) {
    return alert ? kAlertRed : kPassGreen;
}

constexpr const char* kWaterStates[] = {"WaterState: No Water,", "WaterState: M-Touch,",
                                        "WaterState: D-Touch,", "WaterState: S-Touch,"};

constexpr int kErrorLineY = 70;
constexpr int kStylusDetailX = 110;

}  // namespace

DrawOps TouchInfoPanel(const TouchInfo& t) {
    DrawOps ops;
    LineWriter(ops, 0)
        .Add(Format("Freq#: %02d,", t.freqIndex))
        .Add(Format("Threshold#: %01d,", t.threshold))
        .Add(Format("#Touch: %02d,", t.touches))
        .Add(t.strayConfidence != 0 ? "StrayConfidence: Pass," : "StrayConfidence: Low,",
             AlertIf(t.strayConfidence == 0));

    const std::string water = t.water < std::size(kWaterStates)
                                  ? kWaterStates[t.water]
                                  : Format("WaterState: %d,", t.water);
    LineWriter(ops, kPanelLinePitch)
        .Add(water, AlertIf(t.water != 0))
        .Add(Format("WaterDisableTouch: %0d,", t.waterDisablesTouch), AlertIf(t.waterDisablesTouch))
        .Add(Format("NoiseCondition: %0d,", t.noiseCondition), AlertIf(t.noiseCondition))
        .Add(Format("IsPalm: %0d,", t.palm), AlertIf(t.palm))
        .Add(Format("IsIdle: %0d,", t.idle), AlertIf(t.idle != 1));

    LineWriter(ops, 2 * kPanelLinePitch)
        .Add(Format("MaxNoise: %04d, ", t.maxNoise))
        .Add(Format("NoiseCh: %03d, ", t.maxNoiseRx))
        .Add(Format("Water: %04d, ", t.waterQuantity))
        .Add(Format("CMax: %04d, ", t.cMax))
        .Add(Format("CMin: %04d, ", t.cMin))
        .Add(Format("S/F: %04d / %02d, ", t.sf1, t.sf2))
        .Add(Format("PalmCnt: %03d, ", t.palmCount));

    // The names belong to the word shown beside them: the record's own.
    if (t.errorWord != 0)
        LineWriter(ops, kErrorLineY)
            .Add(Format("Err: 0x%08X, ", t.errorWord) + ErrorWordNames(t.errorWord), kAlertRed);
    else
        LineWriter(ops, kErrorLineY).Add(Format("Err: 0x%08X", 0u));
    return ops;
}

DrawOps StylusInfoPanel(const StylusInfo& s, bool hexDebug) {
    DrawOps ops;
    LineWriter(ops, 0)
        .Add("ScanState: " + ScanStateName(s.scanState))
        .MoveTo(kStylusDetailX)
        .Add(Format("ErrorState: 0x%04X,  ", s.errorState))
        .Add(Format("RawZ1: %04d,  ", s.rawZ1))
        .Add(Format("RawZ2: %04d,  ", s.rawZ2))
        .Add(Format("Z1: %04d,  ", s.z1))
        .Add(Format("Z2: %04d,  ", s.z2))
        .Add(Format("MaxSig: %04d,  ", s.maxSig))
        .Add(Format("SecSig: %04d,  ", s.secSig))
        .Add(Format("MaxButton: %04d, ", s.maxButton))
        .Add(Format("SecButton: %04d,  ", s.secButton));
    LineWriter(ops, kPanelLinePitch)
        .Add(Format("ApenState: 0x%04X,  ", s.aPenState))
        .Add("ButtonState: " + ButtonStatePanelName(s.buttonState) + ",  ")
        .Add(Format("ButtonStateIndex: 0x%02X,  ", s.buttonStateIndex))
        .Add(Format("MaxSigIndex: %03d,  ", s.maxSigIndex))
        .Add(Format("SecSigIndex: %03d,  ", s.secSigIndex))
        .Add(Format("MaxNonZeroNum: %04d,  ", s.maxNonZeroNum))
        .Add(Format("NonZeroStartIndex: %04d", s.nonZeroStartIndex));
    LineWriter(ops, 2 * kPanelLinePitch)
        .Add(Format("Z1Comp: %04d,  ", s.z1Comp))
        .Add(Format("Speed: %04d,  ", s.speed))
        .Add(Format("NoiseCnt: %04d,  ", s.noiseCount))
        .Add(Format("FreqIndex: %02d,  ", s.freqScanIndex))
        .Add(s.noiseCondition != 0 ? "NoiseCond: True,  " : "NoiseCond: False, ")
        .Add(Format("MaxNoiseIndex: %03d,  ", s.maxNoiseIndex))
        .Add(Format("MaxNoise: %04d,  ", s.maxNoise))
        .Add(Format("NoiseDetCnt: %03d,  ", s.noiseDetectCount))
        .Add(Format("XTilt: %04d,  ", s.xTilt))
        .Add(Format("YTilt: %04d", s.yTilt));
    LineWriter debug(ops, 3 * kPanelLinePitch);
    for (std::size_t i = 0; i < s.debug.size(); ++i)
        debug.Add(hexDebug ? Format("Dbg%u: 0x%04X, ", static_cast<unsigned>(i + 1), s.debug[i])
                           : Format("Dbg%u: %04d, ", static_cast<unsigned>(i + 1), s.debug[i]));
    return ops;
}

}  // namespace tuner
