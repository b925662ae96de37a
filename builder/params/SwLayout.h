// Where the fields of the software parameter image lie: byte offsets from the start of the image,
// little-endian, unaligned. Bytes named nowhere here are carried unchanged by every operation.
#pragma once

#include <cstdint>

namespace SwLayout {

inline constexpr int kUsedLength = 1266;
inline constexpr int kParamVersion = 9;

// Algorithm control words CtrlFlags(0) to CtrlFlags(3) and the notification control word.
inline constexpr int kCtrlFlags0 = 10;
inline constexpr int CtrlFlags(int word) {
    return kCtrlFlags0 + 2 * word;
}
inline constexpr int kNotifyCtrl = 20;

// Bits of the control words that loading a text file takes from it; the others keep their value.
inline constexpr uint16_t kAppliedCtrlBits[4] = {0x4219, 0x0280, 0x04D3, 0x0011};
inline constexpr uint16_t kCtrl0AutoFrequency = 0x0001;
inline constexpr uint16_t kCtrl0WaterProof = 0x0080;
inline constexpr uint16_t kCtrl0PalmRejection = 0x0400;
inline constexpr uint16_t kCtrl0EnhanceFingerSeparation = 0x0020;
inline constexpr uint16_t kCtrl0PassiveStylus = 0x2000;
inline constexpr uint16_t kCtrl0MarginImprove = 0x4000;
inline constexpr uint16_t kCtrl2ImageDynamicCookTouchTh = 0x0001;
inline constexpr uint16_t kCtrl2NoiseDynamicCookTouchTh = 0x0002;
inline constexpr uint16_t kCtrl2ImgCheckNoise = 0x0400;
inline constexpr uint16_t kCtrl2ReportPalmGroup = 0x1000;
inline constexpr uint16_t kCtrl3LiftOffUseRawHistogram = 0x0020;
inline constexpr uint16_t kCtrl3FixWhByMass = 0x0040;
inline constexpr uint16_t kCtrl3PalmMergeLargeGroup = 0x0080;

inline constexpr int kBid = 40;
inline constexpr int kModelNum = 42;
inline constexpr int kModelNumWidth = 4;
inline constexpr int kFwVersion = 46;
inline constexpr int kFwVersionWidth = 14;
inline constexpr int kModelInfo = 60;
inline constexpr int kModelInfoWidth = 8;

inline constexpr int kIdleUpdateTime = 102;
inline constexpr int kAxisFlags = 184;  // bit 0 SWAP_XY, bit 1 SWAP_X, bit 2 SWAP_Y
inline constexpr int kAloneTouchSignalLenTh = 190;
inline constexpr int kUTableType = 185;
inline constexpr int kNumsOfThresholds = 198;
inline constexpr int kNoiseNodeCntRatio = 197;
inline constexpr int kStrayUpdateCnt = 205;
inline constexpr int kStrayStoreCnt = 206;

// Threshold mode blocks: three of 144 bytes; offsets below are within a block.
inline constexpr int kThresholdModes = 3;
inline constexpr int kThresholdBlock = 230;
inline constexpr int kThresholdBlockSize = 144;
inline constexpr int ThresholdBlock(int mode) {
    return kThresholdBlock + kThresholdBlockSize * mode;
}
namespace Block {
inline constexpr int kCtrlCopy0 = 0;  // the mode's copies of control words 0, 1 and 2
inline constexpr int kCtrlCopy1 = 2;
inline constexpr int kCtrlCopy2 = 4;
inline constexpr int kDeltaTouchTh = 10;
inline constexpr int kTouchThFinger = 12;
inline constexpr int kCookTouchTh = 14;
inline constexpr int kGroupMassTh = 16;
inline constexpr int kUniformity = 18;
inline constexpr int kPalmRejectTouchMass = 20;
inline constexpr int kWaterTh = 22;
inline constexpr int kWaterTouchDisableTh = 24;
inline constexpr int kWaterNegativeTh = 26;
inline constexpr int kWaterNodeNumsTh = 28;
inline constexpr int kWaterCookTouchTh = 30;
inline constexpr int kGestureDetectTime = 32;
inline constexpr int kAvgTouchSignal = 34;
inline constexpr int kCookTouchBase = 36;
inline constexpr int kGroupMassBase = 38;
inline constexpr int kWaterThHigh = 48;
inline constexpr int kFuncType = 68;
inline constexpr int kRawFlatForStray = 69;
inline constexpr int kRawFlatForPoint = 70;
inline constexpr int kPalmEnableTouchSize = 71;
inline constexpr int kWaterTouchSizeMin = 72;
inline constexpr int kWaterTouchSizeMax = 73;
inline constexpr int kWaterMaxReportPoint = 74;
inline constexpr int kTouchSizeMin = 75;
inline constexpr int kTouchSizeMax = 76;
inline constexpr int kExtraDownCount = 77;
inline constexpr int kExtraMergeDistance = 78;
inline constexpr int kFingerWaterRatio = 79;
inline constexpr int kSensitivityLevel = 82;  // signed
inline constexpr int kWaterTxDeltaTh = 84;
inline constexpr int kWaterTxDDTh = 85;
inline constexpr int kWLTxCookTouchTh = 86;
inline constexpr int kWaterTxExtendRange = 87;
inline constexpr int kWaterTxCheckTime = 88;
inline constexpr int kWaterTxCorrectTime = 89;
inline constexpr int kWaterRxDeltaTh = 100;
inline constexpr int kWaterRxDDTh = 101;
inline constexpr int kWLRxCookTouchTh = 102;
inline constexpr int kWaterRxExtendRange = 103;
inline constexpr int kWaterRxCheckTime = 104;
inline constexpr int kWaterRxCorrectTime = 105;
inline constexpr int kWaterLineThRatio = 116;
inline constexpr int kWLRxTouchTh = 117;
inline constexpr int kWLTxTouchTh = 118;
inline constexpr int kImgNoiseConditionTh = 119;
inline constexpr int kImgNoiseHopTh = 120;
}  // namespace Block

// Water settings of each threshold mode, kept outside the blocks: eight bytes per mode.
inline constexpr int kModeWater = 1134;
inline constexpr int kModeWaterStride = 30;
inline constexpr int ModeWater(int mode) {
    return kModeWater + kModeWaterStride * mode;
}

// Calibration sets: LLX, LLY, ULX, ULY, URX, URY, LRX, LRY (16-bit each).
inline constexpr int kCalibrationSets = 3;
inline constexpr int kCalibration = 696;
inline constexpr int CalibrationSet(int set) {
    return kCalibration + 16 * set;
}

inline constexpr int kNoiseConditionTh = 816;  // + 2 f, f = 0 to 4
inline constexpr int kNoiseTh = 826;           // + 2 f
inline constexpr int kNoiseFrequencies = 5;

// Active areas: ULx, ULy, LRx, LRy at +0 to +6, the attribute byte at +30, DelayCnt at +31.
inline constexpr int kActiveAreas = 5;
inline constexpr int kActiveArea = 836;
inline constexpr int kActiveAreaSize = 40;
inline constexpr int ActiveArea(int area) {
    return kActiveArea + kActiveAreaSize * area;
}
inline constexpr int kAreaAttribute = 30;
inline constexpr int kAreaDelayCnt = 31;
inline constexpr uint8_t kAreaValid = 0x80;

// USB, power and interface area.
inline constexpr int kUsbCtrl = 1036;
inline constexpr int kRemoteWakeupDelay = 1038;
inline constexpr int kRightClick = 1040;  // bit 7 RightClickEn, bits 0-6 RightClickCnt
inline constexpr int kReportIdSel = 1041;
inline constexpr int kUsbInRushCurrentDelay = 1042;
inline constexpr int kSleepCnt = 1068;
inline constexpr int kPwrCtrl = 1070;
inline constexpr int kHvReadyDelayCtrl = 1072;
inline constexpr int kWakeUpOnTap = 1074;
inline constexpr int kSysScanInterval = 1076;
inline constexpr int kSysHvRdyTime = 1077;
inline constexpr int kSysPwrLevelW0 = 1078;
inline constexpr int kSysPwrLevelW1 = 1079;
inline constexpr int kAlgScanInterval = 1080;    // + w
inline constexpr int kAlgNextLevelTimer = 1084;  // + 2 w
inline constexpr int kAlgPwrLevel = 1092;        // + w
inline constexpr int kAlgHvRdyTime = 1096;       // + w
inline constexpr int kPowerLevels = 4;
inline constexpr int kRs232Baud = 1100;
inline constexpr int kInterfaceSupport = 1102;
inline constexpr int kRs232Ctrl = 1103;
inline constexpr int kInterfaceSelFinger = 1104;
inline constexpr int kInterfaceSelPen = 1105;
inline constexpr int kSel2ndInterface = 1106;
inline constexpr int kMaxContactId = 1107;
inline constexpr int kMax2ndContactId = 1108;
inline constexpr int kMaxPenId = 1109;
inline constexpr int kMax2ndPenId = 1110;
inline constexpr int kUartReportFormat = 1112;
inline constexpr uint16_t kUartPressureFollower = 0x0080;  // set with every pressure write

inline constexpr int kTempParams = 1246;  // sTempParam01, sTempParam02, TempParam01 to 10
inline constexpr int kTempParamCount = 12;

}  // namespace SwLayout
