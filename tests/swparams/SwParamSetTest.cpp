// The software parameter set itself: its defaults, the derivation before a download, the -G
// threshold values of adjust_alg_th and the calibration resolution check.
#include <ostream>

#include "SwFixture.h"

namespace {

using namespace SwLayout;
namespace B = SwLayout::Block;

using SwParamSet = SwFixture;

int BlockWord(CParam_SW& sw, int mode, int field) {
    return sw.Word(ThresholdBlock(mode) + field);
}

TEST_F(SwParamSet, DefaultsAreAValidImageWithTheDocumentedValues) {
    CParam_SW& sw = Set();
    EXPECT_EQ(sw.Word(0), kUsedLength);
    EXPECT_EQ(sw.Word(2), sw.CalcCheckSum());
    EXPECT_EQ(sw.Byte(4), 2);
    EXPECT_EQ(sw.Byte(5), 6);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sw.Image() + kModelInfo), 8),
              std::string("K7PXXX\0\0", 8));
    EXPECT_EQ(sw.Word(CtrlFlags(0)), 0x401A);
    EXPECT_EQ(sw.Word(CtrlFlags(1)), 0x0228);
    EXPECT_EQ(sw.Word(CtrlFlags(2)), 0x0200);
    EXPECT_EQ(sw.Word(CtrlFlags(3)), 0x0000);
    for (int t = 0; t < 3; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(BlockWord(sw, t, B::kCtrlCopy0), 0x401A);
        EXPECT_EQ(BlockWord(sw, t, B::kAvgTouchSignal), 150);
        EXPECT_EQ(BlockWord(sw, t, B::kWaterThHigh), 600);
        EXPECT_EQ(sw.Byte(ModeWater(t) + 3), 254);        // WLTouchSizeMax
        EXPECT_EQ(sw.Word(CalibrationSet(t) + 8), 3584);  // URX of every calibration set
    }
    EXPECT_EQ(sw.Byte(kNoiseNodeCntRatio), 255);       // left at the fill value on purpose
    EXPECT_EQ(static_cast<int8_t>(sw.Byte(204)), -2);  // Tx2CH_FingerSeperationLevel
    EXPECT_EQ(sw.Word(kUartReportFormat), 0x00A0);
    EXPECT_EQ(sw.Byte(kRightClick), 0xC2);
    EXPECT_EQ(sw.Word(ActiveArea(4)), 0);
    EXPECT_EQ(sw.Byte(ActiveArea(4) + 8), 0xFF);  // unnamed bytes keep the fill
}

TEST_F(SwParamSet, KeepVersionModeWritesNoVersionBytes) {
    options_.fixed.keepVersion = true;
    CController& c = Build(94);
    c.Sw().SetByte(4, 7);
    c.Sw().SetByte(5, 9);
    c.Sw().LoadDefault();
    EXPECT_EQ(c.Sw().Byte(4), 0xFF);  // left at the fill
    EXPECT_EQ(c.Sw().Byte(5), 0xFF);
    EXPECT_EQ(c.Sw().Byte(6), 1);
}

struct Derivation {
    int average, cookBase, massBase, uniformity0, uniformity;
    int touch, delta, flat;  // expected TouchThFinger, DeltaTouchTh, RawFlatFor*
};

std::ostream& operator<<(std::ostream& os, const Derivation& d) {
    return os << "AvgTouchSignal " << d.average;
}

class AverageSignal : public SwFixture, public testing::WithParamInterface<Derivation> {};

TEST_P(AverageSignal, DerivesTheModeThresholdsBeforeADownload) {
    const Derivation d = GetParam();
    CParam_SW& sw = Set();
    const int block = ThresholdBlock(1);
    sw.SetWord(ThresholdBlock(0) + B::kUniformity, static_cast<uint16_t>(d.uniformity0));
    sw.SetWord(block + B::kAvgTouchSignal, static_cast<uint16_t>(d.average));
    sw.SetWord(block + B::kCookTouchBase, static_cast<uint16_t>(d.cookBase));
    sw.SetWord(block + B::kGroupMassBase, static_cast<uint16_t>(d.massBase));
    sw.SetWord(block + B::kUniformity, static_cast<uint16_t>(d.uniformity));
    EXPECT_EQ(sw.PrepareForDownload(), 0);
    EXPECT_EQ(sw.Word(block + B::kTouchThFinger), d.touch);
    EXPECT_EQ(sw.Word(block + B::kDeltaTouchTh), d.delta);
    EXPECT_EQ(sw.Byte(block + B::kRawFlatForStray), d.flat);
    EXPECT_EQ(sw.Byte(block + B::kRawFlatForPoint), d.flat);
    EXPECT_EQ(sw.Word(block + B::kCookTouchTh), d.cookBase);
    EXPECT_EQ(sw.Word(block + B::kGroupMassTh), d.massBase);
    EXPECT_EQ(sw.Word(2), sw.CalcCheckSum());
}

// 1000 gives TouchThFinger 650, whose low 8 bits (138) make DeltaTouchTh 179.
INSTANTIATE_TEST_SUITE_P(Cases, AverageSignal,
                         testing::Values(Derivation{150, 120, 1000, 20, 20, 97, 126, 15},
                                         Derivation{1000, 300, 2000, 40, 30, 650, 179, 25},
                                         Derivation{150, 120, 1000, 1000, 1000, 97, 126, 254}));

TEST_F(SwParamSet, WithoutAverageSignalTheBasesFollowTheThresholds) {
    CParam_SW& sw = Set();
    const int block = ThresholdBlock(2);
    sw.SetWord(block + B::kAvgTouchSignal, 0);
    sw.SetWord(block + B::kCookTouchTh, 77);
    sw.SetWord(block + B::kGroupMassTh, 888);
    sw.SetWord(block + B::kTouchThFinger, 55);
    sw.PrepareForDownload();
    EXPECT_EQ(sw.Word(block + B::kCookTouchBase), 77);
    EXPECT_EQ(sw.Word(block + B::kGroupMassBase), 888);
    EXPECT_EQ(sw.Word(block + B::kTouchThFinger), 55);
}

TEST_F(SwParamSet, ResearchModeDerivesBlockZeroWithoutWrappingAndStopsAtFiveFrequencies) {
    options_.fixed.research = true;
    CParam_SW& sw = Set();
    Controller().Hw().SetByte(46, 0xFF);  // a frequency count no image should hold
    const int block = ThresholdBlock(0);
    sw.SetWord(block + B::kAvgTouchSignal, 0);
    sw.SetWord(block + B::kCookTouchTh, 50000);
    sw.SetWord(block + B::kGroupMassTh, 10000);
    sw.SetWord(block + B::kTouchThFinger, 100);
    const uint16_t areaBefore = sw.Word(kActiveArea);
    sw.PrepareForDownload();
    EXPECT_EQ(sw.Word(CtrlFlags(0)), (0x401A & 0xFF7F) | 0x0500);
    EXPECT_EQ(sw.Byte(block + B::kPalmEnableTouchSize), 26);
    EXPECT_EQ(sw.Word(block + B::kWaterNegativeTh), 25000);
    EXPECT_EQ(sw.Word(block + B::kWaterTh), 62500);
    EXPECT_EQ(sw.Word(block + B::kWaterTouchDisableTh), 65535);  // 343750, saturated
    EXPECT_EQ(sw.Word(block + B::kWaterCookTouchTh), 60000);
    EXPECT_EQ(sw.Word(block + B::kPalmRejectTouchMass), 65535);  // 70000, saturated
    for (int f = 0; f < 5; ++f) {
        EXPECT_EQ(sw.Word(kNoiseTh + 2 * f), 80);
        EXPECT_EQ(sw.Word(kNoiseConditionTh + 2 * f), 70);
    }
    EXPECT_EQ(sw.Word(kActiveArea), areaBefore);  // nothing written past the fifth frequency
}

TEST_F(SwParamSet, ThresholdOptionsGoIntoTheChosenBlockAndTheSetIsWritten) {
    options_.thresholds.block = 2;
    options_.thresholds.CookTouchTh = 77;
    options_.thresholds.GroupMassTh = 1234;
    options_.thresholds.RawFlatForPoint = 9;
    CParam_SW& sw = Set();
    sw.SetByte(ThresholdBlock(2) + B::kSensitivityLevel, 3);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(sw.SetThresholdsFromOptions());
    testing::internal::GetCapturedStdout();
    const int block = ThresholdBlock(2);
    EXPECT_EQ(sw.Word(block + B::kAvgTouchSignal), 0);
    EXPECT_EQ(sw.Word(block + B::kCookTouchTh), 77);
    EXPECT_EQ(sw.Word(block + B::kCookTouchBase), 77);
    EXPECT_EQ(sw.Word(block + B::kGroupMassBase), 1234);
    EXPECT_EQ(sw.Word(block + B::kTouchThFinger), 40);
    EXPECT_EQ(sw.Byte(block + B::kRawFlatForPoint), 9);
    EXPECT_EQ(sw.Byte(block + B::kSensitivityLevel), 0);
    EXPECT_EQ(sw.Word(ThresholdBlock(0) + B::kTouchThFinger), 97);  // block 0 derived as usual
    const std::vector<std::string> expected = {"switchWorkMode 32769", "writeBlock 0 flag=1",
                                               "switchWorkMode 32768"};
    EXPECT_EQ(device_.calls, expected);
}

struct RefusedWrite {
    int block;
    const char* failing;  // the device call that fails, or "" for none
};

std::ostream& operator<<(std::ostream& os, const RefusedWrite& r) {
    return os << "block " << r.block << ", failing '" << r.failing << "'";
}

class ThresholdWriteRefused : public SwFixture, public testing::WithParamInterface<RefusedWrite> {};

TEST_P(ThresholdWriteRefused, ReportsSetParameterFail) {
    options_.thresholds.block = static_cast<uint8_t>(GetParam().block);
    CParam_SW& sw = Set();
    if (*GetParam().failing) device_.failing.insert(GetParam().failing);
    const std::vector<uint8_t> before(sw.Image(), sw.Image() + sw.ImageLength());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(sw.SetThresholdsFromOptions());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Set Parameter Fail\n"), std::string::npos) << out;
    if (GetParam().block > 2) {
        // No such block: nothing is stored and nothing reaches the controller.
        EXPECT_EQ(std::vector<uint8_t>(sw.Image(), sw.Image() + sw.ImageLength()), before);
        EXPECT_TRUE(device_.calls.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ThresholdWriteRefused,
                         testing::Values(RefusedWrite{3, ""}, RefusedWrite{200, ""},
                                         RefusedWrite{0, "writeBlock"},
                                         RefusedWrite{1, "switchWorkMode 32769"},
                                         RefusedWrite{1, "switchWorkMode 32768"}));

struct Resolution {
    int classX, classY;
    int llx, lly;  // corners put into every set before the check
    int expectLlx, expectUrx, expectLly, expectUly;
    bool xMessage, yMessage;
};

std::ostream& operator<<(std::ostream& os, const Resolution& r) {
    return os << "classes " << r.classX << "/" << r.classY << ", LLX " << r.llx;
}

class CalibrationResolution : public SwFixture, public testing::WithParamInterface<Resolution> {};

TEST_P(CalibrationResolution, ResetsOnlyTheAxisWhoseClassDiffers) {
    const Resolution r = GetParam();
    CParam_SW& sw = Set();
    Controller().EditGeometry().rangeClassX = static_cast<uint8_t>(r.classX);
    Controller().EditGeometry().rangeClassY = static_cast<uint8_t>(r.classY);
    for (int set = 0; set < 3; ++set) {
        sw.SetWord(CalibrationSet(set) + 0, static_cast<uint16_t>(r.llx));
        sw.SetWord(CalibrationSet(set) + 2, static_cast<uint16_t>(r.lly));
    }
    testing::internal::CaptureStdout();
    sw.CheckCalibrationResolution();
    const std::string out = testing::internal::GetCapturedStdout();
    for (int set = 0; set < 3; ++set) {
        SCOPED_TRACE(set);
        const int at = CalibrationSet(set);
        EXPECT_EQ(sw.Word(at + 0), r.expectLlx);
        EXPECT_EQ(sw.Word(at + 4), r.expectLlx);  // ULX
        EXPECT_EQ(sw.Word(at + 8), r.expectUrx);
        EXPECT_EQ(sw.Word(at + 12), r.expectUrx);  // LRX
        EXPECT_EQ(sw.Word(at + 2), r.expectLly);
        EXPECT_EQ(sw.Word(at + 6), r.expectUly);
    }
    const char* x = "X axis resolution not match set calibration data to default value\n";
    const char* y = "Y axis resolution not match set calibration data to default value\n";
    EXPECT_EQ(Occurrences(out, x), r.xMessage ? 1 : 0) << out;
    EXPECT_EQ(Occurrences(out, y), r.yMessage ? 1 : 0) << out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalibrationResolution,
    testing::Values(
        // Class 0 corners on a class 0 controller stay.
        Resolution{0, 0, 512, 3584, 512, 3584, 3584, 512, false, false},
        // Class 1 in X only: X is scaled up, Y stays.
        Resolution{1, 0, 512, 3584, 1024, 7168, 3584, 512, true, false},
        // A class 2 corner on a class 0 controller: back to the class 0 defaults.
        Resolution{0, 0, 9000, 3584, 512, 3584, 3584, 512, true, false},
        Resolution{2, 2, 512, 3584, 2048, 14336, 14336, 2048, true, true}));

}  // namespace
