// Reading items of a text file: value column rules, widths, clamping with its message, keys with
// blanks, and that the file is parsed once.
#include "files/CParamFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "TestFolder.h"

namespace {

constexpr const char* kHardwareText =
    "[K7P100 hardware parameter file]\n"
    "ControllerType = 172    ;    ;read only\n"
    "\n"
    "[Sensor Config]\n"
    "XDimension = 12    ;1~65534    ;X dimension of the active area of the LCD. [unit: 0.1mm]\n"
    "NumsOfRxChips = letters    ;1~4    ;\n"
    "NumsOfTxChips = 0x10    ;1~4    ;\n"
    "ShortDelay = 300    ;0~254    ;Short test delay time.\n"
    "StartSkipCnt = -5    ;1~254    ;\n"
    "PowerOnDelayTime =     ;0~65534    ;\n"
    "\n"
    "[Hardware Settings-RD]\n"
    "SCAN_CTRL_PEN = 1    ;0~1    ;\n"
    "ScanCtrl = 0x0014    ;    ;Read Only\n";

class ParamFileRead : public testing::Test {
  protected:
    void SetUp() override { WriteWholeFile(m_path, kHardwareText); }

    TestFolder m_folder;
    std::string m_path = m_folder.PathOf("GXXX_C000.hwt");
};

TEST_F(ParamFileRead, NumbersTakeTheLeadingDecimalOfTheValueColumn) {
    CParamFile file(m_path);
    std::int32_t number = -1;
    std::uint8_t byte = 99;
    std::string text;

    EXPECT_TRUE(file.ReadItem("Sensor Config", "XDimension", number));
    EXPECT_EQ(number, 12);
    EXPECT_TRUE(file.ReadItem("Sensor Config", "NumsOfRxChips", byte));
    EXPECT_EQ(byte, 0);  // letters read as 0
    EXPECT_TRUE(file.ReadItem("Sensor Config", "NumsOfTxChips", number));
    EXPECT_EQ(number, 0);  // no hexadecimal: 0x10 reads as 0
    EXPECT_TRUE(file.ReadItem("Sensor Config", "PowerOnDelayTime", number));
    EXPECT_EQ(number, 0);  // an empty value reads as 0
    EXPECT_TRUE(file.ReadItem("Sensor Config", "ShortDelay", byte));
    EXPECT_EQ(byte, 300 % 256);  // a plain read stores into the destination's width

    EXPECT_TRUE(file.ReadItem("Hardware Settings-RD", "ScanCtrl", text));
    EXPECT_EQ(text, "0x0014");  // text: the value before ';', trimmed
    EXPECT_TRUE(file.ReadItem("Sensor Config", "PowerOnDelayTime", text));
    EXPECT_EQ(text, "");
}

TEST_F(ParamFileRead, MissingSectionOrKeyLeavesTheDestinationUnchanged) {
    CParamFile file(m_path);
    std::int32_t number = 77;
    std::uint16_t word = 78;
    std::string text = "kept";
    EXPECT_FALSE(file.ReadItem("Sensor Config", "YDimension", number));
    EXPECT_FALSE(file.ReadItemClamped("Sensor Config", "YDimension", word, 1, 65535));
    EXPECT_FALSE(file.ReadItem("Missing Section", "XDimension", text));
    EXPECT_EQ(number, 77);
    EXPECT_EQ(word, 78);
    EXPECT_EQ(text, "kept");

    CParamFile absent(m_folder.PathOf("absent.hwt"));
    EXPECT_FALSE(absent.ReadItem("Sensor Config", "XDimension", number));
    EXPECT_EQ(number, 77);
}

TEST_F(ParamFileRead, ClampedReadsStoreTheLimitAndReportIt) {
    CParamFile file(m_path);
    std::uint8_t shortDelay = 0;
    std::int16_t startSkip = 0;
    std::int32_t xDimension = 0;
    const std::string output = ConsoleOutputOf([&] {
        EXPECT_TRUE(file.ReadItemClamped("Sensor Config", "ShortDelay", shortDelay, 0, 255));
        EXPECT_TRUE(file.ReadItemClamped("Sensor Config", "StartSkipCnt", startSkip, 1, 254));
        EXPECT_TRUE(file.ReadItemClamped("Sensor Config", "XDimension", xDimension, 1, 65535));
    });
    EXPECT_EQ(shortDelay, 255);
    EXPECT_EQ(startSkip, 1);
    EXPECT_EQ(xDimension, 12);
    EXPECT_NE(output.find("ShortDelay range error, value = 300, range = 0~255, Clamp!\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("StartSkipCnt range error, value = -5, range = 1~254, Clamp!\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("XDimension"), std::string::npos) << "an in-range value is silent";
}

TEST_F(ParamFileRead, KeysWithTrailingBlanksMatchTrimmed) {
    CParamFile file(m_path);
    std::uint8_t pen = 0;
    EXPECT_TRUE(file.ReadItemClamped("Hardware Settings-RD", "SCAN_CTRL_PEN  ", pen, 0, 1));
    EXPECT_EQ(pen, 1);
}

TEST_F(ParamFileRead, ParsesTheFileOnceForAllKeys) {
    CParamFile file(m_path);
    std::int32_t number = 0;
    ASSERT_TRUE(file.ReadItem("Sensor Config", "XDimension", number));

    // Later reads are answered from what was parsed, not from the file.
    std::filesystem::remove(m_path);
    EXPECT_TRUE(file.ReadItem("K7P100 hardware parameter file", "ControllerType", number));
    EXPECT_EQ(number, 172);
}

}  // namespace
