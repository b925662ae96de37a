#include "ShortTestData.h"

#include <algorithm>
#include <cmath>

#include "PanelProfile.h"

namespace sim {
namespace {

constexpr int kMaxPins = 256;  // a report addresses rows and columns with one byte

// Where the readings of a chip's pins sit: chip j's pins from j x per-chip, chip 0's shifted by
// its pin offset.
struct PinLayout {
    int perChip = 0, pins = 0, firstChipOffset = 0;

    int position(int chip, int pin) const {
        if (chip < 0 || pin < 0) return -1;
        const int inChip = pin + (chip == 0 ? firstChipOffset : 0);
        const int at = chip * perChip + inChip;
        return inChip < perChip && at < pins ? at : -1;
    }
    bool sameChip(int a, int b) const { return a / perChip == b / perChip; }
};

// Uniform whole counts in [-amplitude, amplitude], from the panel's noise.
int noise(const Panel& panel, int amplitude) {
    const int n = static_cast<int>(std::floor(panel.uniform() * (2 * amplitude + 1)));
    return std::min(n, 2 * amplitude) - amplitude;
}

int8_t reading(int sign, int level) {
    return static_cast<int8_t>(std::clamp(sign * level, -127, 127));
}

// The matrix position of a panel line: the chip it is wired to and the pin there; -1 when none.
int positionOfLine(const Panel& panel, const PinLayout& layout, int line, bool tx) {
    const int chip = panel.chipOf(line, tx);
    for (int pin = 0; pin < layout.perChip; ++pin)
        if (panel.lineAt(chip, pin, tx) == line) return layout.position(chip, pin);
    return -1;
}

class Readings {
  public:
    Readings(const Panel& panel, const PinLayout& layout)
        : panel_(panel),
          n_(layout.pins),
          matrix_(static_cast<size_t>(n_ * n_)),
          pin_(static_cast<size_t>(n_)) {
        for (auto& v : matrix_) v = static_cast<int8_t>(noise(panel, kHealthyNoise));
        for (auto& v : pin_) v = static_cast<int8_t>(noise(panel, kHealthyNoise));
    }

    // Rx pins d < k of one chip: d's drive reaches every row up to k, where it drops; k reads
    // small itself, so that d's search names k and k keeps d.
    void rxPair(int d, int k) {
        at(d, d) = pin(d) = reading(1, kShortLineLevel);
        for (int row = d + 1; row < k; ++row) at(row, d) = reading(1, kShortLineLevel);
        pin(k) = pin(d);
    }
    // An Rx pin tied to a supply (or to a pin of another chip, which the chip sees as ground):
    // its drive reaches every row from it to the end.
    void rxTied(int d, int sign, int level) {
        at(d, d) = pin(d) = reading(sign, level);
        for (int row = d + 1; row < n_; ++row) at(row, d) = reading(sign, level);
    }
    // Tx pins d and k pick up each other's drive.
    void txPair(int d, int k) {
        at(k, d) = at(d, k) = pin(d) = pin(k) = reading(1, kShortLineLevel);
    }
    // A Tx pin tied to a supply reads it whichever line drives.
    void txTied(int d, int sign) {
        for (int row = 0; row < n_; ++row)
            if (row != d) at(row, d) = reading(sign, kShortSupplyLevel);
        pin(d) = at(d == 0 ? n_ - 1 : 0, d);
    }

    std::vector<int8_t> TakeMatrix() { return std::move(matrix_); }
    int8_t ReadingAt(int position) const {
        return position >= 0 ? pin_[static_cast<size_t>(position)] : int8_t{0};
    }

  private:
    int8_t& at(int row, int column) { return matrix_[static_cast<size_t>(row * n_ + column)]; }
    int8_t& pin(int position) { return pin_[static_cast<size_t>(position)]; }

    const Panel& panel_;
    int n_;
    std::vector<int8_t> matrix_;
    std::vector<int8_t> pin_;  // the one reading of each pin
};

std::vector<int8_t> listOf(const Panel& panel, const Bytes& image, const PinLayout& layout,
                           const Readings& readings, bool tx) {
    std::vector<int8_t> list;
    for (const ActiveLine& line : panel.activeLines(image, tx))
        list.push_back(readings.ReadingAt(layout.position(line.chip, line.pin)));
    return list;
}

}  // namespace

ShortTestData measureShortTest(const Panel& panel, const Profile& profile, const Bytes& image) {
    ShortTestData data;
    data.rxPerChip = chipPins(profile.chip, false);
    data.txPerChip = chipPins(profile.chip, true);
    const PinLayout rx{data.rxPerChip, std::min(data.rxPerChip * hw::rxChips(image), kMaxPins),
                       profile.firstChipPinOffset};
    const PinLayout tx{data.txPerChip, std::min(data.txPerChip * hw::txChips(image), kMaxPins),
                       profile.firstChipPinOffset};
    data.rxPins = rx.pins;
    data.txPins = tx.pins;
    Readings rxReadings(panel, rx), txReadings(panel, tx);

    for (const PanelShort& s : panel.description().shorts) {
        const bool onTx = s.kind == 't';
        const PinLayout& layout = onTx ? tx : rx;
        Readings& readings = onTx ? txReadings : rxReadings;
        const int a = positionOfLine(panel, layout, s.line, onTx);
        if (a < 0) continue;
        if (s.partner != PanelShort::Line) {
            const int sign = s.partner == PanelShort::Vdd ? 1 : -1;
            if (onTx)
                readings.txTied(a, sign);
            else
                readings.rxTied(a, sign, kShortSupplyLevel);
            continue;
        }
        const int b = positionOfLine(panel, layout, s.other, onTx);
        if (b < 0) continue;
        if (onTx) {
            readings.txPair(a, b);
        } else if (rx.sameChip(a, b)) {
            readings.rxPair(std::min(a, b), std::max(a, b));
        } else {
            readings.rxTied(a, -1, kShortLineLevel);
            readings.rxTied(b, -1, kShortLineLevel);
        }
    }
    data.rxList = listOf(panel, image, rx, rxReadings, false);
    data.txList = listOf(panel, image, tx, txReadings, true);
    data.rxMatrix = rxReadings.TakeMatrix();
    data.txMatrix = txReadings.TakeMatrix();
    return data;
}

}  // namespace sim
