// The workspace's report handlers fed by hand: what a report may change in the frame area, when a
// frame or a sample set is complete, and that nothing a report claims can write outside the area.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <initializer_list>

#include "ScratchFolder.h"
#include "device/DevLinkApi.h"
#include "diag/CTuneData.h"
#include "controller/Controller.h"
#include "core/BuilderOptions.h"

namespace {

// An image report: raw row, first column, values; the count byte covers them unless given.
DevReport Report(int row, int first, std::initializer_list<int> values, int count = -1) {
    DevReport r{};
    r.bytes[1] = static_cast<uint8_t>(count >= 0 ? count : 3 + 2 * static_cast<int>(values.size()));
    r.bytes[2] = 0x4A;
    r.bytes[3] = static_cast<uint8_t>(row);
    r.bytes[4] = static_cast<uint8_t>(first);
    int i = 0;
    for (int v : values) {
        if (5 + 2 * i + 1 >= 64) break;
        r.bytes[static_cast<size_t>(5 + 2 * i)] = static_cast<uint8_t>(v);
        r.bytes[static_cast<size_t>(6 + 2 * i)] = static_cast<uint8_t>(v >> 8);
        ++i;
    }
    return r;
}

class TuneDataReportsTest : public testing::Test {
  protected:
    TuneDataReportsTest()
        : controller_(RealDevLink(), nullptr, DevRecord{}, 94, "K7P100", options_),
          data_(&controller_) {
        ControllerGeometry& g = controller_.EditGeometry();
        g.rowOffset1 = 1;
        g.rowOffset2 = 1;
        g.txCount = 2;
        g.rxCount = 3;
    }

    // The event was set: the awaited data is complete.
    bool Complete() { return data_.DataEvent().Wait(std::chrono::milliseconds(0)); }

    BuilderOptions options_;  // read by the controller, so it outlives it
    CController controller_;
    CTuneData data_;
};

TEST_F(TuneDataReportsTest, LeadRowsAndShortReportsChangeNothing) {
    data_.ArmFrame();
    data_.OnFrameReport(Report(0, 0, {7, 7, 7}));     // L1 row
    data_.OnFrameReport(Report(1, 0, {7, 7, 7}));     // L2 row
    data_.OnFrameReport(Report(2, 0, {7, 7, 7}, 2));  // L below 3
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(data_.FrameValue(0, r), 0);
        EXPECT_FALSE(data_.Received(0, r));
    }
    EXPECT_FALSE(Complete());
}

// Raw rows 2 and 3 are Tx lines 0 and 1; the last report of the last row completes the frame only
// once every cell arrived.
TEST_F(TuneDataReportsTest, FrameCompletesOnlyWhenEveryCellArrived) {
    data_.ArmFrame();
    data_.OnFrameReport(Report(2, 0, {10, 11}));  // Tx 0, Rx 0..1: Rx 2 is missing
    data_.OnFrameReport(Report(3, 0, {20, 21, 22}));
    EXPECT_FALSE(Complete()) << "a frame with a missing cell";
    data_.OnFrameReport(Report(2, 2, {12}));
    EXPECT_FALSE(Complete()) << "the missing cell alone is not the frame's last report";
    data_.OnFrameReport(Report(3, 0, {30, 31, 32}));
    EXPECT_TRUE(Complete());
    EXPECT_EQ(data_.FrameValue(0, 2), 12);
    EXPECT_EQ(data_.FrameValue(1, 0), 30);
    EXPECT_EQ(data_.FrameValue(1, 2), 32);

    // The stream goes on until the mode switch; a completed frame is not overwritten.
    data_.OnFrameReport(Report(2, 0, {-1, -1, -1}));
    data_.OnFrameReport(Report(3, 0, {-1, -1, -1}));
    EXPECT_EQ(data_.FrameValue(0, 0), 10);
    EXPECT_EQ(data_.FrameValue(1, 1), 31);
    EXPECT_FALSE(Complete());
}

TEST_F(TuneDataReportsTest, ReportsThatWouldWriteOutsideTheAreaAreCut) {
    data_.ArmFrame();
    // A count byte of 255 claims values past the report: only the 29 a report holds are read.
    std::initializer_list<int> many = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                       16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29};
    data_.OnFrameReport(Report(2, 0, many, 255));
    EXPECT_EQ(data_.FrameValue(0, 28), 29);
    EXPECT_FALSE(data_.Received(0, 29));
    // Columns from 250: six fit in the area, the rest is dropped.
    data_.OnFrameReport(Report(4, 250, many));
    EXPECT_EQ(data_.FrameValue(2, 255), 6);
    EXPECT_TRUE(data_.Received(2, 255));
    // Rows past the area's 160 rows.
    data_.OnFrameReport(Report(2 + 160, 0, {99}));
    data_.OnFrameReport(Report(255, 0, {99}));
    for (int t = 0; t < CTuneData::kFrameRows; ++t) EXPECT_NE(data_.FrameValue(t, 0), 99) << t;
}

// Sample rows complete on the last row ending at the channel count: the Tx count on the Tx axis,
// which the read marks and the completion clears, so the next read ends on the Rx count again.
TEST_F(TuneDataReportsTest, TxAxisSamplesCompleteOnTheTxCountAndClearTheMark) {
    controller_.EditGeometry().txCount = 4;
    data_.ArmSamples(5, true);
    EXPECT_EQ(data_.TxScanMark(), 1);
    data_.OnSampleReport(Report(4, 0, {1, 2, 3}));  // the Rx count: not the end on the Tx axis
    EXPECT_FALSE(Complete());
    data_.OnSampleReport(Report(4, 0, {1, 2, 3, 4}));
    EXPECT_TRUE(Complete());
    EXPECT_EQ(data_.TxScanMark(), 0);
    EXPECT_EQ(data_.FrameValue(2, 3), 4) << "raw row 4 is sample record 2";

    data_.ArmSamples(5, false);
    data_.OnSampleReport(Report(4, 0, {1, 2, 3, 4}));
    EXPECT_FALSE(Complete());
    data_.OnSampleReport(Report(4, 0, {1, 2, 3}));
    EXPECT_TRUE(Complete());
}

// acos(sqrt(3) Q / sqrt(3 Q Q + I I)), scaled with 180 / 3.1415 as the dump prints it, plus 180
// for a negative I.
TEST(TuneDataPhaseTest, PhaseOfIAndQ) {
    const double k = 3.14159265358979 / 3.1415;  // the dump's scaling against true degrees
    struct Case {
        int i, q;
        double degrees;
    };
    const Case cases[] = {
        {500, 0, 90.0 * k},           // Q = 0
        {-500, 0, 90.0 * k + 180.0},  // Q = 0, negative I
        {0, 400, 0.0},                // all of the signal in Q
        {30000, 30000, 30.0 * k},     // 3 Q Q is far beyond a 32-bit int
        {-30000, 30000, 30.0 * k + 180.0},
        {-20000, -32768, 340.593},  // Q < 0: v below 0, within acos's domain
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(CTuneData::PhaseDegrees(c.i, c.q), c.degrees, 0.01) << c.i << "," << c.q;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%3.3f", CTuneData::PhaseDegrees(1, 0));
    EXPECT_STREQ(text, "90.003");
    std::snprintf(text, sizeof text, "%3.3f", CTuneData::PhaseDegrees(-1, 0));
    EXPECT_STREQ(text, "270.003");
}

}  // namespace

namespace {

// A controller built without a device (default files) has nothing to wait for.
TEST(TuneDataWithoutDevice, FrameReadFailsAtOnce) {
    // The failure is logged: into a folder of the test's own.
    const testsupport::ScratchFolder folder("tunedata-log");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const BuilderOptions options;
    CController controller(RealDevLink(), nullptr, DevRecord{}, 94, "K7P100", options);
    controller.CreateObjects();
    testing::internal::CaptureStdout();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(controller.TuneData().AcquireFrame(0x4080));
    const auto took = std::chrono::steady_clock::now() - start;
    testing::internal::GetCapturedStdout();
    EXPECT_LT(took, std::chrono::seconds(1));
    std::filesystem::current_path(previous);
}

}  // namespace
