// The reader of the sectioned key-and-value text files (parameter, settings and register files),
// checked against a plain model of its rules: every item the model finds, the reader finds with
// the same value, whatever case or blanks the look-up uses; values are trimmed and never longer
// than the reader's limit; numbers saturate instead of overflowing.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "FuzzSupport.h"
#include "files/ParamIndex.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The rules of the file format, written out line by line: the first occurrence of a key in a
// section wins, names match without regard to ASCII case.
struct ModelItem {
    std::string section, key, value;
};

std::map<std::pair<std::string, std::string>, ModelItem> ModelOf(std::string_view text) {
    std::map<std::pair<std::string, std::string>, ModelItem> items;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool inSection = false;
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = Trim(line);
        if (line.empty()) continue;
        if (line.front() == '[') {
            const std::string_view name = line.substr(1);
            section = std::string(Trim(name.substr(0, name.find(']'))));
            inSection = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        if (value.size() > ParamIndex::kMaxValueLength)
            value = value.substr(0, ParamIndex::kMaxValueLength);
        items.try_emplace({Lower(section), Lower(key)},
                          ModelItem{section, std::string(key), std::string(value)});
    }
    return items;
}

// The leading decimal integer, saturated at the 32-bit limits.
int64_t ModelDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        magnitude = std::min<int64_t>(magnitude * 10 + (c - '0'), int64_t{1} << 40);
    }
    const int64_t value = negative ? -magnitude : magnitude;
    return std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

void CheckValue(std::string_view value) {
    fuzz::Expect(value.size() <= ParamIndex::kMaxValueLength, "a value longer than the limit");
    fuzz::Expect(value.find('\n') == std::string_view::npos, "a value spans lines");
    // Trimmed, then cut to the limit: only a cut value may end with a blank.
    fuzz::Expect(Trim(value).data() == value.data(), "a value with blanks at its start");
    fuzz::Expect(Trim(value).size() == value.size() || value.size() == ParamIndex::kMaxValueLength,
                 "a value with blanks at its end");
    const std::string_view number = ParamIndex::ValueBeforeComment(value);
    fuzz::Expect(number.find(';') == std::string_view::npos && Trim(number) == number,
                 "the value before its comment is not trimmed");
    if (ParamIndex::LeadingDecimal(number) != ModelDecimal(number))
        fuzz::Finding("the leading decimal of '" + std::string(number) + "' is not saturated");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ParamIndex index(text);
    const auto model = ModelOf(text);
    for (const auto& [name, item] : model) {
        const auto found = index.Find(item.section, item.key);
        // Messages are made only for a finding: this loop runs for every item of every input.
        if (!found || *found != item.value)
            fuzz::Finding("[" + item.section + "] " + item.key +
                          " is not found with the value of its first occurrence");
        CheckValue(*found);
        // Look-ups ignore case and the blanks around the names.
        const auto other = index.Find(" " + Upper(item.section) + "\t", Lower(item.key) + " ");
        if (!other || *other != *found)
            fuzz::Finding("[" + item.section + "] " + item.key + " depends on case or blanks");
    }
    // A name the model does not have is not found either.
    const std::string_view probe = Trim(std::string_view(text).substr(0, 16));
    if (!model.contains({Lower(probe), Lower(probe)}))
        fuzz::Expect(!index.Find(probe, probe).has_value(), "an item found that is not there");
    fuzz::Expect(ParamIndex::LeadingDecimal(text) == ModelDecimal(text),
                 "the leading decimal of the input is not saturated");
    return 0;
}
