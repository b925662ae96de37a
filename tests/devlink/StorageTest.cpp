// Parameter storage, the RAM copy of the hardware set, the state file, the trace and the
// sensing-chip registers.
#include "SimFixture.h"
#include "SimModels.h"

using namespace testsim;

namespace {

struct BlockCase {
    int type;
    uint32_t length;
    uint16_t used;
    uint8_t major, minor;
};

TEST(Storage, FactoryImagesHaveTheirLengthsVersionsAndValidChecksums) {
    SimDevice dev("K9PM100");
    const BlockCase cases[] = {{0, 2048, 1266, 2, 6}, {1, 4096, 3350, 1, 3}, {3, 4096, 3676, 1, 4}};
    for (const auto& c : cases) {
        auto image = readBlock(dev.handle(), c.type, c.length);
        ASSERT_EQ(image.size(), c.length) << "type " << c.type;
        EXPECT_EQ(le16(image, 0), c.used);
        EXPECT_EQ(le16(image, 2), imageChecksum(image)) << "type " << c.type;
        EXPECT_EQ(image[4], c.major);
        EXPECT_EQ(image[5], c.minor);
        EXPECT_EQ(image.back(), 0xFF);  // past the used length
    }
    // The uniformity table: covered length and its own checksum seed.
    auto table = readBlock(dev.handle(), 2, 32768);
    ASSERT_EQ(table.size(), 32768u);
    const uint16_t covered = le16(table, 0);
    uint32_t sum = 0x55AA;
    for (uint32_t i = 0; i < (covered + 1u) / 2; ++i) sum += le16(table, 4 + 2 * i);
    EXPECT_EQ(le16(table, 2), static_cast<uint16_t>(sum));
    // The hardware image carries the geometry the controller reports.
    auto hw = readBlock(dev.handle(), 1, 4096);
    EXPECT_EQ(hw[44], 2);
    EXPECT_EQ(hw[45], 2);
    EXPECT_NE(le16(hw, 10) & 0x0608, 0);  // this model uses its stylus set
}

TEST(Storage, RejectsReadsAndWritesOutsideABlock) {
    SimDevice dev("K7P100");
    std::vector<uint8_t> buf(8192);
    EXPECT_EQ(devReadBlock(dev.handle(), 0, 0, 2049, buf.data()), 0);
    EXPECT_EQ(devReadBlock(dev.handle(), 4, 0, 16, buf.data()), 0);
    EXPECT_EQ(devReadBlock(dev.handle(), 1, 4000, 100, buf.data()), 0);
    EXPECT_EQ(devReadBlock(dev.handle(), 1, 4000, 96, buf.data()), 96);
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8001));
    EXPECT_FALSE(devWriteBlock(dev.handle(), 0, 0, 2049, buf.data(), 1));
    EXPECT_FALSE(devWriteBlock(dev.handle(), 7, 0, 16, buf.data(), 1));
}

TEST(Storage, FinalWriteStoresAValidImageInWriteModeOnly) {
    SimDevice dev("K7P100");
    auto image = readBlock(dev.handle(), 0, 2048);
    ASSERT_EQ(image.size(), 2048u);
    image[191] = 2;
    renewChecksum(image);

    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
    EXPECT_FALSE(devWriteBlock(dev.handle(), 0, 0, 2048, image.data(), 1)) << "not in write mode";
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8001));
    auto broken = image;
    broken[2] ^= 1;
    EXPECT_FALSE(devWriteBlock(dev.handle(), 0, 0, 2048, broken.data(), 1)) << "bad checksum";
    EXPECT_EQ(readBlock(dev.handle(), 0, 2048)[191], 0) << "a refused write changes nothing";
    ASSERT_TRUE(devWriteBlock(dev.handle(), 0, 0, 2048, image.data(), 1));
    EXPECT_EQ(readBlock(dev.handle(), 0, 2048), image);
}

TEST(Storage, TestImageChangesOnlyTheRamCopyUntilRestart) {
    SimDevice dev("K7P100");
    auto hw = readBlock(dev.handle(), 1, 4096);
    ASSERT_EQ(hw.size(), 4096u);
    hw[49] = 21;  // chip 0's last Tx pin: 2..21 gives 20 Tx lines
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8004));
    ASSERT_TRUE(devWriteBlock(dev.handle(), 1, 0, 4096, hw.data(), 0));

    uint8_t info[64];
    ASSERT_TRUE(devQueryInfo(dev.handle(), 3, info));
    EXPECT_EQ(info[8], 20);
    EXPECT_EQ(readBlock(dev.handle(), 1, 4096)[49], 41) << "the stored set is untouched";
    EXPECT_FALSE(devWriteBlock(dev.handle(), 0, 0, 16, hw.data(), 0))
        << "test images are hardware only";

    ASSERT_TRUE(devRestart(dev.handle(), 0x8000));
    ASSERT_TRUE(devQueryInfo(dev.handle(), 3, info));
    EXPECT_EQ(info[8], 40);
}

TEST(Storage, StateFileKeepsStoredSetsBetweenSessionsAndIgnoresAForeignOrBrokenFile) {
    TempDir dir;
    const auto state = dir.file("controller.state");
    setenv("DEVLINK_SIM_STATE", state.c_str(), 1);
    std::vector<uint8_t> image;
    {
        SimDevice dev("K7P100");
        image = readBlock(dev.handle(), 0, 2048);
        image[191] = 1;
        renewChecksum(image);
        ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8001));
        ASSERT_TRUE(devWriteBlock(dev.handle(), 0, 0, 2048, image.data(), 1));
    }
    ASSERT_TRUE(std::filesystem::exists(state));
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("")))
        EXPECT_EQ(entry.path().string(), state) << "no temporary file is left behind";
    {
        SimDevice dev("K7P100");
        EXPECT_EQ(readBlock(dev.handle(), 0, 2048), image);
    }
    {
        SimDevice other("K7P84");  // another model does not take this controller's sets
        EXPECT_EQ(readBlock(other.handle(), 0, 2048)[191], 0);
    }
    std::filesystem::resize_file(state, 100);
    {
        SimDevice dev("K7P100");
        auto factory = readBlock(dev.handle(), 0, 2048);
        EXPECT_EQ(factory[191], 0);
        EXPECT_EQ(le16(factory, 2), imageChecksum(factory));
    }
    unsetenv("DEVLINK_SIM_STATE");
}

TEST(Storage, AStoreThatCannotBeKeptIsReportedAndChangesNothing) {
    setenv("DEVLINK_SIM_STATE", "/nonexistent-folder/controller.state", 1);
    SimDevice dev("K7P100");
    unsetenv("DEVLINK_SIM_STATE");
    auto image = readBlock(dev.handle(), 0, 2048);
    image[191] = 2;
    renewChecksum(image);
    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8001));
    EXPECT_FALSE(devWriteBlock(dev.handle(), 0, 0, 2048, image.data(), 1));
    EXPECT_EQ(readBlock(dev.handle(), 0, 2048)[191], 0);
}

TEST(Storage, AnInjectedChecksumFaultIsNotWrittenIntoTheStateFile) {
    TempDir dir;
    setenv("DEVLINK_SIM_STATE", dir.file("controller.state").c_str(), 1);
    {
        SimDevice faulty(dir.write("bad.profile", "model = K7P100\nbad_checksum = hw"));
        auto sw = readBlock(faulty.handle(), 0, 2048);
        ASSERT_TRUE(devSwitchWorkMode(faulty.handle(), 0x8001));
        ASSERT_TRUE(devWriteBlock(faulty.handle(), 0, 0, 2048, sw.data(), 1));  // saves every set
        auto hw = readBlock(faulty.handle(), 1, 4096);
        EXPECT_NE(le16(hw, 2), imageChecksum(hw));
    }
    {
        SimDevice healthy("K7P100");
        auto hw = readBlock(healthy.handle(), 1, 4096);
        EXPECT_EQ(le16(hw, 2), imageChecksum(hw));
    }
    unsetenv("DEVLINK_SIM_STATE");
}

TEST(Trace, OneLinePerAnsweredRequestWithArgumentsAndResultBetweenOpenAndClose) {
    TempDir dir;
    const auto trace = dir.file("trace.txt");
    setenv("DEVLINK_SIM_TRACE", trace.c_str(), 1);
    {
        SimDevice dev("K7P100");
        devSwitchWorkMode(dev.handle(), 0x8004);
        auto hw = readBlock(dev.handle(), 1, 4096);
        devWriteBlock(dev.handle(), 1, 0, 4096, hw.data(), 0);
        devSwitchWorkMode(dev.handle(), 0x1234);
        // Subscriptions stay inside the library: the controller never sees them.
        DevSubscription s = devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, nullptr,
                                                [](void*, int, const DevReport*) {});
        EXPECT_NE(s, nullptr);
        EXPECT_TRUE(devRemoveReportHandler(dev.handle(), s));
        devRestart(dev.handle(), 0);
    }
    unsetenv("DEVLINK_SIM_TRACE");
    const std::vector<std::string> expected = {
        "open -> ok",
        "switch_mode mode=0x8004 -> ok",
        "read_block type=1 offset=0 length=4096 count=4096 -> ok",
        "write_block type=1 offset=0 length=4096 flag=0 -> ok",
        "switch_mode mode=0x1234 -> refused",
        "restart mode=0x0000 -> ok",
        "close -> ok",
    };
    EXPECT_EQ(readLines(trace), expected);
}

TEST(Trace, TheSessionShowsARefusedOpenAndOneCloseAfterADisconnect) {
    TempDir dir;
    const auto trace = dir.file("trace.txt");
    setenv("DEVLINK_SIM_TRACE", trace.c_str(), 1);
    {
        SimDevice refused(dir.write("refused.profile", "model = K7P100\nopen_fails = 1"));
        EXPECT_EQ(refused.handle(), nullptr);
    }
    {
        SimDevice dev(dir.write("leaving.profile", "model = K7P100\ndisconnect_after = 1"));
        ASSERT_NE(dev.handle(), nullptr);
        EXPECT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
        EXPECT_FALSE(devRestart(dev.handle(), 0)) << "the controller is gone";
        const DevHandle handle = dev.handle();
        dev.close();
        EXPECT_FALSE(devClose(handle)) << "a closed handle is closed once";
    }
    unsetenv("DEVLINK_SIM_TRACE");
    const std::vector<std::string> expected = {
        "open -> failed", "open -> ok",  "switch_mode mode=0x8000 -> ok",
        "disconnect",     "close -> ok",
    };
    EXPECT_EQ(readLines(trace), expected);
}

TEST(Trace, FailedAndUnansweredRequestsKeepTheirArguments) {
    TempDir dir;
    const auto trace = dir.file("trace.txt");
    setenv("DEVLINK_SIM_TRACE", trace.c_str(), 1);
    {
        SimDevice dev(dir.write("faults.profile",
                                "model = K7P100\nfail = switch_mode:refused, read_registers\n"
                                "no_reply = info3\nfail = read_block:malformed"));
        uint8_t buffer[64];
        EXPECT_FALSE(devSwitchWorkMode(dev.handle(), 0x8004));
        EXPECT_FALSE(devReadRegisters(dev.handle(), 0, 2, 300, 4, buffer, 0));
        EXPECT_FALSE(devQueryInfo(dev.handle(), 3, buffer));
        EXPECT_TRUE(devQueryInfo(dev.handle(), 4, buffer)) << "only record 3 goes unanswered";
        EXPECT_EQ(devReadBlock(dev.handle(), 0, 0, 64, buffer), 0);
    }
    unsetenv("DEVLINK_SIM_TRACE");
    const std::vector<std::string> expected = {
        "open -> ok",
        "switch_mode mode=0x8004 -> refused",
        "read_registers chip=0 bank=2 first=300 count=4 -> failed",
        "query_info index=3 -> no reply",
        "query_info index=4 -> ok",
        "read_block type=0 offset=0 length=64 count=64 -> malformed",
        "close -> ok",
    };
    EXPECT_EQ(readLines(trace), expected);
}

TEST(Registers, RunsReadBackPerChipAndForAllChips) {
    const auto models = testsupport::SimModelsWhere(testsupport::WithTwoChips);
    ASSERT_FALSE(models.empty());
    for (const testsupport::SimModel& model : models) {
        SCOPED_TRACE(model.name);
        SimDevice dev(model.name);
        std::vector<uint8_t> run(68), sine(111), back(300);
        for (size_t i = 0; i < run.size(); ++i) run[i] = static_cast<uint8_t>(0xA0 + i);
        for (size_t i = 0; i < sine.size(); ++i) sine[i] = static_cast<uint8_t>(i * 3);

        ASSERT_TRUE(devWriteRegisters(dev.handle(), 255, 0, 0, 68, run.data()));
        ASSERT_TRUE(devWriteRegisters(dev.handle(), 1, 0, 144, 111, sine.data()));
        for (uint8_t chip : {0, 1}) {
            ASSERT_TRUE(devReadRegisters(dev.handle(), chip, 0, 0, 68, back.data(), 0));
            EXPECT_TRUE(std::equal(run.begin(), run.end(), back.begin())) << "chip " << int(chip);
        }
        ASSERT_TRUE(devReadRegisters(dev.handle(), 1, 0, 144, 111, back.data(), 0));
        EXPECT_TRUE(std::equal(sine.begin(), sine.end(), back.begin()));
        ASSERT_TRUE(devReadRegisters(dev.handle(), 0, 0, 144, 111, back.data(), 0));
        EXPECT_EQ(back[1], 0) << "a single-chip write leaves the other chip alone";

        // Measurement banks, read past register 255 as the chips allow.
        EXPECT_TRUE(devReadRegisters(dev.handle(), 0, 2, 16, 256, back.data(), 0));
        EXPECT_TRUE(devReadRegisters(dev.handle(), 0, 3, 0, 160, back.data(), 0));
        EXPECT_FALSE(devReadRegisters(dev.handle(), 2, 0, 0, 4, back.data(), 0)) << "no third chip";
        EXPECT_FALSE(devReadRegisters(dev.handle(), 0, 1, 0, 4, back.data(), 0)) << "no bank 1";
        EXPECT_FALSE(devReadRegisters(dev.handle(), 0, 0, 1000, 100, back.data(), 0))
            << "past the bank";
        EXPECT_FALSE(devWriteRegisters(dev.handle(), 2, 0, 0, 4, run.data()));
    }
}

TEST(Registers, StatusRegistersOfTheDividerChipAreReadOnly) {
    const auto models = testsupport::SimModelsWhere(testsupport::OnChip(sim::ChipModel::T324));
    ASSERT_FALSE(models.empty());
    for (const testsupport::SimModel& model : models) {
        SCOPED_TRACE(model.name);
        SimDevice dev(model.name);
        uint8_t before[8], data[8] = {9, 9, 9, 9, 9, 9, 9, 9}, after[8];
        ASSERT_TRUE(devReadRegisters(dev.handle(), 0, 0, 0, 8, before, 0));
        ASSERT_TRUE(devWriteRegisters(dev.handle(), 0, 0, 0, 8, data));
        ASSERT_TRUE(devReadRegisters(dev.handle(), 0, 0, 0, 8, after, 0));
        EXPECT_EQ(std::vector<uint8_t>(after, after + 3), std::vector<uint8_t>(before, before + 3));
        EXPECT_EQ(std::vector<uint8_t>(after + 3, after + 8), std::vector<uint8_t>(5, 9));
    }
}

}  // namespace
