// Writing the software text file: every section in file order, from the image.
#include <algorithm>
#include <cstdio>
#include <string>

#include "files/CParamFile.h"
#include "params/CParam_HW.h"
#include "params/CParam_SW.h"
#include "params/SwLayout.h"
#include "params/SwTextItems.h"
#include "params/SwTextParts.h"

using namespace SwLayout;
using namespace SwText;

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
    const std::string model = kModelSection;
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

    const std::string rd = kGeneralRdSection;
    io.Begin(rd);
    io.WriteItems(rd, SwKeys::kGeneralConfigRd.items);
    CParamFile& file = *io.File();
    if (strayFromKernel) {
        io.WriteItems(rd, SwKeys::kStrayCounts.items);
    } else {
        // Older firmware takes the stray timing from the hardware set; show what it uses.
        SetByte(kStrayUpdateCnt, Host()->Hardware().strayUpdateWaitTime);
        SetByte(kStrayStoreCnt, Host()->Hardware().strayUpdateTime);
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
    io.WriteItems(calibration, SwKeys::CalibrationItems(0));
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
        const std::string temp = SwKeys::kTempParams.name;
        io.Begin(temp);
        io.WriteItems(temp, SwKeys::kTempParams.items);
        io.End(temp);
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
        io.WriteItems(power, SwKeys::PowerLevelItems(w));
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
