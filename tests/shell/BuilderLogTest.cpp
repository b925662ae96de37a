#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "LogTestSupport.h"
#include "core/BuilderLog.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

class BuilderLog : public TempFolderTest {};

TEST_F(BuilderLog, KeyTableRowsAreNinetyNinePrintableCharactersAndAZero) {
    for (const auto& row : LogKeys()) {
        for (std::size_t i = 0; i < 99; ++i) EXPECT_TRUE(std::isprint(row[i])) << i;
        EXPECT_EQ(row[99], 0);
    }
}

TEST_F(BuilderLog, ScrambledFileHoldsOneCheckedRecordPerLine) {
    CBuilderLog log;
    ASSERT_TRUE(log.Open(1, "TovrexBuilder4"));
    const std::filesystem::path path = log.Path();
    EXPECT_EQ(path.parent_path(), folder_ / "BuilderLog");
    const std::string name = path.filename().string();  // TovrexBuilder4-YYYYMMDD-HHMMSS.en
    ASSERT_EQ(name.size(), std::string("TovrexBuilder4-20261210-034500.en").size());
    EXPECT_EQ(name.substr(0, 15), "TovrexBuilder4-");
    EXPECT_EQ(name[23], '-');
    EXPECT_EQ(name.substr(30), ".en");
    EXPECT_EQ(ReadFile(path), "");

    // '%' in a message is text, never a format.
    EXPECT_TRUE(log.Print(kColourInfo, kRouteFile, "\tFile 100%s.hwt\r\n"));
    EXPECT_TRUE(log.Printf(kColourInfo, kRouteFile, "Errorcode(0x%0X).\n", 0x81000000u));

    const auto records = DecodeRecords(ReadFile(path));
    ASSERT_EQ(records.size(), 2u);
    for (const auto& r : records) {
        EXPECT_EQ(r.checkWord, ExpectedCheckWord(r.scrambled));
        EXPECT_EQ(r.length, r.scrambled.size());
        EXPECT_LT(r.keyRow, 10);
        EXPECT_TRUE(r.reservedZero);
    }
    // The first line after Open shows an elapsed time near zero.
    double elapsed = -1;
    std::string text;
    ASSERT_TRUE(SplitStamp(records[0].text, &elapsed, &text)) << records[0].text;
    EXPECT_EQ(text, "File 100%s.hwt\n");
    EXPECT_GE(elapsed, 0.0);
    EXPECT_LT(elapsed, 0.5);
    ASSERT_TRUE(SplitStamp(records[1].text, &elapsed, &text));
    EXPECT_EQ(text, "Errorcode(0x81000000).\n");
}

TEST_F(BuilderLog, LongLinesRepeatTheKeyRowAndSplitIntoFramedRecords) {
    CBuilderLog log;
    ASSERT_TRUE(log.Open(1, "TuningLog"));
    std::string line;
    for (int i = 0; i < 250; ++i) line += static_cast<char>('A' + i % 26);
    ASSERT_TRUE(log.AppendLine(line));
    const std::string huge(70000, 'x');
    ASSERT_TRUE(log.AppendLine(huge));

    const auto records = DecodeRecords(ReadFile(log.Path()));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].text, line);
    // Key bytes 99, 199, ... are zero: those text bytes are stored unchanged.
    EXPECT_EQ(records[0].scrambled[99], line[99]);
    EXPECT_EQ(records[0].scrambled[199], line[199]);
    EXPECT_NE(records[0].scrambled[98], line[98]);
    EXPECT_EQ(records[1].length, 65535);
    EXPECT_EQ(records[2].length, 70000 - 65535);
    EXPECT_EQ(records[1].text + records[2].text, huge);
    for (const auto& r : records) EXPECT_EQ(r.checkWord, ExpectedCheckWord(r.scrambled));
}

TEST_F(BuilderLog, FixedNameModeWritesPlainLinesWithCarriageReturns) {
    Options().fixed.fixedName = true;
    CBuilderLog log;
    log.UseOptions(&Options());
    ASSERT_TRUE(log.Open(1, "TovrexBuilder4"));
    EXPECT_EQ(std::filesystem::path(log.Path()).extension(), ".log");
    log.Print(kColourNormal, kRouteFile, "\n");             // only line ends: kept as they are
    log.Print(kColourNormal, kRouteFile, "\n\tDone.\t\n");  // trimmed at both ends
    log.Print(kColourNormal, kRouteFile, "a\nb");           // inner line ends stay
    const std::vector<std::string> lines = SplitCrLf(ReadFile(log.Path()));
    const std::vector<std::string> expected = {"", "", "Done.", "a", "b", ""};
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i : {0, 2, 3}) {
        double elapsed = -1;
        std::string text;
        ASSERT_TRUE(SplitStamp(lines[i], &elapsed, &text)) << i << ": " << lines[i];
        EXPECT_EQ(text, expected[i]);
        EXPECT_LT(elapsed, 0.5);
    }
    EXPECT_EQ(lines[1], "");  // "\n" alone: the stamp, then two line ends
    EXPECT_EQ(lines[4], "b");
}

TEST_F(BuilderLog, RoutesAndTheDetailDot) {
    const struct {
        bool fixedName;
        int route;
        std::string console;
        bool inFile;
    } cases[] = {
        {false, kRouteConsole, "msg\n", false},
        {false, kRouteFile, "", true},
        {false, kRouteBoth, "msg\n", true},
        {false, kRouteDetail, ".", true},  // the full text goes to the file only
        {true, kRouteDetail, "msg\n", true},
    };
    for (const auto& c : cases) {
        Options().fixed.fixedName = c.fixedName;
        CBuilderLog log;
        log.UseOptions(&Options());
        ASSERT_TRUE(log.Open(1, "Case" + std::to_string(c.route) + (c.fixedName ? "f" : "")));
        CaptureStdout();
        EXPECT_TRUE(log.Print(kColourSuccess, c.route, "msg\n"));
        EXPECT_EQ(GetCapturedStdout(), c.console) << c.route << " " << c.fixedName;
        const std::string file = ReadFile(log.Path());
        const std::string text =
            c.fixedName ? file : (file.empty() ? "" : DecodeRecords(file).at(0).text);
        EXPECT_EQ(text.find("msg") != std::string::npos, c.inFile) << c.route;
    }
}

TEST_F(BuilderLog, EmptyTextIsRefusedAndWritesNothing) {
    CBuilderLog log;
    ASSERT_TRUE(log.Open(1, "TovrexBuilder4"));
    CaptureStdout();
    EXPECT_FALSE(log.Print(kColourError, kRouteBoth, ""));
    EXPECT_FALSE(log.AppendLine(""));
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(ReadFile(log.Path()), "");
}

TEST_F(BuilderLog, CsvFilesTakeLinesUnchangedEvenAfterAScrambledFile) {
    CBuilderLog log;
    ASSERT_TRUE(log.Open(1, "TuningLog"));
    ASSERT_TRUE(log.Open(0, "TovrexCheck"));
    EXPECT_EQ(std::filesystem::path(log.Path()).extension(), ".csv");
    EXPECT_TRUE(log.AppendLine("1,2,3\n"));
    EXPECT_EQ(ReadFile(log.Path()), "1,2,3\r\n");
}

TEST_F(BuilderLog, PrintBeforeOpenGoesToTheDefaultFileWithASaneStamp) {
    CBuilderLog log;
    EXPECT_EQ(log.Path(), "TovrexBuilder4.log");
    log.Print(kColourError, kRouteFile, "early\n");
    const std::vector<std::string> lines = SplitCrLf(ReadFile(folder_ / "TovrexBuilder4.log"));
    ASSERT_EQ(lines.size(), 2u);
    double elapsed = -1;
    std::string text;
    ASSERT_TRUE(SplitStamp(lines[0], &elapsed, &text)) << lines[0];
    EXPECT_EQ(text, "early");
    EXPECT_GE(elapsed, 0.0);
    EXPECT_LT(elapsed, 5.0);  // counted from the logger's construction, not from garbage
}

TEST_F(BuilderLog, SecondOpenInTheSameSecondTruncatesTheSameFile) {
    CBuilderLog log;
    std::string first;
    std::string second;
    do {  // retried only when the two opens straddle a second boundary
        ASSERT_TRUE(log.Open(1, "TovrexBuilder4"));
        first = log.Path();
        log.AppendLine("line");
        ASSERT_TRUE(log.Open(1, "TovrexBuilder4"));
        second = log.Path();
    } while (first != second);
    EXPECT_EQ(ReadFile(second), "");
}

TEST_F(BuilderLog, FolderThatCannotBeCreatedIsReportedAndConsoleOutputStays) {
    { std::ofstream blocker(folder_ / "BuilderLog"); }  // a file where the folder should be
    CBuilderLog log;
    CaptureStdout();
    EXPECT_FALSE(log.Open(1, "TuningLog"));
    EXPECT_TRUE(log.Print(kColourNormal, kRouteBoth, "still here\n"));
    const std::string console = GetCapturedStdout();
    EXPECT_NE(console.find("Creat log folder Fail!\n"), std::string::npos);
    EXPECT_NE(console.find("still here\n"), std::string::npos);
}

}  // namespace
