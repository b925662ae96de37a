// The sensor panel: Tx x Rx electrodes wired to runs of chip pins, each cell with its coupling and
// phase, each Tx line with its optimal delay, each chip with its gain error; the noise around it
// and a finger on it. Everything varies smoothly from the profile's seed, so a panel is the same
// in every run; the noise comes from the same seed, in the order the measurements are taken.
#pragma once

#include <random>
#include <vector>

#include "Images.h"

namespace sim {

// One active channel of the hardware image: the chip and pin it is read on, and the panel line
// wired there (-1: none).
struct ActiveLine {
    int chip = 0, pin = 0, line = -1;
};

class Panel {
  public:
    static constexpr double kSwingAt8And20 = 12.0;  // AFE units of a unit cell at RS 8, gain 20
    static constexpr double kCountsPerSwing = 64.0;

    explicit Panel(const Profile& profile);

    const PanelDescription& description() const { return description_; }
    int txLines() const { return tx_; }
    int rxLines() const { return rx_; }

    // The active channels of a hardware image in channel order (chip 0's run first).
    std::vector<ActiveLine> activeLines(const Bytes& image, bool tx) const;
    // The panel line wired to a chip's pin; -1 when none.
    int lineAt(int chip, int pin, bool tx) const;
    // The chip a panel line is wired to.
    int chipOf(int line, bool tx) const;

    // Coupling of a cell with its faults, without a finger; 0 for lines outside the panel.
    double coupling(int t, int r) const;
    // What a finger leaves of a cell's signal (1 away from it, and while it is lifted).
    double touch(int t, int r) const;
    // A finger the profile places can be lifted for the first frames of a stream.
    void setFingerDown(bool down) { fingerDown_ = down; }
    double phaseDegrees(int t, int r) const;
    int optimalDelay(int t) const;
    // The AFE swing of a cell at these settings, noise-free and calibrated (no chip gain error).
    double swing(int t, int r, int rs, int gain, int delay) const;
    static double settingsScale(int rs, int gain);
    static double delayResponse(int offset);

    double chipGain(int chip) const { return description_.gainOf(chip); }
    int calibrationValue(int chip) const;
    // The noise the sources put at a frequency on an Rx panel line, in AFE units at RS 8, gain
    // 20. An unwired pin (-1) picks up none.
    double sourceNoise(double kHz, int rxLine) const;
    // On a Tx line: only the sources that reach every line.
    double sourceNoiseOnTx(double kHz) const;

    double gauss(double sigma) const;
    double uniform() const;  // [0, 1)

  private:
    int index(int t, int r) const { return t * rx_ + r; }

    PanelDescription description_;
    std::array<ChipRange, 4> wiring_{};
    int chips_ = 1;
    int tx_ = 0, rx_ = 0;
    bool fingerDown_ = true;
    std::vector<double> coupling_, phase_;
    // The noise generator advances with every measurement, also in const queries.
    mutable std::mt19937 noise_;
};

}  // namespace sim
