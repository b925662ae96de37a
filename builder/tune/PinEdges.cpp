#include "tune/PinEdges.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "diag/CTuneData.h"

namespace {

constexpr int kBins = 26;
constexpr int kEdgeDifferencePercent = 15;
constexpr float kSameSignalDegrees = 12.0f;
constexpr float kUnrelatedDegrees = 180.0f;
constexpr uint8_t kNoValue = 255;

int Length(uint8_t start, uint8_t end) {
    return end >= start ? end - start + 1 : 0;
}

// Along one axis of a frame: `lines` lines, each `extent` channels long; cell(line, c) is the
// value of channel c on that line. The chip's channels are o .. o + n - 1, cut at the frame.
struct Axis {
    int lines, extent, o, n;
    // The last channel whose right-hand neighbour is still the chip's and in the frame.
    int LastPairStart() const { return std::min(o + n - 2, extent - 2); }
    int LastChannel() const { return std::min(o + n - 1, extent - 1); }
};

template <typename Cell>
void EdgesAlong(const Axis& axis, int threshold, Cell cell, uint8_t& start, uint8_t& end) {
    std::vector<uint8_t> firsts, lasts;
    for (int line = 0; line < axis.lines; ++line) {
        uint8_t first = kNoValue, last = kNoValue;
        for (int c = axis.o; c <= axis.LastPairStart(); ++c) {
            if (QualifiesAsEdge(cell(line, c), cell(line, c + 1), threshold)) {
                first = static_cast<uint8_t>(c);
                break;
            }
        }
        // The first two channels of the frame never count as a last edge.
        for (int c = axis.LastChannel(); c >= axis.o + 1 && c > 1; --c) {
            if (QualifiesAsEdge(cell(line, c), cell(line, c - 1), threshold)) {
                last = static_cast<uint8_t>(c);
                break;
            }
        }
        firsts.push_back(first);
        lasts.push_back(last);
    }
    // With no edge on any line both become 0 - o, so they are equal and nothing is found.
    start = static_cast<uint8_t>(MostFrequentValue(firsts) - axis.o);
    end = static_cast<uint8_t>(MostFrequentValue(lasts) - axis.o);
}

// The angle between two neighbouring cells' signals, from their I, Q and magnitude values; 180
// when either is below the threshold.
float PhaseGap(int p0, int p1, int q0, int q1, int m0, int m1, int threshold) {
    if (m0 < threshold || m1 < threshold) return kUnrelatedDegrees;
    const int64_t denominator = int64_t{m0} * m1;
    if (denominator <= 0) return kUnrelatedDegrees;
    const int64_t numerator = int64_t{p0} * p1 + 3 * int64_t{q0} * q1;
    const float k = std::clamp(static_cast<float>(numerator) / static_cast<float>(denominator),
                               0.0f, 1.0f);
    return std::sqrt(1.0f - k * k) * 180.0f / 3.1415f;
}

template <typename Gap>
void PhaseEdgesAlong(const Axis& axis, Gap gap, uint8_t& start, uint8_t& end) {
    std::vector<std::pair<int, int>> pairs;
    std::vector<int> counts;
    for (int line = 0; line < axis.lines; ++line) {
        int first = -1, last = -1;
        for (int c = axis.o; c <= axis.LastPairStart() && first < 0; ++c)
            if (gap(line, c) < kSameSignalDegrees) first = c;
        for (int c = axis.LastPairStart(); c >= axis.o + 1 && last < 0; --c)
            if (gap(line, c) < kSameSignalDegrees) last = c + 1;
        if (first < 0 || last < 0) continue;
        const auto it = std::find(pairs.begin(), pairs.end(), std::make_pair(first, last));
        if (it == pairs.end()) {
            pairs.emplace_back(first, last);
            counts.push_back(1);
        } else {
            ++counts[static_cast<size_t>(it - pairs.begin())];
        }
    }
    if (pairs.empty()) return;
    const auto best = std::max_element(counts.begin(), counts.end()) - counts.begin();
    start = static_cast<uint8_t>(pairs[static_cast<size_t>(best)].first - axis.o);
    end = static_cast<uint8_t>(pairs[static_cast<size_t>(best)].second - axis.o);
}

}  // namespace

FrameView::FrameView(int rows, int columns)
    : rows_(std::clamp(rows, 0, CTuneData::kFrameRows)),
      columns_(std::clamp(columns, 0, CTuneData::kFrameColumns)),
      values_(static_cast<size_t>(rows_ * columns_), 0) {}

FrameView FrameView::Of(const CTuneData& data, int rows, int columns) {
    FrameView view(rows, columns);
    for (int t = 0; t < view.rows_; ++t)
        for (int c = 0; c < view.columns_; ++c) view.Set(t, c, data.FrameValue(t, c));
    return view;
}

int FrameView::At(int t, int c) const {
    if (t < 0 || c < 0 || t >= rows_ || c >= columns_) return 0;
    return values_[static_cast<size_t>(t * columns_ + c)];
}

void FrameView::Set(int t, int c, int value) {
    if (t < 0 || c < 0 || t >= rows_ || c >= columns_) return;
    values_[static_cast<size_t>(t * columns_ + c)] =
        static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

int PinRanges::TxLength(int chip) const {
    return chip >= 0 && chip < 4 ? Length(txStart[chip], txEnd[chip]) : 0;
}
int PinRanges::RxLength(int chip) const {
    return chip >= 0 && chip < 4 ? Length(rxStart[chip], rxEnd[chip]) : 0;
}
int PinRanges::TxOffset(int chip) const {
    int offset = 0;
    for (int j = 0; j < chip && j < txChips && j < 4; ++j) offset += TxLength(j);
    return offset;
}
int PinRanges::RxOffset(int chip) const {
    int offset = 0;
    for (int j = 0; j < chip && j < rxChips && j < 4; ++j) offset += RxLength(j);
    return offset;
}

bool EstimateSignalThreshold(const FrameView& frame, int maxTx, int maxRx, int& threshold) {
    std::array<int, kBins> bins{};
    for (int t = 0; t < std::min(maxTx - 1, frame.Rows()); ++t) {
        for (int c = 0; c < std::min(maxRx - 1, frame.Columns()); ++c) {
            const int v = frame.At(t, c);
            ++bins[static_cast<size_t>(v < 1 ? 0 : std::min(v / 100, kBins - 1))];
        }
    }
    // The fullest bin above the first, the lower one on equal counts.
    int best = 1;
    for (int b = 2; b < kBins; ++b)
        if (bins[static_cast<size_t>(b)] > bins[static_cast<size_t>(best)]) best = b;
    if (bins[static_cast<size_t>(best)] == 0) return false;
    threshold = static_cast<int>((best * 100 + 100) * 0.4);
    return true;
}

uint8_t MostFrequentValue(std::span<const uint8_t> values) {
    std::vector<std::pair<uint8_t, int>> seen;  // in order of first appearance
    for (uint8_t v : values) {
        if (v == kNoValue) continue;
        const auto it = std::find_if(seen.begin(), seen.end(),
                                     [v](const auto& entry) { return entry.first == v; });
        if (it == seen.end())
            seen.emplace_back(v, 1);
        else
            ++it->second;
    }
    uint8_t best = 0;
    int bestCount = 0;
    for (const auto& [value, count] : seen) {
        if (count > bestCount) best = value, bestCount = count;
    }
    return best;
}

bool QualifiesAsEdge(int v, int w, int threshold) {
    if (v < threshold || v <= 0) return false;
    return std::abs(w - v) * 100 / v < kEdgeDifferencePercent;
}

void FindPinEdges(const FrameView& m, int chip, int threshold, PinRanges& ranges) {
    if (chip < 0 || chip >= 4) return;
    if (chip < ranges.rxChips) {
        const Axis axis{m.Rows(), m.Columns(), ranges.RxOffset(chip), ranges.RxLength(chip)};
        EdgesAlong(axis, threshold, [&](int t, int c) { return m.At(t, c); },
                   ranges.rxStart[chip], ranges.rxEnd[chip]);
    }
    if (chip < ranges.txChips) {
        const Axis axis{m.Columns(), m.Rows(), ranges.TxOffset(chip), ranges.TxLength(chip)};
        EdgesAlong(axis, threshold, [&](int j, int k) { return m.At(k, j); },
                   ranges.txStart[chip], ranges.txEnd[chip]);
    }
}

void EstimatePinsFromPhase(const FrameView& p, const FrameView& q, const FrameView& m, int chip,
                           int threshold, PinRanges& ranges) {
    if (chip < 0 || chip >= 4) return;
    if (chip < ranges.rxChips) {
        const Axis axis{m.Rows(), m.Columns(), ranges.RxOffset(chip), ranges.RxLength(chip)};
        auto gap = [&](int t, int c) {
            return PhaseGap(p.At(t, c), p.At(t, c + 1), q.At(t, c), q.At(t, c + 1), m.At(t, c),
                            m.At(t, c + 1), threshold);
        };
        PhaseEdgesAlong(axis, gap, ranges.rxStart[chip], ranges.rxEnd[chip]);
    }
    if (chip < ranges.txChips) {
        const Axis axis{m.Columns(), m.Rows(), ranges.TxOffset(chip), ranges.TxLength(chip)};
        auto gap = [&](int j, int k) {
            return PhaseGap(p.At(k, j), p.At(k + 1, j), q.At(k, j), q.At(k + 1, j), m.At(k, j),
                            m.At(k + 1, j), threshold);
        };
        PhaseEdgesAlong(axis, gap, ranges.txStart[chip], ranges.txEnd[chip]);
    }
}
