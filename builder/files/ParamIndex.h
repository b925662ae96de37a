// The parsed form of a sectioned key-and-value text file (the grammar of the parameter text files,
// the settings file and the register files), built once per file so that every key is answered
// from memory instead of by scanning the file again.
//
// Reading rules, the same as the platform's profile-file functions:
// - a line whose first non-blank character is '[' starts a section; its name runs to the first ']'
//   (or the end of the line) and is trimmed of blanks;
// - any other line with an '=' is an item: key before the first '=', value after it, both trimmed;
//   lines without '=' and items before the first section are ignored;
// - section names and keys match without regard to ASCII case;
// - the first occurrence of a key in a section wins; a section that appears twice is one section;
// - a value is at most kMaxValueLength characters (longer values are cut).
// Blanks are spaces and tabs; lines end with a line feed, an optional carriage return before it is
// ignored; a UTF-8 byte order mark at the start of the file is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class ParamIndex {
  public:
    static constexpr std::size_t kMaxValueLength = 511;

    ParamIndex() = default;  // an empty index: every look-up fails
    explicit ParamIndex(std::string text);

    // Reads and parses the file at path. A file that cannot be read (missing, not a regular file)
    // gives an empty index.
    static ParamIndex FromFile(const std::string& path);

    // The value of key in section as found (trimmed, cut to kMaxValueLength); nullopt when the
    // section or the key is missing. Section and key are trimmed of blanks before the look-up.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Blanks (spaces and tabs) removed from both ends.
    static std::string_view TrimBlanks(std::string_view text);
    // The part of an item value that is the value itself: the text before the first ';', trimmed.
    // A value without ';' is used as found (trimmed).
    static std::string_view ValueBeforeComment(std::string_view value);
    // The leading decimal integer of text: an optional sign, then digits up to the first other
    // character. No digits gives 0 ("0x10" gives 0). Saturates at the limits of a 32-bit integer.
    static std::int32_t LeadingDecimal(std::string_view text);

  private:
    // One table for the whole file: a section that appears twice adds to the same keys.
    struct ItemName {
        std::string_view section;
        std::string_view key;
    };
    struct CaseInsensitiveHash {
        std::size_t operator()(const ItemName& name) const noexcept;
    };
    struct CaseInsensitiveEqual {
        bool operator()(const ItemName& a, const ItemName& b) const noexcept;
    };

    void Parse();

    // Owned on the heap so that the views in the table stay valid when the index is moved.
    std::unique_ptr<const std::string> m_text;
    std::unordered_map<ItemName, std::string_view, CaseInsensitiveHash, CaseInsensitiveEqual>
        m_items;
};
