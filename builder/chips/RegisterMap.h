// A sensing chip described as data: its register image as a list of named bit fields with their
// defaults, the fixed images (mode groups, stylus groups, measurement presets) as changes to those
// defaults, and the few numbers that say where the chip keeps its measurement data.
//
// The field list is the order the register file writes the fields in and the order of the value
// vectors that Decode and Encode exchange.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace chipmap {

// Bits lowBit .. lowBit + width - 1 of register reg hold bits valueShift .. of the field's value.
struct BitRun {
    uint8_t reg = 0;
    uint8_t lowBit = 0;
    uint8_t width = 0;
    uint8_t valueShift = 0;
};

struct Layout {
    std::array<BitRun, 4> runs{};
    uint8_t count = 0;
    bool isSigned = false;   // 16- and 32-bit fields decode as signed numbers
    bool readsZero = false;  // written to the chip, but the chip always reports it as 0

    int Width() const;
};

// Bits high..low of one register.
constexpr Layout Bits(int reg, int high, int low) {
    Layout l;
    l.runs[0] = {static_cast<uint8_t>(reg), static_cast<uint8_t>(low),
                 static_cast<uint8_t>(high - low + 1), 0};
    l.count = 1;
    return l;
}
constexpr Layout Bit(int reg, int bit) {
    return Bits(reg, bit, bit);
}
constexpr Layout Whole(int reg) {
    return Bits(reg, 7, 0);
}
// A field whose low bits high..low live in reg and whose next bit is bit topBit of topReg. The
// top register comes first: a register write of the field sends it first.
constexpr Layout SplitBits(int reg, int high, int low, int topReg, int topBit) {
    Layout l;
    const int lowWidth = high - low + 1;
    l.runs[0] = {static_cast<uint8_t>(topReg), static_cast<uint8_t>(topBit), 1,
                 static_cast<uint8_t>(lowWidth)};
    l.runs[1] = {static_cast<uint8_t>(reg), static_cast<uint8_t>(low),
                 static_cast<uint8_t>(lowWidth), 0};
    l.count = 2;
    return l;
}
// A field whose low bits lowHigh..lowLow live in lowReg and whose next bits highHigh..highLow live
// in highReg. The low register comes first: a register write of the field sends it first.
constexpr Layout LowThenHigh(int lowReg, int lowHigh, int lowLow, int highReg, int highHigh,
                             int highLow) {
    Layout l;
    const int lowWidth = lowHigh - lowLow + 1;
    l.runs[0] = {static_cast<uint8_t>(lowReg), static_cast<uint8_t>(lowLow),
                 static_cast<uint8_t>(lowWidth), 0};
    l.runs[1] = {static_cast<uint8_t>(highReg), static_cast<uint8_t>(highLow),
                 static_cast<uint8_t>(highHigh - highLow + 1), static_cast<uint8_t>(lowWidth)};
    l.count = 2;
    return l;
}
// A field the chip takes but always reads back as 0: decoding an image gives 0, encoding sets it.
constexpr Layout ReadsZero(Layout l) {
    l.readsZero = true;
    return l;
}
// Consecutive whole registers, low byte first, decoded as a signed number.
constexpr Layout SignedBytes(int firstReg, int bytes) {
    Layout l;
    for (int i = 0; i < bytes; ++i) {
        l.runs[static_cast<std::size_t>(i)] = {static_cast<uint8_t>(firstReg + i), 0, 8,
                                               static_cast<uint8_t>(8 * i)};
    }
    l.count = static_cast<uint8_t>(bytes);
    l.isSigned = true;
    return l;
}

// How the register file treats a field: written as a plain item or as a read-only one (key with
// a leading "_", comment "Read Only"); read back with the other items, only through a group's
// tuning items, or never.
enum class Save : uint8_t { Plain, ReadOnly };
enum class Load : uint8_t { Yes, Tuning, No };

struct Field {
    std::string_view suffix;  // register-file key suffix, "_AEN"
    Layout layout;
    Save save;
    Load load;
    int32_t def;
};

// The tuning quantities the rest of the builder works with, each one field of the map.
enum class Quantity : uint8_t {
    AfeGain,
    Rs,
    Delay,
    MeasureCnt,
    Scaling,
    AdcGain,
    Phase1,
    Psample,
    ReadSel,
    SinAmp,
    SinOffset,
    GainH,
    Pipeline,
    Swp,
    Swn,
    RegBank,
    DacVb,
    PeakNum,
    PeakMode,
    Tskip,
    Count
};
inline constexpr std::size_t kQuantityCount = static_cast<std::size_t>(Quantity::Count);

// The fields the T320 and T3300 maps name for each quantity, in the order of Quantity, and the
// fields their tuning merge copies. A chip whose fields are named otherwise gives its own.
inline constexpr std::array<std::string_view, kQuantityCount> kCommonQuantityFields = {
    "_SR3",     "_SRS",     "_Phase0",    "_WaveN",   "_Rshift",   "_SR5",      "_Phase1",
    "_Psample", "_ReadSel", "_SinGenAMP", "_SINOFS",  "_GAIN_H",   "_Pipeline", "_SWP",
    "_SWN",     "_RegBank", "_DACVB",     "_PeakNum", "_PeakMode", "_Tskip"};
inline constexpr std::string_view kCommonMergeFields[] = {
    "_PeakNum", "_PeakMode", "_Tskip", "_Rshift", "_SR3", "_SRS", "_Phase0"};

struct Change {
    std::string_view suffix;
    int32_t value;
};
using Changes = std::span<const Change>;

// A run of one data bank: the registers a chip's Rx or Tx values are read from.
struct DataBlock {
    uint8_t bank;
    uint16_t firstReg;
    uint16_t bytes;
};

struct ChipProfile {
    // Register map; empty for a chip whose map this version does not carry.
    std::span<const Field> fields;
    std::array<std::string_view, kQuantityCount> quantities;  // field suffix, empty: none
    std::span<const std::string_view> mergeFields;            // copied by MergeTuning

    std::array<Changes, 6> modeGroups;
    std::array<Changes, 5> penGroups;
    Changes calPreset, noisePreset, gainPreset, signalPreset, txAxis;
    // Added to the gain- and signal-test presets of the water-line scans (scan types 2 and 3).
    Changes waterLineTest;

    // Register-file tuning items: whether the stylus groups have any, and the comment every
    // "_Delay" item carries (empty: the caller's comment).
    bool penGroupTuning;
    std::string_view delayComment;

    std::array<uint8_t, 8> adcGainFactors;
    std::array<uint8_t, 8> idTableR5;
    uint8_t idTableR3;
    std::array<uint8_t, 6> imgTuning;

    int imageBytes;    // bytes a preset or image write sends from register 0
    int sinTableMax;   // longest sine table the chip takes
    DataBlock rxData;  // one chip's Rx values, little-endian, channel 0 first
    DataBlock txData;  // one chip's Tx values, highest channel first
    int lastTxChannel;
    DataBlock rxPairs;  // two-value records of the Rx channels
    bool noiseScanFirstChipOnly;
    bool flushAfterCalWrite;
};

bool HasMap(const ChipProfile* profile);
int FieldIndex(const ChipProfile& profile, std::string_view suffix);  // -1 when absent
const Field* FindField(const ChipProfile& profile, Quantity q);

// Fields outside the image, and images shorter than the registers they name, are left alone.
int32_t DecodeField(const Field& field, std::span<const uint8_t> image);
void EncodeField(const Field& field, int32_t value, std::span<uint8_t> image);
std::vector<int32_t> Decode(const ChipProfile& profile, std::span<const uint8_t> image);
void Encode(const ChipProfile& profile, std::span<const int32_t> values, std::span<uint8_t> image);

// The default of every field with the changes applied (unknown suffixes are ignored).
std::vector<int32_t> DefaultValues(const ChipProfile& profile);
void ApplyChanges(const ChipProfile& profile, Changes changes, std::vector<int32_t>& values);
void ApplyChanges(const ChipProfile& profile, Changes changes, std::span<uint8_t> image);

}  // namespace chipmap
