#include "diag/MutualTests.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/BuilderLog.h"
#include "diag/CTuneData.h"
#include "diag/ChannelWalk.h"
#include "diag/DiagHost.h"
#include "diag/SensorTestSteps.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "params/CParam_SW.h"
#include "params/SwLayout.h"

namespace {

constexpr uint16_t kModeInPhase = 0x4004;
constexpr uint16_t kModeQuadrature = 0x4200;
constexpr int kThresholdWarning = 80;
constexpr uint8_t kSwapX = 0x02, kSwapY = 0x04;

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

void LogOrigin(DiagHost& host) {
    const uint8_t flags = host.Sw().Byte(SwLayout::kAxisFlags);
    const bool right = (flags & kSwapX) != 0, lower = (flags & kSwapY) != 0;
    const char* corner =
        lower ? (right ? "Lower Right" : "Lower Left") : (right ? "Upper Right" : "Upper Left");
    TestLog().Print(kColourNormal, kRouteBoth,
                    std::string("Origin Point Location :,") + corner + "\n");
}

// A frame's cells, read out of the frame area before the next frame replaces them.
std::vector<int> CopyFrame(const CTuneData& data, Extent e) {
    std::vector<int> cells(static_cast<size_t>(e.tx * e.rx));
    for (int t = 0; t < e.tx; ++t)
        for (int r = 0; r < e.rx; ++r) cells[e.Cell(t, r)] = data.FrameValue(t, r);
    return cells;
}

}  // namespace

uint32_t MutualCapTest(DiagHost& host) {
    TestLog().Print(kColourNormal, kRouteBoth, "Start Mutual Cap Test\n");
    const SensorTestOptions& o = host.Options().sensorTest;
    // The threshold is recorded with the data; it is not compared here.
    if (o.mutualThreshold > kThresholdWarning)
        TestLog().Print(kColourNormal, kRouteBoth,
                        "Warning! Please check Mutual Cap test threshold\n");
    TestLog().Printf(kColourNormal, kRouteBoth, "Mutual Cap Test threshold , %d\n",
                     o.mutualThreshold);
    LogOrigin(host);
    const ScalingWord scaling = ScalingWord::Choose(o.mutualScaling, host.Hw().MutualScaling());
    if (scaling.Value() == 0) {
        TestLog().Print(kColourError, kRouteBoth, "Get Scaling Fail\n");
        return 7;
    }
    TestLog().Printf(kColourNormal, kRouteBoth, "Mutual Cap Test scaling , %d\n", scaling.Value());
    if (PrepareTestImage(host) != 0) return 1;

    const int n = std::max({host.Ini().MutualCapTestGetTimes(), int{o.mutualMinRepeat}, 1});
    CTuneData& data = host.TuneData();
    const Extent e = FrameExtent(host);
    std::vector<long long> sums;
    if (!SumScaledFrames(data, e, n, scaling, 3, sums)) return 6;
    if (n > 1)
        for (long long& s : sums) s /= n;
    // First differences across Rx on the sums' low 16 bits, then their differences across Tx.
    auto across = [&](int t, int r) {
        return static_cast<int16_t>(sums[e.Cell(t, r)]) -
               static_cast<int16_t>(sums[e.Cell(t, r + 1)]);
    };
    for (int t = 0; t + 1 < e.tx; ++t)
        for (int r = 0; r + 1 < e.rx; ++r)
            data.SetFrameValue(t, r, Saturate16(across(t + 1, r) - across(t, r)));
    data.DumpFrameCsv(e.tx - 2, e.rx - 2);
    TestLog().Print(kColourNormal, kRouteBoth, "Finish Mutual Cap Test\n");
    return 0;
}

float MutualMapValue(int i0, int q0, int m0, int i1, int q1, int m1) {
    const float magnitudes = static_cast<float>(m0) * static_cast<float>(m1);
    // A cell without magnitude has no phase to agree with.
    float c = 0.0f;
    if (magnitudes != 0.0f) {
        const float dot = 3.0f * static_cast<float>(q0) * static_cast<float>(q1) +
                          static_cast<float>(i0) * static_cast<float>(i1);
        c = std::min(dot / magnitudes * 100.0f, 100.0f);
    }
    return 10000.0f - (c * c + 10000.0f) * 0.5f;
}

uint32_t MutualCapMap(DiagHost& host) {
    TestLog().Print(kColourNormal, kRouteBoth, "\nStart Mutual Cap Test2\n");
    if (PrepareTestImage(host) != 0) return 1;
    CTuneData& data = host.TuneData();
    const Extent e = FrameExtent(host);
    if (!data.AcquireFrame(kModeInPhase)) return 6;
    const std::vector<int> in = CopyFrame(data, e);
    if (!data.AcquireFrame(kModeQuadrature)) return 6;
    const std::vector<int> q = CopyFrame(data, e);
    if (!data.AcquireFrame(kModeMagnitude)) return 6;
    const std::vector<int> m = CopyFrame(data, e);

    const auto rxWalk = WalkChannels(host.Hw(), false, e.rx);
    for (int r = 0; r + 1 < e.rx; ++r) {
        std::string line = Format("\nRx[%02d]", r);
        for (int t = 0; t < e.tx; ++t) {
            const size_t a = e.Cell(t, r), b = e.Cell(t, r + 1);
            line +=
                Format(",%5.3f",
                       static_cast<double>(MutualMapValue(in[a], q[a], m[a], in[b], q[b], m[b])));
        }
        const auto& [chip, pin] = rxWalk[static_cast<size_t>(r)];
        line += Format(",Chip-%d[%02d]", chip, pin);
        TestLog().AppendLine(line);
    }
    std::string footer(1, '\n');
    for (int t = 0; t < e.tx; ++t) footer += Format(",Tx[%02d]", t);
    footer.push_back('\n');
    TestLog().AppendLine(footer);
    TestLog().Print(kColourNormal, kRouteBoth, "Finish Mutual Cap Test2\n");
    return 0;
}
