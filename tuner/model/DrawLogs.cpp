#include "model/DrawLogs.h"

#include <ctime>
#include <fstream>

#include "model/DrawOps.h"
#include "model/DrawTestMessages.h"
#include "platform/LocalTime.h"

namespace tuner {
namespace {

std::string Stamp(ClockTime t, const char* separator = ", ") {
    return Format("%02d:%02d:%02d%s", t.hour, t.minute, t.second, separator);
}

std::string FileStamp(ClockTime t) {
    return Format("%02d%02d%02d", t.hour, t.minute, t.second);
}

std::string Columns(std::initializer_list<const char*> names) {
    std::string text;
    for (const char* name : names) (text += name) += ", ";
    return text + "\r\n";
}

std::string DebugColumns(const char* prefix) {
    std::string text;
    for (int i = 1; i <= 8; ++i) text += Format("%sDbg%d, ", prefix, i);
    return text;
}

// The 8-bit values of the touch record are logged as signed numbers.
int S8(uint8_t v) {
    return static_cast<int8_t>(v);
}

}  // namespace

ClockTime LocalClockTime() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = platform::LocalTime(now);
    return {local.tm_hour, local.tm_min, local.tm_sec};
}

std::string PointLogHeader(bool stylusMode) {
    return stylusMode ? "Time, ID, State, X, Y, Z, TiltX, TiltY\r\n"
                      : "Time, ID, State, X, Y, Z, Size\r\n";
}

std::string PointLogRow(const PointRecord& r, bool stylusMode, ClockTime t, bool fullScreen) {
    std::string row = Stamp(t, fullScreen ? "," : ", ");
    if (stylusMode)
        row += Format("%d, %d, %d, %d, %d, %d, %d\r\n", r.id, r.status & 0x3F, r.x, r.y, r.z,
                      r.byte8, r.byte9);
    else
        row += Format("%d, %d, %d, %d, %d, %d\r\n", r.id, r.status & 0x01, r.x, r.y, r.z, r.byte8);
    return row;
}

std::string TouchInfoLogHeader(ClockTime t) {
    std::string head =
        Stamp(t) + Columns({"FreqIndex", "StrayConfidence", "NumsOfTouches", "NoiseCondition",
                            "MaxNoiseValue", "MaxNoiseRxCh", "IsWaterExist", "WaterQuanty",
                            "IsPalm", "Is_Idle", "CMax", "CMin"});
    head.resize(head.size() - 2);  // the debug columns follow before the line end
    return head + DebugColumns("") + "\r\n";
}

std::string TouchInfoLogRow(const TouchInfo& i, bool hexDebug, ClockTime t) {
    std::string row = Stamp(t);
    for (int v : {S8(i.freqIndex), S8(i.strayConfidence), S8(i.touches), S8(i.noiseCondition),
                  int{i.maxNoise}, S8(i.maxNoiseRx), S8(i.water), int{i.waterQuantity}, S8(i.palm),
                  S8(i.idle), int{i.cMax}, int{i.cMin}})
        row += Format("%d, ", v);
    for (int16_t d : i.debug)
        row += hexDebug ? Format("0x%04X, ", static_cast<uint16_t>(d)) : Format("%04d, ", d);
    return row + "\r\n";
}

std::string StylusInfoLogHeader(ClockTime t) {
    std::string head = Stamp(t) + Columns({"ScanState",
                                           "ErrorState",
                                           "RawZ1",
                                           "RawZ2",
                                           "Z1",
                                           "Z2",
                                           "MaxSigValue",
                                           "SecSigValue",
                                           "MaxButtonValue",
                                           "SecButtonValue",
                                           "APenState",
                                           "ButtonState",
                                           "ButtonStateIndex",
                                           "MaxSigIndex",
                                           "SecSigIndex",
                                           "MaxNonZeroNum",
                                           "NonZeroStartIndex",
                                           "Z1Comp",
                                           "Speed",
                                           "NoiseCnt",
                                           "FreqScanIndex",
                                           "NoiseCondition",
                                           "MaxNoiseIndex",
                                           "MaxNoiseValue",
                                           "NoiseDetectCnt",
                                           "XTilt",
                                           "YTilt"});
    head.resize(head.size() - 2);
    return head + DebugColumns("g_") + "\r\n";
}

std::string StylusInfoLogRow(const StylusInfo& s, bool hexDebug, ClockTime t) {
    std::string row = Stamp(t) + ScanStateName(s.scanState);
    row += Format("0x%04X, ", s.errorState);
    for (int v : {s.rawZ1, s.rawZ2, s.z1, s.z2, s.maxSig}) row += Format("%d, ", v);
    row += Format("%d,", s.secSig);
    row += Format("%d, %d, ", s.maxButton, s.secButton);
    row += Format("0x%04X, ", s.aPenState);
    row += ButtonStateLogName(s.buttonState);
    row += Format("0x%02X, ", s.buttonStateIndex);
    for (int v :
         {int{s.maxSigIndex}, int{s.secSigIndex}, int{s.maxNonZeroNum}, int{s.nonZeroStartIndex},
          int{s.z1Comp}, int{s.speed}, int{s.noiseCount}, int{s.freqScanIndex}})
        row += Format("%d, ", v);
    row += s.noiseCondition != 0 ? "True, " : "False, ";
    for (int v : {int{s.maxNoiseIndex}, int{s.maxNoise}, int{s.noiseDetectCount}, int{s.xTilt},
                  int{s.yTilt}})
        row += Format("%d, ", v);
    for (uint16_t d : s.debug) row += hexDebug ? Format("0x%04X, ", d) : Format("%d, ", d);
    return row + "\r\n";
}

bool AppendToFile(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) return false;
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return !out.fail();
}

DrawTestLogs::DrawTestLogs(std::filesystem::path baseFolder) : baseFolder_(std::move(baseFolder)) {}

void DrawTestLogs::Start(bool stylusMode, InfoMode info, ClockTime now) {
    logging_ = true;
    stylusMode_ = stylusMode;
    info_ = info;
    points_ = fullScreenPoints_ = PointLogHeader(stylusMode);
    infoRows_ = 0;
    infoText_.clear();
    if (info == InfoMode::kTouch) infoText_ = TouchInfoLogHeader(now);
    if (info == InfoMode::kStylus) infoText_ = StylusInfoLogHeader(now);
}

void DrawTestLogs::AddPoint(const PointRecord& r, bool fullScreen, ClockTime now) {
    if (!logging_) return;
    (fullScreen ? fullScreenPoints_ : points_) += PointLogRow(r, stylusMode_, now, fullScreen);
}

std::optional<UserMessage> DrawTestLogs::AddTouchInfo(const TouchInfo& info, bool hexDebug,
                                                      ClockTime now) {
    if (!logging_ || info_ != InfoMode::kTouch) return std::nullopt;
    infoText_ += TouchInfoLogRow(info, hexDebug, now);
    return CountInfoRow(now);
}

std::optional<UserMessage> DrawTestLogs::AddStylusInfo(const StylusInfo& info, bool hexDebug,
                                                       ClockTime now) {
    if (!logging_ || info_ != InfoMode::kStylus) return std::nullopt;
    infoText_ += StylusInfoLogRow(info, hexDebug, now);
    return CountInfoRow(now);
}

std::optional<UserMessage> DrawTestLogs::CountInfoRow(ClockTime now) {
    if (++infoRows_ < kInfoRowsPerFlush) return std::nullopt;
    const bool touch = info_ == InfoMode::kTouch;
    const std::string name = (touch ? "INFO_LOG-" : "PENINFO_LOG-") + FileStamp(now) + ".csv";
    if (!AppendToFile(Folder() / name, infoText_)) {
        logging_ = false;
        return touch ? kLogOpenFailMessage : kPenLogOpenFailMessage;
    }
    infoText_ = touch ? TouchInfoLogHeader(now) : StylusInfoLogHeader(now);
    infoRows_ = 0;
    return std::nullopt;
}

std::vector<UserMessage> DrawTestLogs::Stop(ClockTime now) {
    std::vector<UserMessage> failures;
    if (!logging_) return failures;
    logging_ = false;
    const std::string stamp = FileStamp(now);
    auto write = [&](const std::string& name, std::string& text, const UserMessage& onFailure) {
        if (!AppendToFile(Folder() / name, text)) failures.push_back(onFailure);
        text.clear();
    };
    points_ += "\r\n\r\n";
    write("POINT_LOG-" + stamp + ".csv", points_, kLogOpenFailMessage);
    write("POINT_LOG_FULLSCREEN-" + stamp + ".csv", fullScreenPoints_,
          kFullScreenLogOpenFailMessage);
    if (info_ == InfoMode::kTouch)
        write("FWINFO_LOG-" + stamp + ".csv", infoText_, kLogOpenFailMessage);
    if (info_ == InfoMode::kStylus)
        write("PENINFO_LOG-" + stamp + ".csv", infoText_, kPenInfoLogOpenFailMessage);
    return failures;
}

}  // namespace tuner
