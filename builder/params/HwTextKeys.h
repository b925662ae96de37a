// The keys of the hardware text file that follow a regular pattern, as tables: the writer and the
// reader walk the same table, so a key's offset, range and default are stated once.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "params/HwLayout.h"

class CParamFile;
class CSlave;

namespace hwtext {

// Stands for the delay range 0 ~ PreScaler x 3 - 1 of the frequency in a table's max column.
inline constexpr int kDelayRange = -1000;

// A ranged number item stored at offset (from a base the caller gives) in 8 or 16 bits. Reads
// clamp to readMin~readMax, which for a few keys is wider than the written range.
struct RangedKey {
    const char* key;
    int offset;
    int bits;
    int def, min, max;
    const char* comment;
    int readMin, readMax;
};

struct ByteKey {
    const char* key;
    int offset;
};

// One bit of a flag word as a 0~1 item.
struct BitKey {
    const char* key;
    int bit;
    int def;
    const char* comment;
};

// The image tuning records: key "Img_Delay" is the summary item, "Img_Delay(%d)" record k.
struct RecordKey {
    const char* key;
    int field;          // offset in the record
    int summaryOffset;  // offset of the summary field in the block; -1 when there is none
    int summaryDef;
    int recordDef;
    int min, max;
};

struct EnableMap {
    const char* prefix;
    int offset;
    int bytes;
};

inline constexpr ByteKey kVersionKeys[] = {
    {"MajorVersion", hw::kMajorVersion},           {"MinorVersion", hw::kMinorVersion},
    {"TunerMajorVersion", hw::kTunerMajorVersion}, {"TunerMinorVersion", hw::kTunerMinorVersion},
    {"TunerBuildNo", hw::kTunerBuildNo},
};

inline constexpr BitKey kScanCtrlUserBits[] = {
    {"SCAN_CTRL_WATER", 1, 0, "Enable water line scan function."},
    {"SCAN_CTRL_TX2CH", 11, 0, "Enable enhance tx driving function."},
};

// The trailing blanks of two keys are part of the format's history; keys are trimmed.
inline constexpr BitKey kScanCtrlDetailBits[] = {
    {"SCAN_CTRL_NOISE", 0, 1, "Read Only"},
    {"SCAN_CTRL_IMAGE", 2, 1, "Read Only"},
    {"SCAN_CTRL_PEN  ", 3, 0, ""},
    {"SCAN_CTRL_VKEY ", 4, 0, ""},
    {"SCAN_CTRL_PIPELINE", 5, 1, ""},
    {"SCAN_CTRL_MULTI_PEN", 9, 0, ""},
    {"SCAN_CTRL_LPEN", 10, 0, ""},
    {"SCAN_CTRL_SCAN_RX_GND", 12, 0, ""},
    {"ScanCtrl(14)", 14, 0, ""},
    {"ScanCtrl(15)", 15, 0, ""},
};

inline constexpr BitKey kScanCtrlIdleBits[] = {
    {"SCAN_CTRL_NOISE", 0, 1, "Read Only"},
    {"SCAN_CTRL_WATER", 1, 0, ""},
    {"SCAN_CTRL_IMAGE", 2, 1, "Read Only"},
    {"SCAN_CTRL_PEN  ", 3, 0, ""},
    {"SCAN_CTRL_VKEY ", 4, 0, ""},
    {"SCAN_CTRL_PIPELINE", 5, 1, ""},
    {"SCAN_CTRL_RX_SH_TO_CHANNEL", 6, 1, "Read Only"},
    {"SCAN_CTRL_TX_SH_TO_CHANNEL", 7, 1, "Read Only"},
    {"SCAN_CTRL_IMG_DYNAMIC", 8, 0, "Read Only"},
    {"SCAN_CTRL_MULTI_PEN", 9, 0, ""},
    {"SCAN_CTRL_LPEN", 10, 0, ""},
    {"SCAN_CTRL_TX2CH", 11, 0, ""},
    {"SCAN_CTRL_SCAN_RX_GND", 12, 0, ""},
    {"SCAN_CTRL_MPP", 13, 0, ""},
    {"ScanCtrl_Idle(14)", 14, 0, ""},
    {"ScanCtrl_Idle(15)", 15, 0, ""},
};

// "Sensor Config" before the chip channel ranges.
inline constexpr RangedKey kSensorConfigHead[] = {
    {"XDimension", hw::kXDimension, 16, 2560, 1, 65534,
     "X dimension of the active area of the LCD. [unit: 0.1mm]", 1, 65535},
    {"YDimension", hw::kYDimension, 16, 1030, 1, 65534,
     "Y dimension of the active area of the LCD. [unit: 0.1mm]", 1, 65535},
    {"NumsOfRxChips", hw::kNumsOfRxChips, 8, 1, 1, 4, "", 1, 4},
    {"NumsOfTxChips", hw::kNumsOfTxChips, 8, 1, 1, 4, "", 1, 4},
    {"NumsOfFreq", hw::kNumsOfFreq, 8, 1, 1, 5,
     "The total number of the working frequencies after tuning.", 1, 5},
    {"FreqStartIndex", hw::kFreqStartIndex, 8, 0, 0, 4,
     "The index of initial working frequency when controller is reset or power on.", 0, 4},
};

// "Sensor Config" after the chip channel ranges.
inline constexpr RangedKey kSensorConfigTail[] = {
    {"StartSkipCnt", hw::kStartSkipCnt, 8, 3, 1, 254,
     "Skip counts for power on  baseline initialization", 1, 254},
    {"HopFreqSkipCnt", hw::kHopFreqSkipCnt, 8, 3, 1, 254,
     "Skip counts for frequency hopping baseline initialization", 1, 254},
    {"ShortDelay", hw::kShortDelay, 8, 6, 0, 254, "Short test delay time.", 0, 254},
    {"PowerOnDelayTime", hw::kPowerOnDelayTime, 16, 0, 0, 65534,
     "Delay time(ms) from power on to working", 0, 65534},
};

// "Sensor Config-RD" after the phase targets (the stray counts follow, kernel-dependent).
inline constexpr RangedKey kSensorConfigDetail[] = {
    {"OpenScaling", hw::kOpenScaling, 16, 10, 1, 65534, "Read Only", 1, 65534},
    {"MutualScaling", hw::kMutualScaling, 16, 10, 1, 65534, "Read Only", 1, 65534},
    {"SensorTestScaling", hw::kSensorTestScaling, 8, 4, 0, 254, "Read Only", 0, 254},
};

// "Freq-%d General Config-RD", offsets in the frequency block. FreqDivider is read only on
// controllers whose chip takes it from the file; see the reader.
inline constexpr RangedKey kFrequencyGeneral[] = {
    {"ClkSrc", hw::block::kClkSrc, 8, 12, 0, 4, "", 0, 4},
    {"FreqDivider", hw::block::kFreqDivider, 8, 3, 1, 31, "", 1, 31},
    {"PreScaler", hw::block::kPreScaler, 8, 18, 12, 37, "", 12, 37},
    {"ThresholdIndex", hw::block::kThresholdIndex, 8, 0, 0, 254,
     "Switch threshold mode under this working freq (SWT Ctrl Flag)", 0, 255},
    {"CalibrationIndex", hw::block::kCalibrationIndex, 8, 0, 0, 254, "", 0, 255},
};

inline constexpr const char* kFreqCtrlKeys[8] = {
    "FREQCTRL_PADDING_0",          "FREQCTRL_LOW_GAIN_MODE",      "FREQCTRL_WLTX_LOW_GAIN_MODE",
    "FREQCTRL_WLRX_LOW_GAIN_MODE", "FREQCTRL_VKEY_LOW_GAIN_MODE", "FREQCTRL_PADDING_5",
    "FREQCTRL_PADDING_6",          "FREQCTRL_PADDING_7",
};

// The four summary items of "Freq-%d Img Reg Parameters", offsets in the frequency block.
inline constexpr RangedKey kImgSummary[] = {
    {"Img_MeasureCnt", hw::block::kImgMeasureCnt, 8, 30, 0, 63,
     "Signal measurement time. Increase it for more signal strength but decrease reporting rate.",
     0, 63},
    {"Img_AFEGain", hw::block::kImgAFEGain, 8, 20, 1, 29,
     "Analog front end gain. Decrease it to increase signal strength but decrease noise margin.", 1,
     29},
    {"Img_RS", hw::block::kImgRS, 8, 7, 1, 14,
     "Noise resist level.Decrease it to improve SNR but decrease signal strength.", 1, 14},
    {"Img_Delay", hw::block::kImgDelay, 8, 15, 0, kDelayRange,
     "The offset of measure time. Adjust this parameter to balance the RC loading of touch "
     "sensor.",
     0, kDelayRange},
};

inline constexpr RecordKey kImgRecordKeys[] = {
    {"Img_Delay", hw::record::kDelay, hw::block::kImgDelay, 0, 0, 0, kDelayRange},
    {"Img_RS", hw::record::kRS, hw::block::kImgRS, 1, 1, 1, 14},
    {"Img_AFEGain", hw::record::kAFEGain, hw::block::kImgAFEGain, 24, 24, 1, 29},
    {"Img_MeasureCnt", hw::record::kMeasureCnt, hw::block::kImgMeasureCnt, 0, 0, 0, 63},
    {"Img_GainE", hw::record::kGainE, -1, 0, 0, 0, 63},
};

inline constexpr EnableMap kEnableMaps[] = {
    {"TxEnable", hw::kTxEnable, hw::kTxEnableBytes},
    {"RxEnable", hw::kRxEnable, hw::kRxEnableBytes},
};

// A remap area, from its first byte.
inline constexpr RangedKey kRemapKeys[] = {
    {"Attr", 0, 8, 0, 0, 254,
     "1: AreaRemap (Map resolution to RECT), 2: AreaShrink (Shrink AA resolution)", 0, 254},
    {"DelayCnt", 1, 8, 0, 0, 254, "", 0, 254},
    {"GroupMassTh", 2, 16, 0, 0, 65534, "2nd mass threshold", 0, 65534},
    {"ULx", 4, 16, 0, 0, 65534, "X-coordinate of upper left point.", 0, 65534},
    {"ULy", 6, 16, 0, 0, 65534, "Y-coordinate of upper left point.", 0, 65534},
    {"LRx", 8, 16, 0, 0, 65534, "X-coordinate of lower right point.", 0, 65534},
    {"LRy", 10, 16, 0, 0, 65534, "Y-coordinate of lower right point.", 0, 65534},
};

// A key area, from its first byte (byte 3 is not interpreted).
inline constexpr RangedKey kKeyAreaKeys[] = {
    {"Attr", 0, 8, 0, 0, 254, "1: HID Keyboard, 2: VORN Virtual Key", 0, 254},
    {"DelayCnt", 1, 8, 0, 0, 254, "Key area down count.", 0, 254},
    {"KeyCode", 2, 8, 0, 0, 254, "HID Keycode.", 0, 254},
    {"GroupMassTh", 4, 16, 0, 0, 65534, "Key area GroupMassTh.", 0, 65534},
    {"ULx", 6, 16, 0, 0, 65534, "X-coordinate of upper left point.", 0, 65534},
    {"ULy", 8, 16, 0, 0, 65534, "Y-coordinate of upper left point.", 0, 65534},
    {"LRx", 10, 16, 0, 0, 65534, "X-coordinate of lower right point.", 0, 65534},
    {"LRy", 12, 16, 0, 0, 65534, "Y-coordinate of lower right point.", 0, 65534},
};

// A gray range, from its first byte.
inline constexpr RangedKey kGrayKeys[] = {
    {"Top", 0, 16, 0, 0, 65534, "", 0, 65534},
    {"Bottom", 2, 16, 0, 0, 65534, "", 0, 65534},
    {"Left", 4, 16, 0, 0, 65534, "", 0, 65534},
    {"Right", 6, 16, 0, 0, 65534, "", 0, 65534},
};

struct ValueRange {
    int first;
    int last;
};

// The sine amplitude range of a mode group.
ValueRange SinAmpRangeOf(CSlave& chip, int group);
// The usable channels of the chip a virtual-key selector names; a selector outside 0..1 counts as
// the nearer end.
ValueRange VKeyTxRange(CSlave& chip, int selector);
ValueRange VKeyRxRange(CSlave& chip, int selector);

// The end of the delay range 0 ~ PreScaler x 3 - 1, in int: a PreScaler of 0 gives an empty
// range, never a wrapped one.
constexpr int DelayMax(int preScaler) {
    return preScaler * 3 - 1;
}

// Kernels from 3.31 on keep the stray counts in the software set.
bool StrayCountsInSoftwareSet(int kernelMajor, int kernelMinor);

// "format" with one integer inserted.
std::string Indexed(const std::string& format, int index);
// "Freq-%d %s Reg Parameters".
std::string RegSectionName(int frequency, const char* group);
// "TxEnable_%d_%d" for byte j: channels 8j + 7 down to 8j.
std::string EnableKey(const char* prefix, int byte);

// A section header, and the empty line that ends a section.
void Section(CParamFile& file, std::string_view name, int level);
void EndSection(CParamFile& file, int level);

// The ranged items of a table whose offsets count from base; delayMax replaces kDelayRange.
void WriteRangedKeys(CParamFile& file, std::span<uint8_t> image, std::span<const RangedKey> keys,
                     std::string_view section, int level, int base = 0, int delayMax = 0);
void ReadRangedKeys(CParamFile& file, std::span<uint8_t> image, std::span<const RangedKey> keys,
                    std::string_view section, int base = 0, int delayMax = 0);
// One item of a table.
void WriteRangedKey(CParamFile& file, std::span<uint8_t> image, const RangedKey& key,
                    std::string_view section, int level, int base, int delayMax);
void ReadRangedKey(CParamFile& file, std::span<uint8_t> image, const RangedKey& key,
                   std::string_view section, int base, int delayMax);

}  // namespace hwtext
