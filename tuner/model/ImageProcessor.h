// Turns a complete frame into what the image page shows: the selected data type computed on the
// shown window, the frame's minimum and maximum, the test-mode accumulators, the raw views' marked
// columns, and the Tx rows the image log writes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/FrameAssembler.h"
#include "model/ImageDataTypes.h"
#include "model/ImageGeometry.h"
#include "model/UniformityTable.h"

namespace tuner::image {

enum class TestKind { kCounts, kMaximum, kMinimum };

// What the page's controls say when a frame is computed.
struct ProcessSettings {
    ChannelWindow window;  // the report window of the display mode
    bool testMode = false;
    TestKind testKind = TestKind::kCounts;
    int countThreshold = 0;
};

// One computed frame, as the grid, the statistics line, the key strip and the log use it.
struct GridSnapshot {
    const DataType* type = nullptr;
    Geometry geometry;
    ChannelWindow window;  // bounded by the sensor
    int rows = 0;          // water rows and the window's Tx rows
    int columns = 0;       // the window's Rx columns (the "WT" column carries no values)
    std::vector<int> values;  // rows x columns
    std::vector<int> keys;
    int minimum = 0, maximum = 0;
    bool testMode = false;
    TestKind testKind = TestKind::kCounts;
    // Raw views: per grid row the column of the largest (red) and smallest value; -1 for none.
    std::vector<int> largestColumn, smallestColumn;
    int uniformityEntries = 0, uniformityUse = 0;
    // Every Tx row of the frame: R values each, as the log writes them.
    std::vector<std::vector<int>> txRows;

    int Value(int row, int column) const {
        return values[static_cast<size_t>(row * columns + column)];
    }
    // The frame row a grid row shows.
    int FrameRow(int gridRow) const;
};

inline constexpr int kCountLimit = 32767;

class ImageProcessor {
  public:
    static constexpr int kBaselineFrames = 3;

    ImageProcessor();

    void SetGeometry(const Geometry& g);
    void SetUniformity(UniformitySubTable table);
    // A new type starts a new baseline for "Touch %".
    void SelectType(const DataType& type);
    const DataType& Type() const { return *type_; }
    // Counts to 0, maxima to the lowest value, minima to the highest.
    void ResetAccumulators();

    // Computes the frame in place. False (and nothing to show) while "Touch %" builds its baseline.
    bool Process(Frame& frame, const ProcessSettings& settings, GridSnapshot& out);

  private:
    void Compute(Frame& frame, const ChannelWindow& w);
    bool BuildBaseline(const Frame& frame);
    void Accumulate(const Frame& frame, const ProcessSettings& s, const ChannelWindow& w);

    Geometry geometry_;
    UniformitySubTable uniformity_;
    const DataType* type_;
    int baselineFrames_ = 0;
    std::vector<int32_t> baseline_, keyBaseline_;
    std::vector<int32_t> counts_, maxima_, minima_;
};

// The grid window of a report window: inside the sensor and the frame area.
ChannelWindow BoundedWindow(const ChannelWindow& w, const Geometry& g);

}  // namespace tuner::image
