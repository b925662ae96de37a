// Everything the draw-test page holds between reports, without a window: the last information
// records, the graph histories, the point slots, the touch-key strip and the logs. The page feeds
// it the reports in arrival order and paints what it answers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "model/DrawLogs.h"
#include "model/DrawOps.h"
#include "model/DrawReports.h"
#include "model/InfoGraph.h"
#include "model/InfoHistory.h"
#include "model/PointSlots.h"

namespace tuner {

enum class GraphView { kNoise, kWater };

struct InfoUpdate {
    bool graphDue = false;                  // the graph is redrawn every fifth information report
    std::optional<UserMessage> logFailure;  // a log that could not be written; logging has stopped
};

// The touch-key strip: which key is down, of how many.
struct KeyStrip {
    int keys = 0;
    int pressed = -1;  // -1 when none

    // False when the report is not for the strip (no keys, full-screen window open, a key index
    // out of range).
    bool Apply(const DevReport& report, int keyCount, bool fullScreenOpen);
    DrawOps Paint(int width, int height) const;
};

class DrawTestModel {
  public:
    explicit DrawTestModel(std::filesystem::path baseFolder, int64_t nowMs = 0);

    DrawSettings settings;
    bool hexDebug = false;
    bool ignoreErrors = true;
    StylusTraces traces;
    GraphView graphView = GraphView::kNoise;

    InfoUpdate OnTouchInfo(const DevReport& report, InfoMode mode, ClockTime now);
    InfoUpdate OnStylusInfo(const DevReport& report, InfoMode mode, int stylusChannels,
                            ClockTime now);
    // Draws the report's points (logging each first) into `ops`; false when the report is not a
    // point report.
    bool OnPoints(const DevReport& report, const DrawArea& area, int64_t nowMs, ClockTime now,
                  DrawOps& ops);

    // The information panel for the last record shown, blank after a clean.
    DrawOps InfoPanel() const;
    DrawOps Graph(InfoMode mode, uint8_t currentFreqIndex, GraphSize size);

    // The information CLEAN: histories, maxima and counters, and the panel blanked.
    void CleanInfo();
    void ResetSlots(int64_t nowMs) { slots_.Reset(nowMs); }

    const PointSlots& Slots() const { return slots_; }
    const NoiseHistory& Noise() const { return noise_; }
    const StylusHistories& Stylus() const { return stylus_; }
    DrawTestLogs& Logs() { return logs_; }
    int InfoReports() const { return infoReports_; }

  private:
    enum class Panel { kBlank, kTouch, kStylus };

    InfoUpdate CountInfoReport();

    TouchInfo touch_;
    StylusInfo stylusRecord_;
    Panel panel_ = Panel::kBlank;
    NoiseHistory noise_;
    StylusHistories stylus_;
    PointSlots slots_;
    DrawTestLogs logs_;
    int infoReports_ = 0;
};

}  // namespace tuner
