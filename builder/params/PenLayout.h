// Where each field of the stylus parameter image lies: byte offsets from the start of the
// 4096-byte image, little-endian 16-bit values, no alignment. Bytes the layout does not name are
// carried through dumps, files and writes unchanged.
#pragma once

namespace pen {

inline constexpr int kImageLength = 4096;
inline constexpr int kUsedLength = 3676;

// Common head: used length, checksum, version bytes.
inline constexpr int kMajorVersion = 4;
inline constexpr int kMinorVersion = 5;
inline constexpr int kTunerMajorVersion = 6;
inline constexpr int kTunerMinorVersion = 7;
inline constexpr int kTunerBuildNo = 8;
inline constexpr int kParamVersion = 9;

inline constexpr int kCtrlFlag = 10;  // 16-bit hardware control word
inline constexpr int kNumsOfPenSupport = 12;

// Beacon and scan settings.
inline constexpr int kNumsOfFreq = 64;  // stylus working frequencies, 1..3
inline constexpr int kAutoSetAGC = 65;
inline constexpr int kBeaconWaveN = 66;
inline constexpr int kBeaconWaveSignal = 67;
inline constexpr int kBeaconPreScaler = 68;  // + f
inline constexpr int kIdleBeaconDelayTime = 71;
inline constexpr int kIdleBeaconGainH = 72;
inline constexpr int kTxDelayUs = 74;  // 16-bit
inline constexpr int kNoiseScanCnt = 82;
inline constexpr int kBeaconScanCnt = 83;
inline constexpr int kDetectScanCnt = 84;
inline constexpr int kRawScanCnt = 85;
inline constexpr int kLongBeaconRound = 86;
inline constexpr int kLPenChip = 87;
inline constexpr int kLPenPin = 88;  // + i, 4 bytes

// Frequency block f at kFreqBlock + kFreqBlockSize * f.
inline constexpr int kMaxFrequencies = 3;
inline constexpr int kFreqBlock = 128;
inline constexpr int kFreqBlockSize = 384;
namespace block {
inline constexpr int kClkSrc = 0;
inline constexpr int kFreqCtrl = 1;
inline constexpr int kPreScaler = 2;
inline constexpr int kFreqDevider = 3;
inline constexpr int kTxRs = 4;        // + 4i, i = 0..2
inline constexpr int kTxAfeGain = 5;   // + 4i
inline constexpr int kRxRs = 16;       // + 4i
inline constexpr int kRxAfeGain = 17;  // + 4i
inline constexpr int kModeImages = 44;
}  // namespace block
inline constexpr int kCompensations = 3;

// Stylus scan groups and their register images ("mode images") in each frequency block.
inline constexpr int kGroups = 5;
inline constexpr int kModeImageSize = 68;
inline constexpr int kDetRx = 0, kDetTx = 1, kRawRx = 2, kRawTx = 3, kRsv = 4;
inline constexpr const char* kGroupNames[kGroups] = {"DetRx", "DetTx", "RawRx", "RawTx", "Rsv"};

constexpr int FreqBlock(int f) {
    return kFreqBlock + kFreqBlockSize * f;
}
constexpr int ModeImage(int f, int g) {
    return FreqBlock(f) + block::kModeImages + kModeImageSize * g;
}

// Stylus control words n = 0..4; the bits of word 0 have names of their own.
inline constexpr int kPenCtrl = 1280;  // + 2n, 16-bit
inline constexpr int kPenCtrlWords = 5;
inline constexpr int kFarSignalCompensationBit = 8;
inline constexpr int kDelayTime = 1290;  // 16-bit

// Thresholds (16-bit).
inline constexpr int kDetectTh = 1304;
inline constexpr int kDetectThH = 1306;
inline constexpr int kTipTh = 1308;
inline constexpr int kTouchTh = 1310;
inline constexpr int kTouchThEdge = 1312;
inline constexpr int kButtonTh = 1314;
inline constexpr int kNoiseTh = 1316;
inline constexpr int kNoiseThHover = 1318;
inline constexpr int kDetectThWithPalm = 1320;
inline constexpr int kDetectThEdge = 1322;
inline constexpr int kDiff2HoverCntTH = 1336;
inline constexpr int kHover2IdleCntTH = 1337;
inline constexpr int kDyButtonTh = 1338;
inline constexpr int kDetectEdgeCh = 1339;

// Pressure (16-bit unless said).
inline constexpr int kZ1Th = 1352;
inline constexpr int kZ2Th = 1354;
inline constexpr int kZBase = 1356;
inline constexpr int kZResolution = 1358;
inline constexpr int kZClampMin = 1360;
inline constexpr int kZClampMax = 1362;
inline constexpr int kZ1Z2Offset = 1364;
inline constexpr int kZMedianFilterSize = 1366;
inline constexpr int kZFilterLevel = 1372;  // 8-bit
inline constexpr int kZMinFilter = 1373;    // 8-bit
inline constexpr int kZFilterRange = 1374;  // 8-bit

// General software settings.
inline constexpr int kXResolution = 1376;  // 16-bit
inline constexpr int kYResolution = 1378;  // 16-bit
inline constexpr int kReportRateScanTime = 1386;
inline constexpr int kDownCnt = 1387;
inline constexpr int kUpCnt = 1388;
inline constexpr int kTipDownCnt = 1389;
inline constexpr int kJudgeSkipCnt = 1390;
inline constexpr int kButtonStateSkipCnt = 1391;
inline constexpr int kDetectDownCnt = 1392;
inline constexpr int kHoverUpCnt = 1393;
inline constexpr int kFirstDownConst = 1394;
inline constexpr int kHoverConstArea = 1395;
inline constexpr int kTipDownConstArea = 1396;
inline constexpr int kSlowSpeedTh = 1397;
inline constexpr int kSlowConstArea = 1398;
inline constexpr int kApenNoiseCheckTimes = 1399;
inline constexpr int kApenNoiseCheckCnt = 1400;
inline constexpr int kNumOfNoiseLineTHL = 1401;
inline constexpr int kNumOfNoiseLineTHH = 1402;
inline constexpr int kHoverPhaseLagLevel = 1403;
inline constexpr int kTipDownPhaseLagLevel = 1404;
inline constexpr int kTipDownPhaseLagLevelH = 1405;
inline constexpr int kSpeedForTipComp = 1406;  // 16-bit
inline constexpr int kPhaseLeadLevelForTipComp = 1408;

// Margins, filters and tilt.
inline constexpr int kMarginMassTx0 = 1416;        // 12 bytes to DrawInOutSpeedY
inline constexpr int kDrawInOutBlockSpeed = 1436;  // 16-bit
inline constexpr int kDrawFilter = 1440;           // 8 bytes
inline constexpr int kHoverFilter = 1456;          // 8 bytes, the same keys
inline constexpr int kTxVectorOffset = 1480;
inline constexpr int kRxVectorOffset = 1481;
inline constexpr int kAPenLength = 1482;

// Stylus threshold modes: block t at kThresholdBlock + kThresholdBlockSize * t.
inline constexpr int kNumsOfThresholds = 1492;
inline constexpr int kMaxThresholds = 4;
inline constexpr int kThresholdBlock = 1536;
inline constexpr int kThresholdBlockSize = 64;
namespace threshold {
inline constexpr int kHoverFilter = 0;
inline constexpr int kMinFilter = 1;
inline constexpr int kMaxFilter = 2;
inline constexpr int kZMaxFilter = 3;
inline constexpr int kZBase = 4;     // 16-bit
inline constexpr int kDetectTh = 6;  // 16-bit
inline constexpr int kTouchTh = 8;   // 16-bit
inline constexpr int kTipDownConstArea = 10;
inline constexpr int kFirstDownConst = 11;
inline constexpr int kSlowConstArea = 12;
inline constexpr int kJudgeSkipCnt = 13;
inline constexpr int kZMinFilter = 14;
}  // namespace threshold

constexpr int ThresholdBlock(int t) {
    return kThresholdBlock + kThresholdBlockSize * t;
}

// Research parameters.
inline constexpr int kSignedTempParams = 1792;  // 2 signed 16-bit values
inline constexpr int kTempParams = 1796;        // 10 16-bit values
inline constexpr int kTempParamCount = 10;

}  // namespace pen
