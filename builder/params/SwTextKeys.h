// The keys of the software text file (.swt) as tables: where each value lies in the image, how it
// is written (range, default, comment) and how loading reads it back. SwTextFile.cpp walks these
// tables section by section; the few keys whose loading merges bits in a special way are read by
// code there, but are still described here for writing.
#pragma once

#include <cstdint>
#include <span>

enum class SwWidth : uint8_t { U8, S8, U16, S16 };

// Where an item's offset points: the image itself, the threshold mode's 144-byte block, the mode's
// water settings, or the active area's 40-byte record.
enum class SwArea : uint8_t { Image, ModeBlock, ModeWater, ActiveArea };

// When " Read Only" is appended to an item's comment: the feature that uses the value is off, or
// the value is derived by the builder.
enum class ReadOnlyWhen : uint8_t {
    Never,
    FixWhByMassOff,          // CtrlFlags(3) FIX_WH_BY_MASS clear
    ReportPalmGroupOn,       // CtrlFlags(2) REPORT_PALM_GROUP set
    AvgTouchSignalSet,       // the mode's AvgTouchSignal is not 0
    ImgCheckNoiseOff,        // CtrlFlags(2) IMG_CHECK_NOISE clear
    ModeWaterProofOff,       // the mode's own WATER_PROOF bit clear
    ModePalmRejectionOff,    // the mode's own PALM_REJECTION bit clear
    HwWaterScanOff,          // the hardware set's SCAN_CTRL_WATER clear
    WLRxTouchThSet,          // the mode's WLRxTouchTh is not 0
    WLTxTouchThSet,          // the mode's WLTxTouchTh is not 0
    AutoFrequencyOff,        // CtrlFlags(0) AUTO_FREQUENCY clear
    DynamicCookTouchThOff,   // both dynamic cook-touch bits of CtrlFlags(2) clear
    NoFingerSeparation,      // no block's copy of word 0 has ENHANCE_FINGER_SEPARATION
    NoPalmRejection,         // no written mode has PALM_REJECTION
    NoPassiveStylus,         // no written mode has PASSIVE_STYLUS
    MarginImproveOff,        // CtrlFlags(0) MARGIN_IMPROVE clear
    LiftOffRawHistogramOff,  // CtrlFlags(3) LIFTOFF_USE_RAWHISTRO clear
    AreaInvalid,             // the active area's AA_ATTR_VALID clear
};

// The "SensitivityFix(%d). " comment prefix of the sensitivity items.
enum class SwPrefix : uint8_t { None, Sensitivity, SensitivityCook };

enum class SwWrite : uint8_t {
    Ranged,      // value, min~max; out of range: the default replaces it (in the image too)
    Plain,       // value and a fixed range text
    Text,        // the value as text and a fixed range text (active area bits)
    NotWritten,  // loading reads a key that writing never emits
};

enum class SwLoad : uint8_t {
    Clamped,     // read, clamped to loadMin~loadMax, stored
    Plain,       // read and stored into the field's width without clamping
    NotApplied,  // read and clamped (for its message), the image keeps its value
    NotRead,
};

// A number item: a whole field of the image.
struct SwItem {
    const char* key;
    SwArea area;
    int offset;
    SwWidth width;
    SwWrite write;
    int32_t min, max, def;  // Ranged
    const char* rangeText;  // Plain
    const char* comment;
    SwLoad load;
    int32_t loadMin, loadMax;
    ReadOnlyWhen readOnly = ReadOnlyWhen::Never;
    SwPrefix prefix = SwPrefix::None;
};

// A bit item: one bit (or a run of bits) of an 8- or 16-bit field, written as its own key. How a
// section merges what it read into the image is decided by that section's loading code.
struct SwBits {
    const char* key;
    int offset;  // of the field, in the image (or in the block / area for mode and area items)
    bool wide;   // 16-bit field
    uint16_t mask;
    SwWrite write;
    int32_t def;            // Ranged: range is 0 ~ mask >> shift
    const char* rangeText;  // Plain, Text
    const char* comment;
    int32_t loadMin, loadMax;
    ReadOnlyWhen readOnly = ReadOnlyWhen::Never;
    int level = 0;  // 0: the section's level
};

struct SwSection {
    const char* name;  // "%d" is the threshold mode, calibration set or active area
    std::span<const SwItem> items;
};

namespace SwKeys {

// Sections of plain and ranged number items, in file order.
extern const SwSection kVersionInformation;
extern const SwSection kVersionInformationRd;
extern const SwSection kGeneralConfig;         // TouchMode, NumsOfThresholds, StartThreshold
extern const SwSection kGeneralConfigRd;       // up to IdleUpdateTime
extern const SwSection kGeneralConfigRdLevel;  // IdleUpdateLevel, after the stray counts
extern const SwSection kWaterSetting;
extern const SwSection kWaterSettingRd;

// Threshold mode sections (items in ModeBlock / ModeWater), in file order after the two
// "---Ctrl Flag-%d" sections.
extern const std::span<const SwSection> kModeSections;

// Global sections between the threshold modes and the calibration set.
extern const std::span<const SwSection> kGlobalSections;

extern const SwSection kStrayCounts;  // from kernel 3.31 on
extern const SwSection kTempParams;   // "Temp Param-RD"
// The corners LLX, LLY, ULX, ULY, URX, URY, LRX, LRY of calibration set 0, 1 or 2.
std::span<const SwItem> CalibrationItems(int set);
// The four settings of power level 0 to 3 in "Power Setting-RD".
std::span<const SwItem> PowerLevelItems(int level);

extern const SwSection kActiveAreaNumbers;   // DelayCnt, ULx, ULy, LRx, LRy
extern const SwSection kUsb;                 // ReportIDSel
extern const SwSection kUsbRd;               // RemoteWakeupDelay, USBIFInRushCurrentDelay
extern const SwSection kPowerRd;             // SleepCnt, HVReadyDelayCtrl, WakeUpOnTap
extern const SwSection kSysPower;            // Sys_* items of "Power Setting-RD"
extern const SwSection kInterfaceSupportRd;  // RS232Baud
extern const SwSection kInterfaceConfigRd;   // Sel2ndInterface to Max2ndPenID

// Bit keys.
extern const std::span<const SwBits> kAxisBits;
extern const std::span<const SwBits> kGeneralCtrlBits;    // "Alg General Config"
extern const std::span<const SwBits> kGeneralCtrlBitsRd;  // "Alg General Config-RD", per word
extern const std::span<const SwBits> kModeCtrlBits;       // "---Ctrl Flag-%d"
extern const std::span<const SwBits> kModeCtrlBitsRd;     // "---Ctrl Flag-%d-RD"
extern const std::span<const SwBits> kAreaBits;
extern const std::span<const SwBits> kRightClickBits;
extern const std::span<const SwBits> kUsbCtrlBits;
extern const std::span<const SwBits> kPwrCtrlBits;
extern const std::span<const SwBits> kRs232CtrlBits;
extern const std::span<const SwBits> kInterfaceSupportBits;
extern const std::span<const SwBits> kInterfaceSelBits;
extern const std::span<const SwBits> kUartFormatBits;
extern const std::span<const SwBits> kNotifyBits;

}  // namespace SwKeys
