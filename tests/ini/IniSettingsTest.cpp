// Loading the tuning and test settings: what a missing file does, the settings the template gives,
// and the settings derived from small files.
#include "IniFixture.h"

#include "chips/CSlave.h"
#include "device/CMCU.h"

namespace {

using IniLoad = IniFixture;

TEST_F(IniLoad, AMissingFileIsCreatedFromTheTemplateAndTheLoadFails) {
    CController& c = Ready();
    int code = -1;
    const std::string out = Printed([&] { code = c.Ini().LoadTxtFile(); });
    EXPECT_EQ(code, kParamCannotOpen);
    EXPECT_NE(out.find("Cannot Load File: " + IniPath() + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Write " + IniPath() + " success!\n"), std::string::npos) << out;
    EXPECT_TRUE(std::filesystem::is_regular_file(IniPath()));
    // Nothing of the template was taken: the settings are those of a new set.
    EXPECT_EQ(c.Ini().Settings(), IniSettings{});
    EXPECT_EQ(c.Ini().ImageTargets(), (TuneTargets{15, 80, 10, 7, 10}));
    EXPECT_EQ(c.Ini().WLRxTargets(), (TuneTargets{15, 80, 10, 10, 10}));
    EXPECT_EQ(c.Ini().TuningFlags(), 0u);
    EXPECT_EQ(c.Ini().CalTolerance(), 20);
    EXPECT_EQ(c.Ini().Uniformity(), 70);
}

// The template as a user first sees it in effect.
void ExpectTemplateSettings(const CParam_INI& ini) {
    EXPECT_EQ(ini.NumsOfFreq(), kIniDefaultNumsOfFreq);
    EXPECT_EQ(ini.WorkingFreq(0), kIniDefaultFirstWorkingFreq);
    for (int i = 1; i < kIniWorkingFreqs; ++i)
        EXPECT_EQ(ini.WorkingFreq(i), kIniDefaultOtherWorkingFreq) << i;
    EXPECT_EQ(ini.UsableFreqCount(), 1);
    EXPECT_EQ(ini.TuningRule(), kIniDefaultTuningRule);
    EXPECT_EQ(ini.TuningFlags(), kTuneImage);
    EXPECT_EQ(ini.ImageTargets().adTarget, 19);  // 15 % of 128
    EXPECT_EQ(ini.ImageTargets().adUpperLimit, 80);
    EXPECT_EQ(ini.ImageTargets().touchPercent, kIniDefaultTouch);
    EXPECT_EQ(ini.ImageTargets().signalLevel, 200);
    EXPECT_EQ(ini.ImageTargets().rsTarget, 8);  // 15 - NoiseResist 7
    EXPECT_EQ(ini.TurnOffMonitor(), kIniDefaultTurnOffMonitor);
    for (int chip = 0; chip < kIniFpcChips; ++chip)
        EXPECT_EQ(ini.FPCTestRange(chip), FpcTestRange{});
    // Keys the template does not hold keep their values.
    EXPECT_EQ(ini.WLRxTargets(), (TuneTargets{15, 80, 10, 10, 10}));
    EXPECT_EQ(ini.OpenTestGetTimes(), 1);
    EXPECT_EQ(ini.ShortTestThreshold(), 30);
}

TEST_F(IniLoad, TheTemplateLoadsAsTheDefaultSettings) {
    CController& c = Ready();
    Printed([&] { EXPECT_EQ(c.Ini().SaveTxtFile(), kParamOk); });
    int code = -1;
    const std::string out = Printed([&] { code = c.Ini().LoadTxtFile(); });
    EXPECT_EQ(code, kParamOk);
    EXPECT_NE(out.find("Load File: " + IniPath() + " Success.\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("range error"), std::string::npos) << out;
    ExpectTemplateSettings(c.Ini());
}

TEST_F(IniLoad, WithFixedNamesAMissingFileIsWrittenAndLoaded) {
    options_.fixed.fixedName = true;
    CController& c = Ready();
    int code = -1;
    const std::string out = Printed([&] { code = c.Ini().LoadTxtFile(); });
    EXPECT_EQ(code, kParamOk) << out;
    EXPECT_NE(out.find("Cannot Load File: " + IniPath() + "\n"), std::string::npos) << out;
    ExpectTemplateSettings(c.Ini());
}

TEST_F(IniLoad, WithFixedNamesATemplateThatCannotBeWrittenFailsTheLoad) {
    options_.fixed.fixedName = true;
    options_.folders.workingFolder = folder_.string() + "/no-such-folder/";
    CController& c = Ready();
    int code = -1;
    const std::string out = Printed([&] { code = c.Ini().LoadTxtFile(); });
    EXPECT_EQ(code, kParamCannotOpen);
    EXPECT_NE(out.find("Cannot Create File: "), std::string::npos) << out;
    EXPECT_EQ(c.Ini().Settings(), IniSettings{});
}

TEST_F(IniLoad, WithFixedNamesSomethingUnreadableInThePlaceOfTheFileFailsTheLoad) {
    options_.fixed.fixedName = true;
    CController& c = Ready();
    std::filesystem::create_directory(IniPath());
    int code = -1;
    const std::string out = Printed([&] { code = c.Ini().LoadTxtFile(); });
    EXPECT_EQ(code, kParamCannotCreateText);
    EXPECT_EQ(out, "Cannot Create File: " + IniPath() + "\n");
    EXPECT_TRUE(std::filesystem::is_directory(IniPath()));
}

// Handlers that load the settings more than once in a run must not count a frequency twice.
TEST_F(IniLoad, ASecondLoadCountsTheUsableFrequenciesAfresh) {
    CController& c = Ready();
    WriteIni("[Tuning Parameter]\nWorkingFreq0 = 3\nWorkingFreq1 = 4\n");
    Printed([&] {
        EXPECT_EQ(c.Ini().LoadTxtFile(), kParamOk);
        EXPECT_EQ(c.Ini().LoadTxtFile(), kParamOk);
    });
    EXPECT_EQ(c.Ini().UsableFreqCount(), 2);
}

// One small settings file, the controller it is loaded on, and what it must give.
struct DerivedCase {
    const char* name;
    int typeCode;
    bool research;
    const char* text;
    void (*check)(CController&);
    const char* message;  // printed by the load, or nullptr for no error message at all
};

void PrintTo(const DerivedCase& d, std::ostream* os) {
    *os << d.name;
}

class IniDerived : public IniFixture, public testing::WithParamInterface<DerivedCase> {};

TEST_P(IniDerived, GivesTheSettings) {
    const DerivedCase& d = GetParam();
    options_.fixed.research = d.research;
    CController& c = Ready(d.typeCode);
    WriteIni(d.text);
    int code = -1;
    const std::string out = Printed([&] { code = c.Ini().LoadTxtFile(); });
    EXPECT_EQ(code, kParamOk) << out;
    d.check(c);
    if (d.message != nullptr) {
        EXPECT_NE(out.find(d.message), std::string::npos) << out;
    } else {
        EXPECT_EQ(out.find("error"), std::string::npos) << out;
        EXPECT_EQ(out.find("Not Support"), std::string::npos) << out;
    }
}

const TuneTargets& Image(CController& c) {
    return c.Ini().ImageTargets();
}

// A file with all eight flexible-cable values set to valid ranges, then one override.
std::string FpcFile(const std::string& override) {
    return "[Sensor Test]\n" + override +
           "FPCTestRxStart(0) = 2\nFPCTestRxEnd(0) = 40\nFPCTestTxStart(0) = 1\n"
           "FPCTestTxEnd(0) = 30\nFPCTestRxStart(1) = 3\nFPCTestRxEnd(1) = 41\n"
           "FPCTestTxStart(1) = 4\nFPCTestTxEnd(1) = 31\n";
}

const std::string kRxEndBelowStart = FpcFile("FPCTestRxEnd(0) = 1\n");
const std::string kChip1TxInverted = FpcFile("FPCTestTxStart(1) = 20\nFPCTestTxEnd(1) = 19\n");
const std::string kValidRanges = FpcFile("");
const std::string kRxEndBeyondChip = FpcFile("FPCTestRxEnd(0) = 500\n");

void ExpectNoFpcTest(CController& c) {
    for (int chip = 0; chip < kIniFpcChips; ++chip)
        EXPECT_EQ(c.Ini().FPCTestRange(chip), FpcTestRange{}) << chip;
}

const DerivedCase kDerivedCases[] = {
    {"AdLevelZeroMeansTheDefaultTarget", 94, false, "[---Image Parameter]\nAD_Level% = 0\n",
     [](CController& c) {
         EXPECT_EQ(Image(c).adTarget, 15);
         EXPECT_EQ(Image(c).adUpperLimit, 80);
     },
     nullptr},
    {"AdLevelFifty", 94, false, "[---Image Parameter]\nAD_Level% = 50\n",
     [](CController& c) {
         EXPECT_EQ(Image(c).adTarget, 64);
         EXPECT_EQ(Image(c).adUpperLimit, 80);
     },
     nullptr},
    {"AdLevelSeventyRaisesTheUpperLimit", 94, false, "[---Image Parameter]\nAD_Level% = 70\n",
     [](CController& c) {
         EXPECT_EQ(Image(c).adTarget, 80);
         EXPECT_EQ(Image(c).adUpperLimit, 89);
     },
     nullptr},
    {"AdLevelHundred", 94, false, "[---Image Parameter]\nAD_Level% = 100\n",
     [](CController& c) {
         EXPECT_EQ(Image(c).adTarget, 80);
         EXPECT_EQ(Image(c).adUpperLimit, 128);
     },
     nullptr},
    {"AdLevelAboveHundredIsClamped", 94, false, "[---Image Parameter]\nAD_Level% = 250\n",
     [](CController& c) {
         EXPECT_EQ(Image(c).adTarget, 80);
         EXPECT_EQ(Image(c).adUpperLimit, 128);
     },
     "AD_Level% range error, value = 250, range = 0~100, Clamp!\n"},
    {"NoiseResistZeroIsLimitedToTheChipsLargestRs", 94, false,
     "[---Image Parameter]\nNoiseResist = 0\n",
     [](CController& c) {
         EXPECT_EQ(Image(c).rsTarget, c.Chip().GetRsMax());
         EXPECT_EQ(Image(c).rsTarget, 14);
     },
     nullptr},
    {"NoiseResistFifteenIsLimitedToTheChipsSmallestRs", 96, false,
     "[---Image Parameter]\nNoiseResist = 15\n",
     [](CController& c) { EXPECT_EQ(Image(c).rsTarget, c.Chip().GetRsMin()); }, nullptr},
    {"SignalLevelIsStoredTimesTwenty", 94, false,
     "[---Image Parameter]\nSignalLevel = 30\nTouch% = 25\n",
     [](CController& c) {
         EXPECT_EQ(Image(c).signalLevel, 600);
         EXPECT_EQ(Image(c).touchPercent, 25);
     },
     nullptr},
    {"SignalLevelZeroIsClampedToOne", 94, false, "[---Image Parameter]\nSignalLevel = 0\n",
     [](CController& c) { EXPECT_EQ(Image(c).signalLevel, 20); },
     "SignalLevel range error, value = 0, range = 1~30, Clamp!\n"},
    {"ImageTuningOff", 94, false, "[---Image Parameter]\nEnableImageTune = 0\n",
     [](CController& c) { EXPECT_FALSE(c.Ini().IsImageTuneOn()); }, nullptr},
    {"WaterLineTuningIsRefusedOnTypeCode94", 94, false,
     "[---WL Rx Parameter]\nEnableWaterLineTune = 1\n",
     [](CController& c) {
         EXPECT_FALSE(c.Ini().IsWaterLineTuneOn());
         EXPECT_EQ(c.Ini().TuningFlags(), 0u);
     },
     "Not Support Water Tuning\n"},
    {"WaterLineTuningOnTypeCode96", 96, false,
     "[---Image Parameter]\nEnableImageTune = 1\n[---WL Rx Parameter]\nEnableWaterLineTune = 1\n",
     [](CController& c) {
         EXPECT_EQ(c.Ini().TuningFlags(), kTuneImage | kTuneWaterLineRx | kTuneWaterLineTx);
     },
     nullptr},
    {"WaterLineTargetsFollowTheImageRules", 96, false,
     "[---WL Rx Parameter]\nWLRX_AD_Level% = 70\nWLRX_Touch% = 5\nWLRX_SignalLevel = 2\n"
     "WLRX_NoiseResist = 3\n[---WL Tx Parameter]\nWLTX_AD_Level% = 50\nWLTX_NoiseResist = 0\n",
     [](CController& c) {
         EXPECT_EQ(c.Ini().WLRxTargets(), (TuneTargets{80, 89, 5, 12, 40}));
         EXPECT_EQ(c.Ini().WLTxTargets(), (TuneTargets{64, 80, 10, 14, 10}));
         EXPECT_EQ(Image(c), (TuneTargets{15, 80, 10, 7, 10}));
     },
     nullptr},
    {"WorkingFrequenciesCountOnlyIndexesInsideTheTable", 94, false,
     "[Tuning Parameter]\nNumsOfFreq = 5\nWorkingFreq0 = -1\nWorkingFreq1 = 0\n"
     "WorkingFreq2 = 47\nWorkingFreq3 = 5\nWorkingFreq4 = 60\n",
     [](CController& c) {
         ASSERT_EQ(c.Mcu().GetFreqCount(), 47);
         EXPECT_EQ(c.Ini().NumsOfFreq(), 5);
         const int8_t expected[] = {-1, 0, 47, 5, 47};
         for (int i = 0; i < kIniWorkingFreqs; ++i) EXPECT_EQ(c.Ini().WorkingFreq(i), expected[i]);
         EXPECT_EQ(c.Ini().UsableFreqCount(), 1);
     },
     "WorkingFreq4 range error, value = 60, range = -1~47, Clamp!\n"},
    {"WorkingFrequenciesOnTheShorterTable", 176, false,
     "[Tuning Parameter]\nWorkingFreq0 = 37\nWorkingFreq1 = 38\nWorkingFreq2 = 40\n",
     [](CController& c) {
         EXPECT_EQ(c.Ini().WorkingFreq(2), 38);
         EXPECT_EQ(c.Ini().UsableFreqCount(), 1);
     },
     "WorkingFreq2 range error, value = 40, range = -1~38, Clamp!\n"},
    {"NumsOfFreqIsClamped", 94, false, "[Tuning Parameter]\nNumsOfFreq = 9\n",
     [](CController& c) { EXPECT_EQ(c.Ini().NumsOfFreq(), 5); },
     "NumsOfFreq range error, value = 9, range = 1~5, Clamp!\n"},
    {"TuningRuleFromTheFile", 94, false, "[Tuning Parameter-RD]\nTuningRule = 1\n",
     [](CController& c) { EXPECT_EQ(c.Ini().TuningRule(), kTuningRuleRefAll); }, nullptr},
    {"ResearchModeTunesWithRuleThree", 94, true, "[Tuning Parameter-RD]\nTuningRule = 1\n",
     [](CController& c) { EXPECT_EQ(c.Ini().TuningRule(), kTuningRuleResearch); }, nullptr},
    {"ResearchModeRuleWithoutTheKey", 94, true, "[Sensor Test]\n",
     [](CController& c) { EXPECT_EQ(c.Ini().TuningRule(), kTuningRuleResearch); }, nullptr},
    {"SensorTestValuesAreClamped", 94, false,
     "[Sensor Test]\nForceCalibration = 1\nCalTolerance = 5\nTurnOffMonitor = 300\n"
     "OpenTestGetTimes = 0\nShortTestGetTimes = 7\nMutualCapTestGetTimes = 3\n"
     "UniformityTolerance = 80\nNoiseSpectrumGetTimes = 70000\nOpenTestThreshold2 = 1234\n"
     "ShortTestThreshold = 200\n",
     [](CController& c) {
         const CParam_INI& ini = c.Ini();
         EXPECT_EQ(ini.ForceCalibration(), 1);
         EXPECT_EQ(ini.CalTolerance(), 5);
         EXPECT_EQ(ini.TurnOffMonitor(), 255);
         EXPECT_EQ(ini.OpenTestGetTimes(), 1);
         EXPECT_EQ(ini.ShortTestGetTimes(), 7);
         EXPECT_EQ(ini.MutualCapTestGetTimes(), 3);
         EXPECT_EQ(ini.UniformityTolerance(), 80);
         EXPECT_EQ(ini.Uniformity(), 80);
         EXPECT_EQ(ini.NoiseSpectrumGetTimes(), 65535);
         EXPECT_EQ(ini.OpenTestThreshold2(), 1234);
         EXPECT_EQ(ini.ShortTestThreshold(), 128);
     },
     "ShortTestThreshold range error, value = 200, range = 0~128, Clamp!\n"},
    {"ValidFlexibleCableRangesAreKept", 94, false, kValidRanges.c_str(),
     [](CController& c) {
         EXPECT_EQ(c.Ini().FPCTestRange(0), (FpcTestRange{2, 40, 1, 30}));
         EXPECT_EQ(c.Ini().FPCTestRange(1), (FpcTestRange{3, 41, 4, 31}));
     },
     nullptr},
    {"AnInvertedRxRangeTurnsTheWholeTestOff", 94, false, kRxEndBelowStart.c_str(), ExpectNoFpcTest,
     nullptr},
    {"AnInvertedTxRangeOfTheSecondChipTurnsTheWholeTestOff", 94, false, kChip1TxInverted.c_str(),
     ExpectNoFpcTest, nullptr},
    {"AnEndBeyondTheChipIsClampedToItsLastChannel", 94, false, kRxEndBeyondChip.c_str(),
     [](CController& c) {
         EXPECT_EQ(c.Ini().FPCTestRange(0).rxEnd, c.Chip().GetRxChannelLast(0));
         EXPECT_EQ(c.Ini().FPCTestRange(1), (FpcTestRange{3, 41, 4, 31}));
     },
     "FPCTestRxEnd(0) range error, value = 500, range = 0~"},
    {"MissingKeysKeepTheirSettings", 94, false, "[Sensor Test]\nCalTolerance = 33\n",
     [](CController& c) {
         IniSettings expected;
         expected.calTolerance = 33;
         EXPECT_EQ(c.Ini().Settings(), expected);
     },
     nullptr},
    {"KeysAreFoundWithoutRegardToCaseAndAfterTheValueComes", 94, false,
     "[---image parameter]\nad_level%  =  50    ;10~50    ;\nnoiseresist = 4 ;1~14 ;\n",
     [](CController& c) {
         EXPECT_EQ(Image(c), (TuneTargets{64, 80, 10, 11, 10}));
     },
     nullptr},
};

INSTANTIATE_TEST_SUITE_P(SmallFiles, IniDerived, testing::ValuesIn(kDerivedCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
