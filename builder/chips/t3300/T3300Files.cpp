// The T3300's tuning items in the text files. The "Noise", water-line and "Img" groups differ from
// the other chips: their items carry comments, the water-line groups show RS and ADC gain at the
// detail level, and the ADC gain that a frequency's FREQCTRL byte fixes is marked read-only.
#include <cstdio>
#include <string>

#include "chips/RegisterMap.h"
#include "chips/t3300/CSlave_T3300.h"
#include "chips/t3300/T3300Map.h"
#include "files/CParamFile.h"

namespace Slave_T3300 {

namespace {

using chipmap::Quantity;

enum class Fixed : uint8_t { Never, Always, ByFlag };

struct TuneItem {
    std::string_view suffix;
    Quantity quantity;
    const char* range;  // "%d" takes the delay's upper end
    int level;
    std::string_view comment;
    Fixed fixed;  // when " Read Only" follows the comment
};

constexpr std::string_view kMeasureCntText = "The measure counts for signal measurement.";
constexpr std::string_view kAfeGainText = "Analog front end gain value.";
constexpr std::string_view kRsText = "The ability to resist noise interference.";
constexpr std::string_view kDelayText = "The offset of measure time.";
constexpr std::string_view kAdcGainText = "Analog to digital gain value.";
constexpr std::string_view kScalingText =
    "For signal normalization. +1 means divided by 2, -1 means multiplied by 2.";

constexpr TuneItem kNoiseItems[] = {
    {"_MeasureCnt", Quantity::MeasureCnt, "0~63", kLevelBasic, kMeasureCntText, Fixed::Never},
    {"_AFEGain", Quantity::AfeGain, "1~29", kLevelBasic, kAfeGainText, Fixed::Never},
    {"_RS", Quantity::Rs, "1~14", kLevelBasic, kRsText, Fixed::Never},
    {"_Delay", Quantity::Delay, "0~%d", kLevelBasic, kDelayText, Fixed::Never},
    {"_ADCGain", Quantity::AdcGain, "2~4", kLevelBasic, kAdcGainText, Fixed::Never},
    {"_Scaling", Quantity::Scaling, "0~15", kLevelBasic, kScalingText, Fixed::Never},
    {"_PeakNum", Quantity::PeakNum, "0~3", kLevelDetail, "", Fixed::Never},
    {"_PeakMode", Quantity::PeakMode, "0~1", kLevelDetail, "", Fixed::Never},
    {"_Tskip", Quantity::Tskip, "0~3", kLevelDetail, "", Fixed::Never},
};
// The water-line scans run with RS and ADC gain set by the chip's low-gain mode.
constexpr TuneItem kWaterLineItems[] = {
    {"_MeasureCnt", Quantity::MeasureCnt, "0~63", kLevelBasic, kMeasureCntText, Fixed::Never},
    {"_AFEGain", Quantity::AfeGain, "1~29", kLevelBasic, kAfeGainText, Fixed::Never},
    {"_Delay", Quantity::Delay, "0~%d", kLevelBasic, kDelayText, Fixed::Never},
    {"_Scaling", Quantity::Scaling, "0~15", kLevelBasic, kScalingText, Fixed::Never},
    {"_PeakNum", Quantity::PeakNum, "0~3", kLevelDetail, "", Fixed::Never},
    {"_PeakMode", Quantity::PeakMode, "0~1", kLevelDetail, "", Fixed::Never},
    {"_Tskip", Quantity::Tskip, "2~3", kLevelDetail, "", Fixed::Never},
    {"_RS", Quantity::Rs, "1~14", kLevelDetail, kRsText, Fixed::Always},
    {"_ADCGain", Quantity::AdcGain, "2~4", kLevelDetail, kAdcGainText, Fixed::ByFlag},
};
constexpr TuneItem kImgItems[] = {
    {"_ADCGain", Quantity::AdcGain, "2~4", kLevelBasic, kAdcGainText, Fixed::ByFlag},
    {"_Scaling", Quantity::Scaling, "0~15", kLevelBasic, kScalingText, Fixed::Never},
    {"_PeakNum", Quantity::PeakNum, "0~3", kLevelDetail, "", Fixed::Never},
    {"_PeakMode", Quantity::PeakMode, "0~1", kLevelDetail, "", Fixed::Never},
    {"_Tskip", Quantity::Tskip, "0~3", kLevelDetail, "", Fixed::Never},
};

// FREQCTRL bit that fixes a group's ADC gain; 0 for a group without one.
uint8_t FixedGainFlag(std::string_view group) {
    if (group == "Img") return 0x02;
    if (group == "WLTx") return 0x04;
    if (group == "WLRx") return 0x08;
    return 0;
}

std::span<const TuneItem> ItemsOf(std::string_view group) {
    if (group == "Noise") return kNoiseItems;
    if (group == "WLRx" || group == "WLTx") return kWaterLineItems;
    if (group == "Img") return kImgItems;
    return {};
}

// Items read before the full list; "from RD first" items look in the section + "-RD" first.
struct TuneRead {
    std::string_view suffix;
    Quantity quantity;
    bool fromRdFirst;
};

constexpr TuneRead kNoiseReads[] = {
    {"_ADCGain", Quantity::AdcGain, false},       {"_RS", Quantity::Rs, false},
    {"_MeasureCnt", Quantity::MeasureCnt, false}, {"_AFEGain", Quantity::AfeGain, false},
    {"_Delay", Quantity::Delay, false},           {"_Scaling", Quantity::Scaling, false},
};
constexpr TuneRead kWaterLineReads[] = {
    {"_ADCGain", Quantity::AdcGain, true},        {"_RS", Quantity::Rs, true},
    {"_MeasureCnt", Quantity::MeasureCnt, false}, {"_AFEGain", Quantity::AfeGain, false},
    {"_Delay", Quantity::Delay, false},           {"_Scaling", Quantity::Scaling, false},
};
constexpr TuneRead kImgReads[] = {
    {"_ADCGain", Quantity::AdcGain, false},
    {"_Scaling", Quantity::Scaling, false},
};

std::span<const TuneRead> ReadsOf(std::string_view group) {
    if (group == "Noise") return kNoiseReads;
    if (group == "WLRx" || group == "WLTx") return kWaterLineReads;
    if (group == "Img") return kImgReads;
    return {};
}

// "_ADCGain" is the one tuning item read with a clamp.
bool ReadTuneItem(CParamFile& file, const std::string& section, const std::string& key,
                  Quantity quantity, int32_t& value) {
    if (quantity == Quantity::AdcGain) return file.ReadItemClamped(section, key, value, 2, 4);
    return file.ReadItem(section, key, value);
}

}  // namespace

void CSlave_T3300::SaveTuneSection(CParamFile& file, std::string_view section,
                                   std::string_view group, ConstImage image, uint8_t preScaler,
                                   uint8_t freqCtrl, std::string_view comment) {
    const std::span<const TuneItem> items = ItemsOf(group);
    if (items.empty()) {
        CSlave::SaveTuneSection(file, section, group, image, preScaler, freqCtrl, comment);
        return;
    }
    const chipmap::ChipProfile& profile = T3300Profile();
    const bool gainFixed = (freqCtrl & FixedGainFlag(group)) != 0;
    for (const TuneItem& item : items) {
        const chipmap::Field* field = chipmap::FindField(profile, item.quantity);
        const int32_t value = (field != nullptr && image.size() >= kImageBufferSize)
                                  ? chipmap::DecodeField(*field, image)
                                  : 0;
        char range[32];
        std::snprintf(range, sizeof range, item.range, preScaler * 3 - 1);
        std::string text(item.comment);
        if (item.fixed == Fixed::Always || (item.fixed == Fixed::ByFlag && gainFixed))
            text += " Read Only";
        std::string key(group);
        key += item.suffix;
        file.WriteItem(value, item.level, section, key, range, text);
    }
}

void CSlave_T3300::LoadTuneItems(CParamFile& file, std::string_view section, std::string_view group,
                                 std::vector<int32_t>& values) {
    const std::span<const TuneRead> reads = ReadsOf(group);
    if (reads.empty()) {
        CSlave::LoadTuneItems(file, section, group, values);
        return;
    }
    const chipmap::ChipProfile& profile = T3300Profile();
    if (values.size() != profile.fields.size()) return;
    const std::string given(section);
    const std::string readOut = given + "-RD";
    for (const TuneRead& read : reads) {
        const chipmap::Field* field = chipmap::FindField(profile, read.quantity);
        if (field == nullptr) continue;
        int32_t& value = values[static_cast<std::size_t>(field - profile.fields.data())];
        std::string key(group);
        key += read.suffix;
        if (read.fromRdFirst && ReadTuneItem(file, readOut, key, read.quantity, value)) continue;
        ReadTuneItem(file, given, key, read.quantity, value);
    }
}

}  // namespace Slave_T3300
