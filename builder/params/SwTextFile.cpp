// The software text file (.swt) through the common text frame, what the sections depend on, and
// the defaults the text file's ranged items give the image. Writing is in SwTextWrite.cpp, reading
// in SwTextRead.cpp.
#include "files/CParamFile.h"
#include "params/CParam_HW.h"
#include "params/CParam_SW.h"
#include "params/SwLayout.h"
#include "params/SwTextItems.h"
#include "params/SwTextParts.h"

namespace {

using namespace SwLayout;
using namespace SwText;

constexpr ParamFileFrame kFrame{".swt", "%s software parameter file", "SWB CRC Failed!\n",
                                kUsedLength};

}  // namespace

int CParam_SW::SaveTxtFile() {
    StampWriterVersionForSave(kStructMajor, kStructMinor);
    return SaveTextFrame(kFrame, [&](CParamFile& file) { WriteSections(file); });
}

int CParam_SW::LoadTxtFile() {
    std::string commandLine = Host()->TakeCommandLinePath(CommandLineFile::kSwText);
    return LoadTextFrame(kFrame, commandLine, [&](CParamFile& file) { ReadSections(file); }) ? 1
                                                                                             : 0;
}

bool CParam_SW::StrayCountsFromKernel() const {
    const ControllerIdentity& id = Host()->Identity();
    return id.kernelMajor > 3 || (id.kernelMajor == 3 && id.kernelMinor >= 31);
}

int CParam_SW::StructVersion() const {
    return Host()->Identity().swVersion;
}

bool CParam_SW::HwWaterScan() const {
    return Host()->Hardware().waterScan;
}

// ---- Defaults ---------------------------------------------------------------------------------

// Every field the text file writes as a ranged item takes that item's default; the three threshold
// modes alike, and all three calibration sets.
void CParam_SW::StoreRangedDefaults() {
    CParamFile none("");
    SwItemIo io(std::span<uint8_t>(Image(), static_cast<std::size_t>(ImageLength())), none, {});
    for (const SwSection* section :
         {&SwKeys::kVersionInformation, &SwKeys::kVersionInformationRd, &SwKeys::kGeneralConfig,
          &SwKeys::kGeneralConfigRd, &SwKeys::kStrayCounts, &SwKeys::kGeneralConfigRdLevel,
          &SwKeys::kWaterSetting, &SwKeys::kWaterSettingRd, &SwKeys::kUsb, &SwKeys::kUsbRd,
          &SwKeys::kPowerRd, &SwKeys::kSysPower, &SwKeys::kInterfaceSupportRd,
          &SwKeys::kInterfaceConfigRd}) {
        io.StoreDefaults(section->items);
    }
    for (std::span<const SwBits> bits : {SwKeys::kAxisBits, SwKeys::kGeneralCtrlBits,
                                         SwKeys::kGeneralCtrlBitsRd, SwKeys::kUartFormatBits}) {
        io.StoreDefaults(bits, SwArea::Image);
    }
    for (int t = 0; t < kThresholdModes; ++t) {
        io.SelectMode(t);
        io.StoreDefaults(SwKeys::kModeCtrlBits, SwArea::ModeBlock);
        io.StoreDefaults(SwKeys::kModeCtrlBitsRd, SwArea::ModeBlock);
        for (const SwSection& section : SwKeys::kModeSections) io.StoreDefaults(section.items);
    }
    for (const SwSection& section : SwKeys::kGlobalSections) io.StoreDefaults(section.items);
    for (int set = 0; set < kCalibrationSets; ++set)
        io.StoreDefaults(SwKeys::CalibrationItems(set));
    for (int a = 0; a < kActiveAreas; ++a) {
        io.SelectArea(a);
        io.StoreDefaults(SwKeys::kActiveAreaNumbers.items);
    }
    for (int w = 0; w < kPowerLevels; ++w) io.StoreDefaults(SwKeys::PowerLevelItems(w));
}
