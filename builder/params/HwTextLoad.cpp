// Loading the hardware text file, section by section in file order. A missing key leaves its
// field as it was; a value out of range is clamped with a message and never fails the load.
#include <algorithm>
#include <string>

#include "chips/CSlave.h"
#include "files/CParamFile.h"
#include "params/CParam_HW.h"
#include "params/HwTextKeys.h"

using namespace hwtext;

namespace {

// The controller type whose chip takes its frequency divider from the file; every other chip
// runs with divider 3.
constexpr uint8_t kFixedDivider = 3;

// A 0~1 item into a temporary bit that starts as the stored bit.
int ReadBit(CParamFile& file, std::string_view section, const char* key, unsigned stored, int bit) {
    int32_t value = static_cast<int32_t>((stored >> bit) & 1u);
    file.ReadItemClamped(section, key, value, 0, 1);
    return value;
}

}  // namespace

void CParam_HW::ReadTextSections(CParamFile& file) {
    const bool keepVersion = Host()->Options().fixed.keepVersion;
    for (const ByteKey& key : kVersionKeys) {
        if (keepVersion && (key.offset == hw::kMajorVersion || key.offset == hw::kMinorVersion))
            continue;
        uint8_t value = Byte(key.offset);
        if (file.ReadItem("Version Information", key.key, value)) SetByte(key.offset, value);
    }
    uint8_t paramVersion = Byte(hw::kParamVersion);
    if (file.ReadItem("Version Information-RD", "ParamVersion", paramVersion))
        SetByte(hw::kParamVersion, paramVersion);

    ReadScanCtrlSections(file);
    ReadSensorConfig(file);

    CSlave& chip = Host()->Chip();
    const int frequencies = std::min<int>(NumsOfFreq(), hw::kMaxFrequencies);
    for (int m = 0; m < hw::kModeGroups; ++m) {
        const ValueRange range = SinAmpRangeOf(chip, m);
        int32_t amplitude = 0;
        if (!file.ReadItemClamped(std::string(hw::kGroupNames[m]) + " General Config-RD",
                                  std::string(hw::kGroupNames[m]) + "_SinGenAMP", amplitude,
                                  range.first, std::max(range.first, range.last)))
            continue;
        for (int f = 0; f < frequencies; ++f) chip.SetSinAmp(ModeImage(f, m), amplitude);
    }
    for (int f = 0; f < frequencies; ++f) ReadFrequencySections(file, f);
    ReadAreaSections(file);
}

void CParam_HW::ReadScanCtrlSections(CParamFile& file) {
    const unsigned scan = ScanCtrl();
    const int water = ReadBit(file, "Hardware Settings", "SCAN_CTRL_WATER", scan, 1);
    const int tx2ch = ReadBit(file, "Hardware Settings", "SCAN_CTRL_TX2CH", scan, 11);
    // The other bits are read, and clamped with a message, but the firmware's own settings stay:
    // only the two user bits above are taken from the file.
    for (const BitKey& key : kScanCtrlDetailBits)
        ReadBit(file, "Hardware Settings-RD", key.key, scan, key.bit);
    for (const BitKey& key : kScanCtrlIdleBits)
        ReadBit(file, "Hardware Settings(Idle)-RD", key.key, ScanCtrlIdle(), key.bit);
    const unsigned applied = (scan & 0xF7FDu) | (water != 0 ? unsigned{hw::kScanWater} : 0u) |
                             (tx2ch != 0 ? unsigned{hw::kScanTx2Ch} : 0u);
    SetWord(hw::kScanCtrl, static_cast<uint16_t>(applied));
}

void CParam_HW::ReadSensorConfig(CParamFile& file) {
    const std::span<uint8_t> image = ImageBytes();
    CSlave& chip = Host()->Chip();
    const char* section = "Sensor Config";
    ReadRangedKeys(file, image, kSensorConfigHead, section);
    // Chips beyond the counts just read take the chip's default ranges, whatever the file says.
    for (int i = 0; i < hw::kMaxChips; ++i) {
        const std::span<uint8_t> tx = image.subspan(hw::kTxRange + 2 * i, 2);
        if (i < NumsOfTxChips()) {
            const int first = chip.GetTxChannelFirst(i),
                      last = std::max(first, chip.GetTxChannelLast(i));
            file.ReadItemClamped(section, Indexed("TxStart(%d)", i), tx[0], first, last);
            file.ReadItemClamped(section, Indexed("TxEnd(%d)", i), tx[1], first, last);
        } else {
            chip.GetDefaultTxRange(tx, i);
        }
        const std::span<uint8_t> rx = image.subspan(hw::kRxRange + 2 * i, 2);
        if (i < NumsOfRxChips()) {
            const int first = chip.GetRxChannelFirst(i),
                      last = std::max(first, chip.GetRxChannelLast(i));
            file.ReadItemClamped(section, Indexed("RxStart(%d)", i), rx[0], first, last);
            file.ReadItemClamped(section, Indexed("RxEnd(%d)", i), rx[1], first, last);
        } else {
            chip.GetDefaultRxRange(rx, i);
        }
    }
    ReadRangedKeys(file, image, kSensorConfigTail, section);

    const char* rd = "Sensor Config-RD";
    const int lastTx = std::max(Host()->Geometry().txCount - 1, 0);
    for (int k = 0; k < hw::kPhaseTargets; ++k)
        file.ReadItemClamped(rd, Indexed("PhaseTarget(%d)", k), image[hw::kPhaseTarget + k], 0,
                             lastTx);
    ReadRangedKeys(file, image, kSensorConfigDetail, rd);
    // Newer kernels keep the stray counts in the software set: the items here are information.
    if (!StrayCountsInSoftwareSet(Host()->Identity().kernelMajor, Host()->Identity().kernelMinor)) {
        file.ReadItemClamped(rd, "StrayUpdatWaiteTime", image[hw::kStrayUpdatWaiteTime], 1, 254);
        file.ReadItemClamped(rd, "StrayUpdatTime", image[hw::kStrayUpdatTime], 1, 254);
    }
}

void CParam_HW::ReadFrequencySections(CParamFile& file, int f) {
    const std::span<uint8_t> image = ImageBytes();
    const int base = hw::FreqBlock(f);
    CSlave& chip = Host()->Chip();
    const std::string rd = Indexed("Freq-%d General Config-RD", f);
    for (const RangedKey& key : kFrequencyGeneral) {
        if (key.offset == hw::block::kFreqDivider && !Host()->Model().dividerSetsFrequency) {
            SetBlockByte(f, hw::block::kFreqDivider, kFixedDivider);
            continue;
        }
        ReadRangedKey(file, image, key, rd, base, 0);
    }
    // The FREQCTRL bits steer the switches of the water-line images; the byte itself stays.
    const unsigned stored = GetFreqCtrl(f);
    const int wltxLowGain = ReadBit(file, rd, kFreqCtrlKeys[2], stored, 2);
    const int wlrxLowGain = ReadBit(file, rd, kFreqCtrlKeys[3], stored, 3);
    for (int bit : {0, 1, 4, 5, 6, 7}) ReadBit(file, rd, kFreqCtrlKeys[bit], stored, bit);

    for (int m = 0; m < hw::kModeGroups; ++m) {
        const std::span<uint8_t> mode = ModeImage(f, m);
        if (m == hw::kWLTx) chip.SetSWP(mode, wltxLowGain == 1 ? 0 : 1);
        if (m == hw::kWLRx) chip.SetSWP(mode, wlrxLowGain == 1 ? 0 : 1);
        chip.LoadRegSection(file, RegSectionName(f, hw::kGroupNames[m]), hw::kGroupNames[m], mode);
        chip.ApplyPreScaler(mode, GetPreScaler(f));
    }

    const int delayMax = DelayMax(GetPreScaler(f));
    ReadRangedKeys(file, image, kImgSummary, RegSectionName(f, "Img"), base, delayMax);
    const std::string records = Indexed("Freq-%d Img Parameters-RD", f);
    for (const RecordKey& key : kImgRecordKeys) {
        bool changed = false;
        uint8_t largest = 0;
        for (int k = 0; k < hw::kTuningRecordCount; ++k) {
            uint8_t& field = image[static_cast<std::size_t>(hw::TuningRecord(f, k) + key.field)];
            const uint8_t before = field;
            const int max = key.max == kDelayRange ? delayMax : key.max;
            file.ReadItemClamped(records, Indexed(std::string(key.key) + "(%d)", k), field, key.min,
                                 std::max(key.min, max));
            changed = changed || field != before;
            largest = std::max(largest, field);
        }
        // Tuned records decide the summary; an untouched table leaves the summary as read.
        if (changed && key.summaryOffset >= 0) SetBlockByte(f, key.summaryOffset, largest);
    }

    const unsigned freqCtrl = GetFreqCtrl(f);
    const int imgSwitch = (freqCtrl & hw::kFreqCtrlLowGain) ? 0 : 1;
    chip.SetSWP(ModeImage(f, hw::kImg), imgSwitch);
    chip.SetSWN(ModeImage(f, hw::kImg), imgSwitch);
    const int vkeySwitch = (freqCtrl & hw::kFreqCtrlVKeyLowGain) ? 0 : 1;
    chip.SetSWP(ModeImage(f, hw::kVKey), vkeySwitch);
    chip.SetSWN(ModeImage(f, hw::kVKey), vkeySwitch);
}

void CParam_HW::ReadAreaSections(CParamFile& file) {
    const std::span<uint8_t> image = ImageBytes();
    file.ReadItemClamped("Channel Ctrl", "ChannelCtrl", image[hw::kChannelCtrl], 0, 1);
    for (const EnableMap& map : kEnableMaps) {
        for (int j = 0; j < map.bytes; ++j) {
            std::string bits;
            if (file.ReadItem("Channel Ctrl", EnableKey(map.prefix, j), bits) && !bits.empty())
                SetByte(map.offset + j, BinStringToByte(bits));
        }
    }
    for (int a = 0; a < hw::kRemapAreas; ++a) {
        ReadRangedKeys(file, image, kRemapKeys, Indexed("Remap Area%d-RD", a),
                       hw::kRemapArea + hw::kRemapAreaSize * a);
        ReadRangedKeys(file, image, kGrayKeys, Indexed("Gray Range%d-RD", a),
                       hw::kGrayRange + hw::kGrayRangeSize * a);
    }

    CSlave& chip = Host()->Chip();
    const char* vkey = "V-Key Param-RD";
    file.ReadItemClamped(vkey, "VKeyTxChipsSel", image[hw::kVKeyTxChipsSel], 0, 1);
    file.ReadItemClamped(vkey, "VKeyRxChipsSel", image[hw::kVKeyRxChipsSel], 0, 1);
    const ValueRange tx = VKeyTxRange(chip, Byte(hw::kVKeyTxChipsSel));
    const ValueRange rx = VKeyRxRange(chip, Byte(hw::kVKeyRxChipsSel));
    file.ReadItemClamped(vkey, "VKeyTXStart", image[hw::kVKeyTXStart], tx.first,
                         std::max(tx.first, tx.last));
    file.ReadItemClamped(vkey, "VKeyTXEnd", image[hw::kVKeyTXEnd], tx.first,
                         std::max(tx.first, tx.last));
    file.ReadItemClamped(vkey, "VKeyRXStart", image[hw::kVKeyRXStart], rx.first,
                         std::max(rx.first, rx.last));
    file.ReadItemClamped(vkey, "VKeyRXEnd", image[hw::kVKeyRXEnd], rx.first,
                         std::max(rx.first, rx.last));

    file.ReadItemClamped("Key Area-RD", "NumsOfKey", image[hw::kNumsOfKey], 0, hw::kMaxKeyAreas);
    for (int k = 0; k < std::min<int>(NumsOfKey(), hw::kMaxKeyAreas); ++k)
        ReadRangedKeys(file, image, kKeyAreaKeys, Indexed("Key Area%d-RD", k), hw::KeyArea(k));

    for (int i = 0; i < hw::kIdTableR5Size; ++i)
        file.ReadItem("ID Table-RD", Indexed("IdTableR5(%d)", i), image[hw::kIdTableR5 + i]);
    for (int i = 0; i < hw::kIdTableR3Size; ++i)
        file.ReadItem("ID Table-RD", Indexed("IdTableR3(%d)", i), image[hw::kIdTableR3 + i]);
}
