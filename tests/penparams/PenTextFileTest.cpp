// The stylus text file: the default set through its text and back, and what loading does beyond
// reading keys (frequency and threshold counts, the beacon amplitude, the automatic gain control,
// flag bits) and what writing does for older firmware.
#include <algorithm>
#include <array>
#include <vector>

#include "PenFixture.h"

namespace {

using PenText = PenFixture;

// The text without the lines that are written but never read: the peak and skip items of the
// spare group, which reads its tuning items as the hardware set's spare group does.
std::string WithoutUnreadLines(std::string text) {
    for (const char* key : {"Rsv_PeakNum = ", "Rsv_PeakMode = ", "Rsv_Tskip = "}) {
        for (auto at = text.find(key); at != std::string::npos; at = text.find(key))
            text.erase(at, text.find('\n', at) + 1 - at);
    }
    return text;
}

// The default set, written and read back over the same image, is unchanged byte for byte; read
// over an image of zeros it gives the same text again, so every value the text shows is carried.
TEST_F(PenText, DefaultImageThroughItsTextAndBack) {
    for (int typeCode : {94, 176, 96}) {
        SCOPED_TRACE(typeCode);
        CParam_Pen& pen = Pen(typeCode);
        const std::vector<uint8_t> image(pen.Image(), pen.Image() + 4096);
        std::string console;
        const std::string text = SavePen(&console);
        EXPECT_FALSE(Has(console, "range error")) << console;
        EXPECT_TRUE(Has(text, "[K7P100 stylus parameter file]\nControllerType = ")) << text;
        EXPECT_EQ(std::vector<uint8_t>(pen.Image(), pen.Image() + 4096), image);

        const std::string loaded = LoadPen(text);
        EXPECT_FALSE(Has(loaded, "range error")) << loaded;
        EXPECT_EQ(std::vector<uint8_t>(pen.Image(), pen.Image() + 4096), image);

        std::fill_n(pen.Image(), 4096, uint8_t{0});
        LoadPen(text);
        EXPECT_EQ(pen.CalcCheckSum(), pen.Word(2));
        EXPECT_EQ(WithoutUnreadLines(SavePen()), WithoutUnreadLines(text));
    }
}

TEST_F(PenText, SectionsFollowTheCountsAndTheChip) {
    Pen(176);
    const std::string text = SavePen();
    EXPECT_TRUE(Has(text, "[Freq-1 Signal Compensation]\n")) << text;
    EXPECT_FALSE(Has(text, "[Freq-2 ")) << "two working frequencies";
    EXPECT_TRUE(Has(text, "[Alg Threshold 0]\n"));
    EXPECT_FALSE(Has(text, "[Alg Threshold 1]\n")) << "one threshold mode";
    EXPECT_TRUE(Has(text, "\nBeaconWaveSignal = 10    ;10~111    ;Range from 10~111\n")) << text;
    EXPECT_TRUE(Has(text, "\nWorkingFreq = 214.29KHz    ;    ;Read Only\n")) << text;
    // The T324 has no tuning items for the stylus scan groups; its spare group has its own.
    EXPECT_TRUE(Has(text, "[Freq-0 DetRx Reg Parameters]\n\n[Freq-0 DetTx Reg Parameters]\n"));
    EXPECT_TRUE(Has(text,
                    "[Freq-0 Rsv Reg Parameters-RD]\nRsv_MeasureCnt = 63    ;0~63    ; Read "
                    "Only\n"))
        << text;
    // Far-signal compensation is off by default: the compensation values are not used.
    EXPECT_TRUE(Has(text, "\nApen_TX_RS(0) = 14    ;0~254    ; Read Only\n"));
    EXPECT_TRUE(Has(text, "\nCtrl(0)_DRAW_IN_COMPENSATION = 1    ;0~1    ;\n"));
}

// A file with one working frequency: only frequency 0 is read, and only its group images take
// the beacon amplitude.
TEST_F(PenText, OneWorkingFrequencyInAFile) {
    CParam_Pen& pen = Pen(94);
    std::string text = SavePen();
    text = WithKey(text, "Pen Hardware Settings", "NumsOfFreq", "1");
    text = WithKey(text, "Beacon Config", "BeaconWaveSignal", "20");
    text = WithKey(text, "Freq-1 General Config", "PreScaler", "20");
    LoadPen(text);
    for (int g = 0; g < 5; ++g) {
        EXPECT_EQ(Chip().GetSinAmp(pen.ModeImage(0, g)), 20) << g;
        EXPECT_EQ(Chip().GetSinAmp(pen.ModeImage(1, g)), 47) << g;
    }
    EXPECT_EQ(pen.GetPreScaler(1), 14);
}

// With automatic gain control the detection scans take the raw scans' tuning, whatever their own
// sections say; without it they keep what was read. The measure count is each scan's own.
TEST_F(PenText, AutomaticGainControlCarriesTheRawTuningIntoDetection) {
    for (const char* agc : {"1", "0"}) {
        SCOPED_TRACE(agc);
        CParam_Pen& pen = Pen(94);
        std::string text = SavePen();
        text = WithKey(text, "Pen Hardware Settings", "AutoSetAGC", agc);
        text = WithKey(text, "Freq-1 DetRx Reg Parameters", "DetRx_AFEGain", "5");
        text = WithKey(text, "Freq-1 RawRx Reg Parameters", "RawRx_AFEGain", "7");
        text = WithKey(text, "Freq-1 RawRx Reg Parameters", "RawRx_MeasureCnt", "30");
        text = WithKey(text, "Freq-1 DetTx Reg Parameters", "DetTx_Delay", "3");
        LoadPen(text);
        const bool merged = agc[0] == '1';
        EXPECT_EQ(Chip().GetAfeGain(pen.ModeImage(1, pen::kDetRx)), merged ? 7 : 5);
        EXPECT_EQ(Chip().GetMeasureCnt(pen.ModeImage(1, pen::kDetRx)), 63);
        EXPECT_EQ(Chip().GetDelay(pen.ModeImage(1, pen::kDetTx)), merged ? 0 : 3);
        EXPECT_EQ(Chip().GetAfeGain(pen.ModeImage(0, pen::kDetRx)), 10);
    }
}

TEST_F(PenText, FlagBitsOnlySetFrequencyControlBits) {
    CParam_Pen& pen = Pen(94);
    pen.SetByte(pen::FreqBlock(0) + pen::block::kFreqCtrl, 0x08);
    pen.UpdateCheckSum();
    std::string text = SavePen();
    EXPECT_EQ(ValueOf(text, "Freq-0 General Config", "FREQCTRL_PADDING_3"), "1");
    EXPECT_EQ(ValueOf(text, "Freq-0 General Config", "FreqCtrl"), "0x08");
    text = WithKey(text, "Freq-0 General Config", "FREQCTRL_PADDING_3", "0");
    text = WithKey(text, "Freq-0 General Config", "FREQCTRL_PADDING_1", "1");
    LoadPen(text);
    EXPECT_EQ(pen.GetFreqCtrl(0), 0x0A);
}

// Control word 0 comes from its named bits, the hardware word from its numbered bits; words 1 to 4
// have keys no file of this program writes, so a file read back clears them.
TEST_F(PenText, ControlWordsFromTheirBits) {
    CParam_Pen& pen = Pen(94);
    pen.SetWord(pen::kPenCtrl + 4, 0x1234);
    pen.UpdateCheckSum();
    std::string text = SavePen();
    text = WithKey(text, "Pen Software Settings", "Ctrl(0)_FAR_SIGNAL_COMPENSATION", "1");
    text = WithoutKey(text, "Pen Software Settings", "Ctrl(0)_BEACON_ENABLE");
    text = WithKey(text, "Pen Software Settings", "Ctrl(3)_(04)", "1");
    text = WithKey(text, "HW General Config", "CtrlFlag(09)", "1");
    LoadPen(text);
    EXPECT_EQ(pen.PenCtrl(0), 0x0C6C | 0x0100);
    EXPECT_EQ(pen.PenCtrl(2), 0);
    EXPECT_EQ(pen.PenCtrl(3), 0x0010);
    EXPECT_EQ(pen.Word(pen::kCtrlFlag), 0x0200);
    EXPECT_TRUE(Has(SavePen(), "\nApen_RX_AFEGain(2) = 10    ;0~254    ;\n"))
        << "compensation in use: no longer marked";
}

// Older firmware takes the global thresholds in place of the threshold modes' own: writing the
// file for it shows (and stores) what it will use, and marks nothing as unused.
TEST_F(PenText, StructureVersionDecidesCopiesAndComments) {
    struct Case {
        int version;
        uint16_t blockDetectTh;
        uint8_t blockZMinFilter;
        uint16_t tempParam;
        const char* detectComment;
        const char* zMinComment;
    };
    const char* v07 = "Read Only.We don't use this parameter after v07";
    const char* v08 = "Read Only.We don't use this parameter after v08";
    for (const Case& c : {Case{7, 555, 33, 0, "", ""}, Case{8, 300, 33, 0, v07, ""},
                          Case{9, 300, 10, 0, v07, v08}, Case{11, 300, 10, 77, v07, v08}}) {
        SCOPED_TRACE(c.version);
        CParam_Pen& pen = Pen(94, c.version);
        pen.SetWord(pen::kDetectTh, 555);
        pen.SetByte(pen::kZMinFilter, 33);
        pen.SetWord(pen::kTempParams, 77);
        pen.UpdateCheckSum();
        const std::string text = SavePen();
        for (int t = 0; t < 4; ++t) {
            EXPECT_EQ(pen.Word(pen::ThresholdBlock(t) + pen::threshold::kDetectTh),
                      c.blockDetectTh);
            EXPECT_EQ(pen.Byte(pen::ThresholdBlock(t) + pen::threshold::kZMinFilter),
                      c.blockZMinFilter);
        }
        EXPECT_EQ(pen.Word(pen::kTempParams), c.tempParam);
        EXPECT_EQ(LineOf(text, "Threshold Config", "DetectTh"),
                  std::string("DetectTh = 555    ;0~65534    ;") + c.detectComment);
        EXPECT_EQ(LineOf(text, "Z Config", "ZMinFilter"),
                  std::string("ZMinFilter = 33    ;0~254    ;") + c.zMinComment);
    }
}

TEST_F(PenText, ThresholdModes) {
    CParam_Pen& pen = Pen(94);
    pen.SetByte(pen::kNumsOfThresholds, 2);
    pen.UpdateCheckSum();
    std::string text = SavePen();
    // The older key name wins when a section holds both.
    text = WithKey(text, "Alg Threshold 1", "ZFilterLevel", "9");
    text = WithKey(text, "Alg Threshold 1", "ZMaxFilter", "4");
    text = WithKey(text, "Alg Threshold 0", "ZMaxFilter", "6");
    text = WithKey(text, "Alg Threshold 1", "HoverFilter", "40");
    const std::string out = LoadPen(text);
    EXPECT_EQ(pen.Byte(pen::ThresholdBlock(1) + pen::threshold::kZMaxFilter), 9);
    EXPECT_EQ(pen.Byte(pen::ThresholdBlock(0) + pen::threshold::kZMaxFilter), 6);
    EXPECT_EQ(pen.Byte(pen::ThresholdBlock(1) + pen::threshold::kHoverFilter), 31);
    EXPECT_TRUE(Has(out, "HoverFilter range error, value = 40, range = 0~31, Clamp!\n")) << out;

    const std::string clamped =
        LoadPen(WithKey(text, "Pen Software Settings", "NumsOfThresholds", "5"));
    EXPECT_EQ(pen.NumsOfThresholds(), 4);
    EXPECT_TRUE(Has(clamped, "NumsOfThresholds range error, value = 5, range = 1~4, Clamp!\n"))
        << clamped;
}

// Counts from a damaged image never reach past the blocks there are: the written counts are put
// in range first (with the usual message), and the file then loads.
TEST_F(PenText, CountsOutsideTheirRangesInTheImage) {
    CParam_Pen& pen = Pen(176);
    pen.SetByte(pen::kNumsOfFreq, 0xFF);
    pen.SetByte(pen::kNumsOfThresholds, 0xFF);
    pen.UpdateCheckSum();
    std::string console;
    const std::string text = SavePen(&console);
    EXPECT_TRUE(
        Has(console, "NumsOfFreq range error, value = 255, range = 1~3, set to default =  2"))
        << console;
    EXPECT_EQ(pen.NumsOfFreq(), 2);
    EXPECT_EQ(pen.NumsOfThresholds(), 1);
    EXPECT_FALSE(Has(text, "[Freq-2 "));
    LoadPen(text);
}

// The offset between the two pressure readings is a 16-bit pattern like every other item: a
// negative offset survives the text.
TEST_F(PenText, NegativePressureOffsetSurvives) {
    CParam_Pen& pen = Pen(94);
    pen.SetWord(pen::kZ1Z2Offset, static_cast<uint16_t>(-16));
    pen.SetWord(pen::kSignedTempParams, static_cast<uint16_t>(-300));
    pen.UpdateCheckSum();
    std::string console;
    const std::string text = SavePen(&console);
    EXPECT_FALSE(Has(console, "range error")) << console;
    EXPECT_EQ(ValueOf(text, "Z Config", "Z1Z2Offset"), "65520");
    EXPECT_EQ(ValueOf(text, "RD_Test_Params", "sAPenTempParam01"), "-300");
    pen.SetWord(pen::kZ1Z2Offset, 0);
    pen.SetWord(pen::kSignedTempParams, 0);
    LoadPen(text);
    EXPECT_EQ(pen.Word(pen::kZ1Z2Offset), 0xFFF0);
    EXPECT_EQ(pen.Word(pen::kSignedTempParams), static_cast<uint16_t>(-300));
}

TEST_F(PenText, RefusalsOfTheCommonFrame) {
    CParam_Pen& pen = Pen(94);
    std::string text = SavePen();
    pen.SetByte(pen::kDelayTime, 1);  // the checksum is stale now
    testing::internal::CaptureStdout();
    EXPECT_EQ(pen.SaveTxtFile(), 13);
    EXPECT_TRUE(Has(testing::internal::GetCapturedStdout(), "PWB CRC Failed!\n"));
    EXPECT_EQ(pen.Byte(8), 18);

    const std::string other =
        LoadPen(WithKey(text, "K7P100 stylus parameter file", "ControllerType", "176"), false);
    EXPECT_TRUE(Has(other, "Controller Type Incorrect!\n")) << other;
}

}  // namespace
