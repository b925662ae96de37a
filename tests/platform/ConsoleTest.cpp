#include "platform/Console.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Console, ColourAttributesMapToAnsiSequences) {
    const struct {
        int attribute;
        std::string sequence;
    } cases[] = {
        {7, "\x1b[0m"},   {9, "\x1b[94m"}, {10, "\x1b[92m"}, {12, "\x1b[91m"},
        {14, "\x1b[93m"}, {0, ""},         {8, ""},          {15, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::AnsiSequenceFor(c.attribute), c.sequence) << c.attribute;
    }
}

TEST(Console, ColoursOnlyOnATerminalWithoutNoColor) {
    EXPECT_TRUE(platform::ColoursWanted(true, nullptr));
    EXPECT_FALSE(platform::ColoursWanted(false, nullptr));
    EXPECT_FALSE(platform::ColoursWanted(true, "1"));
    EXPECT_FALSE(platform::ColoursWanted(true, ""));  // set but empty still means "no colour"
}

}  // namespace
