// What the tuning searches and the sensor tests need of the panel, checked on each chip family
// through devlink and the builder's own chip and workspace code, the way the builder reads it:
// AFE swings monotonic in the gain code and RS, starting below the gain target and able to reach
// it, even across the channels; frames whose I, Q and magnitude agree, are positive, and fall
// into the scaling window at some scaling; axis lines linear in the measure count.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "PanelFixture.h"

namespace {

constexpr int kRsStart = 8;      // 15 - the default NoiseResist 7
constexpr int kGainTarget = 19;  // the default AD level 15 % of 128
constexpr int kGainHigh = 80;
constexpr int kImageTolerance = 2;

class PanelPropertiesTest : public testing::TestWithParam<ChipCase>, protected PanelFixture {
  protected:
    void SetUp() override {
        Open(GetParam().model, GetParam().typeCode);
        if (HasFatalFailure()) return;
        // The register-level measurements go through the builder's chip model, which needs the
        // chip's register map.
        std::array<uint8_t, 68> probe{};
        Chip().SetScaling(probe, 5);
        chipMap_ = Chip().GetScaling(probe) == 5;
        const auto img = C().Hw().ModeImage(0, CSlave::kGroupImg);
        std::copy(img.begin(), img.end(), image_.begin());
    }
    void TearDown() override { Close(); }

    // A frame of the image mode at the factory tuning, row by row.
    std::vector<std::vector<int>> Frame(uint16_t mode) {
        std::vector<std::vector<int>> frame;
        if (!Data().AcquireFrame(mode)) {
            ADD_FAILURE() << "no frame in mode " << mode;
            return frame;
        }
        for (int t = 0; t < C().Geometry().txCount; ++t) frame.push_back(FrameRow(t));
        return frame;
    }

    std::vector<int> AxisLine() {
        std::vector<uint8_t> out(1024, 0);
        EXPECT_TRUE(C().Api().SetTestMode(4, 4));
        EXPECT_TRUE(Chip().ReadAxisLine(CSlave::kScanImage, out));
        std::vector<int> line;
        for (int r = 0; r < C().Geometry().rxCount; ++r)
            line.push_back(out[2 * static_cast<size_t>(r)] | out[2 * static_cast<size_t>(r) + 1]
                                                                 << 8);
        return line;
    }

    std::array<uint8_t, 68> image_{};
    bool chipMap_ = false;
};

#define REQUIRE_CHIP_MAP() \
    if (!chipMap_) GTEST_SKIP() << "the builder has no register map of this chip yet"

TEST_P(PanelPropertiesTest, SwingFallsWithTheGainCodeAndRisesWithRs) {
    REQUIRE_CHIP_MAP();
    Peaks previous = SwingAt(image_, kRsStart, 1);
    for (int gain = 2; gain <= 30; ++gain) {
        const Peaks p = SwingAt(image_, kRsStart, gain);
        EXPECT_LT(p.mean, previous.mean) << "gain " << gain;
        EXPECT_LE(p.a, previous.a) << "gain " << gain;
        previous = p;
    }
    // At a middle gain code, so that even RS 1 swings clear of the noise.
    previous = SwingAt(image_, 1, 20);
    for (int rs = 2; rs <= 14; ++rs) {
        const Peaks p = SwingAt(image_, rs, 20);
        EXPECT_GT(p.mean, previous.mean) << "RS " << rs;
        EXPECT_GE(p.a, previous.a) << "RS " << rs;
        previous = p;
    }
}

// The search starts at the weakest code below its target, and some code reaches it with the
// strongest channel within the ratio the search accepts and below the AD high level.
TEST_P(PanelPropertiesTest, GainSearchStartsBelowTheTargetAndCanReachItEvenly) {
    REQUIRE_CHIP_MAP();
    EXPECT_LT(SwingAt(image_, kRsStart, 30).a, kGainTarget - kImageTolerance);
    EXPECT_GT(SwingAt(image_, kRsStart, 1).a, kGainTarget);
    bool reached = false;
    for (int gain = 1; gain <= 30; ++gain) {
        const Peaks p = SwingAt(image_, kRsStart, gain);
        if (p.a < 10) continue;
        EXPECT_LE(p.b * 10 / p.a, 20) << "gain " << gain << ": " << p.b << "/" << p.a;
        if (std::abs(p.a - kGainTarget) <= kImageTolerance) {
            reached = true;
            EXPECT_LT(p.b, kGainHigh) << "gain " << gain;
        }
    }
    EXPECT_TRUE(reached);
}

// M matches the truth, is positive everywhere, and I = M sin(phase), Q = M cos(phase) / sqrt(3)
// with a phase that varies slowly between neighbours.
TEST_P(PanelPropertiesTest, FramesAgreeInIQAndMagnitudeWithTheTruth) {
    const auto m = Frame(0x4080), i = Frame(0x4004), q = Frame(0x4200);
    ASSERT_EQ(m.size(), static_cast<size_t>(C().Geometry().txCount));
    ASSERT_EQ(i.size(), m.size());
    ASSERT_EQ(q.size(), m.size());
    const TruthFile truth = Truth();
    ASSERT_EQ(truth.Number("frame_tx"), C().Geometry().txCount);
    ASSERT_EQ(truth.Number("frame_rx"), C().Geometry().rxCount);
    const double k = 3.14159265358979 / 3.1415;
    for (size_t t = 0; t < m.size(); ++t) {
        const auto expected = truth.Magnitude(static_cast<int>(t));
        const auto phase = truth.Phase(static_cast<int>(t));
        double previousPhase = -1;
        for (size_t r = 0; r < m[t].size(); ++r) {
            const double noise = 0.01 * expected[r] + 6;  // four sigma of the noise floor
            ASSERT_GT(m[t][r], 0) << t << "," << r;
            ASSERT_GT(i[t][r], 0) << t << "," << r;
            ASSERT_NEAR(m[t][r], expected[r], noise) << t << "," << r;
            const double fromIq = std::sqrt(double(i[t][r]) * i[t][r] + 3.0 * q[t][r] * q[t][r]);
            ASSERT_NEAR(fromIq, m[t][r], 2 * noise) << t << "," << r;
            // Noise of I and Q turns the measured phase by up to 600 / M degrees (about 4 sigma).
            const double phaseNoise = 600.0 / m[t][r];
            const double measured = CTuneData::PhaseDegrees(i[t][r], q[t][r]) / k;
            ASSERT_NEAR(measured, phase[r], 0.5 + phaseNoise) << t << "," << r;
            if (previousPhase >= 0) {
                ASSERT_LT(std::abs(measured - previousPhase), 3.0 + 2 * phaseNoise)
                    << t << "," << r;
            }
            previousPhase = measured;
        }
    }
}

// Each scaling step halves the frame, and some scaling puts its largest value into 1000..2200.
TEST_P(PanelPropertiesTest, FrameHalvesPerScalingStepAndFitsTheWindowAtSomeStep) {
    REQUIRE_CHIP_MAP();
    double previous = 0;
    bool inWindow = false;
    for (int s = 0; s <= Chip().GetScalingMax(); ++s) {
        ASSERT_EQ(C().Hw().SetTestScaling(0, s), 0);
        int largest = 0;
        for (const auto& row : Frame(0x4080))
            for (int v : row) largest = std::max(largest, v);
        if (s > 0 && previous >= 64) {
            EXPECT_NEAR(largest, previous / 2, 0.02 * previous / 2 + 4) << s;
        }
        inWindow = inWindow || (largest >= 1000 && largest <= 2200);
        previous = largest;
    }
    EXPECT_TRUE(inWindow);
}

TEST_P(PanelPropertiesTest, AxisLineIsLinearInTheMeasureCountAndHalvedPerScalingStep) {
    REQUIRE_CHIP_MAP();
    ASSERT_TRUE(Chip().EnterSignalTestMode(image_, CSlave::kScanImage));
    ASSERT_TRUE(Chip().WriteMeasureCnt(CSlave::kAllChips, image_, 10));
    const auto base = AxisLine();
    ASSERT_TRUE(Chip().WriteMeasureCnt(CSlave::kAllChips, image_, 40));
    const auto four = AxisLine();
    ASSERT_TRUE(Chip().WriteScaling(CSlave::kAllChips, image_, Chip().GetScaling(image_) + 1));
    const auto two = AxisLine();
    // Per channel within 2 % plus four sigma of the readings' noise (0.15 % and a count each,
    // the base reading's multiplied); over all channels within 1 %.
    auto sigma = [](double v) { return 0.0015 * v + 1.0; };
    auto tolerance = [&](double factor, double base, double v) {
        return 0.02 * factor * base + 4 * std::hypot(factor * sigma(base), sigma(v));
    };
    double sumBase = 0, sumFour = 0, sumTwo = 0;
    for (size_t r = 0; r < base.size(); ++r) {
        ASSERT_GT(base[r], 50) << r;  // well above the noise of a count, so 2 % means something
        EXPECT_NEAR(four[r], 4.0 * base[r], tolerance(4, base[r], four[r])) << r;
        EXPECT_NEAR(two[r], 2.0 * base[r], tolerance(2, base[r], two[r])) << r;
        sumBase += base[r], sumFour += four[r], sumTwo += two[r];
    }
    EXPECT_NEAR(sumFour / sumBase, 4.0, 0.04);
    EXPECT_NEAR(sumTwo / sumBase, 2.0, 0.02);
}

// The signal test averages the swing over the measure count and keeps bits below the AFE byte,
// so on the driven line its samples peak at that line's optimal delay, both at a tuned gain and
// at RS 1 with the weakest gain code, where the swing is less than one byte (the fixed-gain
// rule searches its delay there): the sample where the weakest channel is strongest lies on the
// flat top, which stands clear of the response's floor.
TEST_P(PanelPropertiesTest, SignalTestSamplesPeakAtTheOptimalDelayEvenBelowOneAfeByte) {
    REQUIRE_CHIP_MAP();
    C().Hw().InitPhaseTargets();
    const int channel = C().Hw().PhaseTarget(5);
    const TruthFile truth = Truth();
    const auto lines = truth.Numbers("frame_tx_lines");
    const auto delays = truth.Numbers("optimal_delay");
    ASSERT_LT(channel, static_cast<int>(lines.size()));
    const int optimal =
        static_cast<int>(delays[static_cast<size_t>(lines[static_cast<size_t>(channel)])]);
    const struct {
        int rs, gain;
        bool belowOneByte;
    } cases[] = {{8, 15, false}, {1, 29, true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Chip().EnterSignalTestMode(image_, CSlave::kScanImage));
        ASSERT_TRUE(Chip().WriteRs(CSlave::kAllChips, image_, c.rs));
        ASSERT_TRUE(Chip().WriteAfeGain(CSlave::kAllChips, image_, c.gain));
        ASSERT_TRUE(Chip().WriteMeasureCnt(CSlave::kAllChips, image_, 15));
        ASSERT_TRUE(
            C().Api().SetTestMode(static_cast<uint8_t>(channel), static_cast<uint8_t>(channel)));
        ASSERT_TRUE(Data().AcquireAfeSamples(c.gain, CSlave::kScanImage, image_)) << c.rs;
        const int rows = std::min(Chip().GetSinTableLength(image_), CTuneData::kFrameRows);
        ASSERT_LT(optimal + 6, rows);
        const int channels = C().Geometry().rxCount;
        std::vector<double> mean(static_cast<size_t>(rows), 0.0);
        int strongestWeakest = 0, weakestAt = -1;
        for (int s = 0; s < rows; ++s) {
            int weakest = 32767;
            for (int r = 0; r < channels; ++r) {
                const int v = Data().FrameValue(s, r);
                weakest = std::min(weakest, v);
                mean[static_cast<size_t>(s)] += v / static_cast<double>(channels);
            }
            if (weakest > strongestWeakest) strongestWeakest = weakest, weakestAt = s;
        }
        const std::string where = "RS " + std::to_string(c.rs) + ", gain " + std::to_string(c.gain);
        EXPECT_NEAR(weakestAt, optimal, 2) << where;
        const double top = mean[static_cast<size_t>(optimal)];
        EXPECT_GT(top, 2.5 * mean[static_cast<size_t>(optimal + 6)]) << where;
        if (c.belowOneByte) {
            EXPECT_LT(top, 256) << where;
        } else {
            EXPECT_GT(top, 8 * 256) << where;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Chips, PanelPropertiesTest, testing::ValuesIn(kChipCases), ChipCaseName);

}  // namespace
