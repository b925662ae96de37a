#include "files/ParamIndex.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// A hash that ignores ASCII case, eight bytes at a time (every look-up and every item of a file is
// hashed, so this is the reader's hot spot). OR-ing 0x20 maps 'A'-'Z' onto 'a'-'z'; it also maps a
// few other characters onto each other, which costs no more than a rare collision.
std::uint64_t FoldedHash(std::uint64_t hash, std::string_view text) {
    constexpr std::uint64_t kFold = 0x2020202020202020ull;
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    const auto mix = [&hash](std::uint64_t word) {
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    };
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + pos, 8);
        mix(word | kFold);
    }
    std::uint64_t tail = 0;
    if (pos < text.size()) {
        std::memcpy(&tail, text.data() + pos, text.size() - pos);
    }
    mix((tail | kFold) ^ text.size());
    return hash;
}

}  // namespace

std::string_view ParamIndex::TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view ParamIndex::ValueBeforeComment(std::string_view value) {
    const std::size_t semicolon = value.find(';');
    if (semicolon != std::string_view::npos) {
        value = value.substr(0, semicolon);
    }
    return TrimBlanks(value);
}

std::int32_t ParamIndex::LeadingDecimal(std::string_view text) {
    bool negative = false;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Accumulate the magnitude in 64 bits and stop growing it once it is past every 32-bit value,
    // so a long digit string saturates instead of overflowing.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        if (magnitude <= kLimit) {
            magnitude = magnitude * 10 + (text[pos] - '0');
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

std::size_t ParamIndex::CaseInsensitiveHash::operator()(const ItemName& name) const noexcept {
    return static_cast<std::size_t>(FoldedHash(FoldedHash(0, name.section), name.key));
}

bool ParamIndex::CaseInsensitiveEqual::operator()(const ItemName& a,
                                                  const ItemName& b) const noexcept {
    return SameTextIgnoringCase(a.section, b.section) && SameTextIgnoringCase(a.key, b.key);
}

ParamIndex::ParamIndex(std::string text)
    : m_text(std::make_unique<const std::string>(std::move(text))) {
    Parse();
}

ParamIndex ParamIndex::FromFile(const std::string& path) {
    // Only regular files: opening a FIFO or a device for reading could block or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return ParamIndex();
    }
    std::ifstream in(path, std::ios::binary);
    std::string text;
    char chunk[64 * 1024];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    return ParamIndex(std::move(text));
}

void ParamIndex::Parse() {
    std::string_view text = *m_text;
    // Editors on Windows often start a UTF-8 file with a byte order mark; without this the first
    // section (the one naming the controller type) would not be found.
    constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kUtf8ByteOrderMark)) {
        text.remove_prefix(kUtf8ByteOrderMark.size());
    }
    std::optional<std::string_view> section;  // items before the first section belong to none
    m_items.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = TrimBlanks(line);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            const std::string_view name = line.substr(1);
            section = TrimBlanks(name.substr(0, name.find(']')));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!section || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        const std::string_view value =
            TrimBlanks(line.substr(equals + 1)).substr(0, kMaxValueLength);
        m_items.emplace(ItemName{*section, key}, value);  // emplace keeps the first occurrence
    }
}

std::optional<std::string_view> ParamIndex::Find(std::string_view section,
                                                 std::string_view key) const {
    const auto item = m_items.find(ItemName{TrimBlanks(section), TrimBlanks(key)});
    if (item == m_items.end()) {
        return std::nullopt;
    }
    return item->second;
}
