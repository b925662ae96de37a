#include "model/ControllerQueries.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tuner {
namespace {

using TextGetter = int (*)(DevHandle, char*, std::size_t);

// The getters write at most size - 1 characters, but the controller's text is only trusted as far
// as the buffer reaches, and the tuner keeps no more than kIdentityTextMax characters of it.
std::string ReadText(DevHandle handle, TextGetter getter) {
    std::array<char, kDevTextSize> text{};
    if (!getter(handle, text.data(), text.size())) return {};
    const std::size_t length = strnlen(text.data(), text.size());
    return std::string(text.data(), std::min(length, kIdentityTextMax));
}

uint16_t WordAt(const uint8_t* bytes, std::size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

// A zero range would make every point scale by zero; such a word keeps the default instead.
void TakeRange(uint16_t reported, uint16_t& range) {
    if (reported != 0) range = reported;
}

}  // namespace

IdentityTexts ReadIdentityTexts(DevHandle handle) {
    IdentityTexts texts;
    texts.modelName = ReadText(handle, devGetModelName);
    texts.modelSubName = ReadText(handle, devGetModelSubName);
    texts.icType = ReadText(handle, devGetTypeName);
    texts.firmwareVersion = ReadText(handle, devGetVersionText);
    return texts;
}

TouchKeyCounts ReadTouchKeyCounts(DevHandle handle) {
    TouchKeyCounts counts;
    std::array<uint8_t, kDevReportSize> record{};
    if (!devQueryInfo(handle, 0, record.data())) return counts;
    constexpr uint8_t kTouchKeyFlags = 0x01 | 0x08;
    if ((record[4] & kTouchKeyFlags) == 0) return counts;

    record.fill(0);
    if (!devQueryInfo(handle, 1, record.data())) return counts;
    counts.keys = record[5];
    counts.secondKeys = record[9];
    return counts;
}

bool KernelReportsCoordinateRanges(uint8_t kernelMajor, uint8_t kernelMinor) {
    return kernelMajor > 5 || (kernelMajor == 5 && kernelMinor >= 38);
}

CoordinateMaxima ReadCoordinateMaxima(DevHandle handle, uint8_t kernelMajor, uint8_t kernelMinor) {
    CoordinateMaxima maxima;
    if (!KernelReportsCoordinateRanges(kernelMajor, kernelMinor)) return maxima;

    std::array<uint8_t, kDevReportSize> answer{};
    int length = static_cast<int>(answer.size());
    if (!devGetReportInfo(handle, answer.data(), &length)) return maxima;
    // The stylus words end at byte 17: a shorter answer does not carry all four ranges.
    constexpr int kUsedLength = 18;
    if (length < kUsedLength) return maxima;

    TakeRange(WordAt(answer.data(), 1), maxima.touchX);
    TakeRange(WordAt(answer.data(), 3), maxima.touchY);
    TakeRange(WordAt(answer.data(), 14), maxima.stylusX);
    TakeRange(WordAt(answer.data(), 16), maxima.stylusY);
    return maxima;
}

}  // namespace tuner
