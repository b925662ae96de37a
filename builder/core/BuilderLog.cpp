#include "core/BuilderLog.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/BuilderOptions.h"
#include "core/ConsoleOut.h"
#include "core/LogRecord.h"
#include "platform/Console.h"
#include "platform/LocalTime.h"

namespace {

constexpr int kOpenAttempts = 3;

int64_t NowIn100ns() {
    using namespace std::chrono;
    return duration_cast<duration<int64_t, std::ratio<1, 10'000'000>>>(
               system_clock::now().time_since_epoch())
        .count();
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenWithAttempts(const std::string& path, const char* mode) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (std::FILE* f = std::fopen(path.c_str(), mode)) return FilePtr(f);
    }
    return nullptr;
}

// Writes everything and closes; false when any write or the close failed.
bool WriteAndClose(FilePtr file, const void* data, std::size_t size) {
    const bool written = std::fwrite(data, 1, size, file.get()) == size;
    return std::fclose(file.release()) == 0 && written;
}

// The plain form stores every line feed as carriage return and line feed.
std::string WithCrLf(const std::string& line) {
    std::string out;
    out.reserve(line.size() + 8);
    for (const char c : line) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Carriage returns, line feeds and tabs go from both ends; a text made only of them stays as it is.
std::string TrimLineEnds(const std::string& text) {
    const char* blanks = "\r\n\t";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return text;
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string FileStamp(int64_t time100ns) {
    const std::time_t seconds = static_cast<std::time_t>((time100ns + 5'000'000) / 10'000'000);
    const std::tm local = platform::LocalTime(seconds);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return stamp;
}

}  // namespace

CBuilderLog::CBuilderLog()
    : startTime_(NowIn100ns()),
      lastTime_(startTime_),
      startTick_(std::chrono::steady_clock::now()),
      random_(std::random_device{}()) {}

std::string CBuilderLog::Path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

bool CBuilderLog::Open(int kind, const std::string& baseName) {
    bool folderFailed = false;
    bool created = false;
    {
        std::lock_guard lock(mutex_);
        startTime_ = NowIn100ns();
        lastTime_ = startTime_;
        startTick_ = std::chrono::steady_clock::now();
        elapsed_ = 0.0;

        std::error_code ec;
        const std::filesystem::path folder = std::filesystem::current_path(ec) / "BuilderLog";
        if (!ec) std::filesystem::create_directories(folder, ec);
        if (ec) {
            folderFailed = true;
        } else {
            const bool csv = kind == 0;
            const bool plain = csv || FixedNameMode();
            path_ =
                (folder / (baseName + "-" + FileStamp(startTime_))).string() + (csv     ? ".csv"
                                                                                : plain ? ".log"
                                                                                        : ".en");
            // The form follows the file: a CSV or plain file opened after a scrambled one stays
            // readable.
            scrambled_ = !plain;
            if (FilePtr file = OpenWithAttempts(path_, "wb")) {
                created = std::fclose(file.release()) == 0;
            }
        }
    }
    // Outside the lock: this instance may be the main log itself.
    if (folderFailed) MainLog().Print(kColourError, kRouteBoth, "Creat log folder Fail!\n");
    return created;
}

bool CBuilderLog::Print(int colour, int route, const std::string& text) {
    std::lock_guard lock(mutex_);
    if (text.empty()) return false;

    bool toConsole = (route & kRouteConsole) != 0;
    bool toFile = (route & kRouteFile) != 0;
    bool dot = false;
    if ((route & kRouteDetail) != 0) {
        if (FixedNameMode()) {
            toConsole = toFile = true;
        } else {
            dot = true;
            toConsole = false;
            toFile = true;
        }
    }
    if (dot) ConsoleWrite(".", kColourNormal);
    if (toConsole) ConsoleWrite(text, colour);
    if (toFile) AppendLineLocked(StampedLine(text));
    return true;
}

bool CBuilderLog::Printf(int colour, int route, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (size > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<std::size_t>(size));
    }
    va_end(again);
    return Print(colour, route, text);
}

bool CBuilderLog::AppendLine(const std::string& line) {
    std::lock_guard lock(mutex_);
    return AppendLineLocked(line);
}

std::string CBuilderLog::StampedLine(const std::string& text) {
    lastTime_ = NowIn100ns();
    elapsed_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - startTick_).count();
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "[%8.3f] ", elapsed_);
    return stamp + TrimLineEnds(text) + "\n";
}

bool CBuilderLog::AppendLineLocked(const std::string& line) {
    if (line.empty()) return false;
    FilePtr file = OpenWithAttempts(path_, "ab");
    if (!file) return false;
    if (!scrambled_) {
        const std::string plain = WithCrLf(line);
        return WriteAndClose(std::move(file), plain.data(), plain.size());
    }
    const std::vector<uint8_t> records = EncodeLogRecords(line, random_() % kLogKeyRows);
    return WriteAndClose(std::move(file), records.data(), records.size());
}

void CBuilderLog::UseOptions(const BuilderOptions* options) {
    std::lock_guard lock(mutex_);
    options_ = options;
}

bool CBuilderLog::FixedNameMode() const {
    return options_ != nullptr && options_->fixed.fixedName;
}

CBuilderLog& MainLog() {
    static CBuilderLog log;
    return log;
}

CBuilderLog& TestLog() {
    static CBuilderLog log;
    return log;
}
