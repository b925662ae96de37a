#include "Panel.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEdgeLoss = 0.025;  // each edge line, a little weaker than the inner ones
constexpr double kWeakEdge = 0.6;    // a weak edge keeps this much
constexpr double kFingerDepth = 0.25;
constexpr double kFingerSigma = 1.2;  // lines

int runLength(int first, int last) {
    return last >= first ? last - first + 1 : 0;
}

// A smooth wave over a line index: two slow sines of random phase.
struct Wave {
    double phase1, phase2, cycles1, cycles2;
    double at(double x, int lines) const {
        const double u = lines > 1 ? x / (lines - 1) : 0.0;
        return 0.6 * std::sin(2 * kPi * (cycles1 * u + phase1)) +
               0.4 * std::sin(2 * kPi * (cycles2 * u + phase2));
    }
};

Wave randomWave(std::mt19937& g) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    return Wave{unit(g), unit(g), 0.5 + unit(g), 1.0 + unit(g)};
}

}  // namespace

Panel::Panel(const Profile& profile)
    : description_(profile.panel),
      wiring_(profile.ranges),
      chips_(std::clamp(profile.chipCount, 1, 4)),
      noise_(profile.panel.seed * 2654435761u + 1) {
    for (int i = 0; i < chips_; ++i) {
        tx_ += runLength(wiring_[i].txStart, wiring_[i].txEnd);
        rx_ += runLength(wiring_[i].rxStart, wiring_[i].rxEnd);
    }
    std::mt19937 shape(description_.seed);
    const Wave cTx = randomWave(shape), cRx = randomWave(shape);
    const Wave pTx = randomWave(shape), pRx = randomWave(shape);
    coupling_.resize(static_cast<size_t>(tx_ * rx_));
    phase_.resize(coupling_.size());
    for (int t = 0; t < tx_; ++t) {
        for (int r = 0; r < rx_; ++r) {
            double c = description_.flat ? 1.0 : 1.0 + 0.05 * cTx.at(t, tx_) + 0.05 * cRx.at(r, rx_);
            if (description_.uneven) c *= 0.6 + 0.9 * (rx_ > 1 ? double(r) / (rx_ - 1) : 0.0);
            const bool txEdge = t == 0 || t == tx_ - 1, rxEdge = r == 0 || r == rx_ - 1;
            const double edge = description_.weakEdge ? kWeakEdge
                                : description_.flat   ? 1.0
                                                      : 1.0 - kEdgeLoss;
            if (txEdge) c *= edge;
            if (rxEdge) c *= edge;
            if (const auto column = description_.rxCoupling.find(r);
                column != description_.rxCoupling.end())
                c *= column->second;
            if (description_.openTx.count(t) || description_.openRx.count(r) || description_.noWiredPins) c = 0.0;
            coupling_[static_cast<size_t>(index(t, r))] = c * description_.signalScale;
            phase_[static_cast<size_t>(index(t, r))] =
                50.0 + 9.0 * (0.5 * pTx.at(t, tx_) + 0.5 * pRx.at(r, rx_));
        }
    }
}

std::vector<ActiveLine> Panel::activeLines(const Bytes& image, bool tx) const {
    std::vector<ActiveLine> lines;
    const int chips = tx ? hw::txChips(image) : hw::rxChips(image);
    const int at = tx ? hw::kTxStart : hw::kRxStart;
    for (int chip = 0; chip < chips; ++chip) {
        const int first = image[static_cast<size_t>(at + 2 * chip)];
        const int last = image[static_cast<size_t>(at + 2 * chip + 1)];
        for (int pin = first; pin <= last; ++pin)
            lines.push_back({chip, pin, lineAt(chip, pin, tx)});
    }
    return lines;
}

int Panel::lineAt(int chip, int pin, bool tx) const {
    int base = 0;
    for (int i = 0; i < chips_; ++i) {
        const ChipRange& w = wiring_[static_cast<size_t>(i)];
        const int first = tx ? w.txStart : w.rxStart, last = tx ? w.txEnd : w.rxEnd;
        if (i == chip) return pin >= first && pin <= last ? base + pin - first : -1;
        base += runLength(first, last);
    }
    return -1;
}

int Panel::chipOf(int line, bool tx) const {
    for (int i = 0; i < chips_; ++i) {
        const ChipRange& w = wiring_[static_cast<size_t>(i)];
        const int n = tx ? runLength(w.txStart, w.txEnd) : runLength(w.rxStart, w.rxEnd);
        if (line < n) return i;
        line -= n;
    }
    return chips_ - 1;
}

double Panel::coupling(int t, int r) const {
    if (t < 0 || r < 0 || t >= tx_ || r >= rx_) return 0.0;
    return coupling_[static_cast<size_t>(index(t, r))];
}

double Panel::touch(int t, int r) const {
    if (!description_.finger || !fingerDown_) return 1.0;
    const double dt = t - description_.finger->tx, dr = r - description_.finger->rx;
    return 1.0 - kFingerDepth * std::exp(-(dt * dt + dr * dr) / (2 * kFingerSigma * kFingerSigma));
}

double Panel::phaseDegrees(int t, int r) const {
    if (t < 0 || r < 0 || t >= tx_ || r >= rx_) return 50.0;
    return phase_[static_cast<size_t>(index(t, r))];
}

int Panel::optimalDelay(int t) const {
    return 13 + (tx_ > 1 ? static_cast<int>(std::lround(2.0 * t / (tx_ - 1))) : 0);
}

double Panel::settingsScale(int rs, int gain) {
    return rs / 8.0 * std::exp2((20 - gain) / 6.0);
}

// Flat within 2 samples of the optimum, then falling by 0.3 per sample to a floor of 0.3.
double Panel::delayResponse(int offset) {
    const int x = std::abs(offset);
    return x <= 2 ? 1.0 : std::max(0.3, 1.0 - 0.3 * (x - 2));
}

double Panel::swing(int t, int r, int rs, int gain, int delay) const {
    if (t < 0 || r < 0 || t >= tx_ || r >= rx_) return 0.0;
    return kSwingAt8And20 * coupling(t, r) * touch(t, r) * settingsScale(rs, gain) *
           delayResponse(delay - optimalDelay(t));
}

int Panel::calibrationValue(int chip) const {
    return static_cast<int>(std::lround(100.0 / chipGain(chip)));
}

namespace {

double atFrequency(const NoiseSource& s, double kHz) {
    const double x = (kHz - s.kHz) / s.widthKHz;
    return s.amplitude * std::exp(-x * x);
}

}  // namespace

double Panel::sourceNoise(double kHz, int rxLine) const {
    double sum = 0;
    for (const NoiseSource& s : description_.noiseSources)
        if (s.reachesRx(rxLine)) sum += atFrequency(s, kHz);
    return sum;
}

double Panel::sourceNoiseOnTx(double kHz) const {
    double sum = 0;
    for (const NoiseSource& s : description_.noiseSources)
        if (s.everyLine()) sum += atFrequency(s, kHz);
    return sum;
}

double Panel::gauss(double sigma) const {
    return std::normal_distribution<double>(0.0, sigma)(noise_);
}

double Panel::uniform() const {
    return std::uniform_real_distribution<double>(0.0, 1.0)(noise_);
}

}  // namespace sim
