// The noise scan against the simulated controller in this process: the noise readings it takes
// show a source only on the lines the source reaches, and a research run reports its progress per
// pass to the driving tool's window.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "PanelFixture.h"
#include "core/Progress.h"
#include "device/CMCU.h"
#include "params/CParam_INI.h"
#include "platform/WindowNotice.h"
#include "tune/NoiseScan.h"

namespace {

class NoiseScanSimTest : public testing::Test, public PanelFixture {
  protected:
    void TearDown() override {
        SetProgressNotifier(nullptr);
        Close();
    }

    // One noise reading of every Rx channel at a sensing clock and prescaler.
    std::vector<int> NoiseLine(int clock, int phase1) {
        std::array<uint8_t, CSlave::kImageBufferSize> image{};
        EXPECT_TRUE(Chip().EnterNoiseScanMode(image));
        EXPECT_TRUE(C().Api().SetClock(static_cast<uint8_t>(clock)));
        EXPECT_TRUE(Chip().WritePhase1(CSlave::kAllChips, image, phase1));
        EXPECT_TRUE(C().Api().SetTestMode(255, 255));
        std::vector<uint8_t> bytes(static_cast<size_t>(Chip().GetMaxRxChannels()) * 2);
        EXPECT_TRUE(Chip().ReadAxisLine(CSlave::kScanNoise, bytes));
        std::vector<int> line;
        for (int i = 0; i < C().Geometry().rxCount; ++i)
            line.push_back(static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8));
        return line;
    }

    // The settings file in the working folder with the pass count, loaded.
    void LoadPasses(int passes) {
        std::ofstream(folder_ / "K7PXXX_Default.ini")
            << "[Sensor Test]\nNoiseSpectrumGetTimes=" << passes << "\n";
        C().Ini().InitDefaultFileName();
        testing::internal::CaptureStdout();
        const int loaded = C().Ini().LoadTxtFile();
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(loaded, 0);
        ASSERT_EQ(C().Ini().NoiseSpectrumGetTimes(), passes);
    }
};

TEST_F(NoiseScanSimTest, ASourceShowsOnlyOnTheLinesItReaches) {
    Open("model = K9P100\nnoise_source = 150:300:1:rx120-130", 164);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(Truth().Text("noise_source"), "150:300:1:rx120-130");
    const int floor = Truth().Number("noise_floor");
    ASSERT_NEAR(C().Mcu().CalcFrequency(0, 20, 3), 150.0, 0.01);
    const auto atSource = NoiseLine(0, 20);
    ASSERT_GT(atSource.size(), 131u);
    for (size_t r = 0; r < atSource.size(); ++r) {
        if (r >= 120 && r <= 130)
            EXPECT_GE(atSource[r], 0.8 * 300) << r;
        else
            EXPECT_LE(atSource[r], floor) << r;
    }
    // Three widths away the source has gone.
    for (int v : NoiseLine(0, 21)) EXPECT_LE(v, floor);  // 142.86 kHz
}

class RecordingNotifier : public platform::CWindowNotifier {
  public:
    explicit RecordingNotifier(std::vector<std::string>& sent) : sent_(sent) {}
    bool Send(std::size_t target, const std::string& name) override {
        sent_.push_back(std::to_string(target) + ":" + name);
        return true;
    }

  private:
    std::vector<std::string>& sent_;
};

struct ProgressCase {
    const char* model;
    int typeCode, passes;
    std::vector<std::string> expected;
};
void PrintTo(const ProgressCase& c, std::ostream* os) {
    *os << c.model;
}

// The clock scan sends ten times the pass before each of its five clocks, as an 8-bit value; the
// divider scan sends it once after each of the first eight passes.
ProgressCase ClockScanProgress() {
    ProgressCase c{"K7P100", 94, 10, {}};
    for (int pass = 1; pass <= 10; ++pass)
        for (int clock = 0; clock < 5; ++clock)
            c.expected.push_back(pass < 10 ? "0:processed_" + std::to_string(10 * pass)
                                           : "0:processed_done");
    return c;
}

ProgressCase DividerScanProgress() {
    ProgressCase c{"K7P84", 176, 9, {}};  // nothing after the ninth pass
    for (int pass = 1; pass <= 8; ++pass)
        c.expected.push_back("0:processed_" + std::to_string(10 * pass));
    return c;
}

class NoiseScanProgressTest : public NoiseScanSimTest,
                              public testing::WithParamInterface<ProgressCase> {};

TEST_P(NoiseScanProgressTest, ResearchRunReportsEachPass) {
    const ProgressCase& c = GetParam();
    options_.fixed.research = true;
    Open(c.model, c.typeCode);
    ASSERT_FALSE(HasFatalFailure());
    LoadPasses(c.passes);
    ASSERT_FALSE(HasFatalFailure());
    std::vector<std::string> sent;
    SetProgressNotifier(std::make_unique<RecordingNotifier>(sent));
    testing::internal::CaptureStdout();
    const uint32_t result = NoiseSpectrumScan(C());
    testing::internal::GetCapturedStdout();
    SetProgressNotifier(nullptr);
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(sent, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Scans, NoiseScanProgressTest,
                         testing::Values(ClockScanProgress(), DividerScanProgress()),
                         [](const testing::TestParamInfo<ProgressCase>& info) {
                             return std::string(info.param.model);
                         });

}  // namespace
