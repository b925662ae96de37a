// The builder end to end against the simulated controller of every supported model.
#include "SimulatedBuilder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "SimModels.h"
#include "platform/SingleInstance.h"

namespace {

using Model = testsupport::SimModel;

class EveryModel : public SimulatedBuilder, public testing::WithParamInterface<Model> {};

TEST_P(EveryModel, FindsTheControllerWritesStructInfoAndRestartsItAtExit) {
    const Model m = GetParam();
    const BuilderRun run = Run(m.name, {"-cstruct_info"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Result(), "0x00000000\n");
    const std::string found = std::string("\nFind controller: TC-") + m.name + " (TVX-" + m.name +
                              "-" + m.project + ", V5.120.07), Kernel: 05_120.\n";
    EXPECT_TRUE(Has(run.out, found)) << run.out;
    EXPECT_TRUE(Has(run.out, m.stylus ? "Dev parameter version: HW=13, SW=26, PW=14\n"
                                      : "Dev parameter version: HW=13, SW=26\n"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "Command Execution Success!\n"));
    EXPECT_EQ(Read(app_ / "StructInfo"),
              m.stylus ? "Builder: 13.26.14\nKernel: 13.26.14\nFlash: 13.26.14\n"
                       : "Builder: 13.26\nKernel: 13.26\nFlash: 13.26\n");
    const std::string trace = Trace();
    EXPECT_TRUE(EndsWithRestartAndClose(trace));
    EXPECT_FALSE(Has(trace, "write_block")) << trace;
    EXPECT_EQ(Has(trace, "read_block type=3"), m.stylus) << trace;
}

INSTANTIATE_TEST_SUITE_P(Models, EveryModel, testing::ValuesIn(testsupport::SimModels()),
                         [](const auto& info) { return "Type" + info.param.project; });

using Builder = SimulatedBuilder;

TEST_F(Builder, NoArgumentsRunNothingButStillCloseTheController) {
    const BuilderRun run = Run("K7P100", {});
    EXPECT_EQ(run.status, 2) << run.out;
    EXPECT_EQ(Result(), "0x80000000\n");
    EXPECT_TRUE(Has(run.out, "Find controller"));
    EXPECT_FALSE(Has(run.out, "Dispatch Command"));
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

TEST_F(Builder, AnUnknownCommandIsReported) {
    const BuilderRun run = Run("K7P100", {"-cno_such_command"});
    EXPECT_EQ(run.status, 3) << run.out;
    EXPECT_EQ(Result(), "0x00004001\n");
    EXPECT_TRUE(Has(run.out, "Unknown Command.\n")) << run.out;
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

TEST_F(Builder, AnUnknownOptionDoesNotStopTheParse) {
    const BuilderRun run = Run("K7P100", {"-x", "-cstruct_info"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "Unknown Argument.\n")) << run.out;
    EXPECT_TRUE(std::filesystem::exists(app_ / "StructInfo"));
}

TEST_F(Builder, DumpWritesTheBinaryAndTheTextFile) {
    const BuilderRun run = Run("K7P100", {"-cdump_hw"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Result(), "0x00000000\n");
    EXPECT_TRUE(std::filesystem::exists(app_ / "P094_C05E.hwt"));
    EXPECT_TRUE(Has(run.out, "Command Execution Success!"));
    EXPECT_EQ(std::filesystem::file_size(app_ / "P094_C05E.hw"), 64u + 4096u);
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

TEST_F(Builder, StructInfoThatCannotBeWrittenIsAFailure) {
    std::filesystem::create_directory(app_ / "StructInfo");  // a folder in the file's way
    const BuilderRun run = Run("K7P100", {"-cstruct_info"});
    EXPECT_EQ(run.status, 8) << run.out;
    EXPECT_EQ(Result(), "0x80000001\n");
    EXPECT_TRUE(Has(run.out, "Command Execution Failed! Errorcode(0x80000001).\n")) << run.out;
    EXPECT_FALSE(Has(run.out, "Command Execution Success!")) << run.out;
    EXPECT_TRUE(std::filesystem::is_directory(app_ / "StructInfo"));
    EXPECT_FALSE(std::filesystem::exists(app_ / "StructInfo.tmp"));
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

TEST_F(Builder, ResumeModeOptionRestartsIntoCommandMode) {
    const BuilderRun run = Run("K7P100", {"-Ja", "-cstruct_info"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(EndsWithRestartAndClose(Trace(), "0x8000"));
}

TEST_F(Builder, TheMenuShowsHelpRunsCommandsAndEndsWithQ) {
    const BuilderRun run = Run("K9PM100", {"-i"}, "?\nx\nQ\n");
    EXPECT_EQ(run.status, 6) << run.out;
    EXPECT_EQ(Result(), "0x0000400B\n");
    // The help at start and once more for "?".
    const std::string help = "App parameter version: HW=13, SW=26, PW=14\n\nCommand List:";
    const auto first = run.out.find(help);
    ASSERT_NE(first, std::string::npos) << run.out;
    EXPECT_NE(run.out.find(help, first + 1), std::string::npos) << run.out;
    EXPECT_TRUE(Has(run.out, "TovrexBuilder4 command (?: List Cmd, Q: Quit): "));
    EXPECT_TRUE(Has(run.out, "Dispatch Command: struct_info.\n"));
    EXPECT_TRUE(std::filesystem::exists(app_ / "StructInfo"));
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

TEST_F(Builder, MenuKeyZEndsWithTheUnknownCommandResult) {
    const BuilderRun run = Run("K7P100", {"-i"}, "z\nx\n");
    EXPECT_EQ(run.status, 3) << run.out;
    EXPECT_EQ(Result(), "0x00004001\n");
    EXPECT_FALSE(std::filesystem::exists(app_ / "StructInfo"));
}

TEST_F(Builder, EndOfInputEndsTheMenuAsQ) {
    const BuilderRun run = Run("K7P100", {"-i"}, "");
    EXPECT_EQ(run.status, 6) << run.out;
    EXPECT_EQ(Result(), "0x0000400B\n");
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

TEST_F(Builder, ASecondInstanceIsRefusedWithoutTouchingTheController) {
    setenv("XDG_RUNTIME_DIR", (folder_ / "runtime").c_str(), 1);
    platform::CSingleInstanceLock held("TOVREXBUILDER4");
    ASSERT_TRUE(held.Acquired());
    const BuilderRun run = Run("K7P100", {"-cstruct_info"});
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(Has(run.out, "TovrexBuilder4 already running!\n")) << run.out;
    EXPECT_FALSE(Has(run.out, "Find controller"));
    EXPECT_EQ(Trace(), "");
}

// Without a runtime folder the lock lives in the shared temporary folder. Another user's builder,
// running or gone, must not stop this user's: the test runs the program as an unprivileged user
// while the administrator's lock is held there, beside a stale owner-only file of the plain name.
TEST_F(Builder, AnotherUsersLockInTheSharedTemporaryFolderDoesNotStopThisUser) {
    const std::filesystem::path setpriv = "/usr/bin/setpriv";
    if (geteuid() != 0) GTEST_SKIP() << "needs the administrator to run the program as another user";
    if (!std::filesystem::exists(setpriv)) GTEST_SKIP() << setpriv << " is not installed";
    using std::filesystem::perms;
    const std::filesystem::path shared = folder_ / "shared";
    std::filesystem::create_directory(shared);
    std::filesystem::permissions(shared, perms::all | perms::sticky_bit);
    std::filesystem::permissions(folder_, perms::all);  // result and trace files
    std::filesystem::permissions(app_, perms::all);     // logs and StructInfo
    std::ofstream(shared / "TOVREXBUILDER4.lock") << "";
    std::filesystem::permissions(shared / "TOVREXBUILDER4.lock",
                                 perms::owner_read | perms::owner_write);

    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", shared.c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    {
        const platform::CSingleInstanceLock administrators("TOVREXBUILDER4");
        ASSERT_TRUE(administrators.Acquired()) << administrators.Error();

        testsupport::ProgramRequest request;
        request.program = setpriv;
        request.args = {"--reuid=65534", "--regid=65534", "--clear-groups",
                        (app_ / "TovrexBuilder4").string(), "-cstruct_info"};
        request.setEnv = {"TMPDIR=" + shared.string(), "TOVREX_RESULT_FILE=" + ResultPath().string(),
                          "DEVLINK=sim:K7P100", "DEVLINK_SIM_TRACE=" + TracePath().string()};
        request.dropEnv = {"XDG_RUNTIME_DIR=", "TMPDIR=", "TOVREX_", "DEVLINK"};
        request.scratch = folder_;
        const testsupport::ProgramRun run = testsupport::RunProgram(request);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_TRUE(Has(run.out, "Command Execution Success!\n")) << run.out;
    }
    if (oldTmp) {
        setenv("TMPDIR", savedTmp.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    // The unprivileged user's own lock file, owner-only.
    const std::filesystem::path own = shared / "TOVREXBUILDER4-65534.lock";
    struct stat status {};
    ASSERT_EQ(lstat(own.c_str(), &status), 0) << own;
    EXPECT_EQ(status.st_uid, 65534u);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(Builder, AnUnsupportedControllerIsRefused) {
    const BuilderRun run = Run(Profile("model = K7P100\ntype_code = 95\n"), {"-cstruct_info"});
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(Has(run.out, "Not support this device!\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "Device Initialization Failed!\n"));
    // Opened to learn its type, then closed untouched.
    EXPECT_EQ(Trace(), "open -> ok\nclose -> ok\n");
}

TEST_F(Builder, TwoControllersAreRefused) {
    const BuilderRun run = Run(Profile("model = K7P100\ncontrollers = 2\n"), {"-cstruct_info"});
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(Has(run.out, "\nCannot support multiplr controllers!\n")) << run.out;
    EXPECT_EQ(Trace(), "");
}

TEST_F(Builder, ADisconnectEndsTheMenu) {
    // Initialisation answers 15 requests and struct_info two more; then the controller goes.
    // The next key, typed after the notice, ends the menu.
    const BuilderRun run = Run(Profile("model = K7P100\ndisconnect_after = 17\n"), {"-i"}, "x\n",
                               {{"Device disconnected.", "x\n"}});
    EXPECT_EQ(run.status, 5) << run.out;
    EXPECT_EQ(Result(), "0x0000400A\n");
    EXPECT_TRUE(Has(run.out, "\nDevice disconnected.\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "Command Execution Success!\n"));
    // The restart at exit cannot reach a controller that has gone; the close still comes.
    const std::string trace = Trace();
    const std::string end = "disconnect\nclose -> ok\n";
    EXPECT_EQ(trace.substr(trace.size() - std::min(trace.size(), end.size())), end) << trace;
}

struct InitFault {
    const char* profileLines;
    const char* message;
};

class InitialisationFault : public SimulatedBuilder,
                            public testing::WithParamInterface<InitFault> {};

TEST_P(InitialisationFault, StopsWithItsMessageAndRestartsTheController) {
    const BuilderRun run =
        Run(Profile(std::string("model = K7P100\n") + GetParam().profileLines + "\n"),
            {"-cstruct_info"});
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_EQ(Result(), "0x00000001\n");
    EXPECT_TRUE(Has(run.out, GetParam().message)) << run.out;
    EXPECT_TRUE(Has(run.out, "Device Initialization Failed!\n"));
    EXPECT_FALSE(Has(run.out, "Find controller"));
    const std::string trace = Trace();
    EXPECT_TRUE(EndsWithRestartAndClose(trace));
    EXPECT_FALSE(Has(trace, "write_block")) << trace;
    EXPECT_FALSE(std::filesystem::exists(app_ / "StructInfo"));
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, InitialisationFault,
    testing::Values(InitFault{"refuse_mode = 0x8000", "Switch Work Mode Failed!\n"},
                    InitFault{"fail = model_name", "Get Model Name Failed!\n"},
                    InitFault{"fail = type_name", "Get Type Name Failed!\n"},
                    InitFault{"fail = version_text", "Get Version Failed!\n"},
                    InitFault{"fail = error_code", "Get ErrorCode Failed!\n"},
                    InitFault{"fail = info3", "Query Channel Information Failed!\n"},
                    InitFault{"fail = pcap_info", "Query PCAP Information Failed!\n"},
                    InitFault{"fail = struct_version", "Query Structure Version Failed!\n"},
                    InitFault{"fail = kernel_number", "Query Kernel Number Failed!\n"},
                    InitFault{"model_name = N/A", "Init HW Setting File Name Fail!\n"},
                    InitFault{"fail = ic_info", "Query IC Information Failed!\n"},
                    InitFault{"fail = report_info", "Query HID Report Information Failed!\n"}));

}  // namespace
