// The table a noise scan fills: for each frequency setting (a row of settings, a cell per
// prescaler), the largest noise seen on any Rx channel so far. Cells start at 0 and are never
// reset between passes, so each one holds the maximum over every pass up to now.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// How one channel's raw reading becomes a stored value: the chip that reads the channel, and
// that chip's calibration value against the controller's reference.
struct NoiseCalibration {
    std::vector<int> chipOfChannel;  // one entry per Rx channel that counts
    std::array<int, 4> values{};     // per chip
    int reference = 100;

    // value x v / reference, truncated toward zero, kept within 16 bits.
    int16_t Calibrated(int chip, int16_t v) const;
};

class NoiseMaxima {
  public:
    NoiseMaxima(int rows, int cells, NoiseCalibration calibration);

    // Goes through the channels of one line of readings in order: a channel whose raw reading is
    // above the cell replaces the cell with its calibrated reading. Channels past the line are
    // not read; a row or cell outside the table changes nothing. Returns the cell (0 outside).
    int16_t Update(int row, int cell, std::span<const int16_t> line);
    int16_t At(int row, int cell) const;

  private:
    bool Holds(int row, int cell) const;

    int rows_, cells_;
    NoiseCalibration calibration_;
    std::vector<int16_t> maxima_;
};
