// The stylus text file (.pwt): every section and key in file order. The register images of the
// stylus scan groups appear as the sensing chip's tuning items; the threshold modes and the
// research parameters follow the global settings.
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "chips/CSlave.h"
#include "device/CMCU.h"
#include "files/CParamFile.h"
#include "params/CParam_Pen.h"
#include "params/PenText.h"
#include "params/PenTextKeys.h"

using namespace hwtext;
using namespace pentext;

namespace {

int Bit(unsigned word, int bit) {
    return static_cast<int>((word >> bit) & 1u);
}

const char* CommentOf(const RangedKey& key, int structVersion) {
    if (key.comment == kUnusedAfterV07) return structVersion >= 8 ? kUnusedAfterV07Text : "";
    if (key.comment == kUnusedAfterV08) return structVersion >= 9 ? kUnusedAfterV08Text : "";
    return key.comment;
}

}  // namespace

namespace pentext {

const ParamFileFrame kTextFrame{".pwt", "%s stylus parameter file", "PWB CRC Failed!\n",
                                pen::kUsedLength};

void WriteKeys(CParamFile& file, std::span<uint8_t> image, std::span<const RangedKey> keys,
               std::string_view section, int structVersion, int base, int headLevel,
               std::initializer_list<std::string_view> headKeys) {
    for (RangedKey key : keys) {
        key.comment = CommentOf(key, structVersion);
        const bool head = std::find(headKeys.begin(), headKeys.end(), key.key) != headKeys.end();
        WriteRangedKey(file, image, key, section, head ? headLevel : kLevelDetail, base, 0);
    }
}

RangedKey IndexedKey(RangedKey key, const std::string& name) {
    key.key = name.c_str();
    return key;
}

}  // namespace pentext

int CParam_Pen::SaveTxtFile() {
    // A stale image is refused by the frame before anything is changed in it.
    if (CalcCheckSum() == Word(2)) {
        PrepareForText();
        UpdateCheckSum();
    }
    return SaveTextFrame(kTextFrame, [this](CParamFile& file) { WriteTextSections(file); });
}

// Older firmware takes the global thresholds and filters in place of the threshold modes' own,
// and knows no research parameters: the file shows what that firmware will use.
void CParam_Pen::PrepareForText() {
    StampVersions(1, 4);
    const int version = Host()->Identity().penVersion;
    for (int t = 0; t < pen::kMaxThresholds; ++t) {
        const int b = pen::ThresholdBlock(t);
        if (version < 8) {
            SetWord(b + pen::threshold::kZBase, Word(pen::kZBase));
            SetWord(b + pen::threshold::kDetectTh, Word(pen::kDetectTh));
            SetWord(b + pen::threshold::kTouchTh, Word(pen::kTouchTh));
            SetByte(b + pen::threshold::kZMaxFilter, Byte(pen::kZFilterLevel));
            SetByte(b + pen::threshold::kFirstDownConst, Byte(pen::kFirstDownConst));
            SetByte(b + pen::threshold::kTipDownConstArea, Byte(pen::kTipDownConstArea));
            SetByte(b + pen::threshold::kSlowConstArea, Byte(pen::kSlowConstArea));
            SetByte(b + pen::threshold::kJudgeSkipCnt, Byte(pen::kJudgeSkipCnt));
        }
        if (version < 9) SetByte(b + pen::threshold::kZMinFilter, Byte(pen::kZMinFilter));
    }
    if (version < 11)
        std::fill_n(Image() + pen::kSignedTempParams, 4 + 2 * pen::kTempParamCount, uint8_t{0});
}

void CParam_Pen::WriteTextSections(CParamFile& file) {
    const int head = Host()->Options().fixed.research ? kLevelBasic : kLevelDetail;
    const char* version = "Version Information";
    Section(file, version, head);
    const std::pair<const char*, int> versionKeys[] = {
        {"MajorVersion", pen::kMajorVersion},
        {"MinorVersion", pen::kMinorVersion},
        {"TunerMajorVersion", pen::kTunerMajorVersion},
        {"TunerMinorVersion", pen::kTunerMinorVersion},
        {"TunerBuildNo", pen::kTunerBuildNo}};
    for (const auto& [key, offset] : versionKeys)
        file.WriteItem(Byte(offset), head, version, key, "", "Read Only");
    file.WriteItem(Byte(pen::kParamVersion), head, version, "ParamVersion", "", "");
    EndSection(file, head);

    WriteHardwareSections(file);
    // The count was put in range by its ranged item; only the three blocks there are exist.
    const int frequencies = std::min<int>(NumsOfFreq(), pen::kMaxFrequencies);
    for (int f = 0; f < frequencies; ++f) WriteFrequencySections(file, f);
    WriteSoftwareSections(file);
}

void CParam_Pen::WriteHardwareSections(CParamFile& file) {
    const std::span<uint8_t> image = ImageBytes();
    const int version = Host()->Identity().penVersion;
    const char* general = "HW General Config";
    Section(file, general, kLevelDetail);
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", Word(pen::kCtrlFlag));
    file.WriteItem(text, kLevelDetail, general, "CtrlFlag", "", "Read Only");
    for (int bit = 0; bit < 16; ++bit) {
        int32_t value = Bit(Word(pen::kCtrlFlag), bit);
        file.WriteRangedItem(value, 0, 0, 1, kLevelDetail, general, Indexed("CtrlFlag(%02d)", bit),
                             "");
    }
    file.WriteRangedItem(ImageField<uint8_t>(image, pen::kNumsOfPenSupport), 1, 0, 255,
                         kLevelDetail, general, "NumsOfPenSupport", "");
    EndSection(file, kLevelDetail);

    const char* hardware = "Pen Hardware Settings";
    Section(file, hardware, kLevelDetail);
    WriteKeys(file, image, kPenHardwareSettings, hardware, version);
    for (int i = 0; i < 4; ++i) {
        const std::string name = Indexed(kLPenPin.key, i);
        const std::string comment = Indexed(kLPenPin.comment, i);
        RangedKey pin = IndexedKey(kLPenPin, name);
        pin.comment = comment.c_str();
        WriteRangedKey(file, image, pin, hardware, kLevelDetail, i, 0);
    }
    EndSection(file, kLevelDetail);

    CSlave& chip = Host()->Chip();
    const char* beacon = "Beacon Config";
    Section(file, beacon, kLevelDetail);
    WriteRangedKey(file, image, kBeaconWaveN, beacon, kLevelDetail, 0, 0);
    const int first = chip.GetSinAmpMin(), last = chip.GetSinAmpMax();
    char range[48];
    std::snprintf(range, sizeof range, "Range from %d~%d", first, last);
    file.WriteRangedItem(ImageField<uint8_t>(image, pen::kBeaconWaveSignal),
                         kBeaconWaveSignalDefault, first, last, kLevelDetail, beacon,
                         "BeaconWaveSignal", range);
    const int frequencies = std::min<int>(NumsOfFreq(), pen::kMaxFrequencies);
    for (int f = 0; f < frequencies; ++f)
        WriteRangedKey(file, image, IndexedKey(kBeaconPreScaler, Indexed(kBeaconPreScaler.key, f)),
                       beacon, kLevelDetail, f, 0);
    WriteKeys(file, image, kIdleBeacon, beacon, version);
    EndSection(file, kLevelDetail);

    Section(file, "Frequency Configurations", kLevelDetail);
    EndSection(file, kLevelDetail);
}

void CParam_Pen::WriteFrequencySections(CParamFile& file, int f) {
    const std::span<uint8_t> image = ImageBytes();
    const int base = pen::FreqBlock(f);
    CSlave& chip = Host()->Chip();

    const std::string general = Indexed("Freq-%d General Config", f);
    Section(file, general, kLevelDetail);
    char text[32];
    std::snprintf(text, sizeof text, "%.2fKHz",
                  static_cast<double>(Host()->Mcu().CalcFrequency(GetClkSrc(f), GetPreScaler(f),
                                                                   GetFreqDivider(f))));
    file.WriteItem(text, kLevelDetail, general, "WorkingFreq", "", "Read Only");
    WriteKeys(file, image, pentext::kFrequencyGeneral, general, 0, base);
    std::snprintf(text, sizeof text, "0x%02X", GetFreqCtrl(f));
    file.WriteItem(text, kLevelDetail, general, "FreqCtrl", "", "Read Only");
    for (int bit = 0; bit < 8; ++bit) {
        int32_t value = Bit(GetFreqCtrl(f), bit);
        file.WriteRangedItem(value, 0, 0, 1, kLevelDetail, general,
                             Indexed("FREQCTRL_PADDING_%d", bit), "");
    }
    EndSection(file, kLevelDetail);

    // Without far-signal compensation the firmware ignores these values.
    const bool compensated = Bit(PenCtrl(0), pen::kFarSignalCompensationBit) != 0;
    const char* comment = compensated ? "" : " Read Only";
    const std::string compensation = Indexed("Freq-%d Signal Compensation", f);
    Section(file, compensation, kLevelDetail);
    for (int i = 0; i < pen::kCompensations; ++i) {
        for (const RangedKey& key : kCompensation) {
            const std::string name = Indexed(key.key, i);
            RangedKey item = IndexedKey(key, name);
            item.comment = comment;
            WriteRangedKey(file, image, item, compensation, kLevelDetail, base + 4 * i, 0);
        }
    }
    EndSection(file, kLevelDetail);

    for (int g = 0; g < pen::kGroups; ++g) {
        const std::string section = RegSectionName(f, pen::kGroupNames[g]);
        Section(file, CSlave::TuneSectionName(section, pen::kGroupNames[g]), kLevelDetail);
        chip.SaveTuneSection(file, section, pen::kGroupNames[g], ModeImage(f, g), GetPreScaler(f),
                             GetFreqCtrl(f), comment);
        EndSection(file, kLevelDetail);
    }
}

void CParam_Pen::WriteSoftwareSections(CParamFile& file) {
    const std::span<uint8_t> image = ImageBytes();
    const int version = Host()->Identity().penVersion;
    const int head = Host()->Options().fixed.research ? kLevelBasic : kLevelDetail;

    const char* software = "Pen Software Settings";
    Section(file, software, head);
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", PenCtrl(0));
    file.WriteItem(text, head, software, "CtrlFlag_0", "", "Read Only");
    for (int bit = 0; bit < 16; ++bit) {
        int32_t value = Bit(PenCtrl(0), bit);
        file.WriteRangedItem(value, 0, 0, 1, head, software, kPenCtrlBits[bit].key,
                             kPenCtrlBits[bit].comment);
    }
    file.WriteLine("", kLevelDetail);
    WriteKeys(file, image, kPenSoftwareTail, software, version);
    EndSection(file, kLevelDetail);

    const auto plainSection = [&](const char* name, std::span<const RangedKey> keys, int base,
                                  std::initializer_list<std::string_view> headKeys) {
        Section(file, name, kLevelDetail);
        WriteKeys(file, image, keys, name, version, base, head, headKeys);
        EndSection(file, kLevelDetail);
    };
    plainSection("Threshold Config", kThresholdConfig, 0, {});
    plainSection("Z Config", kZConfig, 0, {"Z1Th", "ZResolution"});
    plainSection("SW General Config", kSwGeneralConfig, 0, {});
    plainSection("Margin Config", kMarginConfig, 0, {});
    plainSection("Draw Filter Config", kFilterKeys, pen::kDrawFilter, {});
    plainSection("Hover Filter Config", kFilterKeys, pen::kHoverFilter, {});
    plainSection("Tilt Config", kTiltConfig, 0, {});

    const int modes = std::min<int>(NumsOfThresholds(), pen::kMaxThresholds);
    for (int t = 0; t < modes; ++t) {
        const std::string section = Indexed("Alg Threshold %d", t);
        Section(file, section, head);
        WriteKeys(file, image, kAlgThreshold, section, version, pen::ThresholdBlock(t), head,
                  {"ZBase", "TouchTh"});
        EndSection(file, kLevelDetail);
    }

    const char* research = "RD_Test_Params";
    Section(file, research, kLevelDetail);
    for (int k = 0; k < 2; ++k)
        file.WriteRangedItem(ImageField<int16_t>(image, pen::kSignedTempParams + 2 * k), 0, -32768,
                             32767, kLevelDetail, research, Indexed("sAPenTempParam%02d", k + 1),
                             "");
    for (int k = 0; k < pen::kTempParamCount; ++k)
        WriteRangedKey(file, image, IndexedKey(kTempParam, Indexed(kTempParam.key, k + 1)),
                       research, kLevelDetail, 2 * k, 0);
    EndSection(file, kLevelDetail);
}
