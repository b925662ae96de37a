// --help is made from the tables the program runs on; these tests hold the two together.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/BuilderLog.h"
#include "shell/CommandTable.h"
#include "shell/OptionTable.h"
#include "shell/Options.h"
#include "shell/ResultCodes.h"
#include "shell/Usage.h"

namespace {

bool Has(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

TEST(Usage, ListsEveryCommandWithItsSummary) {
    const std::string help = UsageText();
    for (const CommandEntry& entry : CCommandTable::Entries()) {
        const char* summary = CommandSummary(entry.name);
        ASSERT_NE(summary, nullptr) << entry.name << " has no summary";
        EXPECT_TRUE(Has(help, std::string(entry.name) + " ")) << entry.name;
        EXPECT_TRUE(Has(help, std::string(summary) + "\n")) << entry.name;
    }
}

TEST(Usage, ListsEveryOptionUnderItsGroup) {
    const std::string help = UsageText();
    for (const OptionRow& row : OptionRows()) {
        const std::string option = std::string("-") + row.letter + row.sub + row.argument;
        const auto at = help.find("\n  " + option + " ");
        ASSERT_NE(at, std::string::npos) << option;
        const std::string line = help.substr(at + 1, help.find('\n', at + 1) - at - 1);
        EXPECT_TRUE(line.ends_with(row.summary)) << line;
        // Groups are blocks after a heading line, with a blank line before the next one.
        const auto heading = help.rfind(std::string("\n") + row.group + ":\n", at);
        ASSERT_NE(heading, std::string::npos) << option << " has no heading " << row.group;
        EXPECT_EQ(help.substr(heading, at - heading).find("\n\n"), std::string::npos)
            << option << " is not under " << row.group;
    }
}

// The parser knows exactly the letters the table shows: every other letter is reported.
TEST(Usage, TheParserKnowsExactlyTheLettersOfTheTable) {
    for (char letter = '!'; letter <= '~'; ++letter) {
        BuilderOptions options;
        CBuilderLog log;
        testing::internal::CaptureStdout();
        ParseOptions({"TovrexBuilder4", std::string("-") + letter}, options, log, false);
        const bool reported = Has(testing::internal::GetCapturedStdout(), "Unknown Argument.");
        EXPECT_EQ(reported, !IsOptionLetter(letter)) << "-" << letter;
    }
}

TEST(Usage, ExitStatusesAreTheOnesTheProgramEndsWith) {
    const std::string help = UsageText();
    for (const ExitStatusRow& row : ExitStatusRows()) {
        EXPECT_EQ(ExitStatusFor(row.sampleResult), row.status) << row.meaning;
        EXPECT_TRUE(Has(help, "  " + std::to_string(row.status) + " ")) << row.status;
    }
    for (const char* variable : {"DEVLINK", "DEVLINK_SIM_STATE", "DEVLINK_SIM_TRUTH",
                                 "DEVLINK_SIM_PACE", "DEVLINK_SIM_TRACE", "TOVREX_RESULT_FILE",
                                 "NO_COLOR"}) {
        EXPECT_TRUE(Has(help, std::string("\n  ") + variable + " ")) << variable;
    }
}

// The manual page is written by hand; it must still name every option and every command.
TEST(Usage, TheManualPageNamesEveryOptionAndCommand) {
    std::ifstream in(std::string(TOVREX_SOURCE_DIR) + "/docs/man/TovrexBuilder4.1");
    ASSERT_TRUE(in) << "no manual page";
    const std::string page((std::istreambuf_iterator<char>(in)), {});
    for (const OptionRow& row : OptionRows()) {
        const std::string option = std::string("\\-") + row.letter + row.sub;
        EXPECT_TRUE(Has(page, option)) << option;
    }
    for (const CommandEntry& entry : CCommandTable::Entries()) {
        EXPECT_TRUE(Has(page, entry.name)) << entry.name;
    }
}

TEST(Usage, HelpOrVersionAnywhereAnswersAndOtherArgumentsDoNot) {
    EXPECT_EQ(InformationRequest({"TovrexBuilder4", "-cdump_all", "--help"}), UsageText());
    EXPECT_EQ(InformationRequest({"TovrexBuilder4", "--version", "--help"}), VersionText());
    EXPECT_EQ(InformationRequest({"TovrexBuilder4", "-cdump_all", "-h--help"}), std::nullopt);
    EXPECT_EQ(InformationRequest({"TovrexBuilder4"}), std::nullopt);
    EXPECT_TRUE(VersionText().starts_with("TovrexBuilder4 ")) << VersionText();
}

}  // namespace
