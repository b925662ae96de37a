// Why a call failed: each cause reported for the handle that met it, and only for that handle.
#include <functional>

#include "SimFixture.h"

using namespace testsim;

namespace {

struct CauseCase {
    const char* name;
    const char* profileLines;
    int expected;
    std::function<int(DevHandle)> call;  // the call that meets the cause
};

int kernelNumber(DevHandle h) {
    uint8_t minor = 0;
    return devGetKernelNumber(h, &minor);
}

TEST(ErrorCauses, EachCauseIsReportedForTheHandleThatMetIt) {
    const std::vector<CauseCase> cases = {
        {"time-out", "no_reply = kernel_number", kDevErrorTimeOut, kernelNumber},
        {"device lost", "disconnect_after = 1", kDevErrorDeviceLost,
         [](DevHandle h) { return kernelNumber(h) && kernelNumber(h); }},
        {"refused", "refuse_mode = 0x8004", kDevErrorRefused,
         [](DevHandle h) { return devSwitchWorkMode(h, 0x8004); }},
        {"unknown operation", "fail = set_clock:unknown", kDevErrorUnknownOperation,
         [](DevHandle h) { return devSetClock(h, 1, nullptr); }},
        {"bad request", "fail = set_analog:bad_request", kDevErrorBadRequest,
         [](DevHandle h) {
             const int values[10] = {};
             return devSetAnalog(h, values);
         }},
        {"malformed reply", "fail = kernel_number:malformed", kDevErrorMalformedReply,
         kernelNumber},
        {"malformed block reply", "fail = read_block:malformed", kDevErrorMalformedReply,
         [](DevHandle h) { return static_cast<int>(readBlock(h, 0, 2048).size()); }},
        {"failed", "fail = info3", kDevErrorFailed,
         [](DevHandle h) {
             uint8_t record[64];
             return devQueryInfo(h, 3, record);
         }},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SimDevice faulty(
            dir.write("faulty.profile", std::string("model = K7P100\n") + c.profileLines + "\n"));
        SimDevice healthy("K7P100");
        ASSERT_NE(faulty.handle(), nullptr) << c.name;
        ASSERT_NE(healthy.handle(), nullptr) << c.name;
        EXPECT_EQ(c.call(faulty.handle()), 0) << c.name;
        EXPECT_NE(c.call(healthy.handle()), 0) << c.name;
        EXPECT_EQ(devGetLastError(faulty.handle()), c.expected)
            << c.name << ": " << devErrorText(devGetLastError(faulty.handle()));
        EXPECT_EQ(devGetLastError(healthy.handle()), kDevErrorNone) << c.name;
    }
}

TEST(ErrorCauses, ASuccessClearsTheCauseAndTheLibraryRefusesUnsendableArguments) {
    SimDevice dev("K7P100");
    EXPECT_FALSE(devSwitchWorkMode(dev.handle(), 0x1234));
    EXPECT_EQ(devGetLastError(dev.handle()), kDevErrorRefused);
    EXPECT_TRUE(kernelNumber(dev.handle()));
    EXPECT_EQ(devGetLastError(dev.handle()), kDevErrorNone);

    EXPECT_EQ(devReadBlock(dev.handle(), 1, 0, 4096, nullptr), 0);
    EXPECT_EQ(devGetLastError(dev.handle()), kDevErrorBadRequest);
    EXPECT_FALSE(devQueryInfo(dev.handle(), 300, nullptr));
    EXPECT_EQ(devGetLastError(dev.handle()), kDevErrorBadRequest);
}

TEST(ErrorCauses, HandlesWithoutADeviceAndTheTexts) {
    EXPECT_EQ(devGetLastError(nullptr), kDevErrorNoDevice);
    SimDevice dev("K7P100");
    const DevHandle closed = dev.handle();
    dev.close();
    EXPECT_EQ(devGetLastError(closed), kDevErrorNoDevice);

    const std::vector<std::pair<int, std::string>> texts = {
        {kDevErrorNone, "no error"},
        {kDevErrorTimeOut, "time-out"},
        {kDevErrorDeviceLost, "device lost"},
        {kDevErrorRefused, "refused"},
        {kDevErrorUnknownOperation, "unknown operation"},
        {kDevErrorBadRequest, "bad request"},
        {kDevErrorMalformedReply, "malformed reply"},
        {kDevErrorFailed, "failed in the controller"},
        {kDevErrorNoDevice, "no such device"},
        {kDevErrorFromHandler, "not allowed in a report handler"},
        {-1, "unknown cause"},
        {1000, "unknown cause"},
    };
    for (const auto& [cause, text] : texts) EXPECT_EQ(devErrorText(cause), text) << cause;
}

}  // namespace
