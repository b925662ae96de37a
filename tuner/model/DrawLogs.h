// The draw-test page's CSV logs: point rows of the canvas and of the full-screen window, and rows
// of the touch or stylus information records, kept in memory between START LOG and STOP LOG and
// written to files named by the time of day.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/DrawReports.h"
#include "model/Messages.h"

namespace tuner {

struct ClockTime {
    int hour = 0, minute = 0, second = 0;
};
ClockTime LocalClockTime();

enum class InfoMode : uint8_t { kNone = 0, kTouch = 1, kStylus = 2 };

inline constexpr int kInfoRowsPerFlush = 5000;
inline constexpr const char* kLogFolderName = "TovrexTuner_Logs";

std::string PointLogHeader(bool stylusMode);
std::string PointLogRow(const PointRecord& r, bool stylusMode, ClockTime t, bool fullScreen);
std::string TouchInfoLogHeader(ClockTime t);
std::string TouchInfoLogRow(const TouchInfo& info, bool hexDebug, ClockTime t);
std::string StylusInfoLogHeader(ClockTime t);
std::string StylusInfoLogRow(const StylusInfo& info, bool hexDebug, ClockTime t);

// Appends the text to the file, creating its folder; false when any step fails.
bool AppendToFile(const std::filesystem::path& path, const std::string& text);

class DrawTestLogs {
  public:
    // The files go to the log folder below this one.
    explicit DrawTestLogs(std::filesystem::path baseFolder);

    bool Logging() const { return logging_; }
    std::filesystem::path Folder() const { return baseFolder_ / kLogFolderName; }

    void Start(bool stylusMode, InfoMode info, ClockTime now);
    void AddPoint(const PointRecord& r, bool fullScreen, ClockTime now);
    // A full buffer is written out; a file that cannot be written ends logging and answers the
    // message to show.
    std::optional<UserMessage> AddTouchInfo(const TouchInfo& info, bool hexDebug, ClockTime now);
    std::optional<UserMessage> AddStylusInfo(const StylusInfo& info, bool hexDebug, ClockTime now);
    // Writes every buffer to its own file; a file that cannot be written is skipped with its
    // message and the others are still written.
    std::vector<UserMessage> Stop(ClockTime now);

    int InfoRows() const { return infoRows_; }

  private:
    std::optional<UserMessage> CountInfoRow(ClockTime now);

    std::filesystem::path baseFolder_;
    bool logging_ = false;
    bool stylusMode_ = false;
    InfoMode info_ = InfoMode::kNone;
    std::string points_;
    std::string fullScreenPoints_;
    std::string infoText_;
    int infoRows_ = 0;
};

}  // namespace tuner
