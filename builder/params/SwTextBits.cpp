// The bit keys of the software text file: one key per bit (or run of bits) of a flag field.
#include "params/SwLayout.h"
#include "params/SwTextKeys.h"

namespace {

using enum ReadOnlyWhen;
using namespace SwLayout;
namespace B = SwLayout::Block;

// A control-word bit written as a ranged 0~1 item with default 0.
constexpr SwBits Flag(const char* key, int offset, uint16_t mask, const char* comment = "",
                      ReadOnlyWhen readOnly = Never) {
    return {key, offset, true, mask, SwWrite::Ranged, 0, "", comment, 0, 1, readOnly};
}

// A bit that loading reads but writing never emits.
constexpr SwBits Unwritten(const char* key, int offset, bool wide, uint16_t mask) {
    return {key, offset, wide, mask, SwWrite::NotWritten, 0, "", "", 0, 1};
}

// A bit written as a plain item with a fixed range text.
constexpr SwBits PlainBit(const char* key, int offset, bool wide, uint16_t mask,
                          const char* rangeText, const char* comment = "", int level = 0) {
    return {key, offset, wide, mask, SwWrite::Plain, 0, rangeText, comment, 0, 1, Never, level};
}

constexpr int kW0 = CtrlFlags(0), kW1 = CtrlFlags(1), kW2 = CtrlFlags(2), kW3 = CtrlFlags(3);

constexpr SwBits kAxisKeys[] = {
    {"SWAP_XY", kAxisFlags, false, 0x01, SwWrite::Ranged, 0, "", "", 0, 1},
    {"SWAP_X", kAxisFlags, false, 0x02, SwWrite::Ranged, 0, "", "", 0, 1},
    {"SWAP_Y", kAxisFlags, false, 0x04, SwWrite::Ranged, 0, "", "", 0, 1},
};

constexpr SwBits kGeneralKeys[] = {
    Flag("Ctrl(0)_AUTO_FREQUENCY", kW0, 0x0001,
         "Enable frequency hopping in noise interference condition."),
    Flag("Ctrl(0)_DRAW_IN_COMPENSATION", kW0, 0x0008, "Enable draw in compensation."),
    Flag("Ctrl(0)_LIFT_OFF_COMPENSATION", kW0, 0x0010, "Enable lift off compensation."),
    Flag("Ctrl(0)_DIAGNOSTIC_FREQ", kW0, 0x0200, "Nums of freq must equal or greater than 2"),
    Flag("Ctrl(0)_MARGIN_IMPROVE", kW0, 0x4000, "Enable edge compensation."),
    Flag("Ctrl(1)_ENHANCE_LINEARITY", kW1, 0x0080, "Enable enhance linearity function."),
    Flag("Ctrl(1)_TP_EN_GPIO", kW1, 0x0200, "Enable TPEn GPIO function."),
    Flag("Ctrl(2)_IMAGE_DYNAMIC_COOKTOUCH_TH", kW2, 0x0001,
         "Enable dynamic Cook Touch Th in normal condition"),
    Flag("Ctrl(2)_NOISE_DYNAMIC_COOKTOUCH_TH", kW2, 0x0002,
         "Enable dynamic Cook Touch Th in noise condition"),
    Flag("Ctrl(2)_FAST_TRACKING", kW2, 0x0010,
         "Enable fast tracking if system performance is poor."),
    Flag("Ctrl(2)_LOW_CONFIDENCE_DISABLE_TOUCH", kW2, 0x0040,
         "Remove all touch point when stray confidence low."),
    Flag("Ctrl(2)_PALM_DISABLE_TOUCH", kW2, 0x0080, "Remove all touch point when palm condition."),
    Flag("Ctrl(2)_IMG_CHECK_NOISE", kW2, 0x0400,
         "Enable image check noise condition and frequency hopping."),
    Flag("Ctrl(3)_SKIP_CONSTANT_POINTS", kW3, 0x0001, "Enable don't report same position points."),
    Flag("Ctrl(3)_LOW_CONFI_ENABLE_WATER", kW3, 0x0010,
         "Enable/Disable Enter water condition if stray confidence is low."),
};

// Grouped by control word: writing puts the word's "CtrlFlags(%d)" text item before its bits.
constexpr SwBits kGeneralRdKeys[] = {
    Flag("Ctrl(0)_AUTO_FREQ_SKIP_FIST", kW0, 0x0040, "Freq hopping don't use1st freq"),
    Flag("Ctrl(0)_AUTO_FREQ_SELECT_TH_SET", kW0, 0x0800,
         "Each freq has different threshold mode settings"),
    Flag("Ctrl(0)_FAST_CONVERTION", kW0, 0x8000, "Read Only"),
    Flag("Ctrl(1)_CMAXMIN_RATIO", kW1, 0x0001),
    Flag("Ctrl(1)_GESTURE_IN_WATER_MODE", kW1, 0x0002,
         "Enhace gesture detect. It will improve dual touch gesture but decrease free draw "
         "performance"),
    Flag("Ctrl(1)_Z_FILTER", kW1, 0x0004),
    Flag("Ctrl(1)_REMOVE_NEAR_LPC_DECREASE_TH", kW1, 0x0010),
    Flag("Ctrl(1)_PASSIVE_PEN_STATE_MACHINE", kW1, 0x0040, "Read Only"),
    Flag("Ctrl(1)_ENHANCE_WATER_ONE_TOUCH", kW1, 0x0400,
         "Improve water single touch performance, reduce false touch risk, but may cause some "
         "breaks."),
    Flag("Ctrl(1)_THIN_CG_WATER_TOUCH", kW1, 0x0800,
         "For cover glass < 1.5mm, reduce water condition false touch risk but breaks may happen "
         "when drawing through puddles."),
    Flag("Ctrl(1)_ENHANCE_WATER_PUDDLE_TOUCH", kW1, 0x1000,
         "Improve single touch performance when drawing through puddles."),
    Flag("Ctrl(1)_SCAN_RANGE_BY_WLDD", kW1, 0x4000),
    Flag("Ctrl(2)_(02)", kW2, 0x0004),
    Flag("Ctrl(2)_ADV_DYNAMIC_TH", kW2, 0x0020, "Dynamic CookTh for touch"),
    Flag("Ctrl(2)_LOCK_EDGE_POSITION", kW2, 0x0100,
         "Enable lock position on edge, improve the performance of draw out line"),
    Flag("Ctrl(2)_AUTO_BACK_TO_FIRST_FREQ", kW2, 0x0200, "Auto back to 1st freq"),
    Flag("Ctrl(2)_REPORT_GROUP_WH", kW2, 0x0800),
    Flag("Ctrl(2)_REPORT_PALM_GROUP", kW2, 0x1000),
    Flag("Ctrl(2)_NOISE_CONDI_SCAN_FULL_IMG", kW2, 0x2000),
    Flag("Ctrl(2)_PASSIVE_PEN_AS_DIGITIZER", kW2, 0x4000),
    Flag("Ctrl(2)_KILL_GHOST_TOUCH_SIGNAL", kW2, 0x8000),
    Flag("Ctrl(3)_POWER_ON_TX_SHORT_TEST", kW3, 0x0002),
    Flag("Ctrl(3)_ALWAYS_WL_POINT", kW3, 0x0004, "Always use water line to calc points"),
    Flag("Ctrl(3)_LPEN_REPORT_TOUCH", kW3, 0x0008),
    Flag("Ctrl(3)_LIFTOFF_USE_RAWHISTRO", kW3, 0x0020, "Enable to Improve Lift off performance."),
    Flag("Ctrl(3)_FIX_WH_BY_MASS", kW3, 0x0040,
         "Enable to use specific WH for some functional app."),
    Flag("Ctrl(3)_PALM_MERGE_LARGE_GROUP", kW3, 0x0080,
         "Enable to merge all group nearby the palm group to form one large group.",
         ReportPalmGroupOn),
    Flag("Ctrl(3)_PADDING08", kW3, 0x0100),
    Flag("Ctrl(3)_PADDING09", kW3, 0x0200),
    Flag("Ctrl(3)_PADDING10", kW3, 0x0400),
    Flag("Ctrl(3)_PADDING11", kW3, 0x0800),
    Flag("Ctrl(3)_PADDING12", kW3, 0x1000),
    Flag("Ctrl(3)_PADDING13", kW3, 0x2000),
    Flag("Ctrl(3)_PADDING14", kW3, 0x4000),
    Flag("Ctrl(3)_PADDING15", kW3, 0x8000),
    Unwritten("Ctrl(0)_PREDICT", kW0, true, 0x0002),
    Unwritten("Ctrl(0)_THICK_COVERLENS", kW0, true, 0x0004),
    Unwritten("Ctrl(0)_WATER_PROOF", kW0, true, 0x0080),
    Unwritten("Ctrl(0)_RAW_OFFSET", kW0, true, 0x0100),
    Unwritten("Ctrl(0)_PALM_REJECTION", kW0, true, 0x0400),
    Unwritten("Ctrl(0)_FORCE_RWK", kW0, true, 0x1000),
    Unwritten("Ctrl(0)_PASSIVE_STYLUS", kW0, true, 0x2000),
    Unwritten("Ctrl(1)_NEW_ADC_CALIBRATION", kW1, true, 0x0008),
    Unwritten("Ctrl(1)_RX_SHIELDING_TO_CHANNEL", kW1, true, 0x0020),
    Unwritten("Ctrl(1)_EXT_TX_GROUP_MASS", kW1, true, 0x2000),
    Unwritten("Ctrl(1)_ENHANCE_PALM_REJECTION", kW1, true, 0x8000),
};

// Offsets within the threshold mode's block: its copies of control words 0, 1 and 2.
constexpr SwBits kModeCtrlKeys[] = {
    Flag("Ctrl(0)_PALM_REJECTION", B::kCtrlCopy0, 0x0400, "Enable palm rejection function."),
    Flag("Ctrl(0)_WATER_PROOF", B::kCtrlCopy0, 0x0080, "Enable water resistance function."),
    Flag("Ctrl(0)_ENHANCE_FINGER_SEPARATION", B::kCtrlCopy0, 0x0020,
         "Enable enhance finger separation(Horizontal drawing)."),
    Flag("Ctrl(2)_ENHANCE_VER_SEPARATION", B::kCtrlCopy2, 0x0008,
         "Enable enhance finger separation(Vertical drawing)."),
};

// The two separation bits are read here a second time; a value found here wins.
constexpr SwBits kModeCtrlRdKeys[] = {
    Flag("Ctrl(0)_PREDICT", B::kCtrlCopy0, 0x0002),
    Flag("Ctrl(0)_PASSIVE_STYLUS", B::kCtrlCopy0, 0x2000, "Enable passive stylus algorithm."),
    Flag("Ctrl(1)_IMAGE_SPEED_UP", B::kCtrlCopy1, 0x0100,
         "Enable image speed up, but no ImgCheckNoise function."),
    Unwritten("Ctrl(0)_ENHANCE_FINGER_SEPARATION", B::kCtrlCopy0, true, 0x0020),
    Unwritten("Ctrl(2)_ENHANCE_VER_SEPARATION", B::kCtrlCopy2, true, 0x0008),
};

// Offsets within the active area's record. AA_Attr(06) and AA_ATTR_VALID are the same bit.
constexpr SwBits AreaBit(const char* key, uint16_t mask, const char* rangeText, const char* comment,
                         ReadOnlyWhen readOnly = AreaInvalid) {
    return {key, kAreaAttribute, false, mask, SwWrite::Text, 0, rangeText, comment, 0, 1, readOnly};
}
constexpr SwBits kAreaKeys[] = {
    AreaBit("AA_ATTR_VALID", 0x80, "0~1", "0: Disable AA, 1: Enabla AA", Never),
    AreaBit("AA_ATTR_DELAY_TOUCH", 0x01, "0~1",
            "1: Extra down count inside AA, DelayCnt*8 counts."),
    AreaBit("AA_ATTR_DISABLE_TOUCH", 0x02, "0~1", "1: Disable touch function inside AA."),
    AreaBit("AA_ATTR_ENABLE_TOUCH", 0x04, "0~1", "1: Enable touch function inside disabled AA."),
    AreaBit("AA_Attr(03)", 0x10, "", ""),
    AreaBit("AA_Attr(04)", 0x20, "", ""),
    AreaBit("AA_Attr(05)", 0x40, "", ""),
    AreaBit("AA_Attr(06)", 0x80, "", ""),
};

constexpr SwBits kRightClickKeys[] = {
    PlainBit("RightClickEn", kRightClick, false, 0x80, "0~1", "For HID Mouse mode."),
    {"RightClickCnt", kRightClick, false, 0x7F, SwWrite::Plain, 0, "33~127",
     "Right click delay:30ms*[V]", 33, 127},
};

constexpr SwBits kUsbCtrlKeys[] = {
    PlainBit("USBCtrl_FRWK", kUsbCtrl, true, 0x01, "0~1"),
    PlainBit("USBCtrl_LPMSupport", kUsbCtrl, true, 0x02, "0~1", "Default disabled."),
    PlainBit("USBCtrl_OSDesc", kUsbCtrl, true, 0x04, "0~1", "Default disabled."),
    PlainBit("USBCtrl(03)", kUsbCtrl, true, 0x08, "0~1"),
    PlainBit("USBCtrl(04)", kUsbCtrl, true, 0x10, "0~1"),
    PlainBit("USBCtrl(05)", kUsbCtrl, true, 0x20, "0~1"),
    PlainBit("USBCtrl(06)", kUsbCtrl, true, 0x40, "0~1"),
    PlainBit("USBCtrl(07)", kUsbCtrl, true, 0x80, "0~1"),
};

constexpr SwBits kPwrCtrlKeys[] = {
    PlainBit("PwrCtrl_SupportHIDOverI2C", kPwrCtrl, true, 0x01, "", "Read Only"),
    PlainBit("PwrCtrl(01)", kPwrCtrl, true, 0x02, ""),
    PlainBit("PwrCtrl(02)", kPwrCtrl, true, 0x04, ""),
    PlainBit("PwrCtrl(03)", kPwrCtrl, true, 0x08, ""),
    PlainBit("PwrCtrl(04)", kPwrCtrl, true, 0x10, ""),
    PlainBit("PwrCtrl(05)", kPwrCtrl, true, 0x20, ""),
    PlainBit("PwrCtrl(06)", kPwrCtrl, true, 0x40, ""),
    PlainBit("PwrCtrl(07)", kPwrCtrl, true, 0x80, ""),
};

// Bits 1 to 7 are detail lines inside the basic "Interface Support" section.
constexpr SwBits kRs232CtrlKeys[] = {
    PlainBit("RS232Ctrl_HWFlowCtrl", kRs232Ctrl, false, 0x01, "",
             "Enable hardware flow control for UART"),
    PlainBit("RS232Ctrl(01)", kRs232Ctrl, false, 0x02, "", "", 100),
    PlainBit("RS232Ctrl(02)", kRs232Ctrl, false, 0x04, "", "", 100),
    PlainBit("RS232Ctrl(03)", kRs232Ctrl, false, 0x08, "", "", 100),
    PlainBit("RS232Ctrl(04)", kRs232Ctrl, false, 0x10, "", "", 100),
    PlainBit("RS232Ctrl(05)", kRs232Ctrl, false, 0x20, "", "", 100),
    PlainBit("RS232Ctrl(06)", kRs232Ctrl, false, 0x40, "", "", 100),
    PlainBit("RS232Ctrl(07)", kRs232Ctrl, false, 0x80, "", "", 100),
};

constexpr SwBits kInterfaceSupportKeys[] = {
    PlainBit("InterfaceSupport_USB", kInterfaceSupport, false, 0x01, ""),
    PlainBit("InterfaceSupport_I2C", kInterfaceSupport, false, 0x02, ""),
    PlainBit("InterfaceSupport_RS232", kInterfaceSupport, false, 0x04, ""),
    PlainBit("InterfaceSupport(03)", kInterfaceSupport, false, 0x08, ""),
    PlainBit("InterfaceSupport(04)", kInterfaceSupport, false, 0x10, ""),
    PlainBit("InterfaceSupport(05)", kInterfaceSupport, false, 0x20, ""),
    PlainBit("InterfaceSupport(06)", kInterfaceSupport, false, 0x40, ""),
    PlainBit("InterfaceSupport(07)", kInterfaceSupport, false, 0x80, ""),
};

// Each selection byte: GPIO-high choice in the high half, GPIO-low in the low half; USB 0x01,
// RS232 0x04 and I2C 0x08 within a half.
constexpr const char kHigh[] = "For GPIO High";
constexpr const char kLow[] = "For GPIO Low";
constexpr SwBits kInterfaceSelKeys[] = {
    PlainBit("InterfaceSel_Finger_H_I2C", kInterfaceSelFinger, false, 0x80, "0~1", kHigh),
    PlainBit("InterfaceSel_Finger_H_RS232", kInterfaceSelFinger, false, 0x40, "0~1", kHigh),
    PlainBit("InterfaceSel_Finger_H_USB", kInterfaceSelFinger, false, 0x10, "0~1", kHigh),
    PlainBit("InterfaceSel_Finger_L_I2C", kInterfaceSelFinger, false, 0x08, "0~1", kLow),
    PlainBit("InterfaceSel_Finger_L_RS232", kInterfaceSelFinger, false, 0x04, "0~1", kLow),
    PlainBit("InterfaceSel_Finger_L_USB", kInterfaceSelFinger, false, 0x01, "0~1", kLow),
    PlainBit("InterfaceSel_APen_H_I2C", kInterfaceSelPen, false, 0x80, "0~1", kHigh),
    PlainBit("InterfaceSel_APen_H_RS232", kInterfaceSelPen, false, 0x40, "0~1", kHigh),
    PlainBit("InterfaceSel_APen_H_USB", kInterfaceSelPen, false, 0x10, "0~1", kHigh),
    PlainBit("InterfaceSel_APen_L_I2C", kInterfaceSelPen, false, 0x08, "0~1", kLow),
    PlainBit("InterfaceSel_APen_L_RS232", kInterfaceSelPen, false, 0x04, "0~1", kLow),
    PlainBit("InterfaceSel_APen_L_USB", kInterfaceSelPen, false, 0x01, "0~1", kLow),
};

constexpr SwBits kUartFormatKeys[] = {
    {"UART_Report_Format_Resolution", kUartReportFormat, true, 0x0006, SwWrite::Ranged, 0, "", "",
     0, 3},
    {"UART_Report_Format_WH", kUartReportFormat, true, 0x0008, SwWrite::Ranged, 0, "", "", 0, 1},
    {"UART_Report_Format_Multi_Touch", kUartReportFormat, true, 0x0020, SwWrite::Ranged, 1, "", "",
     0, 1},
    {"UART_Report_Format_Pressure", kUartReportFormat, true, 0x0040, SwWrite::Ranged, 0, "", "", 0,
     1},
};

constexpr SwBits kNotifyKeys[] = {
    PlainBit("NOTIFY_CTRL_NOISE_CONDITION", kNotifyCtrl, true, 0x0001, ""),
    PlainBit("NOTIFY_CTRL_FREQ_HOPPING", kNotifyCtrl, true, 0x0002, ""),
    PlainBit("NOTIFY_CTRL_WATER_CONDITION", kNotifyCtrl, true, 0x0004, ""),
    PlainBit("NOTIFY_CTRL_WATER_DISABLE_TOUCH", kNotifyCtrl, true, 0x0008, ""),
    PlainBit("NOTIFY_CTRL_PALM_CONDITION", kNotifyCtrl, true, 0x0010, ""),
    PlainBit("NOTIFY_CTRL_PEN_BUTTON", kNotifyCtrl, true, 0x0020, ""),
    PlainBit("NOTIFY_CTRL_TOUCH_WHEN_TOUCH_DISABLED", kNotifyCtrl, true, 0x0040, ""),
    Unwritten("NOTIFY_CTRL(07)", kNotifyCtrl, true, 0x0080),
    Unwritten("NOTIFY_CTRL(08)", kNotifyCtrl, true, 0x0100),
    Unwritten("NOTIFY_CTRL(09)", kNotifyCtrl, true, 0x0200),
    Unwritten("NOTIFY_CTRL(10)", kNotifyCtrl, true, 0x0400),
    Unwritten("NOTIFY_CTRL(11)", kNotifyCtrl, true, 0x0800),
    Unwritten("NOTIFY_CTRL(12)", kNotifyCtrl, true, 0x1000),
    Unwritten("NOTIFY_CTRL(13)", kNotifyCtrl, true, 0x2000),
    Unwritten("NOTIFY_CTRL(14)", kNotifyCtrl, true, 0x4000),
    Unwritten("NOTIFY_CTRL(15)", kNotifyCtrl, true, 0x8000),
};

}  // namespace

namespace SwKeys {

const std::span<const SwBits> kAxisBits{kAxisKeys};
const std::span<const SwBits> kGeneralCtrlBits{kGeneralKeys};
const std::span<const SwBits> kGeneralCtrlBitsRd{kGeneralRdKeys};
const std::span<const SwBits> kModeCtrlBits{kModeCtrlKeys};
const std::span<const SwBits> kModeCtrlBitsRd{kModeCtrlRdKeys};
const std::span<const SwBits> kAreaBits{kAreaKeys};
const std::span<const SwBits> kRightClickBits{kRightClickKeys};
const std::span<const SwBits> kUsbCtrlBits{kUsbCtrlKeys};
const std::span<const SwBits> kPwrCtrlBits{kPwrCtrlKeys};
const std::span<const SwBits> kRs232CtrlBits{kRs232CtrlKeys};
const std::span<const SwBits> kInterfaceSupportBits{kInterfaceSupportKeys};
const std::span<const SwBits> kInterfaceSelBits{kInterfaceSelKeys};
const std::span<const SwBits> kUartFormatBits{kUartFormatKeys};
const std::span<const SwBits> kNotifyBits{kNotifyKeys};

}  // namespace SwKeys
