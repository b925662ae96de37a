#include "model/DrawReports.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "model/DrawOps.h"

namespace tuner {
namespace {

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
int16_t S16(const uint8_t* p) {
    return static_cast<int16_t>(U16(p));
}
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr std::size_t kRecordOffset = 4;
constexpr std::size_t kPointCountByte = 54;
constexpr std::size_t kPointRecordSize = 10;

struct ErrorBitName {
    int bit;
    std::string_view text;
};

// Bit 6 carries two names, both shown. The names from bit 20 on end with a blank only.
constexpr ErrorBitName kErrorBitNames[] = {
    {0, "ERR_ALG_PARAM, "},
    {1, "ERR_HW_PARAM, "},
    {2, "ERR_SENSING, "},
    {3, "ERR_DRIVING, "},
    {4, "ERR_ADC, "},
    {5, "ERR_NOISY, "},
    {6, "ERR_T310_INVALID, "},
    {6, "ERR_RX_INVALID, "},
    {7, "ERR_TX_SHORT, "},
    {8, "ERR_UTABLE_CRC_FAIL, "},
    {9, "ERR_STRAY_CONFIDENCE_FAIL, "},
    {10, "ERR_EXT_DISABLE_TOUCH, "},
    {11, "ERR_WATER_DISABLE_TOUCH, "},
    {12, "ERR_SW_DISABLE_TOUCH, "},
    {13, "ERR_MEMORY_INVALID, "},
    {14, "ERR_HV_INVALID, "},
    {15, "ERR_STRAY_INVALID, "},
    {20, "ERR_REPORTID_INVALID "},
    {21, "ERR_NOISE_CONDITION "},
    {22, "ERR_WATER_CONDITION "},
    {23, "ERR_CAL_DCOFFSET "},
    {24, "ERR_IC_VENDOR "},
    {26, "ERR_PEN_PARAM "},
    {27, "ERR_SPI "},
    {28, "ERR_FULL_ADC_CAL "},
};

constexpr std::string_view kScanStateNames[] = {
    "N_PRE_DET_RX, ", "N_DET_RX, ", "B_DET_RX, ",     "DET_RX,   ", "N_PRE_DET_TX, ", "N_DET_TX, ",
    "B_DET_TX, ",     "DET_TX,   ", "N_PRE_RAW_RX, ", "N_RAW_RX, ", "B_RAW_RX, ",     "RAW_RX,   ",
    "N_PRE_RAW_TX, ", "N_RAW_TX, ", "B_RAW_TX, ",     "RAW_TX,   ",
};

constexpr std::string_view kButtonPanelNames[] = {"ERRORS", "NORMAL", "BARREL", "ERASER"};
constexpr std::string_view kButtonLogNames[] = {"Error, ", "Normal, ", "Barrel, ", "Eraser, "};

std::string Unknown(int value) {
    char text[24];
    std::snprintf(text, sizeof text, "Unknown(%d)", value);
    return text;
}

}  // namespace

bool IsPointReport(const DevReport& report) {
    const uint8_t kind = report.bytes[2], sub = report.bytes[3];
    return kind == kKindPoints || sub == kSubPoints || sub == kSubPointsAlt;
}

PointReport DecodePoints(const DevReport& report) {
    PointReport points;
    // The count byte may claim more records than the report holds.
    points.count = std::min<int>(report.bytes[kPointCountByte], kMaxPointsPerReport);
    for (int k = 0; k < points.count; ++k) {
        const uint8_t* p = report.bytes + kRecordOffset + kPointRecordSize * k;
        PointRecord& r = points.points[static_cast<std::size_t>(k)];
        r.status = p[0];
        r.id = p[1];
        r.x = U16(p + 2);
        r.y = U16(p + 4);
        r.z = S16(p + 6);
        r.byte8 = p[8];
        r.byte9 = p[9];
    }
    return points;
}

StylusStyle StyleOf(const PointRecord& record) {
    if (record.status & status_bit::kBarrel) return StylusStyle::kBarrel;
    if (record.status & status_bit::kEraser) return StylusStyle::kEraser;
    if (record.status & status_bit::kContact) return StylusStyle::kTip;
    if (record.status & status_bit::kHover) return StylusStyle::kHover;
    return StylusStyle::kInRange;
}

bool IsTouchInfoReport(const DevReport& report) {
    return report.bytes[2] == kKindInfo && report.bytes[3] == kSubTouchInfo;
}

bool IsStylusInfoReport(const DevReport& report) {
    return report.bytes[2] == kKindInfo && report.bytes[3] == kSubStylusInfo;
}

TouchInfo DecodeTouchInfo(const DevReport& report) {
    const uint8_t* r = report.bytes + kRecordOffset;
    TouchInfo t;
    t.freqIndex = r[0];
    t.strayConfidence = r[1];
    t.touches = r[3];
    t.water = r[4];
    t.noiseCondition = r[5];
    t.palm = r[6];
    t.sf1 = U16(r + 7);
    t.sf2 = r[9];
    t.palmCount = r[10];
    t.waterDisablesTouch = r[11];
    t.idle = r[12];
    t.maxNoise = S16(r + 15);
    t.maxNoiseRx = r[17];
    t.cMax = S16(r + 19);
    t.waterQuantity = S16(r + 21);
    t.cMin = S16(r + 25);
    t.threshold = r[28];
    t.errorWord = U32(r + 29);
    for (std::size_t i = 0; i < t.debug.size(); ++i) t.debug[i] = S16(r + 35 + 2 * i);
    return t;
}

StylusInfo DecodeStylusInfo(const DevReport& report) {
    const uint8_t* r = report.bytes + kRecordOffset;
    StylusInfo s;
    s.scanState = r[0];
    s.errorState = U16(r + 1);
    s.rawZ1 = U16(r + 3);
    s.rawZ2 = U16(r + 5);
    s.z1 = U16(r + 7);
    s.z2 = U16(r + 9);
    s.maxSig = U16(r + 11);
    s.secSig = U16(r + 13);
    s.maxButton = U16(r + 15);
    s.secButton = U16(r + 17);
    s.aPenState = U16(r + 19);
    s.buttonState = r[21];
    s.buttonStateIndex = r[22];
    s.maxSigIndex = r[23];
    s.secSigIndex = r[24];
    s.maxNonZeroNum = r[25];
    s.nonZeroStartIndex = r[26];
    s.z1Comp = U16(r + 27);
    s.speed = U16(r + 29);
    s.noiseCount = r[31];
    s.freqScanIndex = r[32];
    s.noiseCondition = r[33];
    s.maxNoiseIndex = r[34];
    s.maxNoise = U16(r + 35);
    s.noiseDetectCount = r[37];
    s.xTilt = S16(r + 38);
    s.yTilt = S16(r + 40);
    for (std::size_t i = 0; i < s.debug.size(); ++i) s.debug[i] = U16(r + 42 + 2 * i);
    return s;
}

bool IsTouchKeyReport(const DevReport& report) {
    return report.bytes[2] == kKindTouchKey;
}

TouchKeyState DecodeTouchKey(const DevReport& report) {
    return {(report.bytes[3] & 1u) != 0, report.bytes[4]};
}

bool IsDisconnectNotice(const DevReport& report) {
    return report.bytes[1] == 2 && report.bytes[3] == 0x70 && report.bytes[4] == 3;
}

FrequencyState DecodeFrequencyTable(const uint8_t* a) {
    FrequencyState f;
    f.count = a[0];
    f.index = a[1];
    // The table holds at most 31 entries after its two header bytes.
    const int at = 2 + 2 * f.index;
    if (f.index < f.count && at + 1 <= 63)
        f.text = Format("%.1f KHz", (a[at] | (a[at + 1] << 8)) / 100.0);
    return f;
}

std::string ErrorWordNames(uint32_t errorWord) {
    std::string names;
    for (const ErrorBitName& name : kErrorBitNames)
        if (errorWord & (1u << name.bit)) names += name.text;
    return names;
}

std::string ScanStateName(uint8_t state) {
    if (state >= 1 && state <= std::size(kScanStateNames))
        return std::string(kScanStateNames[state - 1]);
    return Unknown(state);
}

std::string ButtonStatePanelName(uint8_t state) {
    if (state < std::size(kButtonPanelNames)) return std::string(kButtonPanelNames[state]);
    return Unknown(state);
}

std::string ButtonStateLogName(uint8_t state) {
    if (state < std::size(kButtonLogNames)) return std::string(kButtonLogNames[state]);
    return Unknown(state) + ", ";
}

}  // namespace tuner
