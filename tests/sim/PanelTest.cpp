// The panel model's own shape, on every model and a few seeds, and the profile keys that describe
// a panel: what the measurements of the programs rely on before any of them runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "Images.h"
#include "Panel.h"
#include "PanelMeasure.h"
#include "sim/Profile.h"

namespace sim {
namespace {

Profile WithSeed(const std::string& model, unsigned seed) {
    Profile p = *builtinProfile(model);
    p.panel.seed = seed;
    return p;
}

// Coupling about 1 and smooth, edges a little weaker; phase 35..65 degrees and smooth; the
// optimal delay 13..15 and growing along the Tx lines.
TEST(PanelShape, CouplingPhaseAndDelayAreSmoothOnEveryModel) {
    for (const auto& model : builtinModelNames()) {
        for (unsigned seed : {1u, 2u, 3u}) {
            const Panel panel(WithSeed(model, seed));
            const std::string where = model + " seed " + std::to_string(seed);
            ASSERT_GT(panel.txLines(), 1) << where;
            ASSERT_GT(panel.rxLines(), 1) << where;
            for (int t = 0; t < panel.txLines(); ++t) {
                const int d = panel.optimalDelay(t);
                EXPECT_GE(d, 13) << where;
                EXPECT_LE(d, 15) << where;
                if (t > 0) {
                    EXPECT_GE(d, panel.optimalDelay(t - 1)) << where;
                }
                for (int r = 0; r < panel.rxLines(); ++r) {
                    const double c = panel.coupling(t, r), theta = panel.phaseDegrees(t, r);
                    EXPECT_GE(c, 0.85) << where << " " << t << "," << r;
                    EXPECT_LE(c, 1.1) << where << " " << t << "," << r;
                    EXPECT_GE(theta, 35.0) << where;
                    EXPECT_LE(theta, 65.0) << where;
                    if (r > 0) {
                        EXPECT_LT(std::abs(theta - panel.phaseDegrees(t, r - 1)), 3.0) << where;
                        // Within 3 %, where an edge line's loss adds its 2.5 %.
                        const double step = std::abs(c - panel.coupling(t, r - 1)) / c;
                        EXPECT_LT(step, (r == 1 || r == panel.rxLines() - 1) ? 0.055 : 0.03)
                            << where << " " << t << "," << r;
                    }
                }
            }
        }
    }
}

TEST(PanelShape, DelayResponseIsFlatNearTheOptimumAndFallsToAFloor) {
    const struct {
        int offset;
        double response;
    } cases[] = {{0, 1.0}, {2, 1.0}, {-2, 1.0}, {3, 0.7}, {-4, 0.4}, {5, 0.3}, {-40, 0.3}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Panel::delayResponse(c.offset), c.response);
}

TEST(PanelShape, ActiveChannelsMapToTheWiredLines) {
    Profile p = *builtinProfile("K9P100");  // two chips, Rx pins 1..70 each
    const Panel panel(p);
    EXPECT_EQ(panel.rxLines(), 140);
    EXPECT_EQ(panel.lineAt(0, 1, false), 0);
    EXPECT_EQ(panel.lineAt(0, 70, false), 69);
    EXPECT_EQ(panel.lineAt(1, 1, false), 70);
    EXPECT_EQ(panel.lineAt(0, 0, false), -1) << "an unwired pin";
    EXPECT_EQ(panel.lineAt(1, 71, false), -1);
    EXPECT_EQ(panel.chipOf(69, false), 0);
    EXPECT_EQ(panel.chipOf(70, false), 1);
}

// A frame takes each Tx line's measure count on a straight line between the records of the phase
// targets around it: a target's own line reads with its own record, and where two neighbouring
// records differ (as tuned counts do) the lines between them step gently, never by the whole
// difference at once, which the open test would take for a broken line.
TEST(PanelFrames, TuningRunsSmoothlyBetweenPhaseTargets) {
    const Profile profile = *builtinProfile("K7P100");
    const Panel panel(profile);
    Bytes image = factoryHardware(profile);
    constexpr int kFreq0Records = hw::kFreqBlock + 410, kRecordSize = 6;
    auto count = [&](int k) -> uint8_t& {
        return image[static_cast<size_t>(kFreq0Records + kRecordSize * k + 3)];
    };
    for (int k = 0; k < 10; ++k) count(k) = 20;
    const auto even = expectedMagnitude(panel, profile.chip, image, 0);
    for (int k = 7; k < 10; ++k) count(k) = 40;
    const auto stepped = expectedMagnitude(panel, profile.chip, image, 0);

    const int from = image[hw::kPhaseTarget + 6], to = image[hw::kPhaseTarget + 7];
    ASSERT_LT(from + 2, to) << "lines between the two targets";
    ASSERT_LT(static_cast<size_t>(to), stepped.size());
    EXPECT_NEAR(stepped[static_cast<size_t>(from)][5], even[static_cast<size_t>(from)][5], 1e-9);
    EXPECT_NEAR(stepped[static_cast<size_t>(to)][5] / even[static_cast<size_t>(to)][5], 2.0, 1e-9);
    for (int t = from + 1; t <= to; ++t) {
        const double ratio = stepped[static_cast<size_t>(t)][5] / even[static_cast<size_t>(t)][5];
        const double before =
            stepped[static_cast<size_t>(t - 1)][5] / even[static_cast<size_t>(t - 1)][5];
        EXPECT_GT(ratio, before) << t;
        EXPECT_LT(ratio - before, 0.5) << t;
    }
}

TEST(PanelProfile, KeysDescribeThePanel) {
    std::string error;
    const auto p = parseProfile(
        "model = K9P100\n"
        "panel_seed = 7\nwired_tx = 0:2-30,1:0-20\nwired_rx = 1:4-60\nopen_tx = 3,5\n"
        "open_rx = 9\nweak_edge = 1\nchip_gain = 1.0,1.33\n"
        "noise_source = 166.67:40,100:10:2.5\nshort = rx3-rx7,tx4-gnd\nfinger = 10,20\n"
        "frames_stop_after = 2\nmissing_report_in_frame = 1\nafe_burst = truncated\n",
        error);
    ASSERT_TRUE(p.has_value()) << error;
    const PanelDescription& s = p->panel;
    EXPECT_EQ(s.seed, 7u);
    EXPECT_EQ(p->ranges[0].txStart, 2);
    EXPECT_EQ(p->ranges[1].txEnd, 20);
    EXPECT_EQ(p->ranges[1].rxStart, 4);
    EXPECT_EQ(p->ranges[0].rxStart, 1) << "chips not named keep their runs";
    EXPECT_EQ(s.openTx, (std::set<int>{3, 5}));
    EXPECT_TRUE(s.weakEdge);
    EXPECT_DOUBLE_EQ(s.gainOf(1), 1.33);
    EXPECT_EQ(Panel(*p).calibrationValue(1), 75);
    ASSERT_EQ(s.noiseSources.size(), 2u);
    EXPECT_DOUBLE_EQ(s.noiseSources[1].widthKHz, 2.5);
    EXPECT_TRUE(s.noiseSources[1].everyLine());
    ASSERT_EQ(s.shorts.size(), 2u);
    EXPECT_EQ(s.shorts[1].partner, PanelShort::Gnd);
    EXPECT_EQ(s.shorts[0].other, 7);
    ASSERT_TRUE(s.finger.has_value());
    EXPECT_EQ(s.finger->rx, 20);
    EXPECT_EQ(s.stream.framesStopAfter, 2);
    EXPECT_TRUE(s.stream.afeBurstTruncated);
}

// A panel built to exact swings: every cell couples 1 (edges too) except the scaled columns.
TEST(PanelProfile, FlatPanelWithScaledColumns) {
    std::string error;
    const auto p = parseProfile("model = K7P100\nflat = 1\nrx_coupling = 4:0.5,9:1.5\n", error);
    ASSERT_TRUE(p.has_value()) << error;
    const Panel panel(*p);
    for (int t : {0, 7, panel.txLines() - 1}) {
        EXPECT_DOUBLE_EQ(panel.coupling(t, 0), 1.0) << t;
        EXPECT_DOUBLE_EQ(panel.coupling(t, panel.rxLines() - 1), 1.0) << t;
        EXPECT_DOUBLE_EQ(panel.coupling(t, 4), 0.5) << t;
        EXPECT_DOUBLE_EQ(panel.coupling(t, 9), 1.5) << t;
    }
}

TEST(PanelProfile, BadValuesNameTheLine) {
    const char* bad[] = {
        "wired_tx = 0:40-20",  // inverted run
        "wired_rx = 0:0-100",  // past the chip's 100 pins
        "wired_tx = 1:0-10",   // a chip the model does not have
        "open_rx = x",
        "chip_gain = 0",
        "noise_source = 166",             // no amplitude
        "noise_source = 166:40:5:rx9-3",  // inverted line range
        "noise_source = 166:40:5:tx3",    // sources reach Rx lines
        "short = rx3-tx7",                // lines of different kinds
        "short = rx3-rx3",
        "finger = 4",
        "afe_burst = sometimes",
        "frames_stop_after = -1",
        "weak_edge = 2",
        "flat = yes",
        "rx_coupling = 4",    // no factor
        "rx_coupling = 4:0",  // a column that couples nothing is an open line
    };
    for (const char* line : bad) {
        std::string error;
        EXPECT_FALSE(parseProfile(std::string("model = K7P100\n") + line, error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << line << ": " << error;
    }
}

}  // namespace
}  // namespace sim
