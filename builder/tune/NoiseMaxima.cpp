#include "tune/NoiseMaxima.h"

#include <algorithm>
#include <limits>
#include <utility>

int16_t NoiseCalibration::Calibrated(int chip, int16_t v) const {
    const int value = values[static_cast<std::size_t>(std::clamp(chip, 0, 3))];
    // A controller without a reference has nothing to scale by: its readings stand as they are.
    if (reference == 0) return v;
    // A calibration value above the reference can carry a large reading past 16 bits.
    const int64_t scaled = static_cast<int64_t>(value) * v / reference;
    return static_cast<int16_t>(std::clamp<int64_t>(scaled, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

NoiseMaxima::NoiseMaxima(int rows, int cells, NoiseCalibration calibration)
    : rows_(std::max(rows, 0)),
      cells_(std::max(cells, 0)),
      calibration_(std::move(calibration)),
      maxima_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cells_), 0) {}

bool NoiseMaxima::Holds(int row, int cell) const {
    return row >= 0 && row < rows_ && cell >= 0 && cell < cells_;
}

int16_t NoiseMaxima::Update(int row, int cell, std::span<const int16_t> line) {
    if (!Holds(row, cell)) return 0;
    int16_t& maximum = maxima_[static_cast<std::size_t>(row * cells_ + cell)];
    const std::size_t channels = std::min(calibration_.chipOfChannel.size(), line.size());
    for (std::size_t i = 0; i < channels; ++i) {
        // The raw reading decides; the calibrated one is kept. A chip calibrated below the
        // reference can therefore lower a cell that a larger raw reading replaces.
        if (line[i] > maximum)
            maximum = calibration_.Calibrated(calibration_.chipOfChannel[i], line[i]);
    }
    return maximum;
}

int16_t NoiseMaxima::At(int row, int cell) const {
    return Holds(row, cell) ? maxima_[static_cast<std::size_t>(row * cells_ + cell)] : 0;
}
