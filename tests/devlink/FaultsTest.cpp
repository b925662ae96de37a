// Fault switches of simulator profiles, seen through the devlink API as the programs see them.
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "SimFixture.h"

using namespace testsim;
using namespace std::chrono_literals;

namespace {

class Faults : public ::testing::Test {
  protected:
    // A profile file on K7P100 with the given extra lines.
    std::string profile(const std::string& lines) {
        return dir_.write("p" + std::to_string(++count_) + ".profile",
                          "model = K7P100\n" + lines + "\n");
    }
    TempDir dir_;
    int count_ = 0;
};

TEST_F(Faults, ControllerCountReportLengthAndTypeCode) {
    setenv("DEVLINK", ("sim:" + profile("controllers = 0")).c_str(), 1);
    EXPECT_TRUE(enumerateAll().empty());

    setenv("DEVLINK", ("sim:" + profile("controllers = 2")).c_str(), 1);
    auto two = enumerateAll();
    ASSERT_EQ(two.size(), 2u);
    EXPECT_NE(std::string(two[0].path), std::string(two[1].path));
    DevHandle a = devOpen(two[0]), b = devOpen(two[1]);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(devSwitchWorkMode(a, 0x8004));
    EXPECT_TRUE(devClose(a));
    EXPECT_TRUE(devClose(b));

    setenv("DEVLINK", ("sim:" + profile("report_length = 65")).c_str(), 1);
    auto odd = enumerateAll();
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].inputLength, 65u);
    EXPECT_EQ(odd[0].outputLength, 65u);

    setenv("DEVLINK", ("sim:" + profile("type_code = 99")).c_str(), 1);
    auto unknown = enumerateAll();
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_EQ(devGetSolutionCode(unknown[0]), 99);
    EXPECT_EQ(devIsSupportedSolution(99), 0);
}

TEST_F(Faults, OpenFailsThoughTheControllerIsListed) {
    SimDevice dev(profile("open_fails = 1"));
    EXPECT_EQ(std::string(dev.record().path).rfind("sim:", 0), 0u);
    EXPECT_EQ(dev.handle(), nullptr);
}

TEST_F(Faults, EachQueryCanFailAlone) {
    static uint8_t buf[64];
    static char text[kDevTextSize];
    const std::vector<std::pair<std::string, std::function<int(DevHandle)>>> queries = {
        {"switch_mode", [](DevHandle h) { return devSwitchWorkMode(h, 0x8000); }},
        {"model_name", [](DevHandle h) { return devGetModelName(h, text, sizeof text); }},
        {"type_name", [](DevHandle h) { return devGetTypeName(h, text, sizeof text); }},
        {"version_text", [](DevHandle h) { return devGetVersionText(h, text, sizeof text); }},
        {"sub_name", [](DevHandle h) { return devGetModelSubName(h, text, sizeof text); }},
        {"error_code",
         [](DevHandle h) {
             uint32_t f;
             return devGetErrorCode(h, &f);
         }},
        {"info3", [](DevHandle h) { return devQueryInfo(h, 3, buf); }},
        {"info4", [](DevHandle h) { return devQueryInfo(h, 4, buf); }},
        {"pcap_info", [](DevHandle h) { return devGetPcapInfo(h, buf); }},
        {"struct_version",
         [](DevHandle h) { return devGetStructVersion(h, buf, buf, buf, buf, buf, buf, buf); }},
        {"kernel_number", [](DevHandle h) { return devGetKernelNumber(h, buf); }},
        {"report_info",
         [](DevHandle h) {
             int n = 64;
             return devGetReportInfo(h, buf, &n);
         }},
        {"frequency_table", [](DevHandle h) { return devGetFrequencyTable(h, buf); }},
        {"set_info_report", [](DevHandle h) { return devSetInfoReport(h, 1); }},
        {"threshold_mode",
         [](DevHandle h) {
             buf[0] = 0;
             return devThresholdMode(h, 255, buf);
         }},
        {"set_report_image", [](DevHandle h) { return devSetReportImage(h, 0, 1, 0, 1); }},
        {"set_clock", [](DevHandle h) { return devSetClock(h, 0, buf); }},
        {"ic_info",
         [](DevHandle h) {
             uint8_t q[64] = {3, 2, 0x3F, 0x7D};
             int n;
             return devRequest(h, q, 64, 0x3F, 0x7D, 200, buf, &n);
         }},
    };
    for (const auto& [name, call] : queries) {
        SimDevice dev(profile("fail = " + name));
        ASSERT_NE(dev.handle(), nullptr) << name;
        EXPECT_EQ(call(dev.handle()), 0) << name << " should fail";
        for (const auto& [other, otherCall] : queries) {
            if (other == name) continue;
            EXPECT_NE(otherCall(dev.handle()), 0) << other << " with " << name << " failing";
        }
    }
}

TEST_F(Faults, FailAndNoReplyTakeTheSameNames) {
    const std::vector<std::string> names = {"info3", "ic_info", "query_info", "read_block", "all"};
    for (const auto& name : names) {
        for (const std::string key : {"fail", "no_reply"}) {
            setenv("DEVLINK", ("sim:" + profile(key + " = " + name)).c_str(), 1);
            EXPECT_EQ(enumerateAll().size(), 1u) << key << " = " << name;
        }
    }
    // A record-level no_reply leaves the other records answered.
    SimDevice dev(profile("no_reply = info3"));
    uint8_t record[64];
    EXPECT_TRUE(devQueryInfo(dev.handle(), 2, record));
    EXPECT_FALSE(devQueryInfo(dev.handle(), 3, record));
    EXPECT_EQ(devGetLastError(dev.handle()), kDevErrorTimeOut);
}

TEST_F(Faults, IdentityAndStateValuesFromTheProfile) {
    SimDevice dev(
        profile("model_name = N/A\nhw_version = 14\nsw_version = 27\npen_version = 15\n"
                "error_flags = 0x010020D7\nkernel_major = 2\nkernel_minor = 34"));
    char text[kDevTextSize];
    ASSERT_TRUE(devGetModelName(dev.handle(), text, sizeof text));
    EXPECT_STREQ(text, "N/A");
    uint8_t v[7], minor = 0;
    ASSERT_TRUE(devGetStructVersion(dev.handle(), &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]));
    EXPECT_EQ(std::vector<uint8_t>(v, v + 4), (std::vector<uint8_t>{2, 14, 27, 15}));
    ASSERT_TRUE(devGetKernelNumber(dev.handle(), &minor));
    EXPECT_EQ(minor, 34);
    uint32_t flags = 0;
    ASSERT_TRUE(devGetErrorCode(dev.handle(), &flags));
    EXPECT_EQ(flags, 0x010020D7u);
}

TEST_F(Faults, RefusedModesFailingRestartAndAFrequencyThatDoesNotStick) {
    SimDevice dev(
        profile("refuse_mode = 0x8004, 0x4080\nrestart_fails = 1\nfrequency_does_not_stick = 1"));
    EXPECT_FALSE(devSwitchWorkMode(dev.handle(), 0x8004));
    EXPECT_FALSE(devSwitchWorkMode(dev.handle(), 0x4080));
    EXPECT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
    EXPECT_FALSE(devRestart(dev.handle(), 0));
    uint8_t scratch[64], index = 0xFF;
    EXPECT_TRUE(devSetFrequency(dev.handle(), scratch, 1)) << "the set call itself reports success";
    ASSERT_TRUE(devGetFrequency(dev.handle(), &index));
    EXPECT_EQ(index, 0);
}

TEST_F(Faults, StorageChecksumShortReadAndRefusedWrites) {
    SimDevice dev(profile("bad_checksum = hw, table\nshort_read = pen:100\nrefuse_write = sw"));
    auto hw = readBlock(dev.handle(), 1, 4096);
    ASSERT_EQ(hw.size(), 4096u);
    EXPECT_NE(le16(hw, 2), imageChecksum(hw));
    auto sw = readBlock(dev.handle(), 0, 2048);
    EXPECT_EQ(le16(sw, 2), imageChecksum(sw));
    uint32_t flags = 0;
    ASSERT_TRUE(devGetErrorCode(dev.handle(), &flags));
    EXPECT_EQ(flags, (1u << 1) | (1u << 8));

    // The K7P100's hardware set uses no stylus: it keeps no stylus set to read. A controller
    // with a stylus returns what the short read lets through.
    std::vector<uint8_t> pen(4096, 0xEE);
    EXPECT_EQ(devReadBlock(dev.handle(), 3, 0, 4096, pen.data()), 0);
    {
        SimDevice stylus(dir_.write("stylus.profile", "model = K9PM100\nshort_read = pen:100\n"));
        EXPECT_EQ(devReadBlock(stylus.handle(), 3, 0, 4096, pen.data()), 100);
        EXPECT_EQ(pen[100], 0xEE) << "nothing past the bytes that came";
    }

    ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8001));
    EXPECT_FALSE(devWriteBlock(dev.handle(), 0, 0, 2048, sw.data(), 1));
    renewChecksum(hw);
    EXPECT_TRUE(devWriteBlock(dev.handle(), 1, 0, 4096, hw.data(), 1))
        << "a repaired set can be stored";
    ASSERT_TRUE(devGetErrorCode(dev.handle(), &flags));
    EXPECT_EQ(flags, 1u << 8);
}

TEST_F(Faults, RegistersThatDoNotReadBack) {
    SimDevice dev(profile("register_ignores_write = 0:0:5\nregister_flips_bit = 0:0:6:7"));
    uint8_t data[4] = {0x11, 0x22, 0x33, 0x44}, back[4];
    ASSERT_TRUE(devWriteRegisters(dev.handle(), 0, 0, 4, 4, data));
    ASSERT_TRUE(devReadRegisters(dev.handle(), 0, 0, 4, 4, back, 0));
    EXPECT_EQ(back[0], 0x11);
    EXPECT_EQ(back[1], 0x00) << "register 5 ignores writes";
    EXPECT_EQ(back[2], 0x33 ^ 0x80) << "register 6 flips bit 7";
    EXPECT_EQ(back[3], 0x44);

    SimDevice pair(dir_.write("pair.profile", "model = K9P100\nregister_read_fails = 1"));
    EXPECT_TRUE(devReadRegisters(pair.handle(), 0, 0, 0, 4, back, 0));
    EXPECT_FALSE(devReadRegisters(pair.handle(), 1, 0, 0, 4, back, 0));
    EXPECT_TRUE(devWriteRegisters(pair.handle(), 255, 0, 4, 4, data))
        << "writes still reach chip 1";
}

TEST_F(Faults, DisconnectNoticeThenEveryCallFailsAtOnce) {
    SimDevice dev(profile("disconnect_after = 3"));
    struct Seen {
        std::atomic<int> count{0};
        DevReport report{};
    } seen;
    devAddReportHandler(dev.handle(), 0x3B, kDevAnySubCode, &seen,
                        [](void* ctx, int, const DevReport* r) {
                            auto* s = static_cast<Seen*>(ctx);
                            s->report = *r;
                            s->count++;
                        });
    uint8_t minor;
    EXPECT_TRUE(devGetKernelNumber(dev.handle(), &minor));
    EXPECT_TRUE(devGetKernelNumber(dev.handle(), &minor));
    EXPECT_TRUE(devGetKernelNumber(dev.handle(), &minor));
    for (int i = 0; i < 200 && seen.count == 0; ++i) std::this_thread::sleep_for(2ms);
    ASSERT_EQ(seen.count.load(), 1);
    EXPECT_EQ(seen.report.bytes[1], 2);
    EXPECT_EQ(seen.report.bytes[2], 0x3B);
    EXPECT_EQ(seen.report.bytes[3], 0x70);
    EXPECT_EQ(seen.report.bytes[4], 3);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(devGetKernelNumber(dev.handle(), &minor));
    EXPECT_FALSE(devSwitchWorkMode(dev.handle(), 0x8000));
    std::vector<uint8_t> buf(2048);
    EXPECT_EQ(devReadBlock(dev.handle(), 0, 0, 2048, buf.data()), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
}

TEST_F(Faults, RepliesThatNeverComeEndInTheLibrarysTimeOut) {
    SimDevice dev(profile("no_reply = switch_mode"));
    uint8_t minor;
    EXPECT_TRUE(devGetKernelNumber(dev.handle(), &minor));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(devSwitchWorkMode(dev.handle(), 0x8000));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 1000ms);
    EXPECT_LT(waited, 3000ms);
    EXPECT_TRUE(devGetKernelNumber(dev.handle(), &minor)) << "later requests are answered";

    SimDevice silent(profile("no_reply = all"));
    EXPECT_FALSE(devGetKernelNumber(silent.handle(), &minor));
}

TEST_F(Faults, MalformedReportsAreDroppedCountedAndLogged) {
    std::string logged;
    devSetLogSink([](void* ctx, const char* t) { *static_cast<std::string*>(ctx) += t; }, &logged);
    {
        SimDevice dev(profile("malformed_reports = 1\nframe_interval_ms = 1"));
        struct Seen {
            std::atomic<int> frames{0}, oversized{0};
        } seen;
        devAddReportHandler(dev.handle(), 0x4A, kDevAnySubCode, &seen,
                            [](void* ctx, int, const DevReport* r) {
                                auto* s = static_cast<Seen*>(ctx);
                                s->frames++;
                                if (r->bytes[1] > 62) s->oversized++;
                            });
        ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x4080));
        for (int i = 0; i < 500 && devGetDroppedReportCount(dev.handle()) < 3; ++i)
            std::this_thread::sleep_for(2ms);
        ASSERT_TRUE(devSwitchWorkMode(dev.handle(), 0x8000));
        EXPECT_GE(devGetDroppedReportCount(dev.handle()), 3u);
        EXPECT_GT(seen.frames.load(), 0);
        EXPECT_EQ(seen.oversized.load(), 0);
    }
    devSetLogSink(nullptr, nullptr);
    EXPECT_NE(logged.find("dropped"), std::string::npos);
}

TEST_F(Faults, ABrokenProfileFindsNoControllerAndSaysWhy) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"model = K7P100\nno_such_key = 1\n", "no_such_key"},
        {"model = K7P100\nkernel_minor = 300\n", "kernel_minor"},
        {"type_code = 94\n", "model"},
        {"model = K7P999\n", "K7P999"},
        {"model = K7P100\nshort_read = hw\n", "short_read"},
        {"model = K7P100\nregister_flips_bit = 0:0:6:9\n", "register_flips_bit"},
        {"model = K7P100\njust words\n", "key = value"},
        {"model = K7P100\nfail = info3\nfail = kernel_numbr\n",
         "line 3: unknown operation 'kernel_numbr'"},
        {"model = K7P100\nno_reply = info3, info9\n", "line 2: unknown operation 'info9'"},
        {"model = K7P100\nfail = set_clock:later\n", "line 2: bad answer in 'set_clock:later'"},
        {"model = K7P100\nrefuse_mode = 0x8004, x\n", "line 2: bad mode 'x'"},
    };
    for (const auto& [text, mentioned] : cases) {
        std::string logged;
        devSetLogSink([](void* ctx, const char* t) { *static_cast<std::string*>(ctx) += t; },
                      &logged);
        setenv("DEVLINK", ("sim:" + dir_.write("broken.profile", text)).c_str(), 1);
        EXPECT_TRUE(enumerateAll().empty()) << text;
        devSetLogSink(nullptr, nullptr);
        EXPECT_NE(logged.find(mentioned), std::string::npos) << logged;
    }
}

}  // namespace
