// The tuner asked to end by a signal leaves as when its window is closed: the controller goes back
// to normal mode and is closed, and the program ends with 128 + the signal number.
#include <signal.h>

#include <cstdlib>

#include "RunProgram.h"
#include "ScratchFolder.h"

namespace {

TEST(TunerSignals, TheControllerIsSwitchedBackAndClosed) {
    const char* bin = std::getenv("TOVREX_BIN_DIR");
    ASSERT_NE(bin, nullptr) << "TOVREX_BIN_DIR is not set";
    for (const int signal : {SIGINT, SIGTERM}) {
        const testsupport::ScratchFolder scratch("tuner-signal");
        const std::filesystem::path& folder = scratch.Path();
        std::filesystem::create_directories(folder / "runtime");
        std::filesystem::permissions(folder / "runtime", std::filesystem::perms::owner_all);
        const std::filesystem::path trace = folder / "trace.txt";

        testsupport::ProgramRequest request;
        request.program = std::filesystem::path(bin) / "TovrexTuner_K7PXXX";
        request.setEnv = {"DEVLINK=sim:K7P100", "DEVLINK_SIM_TRACE=" + trace.string(),
                          "QT_QPA_PLATFORM=offscreen",
                          "XDG_RUNTIME_DIR=" + (folder / "runtime").string()};
        request.dropEnv = {"DEVLINK", "XDG_RUNTIME_DIR=", "QT_QPA_PLATFORM="};
        request.scratch = folder;
        // Once the pages have put the controller in their mode.
        request.replies = {
            testsupport::Reply::Signal("version_text -> ok\nmodel_name", signal, trace)};
        const testsupport::ProgramRun run = testsupport::RunProgram(request);

        EXPECT_EQ(run.status, 128 + signal) << run.out;
        const std::string text = testsupport::ReadWhole(trace);
        const std::string end = "switch_mode mode=0x0000 -> ok\nclose -> ok\n";
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), end.size())), end) << text;
    }
}

}  // namespace
