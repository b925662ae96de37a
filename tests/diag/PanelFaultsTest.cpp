// Panel faults a profile switches on, as the builder's measurements see them: the open, short and
// calibration tests, the gain search and pin finding are to find these on the simulated panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "PanelFixture.h"

namespace {

using Frame = std::vector<std::vector<int>>;

class PanelFaultsTest : public testing::Test, protected PanelFixture {
  protected:
    void TearDown() override { Close(); }

    Frame Acquire(uint16_t mode = 0x4080) {
        Frame frame;
        if (!Data().AcquireFrame(mode)) {
            ADD_FAILURE() << "no frame";
            return frame;
        }
        for (int t = 0; t < C().Geometry().txCount; ++t) frame.push_back(FrameRow(t));
        return frame;
    }

    std::array<uint8_t, 68> Img() {
        std::array<uint8_t, 68> image{};
        const auto img = C().Hw().ModeImage(0, CSlave::kGroupImg);
        std::copy(img.begin(), img.end(), image.begin());
        return image;
    }

    // The two trimmed calibration readings of a chip at the chip's high and low inputs, as the
    // calibration takes them (one reading each is enough: the model's noise is a few counts).
    std::pair<int, int> CalibrationReadings(int chip) {
        std::array<uint8_t, 68> image{};
        EXPECT_TRUE(Chip().EnterCalMode(image));
        int readings[2] = {};
        const int inputs[2] = {Chip().GetCalInputHigh(), Chip().GetCalInputLow()};
        for (int k = 0; k < 2; ++k) {
            EXPECT_TRUE(Chip().WriteSinOffset(CSlave::kAllChips, image, inputs[k]));
            EXPECT_TRUE(C().Api().SetTestMode(255, 255));
            uint16_t sample = 0;
            EXPECT_TRUE(Chip().ReadCalSample(chip, sample));
            readings[k] = static_cast<int16_t>(sample);
        }
        return {readings[0], readings[1]};
    }
};

int Largest(const Frame& f) {
    int v = 0;
    for (const auto& row : f)
        for (int x : row) v = std::max(v, std::abs(x));
    return v;
}

int Smallest(const Frame& f) {
    int v = 1 << 30;
    for (const auto& row : f)
        for (int x : row) v = std::min(v, x);
    return v;
}

// |a - b| * 100 / max(a, b), as the open neighbour test compares two cells.
int Difference(int a, int b) {
    const int most = std::max(a, b);
    return most <= 0 ? 100 : std::abs(a - b) * 100 / most;
}

TEST_F(PanelFaultsTest, OpenLinesCarryNoSignal) {
    Open("model = K7P100\nopen_tx = 5\nopen_rx = 9", 94);
    ASSERT_FALSE(HasFatalFailure());
    const Frame m = Acquire();
    ASSERT_EQ(m.size(), 40u);
    for (int r = 0; r < 70; ++r) {
        EXPECT_LT(std::abs(m[5][static_cast<size_t>(r)]), 10) << r;
        if (r != 9) {
            EXPECT_GT(m[4][static_cast<size_t>(r)], 500) << r;
        }
    }
    for (size_t t = 0; t < m.size(); ++t) {
        EXPECT_LT(std::abs(m[t][9]), 10) << t;
        if (t != 5) {
            EXPECT_GT(m[t][10], 500) << t;
        }
    }
    EXPECT_EQ(Truth().Text("open_tx"), "5");
    EXPECT_EQ(Truth().Text("open_rx"), "9");
}

// Healthy edges stay within the open neighbour test's 30 %; weak ones (40 % lower) do not, and
// only there.
TEST_F(PanelFaultsTest, WeakEdgesFailTheNeighbourTestOnlyAtTheEdges) {
    for (bool weak : {false, true}) {
        Open(std::string("model = K7P100\nweak_edge = ") + (weak ? "1" : "0"), 94);
        ASSERT_FALSE(HasFatalFailure());
        const Frame m = Acquire();
        int edge = 0, inner = 0;
        for (size_t r = 0; r < m[0].size(); ++r) {
            edge = std::max(edge, Difference(m[0][r], m[1][r]));
            inner = std::max(inner, Difference(m[5][r], m[6][r]));
        }
        EXPECT_EQ(edge > 30, weak) << edge;
        EXPECT_LE(inner, 30);
        Close();
    }
}

TEST_F(PanelFaultsTest, SignalLevelFaultsShowInTheFrame) {
    struct Case {
        const char* profile;
        std::function<void(const Frame&)> check;
    };
    const Case cases[] = {
        {"uneven = 1",
         [](const Frame& m) { EXPECT_GT(Largest(m), 2 * Smallest(m)) << "uneven beyond 2:1"; }},
        {"no_wired_pins = 1", [](const Frame& m) { EXPECT_LT(Largest(m), 10); }},
        {"signal_scale = 0.05", [](const Frame& m) { EXPECT_LT(Largest(m), 100); }},
        {"wired_tx = 0:5-30\nwired_rx = 0:10-59",
         [](const Frame& m) {
             EXPECT_EQ(m.size(), 26u);
             EXPECT_EQ(m.empty() ? 0u : m[0].size(), 50u);
             EXPECT_GT(Smallest(m), 500);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        Open(std::string("model = K7P100\n") + c.profile, 94);
        ASSERT_FALSE(HasFatalFailure());
        c.check(Acquire());
        Close();
    }
}

TEST_F(PanelFaultsTest, AFingerLowersItsCellsAndShowsInTheTouchDelta) {
    Open("model = K7P100\nfinger = 10,20", 94);
    ASSERT_FALSE(HasFatalFailure());
    const Frame m = Acquire();
    EXPECT_LT(m[10][20], 0.85 * m[10][40]);
    EXPECT_NEAR(m[10][20], Truth().Magnitude(10)[20], 0.01 * m[10][20] + 6);
    const Frame delta = Acquire(0x4801);
    EXPECT_GT(delta[10][20], 100);
    EXPECT_LT(std::abs(delta[30][50]), 10);
}

// A strong signal saturates the AFE even at the weakest gain code and the smallest RS.
TEST_F(PanelFaultsTest, TooStrongASignalSaturatesAtEverySetting) {
    Open("model = K7P100\nsignal_scale = 250", 94);
    ASSERT_FALSE(HasFatalFailure());
    auto image = Img();
    EXPECT_GT(SwingAt(image, 1, 30).a, 80);
}

// A noise source at the sensing frequency makes the swings uneven beyond the gain search's 2:1,
// and stands out of the noise scan's floor.
TEST_F(PanelFaultsTest, NoiseAtTheSensingFrequencyRejectsIt) {
    Open("model = K7P100\nnoise_source = 166.67:40", 94);
    ASSERT_FALSE(HasFatalFailure());
    auto image = Img();
    const Peaks p = SwingAt(image, 8, 20);
    ASSERT_GT(p.a, 0);
    EXPECT_GT(p.b * 10 / p.a, 20);

    image = Img();
    ASSERT_TRUE(Chip().EnterNoiseScanMode(image));
    ASSERT_TRUE(C().Api().SetTestMode(255, 255));
    std::vector<uint8_t> out(1024, 0);
    ASSERT_TRUE(Chip().ReadAxisLine(CSlave::kScanImage, out));
    EXPECT_GT(out[0] | out[1] << 8, 30);
    EXPECT_EQ(Truth().Text("noise_source"), "166.67:40:5");
}

// The chips' gain errors reach the information block and the calibration readings alike.
TEST_F(PanelFaultsTest, ChipGainErrorShowsInCalibration) {
    Open("model = K9P100\nchip_gain = 1.0,1.33", 164);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(C().PcapInfo()[21], 100);
    EXPECT_EQ(C().PcapInfo()[22], 75);
    EXPECT_EQ(Truth().Text("calibration"), "100,75");
    for (int chip : {0, 1}) {
        const auto [high, low] = CalibrationReadings(chip);
        ASSERT_GT(high - low, 0);
        const int value = Chip().GetCalScale() * 100 / (high - low);
        EXPECT_NEAR(value, chip == 0 ? 100 : 75, 1) << chip;
    }
}

TEST_F(PanelFaultsTest, UnreadableCalibrationDoesNotFollowItsInput) {
    Open("model = K7P100\ncalibration_unreadable = 1", 94);
    ASSERT_FALSE(HasFatalFailure());
    const auto [high, low] = CalibrationReadings(0);
    EXPECT_LE(std::abs(high - low), 10);
}

}  // namespace
