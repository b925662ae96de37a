#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "core/BuilderLog.h"
#include "shell/Options.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

class OptionParsing : public TempFolderTest {
  protected:
    // Parses "program args..." into fresh options; returns how many "Unknown Argument." lines
    // reached the console.
    int Parse(const std::vector<std::string>& args, BuilderOptions& o) {
        std::vector<std::string> all = {"TovrexBuilder4"};
        all.insert(all.end(), args.begin(), args.end());
        CBuilderLog log;
        CaptureStdout();
        ParseOptions(all, o, log, false);
        const std::string console = GetCapturedStdout();
        int count = 0;
        for (std::size_t at = 0;
             (at = console.find("Unknown Argument.\n", at)) != std::string::npos; ++at) {
            ++count;
        }
        return count;
    }
};

struct OptionCase {
    std::vector<std::string> args;
    int unknown;  // "Unknown Argument." lines expected
    std::function<void(const BuilderOptions&)> check;
};

TEST_F(OptionParsing, TableOfOptions) {
    const std::string longPath(600, 'p');
    const OptionCase cases[] = {
        {{},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.command.commandName, "");
             EXPECT_FALSE(o.command.pauseAtExit);
             EXPECT_EQ(o.sensorTest.mutualThreshold, 60);
             EXPECT_EQ(o.sensorTest.mutualMinRepeat, 1);
             EXPECT_EQ(o.sensorTest.shortMinRepeat, 1);
             EXPECT_EQ(o.sensorTest.testFreqA, 255);
             EXPECT_EQ(o.sensorTest.testFreqB, 255);
             EXPECT_EQ(o.uniformity.strength, 1);
             EXPECT_EQ(o.uniformity.second, 1);
             EXPECT_EQ(o.uniformity.disableWarning, 1);
             EXPECT_EQ(o.uniformity.disableLog, 1);
             EXPECT_EQ(o.thresholds.Uniformity, 20);
             EXPECT_EQ(o.thresholds.CookTouchTh, 60);
             EXPECT_EQ(o.thresholds.DeltaTouchTh, 60);
             EXPECT_EQ(o.thresholds.GroupMassTh, 1000);
             EXPECT_EQ(o.thresholds.TouchThFinger, 40);
             EXPECT_EQ(o.thresholds.RawFlatForStray, 13);
             EXPECT_EQ(o.thresholds.RawFlatForPoint, 13);
             EXPECT_EQ(o.device.inputReportLength, 64u);
             EXPECT_EQ(o.device.outputReportLength, 64u);
             EXPECT_FALSE(o.fixed.fixedName);
         }},
        // Accepted without effect; the command and the threshold still count.
        {{"-cdiag", "-i", "-a5", "-b6", "-e70", "-nName"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.command.commandName, "diag");
             EXPECT_EQ(o.sensorTest.mutualThreshold, 70);
             EXPECT_EQ(o.sensorTest.testMask, 0u);
         }},
        {{"-La3"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.sensorTest.testFreqA, 3);
             EXPECT_TRUE(o.sensorTest.testFreqAGiven);
             EXPECT_FALSE(o.sensorTest.testFreqBGiven);
         }},
        // Narrowed to the option's width; a long number saturates before it is narrowed.
        {{"-La300", "-Lb-1", "-e99999999999999999999", "-H-1"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.sensorTest.testFreqA, 44);
             EXPECT_EQ(o.sensorTest.testFreqB, 255);
             EXPECT_EQ(o.sensorTest.mutualThreshold, 0xFFFF);
             EXPECT_EQ(o.sensorTest.testMask, 0xFFFFFFFFu);
         }},
        {{"-H99999999999", "-u-99999999999", "-vx12"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.sensorTest.testMask, 0x7FFFFFFFu);
             EXPECT_EQ(o.sensorTest.mutualMinRepeat, 0);  // INT32_MIN narrowed to 16 bits
             EXPECT_EQ(o.sensorTest.shortMinRepeat, 0);   // no leading digits
         }},
        {{"-j", "-cautotune"},
         0,
         [](const BuilderOptions& o) { EXPECT_FALSE(o.command.pauseAtExit); }},
        {{"-cautotune", "-j"},
         0,
         [](const BuilderOptions& o) { EXPECT_TRUE(o.command.pauseAtExit); }},
        // -l and -q turn 0 into 1; -Gu stores the same setting as given.
        {{"-l0", "-q0"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.uniformity.strength, 1);
             EXPECT_EQ(o.uniformity.second, 1);
         }},
        {{"-l7", "-Gu0"}, 0, [](const BuilderOptions& o) { EXPECT_EQ(o.uniformity.strength, 0); }},
        {{"-GuX", "-l9"}, 0, [](const BuilderOptions& o) { EXPECT_EQ(o.uniformity.strength, 9); }},
        // The value follows the letter directly: "-l 7" in one argument has no digits, so 0 (then 1).
        {{"-l 7", "-e 70", "-Gc 61"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.uniformity.strength, 1);
             EXPECT_EQ(o.sensorTest.mutualThreshold, 0);
             EXPECT_EQ(o.thresholds.CookTouchTh, 0);
         }},
        {{"-Gi2", "-Ga25", "-Gc61", "-Gd62", "-Gg1001", "-Gt41", "-Gv14", "-Gx15", "-Gz9"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.thresholds.block, 2);
             EXPECT_EQ(o.thresholds.Uniformity, 25);
             EXPECT_EQ(o.thresholds.CookTouchTh, 61);
             EXPECT_EQ(o.thresholds.DeltaTouchTh, 62);
             EXPECT_EQ(o.thresholds.GroupMassTh, 1001);
             EXPECT_EQ(o.thresholds.TouchThFinger, 41);
             EXPECT_EQ(o.thresholds.RawFlatForStray, 14);
             EXPECT_EQ(o.thresholds.RawFlatForPoint, 15);
         }},
        {{"-Ea35", "-Eb127", "-Ec9910"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.hwAdjust.scalingOffsetPerFreq[3], 5);
             EXPECT_EQ(o.hwAdjust.entryTableB[1][2], 7);
             EXPECT_EQ(o.hwAdjust.entryTableC[9][9], 10);
         }},
        // Index digits that are missing or not digits: ignored silently, nothing written.
        {{"-Ea", "-Eax5", "-Eb1", "-Eb1x7", "-Ec/05", "-Ez12"},
         0,
         [](const BuilderOptions& o) {
             for (int f = 0; f < 10; ++f) {
                 EXPECT_EQ(o.hwAdjust.scalingOffsetPerFreq[f], 0);
                 for (int k = 0; k < 10; ++k) {
                     EXPECT_EQ(o.hwAdjust.entryTableB[f][k], 0);
                     EXPECT_EQ(o.hwAdjust.entryTableC[f][k], 0);
                 }
             }
         }},
        {{"-A5", "-B6", "-C0", "-D0", "-u3", "-v4"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.sensorTest.openScaling, 5);
             EXPECT_EQ(o.sensorTest.mutualScaling, 6);
             EXPECT_TRUE(o.sensorTest.openScalingGiven && o.sensorTest.mutualScalingGiven);
             EXPECT_EQ(o.uniformity.disableWarning, 0);
             EXPECT_EQ(o.uniformity.disableLog, 0);
             EXPECT_EQ(o.sensorTest.mutualMinRepeat, 3);
             EXPECT_EQ(o.sensorTest.shortMinRepeat, 4);
         }},
        {{"-tA.hwt", "-hB.hw", "-gC.swt", "-sD.sw", "-fE.ini"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.files.hwTextPath, "A.hwt");
             EXPECT_EQ(o.files.hwBinPath, "B.hw");
             EXPECT_EQ(o.files.swTextPath, "C.swt");
             EXPECT_EQ(o.files.swBinPath, "D.sw");
             EXPECT_EQ(o.files.settingsPath, "E.ini");
         }},
        // Any -J turns fixed-name mode on, known sub-option or not.
        {{"-Jz"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_TRUE(o.fixed.fixedName);
             EXPECT_EQ(o.fixed.optionMask, 0);
         }},
        {{"-Ja", "-Jb3", "-Jb8", "-Jc", "-Jd", "-Js7", "-Jg100", "-Jh32"},
         0,
         [](const BuilderOptions& o) {
             EXPECT_TRUE(o.fixed.fixedName);
             EXPECT_EQ(o.fixed.resumeMode, 0x8000);
             EXPECT_EQ(o.fixed.optionMask,
                       kOptionPinFinding | kOptionOpenTest | kOptionAdjustExtraStep);
             EXPECT_TRUE(o.fixed.keepVersion);
             EXPECT_TRUE(o.fixed.research);
             EXPECT_EQ(o.fixed.keptScalingOffset, 7);
             EXPECT_EQ(o.device.inputReportLength, 100u);
             EXPECT_EQ(o.device.outputReportLength, 32u);
         }},
        {{"-Jf" + longPath},
         0,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.device.devicePath, std::string(511, 'p'));
             EXPECT_EQ(o.fixed.optionMask, kOptionDevicePath);
         }},
        {{"-x", "-e5", "-", "-La7"},
         2,
         [](const BuilderOptions& o) {
             EXPECT_EQ(o.sensorTest.mutualThreshold,
                       5);  // parsing went on after the unknown letter
             EXPECT_EQ(o.sensorTest.testFreqA, 7);
         }},
        {{"-Lz1", "-Gq1", "-J"},
         0,
         [](const BuilderOptions& o) { EXPECT_TRUE(o.fixed.fixedName); }},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        BuilderOptions o;
        EXPECT_EQ(Parse(c.args, o), c.unknown);
        c.check(o);
    }
}

TEST_F(OptionParsing, WorkFolderIsAbsoluteAndEnteredAtOnceWhenItExists) {
    std::filesystem::create_directory(folder_ / "work");
    BuilderOptions o;
    CBuilderLog log;
    ParseOptions({"TovrexBuilder4", "-Jework", "-Jemissing"}, o, log, false);
    EXPECT_EQ(o.fixed.workFolder, (folder_ / "missing").string());
    EXPECT_EQ(o.fixed.optionMask, kOptionWorkFolder);
    EXPECT_TRUE(o.fixed.fixedName);
    EXPECT_EQ(std::filesystem::current_path(), folder_);

    BuilderOptions entered;
    ParseOptions({"TovrexBuilder4", "-Jework"}, entered, log, true);
    EXPECT_EQ(std::filesystem::current_path(), folder_ / "work");
    EXPECT_EQ(entered.fixed.workFolder, (folder_ / "work").string());
}

TEST(FileArguments, BareArgumentsAreClassifiedByTheExtensionsTheyContain) {
    BuilderOptions o;
    o.files.hwTextPath = "C.hwt";  // as the first pass stored it from -tC.hwt
    const bool anyOption = AssignFileArguments(
        {"TovrexBuilder4", "x.hwt.sw", "a.hwr", "c.pwt", "-tC.hwt", "-sZ.sw"}, o);
    EXPECT_TRUE(anyOption);
    EXPECT_EQ(o.files.hwTextPath, "x.hwt.sw");
    EXPECT_EQ(o.files.swBinPath, "x.hwt.sw");
    EXPECT_EQ(o.files.hwRegPath, "a.hwr");
    EXPECT_EQ(o.files.penTextPath, "c.pwt");
    EXPECT_EQ(o.files.hwBinPath, "");
    EXPECT_EQ(o.files.swTextPath, "");

    BuilderOptions bare;
    EXPECT_FALSE(AssignFileArguments({"TovrexBuilder4", "b.hw", "d.pwr", "e.pw", "f.swt"}, bare));
    EXPECT_EQ(bare.files.hwBinPath, "b.hw");
    EXPECT_EQ(bare.files.penBinPath, "e.pw");  // the later argument wins
    EXPECT_EQ(bare.files.penRegPath, "d.pwr");
    EXPECT_EQ(bare.files.swTextPath, "f.swt");
    EXPECT_FALSE(AssignFileArguments({"TovrexBuilder4"}, bare));
}

TEST(LeadingInt, ReadsLikeTheOptionsSay) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"-7", -7},
        {"+8", 8},
        {" 42", 0},  // a value starts right after the letter: a blank ends it
        {"\t7", 0},
        {"- 5", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", INT32_MIN},
        {"-99999999999999999999999", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseLeadingInt(c.text), c.value) << c.text;
}

}  // namespace
