#include "model/ImageProcessor.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace tuner::image {
namespace {

constexpr size_t kCells = static_cast<size_t>(kFrameRows) * kRowSlots;

int16_t Saturated(long v) {
    return static_cast<int16_t>(std::clamp<long>(v, -32768, 32767));
}

size_t Cell(int row, int column) {
    return static_cast<size_t>(row) * kRowSlots + static_cast<size_t>(column);
}

// The larger magnitude of the two signed bytes of an AFE or ADC swing word, in percent of 128.
int16_t SwingPercent(int16_t word) {
    const int low = static_cast<int8_t>(word & 0xFF);
    const int high = static_cast<int8_t>((word >> 8) & 0xFF);
    return static_cast<int16_t>(std::max(std::abs(low), std::abs(high)) * 100 / 128);
}

}  // namespace

int GridSnapshot::FrameRow(int gridRow) const {
    if (gridRow < geometry.lead2) return geometry.lead1 + gridRow;
    return geometry.lead + window.firstTx + gridRow - geometry.lead2;
}

ChannelWindow BoundedWindow(const ChannelWindow& w, const Geometry& g) {
    ChannelWindow b;
    b.firstRx = std::clamp(w.firstRx, 0, std::max(g.rx - 1, 0));
    b.lastRx = std::clamp(w.lastRx, b.firstRx - 1, g.rx - 1);
    b.firstTx = std::clamp(w.firstTx, 0, std::max(g.ShownTx() - 1, 0));
    b.lastTx = std::clamp(w.lastTx, b.firstTx - 1, g.ShownTx() - 1);
    return b;
}

ImageProcessor::ImageProcessor() : type_(&AllDataTypes().front()) {
    ResetAccumulators();
}

void ImageProcessor::SetGeometry(const Geometry& g) {
    geometry_ = g;
    baselineFrames_ = 0;
}

void ImageProcessor::SetUniformity(UniformitySubTable table) {
    uniformity_ = std::move(table);
}

void ImageProcessor::SelectType(const DataType& type) {
    type_ = &type;
    baselineFrames_ = 0;
}

void ImageProcessor::ResetAccumulators() {
    counts_.assign(kCells, 0);
    maxima_.assign(kCells, std::numeric_limits<int16_t>::min());
    minima_.assign(kCells, std::numeric_limits<int16_t>::max());
}

bool ImageProcessor::BuildBaseline(const Frame& frame) {
    if (baselineFrames_ >= kBaselineFrames) return true;
    if (baselineFrames_ == 0) {
        baseline_.assign(kCells, 0);
        keyBaseline_.assign(kMaxKeys, 0);
    }
    for (size_t i = 0; i < kCells; ++i) baseline_[i] += frame.cells[i];
    for (size_t k = 0; k < kMaxKeys; ++k) keyBaseline_[k] += frame.keys[k];
    if (++baselineFrames_ < kBaselineFrames) return false;
    for (auto& v : baseline_) v /= kBaselineFrames;
    for (auto& v : keyBaseline_) v /= kBaselineFrames;
    return false;  // the frames that built the baseline are not shown
}

void ImageProcessor::Compute(Frame& frame, const ChannelWindow& w) {
    const int L = geometry_.lead, K = geometry_.keys;
    const DataKind kind = type_->kind;
    if (kind == DataKind::kTouchPercent) {
        for (int t = w.firstTx; t <= w.lastTx; ++t)
            for (int r = w.firstRx; r <= w.lastRx; ++r) {
                const long base = baseline_[Cell(L + t, r)];
                int16_t& cell = frame.At(L + t, r);
                cell = base == 0 ? int16_t{-1} : Saturated((base - cell) * 100 / base);
            }
        for (int k = 0; k < K; ++k) {
            const long base = keyBaseline_[static_cast<size_t>(k)] == 0
                                  ? 1
                                  : keyBaseline_[static_cast<size_t>(k)];
            int16_t& key = frame.keys[static_cast<size_t>(k)];
            key = Saturated((key - base) * 100 / base);
        }
    } else if (kind == DataKind::kAfePercent || kind == DataKind::kAdcPercent) {
        for (int t = w.firstTx; t <= w.lastTx; ++t)
            for (int r = w.firstRx; r <= w.lastRx; ++r)
                frame.At(L + t, r) = SwingPercent(frame.At(L + t, r));
        for (int k = 0; k < K; ++k)
            frame.keys[static_cast<size_t>(k)] = SwingPercent(frame.keys[static_cast<size_t>(k)]);
    } else if (kind == DataKind::kUniformity || kind == DataKind::kUniformityCooked) {
        for (int t = w.firstTx; t <= w.lastTx; ++t)
            for (int r = w.firstRx; r <= w.lastRx; ++r)
                frame.At(L + t, r) =
                    t < w.lastTx ? Saturated(long{frame.At(L + t + 1, r)} - frame.At(L + t, r))
                                 : int16_t{0};
        if (kind != DataKind::kUniformityCooked) return;
        int key = 0;
        for (const UniformityEntry& e : uniformity_.entries) {
            if (e.row == geometry_.tx) {
                if (key < K) {
                    int16_t& v = frame.keys[static_cast<size_t>(key++)];
                    v = Saturated(long{v} - e.value);
                }
            } else if (e.row < geometry_.ShownTx() && e.column < geometry_.rx) {
                int16_t& v = frame.At(L + e.row, e.column);
                v = Saturated(long{v} - e.value);
            }
        }
    }
}

void ImageProcessor::Accumulate(const Frame& frame, const ProcessSettings& s,
                                const ChannelWindow& w) {
    const int firstRow = geometry_.lead1, lastRow = geometry_.lead + w.lastTx;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int r = w.firstRx; r <= w.lastRx; ++r) {
            const size_t i = Cell(row, r);
            const int v = frame.cells[i];
            switch (s.testKind) {
                case TestKind::kCounts:
                    if (v > s.countThreshold && counts_[i] < kCountLimit) ++counts_[i];
                    break;
                case TestKind::kMaximum:
                    maxima_[i] = std::max(maxima_[i], v);
                    break;
                case TestKind::kMinimum:
                    minima_[i] = std::min(minima_[i], v);
                    break;
            }
        }
}

bool ImageProcessor::Process(Frame& frame, const ProcessSettings& s, GridSnapshot& out) {
    if (type_->kind == DataKind::kTouchPercent && !BuildBaseline(frame)) return false;
    const ChannelWindow w = BoundedWindow(s.window, geometry_);
    Compute(frame, w);
    if (s.testMode) Accumulate(frame, s, w);
    const std::vector<int32_t>& accumulator = s.testKind == TestKind::kCounts    ? counts_
                                              : s.testKind == TestKind::kMaximum ? maxima_
                                                                                 : minima_;
    auto shown = [&](int row, int column) {
        return s.testMode ? accumulator[Cell(row, column)] : int{frame.At(row, column)};
    };

    const Geometry& g = geometry_;
    out.type = type_;
    out.geometry = g;
    out.window = w;
    out.testMode = s.testMode;
    out.testKind = s.testKind;
    out.rows = g.lead2 + std::max(w.lastTx - w.firstTx + 1, 0);
    out.columns = std::max(w.lastRx - w.firstRx + 1, 0);
    out.values.assign(static_cast<size_t>(out.rows * out.columns), 0);
    out.largestColumn.assign(static_cast<size_t>(out.rows), -1);
    out.smallestColumn.assign(static_cast<size_t>(out.rows), -1);
    out.uniformityEntries = uniformity_.entryCount;
    out.uniformityUse = uniformity_.usePercent;

    bool any = false;
    out.minimum = out.maximum = 0;
    for (int gr = 0; gr < out.rows; ++gr) {
        const int row = out.FrameRow(gr);
        const bool txRow = gr >= g.lead2;
        int largest = 0, smallest = 0;
        for (int c = 0; c < out.columns; ++c) {
            const int v = shown(row, w.firstRx + c);
            out.values[static_cast<size_t>(gr * out.columns + c)] = v;
            if (!txRow) continue;
            const int raw = frame.At(row, w.firstRx + c);
            if (!any || raw < out.minimum) out.minimum = raw;
            if (!any || raw > out.maximum) out.maximum = raw;
            any = true;
            if (raw > frame.At(row, w.firstRx + largest)) largest = c;
            if (raw < frame.At(row, w.firstRx + smallest)) smallest = c;
        }
        if (txRow && type_->greenScale && out.columns > 0) {
            out.largestColumn[static_cast<size_t>(gr)] = largest;
            out.smallestColumn[static_cast<size_t>(gr)] = smallest;
        }
    }
    out.keys.assign(frame.keys.begin(), frame.keys.begin() + g.keys);
    out.txRows.assign(static_cast<size_t>(g.ShownTx()), std::vector<int>(static_cast<size_t>(g.rx)));
    for (int t = 0; t < g.ShownTx(); ++t)
        for (int r = 0; r < g.rx; ++r)
            out.txRows[static_cast<size_t>(t)][static_cast<size_t>(r)] = shown(g.lead + t, r);
    return true;
}

}  // namespace tuner::image
