// Which chip reads a channel: the chips' runs of the hardware set counted one after another, the
// Tx runs for the water-line Tx scan and the Rx runs otherwise.
#include <gtest/gtest.h>

#include "FakeController.h"
#include "params/CParam_HW.h"
#include "params/HwLayout.h"
#include "tune/ChipOfChannel.h"

namespace {

class ChipOfChannelTest : public FakeControllerTest {
  protected:
    CParam_HW& Hw(int chips) {
        CController& c = Build(94, false);
        c.Hw().LoadDefault();
        c.Hw().SetByte(hw::kNumsOfRxChips, static_cast<uint8_t>(chips));
        // Rx: chip 0 pins 3-10 (channels 0-7), chip 1 pins 0-4 (8-12), chip 2 inverted (none),
        // chip 3 pins 1-2 (13-14). Tx: chip 0 pins 0-1 (0-1), chip 1 pins 5-9 (2-6).
        const uint8_t rx[8] = {3, 10, 0, 4, 9, 2, 1, 2};
        const uint8_t tx[8] = {0, 1, 5, 9, 0, 0, 0, 0};
        for (int i = 0; i < 8; ++i) {
            c.Hw().SetByte(hw::kRxRange + i, rx[i]);
            c.Hw().SetByte(hw::kTxRange + i, tx[i]);
        }
        return c.Hw();
    }
};

TEST_F(ChipOfChannelTest, ChannelsFallToTheChipWhoseRunHoldsThem) {
    struct Case {
        int chips, scanType, channel, chip;
    } cases[] = {
        {2, 1, 0, 0},     // chip 0's run: channels 0-7
        {2, 1, 7, 0},     //
        {2, 1, 8, 1},     // chip 1's run: channels 8-12
        {2, 1, 12, 1},    //
        {2, 2, 9, 1},     // water-line Rx reads the Rx runs too
        {2, 1, 13, 0},    // past every run
        {2, 1, -1, 0},    // before the first
        {4, 1, 13, 3},    // the inverted run of chip 2 holds nothing
        {4, 1, 14, 3},    //
        {4, 1, 15, 0},    // past the fourth run
        {1, 1, 8, 0},     // chip 1's run does not count with one chip
        {2, 3, 1, 0},     // the Tx runs: chip 0 channels 0-1
        {2, 3, 2, 1},     // chip 1 channels 2-6
        {2, 3, 6, 1},     //
        {2, 3, 7, 0},     // past them
        {255, 1, 14, 3},  // a count past four chips reads only the four runs there are
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChipOfChannel(Hw(c.chips), c.scanType, c.channel), c.chip)
            << c.chips << " chips, scan type " << c.scanType << ", channel " << c.channel;
    }
}

}  // namespace
