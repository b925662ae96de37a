// The draw-test page's views: the information panel, the graph and the point panel repainted at
// most once per frame, the canvas areas and the canvas CLEAN.
#include "model/TestPattern.h"
#include "pages/CDrawTestPage.h"
#include "pages/FullScreenWindow.h"

// ---- Views --------------------------------------------------------------------------------------

void CDrawTestPage::ScheduleViews() {
    if (!viewTimer_.isActive()) viewTimer_.start(DrawSurface::kFrameMs);
}

void CDrawTestPage::RefreshViews() {
    if (infoPanelDirty_) {
        infoPanelDirty_ = false;
        c_.infoPanel->Fill(tuner::kWhite);
        c_.infoPanel->Draw(model_.InfoPanel());
    }
    if (graphDirty_) {
        graphDirty_ = false;
        c_.graph->Fill(tuner::kBlack);
        const tuner::GraphSize size{c_.graph->width(), c_.graph->height()};
        c_.graph->Draw(
            model_.Graph(device_.Info(), static_cast<uint8_t>(device_.Frequency().index), size));
    }
    if (fullScreen_) {
        QStringList lines;
        if (device_.Info() == tuner::InfoMode::kStylus) {
            const tuner::StylusRanges& cur = model_.Stylus().current;
            const tuner::StylusRanges& tot = model_.Stylus().total;
            auto range = [](const char* what, const tuner::Range& r) {
                return QString::fromStdString(tuner::Format("%s:( %d, %d ) ", what, r.min, r.max));
            };
            lines << range("Rx Current Range", cur.rx) << range("Rx Total Range", tot.rx)
                  << range("Tx Current Range", cur.tx) << range("Tx Total Range", tot.tx)
                  << range("Z1 Current Range", cur.z1) << range("Z1 Total Range", tot.z1);
        }
        fullScreen_->SetOverlay(lines);
    }
}

void CDrawTestPage::RefreshPointPanel() {
    c_.pointPanel->Fill(tuner::kWhite);
    tuner::DrawOps ops;
    const auto lines =
        tuner::PointPanelLines(model_.Slots(), model_.settings.penMode, c_.pointPanel->height());
    for (std::size_t id = 0; id < lines.size(); ++id)
        if (!lines[id].empty())
            ops.push_back(tuner::DrawOp::Text(2, static_cast<int>(id) * tuner::kPointPanelLinePitch,
                                              lines[id], tuner::kBlack));
    c_.pointPanel->Draw(ops);
}

tuner::Colour CDrawTestPage::Background() const {
    if (c_.blue->isChecked()) return tuner::BackgroundColour(tuner::Background::kBlue);
    if (c_.black->isChecked()) return tuner::BackgroundColour(tuner::Background::kBlack);
    return tuner::BackgroundColour(tuner::Background::kWhite);
}

tuner::DrawArea CDrawTestPage::CanvasArea() const {
    const tuner::CoordinateMaxima& m = maxima_;
    tuner::DrawArea area;
    area.width = c_.canvas->width();
    area.height = c_.canvas->height();
    area.touchMaxX = m.touchX;
    area.touchMaxY = m.touchY;
    area.stylusMaxX = m.stylusX;
    area.stylusMaxY = m.stylusY;
    return area;
}

tuner::DrawArea CDrawTestPage::FullScreenArea() const {
    tuner::DrawArea area = CanvasArea();
    area.width = fullScreen_->width();
    area.height = fullScreen_->height();
    area.fullScreen = true;
    return area;
}

void CDrawTestPage::CleanCanvas() {
    ReadDrawSettings();
    model_.ResetSlots(clock_.elapsed());
    c_.canvas->Fill(Background());
    const tuner::PatternGeometry g{c_.canvas->width(), c_.canvas->height(), c_.sensorX->value(),
                                   c_.sensorY->value(), c_.distance->value()};
    c_.canvas->Draw(tuner::TestPattern(g, kPatternPen));
    c_.pointPanel->Fill(tuner::kWhite);
    c_.infoPanel->Fill(tuner::kWhite);
    c_.graph->Fill(tuner::kBlack);
}
