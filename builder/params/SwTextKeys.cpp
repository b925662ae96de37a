// The number items of the software text file, section by section in file order.
#include "params/SwTextKeys.h"

#include <array>

#include "params/SwLayout.h"

namespace {

using enum SwWidth;
using enum SwArea;
using enum ReadOnlyWhen;
using namespace SwLayout;
namespace B = SwLayout::Block;

// A ranged item: written min~max with its default, read back clamped to loadMin~loadMax.
constexpr SwItem Ranged(const char* key, SwArea area, int offset, SwWidth width, int32_t min,
                        int32_t max, int32_t def, const char* comment, int32_t loadMin,
                        int32_t loadMax, ReadOnlyWhen readOnly = Never,
                        SwPrefix prefix = SwPrefix::None) {
    return {key, area,    offset,          width,   SwWrite::Ranged, min,      max,   def,
            "",  comment, SwLoad::Clamped, loadMin, loadMax,         readOnly, prefix};
}

// A global ranged item of the image.
constexpr SwItem G(const char* key, int offset, SwWidth width, int32_t min, int32_t max,
                   int32_t def, const char* comment, int32_t loadMin, int32_t loadMax,
                   ReadOnlyWhen readOnly = Never) {
    return Ranged(key, Image, offset, width, min, max, def, comment, loadMin, loadMax, readOnly);
}

// A ranged item of the threshold mode's block.
constexpr SwItem M(const char* key, int offset, SwWidth width, int32_t min, int32_t max,
                   int32_t def, const char* comment, int32_t loadMin, int32_t loadMax,
                   ReadOnlyWhen readOnly = Never, SwPrefix prefix = SwPrefix::None) {
    return Ranged(key, ModeBlock, offset, width, min, max, def, comment, loadMin, loadMax, readOnly,
                  prefix);
}

// A ranged item of the threshold mode's water settings.
constexpr SwItem W(const char* key, int offset, int32_t min, int32_t def, const char* comment,
                   int32_t loadMin) {
    return Ranged(key, ModeWater, offset, U8, min, 254, def, comment, loadMin, 255,
                  ModeWaterProofOff);
}

// A plain item: value and a fixed range text, read back clamped (or plain).
constexpr SwItem Plain(const char* key, int offset, SwWidth width, const char* rangeText,
                       const char* comment, SwLoad load, int32_t loadMin, int32_t loadMax) {
    return {key,  Image,   offset,  width, SwWrite::Plain, 0, 0, 0, rangeText, comment,
            load, loadMin, loadMax, Never, SwPrefix::None};
}

// A key that loading reads but writing never emits.
constexpr SwItem LoadOnly(const char* key, SwArea area, int offset, SwWidth width, int32_t loadMin,
                          int32_t loadMax) {
    return {key,     area,   offset, width, SwWrite::NotWritten, 0, 0, 0, "", "", SwLoad::Clamped,
            loadMin, loadMax};
}

constexpr SwItem kVersionItems[] = {
    Plain("MajorVersion", 4, U8, "", "Read Only", SwLoad::Clamped, 0, 255),
    Plain("MinorVersion", 5, U8, "", "Read Only", SwLoad::Clamped, 0, 255),
    Plain("TunerMajorVersion", 6, U8, "", "Read Only", SwLoad::Clamped, 0, 255),
    Plain("TunerMinorVersion", 7, U8, "", "Read Only", SwLoad::Clamped, 0, 255),
    Plain("TunerBuildNo", 8, U8, "", "Read Only", SwLoad::Clamped, 0, 255),
};

constexpr SwItem kVersionRdItems[] = {
    Plain("BID", kBid, U16, "", "Read Only", SwLoad::Clamped, 0, 65535),
    Plain("ParamVersion", kParamVersion, U8, "00~255", "User defined version", SwLoad::Clamped, 0,
          255),
};

constexpr SwItem kGeneralItems[] = {
    G("TouchMode", 200, U8, 0, 254, 0,
      "0: Normal. 1:Click on Touch. 2:Click on Release. 3:Click on Touch(Move). 4:Click on "
      "Release(Move).",
      0, 255),
    G("NumsOfThresholds", kNumsOfThresholds, U8, 1, 3, 1, "", 1, 3),
    G("StartThreshold", 191, U8, 0, 254, 0, "", 0, 255),
};

// "Alg General Config-RD" up to IdleUpdateTime; the stray counts, IdleUpdateLevel and the control
// words follow in code. IdleUpdateTime is read in code (its IdleUpdateCnts alternative).
constexpr SwItem kGeneralRdItems[] = {
    G("Resolution_StartX", 122, U16, 0, 4095, 0, "StartX < EndX", 0, 4095),
    G("Resolution_EndX", 124, U16, 0, 4095, 4095, "StartX < EndX", 0, 4095),
    G("Resolution_StartY", 126, U16, 0, 4095, 0, "StartY < EndY", 0, 4095),
    G("Resolution_EndY", 128, U16, 0, 4095, 4095, "StartY < EndY", 0, 4095),
    G("FixWHMassLevel1", 130, U16, 0, 65534, 0, "", 0, 65534, FixWhByMassOff),
    G("FixWHMassLevel2", 132, U16, 0, 65534, 0, "", 0, 65534, FixWhByMassOff),
    G("FixWHMassLevel3", 134, U16, 0, 65534, 0, "", 0, 65534, FixWhByMassOff),
    G("UTableType", kUTableType, U8, 0, 1, 0, "Read Only", 0, 1),
    {"IdleUpdateTime", Image, kIdleUpdateTime, U16, SwWrite::Ranged, 0, 65534, 2000, "", "ms",
     SwLoad::NotRead, 0, 65535},
};

constexpr SwItem kGeneralRdLevelItems[] = {
    G("IdleUpdateLevel", 193, U8, 0, 254, 0, "", 0, 254),
};

constexpr SwItem kWaterItems[] = {
    G("WaterKeepTime", 118, U16, 0, 65534, 3000,
      "Duration for enabling water condition. [unit: ms]", 0, 65535),
    G("FingerKeepTime", 120, U16, 0, 65534, 300,
      "Duration for enabling touch condition. [unit: ms]", 0, 65535),
    // The firmware declares this field and CheckCookL2WQInterval signed, yet both are times read
    // as 0~65535: like every other 16-bit time they are checked and written as the unsigned
    // pattern, or a value above 32767 would be accepted by a load and replaced at the next dump.
    G("WaterDisableTouchKeepTime", 1208, U16, 0, 65534, 3000,
      "Duration for disabling touch in water condition. [unit: ms]", 0, 65535),
};

constexpr SwItem kWaterRdItems[] = {
    G("CheckCookL2WQInterval", 1206, U16, 0, 65534, 80, "ms", 0, 65535),
    G("FingerCMaxMinRatio", 199, U8, 0, 254, 0, "", 0, 255),
};

// ---- Threshold mode sections ---------------------------------------------------------------

constexpr SwItem kSensitivity[] = {
    M("AvgTouchSignal", B::kAvgTouchSignal, U16, 0, 65534, 150,
      "The average value of touch signal.", 0, 65535, Never, SwPrefix::Sensitivity),
    M("CookTouchBase", B::kCookTouchBase, U16, 0, 65534, 120,
      "Threshold for a valid contact in cooked data. Cook Data*(50%~80%)", 0, 65535, Never,
      SwPrefix::SensitivityCook),
    M("GroupMassBase", B::kGroupMassBase, U16, 0, 65534, 1000,
      "Threshold for a valid touch. Z Value*(50%~70%)", 0, 65535, Never, SwPrefix::Sensitivity),
    M("SensitivityLevel", B::kSensitivityLevel, S8, -5, 5, 0,
      "The general sensitivity setting to adjust touch thresholds.", -5, 5),
    M("TouchSizeMin", B::kTouchSizeMin, U8, 0, 254, 0,
      "If touch size less or equal this value, it will be rejected.", 0, 255),
    M("TouchSizeMax", B::kTouchSizeMax, U8, 0, 254, 250,
      "If touch size larger or equal this value, it will be rejected.", 0, 255),
    M("Uniformity", B::kUniformity, U16, 0, 65534, 20, "Threshold for baseline adjustment.", 0,
      65535),
};

constexpr SwItem kSensitivityRd[] = {
    M("TouchThFinger", B::kTouchThFinger, U16, 0, 65534, 40, "", 0, 65535, AvgTouchSignalSet,
      SwPrefix::Sensitivity),
    M("CookTouchTh", B::kCookTouchTh, U16, 0, 65534, 60, "", 0, 65535, AvgTouchSignalSet,
      SwPrefix::Sensitivity),
    M("GroupMassTh", B::kGroupMassTh, U16, 0, 65534, 1000, "", 0, 65535, AvgTouchSignalSet,
      SwPrefix::Sensitivity),
    M("DeltaTouchTh", B::kDeltaTouchTh, U16, 0, 65534, 60, "", 0, 65535, AvgTouchSignalSet,
      SwPrefix::Sensitivity),
    M("RawFlatForStray", B::kRawFlatForStray, U8, 0, 254, 25, "", 0, 255),
    M("RawFlatForPoint", B::kRawFlatForPoint, U8, 0, 254, 25, "", 0, 255),
};

constexpr SwItem kHopFreqRd[] = {
    M("ImgNoiseConditionTh", B::kImgNoiseConditionTh, U8, 0, 254, 35,
      "ImgCheckNoise noise condition Th.", 0, 254, ImgCheckNoiseOff),
    M("ImgNoiseHopTh", B::kImgNoiseHopTh, U8, 0, 254, 50, "ImgCheckNoise hop frequency Th.", 0, 254,
      ImgCheckNoiseOff),
};

constexpr SwItem kModeWaterItems[] = {
    M("WaterTh", B::kWaterTh, U16, 0, 65535, 200, "Water threshold to enter water condition.", 0,
      65535, ModeWaterProofOff),
    M("WaterTouchDisableTh", B::kWaterTouchDisableTh, U16, 0, 65534, 500,
      "Water threshold to disable touch.", 0, 65535, ModeWaterProofOff),
    M("WaterCookTouchTh", B::kWaterCookTouchTh, U16, 0, 65534, 100,
      "Threshold for a valid contact in cooked data under water condition.", 0, 65535,
      ModeWaterProofOff),
    M("WaterTouchSizeMin", B::kWaterTouchSizeMin, U8, 0, 254, 0,
      "If touch size less or equal this value in water condition, it will be rejected.", 0, 255,
      ModeWaterProofOff),
    M("WaterTouchSizeMax", B::kWaterTouchSizeMax, U8, 0, 254, 250,
      "If touch size larger or equal this value in water condition, it will be rejected.", 0, 255,
      ModeWaterProofOff),
    M("WaterMaxReportPoint", B::kWaterMaxReportPoint, U8, 0, 10, 2,
      "Max contact value in water condition.", 0, 10, ModeWaterProofOff),
    M("GestureDetectTime", B::kGestureDetectTime, U16, 0, 65534, 350, "ms.", 0, 65535,
      ModeWaterProofOff),
    M("WaterNegativeTh", B::kWaterNegativeTh, U16, 0, 65534, 0,
      "If signal in Cooked Data page < -[V], it will be used to calculate water quantity.", 0,
      65535, ModeWaterProofOff),
};

constexpr SwItem kModeWaterRdItems[] = {
    M("WaterNodeNumsTh", B::kWaterNodeNumsTh, U16, 0, 65534, 0, "", 0, 65535, ModeWaterProofOff),
    M("FingerWaterRatio", B::kFingerWaterRatio, U8, 0, 254, 0, "", 0, 255, ModeWaterProofOff),
    W("IsFingerCookTh", 0, 0, 156, "If AvgTouchSignal not 0, [V] : CookTouchBase*1.3.", 0),
    W("EdgeHeavyThRatio", 1, 0, 4, "New th: Old th * [V]/4", 0),
    W("WLTouchSizeMin", 2, 0, 0,
      "Reject touch on edge when PositiveCntTh < [V] in water condition.", 0),
    W("WLTouchSizeMax", 3, 1, 254,
      "Reject touch on edge when PositiveCntTh > [V] in water condition.", 1),
    W("PositiveCntTh", 4, 0, 50, "", 0),
    W("DisableWLEdgeCh", 5, 0, 0,
      "1:Rx0, 2:RxN-1, 4:Tx0, 8:TxN-1. Eg: Disable all Edge Channel. [V]: 1+2+4+8 -> 15", 0),
    W("WaterLpcCntMin", 6, 0, 1, "Lpc Cnt > [V] in water condition", 0),
    W("WaterLpcCntMax", 7, 0, 7, "Lpc Cnt < [V] in water condition", 0),
    LoadOnly("WaterTh_High", ModeBlock, B::kWaterThHigh, U16, 0, 65535),
    LoadOnly("WaterLineThRatio", ModeBlock, B::kWaterLineThRatio, U8, 0, 255),
};

constexpr SwItem kModePalm[] = {
    M("PalmEnableTouchSize", B::kPalmEnableTouchSize, U8, 0, 254, 40,
      "The touch size threshold to enable palm rejection mode.", 0, 255, ModePalmRejectionOff),
    M("PalmRejectTouchMass", B::kPalmRejectTouchMass, U16, 0, 65534, 3000,
      "If group mass > [V] under palm condition, it will be rejected.", 0, 65535,
      ModePalmRejectionOff),
};

// The loading range of ExtraMergeDistance is its 8-bit field's, not the written 0~65534.
constexpr SwItem kModePointAlg[] = {
    M("ExtraDownCount", B::kExtraDownCount, U8, 0, 254, 0, "", 0, 255),
    M("ExtraMergeDistance", B::kExtraMergeDistance, U8, 0, 65534, 0, "", 0, 255),
};

constexpr SwItem kWaterLineRx[] = {
    M("WLRxTouchTh", B::kWLRxTouchTh, U8, 0, 254, 20, "The touch signal value on Rx water line.", 0,
      255, HwWaterScanOff),
    M("WLRxCookTouchTh", B::kWLRxCookTouchTh, U8, 0, 254, 50,
      "Threshold for a valid contact in cooked data on Rx water line.", 0, 255, HwWaterScanOff),
};

constexpr SwItem kWaterLineRxRd[] = {
    M("WaterRxDeltaTh", B::kWaterRxDeltaTh, U8, 0, 254, 26,
      "if WLRxTouchTh not 0, Value : (WLRxTouchTh)*1.3.", 0, 255, WLRxTouchThSet),
    M("WaterRxDDTh", B::kWaterRxDDTh, U8, 0, 254, 20, "Value: WLRxTouchTh.", 0, 255,
      WLRxTouchThSet),
    M("WaterRxExtendRange", B::kWaterRxExtendRange, U8, 0, 254, 3, "", 0, 255, HwWaterScanOff),
    M("WaterRxCheckTime", B::kWaterRxCheckTime, U8, 1, 254, 1, "", 1, 255, HwWaterScanOff),
    LoadOnly("WaterRxCorrectTime", ModeBlock, B::kWaterRxCorrectTime, U8, 1, 255),
};

constexpr SwItem kWaterLineTx[] = {
    M("WLTxTouchTh", B::kWLTxTouchTh, U8, 0, 254, 20, "The touch signal value on Tx water line.", 0,
      255, HwWaterScanOff),
    M("WLTxCookTouchTh", B::kWLTxCookTouchTh, U8, 0, 254, 50,
      "Threshold for a valid contact in cooked data on Tx water line.", 0, 255, HwWaterScanOff),
};

constexpr SwItem kWaterLineTxRd[] = {
    M("WaterTxDeltaTh", B::kWaterTxDeltaTh, U8, 0, 254, 26,
      "if WLTxTouchTh not 0, Value : (WLTxTouchTh)*1.3.", 0, 255, WLTxTouchThSet),
    M("WaterTxDDTh", B::kWaterTxDDTh, U8, 0, 254, 20, "Value: WLTxTouchTh.", 0, 255,
      WLTxTouchThSet),
    M("WaterTxExtendRange", B::kWaterTxExtendRange, U8, 0, 254, 5, "", 0, 255, HwWaterScanOff),
    M("WaterTxCheckTime", B::kWaterTxCheckTime, U8, 1, 254, 1, "", 1, 255, HwWaterScanOff),
    LoadOnly("WaterTxCorrectTime", ModeBlock, B::kWaterTxCorrectTime, U8, 1, 255),
};

constexpr SwItem kOtherRd[] = {
    M("FuncType", B::kFuncType, U8, 1, 255, 1, "", 1, 255),
};

constexpr SwSection kModeSectionList[] = {
    {"---Sensitivity-%d", kSensitivity},
    {"---Sensitivity-%d-RD", kSensitivityRd},
    {"---Hop Freq-%d-RD", kHopFreqRd},
    {"---Water-%d", kModeWaterItems},
    {"---Water-%d-RD", kModeWaterRdItems},
    {"---Palm-%d", kModePalm},
    {"---Point Alg Setting-%d", kModePointAlg},
    {"---Water Line Rx Setting-%d", kWaterLineRx},
    {"---Water Line Rx Setting-%d-RD", kWaterLineRxRd},
    {"---Water Line Tx Setting-%d", kWaterLineTx},
    {"---Water Line Tx Setting-%d-RD", kWaterLineTxRd},
    {"---Other Setting-%d-RD", kOtherRd},
};

// ---- Global sections -----------------------------------------------------------------------

constexpr SwItem kTrackingRd[] = {
    G("Vslow", 104, U16, 0, 65534, 70, "", 0, 65535),
    G("MinAcceleration", 162, U8, 0, 254, 30, "mm", 0, 255),
    G("MaxAcceleration", 163, U8, 0, 254, 50, "mm", 0, 255),
    G("NoiseAcceleration", 164, U8, 0, 254, 50, "mm", 0, 255),
    G("HopAcceleration", 165, U8, 0, 254, 100, "mm", 0, 255),
};

constexpr const char kNoiseCondition[] = "Noise threshold to enable noise condition.";
constexpr const char kNoiseHop[] = "Noise threshold to enable frequency hopping.";
constexpr SwItem kFreqHopping[] = {
    G("NoiseConditionTh(0)", kNoiseConditionTh + 0, U16, 0, 65534, 250, kNoiseCondition, 0, 65535,
      AutoFrequencyOff),
    G("NoiseTh(0)", kNoiseTh + 0, U16, 0, 65534, 250, kNoiseHop, 0, 65535, AutoFrequencyOff),
    G("NoiseConditionTh(1)", kNoiseConditionTh + 2, U16, 0, 65534, 250, kNoiseCondition, 0, 65535,
      AutoFrequencyOff),
    G("NoiseTh(1)", kNoiseTh + 2, U16, 0, 65534, 250, kNoiseHop, 0, 65535, AutoFrequencyOff),
    G("NoiseConditionTh(2)", kNoiseConditionTh + 4, U16, 0, 65534, 250, kNoiseCondition, 0, 65535,
      AutoFrequencyOff),
    G("NoiseTh(2)", kNoiseTh + 4, U16, 0, 65534, 250, kNoiseHop, 0, 65535, AutoFrequencyOff),
    G("NoiseConditionTh(3)", kNoiseConditionTh + 6, U16, 0, 65534, 250, kNoiseCondition, 0, 65535,
      AutoFrequencyOff),
    G("NoiseTh(3)", kNoiseTh + 6, U16, 0, 65534, 250, kNoiseHop, 0, 65535, AutoFrequencyOff),
    G("NoiseConditionTh(4)", kNoiseConditionTh + 8, U16, 0, 65534, 250, kNoiseCondition, 0, 65535,
      AutoFrequencyOff),
    G("NoiseTh(4)", kNoiseTh + 8, U16, 0, 65534, 250, kNoiseHop, 0, 65535, AutoFrequencyOff),
    G("NoiseKeepTime", 112, U16, 0, 65534, 3000,
      "Duration for enabling noise condition. [unit: ms].", 0, 65535, AutoFrequencyOff),
    G("DyCookThRatio", 160, U8, 0, 254, 6,
      "Dynamic ratio for dynamic Cook Threshold. (New threshold: CMax*[V]/8).", 0, 255,
      DynamicCookTouchThOff),
};

constexpr SwItem kFreqHoppingRd[] = {
    G("NoiseCntTh", 179, U8, 0, 254, 3, "", 0, 255, AutoFrequencyOff),
    G("CheckNoiseTime", 180, U8, 0, 254, 10, "", 0, 255, AutoFrequencyOff),
    G("NoiseNodeCntRatio", kNoiseNodeCntRatio, U8, 0, 254, 16,
      "image check noise tx count parameter. Threshold: NumsOfTx * NoiseNodeCntRatio/128.", 0, 254,
      ImgCheckNoiseOff),
};

constexpr SwItem kPointAlg[] = {
    G("MergeDistance", 166, U8, 0, 254, 10, "Minimum distance between two report points. [unit:mm]",
      0, 255),
    G("MaxReportPoint", 188, U8, 0, 60, 10, "The maximum numbers of support touches.", 0, 60),
    G("ReportRateScanTime", 189, U8, 0, 100, 0,
      "The counter to slow down reporting rate, each count provides approximately 0.5ms delay.", 0,
      100),
    G("DownCount", 168, U8, 0, 254, 0, "Response delay in normal mode.", 0, 255),
    G("DownCntInNoise", 172, U8, 0, 254, 2, "Response delay in noise condition.", 0, 255),
    G("DownCntInWater", 173, U8, 0, 254, 2, "Response delay in water condition.", 0, 255),
    G("DownCountForEdge", 169, U8, 0, 254, 1, "Response delay in edge area.", 0, 255),
    G("FingerSeperationLevel", 203, S8, -5, 5, 0,
      "Increase to enhance finger separation performance, but might cause false touch.", -5, 5,
      NoFingerSeparation),
    G("Tx2CH_FingerSeperationLevel", 204, S8, -5, 5, -2,
      "SharpLevel for TxN when using Tx2CH driving method.", -5, 5, NoFingerSeparation),
};

constexpr SwItem kPointAlgRd[] = {
    G("DownCntInMulti", 170, U8, 0, 254, 1, "Point count", 0, 255),
    G("DownCntInPen", 171, U8, 0, 254, 2, "", 0, 255),
    G("DownCntInPalm", 174, U8, 0, 254, 2, "", 0, 255),
    G("DownCntInWaterForEdge", 1230, U8, 0, 254, 1, "", 0, 254),
    G("UpCount", 175, U8, 0, 254, 1, "", 0, 255),
    G("UpCntInNoise", 176, U8, 0, 254, 2, "", 0, 255),
    G("ReviewGroupTh", 167, U8, 0, 254, 7, "", 0, 255),
    G("MergeMCDist", 192, U8, 0, 254, 15, "X*Pitch/10", 0, 255),
    G("DownCntForPalmDet", 177, U8, 0, 254, 3, "", 0, 255),
    G("DownCntForPenDet", 178, U8, 0, 254, 3, "", 0, 255),
    G("GhostTouchNPRatio", 208, U8, 0, 254, 25, "", 0, 255),
    G("NoisePreCheckRange", 209, U8, 1, 3, 1, "Pre scan count for image check noise.", 1, 3),
    G("Rx0MassThRatio", 210, U8, 0, 254, 0, "", 0, 254),
    G("RxNMassThRatio", 211, U8, 0, 254, 0, "", 0, 254),
    G("Tx0MassThRatio", 212, U8, 0, 254, 0, "", 0, 254),
    G("TxNMassThRatio", 213, U8, 0, 254, 0, "", 0, 254),
    G("CornerMassThRatio", 214, U8, 0, 254, 0, "", 0, 254),
    G("TXMarginBlockHeight", 215, U8, 0, 254, 0, "", 0, 254),
    G("RXMarginBlockLength", 216, U8, 0, 254, 0, "", 0, 254),
    LoadOnly("AloneTouchSignalLenTh", Image, kAloneTouchSignalLenTh, U8, 0, 255),
};

constexpr SwItem kPalm[] = {
    G("PalmKeepTime", 114, U16, 0, 65534, 1500, "Duration for palm condition.", 0, 65535,
      NoPalmRejection),
    G("PalmRange", 195, U8, 0, 254, 4, "An additional range to be grouped into palm.", 0, 255,
      NoPalmRejection),
};

// The quotation marks around PalmRecoverLenTh are the code-page 950 bytes A1 A7 and A1 A8.
constexpr SwItem kPalmRd[] = {
    G("PalmLenTh", 196, U8, 1, 254, 7, "Enter palm condition when LPC/Recover Length > [V].", 1,
      255, NoPalmRejection),
    G("PalmRecoverLenTh", 201, U8, 0, 254, 0,
      "If [V] is not equal to 0, [V] become an individual Th only for Recover Length to enter "
      "palm condition.",
      0, 255, NoPalmRejection),
    G("PalmRecoverLPCTh", 202, U8, 0, 254, 0,
      "If \xA1\xA7PalmRecoverLenTh\xA1\xA8 is not equal to 0, an additional LPC Cnt Th to enter "
      "palm condition.",
      0, 255, NoPalmRejection),
    G("PalmRecoverTh", 116, U16, 0, 65534, 250, "If cooked data > [V], calc Recover Length.", 0,
      65535, NoPalmRejection),
    G("PalmInfectIterCnt", 207, U8, 0, 254, 0,
      "Palm infection iterate limit. No limit when [V] is 0.", 0, 254, NoPalmRejection),
};

// Fields written with a 16-bit range but 8 bits wide load within 0~255.
constexpr SwItem kPassivePenRd[] = {
    G("GroupMassTh", 662, U16, 0, 65534, 100, "", 0, 65535, NoPassiveStylus),
    G("DeltaTouchTh", 682, U8, 0, 65534, 30, "", 0, 255, NoPassiveStylus),
    G("TouchTh", 683, U8, 0, 65534, 40, "", 0, 255, NoPassiveStylus),
    G("CookTouchTh", 684, U8, 0, 65534, 50, "", 0, 255, NoPassiveStylus),
    G("MaxLength", 685, U8, 0, 254, 5,
      "If group length larger or equal than [V], will be recognized as finger group.", 0, 255,
      NoPassiveStylus),
    G("MaxSize", 688, U8, 0, 254, 10,
      "If group size larger or equal than [V], will be recognized as finger group.", 0, 255,
      NoPassiveStylus),
    G("NumsFingerDisablePen", 183, U8, 0, 65534, 5, "", 0, 255, NoPassiveStylus),
    G("ZFilter", 687, U8, 1, 31, 1, "Z filter to smooth Z value", 1, 31, NoPassiveStylus),
    G("ZBase", 664, U16, 0, 65534, 0, "Z value offset", 0, 65535, NoPassiveStylus),
    G("ZScale", 686, U8, 0, 255, 16, "Z value scale: ZOut: Z*Scale/16", 0, 255, NoPassiveStylus),
};

constexpr SwItem kVKeyRd[] = {
    G("VKeyTouchTh", 108, U16, 0, 65534, 600, "", 0, 65535),
    G("VKeyDownCount", 181, U8, 0, 254, 2, "", 0, 255),
    G("VKeyUpCount", 182, U8, 0, 254, 2, "", 0, 255),
};

constexpr SwItem kFilter[] = {
    G("MaxFilter", 765, U8, 0, 31, 28,
      "The maximum linearity filtering level when drawing in slow speed.", 0, 31),
    G("MinFilter", 766, U8, 0, 31, 22,
      "The minimum linearity filtering level when drawing in fast speed.", 0, 31),
    G("FirstDownConstArea", 746, U16, 0, 65534, 10, "Const area for a first contact point.", 0,
      65535),
    G("NormalConstArea", 748, U16, 0, 65534, 0, "Const area for a already moved contact point.", 0,
      65535),
    G("SlowMoveTh", 769, U8, 0, 65534, 30, "Speed threshold to define a slow moving state.", 0,
      255),
    G("SlowMoveConst", 752, U16, 0, 65534, 2, "Extra const area for a slow moving contact point.",
      0, 65535),
};

// The filter set's own ZBase, ZFilter and ZScale lie after its 16-bit and 8-bit runs.
constexpr SwItem kFilterRd[] = {
    G("FilterSpeedStep", 764, U8, 0, 254, 30, "Read Only", 0, 255),
    G("SpeedForMinFilter", 744, U16, 0, 65534, 200, "", 0, 65535),
    G("PenFilter", 767, U8, 0, 31, 27, "MaxFilter for pen", 0, 31),
    G("PenConst", 750, U16, 0, 65534, 1, "0.1mm", 0, 65535),
    G("PhaseLeadLevel", 768, U8, 0, 65534, 4, "", 0, 255),
    G("ClickRange", 754, U16, 0, 65534, 4, "mm", 0, 65535),
    G("ZFilter", 770, U8, 1, 31, 1, "Z filter to smooth Z value", 1, 31),
    G("ZBase", 756, U16, 0, 65534, 0, "Z value offset", 0, 65535),
    G("ZScale", 771, U8, 0, 254, 16, "Z value scale: ZOut: Z*Scale/16", 0, 255),
};

constexpr SwItem kCompensation[] = {
    G("MarginPosTx0", 784, S8, -128, 127, 4,
      "Edge compensation level on Tx0 side. Increase [V] to make point close to boundary.", -128,
      127, MarginImproveOff),
    G("MarginPosTxN", 785, S8, -128, 127, 4,
      "Edge compensation level on TxN side. Increase [V] to make point close to boundary.", -128,
      127, MarginImproveOff),
    G("MarginPosRx0", 786, S8, -128, 127, 4,
      "Edge compensation level on Rx0 side. Increase [V] to make point close to boundary.", -128,
      127, MarginImproveOff),
    G("MarginPosRxN", 787, S8, -128, 127, 4,
      "Edge compensation level on RxN side. Increase [V] to make point close to boundary.", -128,
      127, MarginImproveOff),
    G("WLMarginPosTx0", 802, S8, -128, 127, 0,
      "Edge compensation level on water line Tx0 side. Increase [V] to make point close to "
      "boundary.",
      -128, 127, MarginImproveOff),
    G("WLMarginPosTxN", 803, S8, -128, 127, 0,
      "Edge compensation level on water line TxN side. Increase [V] to make point close to "
      "boundary.",
      -128, 127, MarginImproveOff),
    G("WLMarginPosRx0", 804, S8, -128, 127, 0,
      "Edge compensation level on water line Rx0 side. Increase [V] to make point close to "
      "boundary.",
      -128, 127, MarginImproveOff),
    G("WLMarginPosRxN", 805, S8, -128, 127, 0,
      "Edge compensation level on water line RxN side. Increase [V] to make point close to "
      "boundary.",
      -128, 127, MarginImproveOff),
    G("LiftOffPredictLevel", 806, U8, 0, 254, 0, "", 0, 254, LiftOffRawHistogramOff),
};

constexpr const char kMarginMass[] = "The ratio to start margin compensation.";
constexpr SwItem kCompensationRd[] = {
    G("MarginMassTx0", 788, S8, -16, 16, 6, kMarginMass, -16, 16, LiftOffRawHistogramOff),
    G("MarginMassTxN", 789, S8, -16, 16, 6, kMarginMass, -16, 16, LiftOffRawHistogramOff),
    G("MarginMassRx0", 790, S8, -16, 16, 6, kMarginMass, -16, 16, LiftOffRawHistogramOff),
    G("MarginMassRxN", 791, S8, -16, 16, 6, kMarginMass, -16, 16, LiftOffRawHistogramOff),
    G("MarginPosCompTx0RxN", 792, S8, -128, 127, 0, "", -128, 127, LiftOffRawHistogramOff),
    G("MarginPosCompTx0Rx0", 793, S8, -128, 127, 0, "", -128, 127, LiftOffRawHistogramOff),
    G("MarginPosCompTxNRxN", 794, S8, -128, 127, 0, "", -128, 127, LiftOffRawHistogramOff),
    G("MarginPosCompTxNRx0", 795, S8, -128, 127, 0, "", -128, 127, LiftOffRawHistogramOff),
    G("MarginPosCompRx0Tx0", 796, S8, -128, 127, 0, "", -128, 127, LiftOffRawHistogramOff),
    G("MarginPosCompRx0TxN", 797, S8, -128, 127, 0, "", -128, 127, LiftOffRawHistogramOff),
    G("MarginPosCompRxNTx0", 798, S8, -128, 127, 0, "", -128, 127, LiftOffRawHistogramOff),
    G("MarginPosCompRxNTxN", 799, S8, -128, 127, 0, "", -128, 127, LiftOffRawHistogramOff),
    G("DrawInOutRange", 800, U8, 0, 254, 100, "0.1mm", 0, 255, LiftOffRawHistogramOff),
    G("DrawInOutSpeed", 801, U8, 0, 254, 30, "The speed threshold to enable drawing compensation",
      0, 255, LiftOffRawHistogramOff),
};

constexpr SwSection kGlobalSectionList[] = {
    {"Tracking Alg Setting-RD", kTrackingRd},
    {"Freq Hopping Setting", kFreqHopping},
    {"Freq Hopping Setting-RD", kFreqHoppingRd},
    {"Point Alg Setting", kPointAlg},
    {"Point Alg Setting-RD", kPointAlgRd},
    {"Palm Setting", kPalm},
    {"Palm Setting-RD", kPalmRd},
    {"Passive Pen Setting-RD", kPassivePenRd},
    {"VKey Setting-RD", kVKeyRd},
    {"Filter Setting", kFilter},
    {"Filter Setting-RD", kFilterRd},
    {"Compensation Setting", kCompensation},
    {"Compensation Setting-RD", kCompensationRd},
};

// ---- Active areas, USB, power and interface -----------------------------------------------

constexpr SwItem kAreaNumbers[] = {
    Ranged("DelayCnt", ActiveArea, kAreaDelayCnt, U8, 0, 254, 0, "Each count: 8 down counts.", 0,
           255, AreaInvalid),
    Ranged("ULx", ActiveArea, 0, U16, 0, 65534, 512, "", 0, 65535, AreaInvalid),
    Ranged("ULy", ActiveArea, 2, U16, 0, 65534, 512, "", 0, 65535, AreaInvalid),
    Ranged("LRx", ActiveArea, 4, U16, 0, 65534, 3584, "", 0, 65535, AreaInvalid),
    Ranged("LRy", ActiveArea, 6, U16, 0, 65534, 3584, "", 0, 65535, AreaInvalid),
};

constexpr SwItem kUsbItems[] = {
    Plain("ReportIDSel", kReportIdSel, U8, "0, 1, 6", "0: auto 1:HID mouse. 6: Touch.",
          SwLoad::Clamped, 0, 23),
};

constexpr SwItem kUsbRdItems[] = {
    Plain("RemoteWakeupDelay", kRemoteWakeupDelay, U16, "0~254",
          "suspend -> resume time: 5ms + RemoteWakeupDelay", SwLoad::Clamped, 0, 65535),
    Plain("USBIFInRushCurrentDelay", kUsbInRushCurrentDelay, U16, "0~65534", "", SwLoad::Clamped, 0,
          65534),
};

constexpr SwItem kPowerRdItems[] = {
    Plain("SleepCnt", kSleepCnt, U16, "0~254", "0.5ms", SwLoad::Clamped, 0, 65535),
    Plain("HVReadyDelayCtrl", kHvReadyDelayCtrl, U16, "", "Read Only", SwLoad::Clamped, 0, 65535),
    Plain("WakeUpOnTap", kWakeUpOnTap, U8, "", "", SwLoad::Clamped, 0, 255),
};

constexpr SwItem kSysPowerItems[] = {
    G("Sys_ScanInterval", kSysScanInterval, U8, 0, 254, 20, "ms", 0, 254),
    G("Sys_PwrLevel_W0", kSysPwrLevelW0, U8, 0, 3, 2, "MCU Power Level", 0, 3),
    G("Sys_PwrLevel_W1", kSysPwrLevelW1, U8, 0, 3, 2, "MCU Power Level", 0, 3),
    G("Sys_HVRdyTime", kSysHvRdyTime, U8, 0, 254, 10, "HV ready time before start scan. [Unit:ms]",
      0, 254),
};

constexpr SwItem kInterfaceSupportRdItems[] = {
    Plain("RS232Baud", kRs232Baud, U16, "", "FW default: UART. I2C > USB > UART", SwLoad::Clamped,
          0, 65535),
};

constexpr SwItem kInterfaceConfigRdItems[] = {
    G("Sel2ndInterface", kSel2ndInterface, U8, 0, 254, 0,
      "Indicate 2nd interface. When copy transfer function is enabled (By API or Gesture or "
      "GPIO), contact data will copy to 2nd interface.",
      0, 255),
    G("MaxContactID", kMaxContactId, U8, 0, 254, 40, "", 0, 255),
    G("Max2ndContactID", kMax2ndContactId, U8, 0, 254, 40, "", 0, 255),
    G("MaxPenID", kMaxPenId, U8, 0, 254, 4, "", 0, 255),
    G("Max2ndPenID", kMax2ndPenId, U8, 0, 254, 4, "", 0, 255),
};

// Stray counts of firmware from kernel 3.31 on (older firmware: plain, from the hardware set).
constexpr SwItem kStrayItems[] = {
    G("StrayUpdateCnt", kStrayUpdateCnt, U8, 1, 254, 200, "", 1, 254),
    G("StrayStoreCnt", kStrayStoreCnt, U8, 1, 254, 100, "", 1, 254),
};

// The corners of calibration set s, at 696 + 16 s.
constexpr std::array<SwItem, 8> Corners(int set) {
    const int at = CalibrationSet(set);
    return {G("LLX", at + 0, U16, 0, 65535, 512, "", 0, 65535),
            G("LLY", at + 2, U16, 0, 65535, 3584, "", 0, 65535),
            G("ULX", at + 4, U16, 0, 65535, 512, "", 0, 65535),
            G("ULY", at + 6, U16, 0, 65535, 512, "", 0, 65535),
            G("URX", at + 8, U16, 0, 65535, 3584, "", 0, 65535),
            G("URY", at + 10, U16, 0, 65535, 512, "", 0, 65535),
            G("LRX", at + 12, U16, 0, 65535, 3584, "", 0, 65535),
            G("LRY", at + 14, U16, 0, 65535, 3584, "", 0, 65535)};
}
constexpr std::array<SwItem, 8> kCornerItems[kCalibrationSets] = {Corners(0), Corners(1),
                                                                  Corners(2)};

constexpr SwItem TempParam(const char* key, int index) {
    const bool isSigned = index < 2;
    return {key,
            Image,
            kTempParams + 2 * index,
            isSigned ? S16 : U16,
            SwWrite::Plain,
            0,
            0,
            0,
            isSigned ? "-32768~32767" : "0~65535",
            "",
            SwLoad::Plain,
            0,
            0};
}
constexpr SwItem kTempItems[] = {
    TempParam("sTempParam01", 0), TempParam("sTempParam02", 1), TempParam("TempParam01", 2),
    TempParam("TempParam02", 3),  TempParam("TempParam03", 4),  TempParam("TempParam04", 5),
    TempParam("TempParam05", 6),  TempParam("TempParam06", 7),  TempParam("TempParam07", 8),
    TempParam("TempParam08", 9),  TempParam("TempParam09", 10), TempParam("TempParam10", 11),
};

// The settings of power level w, preceded in the file by "( Alg_W%d_Power_Setting )".
constexpr std::array<SwItem, 4> PowerLevel(int w, const char* scan, const char* timer,
                                           const char* level, const char* ready) {
    return {G(scan, kAlgScanInterval + w, U8, 0, 254, 0, "ms", 0, 254),
            G(timer, kAlgNextLevelTimer + 2 * w, U16, 0, 65534, 0, "0: Disable Timer. 0~65534 ms.",
              0, 65534),
            G(level, kAlgPwrLevel + w, U8, 0, 3, 0, "MCU Power Level", 0, 3),
            G(ready, kAlgHvRdyTime + w, U8, 0, 254, 10,
              "HV ready time before start scan. [Unit:ms]", 0, 254)};
}
constexpr std::array<SwItem, 4> kPowerLevelItems[kPowerLevels] = {
    PowerLevel(0, "Alg_ScanInterval_W0", "Alg_NextLevelTimer_W0", "Alg_PwrLevel_W0",
               "Alg_HVRdyTime_W0"),
    PowerLevel(1, "Alg_ScanInterval_W1", "Alg_NextLevelTimer_W1", "Alg_PwrLevel_W1",
               "Alg_HVRdyTime_W1"),
    PowerLevel(2, "Alg_ScanInterval_W2", "Alg_NextLevelTimer_W2", "Alg_PwrLevel_W2",
               "Alg_HVRdyTime_W2"),
    PowerLevel(3, "Alg_ScanInterval_W3", "Alg_NextLevelTimer_W3", "Alg_PwrLevel_W3",
               "Alg_HVRdyTime_W3"),
};

}  // namespace

namespace SwKeys {

const SwSection kVersionInformation{"Version Information", kVersionItems};
const SwSection kVersionInformationRd{"Version Information-RD", kVersionRdItems};
const SwSection kGeneralConfig{"Alg General Config", kGeneralItems};
const SwSection kGeneralConfigRd{"Alg General Config-RD", kGeneralRdItems};
const SwSection kGeneralConfigRdLevel{"Alg General Config-RD", kGeneralRdLevelItems};
const SwSection kWaterSetting{"Alg General Water Setting", kWaterItems};
const SwSection kWaterSettingRd{"Alg General Water Setting-RD", kWaterRdItems};
const std::span<const SwSection> kModeSections{kModeSectionList};
const std::span<const SwSection> kGlobalSections{kGlobalSectionList};
const SwSection kActiveAreaNumbers{"Active Area Setting-%d-RD", kAreaNumbers};
const SwSection kUsb{"USB SW Setting", kUsbItems};
const SwSection kUsbRd{"USB SW Setting-RD", kUsbRdItems};
const SwSection kPowerRd{"Power Setting-RD", kPowerRdItems};
const SwSection kSysPower{"Power Setting-RD", kSysPowerItems};
const SwSection kInterfaceSupportRd{"Interface Support-RD", kInterfaceSupportRdItems};
const SwSection kInterfaceConfigRd{"Interface Config-RD", kInterfaceConfigRdItems};

const SwSection kStrayCounts{"Alg General Config-RD", kStrayItems};
const SwSection kTempParams{"Temp Param-RD", kTempItems};

std::span<const SwItem> CalibrationItems(int set) {
    return kCornerItems[set];
}

std::span<const SwItem> PowerLevelItems(int level) {
    return kPowerLevelItems[level];
}

}  // namespace SwKeys
