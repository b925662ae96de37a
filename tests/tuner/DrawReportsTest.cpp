// Decoding the reports of the draw-test page from hand-built bytes, and the names it gives to
// error bits, scan states and button states.
#include <gtest/gtest.h>

#include <cstring>

#include "model/DrawReports.h"
#include "model/DrawStyle.h"

namespace tuner {
namespace {

DevReport Report(uint8_t kind, uint8_t sub) {
    DevReport r{};
    r.bytes[0] = 0x03;
    r.bytes[1] = 62;
    r.bytes[2] = kind;
    r.bytes[3] = sub;
    return r;
}

void Put16(DevReport& r, int at, int value) {
    r.bytes[at] = static_cast<uint8_t>(value & 0xFF);
    r.bytes[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

TEST(DrawReportsTest, TouchInfoRecordFieldsAtTheirOffsets) {
    DevReport r = Report(0x3F, 0x68);
    uint8_t* rec = r.bytes + 4;
    rec[0] = 3;            // frequency index
    rec[1] = 1;            // stray confidence
    rec[3] = 2;            // touches
    rec[4] = 3;            // water state
    rec[5] = 1;            // noise condition
    rec[6] = 1;            // palm
    Put16(r, 4 + 7, 513);  // S/F 1, unaligned
    rec[9] = 7;
    rec[10] = 4;
    rec[11] = 1;
    rec[12] = 1;
    Put16(r, 4 + 15, -120);
    rec[17] = 33;
    Put16(r, 4 + 19, -300);
    Put16(r, 4 + 21, 250);
    Put16(r, 4 + 25, 60);
    rec[28] = 2;
    rec[29] = 0x78, rec[30] = 0x56, rec[31] = 0x34, rec[32] = 0x12;
    for (int i = 0; i < 8; ++i) Put16(r, 4 + 35 + 2 * i, -1 - i);

    ASSERT_TRUE(IsTouchInfoReport(r));
    const TouchInfo t = DecodeTouchInfo(r);
    EXPECT_EQ(t.freqIndex, 3);
    EXPECT_EQ(t.strayConfidence, 1);
    EXPECT_EQ(t.touches, 2);
    EXPECT_EQ(t.water, 3);
    EXPECT_EQ(t.noiseCondition, 1);
    EXPECT_EQ(t.palm, 1);
    EXPECT_EQ(t.sf1, 513);
    EXPECT_EQ(t.sf2, 7);
    EXPECT_EQ(t.palmCount, 4);
    EXPECT_EQ(t.waterDisablesTouch, 1);
    EXPECT_EQ(t.idle, 1);
    EXPECT_EQ(t.maxNoise, -120);
    EXPECT_EQ(t.maxNoiseRx, 33);
    EXPECT_EQ(t.cMax, -300);
    EXPECT_EQ(t.waterQuantity, 250);
    EXPECT_EQ(t.cMin, 60);
    EXPECT_EQ(t.threshold, 2);
    EXPECT_EQ(t.errorWord, 0x12345678u);
    EXPECT_EQ(t.debug[0], -1);
    EXPECT_EQ(t.debug[7], -8);
}

TEST(DrawReportsTest, StylusInfoRecordFieldsAtTheirOffsets) {
    DevReport r = Report(0x3F, 0x70);
    uint8_t* rec = r.bytes + 4;
    rec[0] = 12;
    Put16(r, 4 + 1, 0x0102);
    const int words[] = {3, 5, 7, 9, 11, 13, 15, 17, 19};  // RawZ1 .. APenState
    for (int i = 0; i < 9; ++i) Put16(r, 4 + words[i], 1000 + i);
    rec[21] = 2, rec[22] = 0x31, rec[23] = 23, rec[24] = 24, rec[25] = 25, rec[26] = 26;
    Put16(r, 4 + 27, 2700);
    Put16(r, 4 + 29, 2900);
    rec[31] = 31, rec[32] = 2, rec[33] = 1, rec[34] = 34;
    Put16(r, 4 + 35, 3500);
    rec[37] = 37;
    Put16(r, 4 + 38, -25);
    Put16(r, 4 + 40, 40);
    for (int i = 0; i < 8; ++i) Put16(r, 4 + 42 + 2 * i, 0xA000 + i);

    ASSERT_TRUE(IsStylusInfoReport(r));
    ASSERT_FALSE(IsTouchInfoReport(r));
    const StylusInfo s = DecodeStylusInfo(r);
    EXPECT_EQ(s.scanState, 12);
    EXPECT_EQ(s.errorState, 0x0102);
    EXPECT_EQ(s.rawZ1, 1000);
    EXPECT_EQ(s.z2, 1003);
    EXPECT_EQ(s.maxSig, 1004);
    EXPECT_EQ(s.secButton, 1007);
    EXPECT_EQ(s.aPenState, 1008);
    EXPECT_EQ(s.buttonState, 2);
    EXPECT_EQ(s.buttonStateIndex, 0x31);
    EXPECT_EQ(s.nonZeroStartIndex, 26);
    EXPECT_EQ(s.z1Comp, 2700);
    EXPECT_EQ(s.speed, 2900);
    EXPECT_EQ(s.freqScanIndex, 2);
    EXPECT_EQ(s.maxNoise, 3500);
    EXPECT_EQ(s.noiseDetectCount, 37);
    EXPECT_EQ(s.xTilt, -25);
    EXPECT_EQ(s.yTilt, 40);
    EXPECT_EQ(s.debug[0], 0xA000);
    EXPECT_EQ(s.debug[7], 0xA007);
}

TEST(DrawReportsTest, PointRecordsAndTheirCount) {
    DevReport r = Report(0x36, 0x13);
    const uint8_t record[10] = {0x11, 7, 0x34, 0x12, 0x78, 0x06, 0x00, 0x80, 9, 250};
    std::memcpy(r.bytes + 4 + 10, record, sizeof record);
    r.bytes[54] = 2;
    const PointReport points = DecodePoints(r);
    ASSERT_EQ(points.count, 2);
    const PointRecord& p = points.points[1];
    EXPECT_EQ(p.status, 0x11);
    EXPECT_EQ(p.id, 7);
    EXPECT_EQ(p.x, 0x1234);
    EXPECT_EQ(p.y, 0x0678);
    EXPECT_EQ(p.z, -32768);
    EXPECT_EQ(p.byte8, 9);
    EXPECT_EQ(p.byte9, 250);

    // A count byte larger than the five records a report holds reads only those five.
    r.bytes[54] = 200;
    EXPECT_EQ(DecodePoints(r).count, 5);
}

TEST(DrawReportsTest, PointReportAcceptance) {
    struct Case {
        uint8_t kind, sub;
        bool accepted;
    };
    for (const Case c : {Case{0x36, 0x13, true}, Case{0x36, 0x00, true}, Case{0x11, 0x13, true},
                         Case{0x11, 0x30, true}, Case{0x3F, 0x68, false}, Case{0x4A, 0x12, false}})
        EXPECT_EQ(IsPointReport(Report(c.kind, c.sub)), c.accepted)
            << std::hex << int{c.kind} << "/" << int{c.sub};
}

TEST(DrawReportsTest, ErrorWordNamesInBitOrder) {
    struct Case {
        uint32_t word;
        const char* names;
    };
    const Case cases[] = {
        {0, ""},
        {0x40, "ERR_T310_INVALID, ERR_RX_INVALID, "},
        {0x00300000, "ERR_REPORTID_INVALID ERR_NOISE_CONDITION "},
        {0x000F0000, ""},  // bits without a name
        {0xE2000000, ""},
        {0x00008001, "ERR_ALG_PARAM, ERR_STRAY_INVALID, "},
        {0x14000100, "ERR_UTABLE_CRC_FAIL, ERR_PEN_PARAM ERR_FULL_ADC_CAL "},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorWordNames(c.word), c.names) << std::hex << c.word;
}

TEST(DrawReportsTest, ScanAndButtonStateNames) {
    EXPECT_EQ(ScanStateName(1), "N_PRE_DET_RX, ");
    EXPECT_EQ(ScanStateName(4), "DET_RX,   ");
    EXPECT_EQ(ScanStateName(16), "RAW_TX,   ");
    EXPECT_EQ(ScanStateName(0), "Unknown(0)");
    EXPECT_EQ(ScanStateName(17), "Unknown(17)");
    EXPECT_EQ(ButtonStatePanelName(1), "NORMAL");
    EXPECT_EQ(ButtonStatePanelName(3), "ERASER");
    EXPECT_EQ(ButtonStateLogName(0), "Error, ");
    // Outside the firmware's four states: named like an unknown scan state, never read past.
    EXPECT_EQ(ButtonStatePanelName(9), "Unknown(9)");
    EXPECT_EQ(ButtonStateLogName(200), "Unknown(200), ");
}

TEST(DrawReportsTest, StylusStylesAndPens) {
    struct Case {
        uint8_t status;
        StylusStyle style;
    };
    const Case cases[] = {
        {0x10 | 0x02 | 0x08 | 0x01, StylusStyle::kBarrel},
        {0x10 | 0x08 | 0x01, StylusStyle::kEraser},
        {0x10 | 0x01 | 0x20, StylusStyle::kTip},
        {0x10 | 0x20, StylusStyle::kHover},
        {0x10, StylusStyle::kInRange},
    };
    for (const Case& c : cases) {
        PointRecord r;
        r.status = c.status;
        EXPECT_EQ(StyleOf(r), c.style) << int{c.status};
    }

    PointRecord tip;
    tip.status = 0x11;
    tip.z = 1020;
    EXPECT_EQ(RecordPen(tip), (Pen{Colour::FromRef(0x0000FF), 5}));
    // A light or negative pressure still draws one pixel wide.
    tip.z = 100;
    EXPECT_EQ(RecordPen(tip).width, 1);
    tip.z = -500;
    EXPECT_EQ(RecordPen(tip).width, 1);
    PointRecord inRange;
    inRange.status = 0x10;
    EXPECT_FALSE(RecordPen(inRange).visible);
    PointRecord hover;
    hover.status = 0x30;
    EXPECT_EQ(RecordPen(hover), (Pen{Colour::FromRef(0xB4B4B4), 3}));
    EXPECT_EQ(IdPen(15), IdPen(5));
    EXPECT_EQ(IdPen(5).colour, (Colour{0x74, 0x3A, 0x3A}));
}

TEST(DrawReportsTest, TouchKeysAndDisconnectNotice) {
    DevReport key = Report(0x2F, 0x01);
    key.bytes[4] = 3;
    ASSERT_TRUE(IsTouchKeyReport(key));
    EXPECT_TRUE(DecodeTouchKey(key).pressed);
    EXPECT_EQ(DecodeTouchKey(key).index, 3);

    DevReport gone = Report(0x3B, 0x70);
    gone.bytes[1] = 2;
    gone.bytes[4] = 3;
    EXPECT_TRUE(IsDisconnectNotice(gone));
    gone.bytes[4] = 2;
    EXPECT_FALSE(IsDisconnectNotice(gone));
}

}  // namespace
}  // namespace tuner
