// The keys of the stylus text file (.pwt) that follow a regular pattern, as tables: the writer
// and the reader walk the same table, so a key's offset, range and default are stated once. The
// row type and the table walkers are the hardware text file's (HwTextKeys.h).
#pragma once

#include "params/HwTextKeys.h"
#include "params/PenLayout.h"

namespace pentext {

using hwtext::RangedKey;

// Comments that depend on the stylus structure version the controller reports: the items a
// newer firmware no longer uses are marked read-only.
inline constexpr char kUnusedAfterV07[] = "";
inline constexpr char kUnusedAfterV08[] = "";
inline constexpr const char* kUnusedAfterV07Text =
    "Read Only.We don't use this parameter after v07";
inline constexpr const char* kUnusedAfterV08Text =
    "Read Only.We don't use this parameter after v08";

inline constexpr RangedKey kPenHardwareSettings[] = {
    {"NumsOfFreq", pen::kNumsOfFreq, 8, 2, 1, 3, "", 1, 3},
    {"AutoSetAGC", pen::kAutoSetAGC, 8, 1, 0, 1, "Auto gain control for high gain mode", 0, 1},
    {"NoiseScanCnt", pen::kNoiseScanCnt, 8, 1, 0, 254, "", 0, 255},
    {"BeaconScanCnt", pen::kBeaconScanCnt, 8, 1, 0, 254, "", 0, 255},
    {"DetectScanCnt", pen::kDetectScanCnt, 8, 6, 0, 254, "", 0, 255},
    {"RawScanCnt", pen::kRawScanCnt, 8, 18, 0, 254, "", 0, 255},
    {"LongBeaconRound", pen::kLongBeaconRound, 8, 16, 0, 254, "", 0, 255},
    {"TxDelay_us", pen::kTxDelayUs, 16, 20, 0, 65534, "us", 0, 65535},
    {"LPenChip", pen::kLPenChip, 8, 0, 0, 254, "Tx chip index for Lpen", 0, 255},
};
// "LPenPin%d", offset + i.
inline constexpr RangedKey kLPenPin = {
    "LPenPin%d", pen::kLPenPin, 8, 0, 0, 254, "IC Pin Index for Lpen%d", 0, 255};

inline constexpr RangedKey kBeaconWaveN = {
    "BeaconWaveN", pen::kBeaconWaveN, 8, 63, 0, 63, "", 0, 63};
// "BeaconPreScaler%d", offset + f.
inline constexpr RangedKey kBeaconPreScaler = {
    "BeaconPreScaler%d", pen::kBeaconPreScaler, 8, 14, 12, 37, "ClkSrc:0", 12, 37};
inline constexpr RangedKey kIdleBeacon[] = {
    {"IdleBeaconDelayTime", pen::kIdleBeaconDelayTime, 8, 0, 0, 254, "", 0, 254},
    {"IdleBeaconGainH", pen::kIdleBeaconGainH, 8, 21, 0, 254, "", 0, 254},
};
inline constexpr int kBeaconWaveSignalDefault = 25;

// "Freq-%d General Config", offsets in the frequency block (WorkingFreq comes first).
inline constexpr RangedKey kFrequencyGeneral[] = {
    {"ClkSrc", pen::block::kClkSrc, 8, 0, 0, 4, "Read Only", 0, 4},
    {"PreScaler", pen::block::kPreScaler, 8, 14, 12, 37, "", 12, 37},
    {"FreqDevider", pen::block::kFreqDevider, 8, 3, 1, 31, "", 1, 31},
};

// "Freq-%d Signal Compensation": per index i these four, "%d" taking i, offset + 4i.
inline constexpr RangedKey kCompensation[] = {
    {"Apen_TX_RS(%d)", pen::block::kTxRs, 8, 14, 0, 254, "", 0, 255},
    {"Apen_TX_AFEGain(%d)", pen::block::kTxAfeGain, 8, 10, 0, 254, "", 0, 255},
    {"Apen_RX_RS(%d)", pen::block::kRxRs, 8, 14, 0, 254, "", 0, 255},
    {"Apen_RX_AFEGain(%d)", pen::block::kRxAfeGain, 8, 10, 0, 254, "", 0, 255},
};

// The bits of stylus control word 0. The long names carry trailing blanks in the format's history;
// keys are trimmed when written and read.
struct BitName {
    const char* key;
    const char* comment;
};
inline constexpr const char* kEnable = "0:Disable, 1:Enable";
inline constexpr BitName kPenCtrlBits[16] = {
    {"Ctrl(0)_(00)", ""},
    {"Ctrl(0)_BEACON_ENABLE", kEnable},
    {"Ctrl(0)_CHECK_NOISE_ENABLE", kEnable},
    {"Ctrl(0)_FREQ_HOPPING_ENABLE", kEnable},
    {"Ctrl(0)_(04)", kEnable},
    {"Ctrl(0)_ASTYLUS_MARGIN_IMPROVE", kEnable},
    {"Ctrl(0)_Z1TH_SOURCE", "0:Rx, 1:Tx"},
    {"Ctrl(0)_REPORT_HOVERING_POS", kEnable},
    {"Ctrl(0)_FAR_SIGNAL_COMPENSATION", kEnable},
    {"Ctrl(0)_NOTIFY_PEN_BUTTON", ""},
    {"Ctrl(0)_DRAW_IN_COMPENSATION   ", ""},
    {"Ctrl(0)_LIFT_OFF_COMPENSATION  ", ""},
    {"Ctrl(0)_(12)", ""},
    {"Ctrl(0)_(13)", ""},
    {"Ctrl(0)_(14)", ""},
    {"Ctrl(0)_(15)", ""},
};
inline constexpr RangedKey kPenSoftwareTail[] = {
    {"DelayTime", pen::kDelayTime, 16, 250, 0, 65534, "Debouce time for Pen only -> Pen + Finger",
     0, 65535},
    {"NumsOfThresholds", pen::kNumsOfThresholds, 8, 1, 1, 4, "", 1, 4},
};

inline constexpr RangedKey kThresholdConfig[] = {
    {"DetectTh", pen::kDetectTh, 16, 300, 0, 65534, kUnusedAfterV07, 0, 65535},
    {"DetectThH", pen::kDetectThH, 16, 1500, 0, 65534, "", 0, 65535},
    {"TipTh", pen::kTipTh, 16, 10, 0, 65534, "", 0, 65535},
    {"TouchTh", pen::kTouchTh, 16, 200, 0, 65534, kUnusedAfterV07, 0, 65535},
    {"TouchThEdge", pen::kTouchThEdge, 16, 350, 0, 65534, "", 0, 65535},
    {"NoiseTh", pen::kNoiseTh, 16, 100, 0, 65534, "If noise value > NoiseTh, Apen Raw stop working",
     0, 65535},
    {"NoiseThHover", pen::kNoiseThHover, 16, 200, 0, 65534,
     "If noise value > NoiseTh, Apen Det stop working", 0, 65535},
    {"DetectThWithPalm", pen::kDetectThWithPalm, 16, 500, 0, 65534,
     "DetTh in palm condition (Img isIdle = 0)", 0, 65535},
    {"DetectThEdge", pen::kDetectThEdge, 16, 100, 0, 65534, "", 0, 65535},
    {"Diff2HoverCntTH", pen::kDiff2HoverCntTH, 8, 6, 0, 254, "Raw to Det scan counts", 0, 255},
    {"Hover2IdleCntTH", pen::kHover2IdleCntTH, 8, 8, 0, 254, "Det to Idle scan counts", 0, 255},
    {"DetectEdgeCh", pen::kDetectEdgeCh, 8, 3, 0, 254, "", 0, 255},
};
// Read from "Threshold Config" but never written.
inline constexpr RangedKey kThresholdReadOnly[] = {
    {"ButtonTh", pen::kButtonTh, 16, 8, 0, 65535, "", 0, 65535},
    {"DyButtonTh", pen::kDyButtonTh, 8, 8, 0, 255, "", 0, 255},
};

// Z1Z2Offset is a 16-bit pattern like the others: a negative offset is 0x8000 and up.
inline constexpr RangedKey kZConfig[] = {
    {"Z1Th", pen::kZ1Th, 16, 0, 0, 65534, "", 0, 65535},
    {"Z2Th", pen::kZ2Th, 16, 0, 0, 65534, "Read Only", 0, 65535},
    {"ZBase", pen::kZBase, 16, 400, 0, 65534, kUnusedAfterV07, 0, 65535},
    {"ZResolution", pen::kZResolution, 16, 2800, 0, 65534, "", 0, 65535},
    {"ZClampMin", pen::kZClampMin, 16, 1, 0, 65534, "", 0, 65535},
    {"ZClampMax", pen::kZClampMax, 16, 1023, 0, 65534, "", 0, 65535},
    {"Z1Z2Offset", pen::kZ1Z2Offset, 16, 0, 0, 65534, "", 0, 65535},
    {"ZFilterLevel", pen::kZFilterLevel, 8, 14, 0, 254, kUnusedAfterV07, 0, 255},
    {"ZMedianFilterSize", pen::kZMedianFilterSize, 16, 5, 1, 20, "", 1, 20},
    {"ZMinFilter", pen::kZMinFilter, 8, 10, 0, 254, kUnusedAfterV08, 0, 255},
    {"ZFilterRange", pen::kZFilterRange, 8, 50, 0, 254, "", 0, 255},
};

inline constexpr RangedKey kSwGeneralConfig[] = {
    {"X_Resolution", pen::kXResolution, 16, 4096, 0, 65534, "", 0, 65535},
    {"Y_Resolution", pen::kYResolution, 16, 4096, 0, 65534, "", 0, 65535},
    {"ReportRateScanTime", pen::kReportRateScanTime, 8, 1, 0, 254, "", 0, 255},
    {"DownCnt", pen::kDownCnt, 8, 0, 0, 254, "", 0, 255},
    {"UpCnt", pen::kUpCnt, 8, 2, 0, 254, "", 0, 255},
    {"TipDownCnt", pen::kTipDownCnt, 8, 0, 0, 254, "", 0, 255},
    {"JudgeSkipCnt", pen::kJudgeSkipCnt, 8, 2, 0, 254, kUnusedAfterV07, 0, 255},
    {"ButtonStateSkipCnt", pen::kButtonStateSkipCnt, 8, 6, 0, 254, "", 0, 255},
    {"DetectDownCnt", pen::kDetectDownCnt, 8, 3, 0, 254, "Down count for Pen + Finger -> Pen only",
     0, 255},
    {"HoverUpCnt", pen::kHoverUpCnt, 8, 4, 0, 254, "", 0, 255},
    {"FirstDownConst", pen::kFirstDownConst, 8, 3, 0, 254, "0.1mm", 0, 255},
    {"HoverConstArea", pen::kHoverConstArea, 8, 3, 0, 254, kUnusedAfterV07, 0, 255},
    {"TipDownConstArea", pen::kTipDownConstArea, 8, 0, 0, 254, kUnusedAfterV07, 0, 255},
    {"SlowSpeedTh", pen::kSlowSpeedTh, 8, 1, 0, 254, "", 0, 255},
    {"SlowConstArea", pen::kSlowConstArea, 8, 2, 0, 254, kUnusedAfterV07, 0, 255},
    {"ApenNoiseCheckTimes", pen::kApenNoiseCheckTimes, 8, 10, 0, 254, "Read Only", 0, 255},
    {"ApenNoiseCheckCnt", pen::kApenNoiseCheckCnt, 8, 8, 0, 254, "Read Only", 0, 255},
    {"SpeedForTipComp", pen::kSpeedForTipComp, 16, 0, 0, 65534, "", 0, 65534},
    {"PhaseLeadLevelForTipComp", pen::kPhaseLeadLevelForTipComp, 8, 0, 0, 254, "", 0, 254},
};
// Read from "SW General Config" but never written.
inline constexpr RangedKey kSwGeneralReadOnly[] = {
    {"NumOfNoiseLineTH_L", pen::kNumOfNoiseLineTHL, 8, 3, 0, 255, "", 0, 255},
    {"NumOfNoiseLineTH_H", pen::kNumOfNoiseLineTHH, 8, 10, 0, 255, "", 0, 255},
    {"HoverPhaseLagLevel", pen::kHoverPhaseLagLevel, 8, 29, 0, 255, "", 0, 255},
    {"TipDownPhaseLagLevel", pen::kTipDownPhaseLagLevel, 8, 20, 0, 255, "", 0, 255},
    {"TipDownPhaseLagLevelH", pen::kTipDownPhaseLagLevelH, 8, 27, 0, 255, "", 0, 255},
};

inline constexpr RangedKey kMarginConfig[] = {
    {"MarginMassTx0", pen::kMarginMassTx0 + 0, 8, 24, 0, 254, "", 0, 255},
    {"MarginMassTxN", pen::kMarginMassTx0 + 1, 8, 24, 0, 254, "", 0, 255},
    {"MarginMassRx0", pen::kMarginMassTx0 + 2, 8, 24, 0, 254, "", 0, 255},
    {"MarginMassRxN", pen::kMarginMassTx0 + 3, 8, 24, 0, 254, "", 0, 255},
    {"MarginPosTx0", pen::kMarginMassTx0 + 4, 8, 0, 0, 254, "", 0, 255},
    {"MarginPosTxN", pen::kMarginMassTx0 + 5, 8, 0, 0, 254, "", 0, 255},
    {"MarginPosRx0", pen::kMarginMassTx0 + 6, 8, 0, 0, 254, "", 0, 255},
    {"MarginPosRxN", pen::kMarginMassTx0 + 7, 8, 0, 0, 254, "", 0, 255},
    {"DrawInOutRangeX", pen::kMarginMassTx0 + 8, 8, 100, 0, 254, "", 0, 255},
    {"DrawInOutRangeY", pen::kMarginMassTx0 + 9, 8, 100, 0, 254, "", 0, 255},
    {"DrawInOutSpeedX", pen::kMarginMassTx0 + 10, 8, 30, 0, 254, "", 0, 255},
    {"DrawInOutSpeedY", pen::kMarginMassTx0 + 11, 8, 30, 0, 254, "", 0, 255},
    {"DrawInOutBlockSpeed", pen::kDrawInOutBlockSpeed, 16, 0, 0, 65534,
     "0: Disable ; Draw in out speed > [v], Disable draw in out function.", 0, 65535},
};

// "Draw Filter Config" and "Hover Filter Config", from the filter's first byte.
inline constexpr RangedKey kFilterKeys[] = {
    {"RxPa", 0, 8, 1, 0, 254, "", 0, 255},  {"RxPb", 1, 8, 1, 0, 254, "", 0, 255},
    {"TxPa", 2, 8, 1, 0, 254, "", 0, 255},  {"TxPb", 3, 8, 1, 0, 254, "", 0, 255},
    {"RxPa1", 4, 8, 1, 0, 254, "", 0, 255}, {"RxPb1", 5, 8, 1, 0, 254, "", 0, 255},
    {"TxPa1", 6, 8, 1, 0, 254, "", 0, 255}, {"TxPb1", 7, 8, 1, 0, 254, "", 0, 255},
};

inline constexpr RangedKey kTiltConfig[] = {
    {"TxVectorOffset", pen::kTxVectorOffset, 8, 5, 0, 254, "", 0, 255},
    {"RxVectorOffset", pen::kRxVectorOffset, 8, 5, 0, 254, "", 0, 255},
    {"APenLength", pen::kAPenLength, 8, 80, 0, 254, "mm", 0, 255},
};

// "Alg Threshold %d", from the threshold block's first byte. ZMaxFilter is read apart: a section
// that also holds ZFilterLevel takes that instead.
inline constexpr RangedKey kAlgThreshold[] = {
    {"HoverFilter", pen::threshold::kHoverFilter, 8, 29, 0, 31, "", 0, 31},
    {"MinFilter", pen::threshold::kMinFilter, 8, 20, 0, 31, "", 0, 31},
    {"MaxFilter", pen::threshold::kMaxFilter, 8, 27, 0, 31, "", 0, 31},
    {"ZBase", pen::threshold::kZBase, 16, 400, 0, 65534, "", 0, 65535},
    {"DetectTh", pen::threshold::kDetectTh, 16, 300, 0, 65534, "", 0, 65535},
    {"TouchTh", pen::threshold::kTouchTh, 16, 200, 0, 65534, "", 0, 65535},
    {"ZMaxFilter", pen::threshold::kZMaxFilter, 8, 14, 0, 254, "0~15", 0, 255},
    {"ZMinFilter", pen::threshold::kZMinFilter, 8, 10, 0, 254, "", 0, 255},
    {"FirstDownConst", pen::threshold::kFirstDownConst, 8, 3, 0, 254, "", 0, 255},
    {"TipDownConstArea", pen::threshold::kTipDownConstArea, 8, 0, 0, 254, "", 0, 255},
    {"SlowConstArea", pen::threshold::kSlowConstArea, 8, 2, 0, 254, "", 0, 255},
    {"JudgeSkipCnt", pen::threshold::kJudgeSkipCnt, 8, 2, 0, 254, "Add virtual points for pen tail",
     0, 255},
};

// "RD_Test_Params": APenTempParam01 .. 10 (16-bit, the whole range) after the two signed ones.
inline constexpr RangedKey kTempParam = {
    "APenTempParam%02d", pen::kTempParams, 16, 0, 0, 65535, "", 0, 65535};

}  // namespace pentext
