// Channel enable bytes as eight-character bit texts, and the extension test of file names.
#include "files/CParamFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(BinString, EveryByteSurvivesTheRoundTrip) {
    for (int value = 0; value < 256; ++value) {
        const std::string bits = ByteToBinString(static_cast<std::uint8_t>(value));
        ASSERT_EQ(bits.size(), 8u);
        EXPECT_EQ(BinStringToByte(bits), value) << bits;
    }
    EXPECT_EQ(ByteToBinString(0), "00000000");
    EXPECT_EQ(ByteToBinString(0x16), "00010110");  // most significant bit first
    EXPECT_EQ(ByteToBinString(0x80), "10000000");
}

TEST(BinString, ReadsTextsThatAreNotEightBits) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"", 0},
        {"101", 5},
        {"2", 2},
        {"11111111", 255},
        {"111111111", 255},
        {"000000000", 255},
        {"1111111111111", 255},
        {"20000000", 0},  // 2 x 128 wraps to 0
        {"/", 255},       // a character below '0' wraps modulo 256
        {"a", 49},        // any character is weighted: 'a' - '0'
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BinStringToByte(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(FileKind, ExtensionMustAppearWithItsCase) {
    EXPECT_TRUE(HasFileKind("/work/GXXX_C000.hwt", ".hwt"));
    EXPECT_TRUE(HasFileKind("/work/old.hwt.bak", ".hwt"));  // anywhere in the path
    EXPECT_FALSE(HasFileKind("/work/hw.txt", ".hwt"));
    EXPECT_FALSE(HasFileKind("/work/HW.HWT", ".hwt"));
    EXPECT_FALSE(HasFileKind("/work/GXXX_C000.hwt", ".hwr"));
    EXPECT_FALSE(HasFileKind("/work/GXXX_C000.hwt", ""));
}

}  // namespace
