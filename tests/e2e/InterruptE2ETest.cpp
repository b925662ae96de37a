// The builder asked to end by a signal: the running command stops at its next device call, the
// controller is switched back, restarted into its resume mode and closed, the result file is
// written, and the program ends with 128 + the signal number. A second signal ends it at once.
// Also: a failed device call leaves its cause in the log file, not on the console.
#include <signal.h>

#include "SimulatedBuilder.h"

namespace {

using Interrupt = SimulatedBuilder;

constexpr const char* kPrompt = "TovrexBuilder4 command (?: List Cmd, Q: Quit): ";
// The command's own read of the hardware set (start-up reads it too, before command mode).
constexpr const char* kCommandsHardwareRead = "switch_mode mode=0x8000 -> ok\nread_block type=1";

TEST_F(Interrupt, InTheMenuTheControllerIsRestartedAndClosed) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const BuilderRun run =
            Run("K7P100", {"-i"}, "", {testsupport::Reply::Signal(kPrompt, signal)});
        EXPECT_EQ(run.status, 128 + signal) << run.out;
        EXPECT_EQ(Result(), "0x0000400B\n") << "signal " << signal;
        EXPECT_TRUE(EndsWithRestartAndClose(Trace())) << "signal " << signal;
        EXPECT_TRUE(Has(run.out, "TovrexBuilder4 Exit.")) << run.out;
    }
}

TEST_F(Interrupt, ALongCommandStopsAtItsNextDeviceCall) {
    // A slow controller: the signal comes while the hardware set is on its way.
    const std::string profile = Profile("model = K7P100\nreply_delay_ms = 300\n");
    const BuilderRun run =
        Run(profile, {"-cdump_all"}, "",
            {testsupport::Reply::Signal(kCommandsHardwareRead, SIGINT, TracePath())});
    EXPECT_EQ(run.status, 128 + SIGINT) << run.out;
    // After the command's read of the hardware set, only the exit path reaches the controller.
    const std::string trace = Trace();
    const std::string stopped = std::string(kCommandsHardwareRead) +
                                " offset=0 length=4096 count=4096 -> ok\n"
                                "switch_mode mode=0x0000 -> ok\nrestart mode=0x0000 -> ok\n";
    EXPECT_TRUE(Has(trace, stopped)) << trace;
    EXPECT_TRUE(EndsWithRestartAndClose(trace));
    EXPECT_TRUE(Has(run.out, "Stopped by signal 2.")) << run.out;
    EXPECT_TRUE(Has(run.out, "Command Execution Failed!")) << run.out;
    const std::string result = Result();
    EXPECT_EQ(result.rfind("0x8", 0), 0u) << "a failed handler's result: " << result;
}

TEST_F(Interrupt, ASecondSignalEndsTheProgramAtOnce) {
    const std::string profile = Profile("model = K7P100\nreply_delay_ms = 300\n");
    const BuilderRun run =
        Run(profile, {"-cdump_all"}, "",
            {testsupport::Reply::Signal(kCommandsHardwareRead, SIGINT, TracePath()),
             testsupport::Reply::Signal(kCommandsHardwareRead, SIGTERM, TracePath())});
    EXPECT_EQ(run.status, 128 + SIGTERM) << run.out;
    EXPECT_FALSE(Has(Trace(), "close")) << Trace();
}

TEST_F(Interrupt, AFailedDeviceCallLogsItsCauseInTheFileOnly) {
    const BuilderRun run =
        Run(Profile("model = K7P100\nfail = read_block:refused\n"), {"-Jz", "-cdump_hw"});
    EXPECT_NE(run.status, 0) << run.out;
    EXPECT_FALSE(Has(run.out, "Device call")) << run.out;
    std::string log;
    for (const auto& entry : std::filesystem::directory_iterator(app_ / "BuilderLog"))
        if (entry.path().extension() == ".log") log += Read(entry.path());
    EXPECT_TRUE(Has(log, "Device call readBlock failed: refused.")) << log;
}

}  // namespace
