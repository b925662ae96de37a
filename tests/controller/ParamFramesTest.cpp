// The frame every set's text and register files share, seen through a small set of two items:
// which files a load accepts, the header section with the controller type, the command-line name
// that serves one load, the checksum that a load renews and a save requires, and saves that fail
// without touching the previous file. Also the binary file cases the set commands rely on.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <ctime>
#include <fstream>
#include <iterator>

#include "FakeController.h"
#include "core/ControllerExceptions.h"
#include "files/CParamFile.h"
#include "params/BinaryHeader.h"
#include "params/CParam.h"

namespace {

constexpr ParamFileFrame kFrame{".hwt", "%s hardware parameter file", "HWB CRC Failed!\n", 3350};
constexpr ParamFileFrame kRegFrame{".hwr", "%s hardware register file", "HWB CRC Failed!\n", 3350};
constexpr const char* kGroups[] = {"Noise", "Img"};
constexpr RegisterFileLayout kLayout{106, 490, 5, kGroups};

// Two items of a hardware-shaped image: a ranged 16-bit word at 40 and a plain byte at 44.
class TwoItemSet : public CParam {
  public:
    explicit TwoItemSet(CController* owner, uint8_t kind = 1, int imageLength = 4096)
        : CParam(owner, kind, imageLength) {}

    int GetAppParamVersion() override { return 13; }
    int GetParamVersion() override { return GetImageVersion(); }
    int InitFileName() override {
        static constexpr ParamExtensions kHardware{".hwt", ".hw", ".hwr"};
        static constexpr ParamExtensions kSoftware{".swt", ".sw", ""};
        static constexpr ParamExtensions kStylus{".pwt", ".pw", ".pwr"};
        return BuildFileNames(Kind() == 1 ? kHardware : Kind() == 0 ? kSoftware : kStylus) ? 1 : 0;
    }
    int InitDefaultFileName() override { return 0; }
    int LoadDefault() override { return 0; }
    int LoadTxtFile() override {
        std::string commandLine = Host()->TakeCommandLinePath(CommandLineFile::kHwText);
        return LoadTextFrame(kFrame, commandLine, [this](CParamFile& f) {
            uint16_t x = Word(40);
            f.ReadItemClamped(kSection, "XDimension", x, 1, 65534);
            SetWord(40, x);
            uint8_t chips = Byte(44);
            f.ReadItem(kSection, "NumsOfRxChips", chips);
            SetByte(44, chips);
        });
    }
    int SaveTxtFile() override {
        return SaveTextFrame(kFrame, [this](CParamFile& f) {
            f.WriteLine("[Sensor Config]", kLevelDetail);
            f.WriteRangedItem(ImageField<uint16_t>(Span(), 40), 2560, 1, 65534, kLevelDetail,
                              kSection, "XDimension", "X dimension");
            f.WriteItem(Byte(44), kLevelDetail, kSection, "NumsOfRxChips", "", "");
            f.WriteLine("", kLevelDetail);
        });
    }
    int LoadRegFile() override {
        std::string commandLine = Host()->TakeCommandLinePath(CommandLineFile::kHwRegister);
        return LoadRegisterFrame(kRegFrame, commandLine, kLayout, Byte(46));
    }
    int SaveRegFile() override { return SaveRegisterFrame(kRegFrame, kLayout, Byte(46)); }

    void MakeValid() {
        SetWord(0, static_cast<uint16_t>(ImageLength() == 4096 ? 3350 : 1266));
        UpdateCheckSum();
    }

  private:
    static constexpr const char* kSection = "Sensor Config";
    std::span<uint8_t> Span() { return {Image(), static_cast<std::size_t>(ImageLength())}; }
};

class ParamFramesTest : public FakeControllerTest {
  protected:
    void SetUp() override {
        FakeControllerTest::SetUp();
        options_.folders.workingFolder = folder_.string() + "/";
        set_ = std::make_unique<TwoItemSet>(&Identified(94));
        ASSERT_TRUE(set_->InitFileName());
        set_->MakeValid();
    }
    void TearDown() override {
        set_.reset();
        FakeControllerTest::TearDown();
    }

    // A controller that has read its identity (the model name the file names come from).
    CController& Identified(int typeCode) {
        device_.typeCode = typeCode;
        CController& c = Build(typeCode);
        Captured([&] { c.Initialise(); });
        return c;
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::string ReadFile(const std::string& name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteFile(const std::string& name, const std::string& text) const {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    // Runs an operation with the console captured; returns what it printed.
    template <typename F>
    std::string Captured(F&& operation) {
        testing::internal::CaptureStdout();
        operation();
        return testing::internal::GetCapturedStdout();
    }

    std::unique_ptr<TwoItemSet> set_;
};

TEST_F(ParamFramesTest, SavedTextStartsWithTheHeaderSectionAndLoadsBack) {
    set_->SetWord(40, 3820);
    set_->SetByte(44, 2);
    set_->MakeValid();
    int saved = -1;
    const std::string out = Captured([&] { saved = set_->SaveTxtFile(); });
    ASSERT_EQ(saved, kParamOk) << out;
    EXPECT_NE(out.find("Write " + Path("GXXX_C000.hwt") + " success!"), std::string::npos) << out;
    EXPECT_EQ(ReadFile("GXXX_C000.hwt"),
              "[K7P100 hardware parameter file]\n"
              "ControllerType = 94    ;    ;read only\n"
              "\n"
              "[Sensor Config]\n"
              "XDimension = 3820    ;1~65534    ;X dimension\n"
              "NumsOfRxChips = 2    ;    ;\n"
              "\n");

    set_->SetWord(40, 1);
    set_->SetByte(44, 0);
    set_->SetWord(0, 0);  // the load stores the used length itself
    bool loaded = false;
    const std::string loadOut = Captured([&] { loaded = set_->LoadTxtFile(); });
    set_->UpdateCheckSum();
    ASSERT_TRUE(loaded) << loadOut;
    EXPECT_NE(loadOut.find("Load " + Path("GXXX_C000.hwt") + " success.\n"), std::string::npos);
    EXPECT_EQ(set_->Word(40), 3820);
    EXPECT_EQ(set_->Byte(44), 2);
    EXPECT_EQ(set_->Word(0), 3350);
    EXPECT_EQ(set_->CalcCheckSum(), set_->Word(2));
}

// The header section belongs to the lines a user normally edits: a text file written at that
// level still says which controller it is for.
TEST_F(ParamFramesTest, TheHeaderSectionIsWrittenAtTheBasicLevel) {
    SetMaxOutputLevel(kLevelBasic);
    int saved = -1;
    const std::string out = Captured([&] { saved = set_->SaveTxtFile(); });
    SetMaxOutputLevel(kMaxOutputLevel);
    ASSERT_EQ(saved, kParamOk) << out;
    EXPECT_EQ(ReadFile("GXXX_C000.hwt"),
              "[K7P100 hardware parameter file]\n"
              "ControllerType = 94    ;    ;read only\n"
              "\n");
}

TEST_F(ParamFramesTest, LoadRefusesFilesThatAreNotItsOwn) {
    const std::string good =
        "[K7P100 hardware parameter file]\nControllerType = 94\n[Sensor Config]\nXDimension = 7\n";
    struct Case {
        const char* name;
        std::string content;
        const char* message;  // with %s for the path
    };
    const Case cases[] = {
        {"hw.txt", good, "File Name: %s Error!\n"},
        {"HW.HWT", good, "File Name: %s Error!\n"},  // the extension is compared with case
        {"missing.hwt", "", "Cannot Load File: %s\n"},
        {"other.hwt", "[K7P100 hardware parameter file]\nControllerType = 96\n",
         "Controller Type Incorrect!\n"},
        // A software text file names its own header section: no controller type is found here.
        {"soft.hwt", "[K7P100 software parameter file]\nControllerType = 94\n",
         "Controller Type Incorrect!\n"},
    };
    for (const Case& c : cases) {
        if (std::string(c.name) != "missing.hwt") WriteFile(c.name, c.content);
        options_.files.hwTextPath = Path(c.name);
        controller_->BeginCommand();
        bool loaded = true;
        const std::string out = Captured([&] { loaded = set_->LoadTxtFile(); });
        char expected[512];
        std::snprintf(expected, sizeof expected, c.message, Path(c.name).c_str());
        EXPECT_FALSE(loaded) << c.name;
        EXPECT_NE(out.find(expected), std::string::npos) << c.name << ": " << out;
        EXPECT_EQ(set_->Word(40), 0xFFFF) << c.name << ": nothing of a refused file is applied";
    }
}

TEST_F(ParamFramesTest, ACommandLineNameServesOneLoad) {
    WriteFile("given.hwt",
              "[k7p100 HARDWARE parameter file]\n ControllerType = 94 ;read only\n"
              "[Sensor Config]\nXDimension = 70000    ;1~65534\n");
    WriteFile("GXXX_C000.hwt",
              "[K7P100 hardware parameter file]\nControllerType = 94\n[Sensor Config]\n"
              "XDimension = 5\n");
    options_.files.hwTextPath = Path("given.hwt");
    controller_->BeginCommand();
    bool loaded = false;
    std::string out = Captured([&] { loaded = set_->LoadTxtFile(); });
    ASSERT_TRUE(loaded) << out;
    EXPECT_EQ(set_->Word(40), 65534);  // clamped
    EXPECT_NE(out.find("XDimension range error, value = 70000, range = 1~65534, Clamp!"),
              std::string::npos)
        << out;

    out = Captured([&] { loaded = set_->LoadTxtFile(); });
    ASSERT_TRUE(loaded) << out;
    EXPECT_EQ(set_->Word(40), 5);  // the working-folder file again

    // The next command's first load reads the named file again; the options stay as parsed.
    controller_->BeginCommand();
    out = Captured([&] { loaded = set_->LoadTxtFile(); });
    ASSERT_TRUE(loaded) << out;
    EXPECT_EQ(set_->Word(40), 65534);
    EXPECT_EQ(options_.files.hwTextPath, Path("given.hwt"));
}

TEST_F(ParamFramesTest, SaveRefusesAStaleChecksumAndKeepsThePreviousFileWhenItFails) {
    WriteFile("GXXX_C000.hwt", "previous\n");
    set_->SetByte(44, 9);  // checksum not renewed
    int saved = -1;
    std::string out = Captured([&] { saved = set_->SaveTxtFile(); });
    EXPECT_EQ(saved, kParamChecksum);
    EXPECT_NE(out.find("HWB CRC Failed!\n"), std::string::npos) << out;
    EXPECT_EQ(ReadFile("GXXX_C000.hwt"), "previous\n");

    // A file system that refuses everything past 120 bytes (EFBIG instead of the default signal);
    // the new file would be longer, the message shorter.
    set_->SetWord(40, 2560);
    set_->MakeValid();
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previousLimit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    rlimit small = previousLimit;
    small.rlim_cur = 120;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    out = Captured([&] { saved = set_->SaveTxtFile(); });
    setrlimit(RLIMIT_FSIZE, &previousLimit);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(saved, kParamCannotCreateText);
    EXPECT_NE(out.find("Cannot Create File: " + Path("GXXX_C000.hwt")), std::string::npos) << out;
    EXPECT_EQ(out.find("success"), std::string::npos) << out;
    EXPECT_EQ(ReadFile("GXXX_C000.hwt"), "previous\n");
}

TEST_F(ParamFramesTest, RegisterFileHoldsEveryModeImageOfTheStoredFrequencies) {
    set_->SetByte(46, 255);  // a count the image cannot hold: five frequencies at most
    for (int f = 0; f < 5; ++f)
        set_->SetByte(106 + 490 * f + 68 + 3, static_cast<uint8_t>(0xA0 + f));
    set_->MakeValid();
    int saved = -1;
    const std::string out = Captured([&] { saved = set_->SaveRegFile(); });
    ASSERT_EQ(saved, kParamOk) << out;
    const std::string file = ReadFile("GXXX_C000.hwr");
    EXPECT_EQ(
        file.rfind("[K7P100 hardware register file]\nControllerType = 94    ;    ;read only\n", 0),
        0u);
    EXPECT_EQ(Occurrences(file, " Reg Parameters]"), 5 * 2);
    EXPECT_EQ(Occurrences(file, "REG(0x"), 5 * 2 * 68);
    EXPECT_NE(file.find("[Freq-4 Img Reg Parameters]"), std::string::npos);
    EXPECT_EQ(file.find("[Freq-5 "), std::string::npos);
    EXPECT_NE(file.find("REG(0x03) = 0xA4    ;    ;Read Only\n"), std::string::npos);
    EXPECT_NE(file.find("REG(0x43) = 0x"), std::string::npos);
    EXPECT_EQ(file.find("REG(0x44)"), std::string::npos);

    // Loading it checks the name and the controller type like a text file, and renews the checksum.
    set_->SetWord(0, 0);
    bool loaded = false;
    std::string loadOut = Captured([&] { loaded = set_->LoadRegFile(); });
    EXPECT_TRUE(loaded) << loadOut;
    EXPECT_EQ(set_->CalcCheckSum(), set_->Word(2));
    options_.files.hwRegPath = Path("GXXX_C000.hwt");
    controller_->BeginCommand();
    loadOut = Captured([&] { loaded = set_->LoadRegFile(); });
    EXPECT_FALSE(loaded);
    EXPECT_NE(loadOut.find("File Name: " + Path("GXXX_C000.hwt") + " Error!"), std::string::npos);
}

// Binary files as the set commands use them.
class BinaryFileTest : public ParamFramesTest {};

TEST(BinaryHeaderTest, FieldsAndTypeCodesOfOneAndTwoBytes) {
    std::vector<uint8_t> image(4096, 0x11);
    image[0] = 0x16;  // used length 3350
    image[1] = 0x0D;
    std::tm written{};
    written.tm_year = 2026 - 1900;
    written.tm_mon = 11;
    written.tm_mday = 10;
    written.tm_hour = 7;
    written.tm_min = 5;
    written.tm_sec = 9;
    for (const int type : {94, 255, 256, 300}) {
        const BinaryHeader header = MakeBinaryHeader(1, type, image, written);
        EXPECT_EQ(header[0] | header[1] << 8 | header[2] << 16 | header[3] << 24, 3350 + 64);
        EXPECT_EQ(header[8], 64);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&header[12]), 16),
                  std::string("TovrexTouchT310\0", 16));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&header[28])), "2026/12/10,07:05:09");
        EXPECT_EQ(header[60], 1);
        EXPECT_EQ(header[61], type <= 255 ? type : 0) << type;
        EXPECT_EQ(header[62] | header[63] << 8, type);
        EXPECT_EQ(HeaderTypeCode(header), type);
        EXPECT_EQ(HeaderCheckSum(header), BinaryFileCheckSum(header, image));
    }
    // The checksum leaves out the lengths and itself, and covers everything else.
    const BinaryHeader header = MakeBinaryHeader(1, 94, image, written);
    BinaryHeader changed = header;
    changed[0] ^= 1;
    EXPECT_EQ(BinaryFileCheckSum(changed, image), BinaryFileCheckSum(header, image));
    changed = header;
    changed[6] ^= 1;
    EXPECT_NE(BinaryFileCheckSum(changed, image), BinaryFileCheckSum(header, image));
    std::vector<uint8_t> unused = image;
    unused[4095] ^= 1;  // past the used length, still in the file
    EXPECT_NE(BinaryFileCheckSum(header, unused), BinaryFileCheckSum(header, image));
}

TEST_F(BinaryFileTest, AFileOfAnotherSetIsRefused) {
    // The software file is shorter; the stylus file has the hardware file's length, type and
    // valid checksums. Neither is a hardware image.
    struct Other {
        uint8_t kind;
        int length;
        const char* file;
    };
    for (const Other& other : {Other{0, 2048, "GXXX_C000.sw"}, Other{3, 4096, "GXXX_C000.pw"}}) {
        TwoItemSet set(controller_.get(), other.kind, other.length);
        ASSERT_TRUE(set.InitFileName());
        set.MakeValid();
        testing::internal::CaptureStdout();
        ASSERT_EQ(set.SaveBinFile(), kParamOk);
        set_->SetByte(200, 0x42);
        EXPECT_EQ(set_->LoadBinFile(Path(other.file)), kParamWrongType) << other.file;
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("Controller Type Incorrect!"), std::string::npos) << out;
        EXPECT_EQ(set_->Byte(200), 0x42);
    }
}

TEST_F(BinaryFileTest, ModelNamesThatCannotNameAFileAreRefused) {
    for (const char* model : {"N/A", "K7", "TVX-K7P84-../x", "TVX-K7P84-A:B?", "TVX-K7P84-AB\\C"}) {
        device_.texts["model"] = model;
        device_.typeCode = 94;
        CController& c = Build(94);
        std::string message;
        Captured([&] {
            try {
                c.Initialise();
            } catch (const CInitDevException& e) {
                message = e.GetMessage();
            }
        });
        EXPECT_EQ(message, "Init HW Setting File Name Fail!\n") << model;
        EXPECT_FALSE(TwoItemSet(&c).InitFileName()) << model;
    }
    device_.texts["model"] = "TVX-K7P84-GXXX";
    TwoItemSet set(&Identified(94));
    EXPECT_TRUE(set.InitFileName());
    EXPECT_EQ(set.GetBinFileName(), "GXXX_C000.hw");
}

TEST(ImageChecksum, CoversWholeWordsOfTheUsedLengthAfterTheHead) {
    struct Case {
        int used;
        uint16_t expected;
    };
    // Image of 16 bytes (besides the head) with words 0x0101, 0x0202, ...; the seed is 0x55.
    const Case cases[] = {
        {0, 0x55}, {1, 0x55}, {2, 0x55 + 0x0101}, {3, 0x55 + 0x0101}, {4, 0x55 + 0x0101 + 0x0202}};
    for (const Case& c : cases) {
        TwoItemSet set(nullptr);
        for (int i = 0; i < 16; ++i) set.SetByte(4 + i, static_cast<uint8_t>(i / 2 + 1));
        set.SetWord(0, static_cast<uint16_t>(c.used));
        EXPECT_EQ(set.CalcCheckSum(), c.expected) << "used " << c.used;
    }
    TwoItemSet set(nullptr);
    set.SetWord(0, 4096 - 4);  // the largest the image holds
    set.UpdateCheckSum();
    EXPECT_EQ(set.CalcCheckSum(), set.Word(2));
    set.SetWord(0, 4096 - 3);  // one past: never valid
    EXPECT_EQ(set.CalcCheckSum(), static_cast<uint16_t>(set.Word(2) + 1));
}

}  // namespace
