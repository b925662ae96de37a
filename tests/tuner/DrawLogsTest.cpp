// The draw-test page's CSV logs: each kind of row, the flush of a full information buffer, and
// the files written at STOP LOG, including one that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScratchFolder.h"
#include "model/DrawLogs.h"
#include "model/DrawTestMessages.h"
#include "model/DrawTestModel.h"

namespace tuner {
namespace {

namespace fs = std::filesystem;

constexpr ClockTime kTime{9, 5, 7};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

using testsupport::ScratchFolder;

TEST(DrawLogsTest, PointRows) {
    PointRecord r;
    r.status = 0x3F | 0xC0;
    r.id = 4;
    r.x = 1000;
    r.y = 2000;
    r.z = -3;
    r.byte8 = 15;
    r.byte9 = 250;
    EXPECT_EQ(PointLogRow(r, false, kTime, false), "09:05:07, 4, 1, 1000, 2000, -3, 15\r\n");
    EXPECT_EQ(PointLogRow(r, true, kTime, false), "09:05:07, 4, 63, 1000, 2000, -3, 15, 250\r\n");
    EXPECT_EQ(PointLogRow(r, false, kTime, true), "09:05:07,4, 1, 1000, 2000, -3, 15\r\n");
    EXPECT_EQ(PointLogHeader(true), "Time, ID, State, X, Y, Z, TiltX, TiltY\r\n");
    EXPECT_EQ(PointLogHeader(false), "Time, ID, State, X, Y, Z, Size\r\n");
}

TEST(DrawLogsTest, TouchInformationRowAndHeader) {
    TouchInfo t;
    t.freqIndex = 2;
    t.strayConfidence = 0xFF;  // 8-bit values are logged signed
    t.touches = 1;
    t.maxNoise = -40;
    t.maxNoiseRx = 200;
    t.water = 1;
    t.waterQuantity = 300;
    t.cMax = 12;
    t.cMin = -7;
    t.debug = {1, -2, 3, 4, 5, 6, 7, 0x1234};
    EXPECT_EQ(TouchInfoLogRow(t, false, kTime),
              "09:05:07, 2, -1, 1, 0, -40, -56, 1, 300, 0, 0, 12, -7, "
              "0001, -002, 0003, 0004, 0005, 0006, 0007, 4660, \r\n");
    EXPECT_EQ(TouchInfoLogRow(t, true, kTime).substr(55),
              "0x0001, 0xFFFE, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x1234, \r\n");
    EXPECT_EQ(TouchInfoLogHeader(kTime),
              "09:05:07, FreqIndex, StrayConfidence, NumsOfTouches, NoiseCondition, "
              "MaxNoiseValue, MaxNoiseRxCh, IsWaterExist, WaterQuanty, IsPalm, Is_Idle, CMax, "
              "CMin, Dbg1, Dbg2, Dbg3, Dbg4, Dbg5, Dbg6, Dbg7, Dbg8, \r\n");
}

TEST(DrawLogsTest, StylusInformationRowAndHeader) {
    StylusInfo s;
    s.scanState = 4;
    s.errorState = 0x12;
    s.rawZ1 = 1, s.rawZ2 = 2, s.z1 = 3, s.z2 = 4, s.maxSig = 5, s.secSig = 6;
    s.maxButton = 7, s.secButton = 8, s.aPenState = 0xAB;
    s.buttonState = 2, s.buttonStateIndex = 0x0C;
    s.maxSigIndex = 9, s.secSigIndex = 10, s.maxNonZeroNum = 11, s.nonZeroStartIndex = 12;
    s.z1Comp = 13, s.speed = 14, s.noiseCount = 15, s.freqScanIndex = 1, s.noiseCondition = 0;
    s.maxNoiseIndex = 16, s.maxNoise = 17, s.noiseDetectCount = 18, s.xTilt = -19, s.yTilt = 20;
    s.debug = {21, 22, 23, 24, 25, 26, 27, 0xFFFF};
    EXPECT_EQ(StylusInfoLogRow(s, false, kTime),
              "09:05:07, DET_RX,   0x0012, 1, 2, 3, 4, 5, 6,7, 8, 0x00AB, Barrel, 0x0C, 9, 10, "
              "11, 12, 13, 14, 15, 1, False, 16, 17, 18, -19, 20, "
              "21, 22, 23, 24, 25, 26, 27, 65535, \r\n");
    // The column count stays the same for a button state the firmware does not send.
    s.buttonState = 9;
    EXPECT_NE(StylusInfoLogRow(s, false, kTime).find(", Unknown(9), 0x0C, "), std::string::npos);

    const std::string header = StylusInfoLogHeader(kTime);
    EXPECT_EQ(header.rfind("09:05:07, ScanState, ErrorState, RawZ1, ", 0), 0u);
    EXPECT_NE(header.find("YTilt, g_Dbg1, g_Dbg2, "), std::string::npos);
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), 36);  // time and 35 columns
}

TouchInfo NumberedRow(int n) {
    TouchInfo t;
    t.cMax = static_cast<int16_t>(n);
    return t;
}

TEST(DrawLogsTest, FullInformationBufferIsFlushedAndStopWritesTheRest) {
    ScratchFolder folder{"tuner-logs"};
    DrawTestLogs logs(folder.Path());
    logs.Start(false, InfoMode::kTouch, {10, 0, 0});
    for (int n = 1; n <= kInfoRowsPerFlush + 3; ++n)
        EXPECT_FALSE(logs.AddTouchInfo(NumberedRow(n), false, {10, 0, n < 5000 ? 1 : 2}));
    const fs::path logFolder = folder.Path() / "TovrexTuner_Logs";
    const std::string flushed = ReadFile(logFolder / "INFO_LOG-100002.csv");
    EXPECT_EQ(std::count(flushed.begin(), flushed.end(), '\n'), 1 + kInfoRowsPerFlush);
    EXPECT_NE(flushed.find(", 5000, 0, 0000,"), std::string::npos);

    PointRecord p;
    p.status = 1;
    logs.AddPoint(p, false, {10, 0, 3});
    EXPECT_TRUE(logs.Stop({10, 1, 0}).empty());
    EXPECT_FALSE(logs.Logging());
    const std::string rest = ReadFile(logFolder / "FWINFO_LOG-100100.csv");
    // The header again (stamped at the flush), then only the rows after it.
    EXPECT_EQ(rest.rfind("10:00:02, FreqIndex, ", 0), 0u);
    EXPECT_EQ(std::count(rest.begin(), rest.end(), '\n'), 1 + 3);
    EXPECT_NE(rest.find(", 5003, 0, 0000,"), std::string::npos);
    EXPECT_EQ(rest.find(", 5000, 0, 0000,"), std::string::npos);
    EXPECT_EQ(ReadFile(logFolder / "POINT_LOG-100100.csv"),
              "Time, ID, State, X, Y, Z, Size\r\n10:00:03, 0, 1, 0, 0, 0, 0\r\n\r\n\r\n");
    EXPECT_EQ(ReadFile(logFolder / "POINT_LOG_FULLSCREEN-100100.csv"),
              "Time, ID, State, X, Y, Z, Size\r\n");
}

TEST(DrawLogsTest, AFileThatCannotBeWrittenIsSkippedAndTheOthersAreWritten) {
    ScratchFolder folder{"tuner-logs"};
    const fs::path logFolder = folder.Path() / "TovrexTuner_Logs";
    // A folder where the point log would go makes that one file impossible to write.
    fs::create_directories(logFolder / "POINT_LOG-110000.csv");
    DrawTestLogs logs(folder.Path());
    logs.Start(true, InfoMode::kStylus, {11, 0, 0});
    StylusInfo s;
    s.scanState = 4;
    logs.AddStylusInfo(s, false, {11, 0, 0});
    const std::vector<UserMessage> failures = logs.Stop({11, 0, 0});
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].text, kLogOpenFailMessage.text);
    EXPECT_TRUE(fs::is_regular_file(logFolder / "POINT_LOG_FULLSCREEN-110000.csv"));
    const std::string info = ReadFile(logFolder / "PENINFO_LOG-110000.csv");
    EXPECT_EQ(std::count(info.begin(), info.end(), '\n'), 2);
}

TEST(DrawLogsTest, StylusSampleOutsideTheFilterIsLoggedButNotKeptAndHighIdsAreLoggedOnly) {
    ScratchFolder folder{"tuner-logs"};
    DrawTestModel model(folder.Path());
    model.Logs().Start(false, InfoMode::kStylus, {13, 0, 0});

    DevReport info{};
    info.bytes[1] = 62;
    info.bytes[2] = 0x3F;
    info.bytes[3] = 0x70;
    info.bytes[4 + 0] = 4;    // an Rx scan
    info.bytes[4 + 11] = 99;  // its signal
    info.bytes[4 + 21] = 1;   // normal button state
    info.bytes[4 + 26] = 1;   // first non-zero channel 1: not a good sample
    model.OnStylusInfo(info, InfoMode::kStylus, 40, {13, 0, 0});
    model.Graph(InfoMode::kStylus, 0, {400, 100});
    EXPECT_EQ(model.Stylus().current.rx, Range{});

    DevReport points{};
    points.bytes[2] = 0x36;
    points.bytes[3] = 0x13;
    points.bytes[4] = 1;
    points.bytes[5] = 61;  // an ID the page has no slot for
    points.bytes[54] = 1;
    DrawOps ops;
    DrawArea area;
    area.width = area.height = 100;
    model.OnPoints(points, area, 0, {13, 0, 0}, ops);
    EXPECT_TRUE(ops.empty());

    EXPECT_TRUE(model.Logs().Stop({13, 0, 1}).empty());
    const fs::path logFolder = folder.Path() / "TovrexTuner_Logs";
    const std::string info_log = ReadFile(logFolder / "PENINFO_LOG-130001.csv");
    EXPECT_NE(info_log.find("13:00:00, DET_RX,   0x0000, 0, 0, 0, 0, 99, "), std::string::npos);
    EXPECT_NE(ReadFile(logFolder / "POINT_LOG-130001.csv").find("13:00:00, 61, 1, 0, 0, 0, 0\r\n"),
              std::string::npos);
}

TEST(DrawLogsTest, FailedFlushEndsLogging) {
    ScratchFolder folder{"tuner-logs"};
    fs::create_directories(folder.Path() / "TovrexTuner_Logs" / "PENINFO_LOG-120000.csv");
    DrawTestLogs logs(folder.Path());
    logs.Start(false, InfoMode::kStylus, {12, 0, 0});
    std::optional<UserMessage> failure;
    for (int n = 0; n < kInfoRowsPerFlush && !failure; ++n)
        failure = logs.AddStylusInfo(StylusInfo{}, false, {12, 0, 0});
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->text, kPenLogOpenFailMessage.text);
    EXPECT_FALSE(logs.Logging());
    // Rows arriving after logging ended are not kept.
    EXPECT_FALSE(logs.AddStylusInfo(StylusInfo{}, false, {12, 0, 0}));
}

}  // namespace
}  // namespace tuner
