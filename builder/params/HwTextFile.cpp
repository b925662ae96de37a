// The hardware text file (.hwt): every section and key in file order, and what loading does with
// each of them. Loading is not the mirror of writing, on purpose: some keys are written for
// information only, some scan control bits are read but never applied, the FREQCTRL byte is never
// changed by a load, and the mode images are read through the sensing chip.
#include <algorithm>
#include <cstdio>
#include <string>

#include "chips/CSlave.h"
#include "device/CMCU.h"
#include "files/CParamFile.h"
#include "params/CParam_HW.h"
#include "params/HwTextKeys.h"

using namespace hwtext;

namespace {

constexpr ParamFileFrame kTextFrame{".hwt", "%s hardware parameter file", "HWB CRC Failed!\n",
                                    hw::kUsedLength};

int Bit(unsigned word, int bit) {
    return static_cast<int>((word >> bit) & 1u);
}

}  // namespace

int CParam_HW::SaveTxtFile() {
    // A stale image is refused by the frame before anything is stamped into it.
    if (StampWriterVersionForSave(kStructMajor, kStructMinor) && Host()->Identity().hwVersion < 4) {
        SetImgTuningFromRecords();
        UpdateCheckSum();
    }
    return SaveTextFrame(kTextFrame, [this](CParamFile& file) { WriteTextSections(file); });
}

int CParam_HW::LoadTxtFile() {
    std::string commandLine = Host()->TakeCommandLinePath(CommandLineFile::kHwText);
    return LoadTextFrame(kTextFrame, commandLine,
                         [this](CParamFile& file) { ReadTextSections(file); })
               ? 1
               : 0;
}

void CParam_HW::WriteTextSections(CParamFile& file) {
    Section(file, "Version Information", kLevelBasic);
    for (const ByteKey& key : kVersionKeys)
        file.WriteItem(Byte(key.offset), kLevelBasic, "Version Information", key.key, "",
                       "read only");
    EndSection(file, kLevelBasic);
    Section(file, "Version Information-RD", kLevelDetail);
    file.WriteItem(Byte(hw::kParamVersion), kLevelDetail, "Version Information-RD", "ParamVersion",
                   "", "");
    EndSection(file, kLevelDetail);

    WriteScanCtrlSections(file);
    WriteSensorConfig(file);

    CSlave& chip = Host()->Chip();
    for (int m = 0; m < hw::kModeGroups; ++m) {
        const std::string section = std::string(hw::kGroupNames[m]) + " General Config-RD";
        const std::string key = std::string(hw::kGroupNames[m]) + "_SinGenAMP";
        const ValueRange range = SinAmpRangeOf(chip, m);
        char comment[48];
        std::snprintf(comment, sizeof comment, "Range from %d~%d", range.first, range.last);
        int32_t amplitude = chip.GetSinAmp(ModeImage(0, m));
        Section(file, section, kLevelDetail);
        const int32_t before = amplitude;
        file.WriteRangedItem(amplitude, range.last, range.first, range.last, kLevelDetail, section,
                             key, comment);
        if (amplitude != before) chip.SetSinAmp(ModeImage(0, m), amplitude);
        EndSection(file, kLevelDetail);
    }

    // The stored count may hold anything: only the five blocks there are can be written.
    const int frequencies = std::min<int>(NumsOfFreq(), hw::kMaxFrequencies);
    for (int f = 0; f < frequencies; ++f) WriteFrequencySections(file, f);
    WriteAreaSections(file);
}

void CParam_HW::WriteScanCtrlSections(CParamFile& file) {
    const unsigned scan = ScanCtrl();
    const unsigned idle = ScanCtrlIdle();
    Section(file, "Hardware Settings", kLevelBasic);
    for (const BitKey& key : kScanCtrlUserBits) {
        int32_t value = Bit(scan, key.bit);
        file.WriteRangedItem(value, key.def, 0, 1, kLevelBasic, "Hardware Settings", key.key,
                             key.comment);
    }
    EndSection(file, kLevelBasic);

    const auto writeFlags = [&](const char* section, const char* wordKey, unsigned word,
                                std::span<const BitKey> bits) {
        char text[8];
        std::snprintf(text, sizeof text, "0x%04X", word & 0xFFFFu);
        Section(file, section, kLevelDetail);
        file.WriteItem(text, kLevelDetail, section, wordKey, "", "Read Only");
        for (const BitKey& key : bits) {
            int32_t value = Bit(word, key.bit);
            file.WriteRangedItem(value, key.def, 0, 1, kLevelDetail, section, key.key, key.comment);
        }
        EndSection(file, kLevelDetail);
    };
    writeFlags("Hardware Settings-RD", "ScanCtrl", scan, kScanCtrlDetailBits);
    writeFlags("Hardware Settings(Idle)-RD", "ScanCtrl(Idle)", idle, kScanCtrlIdleBits);
}

void CParam_HW::WriteSensorConfig(CParamFile& file) {
    const std::span<uint8_t> image = ImageBytes();
    CSlave& chip = Host()->Chip();
    const char* section = "Sensor Config";
    Section(file, section, kLevelBasic);
    WriteRangedKeys(file, image, kSensorConfigHead, section, kLevelBasic);
    // The counts were just put in range by their ranged items.
    for (int i = 0; i < std::min<int>(NumsOfTxChips(), hw::kMaxChips); ++i) {
        const int first = chip.GetTxChannelFirst(i), last = chip.GetTxChannelLast(i);
        file.WriteRangedItem(ImageField<uint8_t>(image, hw::kTxRange + 2 * i), first, first, last,
                             kLevelBasic, section, Indexed("TxStart(%d)", i),
                             "The first active TX channel of the driving chip.");
        file.WriteRangedItem(ImageField<uint8_t>(image, hw::kTxRange + 2 * i + 1), last, first,
                             last, kLevelBasic, section, Indexed("TxEnd(%d)", i),
                             "The last active TX channel of the driving chip.");
    }
    for (int i = 0; i < std::min<int>(NumsOfRxChips(), hw::kMaxChips); ++i) {
        const int first = chip.GetRxChannelFirst(i), last = chip.GetRxChannelLast(i);
        file.WriteRangedItem(ImageField<uint8_t>(image, hw::kRxRange + 2 * i), first, first, last,
                             kLevelBasic, section, Indexed("RxStart(%d)", i),
                             "The first active RX channel of the sensing chip.");
        file.WriteRangedItem(ImageField<uint8_t>(image, hw::kRxRange + 2 * i + 1), last, first,
                             last, kLevelBasic, section, Indexed("RxEnd(%d)", i),
                             "The last active Rx channels of the sensing chip.");
    }
    WriteRangedKeys(file, image, kSensorConfigTail, section, kLevelBasic);
    EndSection(file, kLevelBasic);

    // In research mode the phase targets are items people edit.
    const bool research = Host()->Options().fixed.research;
    const int phaseLevel = research ? kLevelBasic : kLevelDetail;
    const char* rd = "Sensor Config-RD";
    Section(file, rd, phaseLevel);
    for (int k = 0; k < hw::kPhaseTargets; ++k)
        file.WriteItem(PhaseTarget(k), phaseLevel, rd, Indexed("PhaseTarget(%d)", k), "", "");
    WriteRangedKeys(file, image, kSensorConfigDetail, rd, kLevelDetail);
    const char* strayComment =
        StrayCountsInSoftwareSet(Host()->Identity().kernelMajor, Host()->Identity().kernelMinor)
            ? "Read Only. Move to SWT after v03_30"
            : "";
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kStrayUpdatWaiteTime), 100, 1, 254,
                         kLevelDetail, rd, "StrayUpdatWaiteTime", strayComment);
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kStrayUpdatTime), 100, 1, 254, kLevelDetail,
                         rd, "StrayUpdatTime", strayComment);
    EndSection(file, phaseLevel);
}

void CParam_HW::WriteFrequencySections(CParamFile& file, int f) {
    const std::span<uint8_t> image = ImageBytes();
    const int base = hw::FreqBlock(f);
    CSlave& chip = Host()->Chip();

    const std::string general = Indexed("Freq-%d General Config", f);
    char working[32];
    std::snprintf(working, sizeof working, "%.2fKHz",
                  static_cast<double>(Host()->Mcu().CalcFrequency(GetClkSrc(f), GetPreScaler(f),
                                                                  GetFreqDivider(f))));
    Section(file, general, kLevelBasic);
    file.WriteItem(working, kLevelBasic, general, "WorkingFreq", "", "Read Only");
    EndSection(file, kLevelBasic);

    const std::string rd = general + "-RD";
    Section(file, rd, kLevelDetail);
    WriteRangedKeys(file, image, kFrequencyGeneral, rd, kLevelDetail, base);
    const unsigned freqCtrl = GetFreqCtrl(f);
    for (int bit = 0; bit < 8; ++bit) {
        int32_t value = Bit(freqCtrl, bit);
        file.WriteRangedItem(value, 0, 0, 1, kLevelDetail, rd, kFreqCtrlKeys[bit], "");
    }
    EndSection(file, kLevelDetail);

    for (int m = 0; m < hw::kModeGroups; ++m) {
        const std::string section = RegSectionName(f, hw::kGroupNames[m]);
        const std::string tuneSection = CSlave::TuneSectionName(section, hw::kGroupNames[m]);
        const int level = m <= hw::kImg ? kLevelBasic : kLevelDetail;
        Section(file, tuneSection, level);
        if (m == hw::kImg)
            WriteRangedKeys(file, image, kImgSummary, section, kLevelBasic, base,
                            DelayMax(GetPreScaler(f)));
        chip.SaveTuneSection(file, section, hw::kGroupNames[m], ModeImage(f, m), GetPreScaler(f),
                             GetFreqCtrl(f));
        EndSection(file, level);
        if (m == hw::kImg) WriteImgRecords(file, f);
    }
}

void CParam_HW::WriteImgRecords(CParamFile& file, int f) {
    const std::span<uint8_t> image = ImageBytes();
    const int base = hw::FreqBlock(f);
    const int delayMax = DelayMax(GetPreScaler(f));
    const std::string section = Indexed("Freq-%d Img Parameters-RD", f);
    Section(file, section, kLevelDetail);
    for (const RecordKey& key : kImgRecordKeys) {
        const int max = key.max == kDelayRange ? delayMax : key.max;
        if (key.summaryOffset >= 0) {
            file.WriteRangedItem(ImageField<uint8_t>(image, base + key.summaryOffset),
                                 key.summaryDef, key.min, max, kLevelDetail, section, key.key,
                                 "Read Only");
        }
        for (int k = 0; k < hw::kTuningRecordCount; ++k) {
            file.WriteRangedItem(ImageField<uint8_t>(image, hw::TuningRecord(f, k) + key.field),
                                 key.recordDef, key.min, max, kLevelDetail, section,
                                 Indexed(std::string(key.key) + "(%d)", k), "");
        }
    }
    EndSection(file, kLevelDetail);
}

void CParam_HW::WriteAreaSections(CParamFile& file) {
    const std::span<uint8_t> image = ImageBytes();
    const bool research = Host()->Options().fixed.research;
    Section(file, "Channel Ctrl", kLevelBasic);
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kChannelCtrl), 0, 0, 1, kLevelBasic,
                         "Channel Ctrl", "ChannelCtrl",
                         "0: Disable channel ctrl. 1: Enable channel ctrl");
    if (ChannelCtrl() == 1 || research) {
        for (const EnableMap& map : kEnableMaps) {
            for (int j = 0; j < map.bytes; ++j) {
                file.WriteItem(ByteToBinString(Byte(map.offset + j)), kLevelBasic, "Channel Ctrl",
                               EnableKey(map.prefix, j), "0~255",
                               "Channel Index, 0:Disable, 1:Enable");
            }
        }
    }
    EndSection(file, kLevelBasic);

    Section(file, "Remap Area-RD", kLevelDetail);
    EndSection(file, kLevelDetail);
    for (int a = 0; a < hw::kRemapAreas; ++a) {
        const std::string remap = Indexed("Remap Area%d-RD", a);
        Section(file, remap, kLevelDetail);
        WriteRangedKeys(file, image, kRemapKeys, remap, kLevelDetail,
                        hw::kRemapArea + hw::kRemapAreaSize * a);
        EndSection(file, kLevelDetail);
        const std::string gray = Indexed("Gray Range%d-RD", a);
        Section(file, gray, kLevelDetail);
        WriteRangedKeys(file, image, kGrayKeys, gray, kLevelDetail,
                        hw::kGrayRange + hw::kGrayRangeSize * a);
        EndSection(file, kLevelDetail);
    }

    CSlave& chip = Host()->Chip();
    const char* vkey = "V-Key Param-RD";
    Section(file, vkey, kLevelDetail);
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kVKeyTxChipsSel), 0, 0, 1, kLevelDetail,
                         vkey, "VKeyTxChipsSel", "");
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kVKeyRxChipsSel), 0, 0, 1, kLevelDetail,
                         vkey, "VKeyRxChipsSel", "");
    const ValueRange tx = VKeyTxRange(chip, Byte(hw::kVKeyTxChipsSel));
    const ValueRange rx = VKeyRxRange(chip, Byte(hw::kVKeyRxChipsSel));
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kVKeyTXStart), tx.first, tx.first, tx.last,
                         kLevelDetail, vkey, "VKeyTXStart", "");
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kVKeyTXEnd), tx.last, tx.first, tx.last,
                         kLevelDetail, vkey, "VKeyTXEnd", "");
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kVKeyRXStart), rx.first, rx.first, rx.last,
                         kLevelDetail, vkey, "VKeyRXStart", "");
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kVKeyRXEnd), rx.last, rx.first, rx.last,
                         kLevelDetail, vkey, "VKeyRXEnd", "");
    EndSection(file, kLevelDetail);

    Section(file, "Key Area-RD", kLevelDetail);
    file.WriteRangedItem(ImageField<uint8_t>(image, hw::kNumsOfKey), 0, 0, hw::kMaxKeyAreas,
                         kLevelDetail, "Key Area-RD", "NumsOfKey",
                         "Nums of virtual key area. 0:Disable");
    EndSection(file, kLevelDetail);
    for (int k = 0; k < std::min<int>(NumsOfKey(), hw::kMaxKeyAreas); ++k) {
        const std::string section = Indexed("Key Area%d-RD", k);
        Section(file, section, kLevelDetail);
        WriteRangedKeys(file, image, kKeyAreaKeys, section, kLevelDetail, hw::KeyArea(k));
        EndSection(file, kLevelDetail);
    }

    Section(file, "ID Table-RD", kLevelDetail);
    for (int i = 0; i < hw::kIdTableR5Size; ++i)
        file.WriteItem(Byte(hw::kIdTableR5 + i), kLevelDetail, "ID Table-RD",
                       Indexed("IdTableR5(%d)", i), "", "");
    EndSection(file, kLevelDetail);
    for (int i = 0; i < hw::kIdTableR3Size; ++i)
        file.WriteItem(Byte(hw::kIdTableR3 + i), kLevelDetail, "ID Table-RD",
                       Indexed("IdTableR3(%d)", i), "", "");
    EndSection(file, kLevelDetail);
}
