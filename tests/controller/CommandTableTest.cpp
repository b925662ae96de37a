// The command table, the menu letters, the help text and the StructInfo file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "RecordingOps.h"
#include "ScratchFolder.h"
#include "shell/CommandTable.h"

namespace {

TEST(CommandTable, NamesAreExactAndCarryTheirRequirements) {
    struct Need {
        const char* name;
        uint32_t needs;
    };
    for (Need n : {Need{"dump_hw", 2}, Need{"dump_sw", 4}, Need{"dump_pw", 8}, Need{"dump_all", 14},
                   Need{"download_hwr", 2}, Need{"download_swt", 4}, Need{"download_pwr", 8},
                   Need{"autotune", 2}, Need{"testandtune", 2}, Need{"set_pin", 2},
                   Need{"cal_open", 2}, Need{"adjust_ts", 2}, Need{"test", 0}, Need{"diag", 0},
                   Need{"struct_info", 0}, Need{"adjust_hw_param", 0}}) {
        const CommandEntry* e = CCommandTable::Find(n.name);
        ASSERT_NE(e, nullptr) << n.name;
        EXPECT_EQ(e->needs, n.needs) << n.name;
    }
    EXPECT_EQ(CCommandTable::Find("Dump_hw"), nullptr);
    EXPECT_EQ(CCommandTable::Find("dump_hw "), nullptr);
    EXPECT_EQ(CCommandTable::Find("decode_log"), nullptr);
    EXPECT_EQ(CCommandTable::Find(""), nullptr);
    EXPECT_EQ(CCommandTable::Entries().size(), 37u);
}

TEST(CommandTable, MenuLettersNameTheirCommands) {
    const std::string letters = "abcdefghjklmnopqstuvwxyzABEF";
    for (char key : letters) {
        const std::string name = CommandForMenuKey(key);
        ASSERT_FALSE(name.empty()) << key;
        if (key == 'z') {
            EXPECT_EQ(name, "decode_log");  // no such command: the menu ends as unknown
        } else {
            EXPECT_NE(CCommandTable::Find(name), nullptr) << key << " " << name;
        }
    }
    EXPECT_EQ(CommandForMenuKey('a'), "autotune");
    EXPECT_EQ(CommandForMenuKey('h'), "download_pwr");
    EXPECT_EQ(CommandForMenuKey('F'), "dump_all_def");
    for (char key : {'i', 'r', 'C', 'D', 'Q', '?', '1', ' '}) {
        EXPECT_EQ(CommandForMenuKey(key), "") << key;
    }
}

TEST(CommandTable, HelpWithoutAControllerListsTheCommandsPaddedTo79) {
    const std::string help = HelpText(nullptr);
    const std::string expected =
        "App parameter version - Device Not Found!\n\n"
        "Command List:" +
        std::string(79 - 13, ' ') + "\n" +
        "a.Autotune                b.Dump All                E.Dump default Bin & Txt   \n"
        "c.Download HWT            d.Download SWT            A.Download PWT             \n"
        "e.Test And Tune           f.Adjust Touch signal     j.Scan Noise Spectrum      \n";
    EXPECT_EQ(help, expected);
    const std::string list = help.substr(help.find("Command List:"));
    for (std::size_t at = 0, end; (end = list.find('\n', at)) != std::string::npos; at = end + 1) {
        EXPECT_EQ(end - at, 79u) << list.substr(at, end - at);
    }
}

class StructInfoTest : public testing::Test {
  protected:
    void SetUp() override {
        ops_.options.folders.workingFolder = folder_.string() + "/";
    }
    void TearDown() override {
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
    }
    std::string Read() {
        std::ifstream in(folder_ / "StructInfo");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    testsupport::ScratchFolder scratch_{"structinfo-test"};
    const std::filesystem::path folder_ = scratch_.Path();
    RecordingOps ops_;
};

TEST_F(StructInfoTest, ThreeSetsWhenTheControllerUsesAStylus) {
    ops_.answers = {
        {"AppParamVersion hw", 13},   {"AppParamVersion sw", 26},   {"AppParamVersion pen", 14},
        {"ControllerVersion hw", 13}, {"ControllerVersion sw", 27}, {"ControllerVersion pen", 4},
        {"ParamVersion hw", 0x10D},   {"ParamVersion sw", 26},      {"ParamVersion pen", 14}};
    EXPECT_EQ(handlers::StructInfo(ops_), 0u);
    EXPECT_EQ(Read(), "Builder: 13.26.14\nKernel: 13.27.04\nFlash: 13.26.14\n");
}

TEST_F(StructInfoTest, TwoSetsOtherwiseAndTheFileIsReplaced) {
    { std::ofstream(folder_ / "StructInfo") << "old text that is longer than the new one\n"; }
    ops_.answers = {{"EnsurePenSet", 0}, {"AppParamVersion sw", 26}, {"ParamVersion sw", 26}};
    EXPECT_EQ(handlers::StructInfo(ops_), 0u);
    EXPECT_EQ(Read(), "Builder: 13.26\nKernel: 13.13\nFlash: 13.26\n");
}

TEST_F(StructInfoTest, AFolderThatCannotBeWrittenGivesOneAndKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    { std::ofstream(folder_ / "StructInfo") << "kept\n"; }
    std::filesystem::permissions(
        folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_EQ(handlers::StructInfo(ops_), 1u);
    EXPECT_EQ(Read(), "kept\n");
}

TEST_F(StructInfoTest, AMissingFolderGivesOne) {
    ops_.options.folders.workingFolder = (folder_ / "missing").string() + "/";
    EXPECT_EQ(handlers::StructInfo(ops_), 1u);
}

}  // namespace
