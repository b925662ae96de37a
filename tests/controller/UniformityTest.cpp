// The uniformity table step with the stand-in tool: arguments, exit codes, current folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FakeController.h"
#include "params/CParam_SW.h"
#include "shell/Uniformity.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& p) {
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(UniformityArguments, TheFourFormsAndTheDeviceArguments) {
    struct Form {
        uint8_t warning, log;
        const char* text;
    };
    for (Form f : {Form{1, 1, "-disableWarning -disableLog -disablemsBox"},
                   Form{1, 0, "-disableWarning -disablemsBox"},
                   Form{0, 1, "-disableLog -disablemsBox"}, Form{0, 0, "-disablemsBox"}}) {
        BuilderOptions o;
        o.uniformity.disableWarning = f.warning;
        o.uniformity.disableLog = f.log;
        o.uniformity.second = 3;
        std::string joined;
        for (const std::string& a : UniformityArguments(o, 12, 70)) joined += a + " ";
        EXPECT_EQ(joined, std::string("-cCreateUniformityTable -v12 -t3 -s70 ") + f.text + " ");
    }
    BuilderOptions research;
    research.fixed.research = true;
    research.device.devicePath = "/dev/my device";
    research.device.inputReportLength = 65;
    const auto args = UniformityArguments(research, 0, 100);
    ASSERT_EQ(args.size(), 11u);
    EXPECT_EQ(args[7], "-dn/dev/my device");  // one argument, blanks and all
    EXPECT_EQ(args[8], "-dil65");
    EXPECT_EQ(args[9], "-dol64");
    EXPECT_EQ(args[10], "-LogInMyDoc");
    research.device.devicePath.clear();
    EXPECT_EQ(UniformityArguments(research, 0, 100).size(), 7u);
}

class UniformityToolTest : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        const char* bin = std::getenv("TOVREX_BIN_DIR");
        ASSERT_NE(bin, nullptr);
        standIn_ = fs::path(bin) / "uniformity_stand_in";
        ASSERT_TRUE(fs::exists(standIn_)) << standIn_;
        setenv("TOVREX_STANDIN_ARGS", (folder_ / "args.txt").c_str(), 1);
        setenv("TOVREX_STANDIN_CWD", (folder_ / "cwd.txt").c_str(), 1);
        options_.folders.workingFolder = folder_.string() + "/";
    }
    void TearDown() override {
        unsetenv("TOVREX_STANDIN_EXIT");
        unsetenv("TOVREX_STANDIN_ARGS");
        unsetenv("TOVREX_STANDIN_CWD");
        FakeControllerTest::TearDown();
    }
    void InstallTool(const fs::path& folder, const char* name = kUniformityToolName) {
        fs::copy_file(standIn_, folder / name, fs::copy_options::overwrite_existing);
    }
    // Runs the step and returns the code; the test log's console output goes to `out`.
    uint32_t Run(CController& c, std::string& out) {
        testing::internal::CaptureStdout();
        const uint32_t code = BuildUniformityTable(c);
        out = testing::internal::GetCapturedStdout();
        return code;
    }
    fs::path standIn_;
};

TEST_F(UniformityToolTest, ExitCodesGiveTheirResultsAndMessages) {
    InstallTool(folder_);
    struct Outcome {
        const char* exitCode;
        uint32_t result;
        const char* message;
    };
    for (Outcome o : {Outcome{"0", 0, "\nCreate Uniformity Table Success\n"},
                      Outcome{"-1", 0x12, "Disable AutoFreq Fail!\n"},
                      Outcome{"-2", 0x13, "Wait Data Timeout!\n"},
                      Outcome{"-3", 0x14, "Uniformity Fail (Point is too much)!\n"},
                      Outcome{"-4", 0x11, "Save Table to FW Fail!\n"}, Outcome{"7", 0, nullptr},
                      Outcome{"-5", 0, nullptr}}) {
        setenv("TOVREX_STANDIN_EXIT", o.exitCode, 1);
        CController& c = Build(94, false);
        std::string out;
        EXPECT_EQ(Run(c, out), o.result) << o.exitCode;
        if (o.message != nullptr) {
            EXPECT_NE(out.find(o.message), std::string::npos) << o.exitCode << ": " << out;
        } else {
            EXPECT_EQ(out.find("Uniformity"), std::string::npos) << o.exitCode << ": " << out;
        }
    }
}

TEST_F(UniformityToolTest, AMissingToolFailsWith0x15) {
    CController& c = Build(94, false);
    std::string out;
    EXPECT_EQ(Run(c, out), 0x15u);
    EXPECT_NE(out.find("Create Uniformity Table Fail\n"), std::string::npos);
}

TEST_F(UniformityToolTest, TheNameWithoutExeIsAcceptedToo) {
    InstallTool(folder_, "TovrexT310Suite");
    CController& c = Build(94, false);
    std::string out;
    EXPECT_EQ(Run(c, out), 0u);
    EXPECT_TRUE(fs::exists(folder_ / "args.txt"));
}

TEST_F(UniformityToolTest, StrengthAndSecondValueFollowTheRequestAndTheSoftwareSet) {
    InstallTool(folder_);
    CController& c = Build(94, false);
    std::string out;
    // -l 1: half the software set's Uniformity when above 9; the settings' strength 70.
    c.Sw().SetWord(CParam_SW::kThresholdBlockOffset + CParam_SW::kUniformityInBlock, 30);
    Run(c, out);
    EXPECT_EQ(ReadText(folder_ / "args.txt"),
              "-cCreateUniformityTable\n-v15\n-t1\n-s70\n-disableWarning\n-disableLog\n"
              "-disablemsBox\n");
    c.Sw().SetWord(CParam_SW::kThresholdBlockOffset + CParam_SW::kUniformityInBlock, 9);
    c.SetUniformityRequest(true);
    Run(c, out);
    EXPECT_NE(ReadText(folder_ / "args.txt").find("-v0\n-t1\n-s100\n"), std::string::npos);
    // Any other -l value is passed on as it is.
    options_.uniformity.strength = 40;
    Run(c, out);
    EXPECT_NE(ReadText(folder_ / "args.txt").find("-v40\n"), std::string::npos);
}

TEST_F(UniformityToolTest, AnOutputFolderIsLeftForTheToolAndEnteredAgain) {
    const fs::path program = folder_ / "program";
    const fs::path output = folder_ / "output";
    fs::create_directories(program);
    fs::create_directories(output);
    InstallTool(program);
    fs::current_path(output);
    options_.fixed.fixedName = true;  // -Je without -Jd
    options_.fixed.workFolder = output.string();
    options_.folders.programFolder = program.string() + "/";
    CController& c = Build(94, false);
    std::string out;
    EXPECT_EQ(Run(c, out), 0u);
    EXPECT_EQ(ReadText(folder_ / "cwd.txt"), program.string() + "\n");
    EXPECT_EQ(fs::current_path(), output);
}

}  // namespace
