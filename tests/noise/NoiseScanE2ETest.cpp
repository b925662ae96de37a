// detect_noise as a user runs it: the builder scans the simulated panel's noise spectrum into the
// sensor-test log, and the spectrum is judged against the interference sources the simulator
// says are there (its truth file).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "NoiseScanE2E.h"

namespace {

struct SourceCase {
    const char* name;
    const char* profile;
    size_t linesPerPass;
};
void PrintTo(const SourceCase& c, std::ostream* os) {
    *os << c.name;
}

class NoiseSourcesE2ETest : public NoiseScanE2ETest,
                            public testing::WithParamInterface<SourceCase> {};

TEST_P(NoiseSourcesE2ETest, SpectrumShowsTheSourcesAndNothingElse) {
    Settings(1);
    const ScanRun run = Run(GetParam().profile);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Loop = 1"), std::string::npos);
    const auto lines = Spectrum();
    EXPECT_EQ(lines.size(), GetParam().linesPerPass);
    ExpectSourcesShown(lines, Truth());
}

INSTANTIATE_TEST_SUITE_P(
    Panels, NoiseSourcesE2ETest,
    testing::Values(
        // Clock scans: five clocks with 25 prescalers each.
        SourceCase{"ClockScan", "model = K7P100\nnoise_source = 150:300:1", 125},
        SourceCase{"ClockScanT320", "model = K7P128\nnoise_source = 101:300:1", 125},
        // A source on the second chip's lines only, read by a chip with a gain error: the
        // spectrum shows it at its calibrated strength.
        SourceCase{"CalibratedSecondChip",
                   "model = K9P100\nchip_gain = 1.0,1.25\nnoise_source = 150:300:1:rx120-130", 125},
        SourceCase{"TwoSources", "model = K7P80\nnoise_source = 150:300:1,80:120:1", 125},
        // The divider scan: dividers 3 to 10 with the prescalers whose sine table fits.
        SourceCase{"DividerScan", "model = K7P84\nnoise_source = 121:400:1", 78},
        SourceCase{"QuietPanel", "model = K9P80", 125}),
    [](const testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.name); });

// The frequencies the two scans print, and which settings they step through.
TEST_F(NoiseScanE2ETest, ClockScanPrintsEachClocksFrequencies) {
    Settings(1);
    const ScanRun run = Run("model = K7P128");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto lines = Spectrum();
    ASSERT_EQ(lines.size(), 125u);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].clock, static_cast<int>(i / 25)) << i;
        EXPECT_EQ(lines[i].phase1, 12 + static_cast<int>(i % 25)) << i;
    }
    EXPECT_EQ(lines[0].kHzText, "250.00");
    EXPECT_EQ(lines[25].kHzText, "208.33");
    EXPECT_EQ(lines[124].kHzText, "34.72");  // clock 4, prescaler 36
}

TEST_F(NoiseScanE2ETest, DividerScanStopsWhereTheSineTableNoLongerFits) {
    Settings(1);
    const ScanRun run = Run("model = K7P84");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto lines = Spectrum();
    ASSERT_EQ(lines.size(), 78u);
    int lastOfDivider[31] = {};
    for (const SpectrumLine& l : lines) {
        EXPECT_EQ(l.clock, 0);
        ASSERT_GE(l.divider, 3);
        ASSERT_LE(l.divider, 10) << "a divider whose sine table cannot fit printed a line";
        EXPECT_LE(l.phase1 * l.divider, 128);
        lastOfDivider[l.divider] = std::max(lastOfDivider[l.divider], l.phase1);
        if (l.divider == 10) {
            EXPECT_EQ(l.kHzText, "75.00");
        }
    }
    EXPECT_EQ(lastOfDivider[3], 30);
    EXPECT_EQ(lastOfDivider[4], 30);
    EXPECT_EQ(lastOfDivider[5], 25);
    EXPECT_EQ(lastOfDivider[10], 12);
    // Dividers up to 30 are still written to the chips.
    EXPECT_NE(Trace().find("write_registers"), std::string::npos);
}

TEST_F(NoiseScanE2ETest, EachPassPrintsTheMaximumSoFar) {
    Settings(3);
    const ScanRun run = Run("model = K7P100\nnoise_source = 150:300:1");
    ASSERT_EQ(run.status, 0) << run.out;
    for (const char* loop : {"Loop = 1", "Loop = 2", "Loop = 3"})
        EXPECT_NE(run.out.find(loop), std::string::npos) << loop;
    const auto lines = Spectrum();
    ASSERT_EQ(lines.size(), 375u);
    for (size_t i = 0; i < 125; ++i) {
        EXPECT_EQ(lines[i].pass, 1);
        EXPECT_EQ(lines[i + 250].pass, 3);
        EXPECT_EQ(lines[i + 125].kHzText, lines[i].kHzText);
        EXPECT_GE(lines[i + 125].noise, lines[i].noise) << lines[i].kHzText;
        EXPECT_GE(lines[i + 250].noise, lines[i + 125].noise) << lines[i].kHzText;
    }
    ExpectSourcesShown(lines, Truth());
}

TEST_F(NoiseScanE2ETest, NoPassesMeasureNothingAfterThePreset) {
    Settings(0);
    const ScanRun run = Run("model = K7P100\nnoise_source = 150:300:1");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out.find("Loop"), std::string::npos);
    EXPECT_TRUE(Spectrum().empty());
    const std::string trace = Trace();
    EXPECT_NE(trace.find("write_registers"), std::string::npos) << "the preset is written";
    EXPECT_EQ(trace.find("set_clock"), std::string::npos);
    EXPECT_EQ(trace.find("set_test_mode"), std::string::npos);
}

}  // namespace
