// Every data type, window and the uniformity table read from the simulated controller, judged
// against what the simulated panel knows of itself (its truth file).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ImageSession.h"

namespace tuner::image {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFingerTx = 12, kFingerRx = 20;  // panel lines

class ImageSimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        session.Open("model = K7P100\nchip_gain = 1.08\nfinger = " + std::to_string(kFingerTx) +
                     "," + std::to_string(kFingerRx));
    }

    // The computed grid of a type over the whole sensor.
    GridSnapshot Show(std::string_view text) {
        const DataType& type = *FindDataType(text);
        processor.SetGeometry(session.Geo());
        processor.SelectType(type);
        GridSnapshot out;
        for (int attempt = 0; attempt < 4; ++attempt) {
            Frame frame;
            EXPECT_TRUE(session.Capture(type.workingMode, session.Total(), frame));
            if (processor.Process(frame, {session.Total().window}, out)) break;
        }
        truth = std::make_unique<TruthFile>(session.Truth());
        return out;
    }

    // The frame cell of a panel line pair.
    std::pair<int, int> CellOf(int txLine, int rxLine) const {
        const auto tx = truth->Numbers("frame_tx_lines"), rx = truth->Numbers("frame_rx_lines");
        const auto t = std::find(tx.begin(), tx.end(), txLine) - tx.begin();
        const auto r = std::find(rx.begin(), rx.end(), rxLine) - rx.begin();
        return {static_cast<int>(t), static_cast<int>(r)};
    }

    // The calibrated raw value the panel should give: M sin(phase).
    double InPhase(int t, int r) const {
        return truth->Magnitude(t)[static_cast<size_t>(r)] *
               std::sin(truth->Phase(t)[static_cast<size_t>(r)] * kPi / 180.0);
    }

    test::ImageSession session;
    ImageProcessor processor;
    std::unique_ptr<TruthFile> truth;
};

TEST_F(ImageSimTest, RawViewsAreTheInPhaseSignalWithAndWithoutTheChipGain) {
    for (const char* text : {"Raw (Cal)", "Raw (NoCal)"}) {
        const GridSnapshot s = Show(text);
        const double gain = std::string(text) == "Raw (Cal)" ? 1.0 : truth->Numbers("chip_gain")[0];
        ASSERT_EQ(static_cast<int>(s.txRows.size()), truth->Number("frame_tx")) << text;
        ASSERT_EQ(s.geometry.rx, truth->Number("frame_rx")) << text;
        int far = 0;
        for (int t = 0; t < s.geometry.tx; ++t)
            for (int r = 0; r < s.geometry.rx; ++r) {
                const double expected = InPhase(t, r) * gain;
                const int v = s.txRows[static_cast<size_t>(t)][static_cast<size_t>(r)];
                if (std::abs(v - expected) > 0.01 * std::abs(expected) + 6) ++far;
            }
        EXPECT_EQ(far, 0) << text;
        EXPECT_GT(s.minimum, 0) << text;
    }
}

TEST_F(ImageSimTest, TouchSignalAndCookedDataPeakUnderTheFinger) {
    for (const char* text : {"Touch Signal", "Cooked Data"}) {
        const GridSnapshot s = Show(text);
        const auto [ft, fr] = CellOf(kFingerTx, kFingerRx);
        int peakT = 0, peakR = 0;
        for (int t = 0; t < s.geometry.tx; ++t)
            for (int r = 0; r < s.geometry.rx; ++r) {
                const int v = s.txRows[static_cast<size_t>(t)][static_cast<size_t>(r)];
                if (v > s.txRows[static_cast<size_t>(peakT)][static_cast<size_t>(peakR)]) {
                    peakT = t;
                    peakR = r;
                }
                // Far from the finger only noise remains.
                if (std::abs(t - ft) > 5 || std::abs(r - fr) > 5) {
                    EXPECT_LE(std::abs(v), 8) << text;
                }
            }
        EXPECT_EQ(peakT, ft) << text;
        EXPECT_EQ(peakR, fr) << text;
        EXPECT_EQ(s.maximum, s.txRows[static_cast<size_t>(ft)][static_cast<size_t>(fr)]) << text;
        // Under the finger about a quarter of the signal is gone: baseline / 0.75 - baseline.
        const double m = truth->Magnitude(ft)[static_cast<size_t>(fr)];
        EXPECT_NEAR(s.maximum, m / 0.75 - m, 0.05 * m + 6) << text;
    }
}

TEST_F(ImageSimTest, TouchPercentOfAStillFingerIsZero) {
    const GridSnapshot s = Show("Touch %");
    ASSERT_NE(s.type, nullptr);
    EXPECT_GE(s.minimum, -2);  // the baseline holds the finger as well
    EXPECT_LE(s.maximum, 2);
}

TEST_F(ImageSimTest, SwingPercentsFollowTheMagnitudeWithinARow) {
    for (const char* text : {"AFE AD %", "ADC AD %"}) {
        const GridSnapshot s = Show(text);
        EXPECT_GT(s.minimum, 0) << text;
        EXPECT_LT(s.maximum, 63) << text;  // a tuned panel keeps well away from the red
        for (int t = 0; t < s.geometry.tx; ++t) {
            const auto m = truth->Magnitude(t);
            const auto& row = s.txRows[static_cast<size_t>(t)];
            const auto strongest = std::max_element(m.begin(), m.end()) - m.begin();
            const double scale = row[static_cast<size_t>(strongest)] / m[static_cast<size_t>(strongest)];
            for (size_t r = 0; r < row.size(); ++r)
                EXPECT_NEAR(row[r], m[r] * scale, 3.0) << text << " tx " << t << " rx " << r;
        }
    }
}

TEST_F(ImageSimTest, UniformityIsTheRowDifferenceOfTheInPhaseSignal) {
    const GridSnapshot s = Show("Uniformity");
    for (int t = 0; t + 1 < s.geometry.tx; ++t)
        for (int r = 0; r < s.geometry.rx; ++r) {
            const double a = InPhase(t, r), b = InPhase(t + 1, r);
            EXPECT_NEAR(s.txRows[static_cast<size_t>(t)][static_cast<size_t>(r)], b - a,
                        0.01 * (std::abs(a) + std::abs(b)) + 12);
        }
    EXPECT_EQ(s.txRows.back(), std::vector<int>(static_cast<size_t>(s.geometry.rx), 0));
}

TEST_F(ImageSimTest, EveryWindowCarriesItsOwnChannels) {
    const Geometry& g = session.Geo();
    struct Shown {
        DisplayMode mode;
        int quadrant;
    };
    const ChannelWindow range{7, 19, 5, 13};
    for (const Shown& m : {Shown{DisplayMode::kTotal, 1}, Shown{DisplayMode::kUp, 1},
                           Shown{DisplayMode::kDown, 1}, Shown{DisplayMode::kRange, 1},
                           Shown{DisplayMode::kQuad, 1}, Shown{DisplayMode::kQuad, 2},
                           Shown{DisplayMode::kQuad, 3}, Shown{DisplayMode::kQuad, 4}}) {
        const ReportPlan plan = PlanFor(m.mode, m.quadrant, range, g);
        const std::string name =
            "mode " + std::to_string(static_cast<int>(m.mode)) + " quadrant " +
            std::to_string(m.quadrant);
        processor.SetGeometry(g);
        Frame frame;
        ASSERT_TRUE(session.Capture(0x4004, plan, frame)) << name;
        truth = std::make_unique<TruthFile>(session.Truth());
        GridSnapshot out;
        processor.SelectType(*FindDataType("Raw (Cal)"));
        ASSERT_TRUE(processor.Process(frame, {plan.window}, out));
        EXPECT_EQ(out.window, plan.window) << name;
        EXPECT_EQ(out.rows, g.lead2 + plan.window.lastTx - plan.window.firstTx + 1) << name;
        for (int gr = g.lead2; gr < out.rows; ++gr)
            for (int c = 0; c < out.columns; ++c) {
                const int t = plan.window.firstTx + gr - g.lead2, r = plan.window.firstRx + c;
                EXPECT_NEAR(out.Value(gr, c), InPhase(t, r), 0.01 * std::abs(InPhase(t, r)) + 6)
                    << name << " tx " << t << " rx " << r;
            }
    }
}

TEST_F(ImageSimTest, StoredUniformityTableIsReadAndChecked) {
    const UniformityRead read = ReadUniformityTable(session.Handle());
    EXPECT_EQ(read.result, TableRead::kOk);
    EXPECT_EQ(read.frequencyIndex, 0);
}

TEST(ImageSimTableTest, CorruptTableIsFoundInvalid) {
    test::ImageSession session;
    session.Open("model = K7P100\nbad_checksum = table");
    const UniformityRead read = ReadUniformityTable(session.Handle());
    EXPECT_EQ(read.result, TableRead::kInvalid);
}

}  // namespace
}  // namespace tuner::image
