#include "params/CParam_SW.h"

#include <algorithm>
#include <cstring>

#include "core/BuilderLog.h"
#include "device/CAPI.h"
#include "files/CParamFile.h"
#include "params/CParam_HW.h"
#include "params/SwLayout.h"
#include "params/SwTextItems.h"

namespace {

using namespace SwLayout;
namespace B = SwLayout::Block;

constexpr ParamExtensions kExtensions{".swt", ".sw", ""};
constexpr uint16_t kModeParameterWrite = 0x8001;
constexpr uint16_t kModeCommand = 0x8000;

uint16_t Saturated(int64_t value) {
    return static_cast<uint16_t>(std::clamp<int64_t>(value, 0, 65535));
}

}  // namespace

int CParam_SW::InitFileName() {
    return BuildFileNames(kExtensions) ? 1 : 0;
}

int CParam_SW::InitDefaultFileName() {
    BuildDefaultFileNames(kExtensions);
    return 0;
}

int CParam_SW::UniformityParameter() const {
    return Word(kThresholdBlockOffset + kUniformityInBlock);
}

int CParam_SW::LoadDefault() {
    uint8_t* image = Image();
    std::fill(image, image + ImageLength(), 0xFF);
    SetWord(0, kUsedLength);
    SetWord(2, 0);
    StampWriterVersion(kStructMajor, kStructMinor);
    SetByte(kParamVersion, 0);
    std::memset(image + kModelNum, 0, kModelNumWidth);
    std::memcpy(image + kModelNum, "GXXX", 4);
    std::memset(image + kFwVersion, 0, kFwVersionWidth);
    std::memcpy(image + kFwVersion, "99", 2);
    std::memset(image + kModelInfo, 0, kModelInfoWidth);
    std::memcpy(image + kModelInfo, "K7PXXX", 6);
    SetWord(kBid, 0);

    StoreRangedDefaults();
    SetByte(kAxisFlags, 0);
    SetByte(kNoiseNodeCntRatio, 0xFF);  // the firmware's own default applies to it

    constexpr uint16_t kWords[4] = {0x401A, 0x0228, 0x0200, 0x0000};
    for (int w = 0; w < 4; ++w) SetWord(CtrlFlags(w), kWords[w]);
    SetWord(kNotifyCtrl, 0);
    for (int t = 0; t < kThresholdModes; ++t) {
        const int block = ThresholdBlock(t);
        SetWord(block + B::kCtrlCopy0, kWords[0]);
        SetWord(block + B::kCtrlCopy1, kWords[1]);
        SetWord(block + B::kCtrlCopy2, kWords[2]);
        SetWord(block + B::kWaterThHigh, 600);
        SetByte(block + B::kWaterLineThRatio, 10);
        SetByte(block + B::kWaterRxCorrectTime, 1);
        SetByte(block + B::kWaterTxCorrectTime, 1);
    }
    SetByte(kAloneTouchSignalLenTh, 5);
    SetByte(kUTableType, 0);
    for (int a = 0; a < kActiveAreas; ++a) {
        const int area = ActiveArea(a);
        for (int corner = 0; corner < 4; ++corner) SetWord(area + 2 * corner, 0);
        SetByte(area + kAreaAttribute, 0);
        SetByte(area + kAreaDelayCnt, 0);
    }
    for (int i = 0; i < kTempParamCount; ++i) SetWord(kTempParams + 2 * i, 0);

    SetWord(kUsbCtrl, 0x0001);
    SetWord(kRemoteWakeupDelay, 0);
    SetByte(kRightClick, 0xC2);
    SetByte(kReportIdSel, 0);
    SetWord(kUsbInRushCurrentDelay, 0);
    SetWord(kSleepCnt, 20);
    SetWord(kPwrCtrl, 0);
    SetWord(kHvReadyDelayCtrl, 0);
    SetByte(kWakeUpOnTap, 0);
    SetByte(kSysScanInterval, 20);
    SetByte(kSysHvRdyTime, 10);
    SetByte(kSysPwrLevelW0, 2);
    SetByte(kSysPwrLevelW1, 2);
    for (int w = 0; w < kPowerLevels; ++w) {
        SetByte(kAlgScanInterval + w, 0);
        SetWord(kAlgNextLevelTimer + 2 * w, 0);
        SetByte(kAlgPwrLevel + w, 0);
        SetByte(kAlgHvRdyTime + w, 10);
    }
    SetWord(kRs232Baud, 1152);
    SetByte(kInterfaceSupport, 0x07);
    SetByte(kRs232Ctrl, 0x01);
    SetByte(kInterfaceSelFinger, 0xDD);
    SetByte(kInterfaceSelPen, 0xDD);
    SetByte(kSel2ndInterface, 0);
    SetByte(kMaxContactId, 40);
    SetByte(kMax2ndContactId, 40);
    SetByte(kMaxPenId, 4);
    SetByte(kMax2ndPenId, 4);
    SetWord(kUartReportFormat, 0x00A0);
    UpdateCheckSum();
    return 1;
}

void CParam_SW::PrepareThresholdBlocks() {
    const int uniformity0 = Word(ThresholdBlock(0) + B::kUniformity);
    for (int t = 0; t < kThresholdModes; ++t) {
        const int block = ThresholdBlock(t);
        const int average = Word(block + B::kAvgTouchSignal);
        if (average == 0) {
            // Thresholds set by hand: the bases follow them.
            SetWord(block + B::kCookTouchBase, Word(block + B::kCookTouchTh));
            SetWord(block + B::kGroupMassBase, Word(block + B::kGroupMassTh));
            continue;
        }
        const int touch = average * 65 / 100;
        SetWord(block + B::kTouchThFinger, static_cast<uint16_t>(touch));
        SetWord(block + B::kDeltaTouchTh, static_cast<uint16_t>((touch & 0xFF) * 13 / 10));
        const int flat = std::min((uniformity0 / 2 + Word(block + B::kUniformity)) / 2, 254);
        SetByte(block + B::kRawFlatForStray, static_cast<uint8_t>(flat));
        SetByte(block + B::kRawFlatForPoint, static_cast<uint8_t>(flat));
        SetWord(block + B::kCookTouchTh, Word(block + B::kCookTouchBase));
        SetWord(block + B::kGroupMassTh, Word(block + B::kGroupMassBase));
    }
}

// Research mode: palm rejection on, water proofing off, and block 0's water, palm and noise
// thresholds derived from its touch thresholds (16-bit results saturate instead of wrapping).
void CParam_SW::ApplyResearchDerivations() {
    SetWord(CtrlFlags(0), static_cast<uint16_t>((Word(CtrlFlags(0)) & 0xFF7F) | 0x0500));
    const int block = ThresholdBlock(0);
    SetByte(block + B::kPalmEnableTouchSize, 26);
    const int64_t cook = Word(block + B::kCookTouchTh);
    const int64_t negative = cook / 2;
    SetWord(block + B::kWaterNegativeTh, Saturated(negative));
    SetWord(block + B::kWaterTh, Saturated(negative * 10 / 4));
    SetWord(block + B::kWaterTouchDisableTh, Saturated(negative * 55 / 4));
    SetWord(block + B::kWaterCookTouchTh, Saturated(cook * 12 / 10));
    SetWord(block + B::kPalmRejectTouchMass, Saturated(int64_t{Word(block + B::kGroupMassTh)} * 7));
    const int touch = Word(block + B::kTouchThFinger);
    const int frequencies = std::min<int>(Host()->Hardware().frequencies, kNoiseFrequencies);
    for (int f = 0; f < frequencies; ++f) {
        SetWord(kNoiseTh + 2 * f, static_cast<uint16_t>(touch * 8 / 10));
        SetWord(kNoiseConditionTh + 2 * f, static_cast<uint16_t>(touch * 7 / 10));
    }
}

int CParam_SW::PrepareForDownload() {
    PrepareThresholdBlocks();
    if (Host()->Options().fixed.research) ApplyResearchDerivations();
    UpdateCheckSum();
    return 0;
}

bool CParam_SW::SetThresholdsFromOptions() {
    const ThresholdOptions& o = Host()->Options().thresholds;
    // Only blocks 0 to 2 exist; a larger index would land on other settings or past the image.
    bool written = o.block < kThresholdModes;
    if (written) {
        const int block = ThresholdBlock(o.block);
        SetWord(block + B::kAvgTouchSignal, 0);
        SetWord(block + B::kUniformity, o.Uniformity);
        SetWord(block + B::kCookTouchTh, o.CookTouchTh);
        SetWord(block + B::kDeltaTouchTh, o.DeltaTouchTh);
        SetWord(block + B::kGroupMassTh, o.GroupMassTh);
        SetWord(block + B::kTouchThFinger, o.TouchThFinger);
        SetByte(block + B::kRawFlatForStray, o.RawFlatForStray);
        SetByte(block + B::kRawFlatForPoint, o.RawFlatForPoint);
        SetWord(block + B::kCookTouchBase, o.CookTouchTh);
        SetByte(block + B::kSensitivityLevel, 0);
        SetWord(block + B::kGroupMassBase, o.GroupMassTh);
        PrepareForDownload();
        CAPI& api = Host()->Api();
        written = api.SwitchWorkMode(kModeParameterWrite) && WriteToDevice() == kParamOk &&
                  api.SwitchWorkMode(kModeCommand);
    }
    if (!written) MainLog().Print(kColourError, kRouteBoth, "Set Parameter Fail\n");
    return written;
}

void CParam_SW::CheckCalibrationResolution() {
    struct Axis {
        int classOfController;
        std::array<int, 2> low;   // corners that take 512 << class
        std::array<int, 2> high;  // corners that take 3584 << class
        const char* message;
    };
    const ControllerGeometry& c = Host()->Geometry();
    // Offsets within a calibration set: LLX 0, LLY 2, ULX 4, ULY 6, URX 8, URY 10, LRX 12, LRY 14.
    const Axis axes[] = {
        {c.rangeClassX,
         {0, 4},
         {8, 12},
         "X axis resolution not match set calibration data to default value\n"},
        {c.rangeClassY,
         {6, 10},
         {2, 14},
         "Y axis resolution not match set calibration data to default value\n"},
    };
    const auto classOf = [](int v) { return v >= 8192 ? 2 : v >= 4096 ? 1 : 0; };
    for (const Axis& axis : axes) {
        int largest = 0;
        for (int set = 0; set < kCalibrationSets; ++set) {
            for (int corner : {axis.low[0], axis.low[1], axis.high[0], axis.high[1]}) {
                largest = std::max<int>(largest, Word(CalibrationSet(set) + corner));
            }
        }
        const int wanted = std::clamp(axis.classOfController, 0, 2);
        if (classOf(largest) == wanted) continue;
        MainLog().Print(kColourError, kRouteBoth, axis.message);
        for (int set = 0; set < kCalibrationSets; ++set) {
            for (int corner : axis.low) SetWord(CalibrationSet(set) + corner, 512 << wanted);
            for (int corner : axis.high) SetWord(CalibrationSet(set) + corner, 3584 << wanted);
        }
    }
}
