// The stylus set's default image and its register file.
#include <array>
#include <vector>

#include "PenFixture.h"

namespace {

using PenSet = PenFixture;

TEST_F(PenSet, DefaultImage) {
    struct Case {
        int typeCode;
        uint8_t beaconWaveSignal;  // the chip's sine amplitude in the detection image
    };
    for (const Case& c : {Case{94, 47}, Case{176, 10}, Case{96, 47}}) {
        SCOPED_TRACE(c.typeCode);
        CParam_Pen& pen = Pen(c.typeCode);
        EXPECT_EQ(pen.CalcCheckSum(), pen.Word(2));
        EXPECT_EQ(pen.Word(0), 3676);
        EXPECT_EQ(pen.GetParamVersion(), 14);
        EXPECT_EQ(std::vector<int>({Byte(6), Byte(7), Byte(8), Byte(9)}),
                  std::vector<int>({1, 2, 18, 0}));
        EXPECT_EQ(Byte(pen::kNumsOfFreq), 2);
        EXPECT_EQ(Byte(pen::kBeaconWaveSignal), c.beaconWaveSignal);
        EXPECT_EQ(Word(pen::kPenCtrl), 0x0C6E);
        EXPECT_EQ(Word(pen::kButtonTh), 8);
        EXPECT_EQ(Word(pen::kZClampMax), 1023);
        EXPECT_EQ(Byte(pen::kTipDownPhaseLagLevelH), 27);
        EXPECT_EQ(Byte(pen::kAPenLength), 80);
        EXPECT_EQ(Byte(pen::ThresholdBlock(3) + pen::threshold::kZMinFilter), 10);
        EXPECT_EQ(Word(pen::ThresholdBlock(3) + pen::threshold::kTouchTh), 200);
        EXPECT_EQ(Byte(13), 0xFF) << "bytes no default covers";
        EXPECT_EQ(Byte(4095), 0xFF);
        // Every frequency's group images are the chip's, at prescaler 14, where the register
        // file expects them.
        for (int f = 0; f < 3; ++f) {
            for (int g = 0; g < 5; ++g) {
                std::array<uint8_t, 68> expected{};
                Chip().BuildPenImage(g, expected);
                Chip().ApplyPreScaler(expected, 14);
                const uint8_t* at = pen.Image() + 172 + 384 * f + 68 * g;
                EXPECT_TRUE(std::equal(expected.begin(), expected.end(), at)) << f << "/" << g;
            }
        }
    }
}

TEST_F(PenSet, KeepVersionModeKeepsTheVersionBytes) {
    options_.fixed.keepVersion = true;
    CController& c = Build(94);
    c.Pen().SetByte(4, 7);
    c.Pen().SetByte(5, 9);
    c.Pen().LoadDefault();
    EXPECT_EQ(c.Pen().GetParamVersion(), 79);
    EXPECT_EQ(c.Pen().Byte(8), 18);
}

// A register file names every field of every group image of every working frequency; loading one
// changes the fields it names in the images of the frequencies the set uses.
TEST_F(PenSet, RegisterFileChangesTheGroupImagesItNames) {
    CParam_Pen& pen = Pen(176);
    pen.InitFileName();
    testing::internal::CaptureStdout();
    ASSERT_EQ(pen.SaveRegFile(), 0);
    const std::filesystem::path path = folder_ / pen.GetRegFileName();
    std::string text = Read(path);
    EXPECT_TRUE(Has(text, "[K7P100 stylus register file]\nControllerType = 176")) << text;
    EXPECT_TRUE(Has(text, "[Freq-1 RawTx Reg Parameters]\nRawTx_VDTHV = 0")) << text;
    EXPECT_FALSE(Has(text, "[Freq-2 ")) << "two working frequencies";
    EXPECT_TRUE(Has(text, "REG(0x43) = 0x00    ;    ;Read Only\n"));

    text = WithKey(text, "Freq-1 RawTx Reg Parameters", "RawTx_ReadSel", "5");
    text = WithKey(text, "Freq-1 RawTx Reg Parameters", "RawTx_WaveN", "9");  // tuning: not read
    std::ofstream(path, std::ios::binary) << text;
    const std::vector<uint8_t> before(pen.Image(), pen.Image() + 4096);
    ASSERT_TRUE(pen.LoadRegFile());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Chip().GetReadSel(pen.ModeImage(1, pen::kRawTx)), 5) << out;
    EXPECT_EQ(Chip().GetMeasureCnt(pen.ModeImage(1, pen::kRawTx)), 22);
    EXPECT_EQ(pen.CalcCheckSum(), pen.Word(2));
    int changed = 0;
    for (int i = 4; i < 4096; ++i) changed += before[static_cast<std::size_t>(i)] != pen.Image()[i];
    EXPECT_EQ(changed, 1) << "only register 9 of that one image";
}

}  // namespace
