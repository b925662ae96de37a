// The workspace's short-test handler fed by hand: where each report kind lands, the old and the
// new Rx row layout, the completion, and that no report can write outside its area.
#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>

#include "controller/Controller.h"
#include "core/BuilderOptions.h"
#include "device/DevLinkApi.h"
#include "diag/CTuneData.h"

namespace {

// A short-test report: the flag, the header bytes after it, then the values; the count byte
// covers them unless given.
DevReport Short(int flag, std::initializer_list<int> head, std::initializer_list<int> values,
                int count = -1) {
    DevReport r{};
    r.bytes[2] = 0x3F;
    r.bytes[3] = 0x53;
    r.bytes[4] = static_cast<uint8_t>(flag);
    size_t at = 5;
    for (int b : head) r.bytes[at++] = static_cast<uint8_t>(b);
    for (int v : values)
        if (at < 64) r.bytes[at++] = static_cast<uint8_t>(v);
    r.bytes[1] = static_cast<uint8_t>(count >= 0 ? count : static_cast<int>(at) - 2);
    return r;
}

class ShortReportsTest : public testing::Test {
  protected:
    ShortReportsTest()
        : controller_(RealDevLink(), nullptr, DevRecord{}, 164, "K9P100", options_),
          data_(&controller_) {
        ControllerGeometry& g = controller_.EditGeometry();
        g.rxPerChip = 100;
        g.txPerChip = 64;
        controller_.EditIdentity().kernelMajor = 5;
        controller_.EditIdentity().kernelMinor = 120;
        data_.ArmShort();
    }

    bool Complete() { return data_.DataEvent().Wait(std::chrono::milliseconds(0)); }
    int MatrixCellsSet() {
        int n = 0;
        for (int r = 0; r < CTuneData::kMatrixSize; ++r)
            for (int c = 0; c < CTuneData::kMatrixSize; ++c) n += data_.MatrixValue(r, c) != 0;
        return n;
    }

    BuilderOptions options_;  // read by the controller, so it outlives it
    CController controller_;
    CTuneData data_;
};

TEST_F(ShortReportsTest, EachReportLandsInItsArea) {
    // List entries count six bytes: flag, index, value and one spare.
    data_.OnShortReport(Short(0x01, {7}, {-12, 0}));        // Rx list 7
    data_.OnShortReport(Short(0x81, {9}, {96, 0}));         // Tx list 9
    data_.OnShortReport(Short(0x03, {1, 4, 10}, {-5, 6}));  // Rx matrix, chip 1 row 4
    data_.OnShortReport(Short(0x83, {1, 2, 20}, {-7, 8}));  // Tx matrix, chip 1 row 2
    EXPECT_EQ(data_.ShortListValue(false, 7), -12);
    EXPECT_EQ(data_.ShortListValue(true, 9), 96);
    EXPECT_EQ(data_.ShortListValue(true, 7), 0);
    EXPECT_EQ(data_.MatrixValue(104, 10), -5);
    EXPECT_EQ(data_.MatrixValue(104, 11), 6);
    EXPECT_EQ(data_.FrameValue(66, 20), -7);
    EXPECT_EQ(data_.FrameValue(66, 21), 8);
    EXPECT_FALSE(Complete());

    data_.OnShortReport(Short(0x81, {}, {}));  // count 3: the completion
    EXPECT_TRUE(Complete());
    data_.OnShortReport(Short(0x01, {7}, {55, 0}));
    EXPECT_EQ(data_.ShortListValue(false, 7), -12) << "nothing is taken after the completion";

    data_.ArmShort();
    EXPECT_EQ(data_.MatrixValue(104, 10), 0) << "a new step starts from clear areas";
    EXPECT_EQ(data_.FrameValue(66, 20), 0);
}

// Kernels 2.0 to 2.43 send Rx rows numbered across the chips, without a chip byte.
TEST_F(ShortReportsTest, OldKernelsNumberRxRowsAcrossTheChips) {
    controller_.EditIdentity().kernelMajor = 2;
    controller_.EditIdentity().kernelMinor = 43;
    data_.OnShortReport(Short(0x03, {150, 3}, {40, -41}));
    EXPECT_EQ(data_.MatrixValue(150, 3), 40);
    EXPECT_EQ(data_.MatrixValue(150, 4), -41);
    // The Tx rows keep their chip byte.
    data_.OnShortReport(Short(0x83, {1, 0, 0}, {9}));
    EXPECT_EQ(data_.FrameValue(64, 0), 9);

    controller_.EditIdentity().kernelMinor = 44;
    data_.OnShortReport(Short(0x03, {1, 50, 3}, {42}));
    EXPECT_EQ(data_.MatrixValue(150, 3), 42);
}

TEST_F(ShortReportsTest, NothingIsWrittenOutsideAnArea) {
    // A count byte of 200 covers the report's end and no further: 56 values from byte 8.
    data_.OnShortReport(
        Short(0x03, {0, 0, 0},
              std::initializer_list<int>({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                          1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                          1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}),
              200));
    EXPECT_EQ(data_.MatrixValue(0, 55), 1);
    EXPECT_EQ(data_.MatrixValue(0, 56), 0);

    // Rows past the matrix (chip 3, row 99: row 399) and the frame area (Tx row 3 x 64 + 63) are
    // dropped; columns past 255 are cut.
    data_.OnShortReport(Short(0x03, {3, 99, 0}, {5}));
    data_.OnShortReport(Short(0x83, {3, 63, 0}, {5}));
    EXPECT_EQ(MatrixCellsSet(), 56);
    data_.OnShortReport(Short(0x03, {2, 55, 250}, {3, 3, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(data_.MatrixValue(255, 255), 3);
    EXPECT_EQ(data_.MatrixValue(255, 250), 3);
    EXPECT_EQ(data_.ShortListValue(false, 0), 0) << "the lists follow the matrix";
    EXPECT_EQ(data_.ShortListValue(false, 1), 0);
    data_.OnShortReport(Short(0x83, {2, 31, 254}, {4, 4, 4}));  // row 159, the frame's last
    EXPECT_EQ(data_.FrameValue(159, 255), 4);
    EXPECT_EQ(MatrixCellsSet(), 56 + 6) << "the matrix follows the frame area";
    EXPECT_EQ(data_.MatrixValue(0, 0), 1);

    // Lists take exactly six counted bytes; shorter or longer entries are not list entries.
    data_.OnShortReport(Short(0x01, {5}, {9, 0}, 5));
    data_.OnShortReport(Short(0x01, {5}, {9, 0}, 7));
    EXPECT_EQ(data_.ShortListValue(false, 5), 0);
    data_.OnShortReport(Short(0x01, {255}, {9, 0}));
    EXPECT_EQ(data_.ShortListValue(false, 255), 9) << "the list covers 255 channels";
    EXPECT_FALSE(Complete()) << "a completion is three counted bytes and the Tx flag";
    data_.OnShortReport(Short(0x01, {}, {}));
    data_.OnShortReport(Short(0x81, {}, {}, 2));
    EXPECT_FALSE(Complete());
}

}  // namespace
