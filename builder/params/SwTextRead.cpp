// Reading the software text file into the image. Loading is not the mirror of writing: some keys
// are written for information only, some bit keys are read but not applied, and several bit
// fields are merged into the image.
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "files/CParamFile.h"
#include "params/CParam_HW.h"
#include "params/CParam_SW.h"
#include "params/SwLayout.h"
#include "params/SwTextItems.h"
#include "params/SwTextParts.h"

using namespace SwLayout;
using namespace SwText;

namespace {

const SwSection& GlobalSection(std::string_view name) {
    for (const SwSection& section : SwKeys::kGlobalSections) {
        if (name == section.name) return section;
    }
    throw std::logic_error("no such software text section");
}

}  // namespace

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
        file.ReadItem(kModelSection, s.key, text);
        text.resize(static_cast<std::size_t>(s.width), '\0');  // cut, or pad with zero bytes
        std::copy(text.begin(), text.end(), Image() + s.offset);
    }
    const auto versions = SwKeys::kVersionInformation.items;
    // Keep-version mode leaves the image's own major and minor version.
    io.ReadItems(SwKeys::kVersionInformation.name,
                 Host()->Options().fixed.keepVersion ? versions.subspan(2) : versions);
    io.ReadItems(SwKeys::kVersionInformationRd.name, SwKeys::kVersionInformationRd.items);
}

void CParam_SW::ReadGeneral(CParamFile& file, SwItemIo& io, bool strayFromKernel) {
    const std::string general = SwKeys::kGeneralConfig.name;
    io.ReadItems(general, SwKeys::kGeneralConfig.items);
    uint16_t axis = 0;
    io.ReadBits(general, SwKeys::kAxisBits, kAxisFlags, axis);
    SetByte(kAxisFlags, static_cast<uint8_t>(axis));

    const std::string rd = kGeneralRdSection;
    io.ReadItems(rd, SwKeys::kGeneralConfigRd.items);
    int32_t idle = 0;
    if (file.ReadItemClamped(rd, "IdleUpdateCnts", idle, 0, 65535) ||
        file.ReadItemClamped(rd, "IdleUpdateTime", idle, 0, 65535)) {
        SetWord(kIdleUpdateTime, static_cast<uint16_t>(idle));
    }
    if (strayFromKernel) io.ReadItems(rd, SwKeys::kStrayCounts.items);
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
        io.ReadItems(section, SwKeys::CalibrationItems(set));
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
    if (structVersion >= 10) io.ReadItems(SwKeys::kTempParams.name, SwKeys::kTempParams.items);
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
    for (int w = 0; w < kPowerLevels; ++w) io.ReadItems(power, SwKeys::PowerLevelItems(w));

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
