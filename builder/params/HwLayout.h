// Where each field of the hardware parameter image lies: byte offsets from the start of the
// 4096-byte image, little-endian 16-bit values, no alignment. Bytes the layout does not name are
// carried through dumps, files and writes unchanged.
#pragma once

namespace hw {

inline constexpr int kImageLength = 4096;
inline constexpr int kUsedLength = 3350;

// Common head: used length, checksum, version bytes.
inline constexpr int kMajorVersion = 4;
inline constexpr int kMinorVersion = 5;
inline constexpr int kTunerMajorVersion = 6;
inline constexpr int kTunerMinorVersion = 7;
inline constexpr int kTunerBuildNo = 8;
inline constexpr int kParamVersion = 9;

inline constexpr int kScanCtrl = 10;      // 16-bit flags
inline constexpr int kScanCtrlIdle = 12;  // 16-bit flags, same bits
inline constexpr int kIdTableR5 = 32;     // 8 bytes
inline constexpr int kIdTableR5Size = 8;
inline constexpr int kXDimension = 40;  // 16-bit, 0.1 mm
inline constexpr int kYDimension = 42;  // 16-bit, 0.1 mm
inline constexpr int kNumsOfRxChips = 44;
inline constexpr int kNumsOfTxChips = 45;
inline constexpr int kNumsOfFreq = 46;
inline constexpr int kFreqStartIndex = 47;
inline constexpr int kTxRange = 48;      // chip i: TxStart at 48 + 2i, TxEnd at 49 + 2i
inline constexpr int kRxRange = 56;      // chip i: RxStart at 56 + 2i, RxEnd at 57 + 2i
inline constexpr int kPhaseTarget = 64;  // 10 bytes
inline constexpr int kPhaseTargets = 10;
inline constexpr int kOpenScaling = 74;    // 16-bit
inline constexpr int kMutualScaling = 76;  // 16-bit
inline constexpr int kStartSkipCnt = 78;
inline constexpr int kHopFreqSkipCnt = 79;
inline constexpr int kStrayUpdatWaiteTime = 80;
inline constexpr int kStrayUpdatTime = 81;
inline constexpr int kShortDelay = 82;
inline constexpr int kSensorTestScaling = 83;
inline constexpr int kPowerOnDelayTime = 84;  // 16-bit, ms
inline constexpr int kVKeyTXStart = 86;
inline constexpr int kVKeyTXEnd = 87;
inline constexpr int kVKeyRXStart = 88;
inline constexpr int kVKeyRXEnd = 89;
inline constexpr int kVKeyTxChipsSel = 90;
inline constexpr int kVKeyRxChipsSel = 91;

// Frequency blocks: block f at kFreqBlock + kFreqBlockSize * f.
inline constexpr int kFreqBlock = 104;
inline constexpr int kFreqBlockSize = 490;
inline constexpr int kMaxFrequencies = 5;
inline constexpr int kMaxChips = 4;

// Offsets inside a frequency block.
namespace block {
inline constexpr int kClkSrc = 0;
inline constexpr int kFreqCtrl = 1;
inline constexpr int kModeImages = 2;       // mode image m at 2 + 68 m
inline constexpr int kTuningRecords = 410;  // record k at 410 + 6 k
inline constexpr int kPreScaler = 470;
inline constexpr int kThresholdIndex = 471;
inline constexpr int kCalibrationIndex = 472;
inline constexpr int kImgDelay = 473;
inline constexpr int kImgRS = 474;
inline constexpr int kImgAFEGain = 475;
inline constexpr int kImgMeasureCnt = 476;
inline constexpr int kFreqDivider = 477;
}  // namespace block

// Mode images (register images of the sensing chip), one per scan group and frequency.
inline constexpr int kModeImageSize = 68;
inline constexpr int kModeGroups = 6;
enum ModeGroup { kNoise = 0, kWLRx = 1, kWLTx = 2, kImg = 3, kVKey = 4, kRsv = 5 };
inline constexpr const char* kGroupNames[kModeGroups] = {"Noise", "WLRx", "WLTx",
                                                         "Img",   "VKey", "Rsv"};

// Image tuning records of a frequency block: 10 records of 6 bytes.
inline constexpr int kTuningRecordCount = 10;
inline constexpr int kTuningRecordSize = 6;
namespace record {
inline constexpr int kDelay = 0;
inline constexpr int kRS = 1;
inline constexpr int kAFEGain = 2;
inline constexpr int kMeasureCnt = 3;
inline constexpr int kGainE = 4;
}  // namespace record

// FREQCTRL bits of a frequency block.
inline constexpr int kFreqCtrlLowGain = 0x02;
inline constexpr int kFreqCtrlWLTxLowGain = 0x04;
inline constexpr int kFreqCtrlWLRxLowGain = 0x08;
inline constexpr int kFreqCtrlVKeyLowGain = 0x10;

inline constexpr int kIdTableR3 = 2554;  // 32 bytes
inline constexpr int kIdTableR3Size = 32;
inline constexpr int kTxEnable = 2586;  // 20 bytes, byte j: Tx channels 8j..8j+7
inline constexpr int kTxEnableBytes = 20;
inline constexpr int kRxEnable = 2606;  // 32 bytes
inline constexpr int kRxEnableBytes = 32;
inline constexpr int kChannelCtrl = 2638;

// Remap areas (a = 0, 1) and key areas (k = 0..47) share the tail of their record: 16-bit
// GroupMassTh, ULx, ULy, LRx, LRy.
inline constexpr int kRemapArea = 2640;  // + 12 a: Attr, DelayCnt, then the five 16-bit fields
inline constexpr int kRemapAreaSize = 12;
inline constexpr int kRemapAreas = 2;
inline constexpr int kKeyAreaLow = 2664;   // key areas 0..31 at + 14 k
inline constexpr int kNumsOfKey = 3112;    // between key areas 31 and 32
inline constexpr int kKeyAreaHigh = 3114;  // key areas 32..47 at + 14 (k - 32)
inline constexpr int kKeyAreaSize = 14;    // Attr, DelayCnt, KeyCode, spare, five 16-bit fields
inline constexpr int kKeyAreasLow = 32;
inline constexpr int kMaxKeyAreas = 48;
inline constexpr int kGrayRange = 3338;  // + 8 g: Top, Bottom, Left, Right (16-bit each)
inline constexpr int kGrayRangeSize = 8;

// ScanCtrl bits.
inline constexpr int kScanWater = 0x0002;
inline constexpr int kScanPipeline = 0x0020;
inline constexpr int kScanTx2Ch = 0x0800;

constexpr int FreqBlock(int f) {
    return kFreqBlock + kFreqBlockSize * f;
}
constexpr int ModeImage(int f, int group) {
    return FreqBlock(f) + block::kModeImages + kModeImageSize * group;
}
constexpr int TuningRecord(int f, int k) {
    return FreqBlock(f) + block::kTuningRecords + kTuningRecordSize * k;
}
constexpr int KeyArea(int k) {
    return k < kKeyAreasLow ? kKeyAreaLow + kKeyAreaSize * k
                            : kKeyAreaHigh + kKeyAreaSize * (k - kKeyAreasLow);
}

static_assert(ModeImage(0, 0) == 106 && ModeImage(0, kImg) == 310);
static_assert(FreqBlock(kMaxFrequencies) == kIdTableR3);
static_assert(KeyArea(31) + kKeyAreaSize == kNumsOfKey && KeyArea(32) == kNumsOfKey + 2);
static_assert(KeyArea(47) + kKeyAreaSize == kGrayRange);
static_assert(kGrayRange + 2 * kGrayRangeSize == 4 + kUsedLength);

}  // namespace hw
