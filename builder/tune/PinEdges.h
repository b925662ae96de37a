// The arithmetic of sensor pin finding, on frames already measured: the signal threshold, the
// edges where a chip's wired channels start and end, and the second estimate from the phase of
// neighbouring cells. Nothing here talks to the controller.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class CTuneData;

// A measured frame: row t is Tx line t, column c the c-th active Rx channel of all chips.
class FrameView {
  public:
    FrameView(int rows, int columns);
    // The first rows x columns of the workspace's frame area (bounded by the area).
    static FrameView Of(const CTuneData& data, int rows, int columns);

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    // 0 outside the frame.
    int At(int t, int c) const;
    void Set(int t, int c, int value);

  private:
    int rows_, columns_;
    std::vector<int16_t> values_;
};

// The channel ranges of every chip: the ranges under test, or those found. A chip's channels
// follow those of the chips before it in the frame (its offset).
struct PinRanges {
    int txChips = 1, rxChips = 1;  // 1..4
    std::array<uint8_t, 4> txStart{}, txEnd{}, rxStart{}, rxEnd{};

    int TxLength(int chip) const;
    int RxLength(int chip) const;
    int TxOffset(int chip) const;
    int RxOffset(int chip) const;
    int TxTotal() const { return TxOffset(txChips); }
    int RxTotal() const { return RxOffset(rxChips); }
};

// The level wired cells reach: 40 % of the upper edge of the fullest 100-wide bin of values
// 100..2599 (2600 and more share the last bin), over Tx lines 0..maxTx-2 and columns
// 0..maxRx-2. False, leaving threshold alone, when no value reaches 100.
bool EstimateSignalThreshold(const FrameView& frame, int maxTx, int maxRx, int& threshold);

// The value that occurs most often, the first seen on equal counts; 255 counts as no value, and
// a list without any value gives 0.
uint8_t MostFrequentValue(std::span<const uint8_t> values);

// A cell v is an edge towards its neighbour w when it is at least the threshold and w differs
// from it by less than 15 %.
bool QualifiesAsEdge(int v, int w, int threshold);

// The first and last channel of chip `chip` whose cells are edges, by a vote over the lines of
// the frame, into that chip's entries of ranges (relative to its offset there). An axis the chip
// has no part in is left alone.
void FindPinEdges(const FrameView& m, int chip, int threshold, PinRanges& ranges);

// The second estimate: neighbouring wired cells have almost the same phase. p, q and m are the
// I, Q and magnitude frames; the winning (first, last) pair of each axis goes into chip `chip`'s
// entries of ranges. An axis with no line that shows both ends is left alone.
void EstimatePinsFromPhase(const FrameView& p, const FrameView& q, const FrameView& m, int chip,
                           int threshold, PinRanges& ranges);
