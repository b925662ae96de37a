// The parameter sets as start-up and the binary file commands use them: file names, reading from
// the controller with the image checksum, the stylus set, and binary image files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "FakeController.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"

namespace {

// A checksum-valid image of a set: used length, seed 0x55 over 16-bit words from offset 4.
std::vector<uint8_t> ValidImage(int length, int used, uint8_t major, uint8_t minor) {
    std::vector<uint8_t> image(static_cast<std::size_t>(length), 0x11);
    image[0] = static_cast<uint8_t>(used & 0xFF);
    image[1] = static_cast<uint8_t>(used >> 8);
    image[4] = major;
    image[5] = minor;
    uint16_t sum = 0x55;
    for (int i = 0; i < used / 2; ++i)
        sum = uint16_t(sum + (image[4 + 2 * i] | image[5 + 2 * i] << 8));
    image[2] = static_cast<uint8_t>(sum & 0xFF);
    image[3] = static_cast<uint8_t>(sum >> 8);
    return image;
}

class ParamSetsTest : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        options_.folders.workingFolder = folder_.string() + "/";
    }
    std::string ReadFile(const std::string& name) {
        std::ifstream in(folder_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // A controller whose hardware set was read from the (fake) controller.
    CController& Initialised(int typeCode = 94) {
        device_.typeCode = typeCode;
        device_.blocks[1] = ValidImage(4096, 3350, 1, 3);
        device_.blocks[0] = ValidImage(2048, 1266, 2, 6);
        CController& c = Build(typeCode);
        testing::internal::CaptureStdout();
        c.Initialise();
        testing::internal::GetCapturedStdout();
        return c;
    }
};

TEST_F(ParamSetsTest, FileNamesFromTheProjectNameAndProductNumber) {
    CController& c = Initialised();
    EXPECT_EQ(c.Hw().GetTxtFileName(), "GXXX_C000.hwt");
    EXPECT_EQ(c.Hw().GetBinFileName(), "GXXX_C000.hw");
    EXPECT_EQ(c.Hw().GetRegFileName(), "GXXX_C000.hwr");
    EXPECT_EQ(c.Sw().GetTxtFileName(), "GXXX_C000.swt");
    EXPECT_EQ(c.Sw().GetRegFileName(), "");
    EXPECT_EQ(c.Ini().GetTxtFileName(), "GXXX_C000.ini");
    EXPECT_EQ(c.Ini().GetBinFileName(), "");
    EXPECT_EQ(c.Hw().InitDefaultFileName(), 0);
    EXPECT_EQ(c.Hw().GetBinFileName(), "K7P100_Default.hw");
    EXPECT_EQ(c.Pen().InitDefaultFileName(), 0);
    EXPECT_EQ(c.Pen().GetRegFileName(), "K7P100_Default.pwr");
    EXPECT_EQ(c.Ini().InitDefaultFileName(), 1);
    EXPECT_EQ(c.Ini().GetTxtFileName(), "K7PXXX_Default.ini");

    device_.texts["model"] = "TVX-K7P84-P176";
    device_.typeCode = 176;
    CController& other = Build(176);
    testing::internal::CaptureStdout();
    other.Initialise();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(other.Hw().GetTxtFileName(), "P176_C000.hwt");
    // Named without a stylus in the set too, so that a stylus command names its file.
    EXPECT_EQ(other.Pen().GetTxtFileName(), "P176_C000.pwt");

    options_.fixed.fixedName = true;
    CController& fixed = Build(94);
    testing::internal::CaptureStdout();
    fixed.Initialise();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(fixed.Sw().GetBinFileName(), "GXXX_C000.sw");
    fixed.Sw().InitDefaultFileName();
    EXPECT_EQ(fixed.Sw().GetTxtFileName(), "GXXX_Default.swt");
    fixed.Ini().InitDefaultFileName();
    EXPECT_EQ(fixed.Ini().GetTxtFileName(), "GXXX_Default.ini");
}

TEST_F(ParamSetsTest, DumpChecksTheImageChecksum) {
    CController& c = Initialised();
    EXPECT_TRUE(c.Hw().IsDumped());
    EXPECT_EQ(c.Hw().GetParamVersion(), 13);
    EXPECT_EQ(c.Sw().GetParamVersion(), 26);

    device_.blocks[1][100] ^= 0xFF;  // a stored image that no longer matches its checksum
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.Hw().DumpFromDevice(), kParamChecksum);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Dump " + options_.folders.workingFolder + "GXXX_C000.hw CRC Failed!"),
              std::string::npos)
        << out;
    EXPECT_FALSE(c.Hw().IsDumped());

    device_.blockShortBy = 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.Sw().DumpFromDevice(), kParamReadFailed);
    out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Get Bin: " + options_.folders.workingFolder + "GXXX_C000.sw Failed!"),
              std::string::npos)
        << out;

    // A used length the image cannot hold never passes.
    c.Hw().SetWord(0, 4093);
    EXPECT_NE(c.Hw().CalcCheckSum(), c.Hw().Word(2));
}

TEST_F(ParamSetsTest, TheStylusSetIsReadOnlyWhenTheHardwareSetUsesOne) {
    CController& c = Initialised();
    c.Hw().SetWord(10, 0x00E5);
    device_.calls.clear();
    EXPECT_FALSE(c.EnsurePenSet());
    EXPECT_TRUE(device_.calls.empty());

    c.Hw().SetWord(10, 0x02E5);
    device_.blocks[3] = ValidImage(4096, 3676, 1, 4);
    EXPECT_TRUE(c.EnsurePenSet());
    EXPECT_EQ(CountCalls(device_, "readBlock 3"), 1);
    EXPECT_TRUE(c.Pen().IsDumped());
    EXPECT_TRUE(c.EnsurePenSet());  // already read: not again
    EXPECT_EQ(CountCalls(device_, "readBlock 3"), 1);

    // An unreadable stylus set is reported, and the set still counts as in use.
    device_.blocks.erase(3);
    CController& other = Initialised();
    other.Hw().SetWord(10, 0x0008);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(other.EnsurePenSet());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Initialize Pen Parameters Failed!\n"), std::string::npos) << out;
}

// A controller whose hardware set uses no stylus keeps no stylus set: reading or writing one is
// refused with a message that says why, and nothing reaches the controller.
TEST_F(ParamSetsTest, WithoutAStylusTheStylusSetIsRefusedAndSaysWhy) {
    CController& c = Initialised();
    c.Hw().SetWord(10, 0x00E5);
    c.Pen().LoadDefault();
    device_.calls.clear();
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.Pen().DumpFromDevice(), 11);
    EXPECT_EQ(c.Pen().WriteToDevice(), 11);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Occurrences(out, "No stylus parameter set: the hardware set of this controller uses "
                               "no stylus.\n"),
              2)
        << out;
    EXPECT_EQ(CountCalls(device_, "readBlock 3"), 0);
    EXPECT_EQ(CountCalls(device_, "writeBlock 3"), 0);
}

TEST_F(ParamSetsTest, BinaryFilesRoundTripAndRefuseWhatIsNotTheirs) {
    CController& c = Initialised();
    testing::internal::CaptureStdout();
    ASSERT_EQ(c.Hw().SaveBinFile(), kParamOk);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Write " + options_.folders.workingFolder + "GXXX_C000.hw success!"),
              std::string::npos);
    const std::string file = ReadFile("GXXX_C000.hw");
    ASSERT_EQ(file.size(), 64u + 4096u);
    EXPECT_EQ(file.substr(12, 16), std::string("TovrexTouchT310\0", 16));
    EXPECT_EQ(static_cast<uint8_t>(file[0]) | static_cast<uint8_t>(file[1]) << 8, 3350 + 64);
    EXPECT_EQ(static_cast<uint8_t>(file[60]), 1);   // kind
    EXPECT_EQ(static_cast<uint8_t>(file[61]), 94);  // type code
    EXPECT_EQ(file[28 + 4], '/');

    // Loading it back gives the same image.
    const std::vector<uint8_t> before(c.Hw().Image(), c.Hw().Image() + 4096);
    c.Hw().SetByte(200, 0x42);
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.Hw().LoadBinFile(""), kParamOk);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::vector<uint8_t>(c.Hw().Image(), c.Hw().Image() + 4096), before);

    const auto writeVariant = [&](const std::string& name, const std::string& content) {
        std::ofstream(folder_ / name, std::ios::binary) << content;
        return (folder_ / name).string();
    };
    struct Refusal {
        std::string content;
        int code;
        const char* message;
    };
    std::string tamperedImage = file;
    tamperedImage[64 + 300] ^= 1;
    std::string tamperedHeader = file;
    tamperedHeader[40] ^= 1;
    std::string otherType = file;
    otherType[61] = 96;
    for (const Refusal& r : {Refusal{tamperedImage, kParamChecksum, "CRC Failed!"},
                             Refusal{tamperedHeader, kParamChecksum, "CRC Failed!"},
                             Refusal{otherType, kParamWrongType, "Controller Type Incorrect!"},
                             Refusal{file.substr(0, 64 + 4000), kParamChecksum, "CRC Failed!"}}) {
        c.Hw().SetByte(200, 0x42);
        testing::internal::CaptureStdout();
        EXPECT_EQ(c.Hw().LoadBinFile(writeVariant("variant.hw", r.content)), r.code);
        out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(r.message), std::string::npos) << out;
        EXPECT_EQ(c.Hw().Byte(200), 0x42) << "a refused file must leave the image alone";
    }
    // Header bytes 0 to 3 are not covered; a longer file loads.
    std::string lengthChanged = file;
    lengthChanged[0] ^= 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.Hw().LoadBinFile(writeVariant("a.hw", lengthChanged + "tail")), kParamOk);
    EXPECT_EQ(c.Hw().LoadBinFile((folder_ / "missing.hw").string()), kParamCannotOpen);
    testing::internal::GetCapturedStdout();
}

TEST_F(ParamSetsTest, AnImageThatFailsItsChecksumIsNeitherSavedNorWritten) {
    CController& c = Initialised();
    c.Hw().SetByte(500, c.Hw().Byte(500) ^ 0x10);
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.Hw().SaveBinFile(), kParamChecksum);
    EXPECT_EQ(c.Hw().WriteToDevice(), kParamChecksum);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("GXXX_C000.hw CRC Failed!"), std::string::npos) << out;
    EXPECT_FALSE(std::filesystem::exists(folder_ / "GXXX_C000.hw"));
    EXPECT_EQ(CountCalls(device_, "writeBlock"), 0);

    c.Hw().UpdateCheckSum();
    EXPECT_EQ(c.Hw().WriteToDevice(), kParamOk);
    EXPECT_EQ(CountCalls(device_, "writeBlock 1 flag=1"), 1);

    // The settings file has no image.
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.Ini().SaveBinFile(), kParamNoImage);
    EXPECT_EQ(c.Ini().DumpFromDevice(), kParamNoImage);
    testing::internal::GetCapturedStdout();
}

}  // namespace
