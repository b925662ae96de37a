// The builder's logger: every message goes through one of two process-wide instances, which colour
// the console, print the text and append a time-stamped line to a dated file in "BuilderLog".
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>

struct BuilderOptions;

// Console colours of a message.
enum LogColour : int {
    kColourNormal = 7,
    kColourInfo = 9,
    kColourSuccess = 10,
    kColourError = 12,
    kColourPrompt = 14,
};

// Route flags of a message.
enum LogRoute : int {
    kRouteConsole = 1,
    kRouteFile = 2,
    kRouteBoth = 3,
    kRouteDetail = 4,  // the full text goes to the file; the console shows one "."
};

class CBuilderLog {
  public:
    // kind 1: a log file (".en" scrambled, or ".log" in fixed-name mode); kind 0: a CSV file.
    bool Open(int kind, const std::string& baseName);
    // Returns true when the text was not empty. The text is written as it stands (never a format).
    bool Print(int colour, int route, const std::string& text);
    // Formats once with a literal format, then prints the result.
    [[gnu::format(printf, 4, 5)]] bool Printf(int colour, int route, const char* format, ...);
    // Appends one line unchanged (no time stamp); true when written.
    bool AppendLine(const std::string& line);

    CBuilderLog();
    CBuilderLog(const CBuilderLog&) = delete;
    CBuilderLog& operator=(const CBuilderLog&) = delete;

    // The settings the log follows: in fixed-name mode its files are plain (".log") and detail
    // messages show in full on the console. Without settings (nullptr) it is not in that mode.
    void UseOptions(const BuilderOptions* options);

    // The full name of the current file.
    std::string Path() const;

  private:
    bool AppendLineLocked(const std::string& line);
    std::string StampedLine(const std::string& text);
    bool FixedNameMode() const;

    // One Print at a time per instance: the disconnect notice prints from the device library's
    // thread while the main thread prints, and both touch the time fields and the file.
    mutable std::mutex mutex_;
    std::string path_ = "TovrexBuilder4.log";
    bool scrambled_ = false;
    int64_t startTime_ = 0;  // 100-nanosecond units since 1970-01-01 UTC
    int64_t lastTime_ = 0;
    double elapsed_ = 0.0;  // seconds from the start time to the last line
    // Elapsed seconds are measured on the monotonic clock, so that a wall-clock change never
    // shows a negative or jumping stamp.
    std::chrono::steady_clock::time_point startTick_;
    std::minstd_rand random_;
    const BuilderOptions* options_ = nullptr;
};

CBuilderLog& MainLog();  // opened at start-up under "TovrexBuilder4"
CBuilderLog& TestLog();  // opened by a command under the name of its work
