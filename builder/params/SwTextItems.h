// Writing and reading the item tables of the software text file (SwTextKeys.h) against the
// software parameter image: the value of each field, its comment with the " Read Only" suffix and
// the sensitivity prefix, the section levels, and the clamped reads.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "params/SwTextKeys.h"

class CParamFile;

// What the comment suffixes depend on besides the software image itself.
struct SwTextState {
    bool hwWaterScan = false;  // the hardware set's SCAN_CTRL_WATER
    int writtenModes = 1;      // threshold modes the file holds (1 to 3)
};

class SwItemIo {
  public:
    SwItemIo(std::span<uint8_t> image, CParamFile& file, SwTextState state);

    // The threshold mode and active area that mode and area items (and "%d" names) refer to.
    void SelectMode(int mode) { mode_ = mode; }
    void SelectArea(int area) { area_ = area; }
    void SetWrittenModes(int modes) { state_.writtenModes = modes; }
    // A section name with the selected mode (or area, or calibration set) put in for "%d".
    static std::string Named(const char* pattern, int number);
    // Sections whose name ends in "-RD" are detail sections (level 100), the others basic (50).
    static int LevelOf(std::string_view section);

    CParamFile* File() { return &file_; }
    int FieldOffset(SwArea area, int offset) const;
    int32_t LoadField(SwWidth width, int offset) const;
    void StoreField(SwWidth width, int offset, int32_t value);
    uint16_t LoadFlags(bool wide, int offset) const;
    void StoreFlags(bool wide, int offset, uint16_t value);

    // Writing: the header line, the items, a line of text at the section's level, the empty line
    // that ends the section. Ranged items replace an out-of-range value by the default, in the
    // image as well.
    void Begin(const std::string& section);
    void WriteItems(const std::string& section, std::span<const SwItem> items);
    // Bits whose field is at onlyOffset (all when -1); area says where offsets point.
    void WriteBits(const std::string& section, std::span<const SwBits> bits, SwArea area,
                   int onlyOffset = -1);
    void WriteText(const std::string& section, std::string_view text);
    void End(const std::string& section);

    // Reading the number items of a section into the image, by each item's load rule.
    void ReadItems(const std::string& section, std::span<const SwItem> items);
    // Reads the bit keys whose field is at fieldOffset into word (each clamped to its range);
    // returns the bits whose keys were found. The image is not touched.
    uint16_t ReadBits(const std::string& section, std::span<const SwBits> bits, int fieldOffset,
                      uint16_t& word);

    // Stores the default of every ranged item (bit) into the image.
    void StoreDefaults(std::span<const SwItem> items);
    void StoreDefaults(std::span<const SwBits> bits, SwArea area);

    bool ReadOnly(ReadOnlyWhen when) const;

  private:
    std::string Comment(const SwItem& item, int32_t value) const;
    std::string WithSuffix(std::string comment, ReadOnlyWhen when) const;
    uint16_t ControlWord(int word) const;
    uint16_t ModeCopy(int mode, int copy) const;

    std::span<uint8_t> image_;
    CParamFile& file_;
    SwTextState state_;
    int mode_ = 0;
    int area_ = 0;
};
