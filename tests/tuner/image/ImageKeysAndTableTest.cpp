// What the simulated controller adds for the image page, judged by its truth file: the touch
// keys after the last row, a finger that lands during the stream ("Touch %"), the list bursts of
// the touched cells, and the uniformity table measured on the untouched panel ("Unifor Cook").
#include <gtest/gtest.h>

#include <cmath>

#include "ImageSession.h"

namespace tuner::image {
namespace {

constexpr int kFingerTx = 22, kFingerRx = 40;  // panel lines

std::string Profile(const std::string& extra) {
    return "model = K7P100\nfinger = " + std::to_string(kFingerTx) + "," +
           std::to_string(kFingerRx) + "\n" + extra;
}

std::pair<int, int> FingerCell(const TruthFile& truth) {
    const auto tx = truth.Numbers("frame_tx_lines"), rx = truth.Numbers("frame_rx_lines");
    return {static_cast<int>(std::find(tx.begin(), tx.end(), kFingerTx) - tx.begin()),
            static_cast<int>(std::find(rx.begin(), rx.end(), kFingerRx) - rx.begin())};
}

TEST(ImageKeysTest, KeyValuesFollowEveryWindowAndShowThePressedKey) {
    test::ImageSession session;
    session.Open(Profile("touch_keys = 4\nkey_pressed = 2"));
    ASSERT_EQ(session.Geo().keys, 4);
    const Geometry& g = session.Geo();
    for (DisplayMode mode : {DisplayMode::kTotal, DisplayMode::kUp, DisplayMode::kDown}) {
        Frame raw;
        ASSERT_TRUE(session.Capture(0x4004, PlanFor(mode, 1, {}, g), raw))
            << "mode " << static_cast<int>(mode);
        const TruthFile truth = session.Truth();
        ASSERT_EQ(truth.Number("touch_keys"), 4);
        const double key = truth.Numbers("key_magnitude")[0];
        const int pressed = truth.Number("key_pressed");
        for (int k = 0; k < 4; ++k) {
            const double expected = k == pressed ? 0.75 * key : key;
            EXPECT_NEAR(raw.keys[static_cast<size_t>(k)], expected, 0.01 * expected + 6) << k;
        }
    }
    Frame delta;
    ASSERT_TRUE(session.Capture(0x4801, session.Total(), delta));
    const double key = session.Truth().Numbers("key_magnitude")[0];
    ImageProcessor p;
    p.SetGeometry(g);
    p.SelectType(*FindDataType("Touch Signal"));
    GridSnapshot s;
    ASSERT_TRUE(p.Process(delta, {session.Total().window}, s));
    ASSERT_EQ(s.keys.size(), 4u);
    EXPECT_NEAR(s.keys[2], 0.25 * key, 0.01 * key + 6);
    for (int k : {0, 1, 3}) EXPECT_LE(std::abs(s.keys[static_cast<size_t>(k)]), 6);
}

TEST(ImageFingerTest, TouchPercentShowsAFingerThatLandsAfterTheBaseline) {
    test::ImageSession session;
    session.Open(Profile("finger_from_frame = 12"));
    const TruthFile truth = session.Truth();
    ASSERT_EQ(truth.Number("finger_from_frame"), 12);
    ImageProcessor p;
    p.SetGeometry(session.Geo());
    p.SelectType(*FindDataType("Touch %"));
    GridSnapshot s;
    for (int i = 0; i < ImageProcessor::kBaselineFrames; ++i) {
        Frame untouched;
        ASSERT_TRUE(session.Capture(0x4004, session.Total(), untouched));
        EXPECT_FALSE(p.Process(untouched, {session.Total().window}, s));
    }
    Frame touched;
    ASSERT_TRUE(session.Capture(0x4004, session.Total(), touched, 14));
    ASSERT_TRUE(p.Process(touched, {session.Total().window}, s));
    const auto [ft, fr] = FingerCell(truth);
    // Under the finger a quarter of the signal is gone; elsewhere only noise remains.
    EXPECT_NEAR(s.txRows[static_cast<size_t>(ft)][static_cast<size_t>(fr)], 25, 2);
    EXPECT_EQ(s.maximum, s.txRows[static_cast<size_t>(ft)][static_cast<size_t>(fr)]);
    EXPECT_LE(std::abs(s.txRows[0][0]), 2);
    EXPECT_GE(s.minimum, -2);
}

TEST(ImageListTest, ListBurstsNameTheTouchedCells) {
    test::ImageSession session;
    session.Open(Profile("list_bursts = on"));
    ListBurst list;
    DevSubscription sub = devAddReportHandler(
        session.Handle(), 0x4B, kDevAnySubCode, &list, [](void* c, int, const DevReport* r) {
            static_cast<ListBurst*>(c)->OnListReport(*r);
        });
    ASSERT_NE(sub, nullptr);
    Frame frame;
    ASSERT_TRUE(session.Capture(0x4004, session.Total(), frame));
    devRemoveReportHandler(session.Handle(), sub);
    const ListBurst::List last = list.Last();
    ASSERT_FALSE(last.items.empty());
    ASSERT_EQ(last.closing.size(), 2u);
    EXPECT_EQ(last.closing[0], last.items.size());
    for (const auto& item : last.items) {
        EXPECT_LE(std::abs(item[0] - kFingerTx), 3);
        EXPECT_LE(std::abs(item[1] - kFingerRx), 3);
        EXPECT_GT(item[2] | (item[3] << 8), 500);  // more than 5 % of the signal gone
    }
}

TEST(ImageTableTest, UniformityCookedIsFlatAwayFromTheFinger) {
    test::ImageSession session;
    session.Open(Profile(""));
    const UniformityRead read = ReadUniformityTable(session.Handle());
    ASSERT_EQ(read.result, TableRead::kOk);
    const TruthFile truth = session.Truth();
    const int T = truth.Number("frame_tx"), R = truth.Number("frame_rx");
    const ChannelInfo info = session.State().channels.Get();
    UniformitySubTable sub =
        ParseSubTable(read.table, read.frequencyIndex, info.uniformityScale, info.kernelMajor,
                      info.kernelMinor);
    EXPECT_EQ(sub.entryCount, (T - 1) * R);
    EXPECT_EQ(static_cast<int>(sub.entries.size()), (T - 1) * R);
    EXPECT_EQ(sub.usePercent, (T - 1) * (2 + 3 * R) * 100 / 32720);

    ImageProcessor p;
    p.SetGeometry(session.Geo());
    p.SetUniformity(sub);
    p.SelectType(*FindDataType("Unifor Cook"));
    Frame frame;
    ASSERT_TRUE(session.Capture(0x4000, session.Total(), frame));
    GridSnapshot s;
    ASSERT_TRUE(p.Process(frame, {session.Total().window}, s));
    EXPECT_EQ(s.uniformityEntries, (T - 1) * R);
    const auto [ft, fr] = FingerCell(truth);
    int far = 0;
    for (int t = 0; t + 1 < T; ++t)
        for (int r = 0; r < R; ++r) {
            const int v = s.txRows[static_cast<size_t>(t)][static_cast<size_t>(r)];
            if ((std::abs(t - ft) > 4 || std::abs(r - fr) > 4) && std::abs(v) > 20) ++far;  // six times the noise of a difference
        }
    EXPECT_EQ(far, 0);
    // Next to the finger the difference is the finger's own edge.
    EXPECT_GT(std::abs(s.txRows[static_cast<size_t>(ft - 1)][static_cast<size_t>(fr)]), 30);
}

}  // namespace
}  // namespace tuner::image
