// What a user meets first: --help and --version, which touch nothing, and the hint when no
// controller is found because no backend was chosen.
#include <fstream>

#include "SimulatedBuilder.h"

namespace {

class FirstUse : public SimulatedBuilder {
  protected:
    // Runs the copied builder with standard error kept apart in its own file.
    BuilderRun RunSplit(const std::vector<std::string>& env, const std::vector<std::string>& args,
                        std::string& errors) {
        std::filesystem::remove(TracePath());
        std::filesystem::remove(ResultPath());
        testsupport::ProgramRequest request = Request("", {});
        request.program = "/bin/sh";
        request.args = {"-c", "p=$1; e=$2; shift 2; exec \"$p\" \"$@\" 2>\"$e\"", "sh",
                        (app_ / "TovrexBuilder4").string(), (folder_ / "stderr").string()};
        request.args.insert(request.args.end(), args.begin(), args.end());
        request.setEnv.insert(request.setEnv.end(), env.begin(), env.end());
        const BuilderRun run = Run(request);
        errors = Read(folder_ / "stderr");
        return run;
    }
};

// Neither takes the lock, opens a log, looks for a controller or writes a result: the simulated
// controller's trace stays empty and the folders stay as they were.
TEST_F(FirstUse, HelpAndVersionAnswerWithoutTouchingAnything) {
    const struct {
        std::vector<std::string> args;
        const char* expected;
    } cases[] = {
        {{"--help"}, "Usage: TovrexBuilder4 [OPTION]... [FILE]...\n"},
        {{"-cdump_all", "--help"}, "\nCommands (-cNAME):\n"},
        {{"--version"}, "TovrexBuilder4 1.2.18\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::string errors;
        const BuilderRun run = RunSplit({"DEVLINK=sim:K7P100"}, c.args, errors);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_TRUE(Has(run.out, c.expected)) << run.out;
        EXPECT_EQ(errors, "");
        EXPECT_FALSE(Has(run.out, "Unknown Argument")) << run.out;
        EXPECT_EQ(Trace(), "");
        EXPECT_FALSE(std::filesystem::exists(ResultPath()));
        EXPECT_TRUE(std::filesystem::is_empty(folder_ / "runtime")) << "the lock was taken";
        EXPECT_FALSE(std::filesystem::exists(app_ / "BuilderLog")) << "a log was opened";
    }
}

// The hint names the simulated controller only when no backend was chosen and nothing was found;
// the usual messages and the result stay as they are, on standard output.
TEST_F(FirstUse, NoControllerWithoutABackendGivesAHintOnStandardError) {
    const char* hint = "No touch controller was found. To use the simulated one, set DEVLINK";
    std::string errors;
    BuilderRun run = RunSplit({}, {"-cstruct_info"}, errors);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(Has(run.out, "Not support this device!\nDevice Initialization Failed!\n"))
        << run.out;
    EXPECT_FALSE(Has(run.out, hint)) << run.out;
    EXPECT_TRUE(Has(errors, hint)) << errors;
    EXPECT_TRUE(Has(errors, "DEVLINK=sim:K7P100")) << errors;

    // A chosen backend that finds nothing, or finds a controller it cannot use: no hint.
    for (const char* profile : {"model = K7P100\ncontrollers = 0\n",
                                "model = K7P100\ntype_code = 95\n"}) {
        SCOPED_TRACE(profile);
        run = RunSplit({"DEVLINK=sim:" + Profile(profile)}, {"-cstruct_info"}, errors);
        EXPECT_EQ(run.status, 1) << run.out;
        EXPECT_TRUE(Has(run.out, "Device Initialization Failed!\n")) << run.out;
        EXPECT_EQ(errors, "");
    }
}

}  // namespace
