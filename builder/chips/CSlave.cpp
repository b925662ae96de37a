// The chip operations that work on register images in memory: field access, defaults and the
// fixed images, all from the chip's register map.
#include "chips/CSlave.h"

#include <algorithm>
#include <cstring>

#include "chips/RegisterMap.h"

using chipmap::Quantity;

namespace {

bool Usable(CSlave::ConstImage image) {
    return image.size() >= CSlave::kImageBufferSize;
}

void ZeroImage(CSlave::Image image) {
    std::fill_n(image.begin(), std::min(image.size(), CSlave::kImageBufferSize), uint8_t{0});
}

void FillFrom(std::span<uint8_t> out, std::span<const uint8_t> values) {
    std::copy_n(values.begin(), std::min(out.size(), values.size()), out.begin());
}

}  // namespace

// ---- Field access ------------------------------------------------------------------------------

namespace {

int GetQuantity(const chipmap::ChipProfile* profile, CSlave::ConstImage image, Quantity q) {
    if (!chipmap::HasMap(profile) || !Usable(image)) return 0;
    const chipmap::Field* field = chipmap::FindField(*profile, q);
    if (field == nullptr) return 0;
    // Unsigned view of the field: only the width's bits.
    const int width = field->layout.Width();
    const auto raw = static_cast<uint32_t>(chipmap::DecodeField(*field, image));
    return static_cast<int>(width >= 32 ? raw : raw & ((1u << width) - 1u));
}

void SetQuantity(const chipmap::ChipProfile* profile, CSlave::Image image, Quantity q, int value) {
    if (!chipmap::HasMap(profile) || !Usable(image)) return;
    if (const chipmap::Field* field = chipmap::FindField(*profile, q)) {
        chipmap::EncodeField(*field, value, image);
    }
}

}  // namespace

void CSlave::SetPipeline(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::Pipeline, value & 1);
}
void CSlave::ApplyPreScaler(Image image, int value) {
    SetPhase1(image, value);
}
void CSlave::SetSWP(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::Swp, value & 1);
}
void CSlave::SetSWN(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::Swn, value & 1);
}
void CSlave::SetSinOffset(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::SinOffset, value);
}
int CSlave::GetSinOffset(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::SinOffset);
}
void CSlave::SetSinAmp(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::SinAmp, value);
}
int CSlave::GetSinAmp(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::SinAmp);
}
void CSlave::SetGainH(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::GainH, value);
}
int CSlave::GetGainH(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::GainH);
}
void CSlave::SetScaling(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::Scaling, value);
}
int CSlave::GetScaling(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::Scaling);
}
int CSlave::GetAdcGainIndex(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::AdcGain);
}
void CSlave::SetMeasureCnt(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::MeasureCnt, value);
}
int CSlave::GetMeasureCnt(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::MeasureCnt);
}
void CSlave::SetAdcGain(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::AdcGain, value);
}
int CSlave::GetAdcGain(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::AdcGain);
}
void CSlave::SetRs(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::Rs, value);
}
int CSlave::GetRs(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::Rs);
}
void CSlave::SetAfeGain(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::AfeGain, value);
}
int CSlave::GetAfeGain(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::AfeGain);
}
void CSlave::SetDelay(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::Delay, value);
}
int CSlave::GetDelay(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::Delay);
}
int CSlave::GetPhase1(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::Phase1);
}
void CSlave::SetPhase1(Image image, int value) {
    SetQuantity(Profile(), image, Quantity::Phase1, value);
}
int CSlave::GetPsample(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::Psample);
}
int CSlave::GetReadSel(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::ReadSel);
}
int CSlave::GetRegBank(ConstImage image) {
    return GetQuantity(Profile(), image, Quantity::RegBank);
}

int CSlave::GetAdcGainFactor(int code) {
    const chipmap::ChipProfile* profile = Profile();
    const int index = code & 0xFF;
    // A code past the table (a damaged image) counts as no gain rather than a zero divisor.
    if (profile == nullptr || index >= static_cast<int>(profile->adcGainFactors.size())) return 1;
    return profile->adcGainFactors[static_cast<std::size_t>(index)];
}

// ---- Defaults ----------------------------------------------------------------------------------

void CSlave::GetDefaultIdTableR5(std::span<uint8_t> table) {
    if (const chipmap::ChipProfile* profile = Profile()) FillFrom(table, profile->idTableR5);
}

void CSlave::GetDefaultIdTableR3(std::span<uint8_t> table) {
    if (const chipmap::ChipProfile* profile = Profile()) {
        std::fill(table.begin(), table.begin() + std::min<std::size_t>(table.size(), 32),
                  profile->idTableR3);
    }
}

void CSlave::GetDefaultTxRange(std::span<uint8_t> pair, int chip) {
    const std::array<uint8_t, 2> range = {static_cast<uint8_t>(GetTxChannelFirst(chip)),
                                          static_cast<uint8_t>(GetTxChannelLast(chip))};
    FillFrom(pair, range);
}

void CSlave::GetDefaultRxRange(std::span<uint8_t> pair, int chip) {
    const std::array<uint8_t, 2> range = {static_cast<uint8_t>(GetRxChannelFirst(chip)),
                                          static_cast<uint8_t>(GetRxChannelLast(chip))};
    FillFrom(pair, range);
}

void CSlave::GetDefaultGeneralBlock(std::span<uint8_t> block) {
    std::fill(block.begin(), block.begin() + std::min<std::size_t>(block.size(), 12), uint8_t{0});
}

void CSlave::GetDefaultImgTuning(std::span<uint8_t> record) {
    if (const chipmap::ChipProfile* profile = Profile()) FillFrom(record, profile->imgTuning);
}

void CSlave::BuildDefaultImage(Image image) {
    ZeroImage(image);
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile) || !Usable(image)) return;
    chipmap::Encode(*profile, chipmap::DefaultValues(*profile), image);
}

int CSlave::BuildModeImage(int group, Image image) {
    BuildDefaultImage(image);
    const chipmap::ChipProfile* profile = Profile();
    if (chipmap::HasMap(profile) && Usable(image) && group >= 0 &&
        group < static_cast<int>(profile->modeGroups.size())) {
        chipmap::ApplyChanges(*profile, profile->modeGroups[static_cast<std::size_t>(group)],
                              image);
    }
    return 0;
}

void CSlave::BuildPenImage(int group, Image image) {
    BuildDefaultImage(image);
    const chipmap::ChipProfile* profile = Profile();
    if (chipmap::HasMap(profile) && Usable(image) && group >= 0 &&
        group < static_cast<int>(profile->penGroups.size())) {
        chipmap::ApplyChanges(*profile, profile->penGroups[static_cast<std::size_t>(group)], image);
    }
}

void CSlave::ApplyTxAxisSettings(Image image) {
    const chipmap::ChipProfile* profile = Profile();
    if (chipmap::HasMap(profile) && Usable(image)) {
        chipmap::ApplyChanges(*profile, profile->txAxis, image);
    }
}

int CSlave::MergeTuning(Image target, ConstImage source) {
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile) || !Usable(target) || !Usable(source)) return 0;
    std::vector<int32_t> to = chipmap::Decode(*profile, target);
    const std::vector<int32_t> from = chipmap::Decode(*profile, source);
    for (std::string_view suffix : profile->mergeFields) {
        const int index = chipmap::FieldIndex(*profile, suffix);
        if (index >= 0) to[static_cast<std::size_t>(index)] = from[static_cast<std::size_t>(index)];
    }
    chipmap::Encode(*profile, to, target);
    return 0;
}

void CSlave::AdjustTestPreset(std::vector<int32_t>&, int) {}

CSlave::CSlave(ChipHost* host) : host_(host), constants_(ConstantsOf(host->Model().chip)) {}

const ChipChannels& CSlave::Channels(int chip) const {
    return host_->Model().IsSmallChip(chip) ? constants_.smallChannels : constants_.channels;
}

int CSlave::FirstChipOffset() const {
    return host_->Model().IsSmallChip(0) ? constants_.smallFirstChipOffset : 0;
}

int CSlave::AxisChannelOffset(int, bool) {
    return 0;
}
