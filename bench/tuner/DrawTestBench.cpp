// What the draw-test page spends on the controller's reports and on its canvas, as shares of the
// time it has for them: a report every millisecond (a fast controller), a repaint every 16.7 ms
// (a 60 Hz screen). Each counter "share" is the measured time divided by that budget: the model
// should stay under 1 % of a report interval.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "model/DrawTestModel.h"
#include "model/TestPattern.h"
#include "pages/DrawSurface.h"

namespace {

constexpr double kReportIntervalSeconds = 0.001;
constexpr double kFrameSeconds = 1.0 / 60.0;

DevReport PointReport(int step) {
    DevReport r{};
    r.bytes[1] = 53;
    r.bytes[2] = 0x36;
    r.bytes[3] = 0x13;
    for (int k = 0; k < 2; ++k) {  // two fingers moving
        uint8_t* p = r.bytes + 4 + 10 * k;
        const int x = 300 + (step * 3 + 500 * k) % 3400, y = 300 + (step * 5) % 3400;
        p[0] = 0x01;
        p[1] = static_cast<uint8_t>(k);
        p[2] = static_cast<uint8_t>(x), p[3] = static_cast<uint8_t>(x >> 8);
        p[4] = static_cast<uint8_t>(y), p[5] = static_cast<uint8_t>(y >> 8);
        p[6] = 0x58, p[7] = 0x02;
    }
    r.bytes[54] = 2;
    return r;
}

DevReport TouchInfoReport(int step) {
    DevReport r{};
    r.bytes[1] = 62;
    r.bytes[2] = 0x3F;
    r.bytes[3] = 0x68;
    r.bytes[4 + 15] = static_cast<uint8_t>(10 + step % 20);
    return r;
}

void SetShare(benchmark::State& state, std::chrono::steady_clock::duration spent, double budget) {
    const double perItem = std::chrono::duration<double>(spent).count() /
                           static_cast<double>(std::max<int64_t>(1, state.iterations()));
    state.counters["share"] = perItem / budget;
}

// Baseline in the same run: copying a report, the least any handling of it costs.
void BM_CopyReport(benchmark::State& state) {
    DevReport report = PointReport(1), copy{};
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        copy = report;
        benchmark::DoNotOptimize(copy);
        ++report.bytes[10];
    }
    SetShare(state, std::chrono::steady_clock::now() - start, kReportIntervalSeconds);
}
BENCHMARK(BM_CopyReport);

// One point report through the model: decode, count, slot state machine and the draw records;
// every tenth report also a touch information record with its history.
void BM_ModelPerReport(benchmark::State& state) {
    tuner::DrawTestModel model{"/nonexistent"};
    tuner::DrawArea area;
    area.width = 1600;
    area.height = 900;
    tuner::DrawOps ops;
    ops.reserve(16);
    int step = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        ops.clear();
        model.OnPoints(PointReport(step), area, step, {}, ops);
        if (step % 10 == 0) model.OnTouchInfo(TouchInfoReport(step), tuner::InfoMode::kTouch, {});
        benchmark::DoNotOptimize(ops.data());
        ++step;
    }
    SetShare(state, std::chrono::steady_clock::now() - start, kReportIntervalSeconds);
}
BENCHMARK(BM_ModelPerReport);

// One full repaint of a 1600 x 900 canvas: the picture made anew (background and test pattern,
// as CLEAN does) and put on the screen's buffer.
void BM_FullCanvasRepaint(benchmark::State& state) {
    DrawSurface surface(nullptr);
    surface.resize(1600, 900);
    QImage screen(1600, 900, QImage::Format_RGB32);
    const tuner::PatternGeometry g{1600, 900, 3820, 2150, 30};
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        surface.Fill(tuner::BackgroundColour(tuner::Background::kWhite));
        surface.Draw(tuner::TestPattern(g, {{160, 160, 160}, 1}));
        QPainter painter(&screen);
        painter.drawImage(0, 0, surface.Picture());
    }
    SetShare(state, std::chrono::steady_clock::now() - start, kFrameSeconds);
}
BENCHMARK(BM_FullCanvasRepaint);

// The noise graph of a full history, built and drawn: what a graph repaint costs.
void BM_NoiseGraphRepaint(benchmark::State& state) {
    tuner::DrawTestModel model{"/nonexistent"};
    for (int i = 0; i < tuner::kHistoryLength; ++i)
        model.OnTouchInfo(TouchInfoReport(i), tuner::InfoMode::kTouch, {});
    DrawSurface surface(nullptr);
    surface.resize(1600, 170);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        surface.Fill(tuner::kBlack);
        surface.Draw(model.Graph(tuner::InfoMode::kTouch, 0, {1600, 170}));
    }
    SetShare(state, std::chrono::steady_clock::now() - start, kFrameSeconds);
}
BENCHMARK(BM_NoiseGraphRepaint);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
