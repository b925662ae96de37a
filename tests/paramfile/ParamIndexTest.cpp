// The profile-file reading rules of the parsed index and the number rule of item values.
#include "files/ParamIndex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

namespace {

constexpr const char* kFile =
    "Orphan = 1\n"
    "[Sensor Config]\n"
    "XDimension = 2560    ;1~65534    ;X dimension\n"
    "  \tYDimension\t=   1030  \n"
    "NumsOfFreq = 3\r\n"
    "NumsOfFreq = 4\n"
    "NoEqualsSign\n"
    "Empty =\n"
    "Formula = a=b\n"
    "  [ Hardware Settings ]  trailing text\n"
    "SCAN_CTRL_PEN = 1\n"
    "[sensor config]\n"
    "XDimension = 1\n"
    "PowerOnDelayTime = 7\n"
    "[Unclosed\n"
    "Key = in unclosed\n"
    "[Last]\n"
    "Fold@ = at\n"
    "Fold` = grave\n"
    "NoLineFeed = 5";

struct FindCase {
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

// Test names shown by CTest: readable, and without ';', which CMake would take as a list separator.
std::string Printable(std::string_view text) {
    std::string printable(text.empty() ? "(empty)" : text);
    for (char& c : printable) {
        if (c == ';') {
            c = ',';
        }
    }
    return printable;
}

void PrintTo(const FindCase& c, std::ostream* os) {
    *os << Printable(c.section) << " - " << c.key;
}

class ParamIndexFind : public testing::TestWithParam<FindCase> {};

TEST_P(ParamIndexFind, AnswersAsTheProfileRulesSay) {
    const ParamIndex index{std::string(kFile)};
    const FindCase& c = GetParam();
    const std::optional<std::string_view> found = index.Find(c.section, c.key);
    ASSERT_EQ(found.has_value(), c.expected.has_value());
    if (found) {
        EXPECT_EQ(*found, *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ParamIndexFind,
    testing::Values(
        // The value column stays whole; cutting at ';' is the reader's job.
        FindCase{"Sensor Config", "XDimension", "2560    ;1~65534    ;X dimension"},
        FindCase{"Sensor Config", "YDimension", "1030"},       // blanks and tabs trimmed
        FindCase{"SENSOR CONFIG", "ydimension", "1030"},       // case does not matter
        FindCase{" Sensor Config ", " YDimension  ", "1030"},  // nor blanks around names
        FindCase{"Sensor Config", "NumsOfFreq", "3"},          // first occurrence, CR dropped
        FindCase{"Sensor Config", "PowerOnDelayTime", "7"},    // section seen twice is one
        FindCase{"Sensor Config", "Empty", ""},                // found, empty
        FindCase{"Sensor Config", "Formula", "a=b"},           // split at the first '='
        FindCase{"Hardware Settings", "SCAN_CTRL_PEN", "1"},   // name up to ']', trimmed
        FindCase{"Unclosed", "Key", "in unclosed"},            // no ']': the rest of the line
        FindCase{"Last", "NoLineFeed", "5"},                   // last line without line feed
        FindCase{"Last", "Fold@", "at"},  // only letters match without case: '@' is not '`'
        FindCase{"Last", "Fold`", "grave"},
        FindCase{"Sensor Config", "NoEqualsSign", std::nullopt},   // not an item
        FindCase{"Sensor Config", "SCAN_CTRL_PEN", std::nullopt},  // key of another section
        FindCase{"", "Orphan", std::nullopt},                      // before any section
        FindCase{"Missing", "XDimension", std::nullopt},
        FindCase{"Sensor Config", "XDimensio", std::nullopt},  // no prefix match
        FindCase{"Sensor", "XDimension", std::nullopt}));

TEST(ParamIndex, CutsValuesAt511Characters) {
    const std::string longValue(600, 'v');
    const ParamIndex index("[S]\nLong = " + longValue + "\nNext = 1\n");
    EXPECT_EQ(index.Find("S", "Long"), std::string_view(longValue).substr(0, 511));
    EXPECT_EQ(index.Find("S", "Next"), "1");
}

TEST(ParamIndex, SkipsAByteOrderMarkBeforeTheFirstSection) {
    const ParamIndex index(
        "\xEF\xBB\xBF[K7P100 hardware parameter file]\r\nControllerType = 172\r\n");
    EXPECT_EQ(index.Find("K7P100 hardware parameter file", "ControllerType"), "172");
}

TEST(ParamIndex, StaysValidWhenMoved) {
    // Short texts live inside a std::string object; the index must not point into a moved-from one.
    ParamIndex first(std::string("[S]\nK = 1\n"));
    ParamIndex second = std::move(first);
    ParamIndex third;
    third = std::move(second);
    EXPECT_EQ(third.Find("s", "k"), "1");
}

TEST(ParamIndex, MissingOrUnreadableFileGivesEmptyIndex) {
    EXPECT_FALSE(ParamIndex::FromFile("/nonexistent/folder/file.hwt").Find("S", "K"));
    EXPECT_FALSE(ParamIndex::FromFile("/").Find("S", "K"));  // a folder is not a file
}

struct NumberCase {
    const char* value;
    std::int32_t expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << Printable(c.value);
}

class LeadingDecimalOf : public testing::TestWithParam<NumberCase> {};

TEST_P(LeadingDecimalOf, ReadsSignAndDigitsOnly) {
    EXPECT_EQ(ParamIndex::LeadingDecimal(ParamIndex::ValueBeforeComment(GetParam().value)),
              GetParam().expected);
}

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Values, LeadingDecimalOf,
    testing::Values(NumberCase{"12    ;1~65534    ;comment", 12}, NumberCase{"12", 12},
                    NumberCase{"  -7 ;", -7}, NumberCase{"+7", 7}, NumberCase{"abc", 0},
                    NumberCase{"0x10", 0}, NumberCase{"0x0014", 0}, NumberCase{"", 0},
                    NumberCase{";only a comment", 0}, NumberCase{"12abc", 12}, NumberCase{"- 5", 0},
                    NumberCase{"1 2", 1}, NumberCase{"2147483647", kMax},
                    NumberCase{"2147483648", kMax}, NumberCase{"99999999999999999999999", kMax},
                    NumberCase{"-2147483648", kMin}, NumberCase{"-2147483649", kMin},
                    NumberCase{"-99999999999999999999999", kMin}));

}  // namespace
