// The draw-test page's information side without a window: the noise and stylus histories, the
// information panel texts, the graph's texts and the frequency table answer.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/DrawReports.h"
#include "model/DrawTestModel.h"
#include "model/InfoPanel.h"

namespace tuner {
namespace {

std::vector<std::string> Texts(const DrawOps& ops) {
    std::vector<std::string> texts;
    for (const DrawOp& op : ops)
        if (op.kind == DrawOp::Kind::kText) texts.push_back(op.text);
    return texts;
}

const DrawOp* FindText(const DrawOps& ops, const std::string& start) {
    for (const DrawOp& op : ops)
        if (op.kind == DrawOp::Kind::kText && op.text.rfind(start, 0) == 0) return &op;
    return nullptr;
}

TEST(InfoModelTest, WaterRatio) {
    struct Case {
        int16_t water, cMax, cMin, ratio;
    };
    for (const Case c : {Case{100, 300, 60, -50}, Case{100, -300, 60, 50}, Case{0, 300, 60, 0},
                         Case{100, 300, 0, 0}, Case{5, 7, 3, -23}}) {
        TouchInfo t;
        t.waterQuantity = c.water;
        t.cMax = c.cMax;
        t.cMin = c.cMin;
        EXPECT_EQ(WaterRatio(t), c.ratio) << c.water << " " << c.cMax << " " << c.cMin;
    }
}

TEST(InfoModelTest, NoiseHistoryKeepsTheLast400OldestFirstWithMaxima) {
    NoiseHistory h;
    for (int i = 1; i <= 450; ++i) {
        TouchInfo t;
        t.maxNoise = static_cast<int16_t>(i % 300);
        t.freqIndex = static_cast<uint8_t>(i / 100);
        t.waterQuantity = static_cast<int16_t>(i == 10 ? 77 : 0);
        h.Add(t);
    }
    EXPECT_EQ(h.entries[0].maxNoise, 51 % 300);
    EXPECT_EQ(h.entries[kHistoryLength - 1].maxNoise, 450 % 300);
    EXPECT_EQ(h.maxNoise, 299);
    EXPECT_EQ(h.maxWater, 77);  // kept even after the entry left the history
    h.Clear();
    EXPECT_EQ(h.maxNoise, 0);
    EXPECT_EQ(h.entries.Newest().maxNoise, 0);
}

StylusInfo Sample(uint8_t scanState, uint16_t signal, uint16_t z1, uint8_t start = 10) {
    StylusInfo s;
    s.scanState = scanState;
    s.buttonState = 1;
    s.nonZeroStartIndex = start;
    s.maxSig = signal;
    s.z1Comp = z1;
    return s;
}

TEST(InfoModelTest, StylusSamplesFilteredAndSortedByScan) {
    StylusHistories h;
    EXPECT_TRUE(h.Add(Sample(4, 500, 9), true, 40));
    EXPECT_TRUE(h.Add(Sample(16, 700, 300), true, 40));
    EXPECT_FALSE(h.Add(Sample(2, 900, 9), true, 40));  // not a data scan
    // With errors ignored, only good samples count.
    EXPECT_FALSE(h.Add(Sample(8, 800, 1, /*start*/ 1), true, 40));
    EXPECT_FALSE(h.Add(Sample(8, 800, 1, 32), true, 40));  // too near the far edge
    StylusInfo bad = Sample(8, 800, 1);
    bad.errorState = 2;
    EXPECT_FALSE(h.Add(bad, true, 40));
    // A small channel count gives no valid start index at all, rather than a wrapped bound.
    EXPECT_FALSE(h.Add(Sample(8, 800, 1, 2), true, 5));
    EXPECT_TRUE(h.Add(Sample(12, 450, 9, 1), false, 40));

    h.UpdateRanges();
    EXPECT_EQ(h.current.rx, (Range{450, 500}));
    EXPECT_EQ(h.current.tx, (Range{700, 700}));
    EXPECT_EQ(h.current.z1, (Range{300, 300}));
    EXPECT_EQ(h.total.rx, (Range{450, 500}));
    h.Clear();
    h.UpdateRanges();
    EXPECT_EQ(h.total.rx, (Range{0x7FFF, 0}));
}

TEST(InfoModelTest, TouchPanelTextsAndColours) {
    TouchInfo t;
    t.freqIndex = 2;
    t.threshold = 1;
    t.touches = 3;
    t.strayConfidence = 0;
    t.water = 2;
    t.idle = 1;
    t.maxNoise = 45;
    t.sf1 = 12;
    t.sf2 = 3;
    t.errorWord = 0x40;
    const DrawOps ops = TouchInfoPanel(t);
    const std::vector<std::string> texts = Texts(ops);
    EXPECT_EQ(texts[0], "Freq#: 02,");
    EXPECT_EQ(texts[1], "Threshold#: 1,");
    EXPECT_EQ(texts[2], "#Touch: 03,");
    const DrawOp* stray = FindText(ops, "StrayConfidence");
    ASSERT_NE(stray, nullptr);
    EXPECT_EQ(stray->text, "StrayConfidence: Low,");
    EXPECT_EQ(stray->pen.colour, kAlertRed);
    // Items follow each other at six pixels per character.
    EXPECT_EQ(stray->x1, 6 * static_cast<int>(texts[0].size() + texts[1].size() + texts[2].size()));
    EXPECT_EQ(FindText(ops, "WaterState")->text, "WaterState: D-Touch,");
    EXPECT_EQ(FindText(ops, "WaterState")->pen.colour, kAlertRed);
    EXPECT_EQ(FindText(ops, "IsIdle")->pen.colour, kPassGreen);
    EXPECT_EQ(FindText(ops, "IsPalm")->pen.colour, kPassGreen);
    EXPECT_EQ(FindText(ops, "S/F")->text, "S/F: 0012 / 03, ");
    const DrawOp* error = FindText(ops, "Err:");
    EXPECT_EQ(error->text, "Err: 0x00000040, ERR_T310_INVALID, ERR_RX_INVALID, ");
    EXPECT_EQ(error->pen.colour, kAlertRed);

    t.errorWord = 0;
    EXPECT_EQ(FindText(TouchInfoPanel(t), "Err:")->text, "Err: 0x00000000");
}

TEST(InfoModelTest, StylusPanelTextsAndHexDebug) {
    StylusInfo s = Sample(8, 1234, 56);
    s.buttonState = 7;
    s.noiseCondition = 1;
    s.debug[0] = 0xBEEF;
    DrawOps ops = StylusInfoPanel(s, false);
    EXPECT_EQ(Texts(ops)[0], "ScanState: DET_TX,   ");
    EXPECT_EQ(FindText(ops, "ErrorState")->x1, 110);
    EXPECT_EQ(FindText(ops, "MaxSig:")->text, "MaxSig: 1234,  ");
    EXPECT_EQ(FindText(ops, "ButtonState:")->text, "ButtonState: Unknown(7),  ");
    EXPECT_EQ(FindText(ops, "NoiseCond")->text, "NoiseCond: True,  ");
    EXPECT_EQ(FindText(ops, "Dbg1")->text, "Dbg1: 48879, ");
    EXPECT_EQ(FindText(StylusInfoPanel(s, true), "Dbg1")->text, "Dbg1: 0xBEEF, ");
}

DevReport TouchReport(int maxNoise, int freq) {
    DevReport r{};
    r.bytes[1] = 62;
    r.bytes[2] = 0x3F;
    r.bytes[3] = 0x68;
    r.bytes[4] = static_cast<uint8_t>(freq);
    r.bytes[4 + 15] = static_cast<uint8_t>(maxNoise);
    return r;
}

TEST(InfoModelTest, GraphEveryFifthReportAndItsTexts) {
    DrawTestModel model{"/nonexistent"};
    int due = 0;
    for (int i = 0; i < 20; ++i)
        due += model.OnTouchInfo(TouchReport(10 + i, 0), InfoMode::kTouch, {}).graphDue;
    EXPECT_EQ(due, 4);
    // Wrong sub-code: ignored.
    DevReport other = TouchReport(99, 0);
    other.bytes[3] = 0x70;
    EXPECT_FALSE(model.OnTouchInfo(other, InfoMode::kTouch, {}).graphDue);
    EXPECT_EQ(model.InfoReports(), 20);

    DrawOps graph = model.Graph(InfoMode::kTouch, 0, {400, 200});
    EXPECT_NE(FindText(graph, "Max: 29 "), nullptr);
    EXPECT_NE(FindText(graph, "Noise: 29 "), nullptr);
    EXPECT_NE(FindText(graph, "Avg: 0 "), nullptr);  // (10 + ... + 29) / 400
    EXPECT_NE(FindText(graph, "Current range: ( 0, 29 ) "), nullptr);

    // A frequency change inside the history restarts the maximum.
    model.OnTouchInfo(TouchReport(5, 1), InfoMode::kTouch, {});
    graph = model.Graph(InfoMode::kTouch, 1, {400, 200});
    EXPECT_NE(FindText(graph, "Max: 0 "), nullptr);

    model.graphView = GraphView::kWater;
    EXPECT_NE(FindText(model.Graph(InfoMode::kTouch, 1, {400, 200}), "Water - History Max: 0 "),
              nullptr);
    EXPECT_TRUE(model.Graph(InfoMode::kNone, 1, {400, 200}).empty());

    model.CleanInfo();
    EXPECT_TRUE(model.InfoPanel().empty());
    EXPECT_EQ(model.Noise().maxNoise, 0);
}

TEST(InfoModelTest, KeyStripShowsThePressedKeyOnly) {
    DevReport key{};
    key.bytes[2] = 0x2F;
    key.bytes[3] = 1;  // pressed
    key.bytes[4] = 2;
    KeyStrip strip;
    ASSERT_TRUE(strip.Apply(key, 4, false));
    const DrawOps ops = strip.Paint(400, 24);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].x1, 250);  // the middle of the third of four cells
    EXPECT_EQ(ops[1].text, "3");
    key.bytes[3] = 0;
    ASSERT_TRUE(strip.Apply(key, 4, false));
    EXPECT_TRUE(strip.Paint(400, 24).empty());
    // No keys, the full-screen window open, or a key the strip does not have: not for the strip.
    key.bytes[3] = 1;
    EXPECT_FALSE(strip.Apply(key, 0, false));
    EXPECT_FALSE(strip.Apply(key, 4, true));
    key.bytes[4] = 4;
    EXPECT_FALSE(strip.Apply(key, 4, false));
}

TEST(InfoModelTest, FrequencyTableAnswer) {
    uint8_t answer[64] = {3, 1, 0x10, 0x27, 0x3A, 0x30, 0x64, 0x32};
    FrequencyState f = DecodeFrequencyTable(answer);
    EXPECT_EQ(f.count, 3);
    EXPECT_EQ(f.index, 1);
    EXPECT_EQ(f.text, "123.5 KHz");
    // An index beyond the count, or beyond what the answer holds, shows nothing.
    answer[1] = 3;
    EXPECT_EQ(DecodeFrequencyTable(answer).text, "");
    answer[0] = 255;
    answer[1] = 31;
    EXPECT_EQ(DecodeFrequencyTable(answer).text, "");
    answer[1] = 30;
    EXPECT_EQ(DecodeFrequencyTable(answer).text, "0.0 KHz");
}

}  // namespace
}  // namespace tuner
