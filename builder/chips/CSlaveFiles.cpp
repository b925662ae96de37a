// The chip's items in the register files and in the tuning sections of the text files.
#include <cstdio>

#include "chips/CSlave.h"
#include "chips/RegisterMap.h"
#include "core/BuilderLog.h"
#include "files/CParamFile.h"

using chipmap::Quantity;

namespace {

// One tuning item: key suffix, the field it shows, its range text ("%d" takes the delay's
// upper end), its output level.
struct TuneItem {
    std::string_view suffix;
    Quantity quantity;
    const char* range;
    int level;
};

constexpr TuneItem kMeasureCnt{"_MeasureCnt", Quantity::MeasureCnt, "0~63", kLevelBasic};
constexpr TuneItem kAfeGain{"_AFEGain", Quantity::AfeGain, "1~29", kLevelBasic};
constexpr TuneItem kRs{"_RS", Quantity::Rs, "1~14", kLevelBasic};
constexpr TuneItem kDelay{"_Delay", Quantity::Delay, "0~%d", kLevelBasic};
constexpr TuneItem kAdcGain{"_ADCGain", Quantity::AdcGain, "2~4", kLevelBasic};
constexpr TuneItem kScaling{"_Scaling", Quantity::Scaling, "0~15", kLevelBasic};
constexpr TuneItem kPeakNum{"_PeakNum", Quantity::PeakNum, "0~3", kLevelDetail};
constexpr TuneItem kPeakMode{"_PeakMode", Quantity::PeakMode, "0~1", kLevelDetail};
constexpr TuneItem kTskip{"_Tskip", Quantity::Tskip, "0~3", kLevelDetail};
constexpr TuneItem kTskipWaterLine{"_Tskip", Quantity::Tskip, "2~3", kLevelDetail};

constexpr TuneItem kNoiseItems[] = {kMeasureCnt, kAfeGain, kRs,       kDelay, kAdcGain,
                                    kScaling,    kPeakNum, kPeakMode, kTskip};
constexpr TuneItem kWaterLineItems[] = {kMeasureCnt, kAfeGain, kRs,       kDelay,         kAdcGain,
                                        kScaling,    kPeakNum, kPeakMode, kTskipWaterLine};
constexpr TuneItem kImgItems[] = {kAdcGain, kScaling, kPeakNum, kPeakMode, kTskip};
// The "-RD" groups and the stylus groups show every item at the detail level.
constexpr TuneItem kDetailItems[] = {
    {"_PeakNum", Quantity::PeakNum, "0~3", kLevelDetail},
    {"_PeakMode", Quantity::PeakMode, "0~1", kLevelDetail},
    {"_MeasureCnt", Quantity::MeasureCnt, "0~63", kLevelDetail},
    {"_Tskip", Quantity::Tskip, "0~3", kLevelDetail},
    {"_AFEGain", Quantity::AfeGain, "1~29", kLevelDetail},
    {"_RS", Quantity::Rs, "1~14", kLevelDetail},
    {"_Delay", Quantity::Delay, "0~%d", kLevelDetail},
    {"_ADCGain", Quantity::AdcGain, "2~4", kLevelDetail},
    {"_Scaling", Quantity::Scaling, "0~15", kLevelDetail},
};
constexpr TuneItem kPenItems[] = {
    {"_MeasureCnt", Quantity::MeasureCnt, "0~63", kLevelDetail},
    {"_AFEGain", Quantity::AfeGain, "1~29", kLevelDetail},
    {"_RS", Quantity::Rs, "1~14", kLevelDetail},
    {"_Delay", Quantity::Delay, "0~%d", kLevelDetail},
    {"_ADCGain", Quantity::AdcGain, "2~4", kLevelDetail},
    {"_Scaling", Quantity::Scaling, "0~15", kLevelDetail},
    {"_PeakNum", Quantity::PeakNum, "0~3", kLevelDetail},
    {"_PeakMode", Quantity::PeakMode, "0~1", kLevelDetail},
    {"_Tskip", Quantity::Tskip, "0~3", kLevelDetail},
};

// Items read back, in reading order. "_ADCGain" is the only one read with a clamp.
constexpr Quantity kNoiseReads[] = {Quantity::AdcGain, Quantity::MeasureCnt, Quantity::AfeGain,
                                    Quantity::Rs,      Quantity::Delay,      Quantity::Scaling};
constexpr Quantity kImgReads[] = {Quantity::AdcGain, Quantity::Scaling};
constexpr Quantity kPenReads[] = {Quantity::AdcGain, Quantity::MeasureCnt, Quantity::AfeGain,
                                  Quantity::Rs,      Quantity::Delay,      Quantity::Scaling,
                                  Quantity::PeakNum, Quantity::PeakMode,   Quantity::Tskip};

bool IsOneOf(std::string_view group, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        if (group == name) return true;
    }
    return false;
}

bool IsReadOutGroup(std::string_view group) {
    return IsOneOf(group, {"VKey", "Rsv"});
}
bool IsPenGroup(std::string_view group) {
    return IsOneOf(group, {"DetRx", "DetTx", "RawRx", "RawTx"});
}

// A chip's items are the ones its map has a field for; some chips have none for the stylus
// groups.
std::span<const TuneItem> TuneItemsOf(const chipmap::ChipProfile& profile, std::string_view group) {
    if (group == "Noise") return kNoiseItems;
    if (IsOneOf(group, {"WLRx", "WLTx"})) return kWaterLineItems;
    if (group == "Img") return kImgItems;
    if (IsReadOutGroup(group)) return kDetailItems;
    if (IsPenGroup(group) && profile.penGroupTuning) return kPenItems;
    return {};
}

std::span<const Quantity> TuneReadsOf(const chipmap::ChipProfile& profile, std::string_view group) {
    if (IsOneOf(group, {"Noise", "WLRx", "WLTx"}) || IsReadOutGroup(group)) return kNoiseReads;
    if (group == "Img") return kImgReads;
    if (IsPenGroup(group) && profile.penGroupTuning) return kPenReads;
    return {};
}

// The text after the quantity's name in an item key ("_MeasureCnt").
std::string_view TuneSuffix(Quantity q) {
    for (const TuneItem& item : kPenItems) {
        if (item.quantity == q) return item.suffix;
    }
    return {};
}

std::string Key(std::string_view group, std::string_view suffix) {
    std::string key(group);
    key += suffix;
    return key;
}

std::string Key(std::string_view prefix, std::string_view group, std::string_view suffix) {
    std::string key(prefix);
    key += group;
    key += suffix;
    return key;
}

}  // namespace

std::string CSlave::TuneSectionName(std::string_view section, std::string_view group) {
    std::string name(section);
    if (IsReadOutGroup(group)) name += "-RD";
    return name;
}

void CSlave::SaveTuneSection(CParamFile& file, std::string_view section, std::string_view group,
                             ConstImage image, uint8_t preScaler, uint8_t /*freqCtrl*/,
                             std::string_view comment) {
    // Without a register map there are no values to show: writing zeros would read as settings.
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile)) return;
    const std::string target = TuneSectionName(section, group);
    for (const TuneItem& item : TuneItemsOf(*profile, group)) {
        if (chipmap::FindField(*profile, item.quantity) == nullptr) continue;
        int value = 0;
        switch (item.quantity) {
            case Quantity::MeasureCnt:
                value = GetMeasureCnt(image);
                break;
            case Quantity::AfeGain:
                value = GetAfeGain(image);
                break;
            case Quantity::Rs:
                value = GetRs(image);
                break;
            case Quantity::Delay:
                value = GetDelay(image);
                break;
            case Quantity::AdcGain:
                value = GetAdcGain(image);
                break;
            case Quantity::Scaling:
                value = GetScaling(image);
                break;
            default: {
                const chipmap::Field* field = chipmap::FindField(*profile, item.quantity);
                value = image.size() >= kImageBufferSize ? chipmap::DecodeField(*field, image) : 0;
            }
        }
        char range[32];
        std::snprintf(range, sizeof range, item.range, preScaler * 3 - 1);
        const bool delayNote = item.quantity == Quantity::Delay && !profile->delayComment.empty();
        file.WriteItem(static_cast<int32_t>(value), item.level, target, Key(group, item.suffix),
                       range, delayNote ? profile->delayComment : comment);
    }
}

void CSlave::SaveRegSection(CParamFile& file, std::string_view section, std::string_view group,
                            ConstImage image) {
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile) || image.size() < kImageBufferSize) return;
    for (const chipmap::Field& field : profile->fields) {
        const int32_t value = chipmap::DecodeField(field, image);
        if (field.save == chipmap::Save::ReadOnly) {
            // The leading "_" keeps the item out of what LoadRegSection reads.
            file.WriteItem(value, kLevelDetail, section, Key("_", group, field.suffix), "",
                           "Read Only");
        } else {
            file.WriteItem(value, kLevelDetail, section, Key(group, field.suffix), "", "");
        }
    }
}

void CSlave::LoadTuneItems(CParamFile& file, std::string_view section, std::string_view group,
                           std::vector<int32_t>& values) {
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile) || values.size() != profile->fields.size()) return;
    const std::string tuneSection = TuneSectionName(section, group);
    for (Quantity q : TuneReadsOf(*profile, group)) {
        const chipmap::Field* field = chipmap::FindField(*profile, q);
        if (field == nullptr) continue;
        int32_t& value = values[static_cast<std::size_t>(field - profile->fields.data())];
        const std::string key = Key(group, TuneSuffix(q));
        if (q == Quantity::AdcGain) {
            file.ReadItemClamped(tuneSection, key, value, 2, 4);
        } else {
            file.ReadItem(tuneSection, key, value);
        }
    }
}

bool CSlave::LoadRegSection(CParamFile& file, std::string_view section, std::string_view group,
                            Image image) {
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile)) return true;
    if (!file.Exists()) {
        MainLog().Printf(kColourError, kRouteBoth, "Cannot Load File: %s\n", file.Path().c_str());
        return false;
    }
    if (image.size() < kImageBufferSize) return false;
    std::vector<int32_t> values = chipmap::Decode(*profile, image);
    LoadTuneItems(file, section, group, values);
    for (std::size_t i = 0; i < profile->fields.size(); ++i) {
        const chipmap::Field& field = profile->fields[i];
        if (field.load == chipmap::Load::Yes)
            file.ReadItem(section, Key(group, field.suffix), values[i]);
    }
    // Values are taken as read; encoding keeps each to its field's bits.
    chipmap::Encode(*profile, values, image);
    return true;
}
