// One text or register parameter file, open for one load or one save: writes items line by line
// ("key = value    ;range    ;comment") and reads them back key by key with clamping.
//
// Reading parses the file once, at the first read, into a ParamIndex (see ParamIndex.h for the
// matching rules) and answers every key from it.
//
// Writing goes to a temporary file in the same folder; Close() checks every write and the close and
// only then renames the temporary file over the target. A save that fails, or an object destroyed
// before Close(), leaves the previous file at the path untouched. The caller reports the failure:
//
//     CParamFile file(path);
//     if (!file.OpenWrite()) { /* "Cannot Create File: %s" */ }
//     file.WriteLine("[Sensor Config]", kLevelBasic);
//     file.WriteRangedItem(ImageField<std::uint16_t>(image, offset), 2560, 1, 65534, kLevelBasic,
//                          "Sensor Config", "XDimension", "X dimension ...");
//     file.WriteLine("", kLevelBasic);
//     if (!file.Close()) { /* "Cannot Create File: %s": the old file is still there */ }
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "params/ParamIndex.h"

// Output levels of written lines. A line is written only when its level is not above the maximum
// output level, kMaxOutputLevel unless changed; at 100 every item and section of every file is
// written, at kLevelBasic only what a user normally edits.
inline constexpr int kLevelBasic = 50;    // items the user normally edits
inline constexpr int kLevelDetail = 100;  // every other item and section
inline constexpr int kMaxOutputLevel = 100;
void SetMaxOutputLevel(int level);
int MaxOutputLevel();

// The widths a parameter item can have in a parameter image.
template <typename T>
concept ParamNumber = std::same_as<T, std::int32_t> || std::same_as<T, std::int16_t> ||
    std::same_as<T, std::uint16_t> || std::same_as<T, std::int8_t> || std::same_as<T, std::uint8_t>;

// A little-endian field of sizeof(T) bytes at a fixed offset of a parameter image.
template <ParamNumber T>
class ImageField {
  public:
    // The field must lie inside the image; a field outside it is a programming error.
    ImageField(std::span<std::uint8_t> image, std::size_t offset)
        : m_bytes(image.subspan(CheckedOffset(image, offset), sizeof(T))) {}

    T Load() const {
        std::uint32_t raw = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            raw |= std::uint32_t{m_bytes[i]} << (8 * i);
        }
        return static_cast<T>(raw);
    }

    void Store(T value) const {
        const auto raw = static_cast<std::uint32_t>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            m_bytes[i] = static_cast<std::uint8_t>(raw >> (8 * i));
        }
    }

  private:
    static std::size_t CheckedOffset(std::span<std::uint8_t> image, std::size_t offset) {
        if (offset > image.size() || image.size() - offset < sizeof(T)) {
            throw std::out_of_range("parameter image field outside the image");
        }
        return offset;
    }

    std::span<std::uint8_t> m_bytes;
};

class CParamFile {
  public:
    explicit CParamFile(std::string path);
    ~CParamFile();  // discards a write that was not closed: the file at the path stays as it was
    CParamFile(const CParamFile&) = delete;
    CParamFile& operator=(const CParamFile&) = delete;

    const std::string& Path() const { return m_path; }

    // Closes (completes) any open write, then starts a new one: a temporary file beside the path.
    // False when the temporary file cannot be created.
    bool OpenWrite();
    bool IsOpen() const { return m_out != nullptr; }
    // Closes any open write, then tells whether the path is a regular file that can be opened for
    // reading.
    bool Exists();
    // Ends the write: true when every line was written, the file closed cleanly and it now stands
    // at the path. On false the previous file at the path is unchanged. True when nothing was open.
    bool Close();

    // Reading. A missing section or key returns false and leaves the destination unchanged.
    // Numbers take the leading decimal integer of the value (text before ';', trimmed) and are
    // stored into the destination's width.
    bool ReadItem(std::string_view section, std::string_view key, std::string& value);
    template <ParamNumber T>
    bool ReadItem(std::string_view section, std::string_view key, T& value) {
        const std::optional<std::int32_t> number = ReadNumber(section, key);
        if (number) {
            value = static_cast<T>(*number);
        }
        return number.has_value();
    }
    // As ReadItem, then a value outside min~max becomes min or max, with a range error message.
    template <ParamNumber T>
    bool ReadItemClamped(std::string_view section, std::string_view key, T& value, std::int32_t min,
                         std::int32_t max) {
        const std::optional<std::int32_t> number = ReadNumber(section, key);
        if (number) {
            value = static_cast<T>(Clamp(key, *number, min, max));
        }
        return number.has_value();
    }

    // Writing. Every writer does nothing and returns 0 when the file is not open or when level is
    // above the maximum output level; otherwise it returns the number of characters of the line (0 when the
    // write failed, which also makes Close() fail). Keys are trimmed of blanks. The section is
    // written by WriteLine("[...]"); item writers name it only so that they read like the reads.
    int WriteLine(std::string_view text, int level);
    int WriteItem(std::string_view text, int level, std::string_view section, std::string_view key,
                  std::string_view rangeText, std::string_view comment);
    template <ParamNumber T>
    int WriteItem(T value, int level, std::string_view section, std::string_view key,
                  std::string_view rangeText, std::string_view comment) {
        return WriteNumberItem(value, level, section, key, rangeText, comment);
    }
    // A value outside min~max is reported as a range error and replaced by def, in the value itself
    // (the parameter image changes) and in the line written.
    template <ParamNumber T>
    int WriteRangedItem(T& value, std::int32_t def, std::int32_t min, std::int32_t max, int level,
                        std::string_view section, std::string_view key, std::string_view comment) {
        std::int32_t number = value;
        const int written = WriteRanged(number, def, min, max, level, section, key, comment);
        value = static_cast<T>(number);
        return written;
    }
    template <ParamNumber T>
    int WriteRangedItem(ImageField<T> field, std::int32_t def, std::int32_t min, std::int32_t max,
                        int level, std::string_view section, std::string_view key,
                        std::string_view comment) {
        T value = field.Load();
        const int written = WriteRangedItem(value, def, min, max, level, section, key, comment);
        field.Store(value);
        return written;
    }

  private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::optional<std::int32_t> ReadNumber(std::string_view section, std::string_view key);
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key);
    static std::int32_t Clamp(std::string_view key, std::int32_t value, std::int32_t min,
                              std::int32_t max);
    int WriteNumberItem(std::int32_t value, int level, std::string_view section,
                        std::string_view key, std::string_view rangeText, std::string_view comment);
    int WriteRanged(std::int32_t& value, std::int32_t def, std::int32_t min, std::int32_t max,
                    int level, std::string_view section, std::string_view key,
                    std::string_view comment);
    bool Writable(int level) const { return m_out != nullptr && level <= MaxOutputLevel(); }
    int PutItem(std::string_view key, std::string_view valueColumn);
    int PutLine(std::string line);
    void DiscardWrite();

    std::string m_path;
    std::unique_ptr<std::FILE, FileCloser> m_out;  // the temporary file while a write is open
    std::string m_tempPath;
    bool m_writeFailed = false;
    std::optional<ParamIndex> m_index;  // built at the first read, dropped when the file changes
};

// True when path names a file of the given kind: extension (".hwt") appears anywhere in the path,
// compared with case ("HW.HWT" is not a ".hwt" file).
bool HasFileKind(std::string_view path, std::string_view extension);

// A byte as eight '0'/'1' characters, most significant bit first (0x16 gives "00010110").
std::string ByteToBinString(std::uint8_t value);
// The reverse: each character's value minus '0', weighted by 2^(length - 1 - position), summed
// modulo 256 ("101" gives 5, "2" gives 2). Nine or more characters give 255; empty text gives 0.
std::uint8_t BinStringToByte(std::string_view text);
