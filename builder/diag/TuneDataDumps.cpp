// What the workspace writes to the test log: frames as CSV, the raw and phase dumps and the
// flatness check, and the choice of the frequency the tests run at.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/BuilderLog.h"
#include "device/CAPI.h"
#include "diag/CTuneData.h"
#include "diag/ChannelWalk.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/CParam_SW.h"
#include "params/SwLayout.h"

namespace {

constexpr uint16_t kModeRawI = 0x4004;
constexpr uint16_t kModeRawQ = 0x4200;
constexpr uint16_t kDiagnosticFrequencyBit = 0x0200;  // CtrlFlags(0): test at the last frequency

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace

void CTuneData::DumpFrameCsv(int lastTxColumn, int lastRxRow) {
    CParam_HW& hw = host_->Hw();
    const int tx = std::min<int>(host_->Geometry().txCount, kFrameRows);
    const int rx = std::min<int>(host_->Geometry().rxCount, kFrameColumns);
    const auto txWalk = WalkChannels(hw, true, tx), rxWalk = WalkChannels(hw, false, rx);
    std::string line;
    for (int c = 0; c < tx && c <= lastTxColumn; ++c)
        line += Format(",Chip-%d[%2d]", txWalk[static_cast<size_t>(c)].first,
                       txWalk[static_cast<size_t>(c)].second);
    TestLog().AppendLine(line);
    for (int r = 0; r < rx && r <= lastRxRow; ++r) {
        line = Format("\nRx[%02d]", r);
        for (int c = 0; c < tx && c <= lastTxColumn; ++c) line += Format(",%d", FrameValue(c, r));
        line += Format(",Chip-%d[%02d]", rxWalk[static_cast<size_t>(r)].first,
                       rxWalk[static_cast<size_t>(r)].second);
        TestLog().AppendLine(line);
    }
    std::string footer(1, '\n');
    for (int c = 0; c < tx && c <= lastTxColumn; ++c) footer.append(Format(",Tx[%02d]", c));
    footer.push_back('\n');
    TestLog().AppendLine(footer);
}

int CTuneData::SelectTestFrequency() {
    int index = 0;
    return SelectTestFrequency(index);
}

int CTuneData::SelectTestFrequency(int& selected) {
    const SensorTestOptions& o = host_->Options().sensorTest;
    CParam_HW& hw = host_->Hw();
    int index = o.testFreqB;
    if (o.testFreqB == 255) {
        const bool last = (host_->Sw().Word(SwLayout::CtrlFlags(0)) & kDiagnosticFrequencyBit) != 0;
        index = last ? hw.FrequenciesBound() - 1 : hw.FreqStartIndex();
    } else if (o.testFreqB != hw.FreqStartIndex() &&
               !(o.openScaling != 0 && o.mutualScaling != 0 && o.testFreqA != 255)) {
        TestLog().Print(kColourError, kRouteBoth, "Set Test Freq Fail...\n");
        TestLog().Print(kColourError, kRouteBoth, "Please check test ini file\n");
        return 1;
    }
    if (index < 0 || index > 255 || !host_->Api().SetFrequency(static_cast<uint8_t>(index))) {
        TestLog().Print(kColourError, kRouteBoth, "Set Test Freq Fail...\n");
        return 1;
    }
    selected = selectedFrequency_ = index;
    return 0;
}

bool CTuneData::RestoreFirstRead() {
    CParam_HW& hw = host_->Hw();
    // Without a good first read there is nothing sound to restore: nothing is written.
    if (!hw.HasFirstRead()) return false;
    std::copy(hw.FirstRead().begin(), hw.FirstRead().end(), hw.Image());
    return true;
}

void CTuneData::AppendFrameCsv(const char* title) {
    if (title != nullptr) TestLog().AppendLine(title);
    DumpFrameCsv(host_->Geometry().txCount, host_->Geometry().rxCount);
}

int CTuneData::DumpRaw16(int frequencyIndex) {
    TestLog().Print(kColourNormal, kRouteBoth, "Raw16 Data\n");
    CParam_HW& hw = host_->Hw();
    if (!RestoreFirstRead() || hw.SetTestScaling(frequencyIndex, hw.SensorTestScaling()) == 1) {
        TestLog().Print(kColourError, kRouteBoth, "Set Test Parameter Fail...\n");
        return 1;
    }
    if (!AcquireFrame(kModeRawI)) {
        TestLog().Print(kColourError, kRouteBoth, "Get Test Data Fail...\n");
        return 6;
    }
    AppendFrameCsv(nullptr);
    TestLog().Print(kColourNormal, kRouteBoth, "Finish Raw16\n");
    return 0;
}

int CTuneData::DumpPhase() {
    CParam_HW& hw = host_->Hw();
    if (!RestoreFirstRead() || hw.SetTestScaling(0, hw.SensorTestScaling()) == 1) {
        TestLog().Print(kColourError, kRouteBoth, "Set Test Parameter Fail...\n");
        return 0;
    }
    if (!AcquireFrame(kModeRawI)) return 0;
    AppendFrameCsv("I Data");
    const int tx = std::min<int>(host_->Geometry().txCount, kFrameRows);
    const int rx = std::min<int>(host_->Geometry().rxCount, kFrameColumns);
    std::vector<int16_t> in(static_cast<size_t>(tx * rx));
    for (int t = 0; t < tx; ++t)
        for (int r = 0; r < rx; ++r) in[static_cast<size_t>(t * rx + r)] = FrameValue(t, r);
    if (!AcquireFrame(kModeRawQ)) return 0;
    AppendFrameCsv("Q Data");
    for (int t = 0; t < tx; ++t) {
        std::string line = Format("Tx[%02d]", t);
        for (int r = 0; r < rx; ++r)
            line += Format(",%3.3f",
                           PhaseDegrees(in[static_cast<size_t>(t * rx + r)], FrameValue(t, r)));
        line.push_back('\n');
        TestLog().AppendLine(line);
    }
    return 0;
}

double CTuneData::PhaseDegrees(int i, int q) {
    // In double, so that 3 x Q x Q cannot overflow, and within acos's domain.
    const double di = i, dq = q;
    const double v =
        q == 0 ? 0.0
               : std::clamp(std::sqrt(3.0) * dq / std::sqrt(3.0 * dq * dq + di * di), -1.0, 1.0);
    double angle = std::acos(v) * 180.0 / 3.1415;
    if (i < 0) angle += 180.0;
    return angle;
}

bool CTuneData::CheckFlat() {
    TestLog().Print(kColourNormal, kRouteBoth, "After fine tune Raw Data\n");
    DumpRaw16(0);
    TestLog().Print(kColourNormal, kRouteBoth, "Before fine tune Raw Data\n");
    TestLog().Print(kColourNormal, kRouteBoth, "Raw16 Data\n");
    CParam_HW& hw = host_->Hw();
    hw.AverageImgTuning();
    if (hw.SetTestScaling(0, hw.SensorTestScaling()) == 1)
        TestLog().Print(kColourError, kRouteBoth, "Set Test Parameter Fail...\n");
    if (!AcquireFrame(kModeRawI)) {
        TestLog().Print(kColourError, kRouteBoth, "Get Test Data Fail...\n");
        return false;
    }
    AppendFrameCsv(nullptr);
    TestLog().Print(kColourNormal, kRouteBoth, "Finish Raw16\n");
    return true;
}
