// Writing items: the line formats, ranged items replacing bad values by their default, the output
// level gate, and saves that fail without harming the previous file.
#include "files/CParamFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <array>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>

#include "TestFolder.h"

namespace {

class ParamFileWrite : public testing::Test {
  protected:
    TestFolder m_folder;
    std::string m_path = m_folder.PathOf("GXXX_C000.hwt");
};

TEST_F(ParamFileWrite, WritesEveryItemKindAndReadsItBack) {
    std::int32_t xDimension = 2560;
    std::int16_t offset = -300;
    std::array<std::uint8_t, 8> image{};
    ImageField<std::uint16_t>(image, 2).Store(1030);

    CParamFile file(m_path);
    ASSERT_TRUE(file.OpenWrite());
    EXPECT_EQ(file.WriteLine("[K7P100 hardware parameter file]", kLevelBasic), 33);
    file.WriteItem(std::int32_t{172}, kLevelBasic, "K7P100 hardware parameter file",
                   "ControllerType", "", "read only");
    file.WriteLine("", kLevelBasic);
    file.WriteLine("[Sensor Config]", kLevelBasic);
    EXPECT_EQ(file.WriteRangedItem(xDimension, 2560, 1, 65534, kLevelBasic, "Sensor Config",
                                   "XDimension", "X dimension"),
              46);
    file.WriteRangedItem(ImageField<std::uint16_t>(image, 2), 1030, 1, 65534, kLevelBasic,
                         "Sensor Config", "YDimension", "");
    file.WriteRangedItem(offset, 0, -1000, 1000, kLevelDetail, "Sensor Config", "Offset", "");
    file.WriteItem(std::uint8_t{255}, kLevelDetail, "Sensor Config", "Byte", "", "");
    file.WriteItem(std::uint16_t{65535}, kLevelDetail, "Sensor Config", "Word", "", "");
    file.WriteItem(std::int8_t{-1}, kLevelDetail, "Sensor Config", "Signed", "", "");
    file.WriteItem("0x0014", kLevelDetail, "Sensor Config", "ScanCtrl", "", "Read Only");
    file.WriteItem("0:RefCenter, 1:RefAll", kLevelDetail, "Sensor Config", "Mode",
                   "0: RefCenter, 1:RefAll", "");
    file.WriteLine("", kLevelBasic);
    ASSERT_TRUE(file.Close());

    EXPECT_EQ(ReadWholeFile(m_path),
              "[K7P100 hardware parameter file]\n"
              "ControllerType = 172    ;    ;read only\n"
              "\n"
              "[Sensor Config]\n"
              "XDimension = 2560    ;1~65534    ;X dimension\n"
              "YDimension = 1030    ;1~65534    ;\n"
              "Offset = -300    ;-1000~1000    ;\n"
              "Byte = 255    ;    ;\n"
              "Word = 65535    ;    ;\n"
              "Signed = -1    ;    ;\n"
              "ScanCtrl = 0x0014    ;    ;Read Only\n"
              "Mode = 0:RefCenter, 1:RefAll    ;0: RefCenter, 1:RefAll    ;\n"
              "\n");

    CParamFile reader(m_path);
    std::int32_t type = 0;
    std::uint16_t y = 0;
    std::int16_t back = 0;
    std::string mode;
    EXPECT_TRUE(reader.ReadItem("K7P100 hardware parameter file", "ControllerType", type));
    EXPECT_TRUE(reader.ReadItemClamped("Sensor Config", "YDimension", y, 1, 65535));
    EXPECT_TRUE(reader.ReadItemClamped("Sensor Config", "Offset", back, -1000, 1000));
    EXPECT_TRUE(reader.ReadItem("Sensor Config", "Mode", mode));
    EXPECT_EQ(type, 172);
    EXPECT_EQ(y, 1030);
    EXPECT_EQ(back, -300);
    EXPECT_EQ(mode, "0:RefCenter, 1:RefAll");
}

TEST_F(ParamFileWrite, OutOfRangeValueIsReplacedByItsDefaultInTheImageAndTheFile) {
    std::uint8_t threshold = 255;
    std::int8_t gain = -3;
    std::array<std::uint8_t, 6> image{0xEE, 0xEE, 0xFF, 0xFF, 0xEE, 0xEE};

    CParamFile file(m_path);
    ASSERT_TRUE(file.OpenWrite());
    const std::string output = ConsoleOutputOf([&] {
        file.WriteRangedItem(threshold, 0, 0, 254, kLevelDetail, "Freq-0 General Config-RD",
                             "ThresholdIndex", "Switch threshold");
        file.WriteRangedItem(gain, 4, 0, 10, kLevelDetail, "S", "Gain", "");
        file.WriteRangedItem(ImageField<std::uint16_t>(image, 2), 2560, 1, 65534, kLevelBasic,
                             "Sensor Config", "XDimension", "");
    });
    ASSERT_TRUE(file.Close());

    EXPECT_EQ(threshold, 0);
    EXPECT_EQ(gain, 4);
    EXPECT_EQ(image, (std::array<std::uint8_t, 6>{0xEE, 0xEE, 0x00, 0x0A, 0xEE, 0xEE}));
    EXPECT_NE(output.find("ThresholdIndex range error, value = 255, range = 0~254, "
                          "set to default =  0 !\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("Gain range error, value = -3, range = 0~10, set to default =  4 !\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("XDimension range error, value = 65535, range = 1~65534, "
                          "set to default =  2560 !\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(ReadWholeFile(m_path),
              "ThresholdIndex = 0    ;0~254    ;Switch threshold\n"
              "Gain = 4    ;0~10    ;\n"
              "XDimension = 2560    ;1~65534    ;\n");
}

TEST_F(ParamFileWrite, LinesAboveTheMaximumLevelOrWithoutAnOpenFileAreNotWrittenNorChecked) {
    std::uint8_t outOfRange = 200;
    CParamFile file(m_path);

    // Not open yet.
    EXPECT_EQ(file.WriteLine("[Early]", kLevelBasic), 0);
    EXPECT_EQ(file.WriteRangedItem(outOfRange, 1, 0, 1, kLevelBasic, "S", "Early", ""), 0);

    ASSERT_TRUE(file.OpenWrite());
    const std::string output = ConsoleOutputOf([&] {
        EXPECT_EQ(file.WriteLine("[Hidden]", kMaxOutputLevel + 1), 0);
        EXPECT_EQ(file.WriteItem(std::int32_t{1}, kMaxOutputLevel + 1, "S", "Hidden", "", ""), 0);
        EXPECT_EQ(file.WriteItem("x", kMaxOutputLevel + 1, "S", "HiddenText", "", ""), 0);
        EXPECT_EQ(file.WriteRangedItem(outOfRange, 1, 0, 1, kMaxOutputLevel + 1, "S", "Hidden", ""),
                  0);
    });
    file.WriteLine("[Shown]", kMaxOutputLevel);
    ASSERT_TRUE(file.Close());

    EXPECT_EQ(outOfRange, 200) << "a gated ranged item must not change the image";
    EXPECT_EQ(output, "");
    EXPECT_EQ(ReadWholeFile(m_path), "[Shown]\n");
    EXPECT_EQ(file.WriteLine("[Late]", kLevelBasic), 0);
}

TEST_F(ParamFileWrite, KeysAreTrimmedAndLineBreaksCannotStartNewLines) {
    std::uint8_t pen = 1;
    CParamFile file(m_path);
    ASSERT_TRUE(file.OpenWrite());
    file.WriteLine("[Hardware Settings-RD]", kLevelDetail);
    file.WriteRangedItem(pen, 0, 0, 1, kLevelDetail, "Hardware Settings-RD", "SCAN_CTRL_PEN  ", "");
    file.WriteItem(std::int32_t{3}, kLevelDetail, "Hardware Settings-RD", "  SCAN_CTRL_VKEY ", "",
                   "");
    file.WriteItem("A\n[Injected]\r\nControllerType = 1", kLevelDetail, "Hardware Settings-RD",
                   "Label", "", "two\nlines");
    ASSERT_TRUE(file.Close());

    EXPECT_EQ(ReadWholeFile(m_path),
              "[Hardware Settings-RD]\n"
              "SCAN_CTRL_PEN = 1    ;0~1    ;\n"
              "SCAN_CTRL_VKEY = 3    ;    ;\n"
              "Label = A [Injected]  ControllerType = 1    ;    ;two lines\n");

    CParamFile reader(m_path);
    std::int32_t value = 0;
    EXPECT_TRUE(reader.ReadItem("Hardware Settings-RD", "SCAN_CTRL_PEN  ", value));
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(reader.ReadItem("Injected", "ControllerType", value));
}

TEST_F(ParamFileWrite, ReadsAfterASaveSeeTheNewContent) {
    WriteWholeFile(m_path, "[S]\nK = 1\n");
    CParamFile file(m_path);
    std::int32_t value = 0;
    ASSERT_TRUE(file.ReadItem("S", "K", value));
    ASSERT_TRUE(file.OpenWrite());
    file.WriteLine("[S]", kLevelBasic);
    file.WriteItem(std::int32_t{2}, kLevelBasic, "S", "K", "", "");
    ASSERT_TRUE(file.Close());
    ASSERT_TRUE(file.ReadItem("S", "K", value));
    EXPECT_EQ(value, 2);
}

// A save that does not complete must leave the file that was there before exactly as it was, and
// no temporary file behind.
class FailedSave : public ParamFileWrite {
  protected:
    void SetUp() override {
        WriteWholeFile(m_path, kPrevious);
        m_listing = m_folder.Listing();
    }
    void ExpectPreviousFileIntact() {
        EXPECT_EQ(ReadWholeFile(m_path), kPrevious);
        EXPECT_EQ(m_folder.Listing(), m_listing);
    }
    static void WriteManyItems(CParamFile& file) {
        file.WriteLine("[Big]", kLevelBasic);
        for (int i = 0; i < 4000; ++i) {
            file.WriteItem(std::int32_t{i}, kLevelBasic, "Big", "Item(" + std::to_string(i) + ")",
                           "0~65534", "a comment long enough to fill the buffers quickly");
        }
    }

    static constexpr const char* kPrevious = "[S]\nK = previous\n";
    std::string m_listing;
};

TEST_F(FailedSave, ObjectDestroyedBeforeCloseKeepsThePreviousFile) {
    {
        CParamFile file(m_path);
        ASSERT_TRUE(file.OpenWrite());
        WriteManyItems(file);
    }
    ExpectPreviousFileIntact();
}

TEST_F(FailedSave, WriteErrorMakesCloseFailAndKeepsThePreviousFile) {
    // Let the file system refuse everything past 4 KiB (EFBIG instead of the default signal).
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previousLimit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    rlimit small = previousLimit;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    CParamFile file(m_path);
    const bool opened = file.OpenWrite();
    if (opened) {
        WriteManyItems(file);
    }
    const bool closed = file.Close();

    setrlimit(RLIMIT_FSIZE, &previousLimit);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(closed);
    ExpectPreviousFileIntact();
}

TEST_F(FailedSave, TargetThatCannotBeReplacedFailsCloseAndLeavesNoTemporaryFile) {
    const std::string folderPath = m_folder.PathOf("occupied.hwt");
    std::filesystem::create_directory(folderPath);
    m_listing = m_folder.Listing();

    CParamFile file(folderPath);
    ASSERT_TRUE(file.OpenWrite());
    file.WriteLine("[S]", kLevelBasic);
    EXPECT_FALSE(file.Close());
    EXPECT_TRUE(std::filesystem::is_directory(folderPath));
    ExpectPreviousFileIntact();
}

TEST_F(ParamFileWrite, OpenWriteFailsWhereNoFileCanBeCreated) {
    CParamFile file(m_folder.PathOf("no-such-folder/GXXX_C000.hwt"));
    EXPECT_FALSE(file.OpenWrite());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.WriteLine("[S]", kLevelBasic), 0);
    EXPECT_EQ(m_folder.Listing(), "");
}

TEST_F(ParamFileWrite, ExistsOnlyForReadableRegularFiles) {
    WriteWholeFile(m_path, "[S]\n");
    const std::string fifo = m_folder.PathOf("pipe.hwt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    EXPECT_TRUE(CParamFile(m_path).Exists());
    EXPECT_FALSE(CParamFile(m_folder.PathOf("missing.hwt")).Exists());
    EXPECT_FALSE(CParamFile(m_folder.PathOf("")).Exists());  // the folder itself
    EXPECT_FALSE(CParamFile(fifo).Exists());                 // and without waiting for a writer
}

TEST_F(ParamFileWrite, ExistsClosesAnOpenWrite) {
    CParamFile file(m_path);
    ASSERT_TRUE(file.OpenWrite());
    file.WriteLine("[S]", kLevelBasic);
    EXPECT_TRUE(file.Exists());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadWholeFile(m_path), "[S]\n");
}

}  // namespace
