// The hardware text file (.hwt) and register file (.hwr): what a save writes comes back by a load
// over a different image, field by field, and what loading does on purpose differently from
// writing (scan bits read but not applied, divider fixed by the controller type, chip ranges of
// unused chips, summaries from the record table, ranges taken from the chip and the controller).
#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "HwSetFixture.h"
#include "files/ParamIndex.h"

namespace {

constexpr int kBlock = 104, kBlockSize = 490;

int Block(int f) {
    return kBlock + kBlockSize * f;
}

// Byte ranges [first, end) of the image.
struct Span {
    int first, end;
};

class HwText : public HwSetFixture {
  protected:
    // Every field the text file carries gets a value of its own, inside the ranges the file
    // accepts: three working frequencies, two Tx chips and one Rx chip, five key areas.
    void FillDistinct(CParam_HW& hw) {
        CSlave& chip = Chip();
        hw.SetByte(9, 7);
        hw.SetWord(10, 0x00E5 | 0x0802);  // water-line scan and enhanced Tx driving on
        for (int i = 0; i < 8; ++i) hw.SetByte(32 + i, static_cast<uint8_t>(10 + i));
        for (int i = 0; i < 32; ++i) hw.SetByte(2554 + i, static_cast<uint8_t>(100 + i));
        hw.SetWord(40, 1234);
        hw.SetWord(42, 4321);
        hw.SetByte(44, 1);  // Rx chips
        hw.SetByte(45, 2);  // Tx chips
        hw.SetByte(46, 3);
        hw.SetByte(47, 2);
        const uint8_t pairs[] = {3, 70, 1, 60};
        for (int i = 0; i < 4; ++i) hw.SetByte(48 + i, pairs[i]);
        hw.SetByte(56, 5);
        hw.SetByte(57, 100);
        for (int k = 0; k < 10; ++k) hw.SetByte(64 + k, static_cast<uint8_t>(3 * k));
        hw.SetWord(74, 300);
        hw.SetWord(76, 400);
        const uint8_t counts[] = {5, 6, 77, 88, 9, 11};  // 78..83
        for (int i = 0; i < 6; ++i) hw.SetByte(78 + i, counts[i]);
        hw.SetWord(84, 1500);
        const uint8_t vkey[] = {2, 50, 4, 90, 1, 0};  // 86..91
        for (int i = 0; i < 6; ++i) hw.SetByte(86 + i, vkey[i]);
        for (int f = 0; f < 3; ++f) {
            const int b = Block(f);
            hw.SetByte(b, static_cast<uint8_t>(f + 1));  // ClkSrc
            hw.SetPreScaler(f, static_cast<uint8_t>(20 + f));
            hw.SetByte(b + 471, static_cast<uint8_t>(10 + f));  // ThresholdIndex
            hw.SetByte(b + 472, static_cast<uint8_t>(20 + f));  // CalibrationIndex
            for (int k = 0; k < 10; ++k) {
                const uint8_t record[] = {static_cast<uint8_t>((7 * k + f) % 50),
                                          static_cast<uint8_t>(1 + k), static_cast<uint8_t>(2 + k),
                                          static_cast<uint8_t>(3 + k), static_cast<uint8_t>(4 + k)};
                for (int i = 0; i < 5; ++i) hw.SetTuningRecordField(f, k, i, record[i]);
            }
            for (int m = 0; m < 6; ++m) {
                const std::span<uint8_t> image = hw.ModeImage(f, m);
                chip.SetMeasureCnt(image, 10 + m + f);
                chip.SetAfeGain(image, 5 + m);
                chip.SetRs(image, 2 + m);
                chip.SetDelay(image, 20 + m);
                chip.SetAdcGain(image, 2 + m % 3);
                chip.SetScaling(image, m + f);
                chip.SetSinAmp(image, 30 + m);
            }
        }
        hw.SetImgTuningFromRecords();
        hw.SetByte(2638, 1);
        for (int j = 0; j < 52; ++j) hw.SetByte(2586 + j, static_cast<uint8_t>(0x11 * j + 3));
        for (int i = 0; i < 24; ++i) hw.SetByte(2640 + i, static_cast<uint8_t>(i + 1));
        hw.SetByte(3112, 5);
        for (int i = 0; i < 5 * 14; ++i) hw.SetByte(2664 + i, static_cast<uint8_t>(200 - i));
        for (int i = 0; i < 16; ++i) hw.SetByte(3338 + i, static_cast<uint8_t>(40 + i));
        hw.UpdateCheckSum();
    }

    // The bytes of FillDistinct's image that the text file carries back.
    static std::vector<Span> CarriedBytes() {
        std::vector<Span> spans = {
            {4, 10},      {32, 48},  // versions; ID table R5, sizes, counts
            {48, 52},     {56, 58},  // Tx pairs of chips 0 and 1, Rx pair of chip 0
            {64, 92},                // phase targets .. virtual key parameters
            {2554, 2639},            // ID table R3, channel enables, ChannelCtrl
            {2640, 2664}, {3112, 3113}, {3338, 3354},  // remap areas, NumsOfKey, gray ranges
        };
        for (int f = 0; f < 3; ++f) {
            spans.push_back({Block(f), Block(f) + 1});          // ClkSrc
            spans.push_back({Block(f) + 470, Block(f) + 477});  // PreScaler .. summaries
            for (int k = 0; k < 10; ++k)
                spans.push_back({Block(f) + 410 + 6 * k, Block(f) + 415 + 6 * k});
        }
        for (int k = 0; k < 5; ++k) {
            spans.push_back({2664 + 14 * k, 2664 + 14 * k + 3});  // Attr, DelayCnt, KeyCode
            spans.push_back({2664 + 14 * k + 4, 2664 + 14 * k + 14});
        }
        return spans;
    }
};

TEST_F(HwText, EveryFieldTheFileCarriesComesBackOverAnImageOfAllOnes) {
    CParam_HW& hw = DefaultSet(96);
    FillDistinct(hw);
    std::string out = Captured([&] { EXPECT_EQ(hw.SaveTxtFile(), kParamOk); });
    EXPECT_EQ(out, "Write " + Path("K7P100_Default.hwt") + " success!\n");
    const std::vector<uint8_t> saved(hw.Image(), hw.Image() + 4096);

    std::fill_n(hw.Image(), 4096, uint8_t{0xFF});
    out = Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(out, "Load " + Path("K7P100_Default.hwt") + " success.\n");
    EXPECT_EQ(hw.Word(0), 3350);
    EXPECT_EQ(hw.CalcCheckSum(), hw.Word(2));

    for (const Span& s : CarriedBytes())
        for (int i = s.first; i < s.end; ++i) EXPECT_EQ(hw.Byte(i), saved[i]) << "byte " << i;
    // Of the scan control word only the two user bits come from the file.
    EXPECT_EQ(hw.ScanCtrl() & 0x0802, 0x0802);
    // Chips beyond the counts take the chip's ranges.
    std::array<uint8_t, 2> pair{};
    for (int i = 2; i < 4; ++i) {
        Chip().GetDefaultTxRange(pair, i);
        EXPECT_EQ(hw.TxStart(i), pair[0]);
        EXPECT_EQ(hw.TxEnd(i), pair[1]);
    }
    for (int i = 1; i < 4; ++i) {
        Chip().GetDefaultRxRange(pair, i);
        EXPECT_EQ(hw.RxStart(i), pair[0]);
        EXPECT_EQ(hw.RxEnd(i), pair[1]);
    }
    // The mode images get the tuning items of their group (Img: ADC gain and scaling; its other
    // quantities are the frequency's own items), the sine amplitude and the prescaler.
    CSlave& chip = Chip();
    for (int f = 0; f < 3; ++f) {
        for (int m = 0; m < 6; ++m) {
            SCOPED_TRACE(testing::Message() << "frequency " << f << " group " << m);
            const std::span<const uint8_t> was(saved.data() + 106 + 490 * f + 68 * m, 68);
            const std::span<uint8_t> now = hw.ModeImage(f, m);
            EXPECT_EQ(chip.GetAdcGain(now), chip.GetAdcGain(was));
            EXPECT_EQ(chip.GetScaling(now), chip.GetScaling(was));
            EXPECT_EQ(chip.GetSinAmp(now), chip.GetSinAmp(was));
            EXPECT_EQ(chip.GetPhase1(now), 20 + f);
            if (m == 3) continue;
            EXPECT_EQ(chip.GetMeasureCnt(now), chip.GetMeasureCnt(was));
            EXPECT_EQ(chip.GetAfeGain(now), chip.GetAfeGain(was));
            EXPECT_EQ(chip.GetRs(now), chip.GetRs(was));
            EXPECT_EQ(chip.GetDelay(now), chip.GetDelay(was));
        }
    }
    // Not carried back, by design of the format:
    // - ScanCtrl bits other than 1 and 11, and the whole ScanCtrl(Idle) word (read, not applied);
    // - the FREQCTRL byte (its bits are read only to set the switch bits of the mode images);
    // - FreqDivider, which a T320 controller always runs at 3;
    // - the mode image fields outside the groups' tuning items (those travel in the .hwr file);
    // - frequency blocks at or above NumsOfFreq, key areas at or above NumsOfKey;
    // - bytes the layout does not interpret, and everything beyond the used length.
    for (int f = 0; f < 3; ++f) EXPECT_EQ(hw.GetFreqDivider(f), 3);
    EXPECT_EQ(hw.Byte(Block(3) + 470), 0xFF);
}

TEST_F(HwText, NothingOutOfRangeMeansNoMessageAndTheSameFileAgain) {
    CParam_HW& hw = DefaultSet(96);
    FillDistinct(hw);
    Captured([&] { hw.SaveTxtFile(); });
    const std::string first = ReadText(Path("K7P100_Default.hwt"));
    const std::string out = Captured([&] {
        EXPECT_EQ(hw.LoadTxtFile(), 1);
        EXPECT_EQ(hw.SaveTxtFile(), kParamOk);
    });
    EXPECT_FALSE(Has(out, "range error")) << out;
    EXPECT_EQ(ReadText(Path("K7P100_Default.hwt")), first);
    EXPECT_TRUE(
        Has(first, "[K7P100 hardware parameter file]\nControllerType = 96    ;    ;read only\n"));
    EXPECT_TRUE(Has(first, "\n[Freq-2 Img Reg Parameters]\nImg_MeasureCnt = "));
    EXPECT_FALSE(Has(first, "[Freq-3 "));
    EXPECT_TRUE(Has(first,
                    "\nTxEnd(1) = 60    ;0~79    ;The last active TX channel of the "
                    "driving chip.\n"));
    EXPECT_FALSE(Has(first, "TxStart(2)"));
    EXPECT_TRUE(Has(first, "\n[Key Area4-RD]\n"));
    EXPECT_FALSE(Has(first, "[Key Area5-RD]"));
    EXPECT_TRUE(Has(first, "\nTxEnable_15_8 = "));
    EXPECT_TRUE(Has(first, "\nStrayUpdatTime = 88    ;1~254    ;\n"));
}

TEST_F(HwText, ScanBitsOtherThanTheUserBitsAreReadButNotApplied) {
    CParam_HW& hw = DefaultSet(96);
    Captured([&] { hw.SaveTxtFile(); });
    const std::string path = Path("K7P100_Default.hwt");
    SetItem(path, "Hardware Settings-RD", "SCAN_CTRL_PEN", "1");
    SetItem(path, "Hardware Settings(Idle)-RD", "SCAN_CTRL_LPEN", "1");
    SetItem(path, "Hardware Settings-RD", "SCAN_CTRL_NOISE", "0");
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.ScanCtrl(), 0x00E5);
    EXPECT_EQ(hw.ScanCtrlIdle(), 0x00E5);

    SetItem(path, "Hardware Settings", "SCAN_CTRL_WATER", "1");
    SetItem(path, "Hardware Settings-RD", "SCAN_CTRL_PIPELINE", "0");
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.ScanCtrl(), 0x00E7);
    SetItem(path, "Hardware Settings", "SCAN_CTRL_TX2CH", "7");  // clamped to 1
    const std::string clamped = Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.ScanCtrl(), 0x08E7);
    EXPECT_TRUE(Has(clamped, "SCAN_CTRL_TX2CH range error, value = 7, range = 0~1, Clamp!\n"))
        << clamped;
    SetItem(path, "Hardware Settings", "SCAN_CTRL_WATER", "0");
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.ScanCtrl(), 0x08E5);
}

TEST_F(HwText, ChipRangesOfUnusedChipsComeFromTheChipWhateverTheFileSays) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetByte(45, 4);
    hw.UpdateCheckSum();
    Captured([&] { hw.SaveTxtFile(); });
    const std::string path = Path("K7P100_Default.hwt");
    SetItem(path, "Sensor Config", "NumsOfTxChips", "1");
    SetItem(path, "Sensor Config", "TxStart(0)", "4");
    SetItem(path, "Sensor Config", "TxStart(2)", "9");
    SetItem(path, "Sensor Config", "TxEnd(3)", "12");
    SetItem(path, "Sensor Config", "RxEnd(0)", "300");
    const std::string out = Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.TxStart(0), 4);
    std::array<uint8_t, 2> pair{};
    for (int i = 1; i < 4; ++i) {
        Chip().GetDefaultTxRange(pair, i);
        EXPECT_EQ(hw.TxStart(i), pair[0]);
        EXPECT_EQ(hw.TxEnd(i), pair[1]);
    }
    // The chip's usable range bounds the read.
    EXPECT_EQ(hw.RxEnd(0), Chip().GetRxChannelLast(0));
    EXPECT_TRUE(Has(out, "RxEnd(0) range error, value = 300, range = 0~127, Clamp!\n")) << out;
}

TEST_F(HwText, TheDividerComesFromTheFileOnlyWhereTheChipTakesIt) {
    for (const auto& [typeCode, expected] :
         {std::pair{96, 3}, std::pair{94, 3}, std::pair{176, 9}}) {
        SCOPED_TRACE(typeCode);
        CParam_HW& hw = DefaultSet(typeCode);
        hw.SetByte(46, 2);
        hw.UpdateCheckSum();
        Captured([&] { hw.SaveTxtFile(); });
        const std::string path = hw.GetTxtFileName();
        for (const char* section : {"Freq-0 General Config-RD", "Freq-1 General Config-RD"})
            SetItem(Path(path), section, "FreqDivider", "9");
        hw.SetFreqDivider(0, 5);
        Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
        EXPECT_EQ(hw.GetFreqDivider(0), expected);
        EXPECT_EQ(hw.GetFreqDivider(1), expected);
    }
}

TEST_F(HwText, AThresholdIndexOf255LoadsButIsReplacedWhenWritten) {
    CParam_HW& hw = DefaultSet(96);
    Captured([&] { hw.SaveTxtFile(); });
    const std::string path = Path("K7P100_Default.hwt");
    SetItem(path, "Freq-0 General Config-RD", "ThresholdIndex", "255");
    const std::string loaded = Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_FALSE(Has(loaded, "range error")) << loaded;
    EXPECT_EQ(hw.Byte(Block(0) + 471), 255);
    const std::string saved = Captured([&] { EXPECT_EQ(hw.SaveTxtFile(), kParamOk); });
    EXPECT_TRUE(Has(saved,
                    "ThresholdIndex range error, value = 255, range = 0~254, set to "
                    "default =  0 !\n"))
        << saved;
    EXPECT_EQ(hw.Byte(Block(0) + 471), 0);
    EXPECT_EQ(hw.CalcCheckSum(), hw.Word(2));
}

TEST_F(HwText, ChannelEnableTextsAndEmptyValues) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetByte(2638, 1);
    hw.SetByte(2586, 0x16);
    hw.UpdateCheckSum();
    Captured([&] { hw.SaveTxtFile(); });
    const std::string path = Path("K7P100_Default.hwt");
    EXPECT_TRUE(Has(ReadText(path),
                    "\nTxEnable_7_0 = 00010110    ;0~255    ;Channel Index, "
                    "0:Disable, 1:Enable\n"));
    SetItem(path, "Channel Ctrl", "TxEnable_7_0", "");
    SetItem(path, "Channel Ctrl", "TxEnable_15_8", "101");
    SetItem(path, "Channel Ctrl", "RxEnable_255_248", "00000001");
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.Byte(2586), 0x16);
    EXPECT_EQ(hw.Byte(2587), 5);
    EXPECT_EQ(hw.Byte(2606 + 31), 1);

    // Without channel control the enable items are not written (research mode writes them).
    hw.SetByte(2638, 0);
    hw.UpdateCheckSum();
    Captured([&] { hw.SaveTxtFile(); });
    EXPECT_FALSE(Has(ReadText(path), "TxEnable_"));
    options_.fixed.research = true;
    CParam_HW& research = DefaultSet(96);
    Captured([&] { research.SaveTxtFile(); });
    EXPECT_TRUE(Has(ReadText(path),
                    "\nChannelCtrl = 0    ;0~1    ;0: Disable channel ctrl. 1: "
                    "Enable channel ctrl\nTxEnable_7_0 = 11111111    ;"));
}

TEST_F(HwText, SummariesFollowTheRecordsOnlyWhenARecordChanged) {
    CParam_HW& hw = DefaultSet(96);
    Captured([&] { hw.SaveTxtFile(); });
    const std::string path = Path("K7P100_Default.hwt");
    SetItem(path, "Freq-0 Img Reg Parameters", "Img_Delay", "9");
    SetItem(path, "Freq-0 Img Reg Parameters", "Img_RS", "3");
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.Byte(Block(0) + 473), 9);
    EXPECT_EQ(hw.Byte(Block(0) + 474), 3);

    SetItem(path, "Freq-0 Img Parameters-RD", "Img_Delay(6)", "41");
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.TuningRecordField(0, 6, 0), 41);
    EXPECT_EQ(hw.Byte(Block(0) + 473), 41);  // the largest record delay
    EXPECT_EQ(hw.Byte(Block(0) + 474), 3);   // no RS record changed
}

TEST_F(HwText, RangesTakenFromTheControllerAndTheChipSelectorStayInBounds) {
    CParam_HW& hw = DefaultSet(96);
    Captured([&] { hw.SaveTxtFile(); });
    const std::string path = Path("K7P100_Default.hwt");
    SetItem(path, "Sensor Config-RD", "PhaseTarget(3)", "200");
    SetItem(path, "V-Key Param-RD", "VKeyTxChipsSel", "255");
    SetItem(path, "V-Key Param-RD", "VKeyTXEnd", "500");
    controller_->EditGeometry().txCount = 0;  // no Tx channels: the only target is channel 0
    const std::string out = Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.PhaseTarget(3), 0);
    EXPECT_TRUE(Has(out, "PhaseTarget(3) range error, value = 200, range = 0~0, Clamp!\n")) << out;
    EXPECT_EQ(hw.Byte(90), 1);
    EXPECT_EQ(hw.Byte(87), Chip().GetTxChannelLast(1));
}

TEST_F(HwText, StrayCountsBelongToTheSoftwareSetOnNewerKernels) {
    CParam_HW& hw = DefaultSet(96);
    controller_->EditIdentity().kernelMinor = 31;
    Captured([&] { hw.SaveTxtFile(); });
    const std::string path = Path("K7P100_Default.hwt");
    EXPECT_TRUE(Has(ReadText(path),
                    "\nStrayUpdatTime = 100    ;1~254    ;Read Only. Move to SWT "
                    "after v03_30\n"));
    SetItem(path, "Sensor Config-RD", "StrayUpdatTime", "55");
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.StrayUpdatTime(), 100);
    controller_->EditIdentity().kernelMinor = 30;
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.StrayUpdatTime(), 55);
}

TEST_F(HwText, KeyAreasLieAroundNumsOfKeyAndItsSpareByte) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetByte(3112, 48);
    for (int k = 0; k < 48; ++k) {
        const int at = k < 32 ? 2664 + 14 * k : 3114 + 14 * (k - 32);
        hw.SetByte(at, static_cast<uint8_t>(k + 1));           // Attr
        hw.SetWord(at + 12, static_cast<uint16_t>(1000 + k));  // LRy
    }
    hw.UpdateCheckSum();
    Captured([&] { hw.SaveTxtFile(); });
    const std::string path = Path("K7P100_Default.hwt");
    SetItem(path, "Key Area31-RD", "LRy", "31031");
    SetItem(path, "Key Area32-RD", "Attr", "132");
    SetItem(path, "Key Area47-RD", "LRy", "47047");
    std::fill_n(hw.Image() + 2664, 3338 - 2664, uint8_t{0xEE});
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.Word(3110), 31031);  // key area 31 ends at 3111
    EXPECT_EQ(hw.Byte(3112), 48);     // NumsOfKey
    EXPECT_EQ(hw.Byte(3113), 0xEE);   // not interpreted, not in the file
    EXPECT_EQ(hw.Byte(3114), 132);    // key area 32 starts at 3114
    EXPECT_EQ(hw.Word(3336), 47047);  // key area 47 ends where the gray ranges begin
    EXPECT_EQ(hw.Word(3338), 0);
    EXPECT_EQ(hw.Byte(2664 + 14 * 5), 6);

    // A count from a foreign image is replaced when written, and bounds the areas written.
    hw.SetByte(3112, 255);
    hw.UpdateCheckSum();
    const std::string out = Captured([&] { EXPECT_EQ(hw.SaveTxtFile(), kParamOk); });
    EXPECT_TRUE(
        Has(out, "NumsOfKey range error, value = 255, range = 0~48, set to default =  0 !\n"))
        << out;
    EXPECT_FALSE(Has(ReadText(path), "[Key Area0-RD]"));
}

TEST_F(HwText, KeepVersionModeLeavesTheSetsVersionAlone) {
    options_.fixed.keepVersion = true;
    CParam_HW& hw = DefaultSet(96);
    hw.SetByte(4, 2);
    hw.SetByte(5, 4);
    hw.SetByte(6, 0);
    hw.UpdateCheckSum();
    Captured([&] { EXPECT_EQ(hw.SaveTxtFile(), kParamOk); });
    EXPECT_EQ(hw.GetParamVersion(), 24);
    EXPECT_EQ(hw.Byte(6), 1);  // the tuner version is stamped all the same
    const std::string path = Path("K7P100_Default.hwt");
    SetItem(path, "Version Information", "MajorVersion", "7");
    SetItem(path, "Version Information", "TunerBuildNo", "44");
    Captured([&] { EXPECT_EQ(hw.LoadTxtFile(), 1); });
    EXPECT_EQ(hw.Byte(4), 2);
    EXPECT_EQ(hw.Byte(8), 44);
}

TEST_F(HwText, AStaleImageIsRefusedBeforeAnythingIsStamped) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetByte(6, 9);
    hw.SetByte(40, 77);  // checksum not renewed
    const std::string out = Captured([&] { EXPECT_EQ(hw.SaveTxtFile(), kParamChecksum); });
    EXPECT_EQ(out, "HWB CRC Failed!\n");
    EXPECT_EQ(hw.Byte(6), 9);
    EXPECT_FALSE(std::filesystem::exists(Path("K7P100_Default.hwt")));

    hw.UpdateCheckSum();
    Captured([&] { EXPECT_EQ(hw.SaveTxtFile(), kParamOk); });
    EXPECT_EQ(hw.Byte(6), 1);  // the tuner version that wrote the file
}

TEST_F(HwText, BytesTheLayoutDoesNotInterpretTravelThroughEveryFileUnchanged) {
    CParam_HW& hw = DefaultSet(96);
    std::vector<int> spare;
    for (int i = 14; i < 32; ++i) spare.push_back(i);
    for (int i = 92; i < 104; ++i) spare.push_back(i);
    for (int f = 0; f < 5; ++f) {
        for (int i = 478; i < 490; ++i) spare.push_back(Block(f) + i);
        for (int k = 0; k < 10; ++k) spare.push_back(Block(f) + 410 + 6 * k + 5);
    }
    spare.push_back(2639);
    spare.push_back(3113);
    for (int k = 0; k < 48; ++k)
        spare.push_back(k < 32 ? 2664 + 14 * k + 3 : 3114 + 14 * (k - 32) + 3);
    for (std::size_t i = 0; i < spare.size(); ++i)
        hw.SetByte(spare[i], static_cast<uint8_t>(0x30 + i % 200));
    hw.SetByte(3112, 48);
    hw.UpdateCheckSum();
    const std::vector<uint8_t> before(hw.Image(), hw.Image() + 4096);
    Captured([&] {
        EXPECT_EQ(hw.SaveTxtFile(), kParamOk);
        EXPECT_EQ(hw.LoadTxtFile(), 1);
        EXPECT_EQ(hw.SaveRegFile(), kParamOk);
        EXPECT_EQ(hw.LoadRegFile(), 1);
        EXPECT_EQ(hw.SaveBinFile(), kParamOk);
        EXPECT_EQ(hw.LoadBinFile(""), kParamOk);
    });
    for (int at : spare) EXPECT_EQ(hw.Byte(at), before[at]) << "byte " << at;
}

TEST_F(HwText, AnOldStructureVersionTakesTheSummariesFromTheRecordsBeforeWriting) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetTuningRecordField(0, 2, 1, 11);  // an RS record above the summary 7
    hw.UpdateCheckSum();
    Captured([&] { hw.SaveTxtFile(); });
    EXPECT_EQ(hw.Byte(Block(0) + 474), 7);  // structure version 13 keeps the summary
    controller_->EditIdentity().hwVersion = 3;
    Captured([&] { hw.SaveTxtFile(); });
    EXPECT_EQ(hw.Byte(Block(0) + 474), 11);
    EXPECT_EQ(hw.CalcCheckSum(), hw.Word(2));
    EXPECT_TRUE(Has(ReadText(Path("K7P100_Default.hwt")), "\nImg_RS = 11    ;1~14    ;Noise"));
}

// The named items a register file holds that LoadRegSection reads back: keys without the "_" of
// read-only fields, without the raw REG items. Section -> key -> value.
std::map<std::string, std::map<std::string, std::string>> ReadableItems(const std::string& text) {
    std::map<std::string, std::map<std::string, std::string>> items;
    std::istringstream in(text);
    std::string section, line;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const auto eq = line.find(" = ");
        if (eq == std::string::npos || line[0] == '_' || line.rfind("REG(", 0) == 0) continue;
        if (line.rfind("ControllerType", 0) == 0) continue;
        items[section][line.substr(0, eq)] = line.substr(eq + 3);
    }
    return items;
}

TEST_F(HwText, RegisterFileFieldsComeBackOverChangedModeImages) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetByte(46, 2);
    for (int m = 0; m < 6; ++m) {
        Chip().SetSinOffset(hw.ModeImage(1, m), 40 + m);
        Chip().SetGainH(hw.ModeImage(0, m), 3 + m);
    }
    hw.UpdateCheckSum();
    std::string out = Captured([&] { EXPECT_EQ(hw.SaveRegFile(), kParamOk); });
    EXPECT_EQ(out, "Write " + Path("K7P100_Default.hwr") + " success!\n");
    const std::string first = ReadText(Path("K7P100_Default.hwr"));
    const auto expected = ReadableItems(first);
    ASSERT_EQ(expected.size(), 12u);  // two frequencies of six groups
    for (const auto& [section, keys] : expected) EXPECT_GT(keys.size(), 40u) << section;
    EXPECT_TRUE(Has(first, "[K7P100 hardware register file]\nControllerType = 96"));
    EXPECT_TRUE(Has(first, "\n[Freq-1 Rsv Reg Parameters]\n"));

    // Every byte of the two working frequencies' mode images changes; frequency 2 must not.
    for (int f = 0; f < 2; ++f)
        for (int m = 0; m < 6; ++m)
            for (uint8_t& b : hw.ModeImage(f, m)) b ^= 0x5A;
    const std::vector<uint8_t> third(hw.Image() + Block(2), hw.Image() + Block(3));
    out = Captured([&] { EXPECT_EQ(hw.LoadRegFile(), 1); });
    EXPECT_EQ(out, "");
    EXPECT_EQ(hw.CalcCheckSum(), hw.Word(2));
    EXPECT_TRUE(std::equal(third.begin(), third.end(), hw.Image() + Block(2)));
    Captured([&] { EXPECT_EQ(hw.SaveRegFile(), kParamOk); });
    EXPECT_EQ(ReadableItems(ReadText(Path("K7P100_Default.hwr"))), expected);
}

TEST_F(HwText, RegisterFileOfAnotherControllerTypeIsRefused) {
    CParam_HW& hw = DefaultSet(96);
    Captured([&] { hw.SaveRegFile(); });
    const std::string path = Path("K7P100_Default.hwr");
    SetItem(path, "K7P100 hardware register file", "ControllerType", "160");
    const std::string out = Captured([&] { EXPECT_EQ(hw.LoadRegFile(), 0); });
    EXPECT_EQ(out, "Controller Type Incorrect!\n");
}

}  // namespace
