// The settings file as the tuning commands meet it: the real program against the simulated
// controller, in a fresh folder.
//
// Past the settings step `autotune` tunes the healthy simulated panel: it succeeds with the
// template, which enables the image tuning, and fails with its own code (0x01200002, "Please Set
// Tuning Item in Ini File") with a file that enables nothing. Either tells that the settings step
// let the command go on.
#include "SimulatedBuilder.h"

namespace {

using IniCommand = SimulatedBuilder;

constexpr char kSettingsStepFailed[] = "0x8120000E\n";  // 0x01200000 | 0x0A | 14, handler failed
constexpr char kTunedWithTheTemplate[] = "0x00000000\n";
constexpr char kNothingToTune[] = "0x81200002\n";

TEST_F(IniCommand, WithoutASettingsFileTheTemplateIsWrittenAndTheCommandStops) {
    const std::filesystem::path ini = app_ / "P094_C05E.ini";
    const BuilderRun run = Run("K7P100", {"-cautotune"});
    EXPECT_EQ(run.status, 8) << run.out;
    EXPECT_EQ(Result(), kSettingsStepFailed);
    EXPECT_TRUE(Has(run.out, "Cannot Load File: " + ini.string() + "\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "Write " + ini.string() + " success!\n")) << run.out;
    EXPECT_FALSE(Has(run.out, "Command Execution Success!")) << run.out;
    const std::string text = Read(ini);
    EXPECT_TRUE(Has(text, "[Tuning Parameter]\nNumsOfFreq = 1    ;    ;\n")) << text;
    EXPECT_TRUE(Has(text, "\n[Frequency Index]\n0 = 250.00KHz    ;    ;0, 3, 12\n")) << text;
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));

    // The next run finds the file the user may now edit, and goes on.
    const BuilderRun next = Run("K7P100", {"-cautotune"});
    EXPECT_EQ(Result(), kTunedWithTheTemplate) << next.out;
    EXPECT_TRUE(Has(next.out, "Load File: " + ini.string() + " Success.\n")) << next.out;
    EXPECT_FALSE(Has(next.out, "Cannot Load File")) << next.out;
    EXPECT_EQ(Read(ini), text);
}

TEST_F(IniCommand, WithFixedNamesTheCommandGoesOnWithTheTemplateItWrote) {
    const std::filesystem::path work = folder_ / "work";
    const BuilderRun run = Run("K7P100", {"-cautotune", "-Je" + work.string()});
    EXPECT_EQ(Result(), kTunedWithTheTemplate) << run.out;
    EXPECT_TRUE(Has(run.out, "Cannot Load File: " + (work / "GXXX_C000.ini").string() + "\n"))
        << run.out;
    EXPECT_TRUE(std::filesystem::is_regular_file(work / "GXXX_C000.ini"));
    EXPECT_FALSE(std::filesystem::exists(app_ / "GXXX_C000.ini"));
    EXPECT_TRUE(EndsWithRestartAndClose(Trace()));
}

TEST_F(IniCommand, ASettingsFileNamedOnTheCommandLineIsTheOneLoaded) {
    std::ofstream(app_ / "line3.ini") << "[---Image Parameter]\nAD_Level% = 140\n";
    const BuilderRun run = Run("K7P100", {"-cautotune", "-fline3.ini"});
    EXPECT_EQ(Result(), kNothingToTune) << run.out;
    EXPECT_TRUE(Has(run.out, "Load File: " + (app_ / "line3.ini").string() + " Success.\n"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "AD_Level% range error, value = 140, range = 0~100, Clamp!\n"))
        << run.out;
    EXPECT_FALSE(std::filesystem::exists(app_ / "P094_C05E.ini"));
}

TEST_F(IniCommand, OtherCommandsThatLoadTheSettingsStopTheSameWay) {
    // test: 0x01300000, cal_open: 0x01D00000, each OR 0x0A OR 14.
    const std::pair<const char*, const char*> commands[] = {{"-ctest", "0x8130000E\n"},
                                                            {"-ccal_open", "0x81D0000E\n"}};
    for (const auto& [command, result] : commands) {
        std::filesystem::remove(app_ / "P094_C05E.ini");
        const BuilderRun run = Run("K7P100", {command});
        EXPECT_EQ(Result(), result) << command << "\n" << run.out;
        EXPECT_TRUE(std::filesystem::is_regular_file(app_ / "P094_C05E.ini")) << command;
    }
}

// Something other than a readable file at the settings path (here a folder): the settings can
// neither be loaded nor be given a template, and nothing claims otherwise.
TEST_F(IniCommand, ASettingsPathTakenByAFolderIsOneClearError) {
    const std::filesystem::path ini = app_ / "P094_C05E.ini";
    std::filesystem::create_directory(ini);
    const struct {
        const char* command;
        const char* result;  // autotune: 0x01200000 | 0x0A | 15; dump_all: its settings step
    } cases[] = {{"-cautotune", "0x8120000F\n"}, {"-cdump_all", "0x870C000F\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const BuilderRun run = Run("K7P100", {c.command});
        EXPECT_EQ(run.status, 8) << run.out;
        EXPECT_EQ(Result(), c.result);
        EXPECT_TRUE(Has(run.out, "Cannot Create File: " + ini.string() + "\n")) << run.out;
        EXPECT_FALSE(Has(run.out, "File Exist")) << run.out;
        EXPECT_FALSE(Has(run.out, "Command Execution Success!")) << run.out;
        EXPECT_TRUE(std::filesystem::is_directory(ini));
    }
}

}  // namespace
