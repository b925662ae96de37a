// The image log: a CSV file of the shown frame's Tx rows at a fixed interval, and the page's
// statistics line.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "model/ImageProcessor.h"

namespace tuner::image {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};
LocalTime Now();

inline constexpr const char* kLogFolder = "TovrexTuner_Logs";

// "IMAGE_LOG-MMDD_hhmmss.csv"
std::string ImageLogFileName(const LocalTime& t);
// The header: tool title, model, firmware version and data type (with the test kind in test mode).
std::string ImageLogHeader(const std::string& title, const std::string& model,
                           const std::string& version, const std::string& dataType,
                           bool testMode, TestKind kind);
// One record: date, time, each Tx row's values, and the Rx axis line.
std::string ImageLogRecord(const LocalTime& t, const GridSnapshot& s);

// "<type>: Min: .., Max: .., Ratio: .., URecord: .. (..%)"
std::string StatisticsLine(const GridSnapshot& s);

// An open image log. Every write is checked; a failed write closes the log.
class ImageLog {
  public:
    ImageLog() = default;
    ~ImageLog();
    ImageLog(const ImageLog&) = delete;
    ImageLog& operator=(const ImageLog&) = delete;

    // Creates the folder below `base` when missing and the file, empty, with the header.
    bool Start(const std::filesystem::path& base, const LocalTime& t, const std::string& header);
    bool Append(const std::string& text);
    void Stop();
    bool Running() const { return file_ != nullptr; }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
};

}  // namespace tuner::image
