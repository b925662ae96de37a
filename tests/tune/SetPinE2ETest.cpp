// set_pin as a user runs it on a panel fresh from the factory, whose hardware set does not know
// the wiring yet: the channel ranges it stores (read back with dump_hw) are exactly the wired pin
// runs of the simulator's truth file. A panel without wired pins, or a controller that refuses the
// final write, never ends with the test ranges stored.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TuneCommandRun.h"
#include "WiredRuns.h"

namespace {

struct Wiring {
    const char* name;
    const char* profile;
};

class SetPinE2ETest : public TuneCommandRun, public testing::WithParamInterface<Wiring> {};

TEST_P(SetPinE2ETest, StoresTheWiredRuns) {
    UseProfile(std::string(GetParam().profile) + "\nwiring_unknown = 1");
    const auto before = DumpHw();
    const TruthFile truth = Truth();
    const auto tx = WiredRuns(truth.Text("wired_tx")), rx = WiredRuns(truth.Text("wired_rx"));
    ASSERT_FALSE(tx.empty());
    // The factory ranges are not the wiring, so nothing passes by leaving them alone.
    const std::vector<int> factory = {Number(before, "TxStart(0)"), Number(before, "TxEnd(0)"),
                                      Number(before, "RxStart(0)"), Number(before, "RxEnd(0)")};
    EXPECT_NE(factory, (std::vector<int>{tx[0].first, tx[0].last, rx[0].first, rx[0].last}));

    const CommandRun run = Run({"-cset_pin"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.result, "0x00000000\n");
    EXPECT_FALSE(Has(run.out, "Can't find Pin define")) << run.out;

    const auto after = DumpHw();
    for (const auto& r : tx) {
        EXPECT_EQ(Number(after, "TxStart(" + std::to_string(r.chip) + ")"), r.first) << r.chip;
        EXPECT_EQ(Number(after, "TxEnd(" + std::to_string(r.chip) + ")"), r.last) << r.chip;
    }
    for (const auto& r : rx) {
        EXPECT_EQ(Number(after, "RxStart(" + std::to_string(r.chip) + ")"), r.first) << r.chip;
        EXPECT_EQ(Number(after, "RxEnd(" + std::to_string(r.chip) + ")"), r.last) << r.chip;
    }
    // The frames follow the stored ranges: every frame channel is a wired panel line.
    ASSERT_EQ(Run({"-ccal_open"}).status, 0);
    for (const char* key : {"frame_tx_lines", "frame_rx_lines"})
        for (double line : Truth().Numbers(key)) EXPECT_GE(line, 0) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Wirings, SetPinE2ETest,
    testing::Values(
        Wiring{"OneChip", "model = K7P100\nwired_tx = 0:3-37\nwired_rx = 0:5-70"},
        Wiring{"TwoChips", "model = K9P100\nwired_tx = 0:2-45,1:0-39\nwired_rx = 0:4-88,1:1-60"},
        // The first chip is the smaller variant, whose channels end earlier.
        Wiring{"SmallFirstChip",
               "model = K9P80\nwired_tx = 0:1-50,1:3-60\nwired_rx = 0:2-77,1:1-95"},
        Wiring{"SmallChipFromPinZero", "model = K7P80\nwired_tx = 0:0-40\nwired_rx = 0:0-79"},
        Wiring{"RunsToTheChipsEnds", "model = K7P128\nwired_tx = 0:0-79\nwired_rx = 0:10-127"},
        Wiring{"T324", "model = K7P84\nwired_tx = 0:4-47\nwired_rx = 0:0-70"}),
    [](const testing::TestParamInfo<Wiring>& info) { return std::string(info.param.name); });

// set_pin's other ways to end, and the pin finding of fast_tune_calib.
class PinFindingE2ETest : public TuneCommandRun {};

TEST_F(PinFindingE2ETest, FastTuneCalibFindsThePinsThenPassesTheOpenTestOnThem) {
    UseProfile("model = K7P100\nwiring_unknown = 1\nwired_tx = 0:6-30\nwired_rx = 0:2-60");
    for (const char* bits : {"-Jb1", "-Jb3"}) {
        SCOPED_TRACE(bits);
        std::filesystem::remove(folder_ / "state");  // the factory set again
        const CommandRun run = Run({"-cfast_tune_calib", bits});
        ASSERT_EQ(run.status, 0) << run.out;
        // Bit 1 adds the signal adjustment and the open test, on the ranges just found.
        EXPECT_EQ(Has(run.out, "Open Test Pass"), std::string(bits) == "-Jb3") << run.out;
        const auto hw = DumpHw();
        EXPECT_EQ(Number(hw, "TxStart(0)"), 6);
        EXPECT_EQ(Number(hw, "TxEnd(0)"), 30);
        EXPECT_EQ(Number(hw, "RxStart(0)"), 2);
        EXPECT_EQ(Number(hw, "RxEnd(0)"), 60);
    }
}

TEST_F(PinFindingE2ETest, ResearchModeAlsoStoresThePanelSizeFromTheChannelsFound) {
    UseProfile("model = K7P100\nwiring_unknown = 1\nwired_tx = 0:6-30\nwired_rx = 0:2-60");
    const CommandRun run = Run({"-cset_pin", "-Jd"});
    ASSERT_EQ(run.status, 0) << run.out;
    const auto hw = DumpHw();
    EXPECT_EQ(Number(hw, "XDimension"), 59 * 60);  // 0.1 mm per unit, 6 mm a channel
    EXPECT_EQ(Number(hw, "YDimension"), 25 * 60);
}

TEST_F(PinFindingE2ETest, FastTuneCalibStopsAtAnOpenLineAfterStoringThePins) {
    UseProfile(
        "model = K7P100\nwiring_unknown = 1\nwired_tx = 0:6-30\nwired_rx = 0:2-60\n"
        "open_rx = 20");
    const CommandRun run = Run({"-cfast_tune_calib", "-Jb3"});
    EXPECT_EQ(run.status, 8) << run.out;
    EXPECT_EQ(run.result, "0x82000005\n");
    EXPECT_EQ(Number(DumpHw(), "RxEnd(0)"), 60);
}

TEST_F(PinFindingE2ETest, NoWiredPinsAsksTheUserToFitThem) {
    UseProfile("model = K9P100\nwiring_unknown = 1\nno_wired_pins = 1");
    const auto before = DumpHw();
    const CommandRun run = Run({"-cset_pin"});
    // The command itself ends normally: the user is told to set the ranges by hand.
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "Can't find Pin define, Please fit it by yourself")) << run.out;
    EXPECT_FALSE(Has(Trace(), "flag=1")) << Trace();
    EXPECT_EQ(DumpHw(), before);
}

TEST_F(PinFindingE2ETest, ARefusedFinalWriteFailsTheCommand) {
    UseProfile("model = K7P100\nwiring_unknown = 1\nrefuse_mode = 0x8001");
    const auto before = DumpHw();
    const CommandRun run = Run({"-cset_pin"});
    EXPECT_EQ(run.status, 8) << run.out;
    EXPECT_EQ(run.result, "0x82200001\n");
    EXPECT_FALSE(Has(Trace(), "flag=1")) << Trace();
    EXPECT_EQ(DumpHw(), before);
}

TEST_F(PinFindingE2ETest, AStoredSetThatCouldNotBeReadIsNotOverwritten) {
    UseProfile("model = K7P100\nwiring_unknown = 1\nbad_checksum = hw");
    const CommandRun run = Run({"-cset_pin"});
    EXPECT_EQ(run.status, 8) << run.out;
    EXPECT_EQ(run.result, "0x82200001\n");
    EXPECT_FALSE(Has(Trace(), "flag=1")) << Trace();
}

}  // namespace
