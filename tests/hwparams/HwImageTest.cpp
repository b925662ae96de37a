// The hardware set's image: the default image, and the operations the tuning, calibration and
// diagnostic steps use on it (tuning quantities, image tuning records, phase targets, test images,
// committing, adjust_hw_param's offsets).
#include <algorithm>
#include <array>

#include "HwSetFixture.h"
#include "shell/Options.h"

namespace {

using HwImage = HwSetFixture;

bool AllBytes(const CParam_HW& hw, int first, int end, uint8_t value) {
    for (int i = first; i < end; ++i)
        if (hw.Byte(i) != value) return false;
    return true;
}

TEST_F(HwImage, DefaultImageOfEveryChipFamily) {
    struct Case {
        int typeCode;
        uint16_t scanCtrl;
        uint8_t chips;
    };
    for (const Case& c : {Case{96, 0x00E5, 1}, Case{176, 0x00E5, 1}, Case{94, 0x00E5, 1},
                          Case{164, 0x00E5, 2}, Case{172, 0x02E5, 2}}) {
        SCOPED_TRACE(c.typeCode);
        CParam_HW& hw = DefaultSet(c.typeCode);
        EXPECT_EQ(hw.Word(0), 3350);
        EXPECT_EQ(hw.CalcCheckSum(), hw.Word(2));
        EXPECT_EQ(hw.GetParamVersion(), 13);
        EXPECT_EQ(hw.Byte(6), 1);
        EXPECT_EQ(hw.Byte(7), 2);
        EXPECT_EQ(hw.Byte(8), 18);
        EXPECT_EQ(hw.ScanCtrl(), c.scanCtrl);
        EXPECT_EQ(hw.ScanCtrlIdle(), c.scanCtrl);
        EXPECT_EQ(hw.NumsOfTxChips(), c.chips);
        EXPECT_EQ(hw.NumsOfRxChips(), c.chips);
        EXPECT_EQ(hw.NumsOfFreq(), 1);
        EXPECT_EQ(hw.Word(40), 3820);
        EXPECT_EQ(hw.Word(42), 2150);
        EXPECT_EQ(hw.StrayUpdatWaiteTime(), 200);
        EXPECT_EQ(hw.StrayUpdatTime(), 100);
        // Beyond the used length, and the bytes the layout leaves to the firmware: the fill.
        EXPECT_TRUE(AllBytes(hw, 3354, 4096, 0xFF));
        EXPECT_TRUE(AllBytes(hw, 14, 32, 0xFF));
        EXPECT_TRUE(AllBytes(hw, 92, 104, 0xFF));
        for (int f = 0; f < 5; ++f) {
            EXPECT_EQ(hw.GetPreScaler(f), 18);
            EXPECT_EQ(hw.GetFreqCtrl(f), 0x0C);
            EXPECT_EQ(hw.GetFreqDivider(f), 3);
        }
        EXPECT_TRUE(AllBytes(hw, 2586, 2638, 0xFF));  // every channel enabled
        EXPECT_TRUE(AllBytes(hw, 2640, 3112, 0));     // remap areas, key areas 0..31
        EXPECT_TRUE(AllBytes(hw, 3112, 3113, 0));     // NumsOfKey
        EXPECT_EQ(hw.Byte(3113), 0xFF);               // its spare byte
        EXPECT_TRUE(AllBytes(hw, 3114, 3354, 0));     // key areas 32..47, gray ranges
    }
}

TEST_F(HwImage, DefaultModeImagesAreTheChipsGroupImagesAtTheBlocksPrescaler) {
    CParam_HW& hw = DefaultSet(96);
    for (int m = 0; m < 6; ++m) {
        std::array<uint8_t, 68> expected{};
        Chip().BuildModeImage(m, expected);
        Chip().SetPipeline(expected, 1);  // ScanCtrl 0x00E5 has the pipeline bit
        Chip().ApplyPreScaler(expected, 18);
        for (int f = 0; f < 5; ++f) {
            const std::span<uint8_t> image = hw.ModeImage(f, m);
            EXPECT_TRUE(std::equal(image.begin(), image.end(), expected.begin())) << f << m;
        }
    }
    // The group images differ from each other, so a mix-up of offsets would show.
    EXPECT_NE(hw.Byte(106 + 4), hw.Byte(106 + 68 * 3 + 4));
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(hw.TuningRecordField(0, k, 0), 15);
        EXPECT_EQ(hw.TuningRecordField(4, k, 3), 30);
    }
}

TEST_F(HwImage, KeepVersionModeKeepsTheVersionBytesOfTheImage) {
    options_.fixed.keepVersion = true;
    CController& c = Build(96);
    c.Hw().SetByte(4, 2);
    c.Hw().SetByte(5, 7);
    Captured([&] { c.Hw().LoadDefault(); });
    EXPECT_EQ(c.Hw().GetParamVersion(), 27);
    EXPECT_EQ(c.Hw().Byte(8), 18);
}

TEST_F(HwImage, TuningQuantitiesByScanType) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetTuningRecordField(2, 4, 0, 33);
    EXPECT_EQ(hw.GetTuneDelay(1, 2, 4), 33);
    hw.SetTuneRs(1, 2, 4, 9);
    EXPECT_EQ(hw.TuningRecordField(2, 4, 1), 9);

    // Scan type 0 is the Noise image, 2 the WLRx image, 3 the WLTx image.
    hw.SetTuneDelay(0, 1, 0, 21);
    EXPECT_EQ(Chip().GetDelay(hw.ModeImage(1, 0)), 21);
    hw.SetTuneAfeGain(2, 1, 0, 17);
    EXPECT_EQ(Chip().GetAfeGain(hw.ModeImage(1, 1)), 17);
    EXPECT_EQ(hw.GetTuneAfeGain(2, 1, 0), 17);
    hw.SetTuneMeasureCnt(3, 1, 0, 44);
    EXPECT_EQ(Chip().GetMeasureCnt(hw.ModeImage(1, 2)), 44);
    EXPECT_EQ(hw.GetTuneRs(3, 1, 0), Chip().GetRs(hw.ModeImage(1, 2)));

    const std::vector<uint8_t> before(hw.Image(), hw.Image() + 4096);
    std::string out = Captured([&] {
        EXPECT_EQ(hw.GetTuneDelay(5, 0, 0), 0);
        hw.SetTuneDelay(5, 0, 0, 3);
        hw.SetTuneRs(7, 0, 0, 3);
    });
    EXPECT_EQ(Occurrences(out, "Scan Type Error!\n"), 3) << out;
    // Indexes from outside (a frequency or record the set does not have) read 0, change nothing.
    out = Captured([&] {
        EXPECT_EQ(hw.GetTuneDelay(1, 5, 0), 0);
        EXPECT_EQ(hw.GetTuneDelay(1, 0, 10), 0);
        EXPECT_EQ(hw.GetTuneDelay(0, 9, 0), 0);
        hw.SetTuneDelay(1, -1, 0, 3);
        hw.SetTuneAfeGain(0, 5, 0, 3);
        hw.SetPreScaler(5, 20);
        EXPECT_EQ(hw.GetScalingOf(0, 6), 0);
    });
    EXPECT_EQ(out, "");
    EXPECT_TRUE(std::equal(before.begin(), before.end(), hw.Image()));
}

TEST_F(HwImage, SetPreScalerReachesEverySixModeImagesOfItsFrequencyOnly) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetPreScaler(2, 27);
    EXPECT_EQ(hw.GetPreScaler(2), 27);
    for (int m = 0; m < 6; ++m) {
        EXPECT_EQ(Chip().GetPhase1(hw.ModeImage(2, m)), 27);
        EXPECT_EQ(Chip().GetPhase1(hw.ModeImage(1, m)), 18);
        EXPECT_EQ(Chip().GetPhase1(hw.ModeImage(3, m)), 18);
    }
}

TEST_F(HwImage, AverageAndMaximaOfTheImageTuningRecords) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetByte(46, 2);
    for (int k = 0; k < 10; ++k) {
        hw.SetTuningRecordField(0, k, 0, static_cast<uint8_t>(k));       // delays 0..9
        hw.SetTuningRecordField(0, k, 1, static_cast<uint8_t>(k + 1));   // RS 1..10
        hw.SetTuningRecordField(0, k, 3, 0);                             // measure counts 0
        hw.SetTuningRecordField(0, k, 4, 7);                             // gain E
        hw.SetTuningRecordField(1, k, 2, static_cast<uint8_t>(10 + k));  // AFE gains 10..19
        hw.SetTuningRecordField(2, k, 0, 50);
    }
    hw.SetImgTuningFromRecords();
    EXPECT_EQ(hw.Byte(104 + 473), 9);         // Img_Delay of frequency 0
    EXPECT_EQ(hw.Byte(104 + 474), 10);        // Img_RS
    EXPECT_EQ(hw.Byte(104 + 476), 0);         // Img_MeasureCnt
    EXPECT_EQ(hw.Byte(104 + 490 + 475), 19);  // Img_AFEGain of frequency 1
    EXPECT_EQ(hw.Byte(104 + 980 + 473), 15);  // frequency 2 is not a working frequency

    hw.AverageImgTuning();
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(hw.TuningRecordField(0, k, 0), 4);  // 45 / 10
        EXPECT_EQ(hw.TuningRecordField(0, k, 1), 5);  // 55 / 10
        EXPECT_EQ(hw.TuningRecordField(0, k, 3), 1);  // a sum of 0 gives 1
        EXPECT_EQ(hw.TuningRecordField(0, k, 4), 0);
        EXPECT_EQ(hw.TuningRecordField(1, k, 2), 10 + k);  // only frequency 0
    }

    // A count byte from a foreign image bounds the loop at the five blocks there are.
    hw.SetByte(46, 0xFF);
    hw.SetImgTuningFromRecords();
    EXPECT_EQ(hw.Byte(104 + 980 + 473), 50);
}

TEST_F(HwImage, PhaseTargetsSpreadOverTheTxChannelsAndStayOnThem) {
    struct Case {
        int txCount;
        std::array<uint8_t, 10> targets;
    };
    const Case cases[] = {
        {40, {0, 1, 7, 12, 17, 22, 27, 32, 38, 39}},
        {4, {0, 1, 2, 2, 2, 2, 2, 2, 2, 3}},
        {2, {0, 1, 1, 1, 1, 1, 1, 1, 0, 1}},  // would be negative or past the last channel
        {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    CParam_HW& hw = DefaultSet(96);
    for (const Case& c : cases) {
        controller_->EditGeometry().txCount = static_cast<uint16_t>(c.txCount);
        hw.InitPhaseTargets();
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(hw.PhaseTarget(k), c.targets[k]) << "n=" << c.txCount << " k=" << k;
    }
}

TEST_F(HwImage, EnsurePenSetWithoutStylusBitsTouchesNothing) {
    DefaultSet(96);
    device_.calls.clear();
    EXPECT_FALSE(controller_->EnsurePenSet());
    EXPECT_TRUE(device_.calls.empty());
}

TEST_F(HwImage, CommitStoresTheImageAndKeepsItAsFirstReadOnlyWhenTheWriteSucceeds) {
    CParam_HW& hw = DefaultSet(96);
    device_.calls.clear();
    EXPECT_TRUE(hw.CommitToDevice());
    EXPECT_EQ(device_.calls,
              (std::vector<std::string>{"switchWorkMode 32769", "writeBlock 1 flag=1",
                                        "switchWorkMode 32768"}));
    ASSERT_TRUE(hw.HasFirstRead());
    EXPECT_TRUE(std::equal(hw.FirstRead().begin(), hw.FirstRead().end(), hw.Image()));

    hw.SetByte(40, 0x12);
    hw.UpdateCheckSum();
    device_.failing.insert("writeBlock");
    device_.calls.clear();
    Captured([&] { EXPECT_FALSE(hw.CommitToDevice()); });
    EXPECT_EQ(device_.calls.back(), "switchWorkMode 32768");  // back to command mode all the same
    EXPECT_NE(hw.FirstRead()[40], 0x12);

    device_.failing = {"switchWorkMode 32768"};
    Captured([&] { EXPECT_FALSE(hw.CommitToDevice()); });
}

TEST_F(HwImage, TestImagesAndTestScaling) {
    CParam_HW& hw = DefaultSet(96);
    device_.calls.clear();
    std::string out = Captured([&] { EXPECT_EQ(hw.SetTestScaling(1, 5), 0); });
    EXPECT_EQ(out, "");
    for (int m = 0; m < 6; ++m) EXPECT_EQ(hw.GetScalingOf(1, m), 5);
    EXPECT_EQ(hw.CalcCheckSum(), hw.Word(2));
    EXPECT_EQ(device_.calls.front(), "writeBlock 1 flag=0");
    EXPECT_TRUE(std::find(device_.calls.begin(), device_.calls.end(), "setFrequency 1") !=
                device_.calls.end());

    // A frequency the set does not have fails before anything is written.
    device_.calls.clear();
    out = Captured([&] { EXPECT_EQ(hw.SetTestScaling(5, 3), 1); });
    EXPECT_EQ(out, "Set Test Parameter Fail...\n");
    EXPECT_TRUE(device_.calls.empty());

    device_.failing.insert("writeBlock");
    out = Captured([&] { EXPECT_EQ(hw.SetTestScaling(0, 3), 1); });
    EXPECT_EQ(out, "Set Test Parameter Fail...\n");
    device_.failing.clear();

    // A refused frequency is reported; the image was written, so the result stays true.
    device_.frequencySticks = false;
    device_.frequency = 0;
    out = Captured([&] { EXPECT_TRUE(hw.WriteTestImage(2)); });
    EXPECT_EQ(out, "Set Test Freq Fail...\n");
    device_.calls.clear();
    out = Captured([&] { EXPECT_TRUE(hw.WriteTestImage(0)); });
    EXPECT_EQ(device_.calls, std::vector<std::string>{"writeBlock 1 flag=0"});
}

using HwAdjust = HwSetFixture;

TEST_F(HwAdjust, OffsetsChangeTheWorkingFrequenciesAndTheSetIsCommitted) {
    CParam_HW& hw = DefaultSet(96);
    hw.SetByte(46, 2);
    Chip().SetScaling(hw.ModeImage(0, 3), 10);
    Chip().SetScaling(hw.ModeImage(1, 3), 3);
    Chip().SetAdcGain(hw.ModeImage(1, 3), 4);
    hw.UpdateCheckSum();
    HwAdjustOptions& o = options_.hwAdjust;
    o.scalingOffsetPerFreq = {9, 2, 4};  // frequency 2 is not a working frequency
    o.entryTableB[0][3] = 40;
    o.entryTableC[1][9] = 50;
    o.entryTableB[2][0] = 44;
    device_.calls.clear();
    const std::string out = Captured([&] { EXPECT_EQ(hw.ApplyScalingOffsets(), 0); });
    EXPECT_EQ(out, "");
    // The 4-bit scaling saturates instead of wrapping round to a small value.
    EXPECT_EQ(hw.GetScalingOf(0, 3), 15);
    EXPECT_EQ(hw.GetScalingOf(1, 3), 5);
    EXPECT_EQ(hw.GetScalingOf(2, 3), hw.GetScalingOf(3, 3));
    EXPECT_EQ(hw.GetTuneDelay(1, 0, 3), 40);
    EXPECT_EQ(hw.GetTuneDelay(1, 0, 2), 15);  // a 0 leaves the field
    EXPECT_EQ(hw.TuningRecordField(1, 9, 3), 50);
    EXPECT_EQ(hw.GetTuneDelay(1, 2, 0), 15);
    EXPECT_EQ(hw.Byte(104 + 473), 40);  // the summary follows the records
    EXPECT_EQ(hw.Byte(104 + 490 + 476), 50);
    // The Noise image of each working frequency derived from its records.
    const std::span<uint8_t> noise = hw.ModeImage(1, 0);
    EXPECT_EQ(Chip().GetScaling(noise), 8);
    EXPECT_EQ(Chip().GetMeasureCnt(noise), 25);
    EXPECT_EQ(Chip().GetAfeGain(noise), 10);
    EXPECT_EQ(Chip().GetRs(noise), 12);
    EXPECT_EQ(Chip().GetDelay(noise), 15);
    EXPECT_EQ(Chip().GetAdcGain(noise), 4);
    EXPECT_EQ(Chip().GetDelay(hw.ModeImage(0, 0)), (9 * 15 + 40) / 10);
    EXPECT_EQ(hw.CalcCheckSum(), hw.Word(2));
    EXPECT_EQ(device_.calls,
              (std::vector<std::string>{"switchWorkMode 32769", "writeBlock 1 flag=1",
                                        "switchWorkMode 32768"}));

    device_.failing.insert("writeBlock");
    const std::string failed = Captured([&] { EXPECT_EQ(hw.ApplyScalingOffsets(), 1); });
    EXPECT_TRUE(Has(failed, "Set Parameter Fail\n")) << failed;
}

}  // namespace
