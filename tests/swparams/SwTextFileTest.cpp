// The software text file: what loading takes from it and what writing shows.
#include <ostream>

#include "SwFixture.h"

namespace {

using namespace SwLayout;
namespace B = SwLayout::Block;

using SwText = SwFixture;

constexpr char kGeneral[] = "Alg General Config";
constexpr char kGeneralRd[] = "Alg General Config-RD";

struct FlagEdit {
    const char* section;
    const char* key;
    const char* value;
    int word;
    uint16_t expected;  // the control word after loading
};

std::ostream& operator<<(std::ostream& os, const FlagEdit& e) {
    return os << e.section << ": " << e.key << " = " << e.value;
}

class ControlFlags : public SwFixture, public testing::WithParamInterface<FlagEdit> {};

TEST_P(ControlFlags, OnlyTheBasicBitsChangeTheImage) {
    const FlagEdit e = GetParam();
    Set();
    const std::string text = WithKey(Save(), e.section, e.key, e.value);
    Load(text);
    EXPECT_EQ(Controller().Sw().Word(CtrlFlags(e.word)), e.expected);
    EXPECT_EQ(Controller().Sw().Word(2), Controller().Sw().CalcCheckSum());
}

// The defaults are 0x401A, 0x0228, 0x0200 and 0.
INSTANTIATE_TEST_SUITE_P(
    Cases, ControlFlags,
    testing::Values(FlagEdit{kGeneral, "Ctrl(0)_AUTO_FREQUENCY", "1", 0, 0x401B},
                    FlagEdit{kGeneral, "Ctrl(0)_MARGIN_IMPROVE", "0", 0, 0x001A},
                    FlagEdit{kGeneral, "Ctrl(0)_DIAGNOSTIC_FREQ", "7", 0, 0x421A},  // clamped to 1
                    FlagEdit{kGeneralRd, "Ctrl(0)_PREDICT", "0", 0, 0x401A},
                    FlagEdit{kGeneral, "Ctrl(0)_PREDICT", "0", 0, 0x401A},
                    FlagEdit{kGeneralRd, "Ctrl(0)_AUTO_FREQ_SKIP_FIST", "1", 0, 0x401A},
                    FlagEdit{kGeneral, "Ctrl(1)_TP_EN_GPIO", "0", 1, 0x0028},
                    FlagEdit{kGeneralRd, "Ctrl(1)_Z_FILTER", "1", 1, 0x0228},
                    FlagEdit{kGeneral, "Ctrl(2)_IMG_CHECK_NOISE", "1", 2, 0x0600},
                    FlagEdit{kGeneralRd, "Ctrl(2)_LOCK_EDGE_POSITION", "1", 2, 0x0200},
                    FlagEdit{kGeneral, "Ctrl(3)_LOW_CONFI_ENABLE_WATER", "1", 3, 0x0010},
                    FlagEdit{kGeneralRd, "Ctrl(3)_FIX_WH_BY_MASS", "1", 3, 0x0000},
                    FlagEdit{kGeneralRd, "Ctrl(3)_PALM_MERGE_LARGE_GROUP", "1", 3, 0x0000}));

TEST_F(SwText, ReportPalmGroupInTheImageMakesEveryLoadMergeLargeGroups) {
    CParam_SW& sw = Set();
    sw.SetWord(CtrlFlags(2), 0x1200);
    sw.UpdateCheckSum();
    const std::string text = Save();
    EXPECT_EQ(LineOf(text, kGeneralRd, "Ctrl(3)_PALM_MERGE_LARGE_GROUP"),
              "Ctrl(3)_PALM_MERGE_LARGE_GROUP = 0    ;0~1    ;Enable to merge all group nearby the "
              "palm group to form one large group. Read Only");
    Load(WithKey(text, kGeneralRd, "Ctrl(2)_REPORT_PALM_GROUP", "0"));  // not applied
    EXPECT_EQ(sw.Word(CtrlFlags(2)), 0x1200);
    EXPECT_EQ(sw.Word(CtrlFlags(3)), 0x0080);
}

TEST_F(SwText, ModeFlagsComeFromTheModeSectionsAndTheirDetailTwins) {
    CParam_SW& sw = Set();
    std::string text = Save();
    text = WithKey(text, "---Ctrl Flag-0-RD", "Ctrl(0)_PREDICT", "0");
    text = WithKey(text, "---Ctrl Flag-0", "Ctrl(0)_WATER_PROOF", "1");
    text = WithKey(text, "---Ctrl Flag-0", "Ctrl(0)_ENHANCE_FINGER_SEPARATION", "0");
    text = WithKey(text, "---Ctrl Flag-0-RD", "Ctrl(0)_ENHANCE_FINGER_SEPARATION", "1");
    text = WithKey(text, "---Ctrl Flag-0-RD", "Ctrl(1)_IMAGE_SPEED_UP", "1");
    Load(text);
    EXPECT_EQ(sw.Word(ThresholdBlock(0) + B::kCtrlCopy0), (0x401A & ~0x0002) | 0x0080 | 0x0020);
    EXPECT_EQ(sw.Word(ThresholdBlock(0) + B::kCtrlCopy1), 0x0228 | 0x0100);
    EXPECT_EQ(sw.Word(CtrlFlags(0)), 0x401A);  // the mode's copies only
}

struct WaterLine {
    int touchTh;
    const char* fileDelta;
    const char* fileDd;
    int delta, dd;  // after loading
};

std::ostream& operator<<(std::ostream& os, const WaterLine& w) {
    return os << "WL touch threshold " << w.touchTh;
}

class WaterLineThresholds : public SwFixture, public testing::WithParamInterface<WaterLine> {};

TEST_P(WaterLineThresholds, FollowTheTouchThresholdWithACap) {
    const WaterLine w = GetParam();
    CParam_SW& sw = Set();
    std::string text = Save();
    for (const char* side : {"Rx", "Tx"}) {
        const std::string section = std::string("---Water Line ") + side + " Setting-0";
        text =
            WithKey(text, section, std::string("WL") + side + "TouchTh", std::to_string(w.touchTh));
        text = WithKey(text, section + "-RD", std::string("Water") + side + "DeltaTh", w.fileDelta);
        text = WithKey(text, section + "-RD", std::string("Water") + side + "DDTh", w.fileDd);
    }
    Load(text);
    const int block = ThresholdBlock(0);
    EXPECT_EQ(sw.Byte(block + B::kWaterRxDeltaTh), w.delta);
    EXPECT_EQ(sw.Byte(block + B::kWaterRxDDTh), w.dd);
    EXPECT_EQ(sw.Byte(block + B::kWaterTxDeltaTh), w.delta);
    EXPECT_EQ(sw.Byte(block + B::kWaterTxDDTh), w.dd);
}

INSTANTIATE_TEST_SUITE_P(Cases, WaterLineThresholds,
                         testing::Values(WaterLine{200, "5", "6", 254, 200},  // 260 capped
                                         WaterLine{100, "5", "6", 130, 100},
                                         WaterLine{1, "5", "6", 1, 1},
                                         WaterLine{0, "33", "44", 33, 44}));

struct ModelText {
    const char* key;
    const char* value;  // nullptr: the key is removed from the file
    int offset, width;
    const char* stored;
};

std::ostream& operator<<(std::ostream& os, const ModelText& m) {
    return os << m.key << " = " << (m.value ? m.value : "(missing)");
}

class ModelStrings : public SwFixture, public testing::WithParamInterface<ModelText> {};

TEST_P(ModelStrings, AreCutOrZeroPaddedToTheirField) {
    const ModelText m = GetParam();
    CParam_SW& sw = Set();
    std::memset(sw.Image() + m.offset, 'Z', static_cast<std::size_t>(m.width));
    sw.UpdateCheckSum();
    const std::string saved = Save();
    const std::string text = m.value ? WithKey(saved, "Model Configuration", m.key, m.value)
                                     : WithoutKey(saved, "Model Configuration", m.key);
    Load(text);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sw.Image() + m.offset),
                          static_cast<std::size_t>(m.width)),
              std::string(m.stored, static_cast<std::size_t>(m.width)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModelStrings,
    testing::Values(ModelText{"ModelInfo", "ABCDEFGHIJK", kModelInfo, 8, "ABCDEFGH"},
                    ModelText{"FWVersion", "12345678901234567890", kFwVersion, 14,
                              "12345678901234"},
                    ModelText{"ModelNum", "AB", kModelNum, 4, "AB\0\0"},
                    ModelText{"ModelNum", nullptr, kModelNum, 4, "GXXX"},
                    ModelText{"FWVersion", nullptr, kFwVersion, 14, "99\0\0\0\0\0\0\0\0\0\0\0\0"},
                    ModelText{"ModelInfo", nullptr, kModelInfo, 8, "K7PXXX\0\0"}));

TEST_F(SwText, ModelStringsAreWrittenUpToTheirFirstZeroByte) {
    CParam_SW& sw = Set();
    std::memcpy(sw.Image() + kModelNum, "P%sX", 4);  // a full field has no terminating zero
    sw.UpdateCheckSum();
    const std::string text = Save();
    EXPECT_EQ(LineOf(text, "Model Configuration", "ModelNum"),
              "ModelNum = P%sX    ;0000~9999    ;");
    EXPECT_EQ(LineOf(text, "Model Configuration", "ModelInfo"),
              "ModelInfo = K7PXXX    ;    ;7 character string.");
}

TEST_F(SwText, TwoThresholdModesLeaveTheThirdBlockAsItWas) {
    CParam_SW& sw = Set();
    sw.SetByte(kNumsOfThresholds, 2);
    sw.UpdateCheckSum();
    std::string text = Save();
    EXPECT_NE(text.find("[---Sensitivity-1]"), std::string::npos);
    EXPECT_EQ(text.find("[---Sensitivity-2]"), std::string::npos);
    EXPECT_EQ(text.find("[Alg Threshold-2 Setting]"), std::string::npos);
    // A hand-made section of mode 2 is not read while the file holds two modes.
    text = WithKey(text, "---Sensitivity-2", "Uniformity", "99");
    text = WithKey(text, "---Ctrl Flag-2", "Ctrl(0)_WATER_PROOF", "1");
    const int block = ThresholdBlock(2);
    for (int i = 0; i < kThresholdBlockSize; ++i) sw.SetByte(block + i, static_cast<uint8_t>(i));
    sw.SetByte(block + B::kWLRxTouchTh, 200);  // would derive WaterRxDeltaTh if it were read
    const std::vector<uint8_t> before(sw.Image() + block, sw.Image() + block + kThresholdBlockSize);
    Load(text);
    EXPECT_EQ(std::vector<uint8_t>(sw.Image() + block, sw.Image() + block + kThresholdBlockSize),
              before);
}

TEST_F(SwText, AThresholdModeCountOutOfRangeIsWrittenAsOneMode) {
    CParam_SW& sw = Set();
    sw.SetByte(kNumsOfThresholds, 0xFF);
    sw.UpdateCheckSum();
    std::string console;
    const std::string text = Save(&console);
    EXPECT_NE(console.find("NumsOfThresholds range error, value = 255, range = 1~3, set to "
                           "default =  1 !\n"),
              std::string::npos)
        << console;
    EXPECT_EQ(sw.Byte(kNumsOfThresholds), 1);
    EXPECT_NE(text.find("[---Other Setting-0-RD]"), std::string::npos);
    EXPECT_EQ(text.find("[---Ctrl Flag-1]"), std::string::npos);
}

TEST_F(SwText, CalibrationSetsComeFromTheirSectionOrItsDetailTwin) {
    CParam_SW& sw = Set();
    std::string text = Save();
    text = WithKey(text, "Calibration Setting-1-RD", "LLX", "600");
    text = WithKey(text, "Calibration Setting-1-RD", "LRY", "3000");
    text = WithKey(text, "Calibration Setting-2", "LLX", "700");
    text = WithKey(text, "Calibration Setting-2-RD", "LLX", "800");
    text = WithKey(text, "Calibration Setting-0", "ULY", "400");
    Load(text);
    EXPECT_EQ(sw.Word(CalibrationSet(1) + 0), 600);
    EXPECT_EQ(sw.Word(CalibrationSet(1) + 14), 3000);
    EXPECT_EQ(sw.Word(CalibrationSet(2) + 0), 700);
    EXPECT_EQ(sw.Word(CalibrationSet(0) + 6), 400);
}

TEST_F(SwText, LoadingResetsCalibrationOfTheWrongResolutionClassOnce) {
    CParam_SW& sw = Set();
    const std::string text = Save();
    Controller().rangeClassX = 1;
    const std::string out = Load(text);
    for (int set = 0; set < 3; ++set) {
        SCOPED_TRACE(set);
        EXPECT_EQ(sw.Word(CalibrationSet(set) + 0), 1024);   // LLX
        EXPECT_EQ(sw.Word(CalibrationSet(set) + 4), 1024);   // ULX
        EXPECT_EQ(sw.Word(CalibrationSet(set) + 8), 7168);   // URX
        EXPECT_EQ(sw.Word(CalibrationSet(set) + 12), 7168);  // LRX
        EXPECT_EQ(sw.Word(CalibrationSet(set) + 2), 3584);   // LLY unchanged
    }
    EXPECT_EQ(Occurrences(out,
                          "X axis resolution not match set calibration data to default "
                          "value\n"),
              1)
        << out;
    EXPECT_EQ(Occurrences(out, "Y axis resolution"), 0);
    // Writing runs the same check before the calibration section.
    Controller().rangeClassY = 1;
    std::string console;
    const std::string again = Save(&console);
    EXPECT_EQ(LineOf(again, "Calibration Setting-0", "ULY"), "ULY = 1024    ;0~65535    ;");
    EXPECT_EQ(Occurrences(console, "Y axis resolution not match"), 1);
    EXPECT_EQ(Occurrences(console, "X axis resolution not match"), 0);
}

struct Kernel {
    int major, minor;
    bool readsStray;
};

std::ostream& operator<<(std::ostream& os, const Kernel& k) {
    return os << "kernel " << k.major << "." << k.minor;
}

class StrayCounts : public SwFixture, public testing::WithParamInterface<Kernel> {};

TEST_P(StrayCounts, AreTheSoftwareSetsOwnOnlyFromKernel331) {
    const Kernel k = GetParam();
    CParam_SW& sw = Set();
    Controller().kernelMajor = static_cast<uint8_t>(k.major);
    Controller().kernelMinor = static_cast<uint8_t>(k.minor);
    Controller().Hw().SetByte(80, 33);  // StrayUpdatWaiteTime
    Controller().Hw().SetByte(81, 44);  // StrayUpdatTime
    const std::string text = Save();
    const std::string line = LineOf(text, kGeneralRd, "StrayUpdateCnt");
    if (k.readsStray) {
        EXPECT_EQ(line, "StrayUpdateCnt = 200    ;1~254    ;");
    } else {
        EXPECT_EQ(line,
                  "StrayUpdateCnt = 33    ;1~254    ;Read Only. We use this parameter after "
                  "v03_30");
        EXPECT_EQ(sw.Byte(kStrayStoreCnt), 44);
    }
    const int before = sw.Byte(kStrayUpdateCnt);
    Load(WithKey(text, kGeneralRd, "StrayUpdateCnt", "50"));
    EXPECT_EQ(sw.Byte(kStrayUpdateCnt), k.readsStray ? 50 : before);
}

INSTANTIATE_TEST_SUITE_P(Cases, StrayCounts,
                         testing::Values(Kernel{3, 30, false}, Kernel{2, 99, false},
                                         Kernel{3, 31, true}, Kernel{4, 0, true}));

struct StructVersion {
    int version;
    bool tempParams;
    bool keepsInRushDelay;
};

std::ostream& operator<<(std::ostream& os, const StructVersion& v) {
    return os << "software structure version " << v.version;
}

class SoftwareStructVersion : public SwFixture,
                              public testing::WithParamInterface<StructVersion> {};

TEST_P(SoftwareStructVersion, GatesTheTemporaryParametersAndTheInRushDelay) {
    const StructVersion v = GetParam();
    CParam_SW& sw = Set();
    Controller().swVersion = static_cast<uint8_t>(v.version);
    sw.SetWord(kUsbInRushCurrentDelay, 500);
    sw.UpdateCheckSum();
    std::string text = Save();
    EXPECT_EQ(text.find("[Temp Param-RD]") != std::string::npos, v.tempParams);
    EXPECT_EQ(sw.Word(kUsbInRushCurrentDelay), v.keepsInRushDelay ? 500 : 0);
    text = WithKey(text, "Temp Param-RD", "TempParam01", "1234");
    text = WithKey(text, "Temp Param-RD", "sTempParam02", "-7");
    Load(text);
    EXPECT_EQ(sw.Word(kTempParams + 4), v.tempParams ? 1234 : 0);
    EXPECT_EQ(sw.Word(kTempParams + 2), v.tempParams ? 0xFFF9 : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, SoftwareStructVersion,
                         testing::Values(StructVersion{9, false, false},
                                         StructVersion{10, true, false},
                                         StructVersion{19, true, false},
                                         StructVersion{20, true, true}));

struct Prefix {
    int level;
    const char* key;
    const char* line;
};

std::ostream& operator<<(std::ostream& os, const Prefix& p) {
    return os << p.key << " at level " << p.level;
}

class SensitivityPrefix : public SwFixture, public testing::WithParamInterface<Prefix> {};

TEST_P(SensitivityPrefix, ShowsTheValueTheLevelMakes) {
    const Prefix p = GetParam();
    CParam_SW& sw = Set();
    sw.SetByte(ThresholdBlock(0) + B::kSensitivityLevel, static_cast<uint8_t>(p.level));
    sw.UpdateCheckSum();
    const std::string text = Save();
    const std::string section = std::string(p.key).find("Base") != std::string::npos ||
                                        std::string(p.key) == "AvgTouchSignal"
                                    ? "---Sensitivity-0"
                                    : "---Sensitivity-0-RD";
    EXPECT_EQ(LineOf(text, section, p.key), p.line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SensitivityPrefix,
    testing::Values(
        Prefix{-5, "GroupMassBase",
               "GroupMassBase = 1000    ;0~65534    ;SensitivityFix(1500). Threshold for a valid "
               "touch. Z Value*(50%~70%)"},
        Prefix{0, "GroupMassBase",
               "GroupMassBase = 1000    ;0~65534    ;Threshold for a valid touch. Z "
               "Value*(50%~70%)"},
        Prefix{2, "AvgTouchSignal",
               "AvgTouchSignal = 150    ;0~65534    ;SensitivityFix(120). The average value of "
               "touch signal."},
        Prefix{2, "CookTouchBase",
               "CookTouchBase = 120    ;0~65534    ;SensitivityFix(96). )Threshold for a valid "
               "contact in cooked data. Cook Data*(50%~80%)"},
        // With an average signal the four thresholds are derived: read only.
        Prefix{0, "TouchThFinger", "TouchThFinger = 40    ;0~65534    ; Read Only"},
        Prefix{5, "CookTouchTh",
               "CookTouchTh = 60    ;0~65534    ;SensitivityFix(30).  Read Only"}));

TEST_F(SwText, IdleUpdateCountsWinOverIdleUpdateTime) {
    CParam_SW& sw = Set();
    std::string text = Save();
    Load(WithKey(text, kGeneralRd, "IdleUpdateTime", "1500"));
    EXPECT_EQ(sw.Word(kIdleUpdateTime), 1500);
    const std::string out = Load(WithKey(text, kGeneralRd, "IdleUpdateCnts", "70000"));
    EXPECT_EQ(sw.Word(kIdleUpdateTime), 65535);
    EXPECT_NE(out.find("IdleUpdateCnts range error, value = 70000, range = 0~65535, Clamp!\n"),
              std::string::npos);
}

TEST_F(SwText, EightBitFieldsWithWideRangesAreClampedToTheirWidth) {
    CParam_SW& sw = Set();
    std::string text = Save();
    text = WithKey(text, "---Point Alg Setting-0", "ExtraMergeDistance", "300");
    text = WithKey(text, "Filter Setting", "SlowMoveTh", "256");
    text = WithKey(text, "Power Setting-RD", "WakeUpOnTap", "1000");
    const std::string out = Load(text);
    EXPECT_EQ(sw.Byte(ThresholdBlock(0) + B::kExtraMergeDistance), 255);
    EXPECT_EQ(sw.Byte(769), 255);
    EXPECT_EQ(sw.Byte(kWakeUpOnTap), 255);
    EXPECT_NE(out.find("ExtraMergeDistance range error, value = 300, range = 0~255, Clamp!\n"),
              std::string::npos)
        << out;
}

TEST_F(SwText, FlagBytesAreMergedAsEachSectionSays) {
    CParam_SW& sw = Set();
    sw.SetByte(ActiveArea(1) + kAreaAttribute, 0x03);
    sw.UpdateCheckSum();
    std::string text = Save();
    text = WithKey(text, "Active Area Setting-1-RD", "AA_ATTR_VALID", "1");
    text = WithKey(text, "Active Area Setting-1-RD", "AA_ATTR_DELAY_TOUCH", "0");  // only adds
    text = WithKey(text, "USB SW Setting", "RightClickCnt", "5");                  // 33~127
    text = WithoutKey(text, "USB SW Setting", "RightClickEn");
    text = WithKey(text, "Interface Support-RD", "RS232Ctrl_HWFlowCtrl", "0");  // wins
    text = WithKey(text, "Interface Support-RD", "RS232Ctrl(03)", "1");
    text = WithKey(text, "USB SW Setting-RD", "USBCtrl_OSDesc", "1");  // not applied
    text = WithKey(text, "Interface Config-RD", "UART_Report_Format_Resolution", "2");
    text = WithKey(text, "Interface Config-RD", "UART_Report_Format_Pressure", "0");
    text = WithKey(text, "NotifyCtrl", "NOTIFY_CTRL(09)", "1");
    text = WithoutKey(text, "NotifyCtrl", "NOTIFY_CTRL_NOISE_CONDITION");
    sw.SetWord(kNotifyCtrl, 0xFFFF);
    sw.SetWord(kUartReportFormat, 0x0000);
    Load(text);
    EXPECT_EQ(sw.Byte(ActiveArea(1) + kAreaAttribute), 0x83);
    EXPECT_EQ(sw.Byte(kRightClick), 33);
    EXPECT_EQ(sw.Byte(kRs232Ctrl), 0);
    EXPECT_EQ(sw.Word(kUsbCtrl), 0x0001);
    // Resolution 2 in bits 1-2, multi-touch from the file, pressure read (0) brings bit 7.
    EXPECT_EQ(sw.Word(kUartReportFormat), 0x0004 | 0x0020 | 0x0080);
    EXPECT_EQ(sw.Word(kNotifyCtrl), 0x0200);
}

TEST_F(SwText, CodePageQuotesAndKeptSpellingsAreWrittenAsTheyAre) {
    Set();
    const std::string text = Save();
    EXPECT_EQ(LineOf(text, "Palm Setting-RD", "PalmRecoverLPCTh"),
              "PalmRecoverLPCTh = 0    ;0~254    ;If \xA1\xA7PalmRecoverLenTh\xA1\xA8 is not "
              "equal to 0, an additional LPC Cnt Th to enter palm condition. Read Only");
    EXPECT_EQ(LineOf(text, "Active Area Setting-0-RD", "AA_ATTR_VALID"),
              "AA_ATTR_VALID = 0    ;0~1    ;0: Disable AA, 1: Enabla AA");
    EXPECT_EQ(LineOf(text, "Active Area Setting-0-RD", "ULx"),
              "ULx = 0    ;0~65534    ; Read Only");
    EXPECT_NE(text.find("[K7P100 software parameter file]\nControllerType = 94    ;    ;read only\n"
                        "\n[Model Configuration]\n"),
              std::string::npos)
        << text.substr(0, 200);
    EXPECT_NE(text.find("\n[Alg Threshold-0 Setting]\n[---Ctrl Flag-0]\n"), std::string::npos);
    EXPECT_NE(text.find("[USB SW Setting-RD]\n;*NOTE: Need PnP after modify USBCtrl!\n"),
              std::string::npos);
    EXPECT_NE(text.find("RS232Ctrl(07) = 0    ;    ;\n\n[Interface Support-RD]"),
              std::string::npos);
}

TEST_F(SwText, AFileOfAnotherControllerTypeIsRefused) {
    Set();
    std::string text = Save();
    text = WithKey(text, "K7P100 software parameter file", "ControllerType", "95");
    const std::string out = Load(text, false);
    EXPECT_NE(out.find("Controller Type Incorrect!\n"), std::string::npos);
}

// A set written by another program carries that program's version bytes. The text file records
// this program (tuner bytes 1, 2, 18) and the set's own structure version 2.6, which keep-version
// mode leaves as the image held it; the image changes with the file, checksum renewed.
TEST_F(SwText, TheTextFileRecordsTheProgramThatWroteIt) {
    const struct {
        bool keepVersion;
        const char* major;
        const char* minor;
    } cases[] = {{false, "2", "6"}, {true, "3", "1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keepVersion ? "keep-version" : "normal");
        options_.keepVersion = c.keepVersion;
        CParam_SW& sw = Set();
        const uint8_t otherProgram[] = {3, 1, 7, 8, 99};  // bytes 4 to 8
        for (int i = 0; i < 5; ++i) sw.SetByte(4 + i, otherProgram[i]);
        sw.UpdateCheckSum();
        const std::string text = Save();
        const auto value = [&](const char* key) {
            const std::string line = LineOf(text, "Version Information", key);
            return line.substr(0, line.find("    ;"));
        };
        EXPECT_EQ(value("MajorVersion"), std::string("MajorVersion = ") + c.major);
        EXPECT_EQ(value("MinorVersion"), std::string("MinorVersion = ") + c.minor);
        EXPECT_EQ(value("TunerMajorVersion"), "TunerMajorVersion = 1");
        EXPECT_EQ(value("TunerMinorVersion"), "TunerMinorVersion = 2");
        EXPECT_EQ(value("TunerBuildNo"), "TunerBuildNo = 18");
        EXPECT_EQ(sw.Byte(6), 1);
        EXPECT_EQ(sw.Byte(8), 18);
        EXPECT_EQ(sw.Word(2), sw.CalcCheckSum());
    }
}

}  // namespace
