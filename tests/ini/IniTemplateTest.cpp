// The settings file's names and the template a new settings file is written from.
#include <sstream>

#include "IniFixture.h"
#include "core/ControllerExceptions.h"

namespace {

using IniTemplate = IniFixture;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(IniTemplate, HoldsTheDefaultsAndTheFrequencyTable) {
    CController& c = Ready();
    int code = -1;
    const std::string out = Printed([&] { code = c.Ini().SaveTxtFile(); });
    ASSERT_EQ(code, kParamOk);
    EXPECT_EQ(out, "Write " + IniPath() + " success!\n");

    const std::vector<std::string> lines = Lines(ReadWhole(IniPath()));
    const std::vector<std::string> head = {
        "[Tuning Parameter]",
        "NumsOfFreq = 1    ;    ;",
        "WorkingFreq0 = 9    ;    ;",
        "WorkingFreq1 = -1    ;    ;",
        "WorkingFreq2 = -1    ;    ;",
        "WorkingFreq3 = -1    ;    ;",
        "WorkingFreq4 = -1    ;    ;",
        " ",
        "[Tuning Parameter-RD]",
        "TuningRule = 0    ;0~1    ;0: RefCenter, 1:RefAll",
        "",
        "[---Image Parameter]",
        "EnableImageTune = 1    ;    ;",
        "AD_Level% = 15    ;10~50    ;",
        "Touch% = 10    ;3~30    ;",
        "SignalLevel = 10    ;1~20    ;",
        "NoiseResist = 7    ;1~14    ;",
        "",
        "[Sensor Test]",
        "TurnOffMonitor = 0    ;    ;",
        "FPCTestRxStart(0) = 0    ;    ;",
        "FPCTestRxEnd(0) = 0    ;    ;",
        "FPCTestTxStart(0) = 0    ;    ;",
        "FPCTestTxEnd(0) = 0    ;    ;",
        "FPCTestRxStart(1) = 0    ;    ;",
        "FPCTestRxEnd(1) = 0    ;    ;",
        "FPCTestTxStart(1) = 0    ;    ;",
        "FPCTestTxEnd(1) = 0    ;    ;",
        "",
        "[Frequency Index]",
    };
    ASSERT_EQ(lines.size(), head.size() + 47 + 1);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + head.size()), head);
    // One line per row of the 47-row table: frequency, then clock source, divider and prescaler.
    const std::size_t first = head.size();
    EXPECT_EQ(lines[first], "0 = 250.00KHz    ;    ;0, 3, 12");
    EXPECT_EQ(lines[first + 3], "3 = 208.33KHz    ;    ;1, 3, 12");  // 45000 / 3 / (12 * 3 * 2)
    EXPECT_EQ(lines[first + 46], "46 = 71.43KHz    ;    ;1, 3, 35");
    EXPECT_EQ(lines.back(), "");
}

TEST_F(IniTemplate, ListsTheFrequencyTableOfTheController) {
    CController& c = Ready(176);
    Printed([&] { ASSERT_EQ(c.Ini().SaveTxtFile(), kParamOk); });
    const std::string text = ReadWhole(IniPath());
    // The 38-row table of this controller, whose divider changes from row to row.
    EXPECT_NE(text.find("\n4 = 187.50KHz    ;    ;0, 4, 12\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n37 = 50.00KHz    ;    ;0, 15, 12\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\n38 = "), std::string::npos) << text;
}

TEST_F(IniTemplate, NeverReplacesAnExistingFile) {
    CController& c = Ready();
    const std::string mine = "[Tuning Parameter]\nNumsOfFreq = 3\n";
    WriteIni(mine);
    Printed([&] { EXPECT_EQ(c.Ini().LoadTxtFile(), kParamOk); });
    ASSERT_EQ(c.Ini().NumsOfFreq(), 3);

    int code = -1;
    const std::string out = Printed([&] { code = c.Ini().SaveTxtFile(); });
    EXPECT_EQ(code, kParamOk);
    EXPECT_EQ(out, "File Exist: " + IniPath() + "\n");
    EXPECT_EQ(ReadWhole(IniPath()), mine);

    // A link to nowhere is no settings file, yet the template must not take its place (nor be
    // written where it points): the path cannot be given a template.
    std::filesystem::remove(IniPath());
    std::filesystem::create_symlink(folder_ / "nowhere.ini", IniPath());
    const std::string linked = Printed([&] { code = c.Ini().SaveTxtFile(); });
    EXPECT_EQ(code, kParamCannotCreateText);
    EXPECT_EQ(linked, "Cannot Create File: " + IniPath() + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "nowhere.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(IniPath()));
}

TEST_F(IniTemplate, SavingWritesTheTemplateNotTheLoadedSettings) {
    CController& c = Ready();
    WriteIni("[---Image Parameter]\nAD_Level% = 50\n[Tuning Parameter]\nNumsOfFreq = 4\n");
    Printed([&] { ASSERT_EQ(c.Ini().LoadTxtFile(), kParamOk); });
    ASSERT_EQ(c.Ini().NumsOfFreq(), 4);
    std::filesystem::remove(IniPath());
    Printed([&] { ASSERT_EQ(c.Ini().SaveTxtFile(), kParamOk); });
    const std::string text = ReadWhole(IniPath());
    EXPECT_NE(text.find("\nAD_Level% = 15    ;10~50    ;\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nNumsOfFreq = 1    ;    ;\n"), std::string::npos) << text;
}

TEST_F(IniTemplate, AFolderThatCannotTakeTheFileFailsWithoutASuccessMessage) {
    options_.folders.workingFolder = folder_.string() + "/missing/";
    CController& c = Ready();
    int code = -1;
    const std::string out = Printed([&] { code = c.Ini().SaveTxtFile(); });
    EXPECT_EQ(code, kParamCannotCreateText);
    EXPECT_EQ(out, "Cannot Create File: " + folder_.string() + "/missing/GXXX_C000.ini\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "missing"));
}

TEST_F(IniTemplate, AModelNameThatCannotNameAFileGivesNoSettingsFileName) {
    device_.texts["model"] = "TVX-K7P-P/94";
    Build(94);
    // The hardware set refuses the name first, which ends the start-up.
    Printed([&] { EXPECT_THROW(controller_->Initialise(), CInitDevException); });
    EXPECT_EQ(controller_->Ini().InitFileName(), 0);
    EXPECT_EQ(controller_->Ini().GetTxtFileName(), "");
}

struct NameCase {
    const char* name;
    bool fixedNames;
    const char* commandLine;  // -f value; empty when not given
    const char* fileName;     // the text file name
    const char* path;         // the path relative to the working folder; absolute when it starts
                              // with '/'
};

void PrintTo(const NameCase& n, std::ostream* os) {
    *os << n.name;
}

class IniNames : public IniFixture, public testing::WithParamInterface<NameCase> {};

TEST_P(IniNames, NameAndPath) {
    const NameCase& n = GetParam();
    options_.fixed.fixedName = n.fixedNames;
    options_.files.settingsPath = n.commandLine;
    device_.texts["model"] = "TVX-K7P84-P176";
    CController& c = Ready(176);
    EXPECT_EQ(c.Ini().GetTxtFileName(), n.fileName);
    EXPECT_EQ(c.Ini().GetBinFileName(), "");
    const std::string path = n.path[0] == '/' ? n.path : folder_.string() + "/" + n.path;
    EXPECT_EQ(c.Ini().SettingsPath(), path);
    // The name from the command line stays for the rest of the run.
    EXPECT_EQ(c.Ini().InitDefaultFileName(), 1);
    if (*n.commandLine != '\0') {
        EXPECT_EQ(c.Ini().SettingsPath(), path);
    }
}

const NameCase kNameCases[] = {
    {"ProjectAndProductNumber", false, "", "P176_C000.ini", "P176_C000.ini"},
    {"FixedNames", true, "", "GXXX_C000.ini", "GXXX_C000.ini"},
    {"RelativeNameFromTheCommandLine", false, "mine.ini", "mine.ini", "mine.ini"},
    {"AbsoluteNameFromTheCommandLine", true, "/srv/tuning/line3.ini", "/srv/tuning/line3.ini",
     "/srv/tuning/line3.ini"},
};

INSTANTIATE_TEST_SUITE_P(Names, IniNames, testing::ValuesIn(kNameCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniTemplate, AnAbsoluteCommandLineNameIsLoadedWhereItIs) {
    const std::filesystem::path elsewhere = folder_ / "elsewhere";
    std::filesystem::create_directory(elsewhere);
    options_.files.settingsPath = (elsewhere / "line.ini").string();
    std::ofstream(elsewhere / "line.ini") << "[Tuning Parameter]\nNumsOfFreq = 2\n";
    CController& c = Ready();
    Printed([&] { EXPECT_EQ(c.Ini().LoadTxtFile(), kParamOk); });
    EXPECT_EQ(c.Ini().NumsOfFreq(), 2);
    EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

}  // namespace
