// The software text file (.swt): the sections in file order, written from the image and read back
// into it. Loading is not the mirror of writing: some keys are written for information only, some
// bit keys are read but not applied, and several bit fields are merged into the image.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "params/CParamFile.h"
#include "params/CParam_HW.h"
#include "params/CParam_SW.h"
#include "params/SwLayout.h"
#include "params/SwTextItems.h"
#include "shell/Controller.h"

namespace {

using namespace SwLayout;

constexpr ParamFileFrame kFrame{".swt", "%s software parameter file", "SWB CRC Failed!\n",
                                kUsedLength};

// The hardware set's stray timing, which the software set carried below kernel 3.31.
constexpr int kHwStrayUpdatWaiteTime = 80;
constexpr int kHwStrayUpdatTime = 81;
constexpr uint16_t kHwScanCtrlWater = 0x0002;

struct ModelString {
    const char* key;
    int offset;
    int width;
    const char* comment;
    const char* rangeText;
    const char* missing;  // what loading stores when the key is missing
};
constexpr ModelString kModelStrings[] = {
    {"ModelNum", kModelNum, kModelNumWidth, "", "0000~9999", "GXXX"},
    {"ModelInfo", kModelInfo, kModelInfoWidth, "7 character string.", "", "K7PXXX"},
    {"FWVersion", kFwVersion, kFwVersionWidth, "15 character string.", "", "99"},
};

struct Corner {
    const char* key;
    int offset;
    int32_t def;
};
constexpr Corner kCorners[] = {{"LLX", 0, 512},   {"LLY", 2, 3584}, {"ULX", 4, 512},
                               {"ULY", 6, 512},   {"URX", 8, 3584}, {"URY", 10, 512},
                               {"LRX", 12, 3584}, {"LRY", 14, 3584}};

SwItem CornerItem(const Corner& corner, int set) {
    return {corner.key,   SwArea::Image,   CalibrationSet(set) + corner.offset,
            SwWidth::U16, SwWrite::Ranged, 0,
            65535,        corner.def,      "",
            "",           SwLoad::Clamped, 0,
            65535};
}

constexpr const char kTempSection[] = "Temp Param-RD";
constexpr const char kIdleSection[] = "Alg General Config-RD";

// The twelve temporary parameters, plain: two signed, ten unsigned.
std::vector<std::string> TempKeys() {
    std::vector<std::string> keys{"sTempParam01", "sTempParam02"};
    for (int i = 1; i <= 10; ++i) keys.push_back(SwItemIo::Named("TempParam%02d", i));
    return keys;
}

std::vector<SwItem> TempItems(const std::vector<std::string>& keys) {
    std::vector<SwItem> items;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const bool isSigned = i < 2;
        items.push_back({keys[i].c_str(), SwArea::Image, kTempParams + 2 * static_cast<int>(i),
                         isSigned ? SwWidth::S16 : SwWidth::U16, SwWrite::Plain, 0, 0, 0,
                         isSigned ? "-32768~32767" : "0~65535", "", SwLoad::Plain, 0, 0});
    }
    return items;
}

// The four items of one power level w, with their keys.
struct PowerLevelItems {
    std::array<std::string, 4> keys;
    std::array<SwItem, 4> items;
};
PowerLevelItems PowerLevel(int w) {
    PowerLevelItems p;
    p.keys = {SwItemIo::Named("Alg_ScanInterval_W%d", w),
              SwItemIo::Named("Alg_NextLevelTimer_W%d", w), SwItemIo::Named("Alg_PwrLevel_W%d", w),
              SwItemIo::Named("Alg_HVRdyTime_W%d", w)};
    const auto item = [](const std::string& key, int offset, SwWidth width, int32_t max,
                         int32_t def, const char* comment) {
        return SwItem{key.c_str(), SwArea::Image,   offset, width, SwWrite::Ranged, 0, max, def, "",
                      comment,     SwLoad::Clamped, 0,      max};
    };
    p.items = {item(p.keys[0], kAlgScanInterval + w, SwWidth::U8, 254, 0, "ms"),
               item(p.keys[1], kAlgNextLevelTimer + 2 * w, SwWidth::U16, 65534, 0,
                    "0: Disable Timer. 0~65534 ms."),
               item(p.keys[2], kAlgPwrLevel + w, SwWidth::U8, 3, 0, "MCU Power Level"),
               item(p.keys[3], kAlgHvRdyTime + w, SwWidth::U8, 254, 10,
                    "HV ready time before start scan. [Unit:ms]")};
    return p;
}

const SwSection& GlobalSection(std::string_view name) {
    for (const SwSection& section : SwKeys::kGlobalSections) {
        if (name == section.name) return section;
    }
    throw std::logic_error("no such software text section");
}

int ModesOf(int numsOfThresholds) {
    return std::clamp(numsOfThresholds, 1, kThresholdModes);
}

}  // namespace

int CParam_SW::SaveTxtFile() {
    return SaveTextFrame(kFrame, [&](CParamFile& file) { WriteSections(file); });
}

int CParam_SW::LoadTxtFile() {
    return LoadTextFrame(kFrame, Owner()->Options().swTextPath,
                         [&](CParamFile& file) { ReadSections(file); })
               ? 1
               : 0;
}

bool CParam_SW::StrayCountsFromKernel() const {
    const CController& c = *Owner();
    return c.kernelMajor > 3 || (c.kernelMajor == 3 && c.kernelMinor >= 31);
}

int CParam_SW::StructVersion() const {
    return Owner()->swVersion;
}

bool CParam_SW::HwWaterScan() const {
    return (Owner()->Hw().ScanCtrl() & kHwScanCtrlWater) != 0;
}

// ---- Writing ----------------------------------------------------------------------------------

void CParam_SW::WriteSections(CParamFile& file) {
    SwItemIo io(std::span<uint8_t>(Image(), static_cast<std::size_t>(ImageLength())), file,
                {HwWaterScan(), 1});
    WriteHead(io);
    WriteGeneral(io, StrayCountsFromKernel());
    const int modes = ModesOf(Byte(kNumsOfThresholds));
    io.SetWrittenModes(modes);
    WriteModes(io, modes);
    for (const SwSection& section : SwKeys::kGlobalSections) {
        io.Begin(section.name);
        io.WriteItems(section.name, section.items);
        io.End(section.name);
    }
    WriteCalibrationAndAreas(io);
    WriteInterfaces(io, StructVersion());
}

void CParam_SW::WriteHead(SwItemIo& io) {
    const std::string model = "Model Configuration";
    io.Begin(model);
    CParamFile& file = *io.File();
    for (const ModelString& s : kModelStrings) {
        const auto* start = reinterpret_cast<const char*>(Image() + s.offset);
        const std::string text(start, std::find(start, start + s.width, '\0'));
        file.WriteItem(text, kLevelBasic, model, s.key, s.rangeText, s.comment);
    }
    io.End(model);
    for (const SwSection* section :
         {&SwKeys::kVersionInformation, &SwKeys::kVersionInformationRd}) {
        io.Begin(section->name);
        io.WriteItems(section->name, section->items);
        io.End(section->name);
    }
}

void CParam_SW::WriteGeneral(SwItemIo& io, bool strayFromKernel) {
    const std::string general = SwKeys::kGeneralConfig.name;
    io.Begin(general);
    io.WriteItems(general, SwKeys::kGeneralConfig.items);
    io.WriteBits(general, SwKeys::kAxisBits, SwArea::Image);
    io.WriteBits(general, SwKeys::kGeneralCtrlBits, SwArea::Image);
    io.End(general);

    const std::string rd = kIdleSection;
    io.Begin(rd);
    io.WriteItems(rd, SwKeys::kGeneralConfigRd.items);
    CParamFile& file = *io.File();
    if (strayFromKernel) {
        const SwItem stray[] = {{"StrayUpdateCnt", SwArea::Image, kStrayUpdateCnt, SwWidth::U8,
                                 SwWrite::Ranged, 1, 254, 200, "", "", SwLoad::Clamped, 1, 254},
                                {"StrayStoreCnt", SwArea::Image, kStrayStoreCnt, SwWidth::U8,
                                 SwWrite::Ranged, 1, 254, 100, "", "", SwLoad::Clamped, 1, 254}};
        io.WriteItems(rd, stray);
    } else {
        // Older firmware takes the stray timing from the hardware set; show what it uses.
        SetByte(kStrayUpdateCnt, Owner()->Hw().Byte(kHwStrayUpdatWaiteTime));
        SetByte(kStrayStoreCnt, Owner()->Hw().Byte(kHwStrayUpdatTime));
        for (auto [key, offset] : {std::pair{"StrayUpdateCnt", kStrayUpdateCnt},
                                   std::pair{"StrayStoreCnt", kStrayStoreCnt}}) {
            file.WriteItem(static_cast<int32_t>(Byte(offset)), kLevelDetail, rd, key, "1~254",
                           "Read Only. We use this parameter after v03_30");
        }
    }
    io.WriteItems(rd, SwKeys::kGeneralConfigRdLevel.items);
    for (int w = 0; w < 4; ++w) {
        char value[8];
        std::snprintf(value, sizeof value, "0x%04X", Word(CtrlFlags(w)));
        file.WriteItem(value, kLevelDetail, rd, SwItemIo::Named("CtrlFlags(%d)", w), "",
                       "Read Only");
        io.WriteBits(rd, SwKeys::kGeneralCtrlBitsRd, SwArea::Image, CtrlFlags(w));
    }
    io.End(rd);

    for (const SwSection* section : {&SwKeys::kWaterSetting, &SwKeys::kWaterSettingRd}) {
        io.Begin(section->name);
        io.WriteItems(section->name, section->items);
        io.End(section->name);
    }
}

void CParam_SW::WriteModes(SwItemIo& io, int modes) {
    for (int t = 0; t < modes; ++t) {
        io.SelectMode(t);
        io.Begin(SwItemIo::Named("Alg Threshold-%d Setting", t));  // a heading without items
        const std::string flags = SwItemIo::Named("---Ctrl Flag-%d", t);
        io.Begin(flags);
        io.WriteBits(flags, SwKeys::kModeCtrlBits, SwArea::ModeBlock);
        io.End(flags);
        const std::string flagsRd = SwItemIo::Named("---Ctrl Flag-%d-RD", t);
        io.Begin(flagsRd);
        io.WriteBits(flagsRd, SwKeys::kModeCtrlBitsRd, SwArea::ModeBlock);
        io.End(flagsRd);
        for (const SwSection& section : SwKeys::kModeSections) {
            const std::string name = SwItemIo::Named(section.name, t);
            io.Begin(name);
            io.WriteItems(name, section.items);
            io.End(name);
        }
    }
}

void CParam_SW::WriteCalibrationAndAreas(SwItemIo& io) {
    CheckCalibrationResolution();
    const std::string calibration = SwItemIo::Named("Calibration Setting-%d", 0);
    io.Begin(calibration);
    for (const Corner& corner : kCorners) {
        const SwItem item[] = {CornerItem(corner, 0)};
        io.WriteItems(calibration, item);
    }
    io.End(calibration);
    for (int a = 0; a < kActiveAreas; ++a) {
        io.SelectArea(a);
        const std::string area = SwItemIo::Named(SwKeys::kActiveAreaNumbers.name, a);
        io.Begin(area);
        io.WriteBits(area, SwKeys::kAreaBits, SwArea::ActiveArea);
        io.WriteItems(area, SwKeys::kActiveAreaNumbers.items);
        io.End(area);
    }
}

void CParam_SW::WriteInterfaces(SwItemIo& io, int structVersion) {
    if (structVersion >= 10) {
        const std::vector<std::string> keys = TempKeys();
        const std::vector<SwItem> items = TempItems(keys);
        io.Begin(kTempSection);
        io.WriteItems(kTempSection, items);
        io.End(kTempSection);
    }
    const std::string usb = SwKeys::kUsb.name;
    io.Begin(usb);
    io.WriteBits(usb, SwKeys::kRightClickBits, SwArea::Image);
    io.WriteItems(usb, SwKeys::kUsb.items);
    io.End(usb);

    const std::string usbRd = SwKeys::kUsbRd.name;
    io.Begin(usbRd);
    io.WriteText(usbRd, ";*NOTE: Need PnP after modify USBCtrl!");
    io.WriteBits(usbRd, SwKeys::kUsbCtrlBits, SwArea::Image);
    if (structVersion < 20) SetWord(kUsbInRushCurrentDelay, 0);  // unknown to older firmware
    io.WriteItems(usbRd, SwKeys::kUsbRd.items);
    io.End(usbRd);

    const std::string power = SwKeys::kPowerRd.name;
    io.Begin(power);
    io.WriteItems(power, SwKeys::kPowerRd.items.first(1));
    io.WriteBits(power, SwKeys::kPwrCtrlBits, SwArea::Image);
    io.WriteItems(power, SwKeys::kPowerRd.items.subspan(1));
    io.WriteText(power, "( Sys_Power_Setting )");
    io.WriteItems(power, SwKeys::kSysPower.items);
    for (int w = 0; w < kPowerLevels; ++w) {
        io.WriteText(power, SwItemIo::Named("( Alg_W%d_Power_Setting )", w));
        const PowerLevelItems level = PowerLevel(w);
        io.WriteItems(power, level.items);
    }
    io.End(power);

    const std::string support = "Interface Support";
    io.Begin(support);
    io.WriteBits(support, SwKeys::kRs232CtrlBits, SwArea::Image);
    io.End(support);
    const std::string supportRd = SwKeys::kInterfaceSupportRd.name;
    io.Begin(supportRd);
    io.WriteItems(supportRd, SwKeys::kInterfaceSupportRd.items);
    io.WriteBits(supportRd, SwKeys::kInterfaceSupportBits, SwArea::Image);
    io.End(supportRd);

    const std::string config = SwKeys::kInterfaceConfigRd.name;
    io.Begin(config);
    io.WriteBits(config, SwKeys::kInterfaceSelBits, SwArea::Image);
    io.WriteText(config, "( Note! USB(0x01), RS232(0x04), I2C(0x08) ).");
    io.WriteItems(config, SwKeys::kInterfaceConfigRd.items);
    io.WriteBits(config, SwKeys::kUartFormatBits, SwArea::Image);
    SetWord(kUartReportFormat, Word(kUartReportFormat) | kUartPressureFollower);
    io.End(config);

    const std::string notify = "NotifyCtrl";
    io.Begin(notify);
    io.WriteBits(notify, SwKeys::kNotifyBits, SwArea::Image);
    io.End(notify);
}

// ---- Reading ----------------------------------------------------------------------------------

void CParam_SW::ReadSections(CParamFile& file) {
    SwItemIo io(std::span<uint8_t>(Image(), static_cast<std::size_t>(ImageLength())), file,
                {HwWaterScan(), 1});
    ReadHead(file, io);
    ReadGeneral(file, io, StrayCountsFromKernel());
    const int modes = ModesOf(Byte(kNumsOfThresholds));
    ReadModes(io, modes);
    for (const SwSection& section : SwKeys::kGlobalSections) {
        io.ReadItems(section.name, section.items);
    }
    // Four filter keys may also stand in the detail section, and win there.
    io.ReadItems("Filter Setting-RD", GlobalSection("Filter Setting").items.subspan(2));
    ReadCalibrationAndAreas(file, io);
    ReadInterfaces(io, StructVersion());
}

void CParam_SW::ReadHead(CParamFile& file, SwItemIo& io) {
    for (const ModelString& s : kModelStrings) {
        std::string text = s.missing;
        file.ReadItem("Model Configuration", s.key, text);
        text.resize(static_cast<std::size_t>(s.width), '\0');  // cut, or pad with zero bytes
        std::copy(text.begin(), text.end(), Image() + s.offset);
    }
    const auto versions = SwKeys::kVersionInformation.items;
    // Keep-version mode leaves the image's own major and minor version.
    io.ReadItems(SwKeys::kVersionInformation.name,
                 Owner()->Options().keepVersion ? versions.subspan(2) : versions);
    io.ReadItems(SwKeys::kVersionInformationRd.name, SwKeys::kVersionInformationRd.items);
}

void CParam_SW::ReadGeneral(CParamFile& file, SwItemIo& io, bool strayFromKernel) {
    const std::string general = SwKeys::kGeneralConfig.name;
    io.ReadItems(general, SwKeys::kGeneralConfig.items);
    uint16_t axis = 0;
    io.ReadBits(general, SwKeys::kAxisBits, kAxisFlags, axis);
    SetByte(kAxisFlags, static_cast<uint8_t>(axis));

    const std::string rd = kIdleSection;
    io.ReadItems(rd, SwKeys::kGeneralConfigRd.items);
    int32_t idle = 0;
    if (file.ReadItemClamped(rd, "IdleUpdateCnts", idle, 0, 65535) ||
        file.ReadItemClamped(rd, "IdleUpdateTime", idle, 0, 65535)) {
        SetWord(kIdleUpdateTime, static_cast<uint16_t>(idle));
    }
    if (strayFromKernel) {
        for (auto [key, offset] : {std::pair{"StrayUpdateCnt", kStrayUpdateCnt},
                                   std::pair{"StrayStoreCnt", kStrayStoreCnt}}) {
            int32_t value = 0;
            if (file.ReadItemClamped(rd, key, value, 1, 254)) {
                SetByte(offset, static_cast<uint8_t>(value));
            }
        }
    }
    io.ReadItems(rd, SwKeys::kGeneralConfigRdLevel.items);

    // Every bit key is read (and clamped), but only the bits the basic section shows change.
    for (int w = 0; w < 4; ++w) {
        const uint16_t word = Word(CtrlFlags(w));
        uint16_t read = word;
        io.ReadBits(general, SwKeys::kGeneralCtrlBits, CtrlFlags(w), read);
        io.ReadBits(rd, SwKeys::kGeneralCtrlBitsRd, CtrlFlags(w), read);
        const uint16_t mask = kAppliedCtrlBits[w];
        SetWord(CtrlFlags(w), static_cast<uint16_t>((word & ~mask) | (read & mask)));
    }
    if (Word(CtrlFlags(2)) & kCtrl2ReportPalmGroup) {
        SetWord(CtrlFlags(3), Word(CtrlFlags(3)) | kCtrl3PalmMergeLargeGroup);
    }
    io.ReadItems(SwKeys::kWaterSetting.name, SwKeys::kWaterSetting.items);
    io.ReadItems(SwKeys::kWaterSettingRd.name, SwKeys::kWaterSettingRd.items);
}

void CParam_SW::ReadModes(SwItemIo& io, int modes) {
    namespace B = SwLayout::Block;
    for (int t = 0; t < modes; ++t) {
        io.SelectMode(t);
        const std::string flags = SwItemIo::Named("---Ctrl Flag-%d", t);
        const std::string flagsRd = SwItemIo::Named("---Ctrl Flag-%d-RD", t);
        for (int copy : {B::kCtrlCopy0, B::kCtrlCopy1, B::kCtrlCopy2}) {
            const int offset = ThresholdBlock(t) + copy;
            uint16_t word = Word(offset);
            io.ReadBits(flags, SwKeys::kModeCtrlBits, copy, word);
            io.ReadBits(flagsRd, SwKeys::kModeCtrlBitsRd, copy, word);
            SetWord(offset, word);
        }
        for (const SwSection& section : SwKeys::kModeSections) {
            io.ReadItems(SwItemIo::Named(section.name, t), section.items);
        }
    }
    DeriveWaterLineThresholds(modes);
}

// The water-line delta and double-delta thresholds follow the water-line touch thresholds.
void CParam_SW::DeriveWaterLineThresholds(int modes) {
    namespace B = SwLayout::Block;
    struct Line {
        int touchTh, deltaTh, ddTh;
    };
    for (int t = 0; t < modes; ++t) {
        const int block = ThresholdBlock(t);
        for (const Line& line : {Line{B::kWLRxTouchTh, B::kWaterRxDeltaTh, B::kWaterRxDDTh},
                                 Line{B::kWLTxTouchTh, B::kWaterTxDeltaTh, B::kWaterTxDDTh}}) {
            const int touch = Byte(block + line.touchTh);
            if (touch == 0) continue;
            SetByte(block + line.deltaTh, static_cast<uint8_t>(std::min(touch * 13 / 10, 254)));
            SetByte(block + line.ddTh, static_cast<uint8_t>(touch));
        }
    }
}

void CParam_SW::ReadCalibrationAndAreas(CParamFile& file, SwItemIo& io) {
    for (int set = 0; set < kCalibrationSets; ++set) {
        std::string section = SwItemIo::Named("Calibration Setting-%d", set);
        std::string probe;
        if (!file.ReadItem(section, "LLX", probe)) section += "-RD";
        for (const Corner& corner : kCorners) {
            const SwItem item[] = {CornerItem(corner, set)};
            io.ReadItems(section, item);
        }
    }
    CheckCalibrationResolution();
    for (int a = 0; a < kActiveAreas; ++a) {
        io.SelectArea(a);
        const std::string area = SwItemIo::Named(SwKeys::kActiveAreaNumbers.name, a);
        // Loading only adds attribute bits; AA_ATTR_VALID and AA_Attr(06) share bit 7, and a 0
        // in one of them does not take back the 1 of the other.
        uint16_t bits = 0;
        for (std::size_t k = 0; k < SwKeys::kAreaBits.size(); ++k) {
            uint16_t one = 0;
            io.ReadBits(area, SwKeys::kAreaBits.subspan(k, 1), kAreaAttribute, one);
            bits = static_cast<uint16_t>(bits | one);
        }
        const int attribute = ActiveArea(a) + kAreaAttribute;
        SetByte(attribute, static_cast<uint8_t>(Byte(attribute) | bits));
        io.ReadItems(area, SwKeys::kActiveAreaNumbers.items);
    }
}

void CParam_SW::ReadInterfaces(SwItemIo& io, int structVersion) {
    if (structVersion >= 10) {
        const std::vector<std::string> keys = TempKeys();
        const std::vector<SwItem> items = TempItems(keys);
        io.ReadItems(kTempSection, items);
    }
    uint16_t rightClick = 0;  // rebuilt: a missing key gives 0 for its part
    io.ReadBits(SwKeys::kUsb.name, SwKeys::kRightClickBits, kRightClick, rightClick);
    SetByte(kRightClick, static_cast<uint8_t>(rightClick));
    io.ReadItems(SwKeys::kUsb.name, SwKeys::kUsb.items);

    uint16_t ignored = Word(kUsbCtrl);  // read for the range messages, not applied
    io.ReadBits(SwKeys::kUsbRd.name, SwKeys::kUsbCtrlBits, kUsbCtrl, ignored);
    io.ReadItems(SwKeys::kUsbRd.name, SwKeys::kUsbRd.items);

    const std::string power = SwKeys::kPowerRd.name;
    io.ReadItems(power, SwKeys::kPowerRd.items);
    ignored = Word(kPwrCtrl);
    io.ReadBits(power, SwKeys::kPwrCtrlBits, kPwrCtrl, ignored);
    io.ReadItems(power, SwKeys::kSysPower.items);
    for (int w = 0; w < kPowerLevels; ++w) {
        const PowerLevelItems level = PowerLevel(w);
        io.ReadItems(power, level.items);
    }

    // The serial control byte keeps only hardware flow control, which the detail section may
    // repeat; its other bits are read from the detail section only, and cleared.
    uint16_t serial = Byte(kRs232Ctrl);
    io.ReadBits("Interface Support", SwKeys::kRs232CtrlBits.first(1), kRs232Ctrl, serial);
    const std::string supportRd = SwKeys::kInterfaceSupportRd.name;
    io.ReadBits(supportRd, SwKeys::kRs232CtrlBits, kRs232Ctrl, serial);
    SetByte(kRs232Ctrl, (serial & 0x01) != 0 ? 1 : 0);
    io.ReadItems(supportRd, SwKeys::kInterfaceSupportRd.items);
    ignored = Byte(kInterfaceSupport);
    io.ReadBits(supportRd, SwKeys::kInterfaceSupportBits, kInterfaceSupport, ignored);

    const std::string config = SwKeys::kInterfaceConfigRd.name;
    for (int selection : {kInterfaceSelFinger, kInterfaceSelPen}) {
        ignored = Byte(selection);
        io.ReadBits(config, SwKeys::kInterfaceSelBits, selection, ignored);
    }
    io.ReadItems(config, SwKeys::kInterfaceConfigRd.items);
    uint16_t format = Word(kUartReportFormat);
    const uint16_t found = io.ReadBits(config, SwKeys::kUartFormatBits, kUartReportFormat, format);
    if (found & 0x0040) format |= kUartPressureFollower;
    SetWord(kUartReportFormat, format);

    uint16_t notify = 0;  // the whole word: a missing key gives 0
    io.ReadBits("NotifyCtrl", SwKeys::kNotifyBits, kNotifyCtrl, notify);
    SetWord(kNotifyCtrl, notify);
}

// ---- Defaults ---------------------------------------------------------------------------------

// Every field the text file writes as a ranged item takes that item's default; the three threshold
// modes alike, and all three calibration sets.
void CParam_SW::StoreRangedDefaults() {
    CParamFile none("");
    SwItemIo io(std::span<uint8_t>(Image(), static_cast<std::size_t>(ImageLength())), none, {});
    for (const SwSection* section :
         {&SwKeys::kVersionInformation, &SwKeys::kVersionInformationRd, &SwKeys::kGeneralConfig,
          &SwKeys::kGeneralConfigRd, &SwKeys::kGeneralConfigRdLevel, &SwKeys::kWaterSetting,
          &SwKeys::kWaterSettingRd, &SwKeys::kUsb, &SwKeys::kUsbRd, &SwKeys::kPowerRd,
          &SwKeys::kSysPower, &SwKeys::kInterfaceSupportRd, &SwKeys::kInterfaceConfigRd}) {
        io.StoreDefaults(section->items);
    }
    for (std::span<const SwBits> bits : {SwKeys::kAxisBits, SwKeys::kGeneralCtrlBits,
                                         SwKeys::kGeneralCtrlBitsRd, SwKeys::kUartFormatBits}) {
        io.StoreDefaults(bits, SwArea::Image);
    }
    SetByte(kStrayUpdateCnt, 200);
    SetByte(kStrayStoreCnt, 100);
    for (int t = 0; t < kThresholdModes; ++t) {
        io.SelectMode(t);
        io.StoreDefaults(SwKeys::kModeCtrlBits, SwArea::ModeBlock);
        io.StoreDefaults(SwKeys::kModeCtrlBitsRd, SwArea::ModeBlock);
        for (const SwSection& section : SwKeys::kModeSections) io.StoreDefaults(section.items);
    }
    for (const SwSection& section : SwKeys::kGlobalSections) io.StoreDefaults(section.items);
    for (int set = 0; set < kCalibrationSets; ++set) {
        for (const Corner& corner : kCorners) {
            const SwItem item[] = {CornerItem(corner, set)};
            io.StoreDefaults(item);
        }
    }
    for (int a = 0; a < kActiveAreas; ++a) {
        io.SelectArea(a);
        io.StoreDefaults(SwKeys::kActiveAreaNumbers.items);
    }
    for (int w = 0; w < kPowerLevels; ++w) {
        const PowerLevelItems level = PowerLevel(w);
        io.StoreDefaults(level.items);
    }
}
