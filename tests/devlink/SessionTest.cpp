// Enumeration, identity, queries, modes and frequency against every simulated model.
#include <cmath>
#include <functional>

#include "SimFixture.h"
#include "SimModels.h"

using namespace testsim;

namespace {

// What each model must report, written down here rather than taken from the simulator's table,
// so that a slip in that table shows.
struct ModelCase {
    const char* name;
    int typeCode;
    int tx, rx;
    int chips;
    bool wideIcRecords;
    int icFirstValue;  // the first chip's first IC information value
    const char* project;
};

const ModelCase kModels[] = {
    {"K7P100", 94, 40, 70, 1, false, 78, "P094"},    {"K7P80", 158, 32, 56, 1, false, 78, "P158"},
    {"K9P100", 164, 80, 140, 2, false, 78, "P164"},  {"K9P80", 166, 64, 112, 2, false, 78, "P166"},
    {"K9PM100", 172, 96, 168, 2, false, 78, "P172"}, {"K7P128", 96, 64, 112, 1, false, 89, "P096"},
    {"6310_K7P", 160, 48, 80, 1, false, 89, "P160"}, {"K7P84", 176, 40, 64, 1, true, 570, "P176"},
};

// The test runs over the simulator's models; a model without expected values here fails.
class EveryModel : public ::testing::TestWithParam<testsupport::SimModel> {
  protected:
    static const ModelCase* Expected(const std::string& name) {
        for (const ModelCase& m : kModels) {
            if (name == m.name) return &m;
        }
        return nullptr;
    }
};

TEST_P(EveryModel, ReportsItsIdentityGeometryAndChips) {
    const ModelCase* expected = Expected(GetParam().name);
    ASSERT_NE(expected, nullptr) << "no expected values for " << GetParam().name;
    const ModelCase& m = *expected;
    SimDevice dev(m.name);
    ASSERT_NE(dev.handle(), nullptr);
    const DevRecord& r = dev.record();
    EXPECT_EQ(std::string(r.path), std::string("sim:") + m.name);
    EXPECT_EQ(r.inputLength, 64u);
    EXPECT_EQ(r.outputLength, 64u);
    EXPECT_EQ(r.id2, 0xC000 + m.typeCode);
    EXPECT_EQ(devGetSolutionCode(r), m.typeCode);
    EXPECT_NE(devIsSupportedSolution(m.typeCode), 0);

    char text[kDevTextSize];
    ASSERT_TRUE(devGetModelName(dev.handle(), text, sizeof text));
    const std::string model = text;
    ASSERT_GE(model.size(), 4u);
    EXPECT_LT(model.size(), 64u);
    EXPECT_EQ(model.substr(model.size() - 4), m.project);
    for (auto getter : {devGetTypeName, devGetVersionText, devGetModelSubName}) {
        ASSERT_TRUE(getter(dev.handle(), text, sizeof text));
        EXPECT_GT(std::strlen(text), 0u);
    }

    uint8_t v[7], w[7], minor = 0;
    ASSERT_TRUE(devGetStructVersion(dev.handle(), &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]));
    EXPECT_EQ(v[0], 5);
    EXPECT_EQ(v[1], 13);
    EXPECT_EQ(v[2], 26);
    EXPECT_EQ(v[3], 14);
    ASSERT_TRUE(devGetVersionBytes(dev.handle(), &w[0], &w[1], &w[2], &w[3], &w[4], &w[5], &w[6]));
    EXPECT_EQ(w[0], v[0]);
    ASSERT_TRUE(devGetKernelNumber(dev.handle(), &minor));
    EXPECT_EQ(minor, 120);

    uint8_t info[64];
    ASSERT_TRUE(devQueryInfo(dev.handle(), 3, info));
    EXPECT_EQ(info[6], 1);
    EXPECT_EQ(info[7], 1);
    EXPECT_EQ(info[8], m.tx);
    EXPECT_EQ(info[9], m.rx);
    ASSERT_TRUE(devQueryInfo(dev.handle(), 4, info));
    EXPECT_NE(info[5], 0);
    EXPECT_EQ(info[6], 0xFF);  // Tx line 0..7 enabled

    uint8_t pcap[64];
    ASSERT_TRUE(devGetPcapInfo(dev.handle(), pcap));
    for (int at : {21, 22, 47, 48}) EXPECT_EQ(pcap[at], 100) << "calibration byte " << at;
    EXPECT_EQ(pcap[49], 0);

    uint32_t flags = 1;
    ASSERT_TRUE(devGetErrorCode(dev.handle(), &flags));
    EXPECT_EQ(flags, 0u);

    // The IC information request the builder sends, with one record per sensing chip.
    uint8_t request[64] = {0x03, 0x02, 0x3F, 0x7D};
    uint8_t reply[64];
    int length = 0;
    ASSERT_TRUE(devRequest(dev.handle(), request, 64, 0x3F, 0x7D, 1000, reply, &length));
    EXPECT_EQ(length, 64);
    EXPECT_EQ(reply[2], 0x3F);
    EXPECT_EQ(reply[3], 0x7D);
    EXPECT_EQ(reply[4], m.chips);
    const int first = m.wideIcRecords ? (reply[5] << 8 | reply[6]) : reply[5];
    EXPECT_EQ(first, m.icFirstValue);
    const int recordSize = m.wideIcRecords ? 10 : 5;
    EXPECT_EQ(reply[1], 3 + m.chips * recordSize);
}

INSTANTIATE_TEST_SUITE_P(Models, EveryModel, ::testing::ValuesIn(testsupport::SimModels()),
                         [](const auto& info) { return testsupport::TestName(info.param); });

TEST(Enumeration, FindsNothingWithoutSelectorOrWithAnUnknownProfile) {
    unsetenv("DEVLINK");
    EXPECT_TRUE(enumerateAll().empty());
    EXPECT_EQ(devEnumerate(nullptr, nullptr, nullptr), 0);

    std::string logged;
    devSetLogSink([](void* ctx, const char* text) { *static_cast<std::string*>(ctx) += text; },
                  &logged);
    setenv("DEVLINK", "sim:NoSuchModel", 1);
    EXPECT_TRUE(enumerateAll().empty());
    EXPECT_NE(logged.find("NoSuchModel"), std::string::npos);
    setenv("DEVLINK", "usb:whatever", 1);
    EXPECT_TRUE(enumerateAll().empty());
    devSetLogSink(nullptr, nullptr);
    EXPECT_NE(logged.find("usb:whatever"), std::string::npos);
}

TEST(Enumeration, StopsWhenTheCallbackSaysSoAndOpensOnlySimulatorPaths) {
    TempDir dir;
    const auto two = dir.write("two.profile", "model = K7P100\ncontrollers = 2\n");
    setenv("DEVLINK", ("sim:" + two).c_str(), 1);
    int calls = 0;
    DevRecord record{};
    devEnumerate(
        &record,
        [](DevRecord*, const char*, void* c, uint32_t, uint32_t, uint16_t, uint16_t) {
            ++*static_cast<int*>(c);
            return 1;
        },
        &calls);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(std::string(record.path), "sim:" + two);

    DevRecord empty{};
    EXPECT_EQ(devOpen(empty), nullptr);
    EXPECT_EQ(devGetSolutionCode(empty), 0);
    DevRecord other{};
    std::strcpy(other.path, "/dev/hidraw0");
    EXPECT_EQ(devOpen(other), nullptr);
    // A path filled in by hand, as a user gives it, opens without enumeration.
    unsetenv("DEVLINK");
    DevRecord byHand{};
    std::strcpy(byHand.path, "sim:K7P84");
    DevHandle h = devOpen(byHand);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(devGetSolutionCode(byHand), 176);
    EXPECT_TRUE(devClose(h));
}

TEST(Enumeration, SupportsExactlyTheModelTable) {
    for (int code = -1; code < 300; ++code) {
        bool known = false;
        for (const ModelCase& m : kModels) known = known || code == m.typeCode;
        EXPECT_EQ(devIsSupportedSolution(code) != 0, known) << code;
    }
}

// Every handle-taking operation, so that a bad handle can be tried on each.
std::vector<std::pair<const char*, std::function<int(DevHandle)>>> everyOperation() {
    static uint8_t buf[32768];
    static char text[kDevTextSize];
    static int values[10];
    return {
        {"model", [](DevHandle h) { return devGetModelName(h, text, sizeof text); }},
        {"type", [](DevHandle h) { return devGetTypeName(h, text, sizeof text); }},
        {"version", [](DevHandle h) { return devGetVersionText(h, text, sizeof text); }},
        {"subname", [](DevHandle h) { return devGetModelSubName(h, text, sizeof text); }},
        {"struct",
         [](DevHandle h) { return devGetStructVersion(h, buf, buf, buf, buf, buf, buf, buf); }},
        {"versionbytes",
         [](DevHandle h) { return devGetVersionBytes(h, buf, buf, buf, buf, buf, buf, buf); }},
        {"kernel", [](DevHandle h) { return devGetKernelNumber(h, buf); }},
        {"mode", [](DevHandle h) { return devSwitchWorkMode(h, 0x8000); }},
        {"restart", [](DevHandle h) { return devRestart(h, 0); }},
        {"pcap", [](DevHandle h) { return devGetPcapInfo(h, buf); }},
        {"freqtable", [](DevHandle h) { return devGetFrequencyTable(h, buf); }},
        {"info", [](DevHandle h) { return devQueryInfo(h, 3, buf); }},
        {"reportinfo",
         [](DevHandle h) {
             int n = 64;
             return devGetReportInfo(h, buf, &n);
         }},
        {"error",
         [](DevHandle h) {
             uint32_t f;
             return devGetErrorCode(h, &f);
         }},
        {"request",
         [](DevHandle h) {
             uint8_t q[64] = {3, 2, 0x3F, 0x7D};
             int n;
             return devRequest(h, q, 64, 0x3F, 0x7D, 50, buf, &n);
         }},
        {"freqoption", [](DevHandle h) { return devSetFreqOption(h, 0); }},
        {"setfreq", [](DevHandle h) { return devSetFrequency(h, buf, 0); }},
        {"getfreq", [](DevHandle h) { return devGetFrequency(h, buf); }},
        {"testmode", [](DevHandle h) { return devSetTestMode(h, 255, 255); }},
        {"clock", [](DevHandle h) { return devSetClock(h, 0, buf); }},
        {"shorttest",
         [](DevHandle h) {
             devSwitchWorkMode(h, 0x8004);
             return devStartShortTest(h, 1);
         }},
        {"image", [](DevHandle h) { return devRequestImage(h, 8, 10); }},
        {"window", [](DevHandle h) { return devSetReportImage(h, 0, 1, 0, 1); }},
        {"analog", [](DevHandle h) { return devSetAnalog(h, values); }},
        {"readblock", [](DevHandle h) { return devReadBlock(h, 0, 0, 2048, buf); }},
        {"writeblock",
         [](DevHandle h) {
             devSwitchWorkMode(h, 0x8000);
             buf[0] = 0;
             return devWriteBlock(h, 1, 0, 16, buf, 0);
         }},
        {"readregs", [](DevHandle h) { return devReadRegisters(h, 0, 0, 0, 16, buf, 0); }},
        {"writeregs", [](DevHandle h) { return devWriteRegisters(h, 0, 0, 20, 4, buf); }},
        {"inforeport", [](DevHandle h) { return devSetInfoReport(h, 0); }},
        {"threshold",
         [](DevHandle h) {
             buf[0] = 0;
             return devThresholdMode(h, 255, buf);
         }},
        {"subscribe",
         [](DevHandle h) {
             return devAddReportHandler(h, 0x4A, 0xFF, nullptr, [](void*, int, const DevReport*) {})
                        ? 1
                        : 0;
         }},
        {"post", [](DevHandle h) { return devPostReports(h, nullptr, 0x3B, 1) ? 1 : 0; }},
    };
}

TEST(Handles, EveryOperationWorksOnAnOpenHandleAndFailsOnANullOrClosedOne) {
    SimDevice dev("K9PM100");
    ASSERT_NE(dev.handle(), nullptr);
    for (auto& [name, op] : everyOperation())
        EXPECT_NE(op(dev.handle()), 0) << name << " on an open handle";
    DevHandle stale = dev.handle();
    dev.close();
    for (auto& [name, op] : everyOperation()) {
        EXPECT_EQ(op(nullptr), 0) << name << " on a null handle";
        EXPECT_EQ(op(stale), 0) << name << " on a closed handle";
    }
    EXPECT_EQ(devClose(stale), 0);
    EXPECT_EQ(devRemoveReportHandler(stale, nullptr), 0);
}

TEST(Texts, StayInsideTheCallersBufferAndEndInZero) {
    SimDevice dev("K7P100");
    char small[6];
    std::memset(small, 'x', sizeof small);
    ASSERT_TRUE(devGetModelName(dev.handle(), small, sizeof small));
    EXPECT_EQ(std::string(small), "TVX-K");
    char one[1] = {'x'};
    ASSERT_TRUE(devGetModelName(dev.handle(), one, 1));
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(devGetModelName(dev.handle(), nullptr, 10), 0);
}

TEST(Modes, KnownModesSwitchAndOthersAreRefused) {
    SimDevice dev("K7P100");
    for (uint16_t mode : {0x8000, 0x8001, 0x8004, 0x4080, 0x4004, 0x4200, 0x4805, 0x4801, 0x4020,
                          0x4010, 0x4008, 0x4000, 0x2000, 0x2001, 0x0000})
        EXPECT_TRUE(devSwitchWorkMode(dev.handle(), mode)) << std::hex << mode;
    for (uint16_t mode : {0x1234, 0x8002, 0xFFFF})
        EXPECT_FALSE(devSwitchWorkMode(dev.handle(), mode)) << mode;
    EXPECT_FALSE(devRestart(dev.handle(), 0x1234));
    EXPECT_TRUE(devRestart(dev.handle(), 0x8000));
}

TEST(Frequency, SetReadBackAndTableFollowTheWorkingIndex) {
    SimDevice dev("K7P100");
    uint8_t scratch[64], index = 0xFF, table[64];
    ASSERT_TRUE(devGetFrequencyTable(dev.handle(), table));
    EXPECT_EQ(table[0], 3);
    EXPECT_EQ(table[1], 0);
    // Prescaler 18, clock 0: 18000 / (18 * 3 * 2) kHz in units of 10 Hz.
    EXPECT_EQ(table[2] | table[3] << 8, 16667);
    EXPECT_TRUE(devSetFreqOption(dev.handle(), 0));
    EXPECT_TRUE(devSetFrequency(dev.handle(), scratch, 2));
    ASSERT_TRUE(devGetFrequency(dev.handle(), &index));
    EXPECT_EQ(index, 2);
    // Beyond the working frequencies: refused, and the index stays.
    EXPECT_FALSE(devSetFrequency(dev.handle(), scratch, 3));
    ASSERT_TRUE(devGetFrequency(dev.handle(), &index));
    EXPECT_EQ(index, 2);
    ASSERT_TRUE(devGetFrequencyTable(dev.handle(), table));
    EXPECT_EQ(table[1], 2);
    // A restart returns to the start index.
    ASSERT_TRUE(devRestart(dev.handle(), 0x8000));
    ASSERT_TRUE(devGetFrequency(dev.handle(), &index));
    EXPECT_EQ(index, 0);
}

TEST(Frequency, DividerModelUsesTheBlocksDivider) {
    SimDevice dev("K7P84");
    uint8_t table[64];
    ASSERT_TRUE(devGetFrequencyTable(dev.handle(), table));
    EXPECT_EQ(table[2] | table[3] << 8, 5000);  // 18000 / (18 * 10 * 2) = 50 kHz
}

TEST(Controls, ClockReportInfoAndThresholdModes) {
    SimDevice dev("K7P100");
    uint8_t scratch = 0xEE;
    EXPECT_TRUE(devSetClock(dev.handle(), 4, &scratch));
    EXPECT_EQ(scratch, 4);
    EXPECT_FALSE(devSetClock(dev.handle(), 5, &scratch));

    uint8_t info[64] = {};
    int length = 16;
    ASSERT_TRUE(devGetReportInfo(dev.handle(), info, &length));
    EXPECT_EQ(length, 16);
    EXPECT_EQ(info[1] | info[2] << 8, 4095);
    EXPECT_EQ(info[3] | info[4] << 8, 4095);
    EXPECT_EQ(info[16], 0);  // nothing written past the caller's length

    uint8_t value = 0;
    ASSERT_TRUE(devThresholdMode(dev.handle(), 255, &value));
    EXPECT_EQ(value, 3);
    value = 2;
    EXPECT_TRUE(devThresholdMode(dev.handle(), 1, &value));
    value = 0;
    ASSERT_TRUE(devThresholdMode(dev.handle(), 0, &value));
    EXPECT_EQ(value, 2);
    value = 3;
    EXPECT_FALSE(devThresholdMode(dev.handle(), 1, &value));
    // No stylus on this model; the stylus model has two stylus threshold modes.
    EXPECT_FALSE(devPenThresholdMode(dev.handle(), 255, &value));
    SimDevice pen("K9PM100");
    ASSERT_TRUE(devPenThresholdMode(pen.handle(), 255, &value));
    EXPECT_EQ(value, 2);

    EXPECT_TRUE(devSetInfoReport(dev.handle(), 2));
    EXPECT_FALSE(devSetInfoReport(dev.handle(), 3));
    EXPECT_FALSE(devQueryInfo(dev.handle(), 5, info));
}

}  // namespace
