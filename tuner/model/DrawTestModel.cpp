#include "model/DrawTestModel.h"

#include <algorithm>

#include "model/InfoPanel.h"

namespace tuner {
namespace {

constexpr int kGraphEvery = 5;

}  // namespace

bool KeyStrip::Apply(const DevReport& report, int keyCount, bool fullScreenOpen) {
    if (keyCount <= 0 || fullScreenOpen || !IsTouchKeyReport(report)) return false;
    const TouchKeyState key = DecodeTouchKey(report);
    if (key.index >= keyCount) return false;
    keys = keyCount;
    pressed = key.pressed ? key.index : -1;
    return true;
}

DrawOps KeyStrip::Paint(int width, int height) const {
    DrawOps ops;
    if (keys <= 0 || pressed < 0) return ops;
    const int cell = width / keys;
    const int cx = cell * pressed + cell / 2, cy = height / 2;
    const int radius = std::max(2, std::min(cell, height) / 2 - 2);
    ops.push_back(DrawOp::Circle(cx, cy, radius, {kBlack, 1}));
    const std::string number = std::to_string(pressed + 1);
    ops.push_back(DrawOp::Text(cx - 3 * static_cast<int>(number.size()), cy - 6, number, kBlack));
    return ops;
}

DrawTestModel::DrawTestModel(std::filesystem::path baseFolder, int64_t nowMs)
    : slots_(nowMs), logs_(std::move(baseFolder)) {}

InfoUpdate DrawTestModel::CountInfoReport() {
    InfoUpdate update;
    ++infoReports_;
    update.graphDue = infoReports_ % kGraphEvery == 0;
    return update;
}

InfoUpdate DrawTestModel::OnTouchInfo(const DevReport& report, InfoMode mode, ClockTime now) {
    if (!IsTouchInfoReport(report)) return {};
    touch_ = DecodeTouchInfo(report);
    panel_ = Panel::kTouch;
    InfoUpdate update = CountInfoReport();
    if (mode != InfoMode::kTouch) update.graphDue = false;
    update.logFailure = logs_.AddTouchInfo(touch_, hexDebug, now);
    noise_.Add(touch_);
    return update;
}

InfoUpdate DrawTestModel::OnStylusInfo(const DevReport& report, InfoMode mode, int stylusChannels,
                                       ClockTime now) {
    if (!IsStylusInfoReport(report)) return {};
    stylusRecord_ = DecodeStylusInfo(report);
    panel_ = Panel::kStylus;
    InfoUpdate update = CountInfoReport();
    if (mode == InfoMode::kStylus)
        stylus_.Add(stylusRecord_, ignoreErrors, stylusChannels);
    else
        update.graphDue = false;
    // Logged whether or not the sample went into the histories.
    update.logFailure = logs_.AddStylusInfo(stylusRecord_, hexDebug, now);
    return update;
}

bool DrawTestModel::OnPoints(const DevReport& report, const DrawArea& area, int64_t nowMs,
                             ClockTime now, DrawOps& ops) {
    if (!IsPointReport(report)) return false;
    const PointReport points = DecodePoints(report);
    for (int k = 0; k < points.count; ++k) {
        const PointRecord& r = points.points[static_cast<std::size_t>(k)];
        logs_.AddPoint(r, area.fullScreen, now);
        slots_.Draw(r, settings, area, nowMs, ops);
    }
    return true;
}

DrawOps DrawTestModel::InfoPanel() const {
    switch (panel_) {
        case Panel::kTouch:
            return TouchInfoPanel(touch_);
        case Panel::kStylus:
            return StylusInfoPanel(stylusRecord_, hexDebug);
        case Panel::kBlank:
            break;
    }
    return {};
}

DrawOps DrawTestModel::Graph(InfoMode mode, uint8_t currentFreqIndex, GraphSize size) {
    switch (mode) {
        case InfoMode::kTouch:
            return graphView == GraphView::kNoise ? NoiseGraph(noise_, currentFreqIndex, size)
                                                  : WaterGraph(noise_, size);
        case InfoMode::kStylus:
            return StylusGraph(stylus_, traces, size);
        case InfoMode::kNone:
            break;
    }
    return {};
}

void DrawTestModel::CleanInfo() {
    noise_.Clear();
    stylus_.Clear();
    infoReports_ = 0;
    panel_ = Panel::kBlank;
}

}  // namespace tuner
