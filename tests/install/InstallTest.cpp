// An install into a fresh prefix, as a user does it with `cmake --install build --prefix
// ~/.local`, and the installed programs, manual pages and completion at work.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

class Installed : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        scratch_ = new testsupport::ScratchFolder("install-test");
        // Readable by others: a formatter may drop the administrator's rights.
        fs::permissions(scratch_->Path(), fs::perms::owner_all | fs::perms::group_read |
                                              fs::perms::group_exec | fs::perms::others_read |
                                              fs::perms::others_exec);
        const testsupport::ProgramRun run =
            Run(TOVREX_CMAKE, {"--install", TOVREX_BUILD_DIR, "--prefix", Prefix().string()}, {});
        installStatus_ = run.status;
        installOutput_ = new std::string(run.out);
    }
    static void TearDownTestSuite() {
        delete scratch_;
        delete installOutput_;
    }
    void SetUp() override { ASSERT_EQ(installStatus_, 0) << *installOutput_; }

    static fs::path Prefix() { return scratch_->Path() / "prefix"; }
    static fs::path Scratch() { return scratch_->Path(); }

    static testsupport::ProgramRun Run(const fs::path& program, const std::vector<std::string>& args,
                                       const std::vector<std::string>& env) {
        testsupport::ProgramRequest request;
        request.program = program;
        request.args = args;
        request.setEnv = env;
        request.dropEnv = {"XDG_RUNTIME_DIR=", "TOVREX_", "DEVLINK", "MANWIDTH="};
        request.scratch = scratch_->Path();
        request.workingFolder = scratch_->Path();  // anywhere but the program's folder
        return testsupport::RunProgram(request);
    }
    // A shell line, with standard error kept apart in the file "stderr".
    static testsupport::ProgramRun Shell(const std::string& line, std::string& errors,
                                         const std::vector<std::string>& env = {}) {
        const testsupport::ProgramRun run =
            Run("/bin/sh", {"-c", line + " 2>\"" + (Scratch() / "stderr").string() + "\""}, env);
        errors = testsupport::ReadWhole(Scratch() / "stderr");
        return run;
    }
    static std::vector<std::string> SimulatorEnv(const fs::path& runtime) {
        fs::create_directories(runtime);
        return {"XDG_RUNTIME_DIR=" + runtime.string(), "DEVLINK=sim:K7P100",
                "DEVLINK_SIM_TRACE=" + (Scratch() / "trace").string()};
    }

    static testsupport::ScratchFolder* scratch_;
    static int installStatus_;
    static std::string* installOutput_;
};

testsupport::ScratchFolder* Installed::scratch_ = nullptr;
int Installed::installStatus_ = -1;
std::string* Installed::installOutput_ = nullptr;

TEST_F(Installed, ThePrefixHoldsTheProgramsPagesDocumentationAndCompletion) {
    std::vector<fs::path> files = {"bin/TovrexBuilder4",
                                   "share/man/man1/TovrexBuilder4.1",
                                   "share/man/man5/tovrex-files.5",
                                   "share/bash-completion/completions/TovrexBuilder4",
                                   "share/doc/Tovrex/README.md",
                                   "share/doc/Tovrex/commands.md"};
    if (TOVREX_WITH_TUNER) {
        files.push_back("bin/TovrexTuner_K7PXXX");
        files.push_back("share/man/man1/TovrexTuner_K7PXXX.1");
    }
    for (const fs::path& file : files) {
        EXPECT_TRUE(fs::is_regular_file(Prefix() / file)) << file;
    }
    const auto perms = fs::status(Prefix() / "bin/TovrexBuilder4").permissions();
    EXPECT_NE(perms & fs::perms::others_exec, fs::perms::none);
}

TEST_F(Installed, EveryManualPageRendersWithoutWarnings) {
    if (!fs::exists("/usr/bin/man")) GTEST_SKIP() << "man is not installed";
    std::vector<fs::path> pages = {"man1/TovrexBuilder4.1", "man5/tovrex-files.5"};
    if (TOVREX_WITH_TUNER) pages.push_back("man1/TovrexTuner_K7PXXX.1");
    for (const fs::path& page : pages) {
        SCOPED_TRACE(page);
        std::string errors;
        const testsupport::ProgramRun run =
            Shell("MANWIDTH=80 man --warnings -l \"" + (Prefix() / "share/man" / page).string() +
                      "\" | wc -l",
                  errors);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(errors, "");
        EXPECT_GT(std::stoi(run.out), 40) << "rendered " << run.out << " lines";
    }
}

// The installed builder works from any folder: -Je names the working folder, since the program's
// own folder (here bin/) is not one to fill with parameter files and logs.
TEST_F(Installed, TheInstalledBuilderDumpsTheSimulatedController) {
    const fs::path work = Scratch() / "work";
    const testsupport::ProgramRun run = Run(Prefix() / "bin/TovrexBuilder4",
                                            {"-cdump_all", "-Je" + work.string()},
                                            SimulatorEnv(Scratch() / "runtime-dump"));
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Command Execution Success!\n"), std::string::npos) << run.out;
    for (const char* name : {"GXXX_C000.hw", "GXXX_C000.hwt", "GXXX_C000.sw", "GXXX_C000.swt",
                             "GXXX_C000.ini"}) {
        EXPECT_TRUE(fs::is_regular_file(work / name)) << name;
    }
    EXPECT_TRUE(fs::is_directory(work / "BuilderLog"));
    EXPECT_FALSE(fs::exists(Prefix() / "bin/BuilderLog"));
    const std::string trace = testsupport::ReadWhole(Scratch() / "trace");
    EXPECT_TRUE(trace.ends_with("close -> ok\n")) << trace;
}

TEST_F(Installed, TheCompletionOffersCommandsAndOptionsOfTheInstalledBuilder) {
    const fs::path builder = Prefix() / "bin/TovrexBuilder4";
    const std::string complete =
        ". \"" + (Prefix() / "share/bash-completion/completions/TovrexBuilder4").string() +
        "\"; COMP_WORDS=(\"" + builder.string() + "\" \"$WORD\"); COMP_CWORD=1; "
        "_TovrexBuilder4; printf '%s\\n' \"${COMPREPLY[@]}\"";
    const struct {
        const char* word;
        std::vector<std::string> offered;
    } cases[] = {
        {"-cdump_a", {"-cdump_all", "-cdump_all_def"}},
        {"-cstruct", {"-cstruct_info"}},
        {"-J", {"-Ja", "-Jb", "-Jc", "-Jd", "-Je", "-Jf", "-Jg", "-Jh", "-Js"}},
        {"--v", {"--version"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        std::string errors;
        const testsupport::ProgramRun run =
            Run("/bin/bash", {"-c", complete}, {std::string("WORD=") + c.word});
        EXPECT_EQ(run.status, 0) << run.out;
        std::string expected;
        for (const std::string& word : c.offered) expected += word + "\n";
        EXPECT_EQ(run.out, expected);
    }
}

// --help and --version of both installed programs: status 0, and the controller is never asked
// (the simulator's trace stays empty) nor the lock taken.
TEST_F(Installed, HelpAndVersionOfBothProgramsTouchNothing) {
    std::vector<std::pair<std::string, std::string>> cases = {
        {"TovrexBuilder4", "--help"}, {"TovrexBuilder4", "--version"}};
    if (TOVREX_WITH_TUNER) {
        cases.push_back({"TovrexTuner_K7PXXX", "--help"});
        cases.push_back({"TovrexTuner_K7PXXX", "--version"});
    }
    for (const auto& [program, option] : cases) {
        SCOPED_TRACE(program + " " + option);
        fs::remove(Scratch() / "trace");
        const fs::path runtime = Scratch() / ("runtime-" + program + option);
        const testsupport::ProgramRun run =
            Run(Prefix() / "bin" / program, {option}, SimulatorEnv(runtime));
        EXPECT_EQ(run.status, 0) << run.out;
        const bool help = option == "--help";
        EXPECT_NE(run.out.find(help ? "Usage: " : program + " 1.2.18\n"), std::string::npos)
            << run.out;
        if (help) {
            EXPECT_NE(run.out.find("DEVLINK"), std::string::npos) << run.out;
        }
        EXPECT_EQ(testsupport::ReadWhole(Scratch() / "trace"), "");
        EXPECT_TRUE(fs::is_empty(runtime)) << "the lock was taken";
    }
}

}  // namespace
