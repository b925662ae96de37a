#include "params/SwTextItems.h"

#include <bit>
#include <cstdio>

#include "files/CParamFile.h"
#include "params/SwLayout.h"

namespace {

using namespace SwLayout;

int Shift(uint16_t mask) {
    return std::countr_zero(static_cast<unsigned>(mask));
}

}  // namespace

SwItemIo::SwItemIo(std::span<uint8_t> image, CParamFile& file, SwTextState state)
    : image_(image), file_(file), state_(state) {}

std::string SwItemIo::Named(const char* pattern, int number) {
    char name[96];
    std::snprintf(name, sizeof name, pattern, number);
    return name;
}

int SwItemIo::LevelOf(std::string_view section) {
    return section.ends_with("-RD") ? kLevelDetail : kLevelBasic;
}

int SwItemIo::FieldOffset(SwArea area, int offset) const {
    switch (area) {
        case SwArea::ModeBlock:
            return ThresholdBlock(mode_) + offset;
        case SwArea::ModeWater:
            return ModeWater(mode_) + offset;
        case SwArea::ActiveArea:
            return ActiveArea(area_) + offset;
        case SwArea::Image:
            break;
    }
    return offset;
}

int32_t SwItemIo::LoadField(SwWidth width, int offset) const {
    const auto image = std::span<uint8_t>(image_);
    switch (width) {
        case SwWidth::U8:
            return ImageField<uint8_t>(image, offset).Load();
        case SwWidth::S8:
            return ImageField<int8_t>(image, offset).Load();
        case SwWidth::U16:
            return ImageField<uint16_t>(image, offset).Load();
        case SwWidth::S16:
            return ImageField<int16_t>(image, offset).Load();
    }
    return 0;
}

// Stored into the field's width: a value wider than the field keeps its low bits.
void SwItemIo::StoreField(SwWidth width, int offset, int32_t value) {
    switch (width) {
        case SwWidth::U8:
            ImageField<uint8_t>(image_, offset).Store(static_cast<uint8_t>(value));
            break;
        case SwWidth::S8:
            ImageField<int8_t>(image_, offset).Store(static_cast<int8_t>(value));
            break;
        case SwWidth::U16:
            ImageField<uint16_t>(image_, offset).Store(static_cast<uint16_t>(value));
            break;
        case SwWidth::S16:
            ImageField<int16_t>(image_, offset).Store(static_cast<int16_t>(value));
            break;
    }
}

uint16_t SwItemIo::LoadFlags(bool wide, int offset) const {
    return static_cast<uint16_t>(LoadField(wide ? SwWidth::U16 : SwWidth::U8, offset));
}

void SwItemIo::StoreFlags(bool wide, int offset, uint16_t value) {
    StoreField(wide ? SwWidth::U16 : SwWidth::U8, offset, value);
}

uint16_t SwItemIo::ControlWord(int word) const {
    return LoadFlags(true, CtrlFlags(word));
}

uint16_t SwItemIo::ModeCopy(int mode, int copy) const {
    return LoadFlags(true, ThresholdBlock(mode) + copy);
}

bool SwItemIo::ReadOnly(ReadOnlyWhen when) const {
    namespace B = SwLayout::Block;
    const auto anyMode = [&](int modes, uint16_t bit) {
        for (int t = 0; t < modes; ++t) {
            if (ModeCopy(t, B::kCtrlCopy0) & bit) return true;
        }
        return false;
    };
    switch (when) {
        case ReadOnlyWhen::Never:
            return false;
        case ReadOnlyWhen::FixWhByMassOff:
            return !(ControlWord(3) & kCtrl3FixWhByMass);
        case ReadOnlyWhen::ReportPalmGroupOn:
            return (ControlWord(2) & kCtrl2ReportPalmGroup) != 0;
        case ReadOnlyWhen::AvgTouchSignalSet:
            return LoadField(SwWidth::U16, ThresholdBlock(mode_) + B::kAvgTouchSignal) != 0;
        case ReadOnlyWhen::ImgCheckNoiseOff:
            return !(ControlWord(2) & kCtrl2ImgCheckNoise);
        case ReadOnlyWhen::ModeWaterProofOff:
            return !(ModeCopy(mode_, B::kCtrlCopy0) & kCtrl0WaterProof);
        case ReadOnlyWhen::ModePalmRejectionOff:
            return !(ModeCopy(mode_, B::kCtrlCopy0) & kCtrl0PalmRejection);
        case ReadOnlyWhen::HwWaterScanOff:
            return !state_.hwWaterScan;
        case ReadOnlyWhen::WLRxTouchThSet:
            return LoadField(SwWidth::U8, ThresholdBlock(mode_) + B::kWLRxTouchTh) != 0;
        case ReadOnlyWhen::WLTxTouchThSet:
            return LoadField(SwWidth::U8, ThresholdBlock(mode_) + B::kWLTxTouchTh) != 0;
        case ReadOnlyWhen::AutoFrequencyOff:
            return !(ControlWord(0) & kCtrl0AutoFrequency);
        case ReadOnlyWhen::DynamicCookTouchThOff:
            return !(ControlWord(2) &
                     (kCtrl2ImageDynamicCookTouchTh | kCtrl2NoiseDynamicCookTouchTh));
        case ReadOnlyWhen::NoFingerSeparation:
            return !anyMode(kThresholdModes, kCtrl0EnhanceFingerSeparation);
        case ReadOnlyWhen::NoPalmRejection:
            return !anyMode(state_.writtenModes, kCtrl0PalmRejection);
        case ReadOnlyWhen::NoPassiveStylus:
            return !anyMode(state_.writtenModes, kCtrl0PassiveStylus);
        case ReadOnlyWhen::MarginImproveOff:
            return !(ControlWord(0) & kCtrl0MarginImprove);
        case ReadOnlyWhen::LiftOffRawHistogramOff:
            return !(ControlWord(3) & kCtrl3LiftOffUseRawHistogram);
        case ReadOnlyWhen::AreaInvalid:
            return !(LoadField(SwWidth::U8, ActiveArea(area_) + kAreaAttribute) & kAreaValid);
    }
    return false;
}

std::string SwItemIo::WithSuffix(std::string comment, ReadOnlyWhen when) const {
    if (ReadOnly(when)) comment += " Read Only";
    return comment;
}

// The sensitivity prefix shows the value the sensitivity level makes of the item's own value.
std::string SwItemIo::Comment(const SwItem& item, int32_t value) const {
    std::string comment;
    const int level = LoadField(SwWidth::S8, ThresholdBlock(mode_) + Block::kSensitivityLevel);
    if (item.prefix != SwPrefix::None && level != 0) {
        char prefix[64];
        const char* format = item.prefix == SwPrefix::SensitivityCook ? "SensitivityFix(%d). )"
                                                                      : "SensitivityFix(%d). ";
        std::snprintf(prefix, sizeof prefix, format, value * (10 - level) / 10);
        comment = prefix;
    }
    comment += item.comment;
    return WithSuffix(std::move(comment), item.readOnly);
}

void SwItemIo::Begin(const std::string& section) {
    file_.WriteLine("[" + section + "]", LevelOf(section));
}

void SwItemIo::End(const std::string& section) {
    file_.WriteLine("", LevelOf(section));
}

void SwItemIo::WriteText(const std::string& section, std::string_view text) {
    file_.WriteLine(text, LevelOf(section));
}

void SwItemIo::WriteItems(const std::string& section, std::span<const SwItem> items) {
    const int level = LevelOf(section);
    for (const SwItem& item : items) {
        const int offset = FieldOffset(item.area, item.offset);
        int32_t value = LoadField(item.width, offset);
        switch (item.write) {
            case SwWrite::Ranged: {
                const std::string comment = Comment(item, value);
                file_.WriteRangedItem(value, item.def, item.min, item.max, level, section, item.key,
                                      comment);
                StoreField(item.width, offset, value);
                break;
            }
            case SwWrite::Plain:
                file_.WriteItem(value, level, section, item.key, item.rangeText,
                                Comment(item, value));
                break;
            case SwWrite::Text:
                file_.WriteItem(std::to_string(value), level, section, item.key, item.rangeText,
                                Comment(item, value));
                break;
            case SwWrite::NotWritten:
                break;
        }
    }
}

void SwItemIo::WriteBits(const std::string& section, std::span<const SwBits> bits, SwArea area,
                         int onlyOffset) {
    const int sectionLevel = LevelOf(section);
    for (const SwBits& bit : bits) {
        if (bit.write == SwWrite::NotWritten) continue;
        if (onlyOffset >= 0 && bit.offset != onlyOffset) continue;
        const int offset = FieldOffset(area, bit.offset);
        const int level = bit.level != 0 ? bit.level : sectionLevel;
        const uint16_t field = LoadFlags(bit.wide, offset);
        int32_t value = (field & bit.mask) >> Shift(bit.mask);
        const std::string comment = WithSuffix(bit.comment, bit.readOnly);
        switch (bit.write) {
            case SwWrite::Ranged: {
                file_.WriteRangedItem(value, bit.def, 0, bit.mask >> Shift(bit.mask), level,
                                      section, bit.key, comment);
                const auto placed = static_cast<uint16_t>((value << Shift(bit.mask)) & bit.mask);
                StoreFlags(bit.wide, offset, static_cast<uint16_t>((field & ~bit.mask) | placed));
                break;
            }
            case SwWrite::Plain:
                file_.WriteItem(value, level, section, bit.key, bit.rangeText, comment);
                break;
            case SwWrite::Text:
                file_.WriteItem(std::to_string(value), level, section, bit.key, bit.rangeText,
                                comment);
                break;
            case SwWrite::NotWritten:
                break;
        }
    }
}

void SwItemIo::ReadItems(const std::string& section, std::span<const SwItem> items) {
    for (const SwItem& item : items) {
        const int offset = FieldOffset(item.area, item.offset);
        int32_t value = 0;
        switch (item.load) {
            case SwLoad::Clamped:
                if (file_.ReadItemClamped(section, item.key, value, item.loadMin, item.loadMax)) {
                    StoreField(item.width, offset, value);
                }
                break;
            case SwLoad::Plain:
                if (file_.ReadItem(section, item.key, value)) StoreField(item.width, offset, value);
                break;
            case SwLoad::NotApplied:
                file_.ReadItemClamped(section, item.key, value, item.loadMin, item.loadMax);
                break;
            case SwLoad::NotRead:
                break;
        }
    }
}

uint16_t SwItemIo::ReadBits(const std::string& section, std::span<const SwBits> bits,
                            int fieldOffset, uint16_t& word) {
    uint16_t found = 0;
    for (const SwBits& bit : bits) {
        if (bit.offset != fieldOffset) continue;
        int32_t value = 0;
        if (!file_.ReadItemClamped(section, bit.key, value, bit.loadMin, bit.loadMax)) continue;
        const auto placed = static_cast<uint16_t>((value << Shift(bit.mask)) & bit.mask);
        word = static_cast<uint16_t>((word & ~bit.mask) | placed);
        found = static_cast<uint16_t>(found | bit.mask);
    }
    return found;
}

void SwItemIo::StoreDefaults(std::span<const SwItem> items) {
    for (const SwItem& item : items) {
        if (item.write == SwWrite::Ranged) {
            StoreField(item.width, FieldOffset(item.area, item.offset), item.def);
        }
    }
}

void SwItemIo::StoreDefaults(std::span<const SwBits> bits, SwArea area) {
    for (const SwBits& bit : bits) {
        if (bit.write != SwWrite::Ranged) continue;
        const int offset = FieldOffset(area, bit.offset);
        const uint16_t field = LoadFlags(bit.wide, offset);
        const auto placed = static_cast<uint16_t>((bit.def << Shift(bit.mask)) & bit.mask);
        StoreFlags(bit.wide, offset, static_cast<uint16_t>((field & ~bit.mask) | placed));
    }
}
