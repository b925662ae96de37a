#include "params/CParam_HW.h"

#include <algorithm>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "files/CParamFile.h"

namespace {

constexpr ParamExtensions kExtensions{".hwt", ".hw", ".hwr"};
constexpr ParamFileFrame kRegisterFrame{".hwr", "%s hardware register file", "HWB CRC Failed!\n",
                                        hw::kUsedLength};
constexpr RegisterFileLayout kRegisterLayout{hw::ModeImage(0, 0), hw::kFreqBlockSize,
                                             hw::kMaxFrequencies, hw::kGroupNames};


}  // namespace

int CParam_HW::InitFileName() {
    return BuildFileNames(kExtensions) ? 1 : 0;
}

int CParam_HW::InitDefaultFileName() {
    BuildDefaultFileNames(kExtensions);
    return 0;
}

int CParam_HW::RxChipsBound() const {
    return std::clamp<int>(NumsOfRxChips(), 1, hw::kMaxChips);
}
int CParam_HW::TxChipsBound() const {
    return std::clamp<int>(NumsOfTxChips(), 1, hw::kMaxChips);
}
int CParam_HW::FrequenciesBound() const {
    return std::clamp<int>(NumsOfFreq(), 1, hw::kMaxFrequencies);
}

uint8_t CParam_HW::BlockByte(int f, int offset) const {
    if (f < 0 || f >= hw::kMaxFrequencies) return 0;
    return Byte(hw::FreqBlock(f) + offset);
}

void CParam_HW::SetBlockByte(int f, int offset, uint8_t value) {
    if (f < 0 || f >= hw::kMaxFrequencies) return;
    SetByte(hw::FreqBlock(f) + offset, value);
}

std::span<uint8_t> CParam_HW::ModeImage(int f, int m) {
    if (f < 0 || f >= hw::kMaxFrequencies || m < 0 || m >= hw::kModeGroups) return {};
    return std::span<uint8_t>(Image() + hw::ModeImage(f, m), hw::kModeImageSize);
}


int CParam_HW::LoadDefault() {
    CSlave& chip = Host()->Chip();
    const ModelRow& model = Host()->Model();
    // Keep-version mode keeps the version bytes the image held before.
    const uint8_t major = Byte(hw::kMajorVersion), minor = Byte(hw::kMinorVersion);
    std::fill_n(Image(), kImageLength, uint8_t{0xFF});
    SetWord(0, kUsedLength);
    SetWord(2, 0);
    SetByte(hw::kMajorVersion, major);
    SetByte(hw::kMinorVersion, minor);
    StampWriterVersion(kStructMajor, kStructMinor);
    SetByte(hw::kParamVersion, 0);

    const uint16_t scan = model.stylus ? 0x02E5 : 0x00E5;
    SetWord(hw::kScanCtrl, scan);
    SetWord(hw::kScanCtrlIdle, scan);
    chip.GetDefaultIdTableR5(std::span<uint8_t>(Image() + hw::kIdTableR5, hw::kIdTableR5Size));
    chip.GetDefaultIdTableR3(std::span<uint8_t>(Image() + hw::kIdTableR3, hw::kIdTableR3Size));

    SetWord(hw::kXDimension, 3820);
    SetWord(hw::kYDimension, 2150);
    const uint8_t chips = model.defaultChips;
    SetByte(hw::kNumsOfRxChips, chips);
    SetByte(hw::kNumsOfTxChips, chips);
    SetByte(hw::kNumsOfFreq, 1);
    SetByte(hw::kFreqStartIndex, 0);
    for (int i = 0; i < hw::kMaxChips; ++i) {
        chip.GetDefaultTxRange(std::span<uint8_t>(Image() + hw::kTxRange + 2 * i, 2), i);
        chip.GetDefaultRxRange(std::span<uint8_t>(Image() + hw::kRxRange + 2 * i, 2), i);
    }
    // The general block is twelve bytes; the phase targets take its first ten.
    std::array<uint8_t, 12> general{};
    chip.GetDefaultGeneralBlock(general);
    std::copy_n(general.begin(), hw::kPhaseTargets, Image() + hw::kPhaseTarget);

    SetWord(hw::kOpenScaling, 10);
    SetWord(hw::kMutualScaling, 10);
    SetByte(hw::kStartSkipCnt, 3);
    SetByte(hw::kHopFreqSkipCnt, 3);
    SetByte(hw::kStrayUpdatWaiteTime, 200);
    SetByte(hw::kStrayUpdatTime, 100);
    SetByte(hw::kShortDelay, 6);
    SetByte(hw::kSensorTestScaling, 4);
    SetWord(hw::kPowerOnDelayTime, 0);

    for (int f = 0; f < hw::kMaxFrequencies; ++f)
        LoadDefaultFrequency(f, (scan & hw::kScanPipeline) != 0);

    SetByte(hw::kChannelCtrl, 0);
    std::fill_n(Image() + hw::kTxEnable, hw::kTxEnableBytes + hw::kRxEnableBytes, uint8_t{0xFF});
    std::fill_n(Image() + hw::kRemapArea, hw::kRemapAreas * hw::kRemapAreaSize, uint8_t{0});
    for (int k = 0; k < hw::kMaxKeyAreas; ++k)
        std::fill_n(Image() + hw::KeyArea(k), hw::kKeyAreaSize, uint8_t{0});
    SetByte(hw::kNumsOfKey, 0);
    std::fill_n(Image() + hw::kGrayRange, 2 * hw::kGrayRangeSize, uint8_t{0});
    UpdateCheckSum();
    return 0;
}

// One frequency block of the default image: clock settings, the chip's mode images at the
// block's prescaler and the chip's image tuning records.
void CParam_HW::LoadDefaultFrequency(int f, bool pipeline) {
    CSlave& chip = Host()->Chip();
    SetBlockByte(f, hw::block::kClkSrc, 0);
    SetBlockByte(f, hw::block::kFreqCtrl, 0x0C);
    SetBlockByte(f, hw::block::kPreScaler, 18);
    SetBlockByte(f, hw::block::kThresholdIndex, 0);
    SetBlockByte(f, hw::block::kCalibrationIndex, 0);
    SetBlockByte(f, hw::block::kImgDelay, 15);
    SetBlockByte(f, hw::block::kImgRS, 7);
    SetBlockByte(f, hw::block::kImgAFEGain, 20);
    SetBlockByte(f, hw::block::kImgMeasureCnt, 30);
    SetBlockByte(f, hw::block::kFreqDivider, 3);
    for (int m = 0; m < hw::kModeGroups; ++m) {
        const std::span<uint8_t> image = ModeImage(f, m);
        std::fill(image.begin(), image.end(), uint8_t{0});
        chip.BuildModeImage(m, image);
        chip.SetPipeline(image, pipeline ? 1 : 0);
        chip.ApplyPreScaler(image, GetPreScaler(f));
    }
    for (int k = 0; k < hw::kTuningRecordCount; ++k)
        chip.GetDefaultImgTuning(
            ImageBytes().subspan(hw::TuningRecord(f, k), hw::kTuningRecordSize));
}

int CParam_HW::LoadRegFile() {
    std::string commandLine = Host()->TakeCommandLinePath(CommandLineFile::kHwRegister);
    return LoadRegisterFrame(kRegisterFrame, commandLine, kRegisterLayout, NumsOfFreq()) ? 1 : 0;
}

int CParam_HW::SaveRegFile() {
    return SaveRegisterFrame(kRegisterFrame, kRegisterLayout, NumsOfFreq());
}

void CParam_HW::KeepFirstRead() {
    std::copy_n(Image(), kImageLength, firstRead_.begin());
    firstReadValid_ = true;
}
