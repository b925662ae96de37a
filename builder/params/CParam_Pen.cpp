#include "params/CParam_Pen.h"

#include <algorithm>

#include "chips/CSlave.h"
#include "params/CParam_HW.h"
#include "core/BuilderLog.h"

namespace {

constexpr ParamExtensions kExtensions{".pwt", ".pw", ".pwr"};
constexpr ParamFileFrame kRegisterFrame{".pwr", "%s stylus register file", "PWB CRC Failed!\n",
                                        pen::kUsedLength};
constexpr RegisterFileLayout kRegisterLayout{pen::ModeImage(0, 0), pen::kFreqBlockSize,
                                             pen::kMaxFrequencies, pen::kGroupNames};

// Version bytes of a default image and of a written text file.
constexpr uint8_t kDefaultMajor = 1, kDefaultMinor = 4;
// Stylus control word 0: beacon, noise check, frequency hopping, margin improvement, Z1 threshold
// from Tx, draw-in and lift-off compensation.
constexpr uint16_t kDefaultPenCtrl = 0x0C6E;

}  // namespace

int CParam_Pen::InitFileName() {
    return BuildFileNames(kExtensions) ? 1 : 0;
}

int CParam_Pen::InitDefaultFileName() {
    BuildDefaultFileNames(kExtensions);
    return 0;
}

int CParam_Pen::FrequenciesBound() const {
    return std::clamp<int>(NumsOfFreq(), 1, pen::kMaxFrequencies);
}
int CParam_Pen::ThresholdsBound() const {
    return std::clamp<int>(NumsOfThresholds(), 1, pen::kMaxThresholds);
}

uint8_t CParam_Pen::BlockByte(int f, int offset) const {
    if (f < 0 || f >= pen::kMaxFrequencies) return 0;
    return Byte(pen::FreqBlock(f) + offset);
}

std::span<uint8_t> CParam_Pen::ModeImage(int f, int g) {
    if (f < 0 || f >= pen::kMaxFrequencies || g < 0 || g >= pen::kGroups) return {};
    return ImageBytes().subspan(static_cast<std::size_t>(pen::ModeImage(f, g)),
                                pen::kModeImageSize);
}

void CParam_Pen::ReportNoStylus() {
    MainLog().Print(
        kColourError, kRouteBoth,
        "No stylus parameter set: the hardware set of this controller uses no stylus.\n");
}

bool CParam_Pen::UsesStylus() {
    if (Host()->Hardware().usesStylus) return true;
    ReportNoStylus();
    return false;
}

int CParam_Pen::DumpFromDevice() {
    if (!UsesStylus()) return kParamNoImage;
    return CParam::DumpFromDevice();
}

int CParam_Pen::WriteToDevice() {
    if (!UsesStylus()) return kParamNoImage;
    return CParam::WriteToDevice();
}

int CParam_Pen::LoadDefault() {
    // Keep-version mode keeps the version bytes the image held before.
    const uint8_t major = Byte(pen::kMajorVersion), minor = Byte(pen::kMinorVersion);
    std::fill_n(Image(), kImageLength, uint8_t{0xFF});
    SetWord(0, kUsedLength);
    SetWord(2, 0);
    SetByte(pen::kMajorVersion, major);
    SetByte(pen::kMinorVersion, minor);
    StampVersions(kDefaultMajor, kDefaultMinor);
    SetByte(pen::kParamVersion, 0);
    SetWord(pen::kCtrlFlag, 0);
    SetByte(pen::kNumsOfPenSupport, 1);

    SetByte(pen::kNumsOfFreq, 2);
    SetByte(pen::kAutoSetAGC, 1);
    SetByte(pen::kBeaconWaveN, 63);
    for (int f = 0; f < pen::kMaxFrequencies; ++f) SetByte(pen::kBeaconPreScaler + f, 14);
    SetByte(pen::kIdleBeaconDelayTime, 0);
    SetByte(pen::kIdleBeaconGainH, 21);
    SetWord(pen::kTxDelayUs, 20);
    const uint8_t scanCounts[] = {1, 1, 6, 18, 16};  // noise, beacon, detect, raw, long beacon
    std::copy(std::begin(scanCounts), std::end(scanCounts), Image() + pen::kNoiseScanCnt);
    SetByte(pen::kLPenChip, 0);
    std::fill_n(Image() + pen::kLPenPin, 4, uint8_t{0});

    for (int f = 0; f < pen::kMaxFrequencies; ++f) LoadDefaultFrequency(f);
    SetByte(pen::kBeaconWaveSignal,
            static_cast<uint8_t>(Host()->Chip().GetSinAmp(ModeImage(0, pen::kDetRx))));

    SetWord(pen::kPenCtrl, kDefaultPenCtrl);
    for (int n = 1; n < pen::kPenCtrlWords; ++n) SetWord(pen::kPenCtrl + 2 * n, 0);
    SetWord(pen::kDelayTime, 250);
    SetByte(pen::kNumsOfThresholds, 1);

    const uint16_t thresholds[] = {300, 1500, 10, 200, 350, 8, 100, 200, 500, 100};
    for (std::size_t i = 0; i < std::size(thresholds); ++i)
        SetWord(pen::kDetectTh + 2 * static_cast<int>(i), thresholds[i]);
    const uint8_t counts[] = {6, 8, 8, 3};  // Diff2Hover, Hover2Idle, DyButtonTh, DetectEdgeCh
    std::copy(std::begin(counts), std::end(counts), Image() + pen::kDiff2HoverCntTH);

    const uint16_t z[] = {0, 0, 400, 2800, 1, 1023, 0, 5};  // Z1Th .. ZMedianFilterSize
    for (std::size_t i = 0; i < std::size(z); ++i)
        SetWord(pen::kZ1Th + 2 * static_cast<int>(i), z[i]);
    SetByte(pen::kZFilterLevel, 14);
    SetByte(pen::kZMinFilter, 10);
    SetByte(pen::kZFilterRange, 50);

    SetWord(pen::kXResolution, 4096);
    SetWord(pen::kYResolution, 4096);
    const uint8_t general[] = {1, 0, 2, 0, 2, 6, 3, 4, 3, 3, 0, 1, 2, 10, 8, 3, 10, 29, 20, 27};
    std::copy(std::begin(general), std::end(general), Image() + pen::kReportRateScanTime);
    SetWord(pen::kSpeedForTipComp, 0);
    SetByte(pen::kPhaseLeadLevelForTipComp, 0);

    const uint8_t margins[] = {24, 24, 24, 24, 0, 0, 0, 0, 100, 100, 30, 30};
    std::copy(std::begin(margins), std::end(margins), Image() + pen::kMarginMassTx0);
    SetWord(pen::kDrawInOutBlockSpeed, 0);
    std::fill_n(Image() + pen::kDrawFilter, 8, uint8_t{1});
    std::fill_n(Image() + pen::kHoverFilter, 8, uint8_t{1});
    SetByte(pen::kTxVectorOffset, 5);
    SetByte(pen::kRxVectorOffset, 5);
    SetByte(pen::kAPenLength, 80);

    for (int t = 0; t < pen::kMaxThresholds; ++t) {
        const int b = pen::ThresholdBlock(t);
        const uint8_t filters[] = {29, 20, 27, 14};  // hover, min, max, Z max
        std::copy(std::begin(filters), std::end(filters), Image() + b);
        SetWord(b + pen::threshold::kZBase, 400);
        SetWord(b + pen::threshold::kDetectTh, 300);
        SetWord(b + pen::threshold::kTouchTh, 200);
        const uint8_t rest[] = {0, 3, 2, 2, 10};  // tip-down area .. Z min filter
        std::copy(std::begin(rest), std::end(rest),
                  Image() + b + pen::threshold::kTipDownConstArea);
    }
    std::fill_n(Image() + pen::kSignedTempParams, 4 + 2 * pen::kTempParamCount, uint8_t{0});
    UpdateCheckSum();
    return 1;
}

// One frequency block of the default image: clock settings, signal compensation and the chip's
// stylus group images at the block's prescaler.
void CParam_Pen::LoadDefaultFrequency(int f) {
    CSlave& chip = Host()->Chip();
    const int b = pen::FreqBlock(f);
    SetByte(b + pen::block::kClkSrc, 0);
    SetByte(b + pen::block::kFreqCtrl, 0);
    SetByte(b + pen::block::kPreScaler, 14);
    SetByte(b + pen::block::kFreqDevider, 3);
    for (int i = 0; i < pen::kCompensations; ++i) {
        SetByte(b + pen::block::kTxRs + 4 * i, 14);
        SetByte(b + pen::block::kTxAfeGain + 4 * i, 10);
        SetByte(b + pen::block::kRxRs + 4 * i, 14);
        SetByte(b + pen::block::kRxAfeGain + 4 * i, 10);
    }
    for (int g = 0; g < pen::kGroups; ++g) {
        const std::span<uint8_t> image = ModeImage(f, g);
        std::fill(image.begin(), image.end(), uint8_t{0});
        chip.BuildPenImage(g, image);
        chip.ApplyPreScaler(image, GetPreScaler(f));
    }
}

int CParam_Pen::LoadRegFile() {
    std::string commandLine = Host()->TakeCommandLinePath(CommandLineFile::kPenRegister);
    return LoadRegisterFrame(kRegisterFrame, commandLine, kRegisterLayout,
                             NumsOfFreq())
               ? 1
               : 0;
}

int CParam_Pen::SaveRegFile() {
    return SaveRegisterFrame(kRegisterFrame, kRegisterLayout, NumsOfFreq());
}
