// The workspace's reads against the simulated controller: streams that stop, lose a report or a
// burst, a disconnect during a read, sample sets that cannot fit, the Tx-axis read, the dumps and
// the choice of the test frequency.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <tuple>

#include "PanelFixture.h"
#include "params/CParam_SW.h"
#include "params/HwLayout.h"
#include "params/SwLayout.h"
#include "core/BuilderLog.h"

namespace {

using namespace std::chrono_literals;

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

std::string LastLine(const std::string& text) {
    std::istringstream in(text);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty()) last = line;
    return last;
}

class TuneDataSimTest : public testing::Test, protected PanelFixture {
  protected:
    void TearDown() override { Close(); }

    // The Img mode image of frequency 0 in the gain-test preset, as the tuning searches use it.
    std::array<uint8_t, 68> GainTestImage(int scanType = CSlave::kScanImage) {
        std::array<uint8_t, 68> image{};
        const auto img = C().Hw().ModeImage(0, CSlave::kGroupImg);
        std::copy(img.begin(), img.end(), image.begin());
        EXPECT_TRUE(Chip().EnterGainTestMode(image, scanType));
        return image;
    }
};

TEST_F(TuneDataSimTest, AStreamThatStopsEndsTheReadAfterThreeWaits) {
    Open("model = K7P100\nframes_stop_after = 0", 94);
    ASSERT_FALSE(HasFatalFailure());
    Data().SetWaitPeriod(100ms);
    testing::internal::CaptureStdout();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Data().AcquireFrame(0x4080));
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Count(out, "Get Image Data Fail"), CTuneData::kFrameWaits);
    EXPECT_LT(took, 5s);
    EXPECT_EQ(LastLine(Trace()), "switch_mode mode=0x8000 -> ok") << "back in command mode";
}

TEST_F(TuneDataSimTest, AFrameMissingAReportIsPassedOverForTheNext) {
    Open("model = K7P100\nmissing_report_in_frame = 1", 94);
    ASSERT_FALSE(HasFatalFailure());
    testing::internal::CaptureStdout();
    ASSERT_TRUE(Data().AcquireFrame(0x4080));
    testing::internal::GetCapturedStdout();
    const TruthFile truth = Truth();
    for (int t = 0; t < C().Geometry().txCount; ++t) {
        const auto expected = truth.Magnitude(t);
        const auto row = FrameRow(t);
        for (size_t r = 0; r < row.size(); ++r)
            ASSERT_NEAR(row[r], expected[r], 0.01 * expected[r] + 6) << t << "," << r;
    }
}

// The controller disconnects right after it took the switch to the image mode: the read ends at
// once, not after its 30 s wait.
TEST_F(TuneDataSimTest, ADisconnectDuringAReadEndsItAtOnce) {
    Open("K7P100", 94);
    ASSERT_FALSE(HasFatalFailure());
    const int requests = Count(Trace(), "\n") - 1;  // every line but the opening one
    Close();
    Open("model = K7P100\ndisconnect_after = " + std::to_string(requests + 1), 94);
    ASSERT_FALSE(HasFatalFailure());
    testing::internal::CaptureStdout();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Data().AcquireFrame(0x4080));
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(C().Disconnected());
    EXPECT_LT(took, 5s);
    EXPECT_EQ(Count(out, "Get Image Data Fail"), 1);
}

TEST_F(TuneDataSimTest, AnAfeBurstMissingOrCutShortFailsTheRead) {
    for (const char* fault : {"missing", "truncated"}) {
        Open(std::string("model = K7P100\nafe_burst = ") + fault, 94);
        ASSERT_FALSE(HasFatalFailure());
        Data().SetWaitPeriod(300ms);
        auto image = GainTestImage();
        ASSERT_TRUE(C().Api().SetTestMode(4, 4));
        testing::internal::CaptureStdout();
        EXPECT_FALSE(Data().AcquireAfeSamples(20, CSlave::kScanImage, image)) << fault;
        EXPECT_EQ(Count(testing::internal::GetCapturedStdout(), "Get Image Data Fail"), 1) << fault;
        EXPECT_EQ(LastLine(Trace()), "switch_mode mode=0x8000 -> ok") << fault;
        Close();
    }
}

TEST_F(TuneDataSimTest, SampleSetsLargerThanTheAreaAreNeverRequested) {
    Open("K7P100", 94);
    ASSERT_FALSE(HasFatalFailure());
    auto image = GainTestImage();
    Chip().SetPhase1(image, 60);  // 60 x 3 = 180 rows against the area's 160
    ASSERT_GT(Chip().GetSinTableLength(image), CTuneData::kFrameRows);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Data().AcquireAfeSamples(20, CSlave::kScanImage, image));
    EXPECT_EQ(Count(testing::internal::GetCapturedStdout(), "Get Image Data Fail"), 1);
    EXPECT_EQ(Count(Trace(), "request_image"), 0);
}

// Along the Tx axis the rows carry one value per Tx line; the read completes on the Tx count, and
// the next read, along the Rx axis, on the Rx count again.
TEST_F(TuneDataSimTest, TxAxisReadCompletesOnTheTxCountThenRxAgain) {
    Open("K7P128", 96);
    ASSERT_FALSE(HasFatalFailure());
    auto image = GainTestImage(CSlave::kScanWLTx);
    ASSERT_TRUE(C().Api().SetTestMode(1, 255));
    ASSERT_TRUE(C().Api().SetTestMode(255, 255));
    testing::internal::CaptureStdout();
    ASSERT_TRUE(Data().AcquireAfeSamples(20, CSlave::kScanWLTx, image));
    EXPECT_EQ(Data().TxScanMark(), 0);
    const int tx = C().Geometry().txCount;
    EXPECT_GT(Data().FrameValue(14, tx - 1) >> 8, 0) << "the last Tx line has a swing";
    EXPECT_FALSE(Data().Received(14, tx)) << "no value past the Tx lines";

    image = GainTestImage();
    ASSERT_TRUE(C().Api().SetTestMode(4, 4));
    ASSERT_TRUE(Data().AcquireAfeSamples(20, CSlave::kScanImage, image));
    EXPECT_TRUE(Data().Received(14, C().Geometry().rxCount - 1));
    testing::internal::GetCapturedStdout();
}

// Without a hardware set read at start-up there is nothing to restore: the dump writes nothing.
TEST_F(TuneDataSimTest, RawDumpWithoutAFirstReadWritesNothing) {
    Open("model = K7P100\nbad_checksum = hw", 94);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(C().Hw().HasFirstRead());
    testing::internal::CaptureStdout();
    EXPECT_EQ(Data().DumpRaw16(0), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Set Test Parameter Fail...\n"),
              std::string::npos);
    EXPECT_EQ(Count(Trace(), "write_block"), 0);
}

// The phase the dump prints for every cell is the panel's phase.
TEST_F(TuneDataSimTest, PhaseDumpShowsThePanelsPhase) {
    Open("K7P100", 94);
    ASSERT_FALSE(HasFatalFailure());
    TestLog().Open(0, "PhaseDump");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Data().DumpPhase(), 0);
    testing::internal::GetCapturedStdout();
    std::ifstream log(TestLog().Path());
    const TruthFile truth = Truth();
    const double k = 3.14159265358979 / 3.1415;
    int rows = 0;
    for (std::string line; std::getline(log, line);) {
        if (line.rfind("Tx[", 0) != 0) continue;
        const auto expected = truth.Phase(rows);
        std::stringstream cells(line.substr(line.find(',') + 1));
        size_t r = 0;
        for (std::string cell; std::getline(cells, cell, ','); ++r) {
            ASSERT_LT(r, expected.size());
            // I and Q carry a count and 0.15 % of noise each: a degree at most.
            EXPECT_NEAR(std::stod(cell), expected[r] * k, 1.0) << rows << "," << r;
        }
        EXPECT_EQ(r, expected.size());
        ++rows;
    }
    EXPECT_EQ(rows, C().Geometry().txCount);
}

// The CSV heads each Tx column with its chip and pin and ends each Rx row with them, walking the
// chips' runs; a chip count the set cannot have, or runs shorter than the channels, never walk
// out of the four chips: past the last run the channels count on along the last chip.
TEST_F(TuneDataSimTest, FrameCsvWalksTheChipRunsWithinTheChips) {
    Open("K9P100", 164);  // two chips, Tx pins 0..39 and Rx pins 1..70 each
    ASSERT_FALSE(HasFatalFailure());
    auto header = [&] {
        TestLog().Open(0, "Walk");
        Data().DumpFrameCsv(C().Geometry().txCount, C().Geometry().rxCount);
        std::ifstream log(TestLog().Path());
        std::string first, rx70;
        std::getline(log, first);
        for (std::string line; std::getline(log, line);)
            if (line.rfind("Rx[70]", 0) == 0) rx70 = line;
        return std::make_pair(first, rx70);
    };
    auto [tx, rx] = header();
    EXPECT_NE(tx.find(",Chip-0[39],Chip-1[ 0],"), std::string::npos) << tx;
    EXPECT_NE(rx.find(",Chip-1[01]"), std::string::npos) << rx;

    C().Hw().SetByte(hw::kNumsOfTxChips, 1);    // chip 0's run covers only 40 of the 80 lines
    C().Hw().SetByte(hw::kNumsOfRxChips, 200);  // no such count: four chips at most
    C().Hw().SetByte(hw::kTxRange + 2, 50);     // and an inverted run
    C().Hw().SetByte(hw::kTxRange + 3, 10);
    std::tie(tx, rx) = header();
    EXPECT_NE(tx.find(",Chip-0[39],Chip-0[40],"), std::string::npos) << tx;
    EXPECT_NE(tx.find(",Chip-0[79]"), std::string::npos) << tx;
    EXPECT_NE(rx.find(",Chip-1[01]"), std::string::npos) << rx;
}

// Paced like a full-speed link, a frame cannot arrive faster than one report per millisecond;
// unpaced (the default) nothing waits for the link.
TEST_F(TuneDataSimTest, APacedLinkTakesItsTimePerReport) {
    setenv("DEVLINK_SIM_PACE", "fs", 1);
    Open("K7P84", 176);
    unsetenv("DEVLINK_SIM_PACE");
    ASSERT_FALSE(HasFatalFailure());
    testing::internal::CaptureStdout();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Data().AcquireFrame(0x4080));
    const auto took = std::chrono::steady_clock::now() - start;
    testing::internal::GetCapturedStdout();
    // 42 rows of 64 values in three reports each.
    EXPECT_GE(took, std::chrono::milliseconds(42 * 3));
}

TEST_F(TuneDataSimTest, TestFrequencyFollowsTheOptionsAndTheSets) {
    struct Case {
        int lb, la, a, b;
        bool diagnosticFrequency;
        int result;
        const char* selected;  // the trace of the frequency set, or nullptr when none
    };
    const Case cases[] = {
        {255, 255, 0, 0, false, 0, "set_frequency index=0"},  // FreqStartIndex
        {255, 255, 0, 0, true, 0, "set_frequency index=2"},   // the last frequency
        {0, 255, 0, 0, false, 0, "set_frequency index=0"},    // -Lb equal to FreqStartIndex
        {1, 255, 0, 0, false, 1, nullptr},                    // another -Lb alone is refused
        {1, 0, 10, 10, false, 0, "set_frequency index=1"},    // with -A, -B and -La
        {4, 0, 10, 10, false, 1, "set_frequency index=4"},    // the controller has only 3
    };
    Open("K7P100", 94);
    ASSERT_FALSE(HasFatalFailure());
    const BuilderOptions saved = options_;
    const uint16_t flags = C().Sw().Word(SwLayout::CtrlFlags(0));
    for (const Case& c : cases) {
        options_.sensorTest.testFreqB = static_cast<uint8_t>(c.lb);
        options_.sensorTest.testFreqA = static_cast<uint8_t>(c.la);
        options_.sensorTest.openScaling = static_cast<uint16_t>(c.a);
        options_.sensorTest.mutualScaling = static_cast<uint16_t>(c.b);
        C().Sw().SetWord(
            SwLayout::CtrlFlags(0),
            static_cast<uint16_t>(c.diagnosticFrequency ? flags | 0x200 : flags & ~0x200));
        std::ofstream(TracePath(), std::ios::trunc).close();
        testing::internal::CaptureStdout();
        EXPECT_EQ(Data().SelectTestFrequency(), c.result) << c.lb;
        const std::string out = testing::internal::GetCapturedStdout();
        if (c.result == 1) {
            EXPECT_NE(out.find("Set Test Freq Fail...\n"), std::string::npos);
        }
        if (c.selected != nullptr) {
            EXPECT_EQ(Count(Trace(), c.selected), 1) << c.lb;
        } else {
            EXPECT_EQ(Count(Trace(), "set_frequency"), 0) << c.lb;
        }
    }
    options_ = saved;
}

}  // namespace
