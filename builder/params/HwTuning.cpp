// The operations the tuning, calibration and diagnostic steps use on the hardware set: tuning
// quantities by scan type, the image tuning records, test images and committing the set.
#include <algorithm>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "device/CAPI.h"
#include "params/CParam_HW.h"

namespace {

constexpr uint16_t kModeCommand = 0x8000;
constexpr uint16_t kModeWriteSet = 0x8001;

bool ValidRecord(int f, int k) {
    return f >= 0 && f < hw::kMaxFrequencies && k >= 0 && k < hw::kTuningRecordCount;
}

}  // namespace

uint8_t CParam_HW::TuningRecordField(int f, int k, int field) const {
    return ValidRecord(f, k) ? Byte(hw::TuningRecord(f, k) + field) : 0;
}

void CParam_HW::SetTuningRecordField(int f, int k, int field, uint8_t value) {
    if (ValidRecord(f, k)) SetByte(hw::TuningRecord(f, k) + field, value);
}

void CParam_HW::SetPreScaler(int f, uint8_t value) {
    if (f < 0 || f >= hw::kMaxFrequencies) return;
    SetBlockByte(f, hw::block::kPreScaler, value);
    for (int m = 0; m < hw::kModeGroups; ++m) Host()->Chip().SetPhase1(ModeImage(f, m), value);
}

int CParam_HW::GetScalingOf(int f, int m) {
    const std::span<uint8_t> image = ModeImage(f, m);
    return image.empty() ? 0 : Host()->Chip().GetScaling(image);
}

std::span<uint8_t> CParam_HW::ScanTypeImage(unsigned scanType, int f) {
    int mode = 0;
    if (!ConvertScanType(scanType, mode)) return {};  // reported "Scan Type Error!"
    return ModeImage(f, mode);
}

int CParam_HW::GetTuneDelay(unsigned scanType, int f, int k) {
    if (scanType == kImageScanType) return TuningRecordField(f, k, hw::record::kDelay);
    const std::span<uint8_t> image = ScanTypeImage(scanType, f);
    return image.empty() ? 0 : Host()->Chip().GetDelay(image);
}

void CParam_HW::SetTuneDelay(unsigned scanType, int f, int k, int value) {
    if (scanType == kImageScanType) {
        SetTuningRecordField(f, k, hw::record::kDelay, static_cast<uint8_t>(value));
        return;
    }
    const std::span<uint8_t> image = ScanTypeImage(scanType, f);
    if (!image.empty()) Host()->Chip().SetDelay(image, value);
}

int CParam_HW::GetTuneRs(unsigned scanType, int f, int k) {
    if (scanType == kImageScanType) return TuningRecordField(f, k, hw::record::kRS);
    const std::span<uint8_t> image = ScanTypeImage(scanType, f);
    return image.empty() ? 0 : Host()->Chip().GetRs(image);
}

void CParam_HW::SetTuneRs(unsigned scanType, int f, int k, int value) {
    if (scanType == kImageScanType) {
        SetTuningRecordField(f, k, hw::record::kRS, static_cast<uint8_t>(value));
        return;
    }
    const std::span<uint8_t> image = ScanTypeImage(scanType, f);
    if (!image.empty()) Host()->Chip().SetRs(image, value);
}

int CParam_HW::GetTuneAfeGain(unsigned scanType, int f, int k) {
    if (scanType == kImageScanType) return TuningRecordField(f, k, hw::record::kAFEGain);
    const std::span<uint8_t> image = ScanTypeImage(scanType, f);
    return image.empty() ? 0 : Host()->Chip().GetAfeGain(image);
}

void CParam_HW::SetTuneAfeGain(unsigned scanType, int f, int k, int value) {
    if (scanType == kImageScanType) {
        SetTuningRecordField(f, k, hw::record::kAFEGain, static_cast<uint8_t>(value));
        return;
    }
    const std::span<uint8_t> image = ScanTypeImage(scanType, f);
    if (!image.empty()) Host()->Chip().SetAfeGain(image, value);
}

void CParam_HW::SetTuneMeasureCnt(unsigned scanType, int f, int k, int value) {
    if (scanType == kImageScanType) {
        SetTuningRecordField(f, k, hw::record::kMeasureCnt, static_cast<uint8_t>(value));
        return;
    }
    const std::span<uint8_t> image = ScanTypeImage(scanType, f);
    if (!image.empty()) Host()->Chip().SetMeasureCnt(image, value);
}

void CParam_HW::AverageImgTuning() {
    int delay = 0, rs = 0, gain = 0, count = 0;
    for (int k = 0; k < hw::kTuningRecordCount; ++k) {
        delay += TuningRecordField(0, k, hw::record::kDelay);
        rs += TuningRecordField(0, k, hw::record::kRS);
        gain += TuningRecordField(0, k, hw::record::kAFEGain);
        count += TuningRecordField(0, k, hw::record::kMeasureCnt);
    }
    const int n = hw::kTuningRecordCount;
    for (int k = 0; k < n; ++k) {
        SetTuningRecordField(0, k, hw::record::kDelay, static_cast<uint8_t>(delay / n));
        SetTuningRecordField(0, k, hw::record::kRS, static_cast<uint8_t>(rs / n));
        SetTuningRecordField(0, k, hw::record::kAFEGain, static_cast<uint8_t>(gain / n));
        SetTuningRecordField(0, k, hw::record::kMeasureCnt,
                             static_cast<uint8_t>(count == 0 ? 1 : count / n));
        SetTuningRecordField(0, k, hw::record::kGainE, 0);
    }
}

void CParam_HW::SetImgTuningFromRecords() {
    static constexpr std::pair<int, int> kSummaryOfField[] = {
        {hw::record::kDelay, hw::block::kImgDelay},
        {hw::record::kRS, hw::block::kImgRS},
        {hw::record::kAFEGain, hw::block::kImgAFEGain},
        {hw::record::kMeasureCnt, hw::block::kImgMeasureCnt},
    };
    for (int f = 0; f < FrequenciesBound(); ++f) {
        for (const auto& [field, summary] : kSummaryOfField) {
            uint8_t largest = 0;
            for (int k = 0; k < hw::kTuningRecordCount; ++k)
                largest = std::max(largest, TuningRecordField(f, k, field));
            SetBlockByte(f, summary, largest);
        }
    }
}

void CParam_HW::InitPhaseTargets() {
    const int n = Host()->Geometry().txCount;
    const int b = n - 4;
    int targets[hw::kPhaseTargets] = {0, 1};
    for (int j = 1; j <= 6; ++j) targets[1 + j] = b * j / 7 + 2;
    targets[8] = n - 2;
    targets[9] = n - 1;
    // Fewer than four channels would give negative targets: keep every target on a channel.
    const int last = std::max(n - 1, 0);
    for (int k = 0; k < hw::kPhaseTargets; ++k)
        SetByte(hw::kPhaseTarget + k, static_cast<uint8_t>(std::clamp(targets[k], 0, last)));
}

void CParam_HW::DeriveNoiseImages() {
    CSlave& chip = Host()->Chip();
    for (int f = 0; f < FrequenciesBound(); ++f) {
        int delaySum = 0;
        for (int k = 0; k < hw::kTuningRecordCount; ++k)
            delaySum += TuningRecordField(f, k, hw::record::kDelay);
        const std::span<uint8_t> noise = ModeImage(f, hw::kNoise);
        chip.SetScaling(noise, 8);
        chip.SetMeasureCnt(noise, 25);
        chip.SetDelay(noise, delaySum / hw::kTuningRecordCount);
        chip.SetAfeGain(noise, 10);
        chip.SetRs(noise, 12);
        chip.SetAdcGain(noise, chip.GetAdcGain(ModeImage(f, hw::kImg)));
    }
}

bool CParam_HW::WriteTestImage(int frequencyIndex) {
    if (!Host()->Api().WriteBlock(Kind(), 0, kImageLength, Image(), 0)) return false;
    if (frequencyIndex == 0) return true;
    // An index no controller can have is refused like one the controller refuses.
    const bool selectable = frequencyIndex > 0 && frequencyIndex <= 255;
    if (!selectable || !Host()->Api().SetFrequency(static_cast<uint8_t>(frequencyIndex)))
        MainLog().Print(kColourError, kRouteBoth, "Set Test Freq Fail...\n");
    return true;
}

int CParam_HW::SetTestScaling(int f, int scaling) {
    if (f < 0 || f >= hw::kMaxFrequencies) {
        MainLog().Print(kColourError, kRouteBoth, "Set Test Parameter Fail...\n");
        return 1;
    }
    for (int m = 0; m < hw::kModeGroups; ++m) Host()->Chip().SetScaling(ModeImage(f, m), scaling);
    UpdateCheckSum();
    if (!WriteTestImage(f)) {
        MainLog().Print(kColourError, kRouteBoth, "Set Test Parameter Fail...\n");
        return 1;
    }
    return 0;
}

bool CParam_HW::CommitToDevice() {
    CAPI& api = Host()->Api();
    const bool written = api.SwitchWorkMode(kModeWriteSet) && WriteToDevice() == kParamOk;
    // Only an image the controller took becomes the image as first read.
    if (written) KeepFirstRead();
    // Back to command mode even after a failed write.
    const bool back = api.SwitchWorkMode(kModeCommand) != 0;
    return written && back;
}

int CParam_HW::ApplyScalingOffsets() {
    CSlave& chip = Host()->Chip();
    const HwAdjustOptions& options = Host()->Options().hwAdjust;
    for (int f = 0; f < FrequenciesBound(); ++f) {
        if (const int offset = options.scalingOffsetPerFreq[static_cast<std::size_t>(f)]) {
            const std::span<uint8_t> img = ModeImage(f, hw::kImg);
            // The scaling field is 4 bits: a sum beyond the chip's largest scaling stays there.
            chip.SetScaling(img, std::min(chip.GetScaling(img) + offset, chip.GetScalingMax()));
        }
        for (int k = 0; k < hw::kTuningRecordCount; ++k) {
            const auto fi = static_cast<std::size_t>(f), ki = static_cast<std::size_t>(k);
            if (const uint8_t delay = options.entryTableB[fi][ki])
                SetTuningRecordField(f, k, hw::record::kDelay, delay);
            if (const uint8_t count = options.entryTableC[fi][ki])
                SetTuningRecordField(f, k, hw::record::kMeasureCnt, count);
        }
    }
    SetImgTuningFromRecords();
    DeriveNoiseImages();
    UpdateCheckSum();
    if (!CommitToDevice()) {
        MainLog().Print(kColourError, kRouteBoth, "Set Parameter Fail\n");
        return 1;
    }
    return 0;
}
