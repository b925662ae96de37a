#include "params/HwTextKeys.h"

#include <algorithm>
#include <cstdio>

#include "chips/CSlave.h"
#include "files/CParamFile.h"

namespace hwtext {

namespace {

int MaxOf(const RangedKey& key, int delayMax, bool reading) {
    const int max = reading ? key.readMax : key.max;
    return max == kDelayRange ? delayMax : max;
}

}  // namespace

ValueRange SinAmpRangeOf(CSlave& chip, int group) {
    if (group == hw::kWLTx) return {chip.GetWLTxSinAmpMin(), chip.GetWLTxSinAmpMax()};
    if (group == hw::kWLRx) return {chip.GetWLRxSinAmpMin(), chip.GetWLRxSinAmpMax()};
    return {chip.GetSinAmpMin(), chip.GetSinAmpMax()};
}

ValueRange VKeyTxRange(CSlave& chip, int selector) {
    const int chipIndex = std::clamp(selector, 0, 1);
    return {chip.GetTxChannelFirst(chipIndex), chip.GetTxChannelLast(chipIndex)};
}

ValueRange VKeyRxRange(CSlave& chip, int selector) {
    const int chipIndex = std::clamp(selector, 0, 1);
    return {chip.GetRxChannelFirst(chipIndex), chip.GetRxChannelLast(chipIndex)};
}

bool StrayCountsInSoftwareSet(int kernelMajor, int kernelMinor) {
    return kernelMajor > 3 || (kernelMajor == 3 && kernelMinor >= 31);
}

std::string Indexed(const std::string& format, int index) {
    char text[96];
    std::snprintf(text, sizeof text, format.c_str(), index);
    return text;
}

std::string RegSectionName(int frequency, const char* group) {
    char text[96];
    std::snprintf(text, sizeof text, "Freq-%d %s Reg Parameters", frequency, group);
    return text;
}

std::string EnableKey(const char* prefix, int byte) {
    char text[48];
    std::snprintf(text, sizeof text, "%s_%d_%d", prefix, 8 * byte + 7, 8 * byte);
    return text;
}

void Section(CParamFile& file, std::string_view name, int level) {
    file.WriteLine("[" + std::string(name) + "]", level);
}

void EndSection(CParamFile& file, int level) {
    file.WriteLine("", level);
}

void WriteRangedKey(CParamFile& file, std::span<uint8_t> image, const RangedKey& key,
                    std::string_view section, int level, int base, int delayMax) {
    const auto offset = static_cast<std::size_t>(base + key.offset);
    const int max = MaxOf(key, delayMax, false);
    if (key.bits == 16) {
        file.WriteRangedItem(ImageField<uint16_t>(image, offset), key.def, key.min, max, level,
                             section, key.key, key.comment);
    } else {
        file.WriteRangedItem(ImageField<uint8_t>(image, offset), key.def, key.min, max, level,
                             section, key.key, key.comment);
    }
}

void ReadRangedKey(CParamFile& file, std::span<uint8_t> image, const RangedKey& key,
                   std::string_view section, int base, int delayMax) {
    const auto offset = static_cast<std::size_t>(base + key.offset);
    // An empty range (a PreScaler of 0) clamps to its lower end.
    const int max = std::max(key.readMin, MaxOf(key, delayMax, true));
    if (key.bits == 16) {
        uint16_t value = ImageField<uint16_t>(image, offset).Load();
        if (file.ReadItemClamped(section, key.key, value, key.readMin, max))
            ImageField<uint16_t>(image, offset).Store(value);
    } else {
        uint8_t value = ImageField<uint8_t>(image, offset).Load();
        if (file.ReadItemClamped(section, key.key, value, key.readMin, max))
            ImageField<uint8_t>(image, offset).Store(value);
    }
}

void WriteRangedKeys(CParamFile& file, std::span<uint8_t> image, std::span<const RangedKey> keys,
                     std::string_view section, int level, int base, int delayMax) {
    for (const RangedKey& key : keys)
        WriteRangedKey(file, image, key, section, level, base, delayMax);
}

void ReadRangedKeys(CParamFile& file, std::span<uint8_t> image, std::span<const RangedKey> keys,
                    std::string_view section, int base, int delayMax) {
    for (const RangedKey& key : keys) ReadRangedKey(file, image, key, section, base, delayMax);
}

}  // namespace hwtext
