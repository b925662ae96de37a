// What the frame tests (open, mutual) share: the scaling word their values are scaled with, and
// the test image they measure with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CTuneData;
class DiagHost;

// The frame mode of the magnitude the open and mutual tests judge.
inline constexpr uint16_t kModeMagnitude = 0x4080;

// A scaling word: the low 15 bits the scaling value, bit 15 the direction.
class ScalingWord {
  public:
    // The command line's word when its value is nonzero, else the hardware set's.
    static ScalingWord Choose(uint16_t optionWord, uint16_t storedWord);
    explicit ScalingWord(uint16_t word) : word_(word) {}

    int Value() const { return word_ & 0x7FFF; }
    // With bit 15 a value is multiplied by the scaling in tenths, without it divided. The value
    // must be nonzero.
    int Apply(int v) const { return (word_ & 0x8000) != 0 ? v * Value() / 10 : v * 10 / Value(); }

  private:
    uint16_t word_;
};

// The working frequency the controller runs at; when the query fails, the frequency the sequence
// selected for the tests (the hardware set's start frequency before any selection).
int CurrentTestFrequency(DiagHost& host);

// Writes the hardware set as first read, with its sensor test scaling, as the test image of the
// current frequency. 0, or 1 with "Set Test Parameter Fail...\n" when it is not written.
int PrepareTestImage(DiagHost& host);

// The value a 16-bit cell can hold nearest to v.
int16_t Saturate16(long long v);

// The frame cells the tests reach: the channel counts within the frame area.
struct Extent {
    int tx, rx;
    size_t Cell(int t, int r) const { return static_cast<size_t>(t * rx + r); }
};
Extent FrameExtent(const DiagHost& host);

// Reads n magnitude frames and sums each cell's scaled value, shifted right by shift, into
// sums[Cell(t, r)]. False, with "Get Image Data Fail\n" in the file, when a frame did not arrive.
bool SumScaledFrames(CTuneData& data, Extent e, int n, ScalingWord scaling, int shift,
                     std::vector<long long>& sums);
