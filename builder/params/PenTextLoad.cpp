// Reading the stylus text file (.pwt). Loading is not the mirror of writing: some keys are written
// for information only, a few are read but never written, and after the frequency sections the
// beacon amplitude and, with automatic gain control, the raw scans' tuning are carried into the
// stylus group images.
#include <algorithm>
#include <string>

#include "chips/CSlave.h"
#include "files/CParamFile.h"
#include "params/CParam_Pen.h"
#include "params/PenText.h"
#include "params/PenTextKeys.h"

using namespace hwtext;
using namespace pentext;

namespace {

// A flag word from one 0~1 key per bit; a missing key is a clear bit.
uint16_t ReadBits(CParamFile& file, std::string_view section, const std::string& format) {
    unsigned word = 0;
    for (int bit = 0; bit < 16; ++bit) {
        int32_t value = 0;
        file.ReadItemClamped(section, Indexed(format, bit), value, 0, 1);
        word |= static_cast<unsigned>(value) << bit;
    }
    return static_cast<uint16_t>(word);
}

}  // namespace

int CParam_Pen::LoadTxtFile() {
    std::string commandLine = Host()->TakeCommandLinePath(CommandLineFile::kPenText);
    return LoadTextFrame(kTextFrame, commandLine,
                         [this](CParamFile& file) { ReadTextSections(file); })
               ? 1
               : 0;
}

void CParam_Pen::ReadTextSections(CParamFile& file) {
    const char* version = "Version Information";
    const std::pair<const char*, int> versionKeys[] = {
        {"MajorVersion", pen::kMajorVersion},
        {"MinorVersion", pen::kMinorVersion},
        {"TunerMajorVersion", pen::kTunerMajorVersion},
        {"TunerMinorVersion", pen::kTunerMinorVersion},
        {"TunerBuildNo", pen::kTunerBuildNo},
        {"ParamVersion", pen::kParamVersion}};
    for (const auto& [key, offset] : versionKeys) {
        if (Host()->Options().fixed.keepVersion && offset <= pen::kMinorVersion) continue;
        uint8_t value = Byte(offset);
        if (file.ReadItemClamped(version, key, value, 0, 255)) SetByte(offset, value);
    }

    ReadHardwareSections(file);
    CSlave& chip = Host()->Chip();
    const int frequencies = std::min<int>(NumsOfFreq(), pen::kMaxFrequencies);
    for (int f = 0; f < frequencies; ++f) ReadFrequencySections(file, f);
    for (int f = 0; f < frequencies; ++f) {
        for (int g = 0; g < pen::kGroups; ++g)
            chip.SetSinAmp(ModeImage(f, g), Byte(pen::kBeaconWaveSignal));
    }
    // Automatic gain control: the detection scans run with what the raw scans were tuned to.
    if (Byte(pen::kAutoSetAGC) == 1) {
        for (int f = 0; f < frequencies; ++f) {
            chip.MergeTuning(ModeImage(f, pen::kDetRx), ModeImage(f, pen::kRawRx));
            chip.MergeTuning(ModeImage(f, pen::kDetTx), ModeImage(f, pen::kRawTx));
        }
    }
    ReadSoftwareSections(file);
}

void CParam_Pen::ReadHardwareSections(CParamFile& file) {
    const std::span<uint8_t> image = ImageBytes();
    const char* general = "HW General Config";
    SetWord(pen::kCtrlFlag, ReadBits(file, general, "CtrlFlag(%02d)"));
    ReadRangedKey(file, image,
                  {"NumsOfPenSupport", pen::kNumsOfPenSupport, 8, 1, 0, 255, "", 0, 255}, general,
                  0, 0);

    const char* hardware = "Pen Hardware Settings";
    ReadRangedKeys(file, image, kPenHardwareSettings, hardware);
    for (int i = 0; i < 4; ++i)
        ReadRangedKey(file, image, IndexedKey(kLPenPin, Indexed(kLPenPin.key, i)), hardware, i, 0);

    const char* beacon = "Beacon Config";
    ReadRangedKey(file, image, kBeaconWaveN, beacon, 0, 0);
    CSlave& chip = Host()->Chip();
    const int first = chip.GetSinAmpMin(), last = chip.GetSinAmpMax();
    ReadRangedKey(file, image,
                  {"BeaconWaveSignal", pen::kBeaconWaveSignal, 8, kBeaconWaveSignalDefault, first,
                   last, "", first, last},
                  beacon, 0, 0);
    const int frequencies = std::min<int>(NumsOfFreq(), pen::kMaxFrequencies);
    for (int f = 0; f < frequencies; ++f)
        ReadRangedKey(file, image, IndexedKey(kBeaconPreScaler, Indexed(kBeaconPreScaler.key, f)),
                      beacon, f, 0);
    ReadRangedKeys(file, image, kIdleBeacon, beacon);
}

void CParam_Pen::ReadFrequencySections(CParamFile& file, int f) {
    const std::span<uint8_t> image = ImageBytes();
    const int base = pen::FreqBlock(f);
    const std::string general = Indexed("Freq-%d General Config", f);
    ReadRangedKeys(file, image, pentext::kFrequencyGeneral, general, base);
    // A bit read as 1 is set; no key clears one.
    for (int bit = 0; bit < 8; ++bit) {
        int32_t value = 0;
        if (file.ReadItemClamped(general, Indexed("FREQCTRL_PADDING_%d", bit), value, 0, 1) &&
            value == 1)
            SetByte(base + pen::block::kFreqCtrl,
                    static_cast<uint8_t>(GetFreqCtrl(f) | (1u << bit)));
    }

    const std::string compensation = Indexed("Freq-%d Signal Compensation", f);
    for (int i = 0; i < pen::kCompensations; ++i) {
        for (const RangedKey& key : kCompensation)
            ReadRangedKey(file, image, IndexedKey(key, Indexed(key.key, i)), compensation,
                          base + 4 * i, 0);
    }

    CSlave& chip = Host()->Chip();
    for (int g = 0; g < pen::kGroups; ++g) {
        const std::span<uint8_t> mode = ModeImage(f, g);
        chip.LoadRegSection(file, RegSectionName(f, pen::kGroupNames[g]), pen::kGroupNames[g],
                            mode);
        chip.ApplyPreScaler(mode, GetPreScaler(f));
    }
}

void CParam_Pen::ReadSoftwareSections(CParamFile& file) {
    const std::span<uint8_t> image = ImageBytes();
    const char* software = "Pen Software Settings";
    // Words 1 to 4 have keys of their own that no file of this program writes: a file read back
    // clears them.
    SetWord(pen::kPenCtrl, [&] {
        unsigned word = 0;
        for (int bit = 0; bit < 16; ++bit) {
            int32_t value = 0;
            file.ReadItemClamped(software, kPenCtrlBits[bit].key, value, 0, 1);
            word |= static_cast<unsigned>(value) << bit;
        }
        return static_cast<uint16_t>(word);
    }());
    for (int n = 1; n < pen::kPenCtrlWords; ++n)
        SetWord(pen::kPenCtrl + 2 * n,
                ReadBits(file, software, "Ctrl(" + std::to_string(n) + ")_(%02d)"));
    ReadRangedKeys(file, image, kPenSoftwareTail, software);

    ReadRangedKeys(file, image, kThresholdConfig, "Threshold Config");
    ReadRangedKeys(file, image, kThresholdReadOnly, "Threshold Config");
    ReadRangedKeys(file, image, kZConfig, "Z Config");
    ReadRangedKeys(file, image, kSwGeneralConfig, "SW General Config");
    ReadRangedKeys(file, image, kSwGeneralReadOnly, "SW General Config");
    ReadRangedKeys(file, image, kMarginConfig, "Margin Config");
    ReadRangedKeys(file, image, kFilterKeys, "Draw Filter Config", pen::kDrawFilter);
    ReadRangedKeys(file, image, kFilterKeys, "Hover Filter Config", pen::kHoverFilter);
    ReadRangedKeys(file, image, kTiltConfig, "Tilt Config");

    const int modes = std::min<int>(NumsOfThresholds(), pen::kMaxThresholds);
    for (int t = 0; t < modes; ++t) {
        const std::string section = Indexed("Alg Threshold %d", t);
        const int base = pen::ThresholdBlock(t);
        for (const RangedKey& key : kAlgThreshold) {
            if (key.offset != pen::threshold::kZMaxFilter)
                ReadRangedKey(file, image, key, section, base, 0);
        }
        // The older name wins when a section holds both.
        uint8_t zMax = Byte(base + pen::threshold::kZMaxFilter);
        if (file.ReadItemClamped(section, "ZFilterLevel", zMax, 0, 255) ||
            file.ReadItemClamped(section, "ZMaxFilter", zMax, 0, 255))
            SetByte(base + pen::threshold::kZMaxFilter, zMax);
    }

    const char* research = "RD_Test_Params";
    for (int k = 0; k < 2; ++k) {
        const int offset = pen::kSignedTempParams + 2 * k;
        int16_t value = static_cast<int16_t>(Word(offset));
        if (file.ReadItemClamped(research, Indexed("sAPenTempParam%02d", k + 1), value, -32768,
                                 32767))
            SetWord(offset, static_cast<uint16_t>(value));
    }
    for (int k = 0; k < pen::kTempParamCount; ++k)
        ReadRangedKey(file, image, IndexedKey(kTempParam, Indexed(kTempParam.key, k + 1)), research,
                      2 * k, 0);
}
