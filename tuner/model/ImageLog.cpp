#include "model/ImageLog.h"

#include <chrono>
#include <ctime>
#include <mutex>

namespace tuner::image {
namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[160];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace

LocalTime Now() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    static std::mutex mutex;  // the standard conversion shares one result between callers
    std::tm local{};
    {
        std::lock_guard lock(mutex);
        local = *std::localtime(&seconds);
    }
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
            local.tm_min,         local.tm_sec,     static_cast<int>(ms)};
}

std::string ImageLogFileName(const LocalTime& t) {
    return Format("IMAGE_LOG-%02d%02d_%02d%02d%02d.csv", t.month, t.day, t.hour, t.minute,
                  t.second);
}

std::string ImageLogHeader(const std::string& title, const std::string& model,
                           const std::string& version, const std::string& dataType,
                           bool testMode, TestKind kind) {
    std::string header = "Tool Version:," + title + "\r\nFW Model:," + model +
                         "\r\nFW Version:," + version + "\r\nData Type:," + dataType;
    if (testMode)
        header += kind == TestKind::kCounts    ? "-Counts"
                  : kind == TestKind::kMaximum ? "-Maximum"
                                               : "-Minimum";
    return header + "\r\n";
}

std::string ImageLogRecord(const LocalTime& t, const GridSnapshot& s) {
    std::string out = "\r\n\r\n";
    out += Format("Date:,%d-%02d-%02d\r\n", t.year, t.month, t.day);
    out += Format("Time:,%02d:%02d:%02d:%03d\r\n", t.hour, t.minute, t.second, t.millisecond);
    for (size_t i = 0; i < s.txRows.size(); ++i) {
        out += Format("Tx[ %d ],", static_cast<int>(i));
        for (int v : s.txRows[i]) out += Format("%d,", v);
        out += "\r\n";
    }
    out += ",";
    for (int r = 0; r < s.geometry.rx; ++r) out += Format("Rx[ %d ],", r);
    return out + "\r\n";
}

std::string StatisticsLine(const GridSnapshot& s) {
    const std::string type(s.type != nullptr ? s.type->text : std::string_view{});
    if (s.minimum == 0)
        return type + Format(": Min: %d, Max: %d, Ratio: DIV0, URecord: %d (%d%%)", s.minimum,
                             s.maximum, s.uniformityEntries, s.uniformityUse);
    return type + Format(": Min: %d, Max: %d, Ratio: %02.2f, URecord: %d (%d%%)", s.minimum,
                         s.maximum, static_cast<double>(s.maximum) / s.minimum,
                         s.uniformityEntries, s.uniformityUse);
}

ImageLog::~ImageLog() {
    Stop();
}

bool ImageLog::Start(const std::filesystem::path& base, const LocalTime& t,
                     const std::string& header) {
    Stop();
    std::error_code ec;
    const std::filesystem::path folder = base / kLogFolder;
    std::filesystem::create_directories(folder, ec);
    if (ec && !std::filesystem::is_directory(folder)) return false;
    path_ = folder / ImageLogFileName(t);
    file_ = std::fopen(path_.string().c_str(), "wb");
    return file_ != nullptr && Append(header);
}

bool ImageLog::Append(const std::string& text) {
    if (file_ == nullptr) return false;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() ||
        std::fflush(file_) != 0) {
        Stop();
        return false;
    }
    return true;
}

void ImageLog::Stop() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace tuner::image
