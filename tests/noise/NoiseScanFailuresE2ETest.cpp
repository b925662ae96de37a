// detect_noise when it cannot scan: without its settings nothing is measured, and a device
// failure stops the scan at its step with that step's message and the command's failure code.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "NoiseScanE2E.h"

namespace {

TEST_F(NoiseScanE2ETest, WithoutASettingsFileNothingIsMeasured) {
    const ScanRun run = Run("model = K7P100");
    EXPECT_EQ(run.status, 8) << run.out;
    EXPECT_EQ(Result(), "0x8240000E\n");  // the settings code OR "cannot open" (14)
    const std::string trace = Trace();
    EXPECT_EQ(trace.find("write_registers"), std::string::npos) << trace;
    EXPECT_EQ(trace.find("set_clock"), std::string::npos) << trace;
}

// A device failure stops the scan at its step with that step's message; the lines logged before
// it stay in the log.
struct FailureCase {
    const char* name;
    const char* fault;
    const char* message;
    bool linesBefore;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class NoiseScanFailureE2ETest : public NoiseScanE2ETest,
                                public testing::WithParamInterface<FailureCase> {};

TEST_P(NoiseScanFailureE2ETest, FailsWithTheStepsMessage) {
    Settings(1);
    std::string fault = GetParam().fault;
    if (fault == "mid-scan") {
        // Disconnect after the fortieth measurement of a scan that otherwise succeeds: the next
        // prescaler cannot be written.
        ASSERT_EQ(Run("model = K7P100").status, 0);
        std::istringstream trace(Trace());
        int requests = 0, measurements = 0;
        for (std::string line; std::getline(trace, line) && measurements < 40;) {
            ++requests;
            measurements += line.rfind("set_test_mode", 0) == 0;
        }
        fault = "disconnect_after = " + std::to_string(requests);
    }
    const ScanRun run = Run("model = K7P100\n" + fault);
    EXPECT_NE(run.out.find("Command Execution Failed! Errorcode(0x82400002)"), std::string::npos)
        << run.out;
    if (GetParam().linesBefore) {
        // A controller that is gone cannot be switched back either, which the exit status says.
        EXPECT_EQ(run.status, 7) << run.out;
    } else {
        EXPECT_EQ(run.status, 8) << run.out;
        EXPECT_EQ(Result(), "0x82400002\n");
    }
    EXPECT_NE(run.out.find(GetParam().message), std::string::npos) << run.out;
    EXPECT_NE(Log().find(GetParam().message), std::string::npos);
    const size_t lines = Spectrum().size();
    if (GetParam().linesBefore) {
        EXPECT_GT(lines, 0u);
        EXPECT_LT(lines, 125u);
    } else {
        EXPECT_EQ(lines, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, NoiseScanFailureE2ETest,
    testing::Values(FailureCase{"PresetNotWritten", "fail = write_registers",
                                "Set Test Parameter Fail", false},
                    FailureCase{"ClockNotSet", "fail = set_clock", "Get Clksrc Fail", false},
                    FailureCase{"MeasurementNotStarted", "fail = set_test_mode",
                                "Read channel Data Fail", false},
                    FailureCase{"Disconnected", "mid-scan", "Write FreqPreScale Fail", true}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

}  // namespace
