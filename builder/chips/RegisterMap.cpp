#include "chips/RegisterMap.h"

#include <algorithm>

namespace chipmap {

namespace {

bool Fits(const Layout& layout, std::size_t imageSize) {
    for (int i = 0; i < layout.count; ++i) {
        if (layout.runs[static_cast<std::size_t>(i)].reg >= imageSize) return false;
    }
    return true;
}

uint32_t Mask(int width) {
    return width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1u);
}

}  // namespace

int Layout::Width() const {
    int width = 0;
    for (int i = 0; i < count; ++i) width += runs[static_cast<std::size_t>(i)].width;
    return width;
}

bool HasMap(const ChipProfile* profile) {
    return profile != nullptr && !profile->fields.empty();
}

int FieldIndex(const ChipProfile& profile, std::string_view suffix) {
    for (std::size_t i = 0; i < profile.fields.size(); ++i) {
        if (profile.fields[i].suffix == suffix) return static_cast<int>(i);
    }
    return -1;
}

const Field* FindField(const ChipProfile& profile, Quantity q) {
    const std::string_view suffix = profile.quantities[static_cast<std::size_t>(q)];
    if (suffix.empty()) return nullptr;
    const int index = FieldIndex(profile, suffix);
    return index < 0 ? nullptr : &profile.fields[static_cast<std::size_t>(index)];
}

int32_t DecodeField(const Field& field, std::span<const uint8_t> image) {
    const Layout& layout = field.layout;
    if (layout.readsZero || !Fits(layout, image.size())) return 0;
    uint32_t raw = 0;
    for (int i = 0; i < layout.count; ++i) {
        const BitRun& run = layout.runs[static_cast<std::size_t>(i)];
        const uint32_t bits = (uint32_t{image[run.reg]} >> run.lowBit) & Mask(run.width);
        raw |= bits << run.valueShift;
    }
    if (layout.isSigned) {
        const int width = layout.Width();
        if (width < 32 && (raw & (1u << (width - 1))) != 0) raw |= ~Mask(width);
    }
    return static_cast<int32_t>(raw);
}

void EncodeField(const Field& field, int32_t value, std::span<uint8_t> image) {
    const Layout& layout = field.layout;
    if (!Fits(layout, image.size())) return;
    const auto raw = static_cast<uint32_t>(value);
    for (int i = 0; i < layout.count; ++i) {
        const BitRun& run = layout.runs[static_cast<std::size_t>(i)];
        const uint32_t mask = Mask(run.width) << run.lowBit;
        const uint32_t bits = ((raw >> run.valueShift) << run.lowBit) & mask;
        image[run.reg] = static_cast<uint8_t>((image[run.reg] & ~mask) | bits);
    }
}

std::vector<int32_t> Decode(const ChipProfile& profile, std::span<const uint8_t> image) {
    std::vector<int32_t> values;
    values.reserve(profile.fields.size());
    for (const Field& field : profile.fields) values.push_back(DecodeField(field, image));
    return values;
}

void Encode(const ChipProfile& profile, std::span<const int32_t> values, std::span<uint8_t> image) {
    const std::size_t n = std::min(values.size(), profile.fields.size());
    for (std::size_t i = 0; i < n; ++i) EncodeField(profile.fields[i], values[i], image);
}

std::vector<int32_t> DefaultValues(const ChipProfile& profile) {
    std::vector<int32_t> values;
    values.reserve(profile.fields.size());
    for (const Field& field : profile.fields) values.push_back(field.def);
    return values;
}

void ApplyChanges(const ChipProfile& profile, Changes changes, std::vector<int32_t>& values) {
    for (const Change& change : changes) {
        const int index = FieldIndex(profile, change.suffix);
        if (index >= 0 && static_cast<std::size_t>(index) < values.size()) {
            values[static_cast<std::size_t>(index)] = change.value;
        }
    }
}

void ApplyChanges(const ChipProfile& profile, Changes changes, std::span<uint8_t> image) {
    for (const Change& change : changes) {
        const int index = FieldIndex(profile, change.suffix);
        if (index >= 0)
            EncodeField(profile.fields[static_cast<std::size_t>(index)], change.value, image);
    }
}

}  // namespace chipmap
