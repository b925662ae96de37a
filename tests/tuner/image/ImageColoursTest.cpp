// The grid's colours at the ends of their ranges, the statistics line and the image log's text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScratchFolder.h"
#include "model/ImageColours.h"
#include "model/ImageLog.h"

namespace tuner::image {
namespace {

TEST(ColourScaleTest, RunsFromBlueToRedAndHandlesAFlatFrame) {
    EXPECT_EQ(ScaleColour(0, 100), (Rgb{0, 0, 255}));
    EXPECT_EQ(ScaleColour(25, 100), (Rgb{0, 255, 255}));
    EXPECT_EQ(ScaleColour(50, 100), (Rgb{0, 255, 0}));
    EXPECT_EQ(ScaleColour(75, 100), (Rgb{255, 255, 0}));
    EXPECT_EQ(ScaleColour(100, 100), (Rgb{255, 0, 0}));
    EXPECT_EQ(ScaleColour(12.5, 100), (Rgb{0, 128, 255}));
    EXPECT_EQ(ScaleColour(5, 0), (Rgb{0, 0, 255}));         // no spread: blue, no division
    EXPECT_EQ(ScaleColour(-10, 100), (Rgb{0, 0, 255}));      // below and above the range
    EXPECT_EQ(ScaleColour(1e9, 100), (Rgb{255, 0, 0}));
}

TEST(ColourScaleTest, FillUsesTheTypesReference) {
    GridSnapshot s;
    s.type = FindDataType("Raw (Cal)");
    s.minimum = -32768;
    s.maximum = 32767;  // the widest spread does not overflow
    EXPECT_EQ(ScaleFill(s, -32768), (Rgb{0, 0, 255}));
    EXPECT_EQ(ScaleFill(s, 32767), (Rgb{255, 0, 0}));
    s.minimum = s.maximum = 0;  // an all-zero frame
    EXPECT_EQ(ScaleFill(s, 0), (Rgb{0, 0, 255}));
    s.type = FindDataType("Uniformity");
    s.minimum = -200;
    s.maximum = 100;  // by magnitude against the larger of |min| and |max|
    EXPECT_EQ(ScaleFill(s, -200), (Rgb{255, 0, 0}));
    EXPECT_EQ(ScaleFill(s, 100), (Rgb{0, 255, 0}));
    s.minimum = s.maximum = 0;
    EXPECT_EQ(ScaleFill(s, 0), (Rgb{0, 0, 255}));
}

TEST(ValueColourTest, ThresholdsGreenScaleAndWarnings) {
    struct Case {
        int value;
        Rgb colour;
    } const cases[] = {{0, kDim},           {2, kDim},          {3, FromBgr(0x28DC82)},
                       {14, FromBgr(0x28DC82)}, {15, FromBgr(0x00FF00)}, {-2, kDim},
                       {-3, FromBgr(0xAB82FF)}, {-15, kRed},      {-32768, kRed}};
    for (const Case& c : cases) EXPECT_EQ(ThresholdColour(c.value, 3, 15), c.colour) << c.value;

    EXPECT_EQ(GreenStep(5, 5, 5), 0);  // equal minimum and maximum
    EXPECT_EQ(GreenStep(32767, -32768, 32767), 15);
    EXPECT_EQ(GreenStep(-32768, -32768, 32767), 0);
    EXPECT_EQ(GreenScale(15), FromBgr(0xF0FFF0));

    GridSnapshot s;
    s.type = FindDataType("AFE AD %");
    EXPECT_EQ(ValueColour(s, 80, 3, 15), kRed);
    EXPECT_EQ(ValueColour(s, 79, 3, 15), FromBgr(0x00FF00));
    s.testMode = true;
    EXPECT_EQ(ValueColour(s, 32765, 3, 15), kAmber);
    EXPECT_EQ(ValueColour(s, 32767, 3, 15), kRed);
}

TEST(StatisticsLineTest, RatioOrDivisionByZero) {
    GridSnapshot s;
    s.type = FindDataType("Raw (Cal)");
    s.minimum = 0;
    s.maximum = 812;
    s.uniformityEntries = 12;
    s.uniformityUse = 3;
    EXPECT_EQ(StatisticsLine(s), "Raw (Cal): Min: 0, Max: 812, Ratio: DIV0, URecord: 12 (3%)");
    s.minimum = 400;
    EXPECT_EQ(StatisticsLine(s), "Raw (Cal): Min: 400, Max: 812, Ratio: 2.03, URecord: 12 (3%)");
    s.minimum = -3;
    s.maximum = 10;
    EXPECT_EQ(StatisticsLine(s), "Raw (Cal): Min: -3, Max: 10, Ratio: -3.33, URecord: 12 (3%)");
}

TEST(ImageLogTest, HeaderRecordAndFile) {
    const LocalTime t{2026, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(ImageLogFileName(t), "IMAGE_LOG-0304_050607.csv");
    EXPECT_EQ(ImageLogHeader("Tool 1.0", "TVX", "V5.120", "Touch %", true, TestKind::kMaximum),
              "Tool Version:,Tool 1.0\r\nFW Model:,TVX\r\nFW Version:,V5.120\r\n"
              "Data Type:,Touch %-Maximum\r\n");
    EXPECT_EQ(ImageLogHeader("T", "M", "V", "Raw (Cal)", false, TestKind::kMaximum),
              "Tool Version:,T\r\nFW Model:,M\r\nFW Version:,V\r\nData Type:,Raw (Cal)\r\n");

    GridSnapshot s;
    s.geometry.rx = 2;
    s.txRows = {{1, -2}, {30, 4}};
    EXPECT_EQ(ImageLogRecord(t, s),
              "\r\n\r\nDate:,2026-03-04\r\nTime:,05:06:07:008\r\nTx[ 0 ],1,-2,\r\n"
              "Tx[ 1 ],30,4,\r\n,Rx[ 0 ],Rx[ 1 ],\r\n");

    const testsupport::ScratchFolder scratch("image-log");
    const auto base = scratch / "base";  // not there yet: the log makes it
    {
        ImageLog log;
        ASSERT_TRUE(log.Start(base, t, "head\r\n"));
        EXPECT_TRUE(log.Append("rec"));
        EXPECT_EQ(log.Path(), base / kLogFolder / "IMAGE_LOG-0304_050607.csv");
    }
    std::ifstream in(base / kLogFolder / "IMAGE_LOG-0304_050607.csv", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "head\r\nrec");

    // A base that is a file: no folder can be made below it.
    ImageLog blocked;
    EXPECT_FALSE(blocked.Start(base / kLogFolder / "IMAGE_LOG-0304_050607.csv", t, "x"));
    EXPECT_FALSE(blocked.Running());
}

}  // namespace
}  // namespace tuner::image
