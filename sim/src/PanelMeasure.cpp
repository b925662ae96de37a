#include "PanelMeasure.h"

#include <algorithm>
#include <cmath>

#include "ChipFields.h"

namespace sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLeadRows = 2;
// Where a frequency block keeps its Img mode image and its image tuning records.
constexpr int kModeImagesAt = 2, kModeImageSize = 68, kImgModeImage = 3;
constexpr int kTuningRecordsAt = 410, kTuningRecordSize = 6, kTuningRecords = 10;
constexpr double kCalOffset = 300.0;
constexpr double kCalFullScale = 32767.0;
constexpr double kAfeUnitsPerByte = 1.22;
constexpr double kSwingNoise = 0.5;  // AFE units, on one conversion
constexpr int kPeakReadSel = 8;      // the read selection of the gain test

int16_t toWord(double v) {
    return static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
}

// The noise floor of a digital value: 0.15 % of it plus one count.
double floorNoise(const Panel& panel, double v) {
    return panel.gauss(0.0015 * std::abs(v) + 1.0);
}

// Counts per AFE unit of swing after the measure count and the scaling.
double countsPerSwing(int waveN, int rshift) {
    return waveN * Panel::kCountsPerSwing / std::exp2(rshift);
}

int block(int f) {
    return hw::kFreqBlock + hw::kFreqBlockSize * std::clamp(f, 0, 4);
}

// The tuning a frame uses on active Tx channel i. The firmware draws each setting along the Tx
// lines on a straight line between the records of the phase targets on either side of the line
// (beyond the outermost targets it keeps their records), so the signal runs smoothly across the
// panel even where neighbouring records differ, as they do after the measure counts are tuned.
struct Tuning {
    int delay, rs, gain, count;
};

Tuning tuningFor(const Bytes& image, int f, int i) {
    auto target = [&](int k) {
        return static_cast<int>(image[static_cast<size_t>(hw::kPhaseTarget + k)]);
    };
    auto record = [&](int k) {
        const size_t at = static_cast<size_t>(block(f) + kTuningRecordsAt + kTuningRecordSize * k);
        return Tuning{image[at], image[at + 1], image[at + 2], image[at + 3]};
    };
    int below = -1, above = -1;  // the nearest targets at or before line i, and at or after it
    for (int k = 0; k < kTuningRecords; ++k) {
        if (target(k) <= i && (below < 0 || target(k) > target(below))) below = k;
        if (target(k) >= i && (above < 0 || target(k) < target(above))) above = k;
    }
    if (below < 0) return record(above);
    if (above < 0 || target(above) == target(below)) return record(below);
    const Tuning a = record(below), b = record(above);
    const double w = static_cast<double>(i - target(below)) / (target(above) - target(below));
    auto along = [w](int from, int to) {
        return static_cast<int>(std::lround(from + (to - from) * w));
    };
    return {along(a.delay, b.delay), along(a.rs, b.rs), along(a.gain, b.gain),
            along(a.count, b.count)};
}

int imgScaling(ChipModel model, const Bytes& image, int f) {
    const size_t at =
        static_cast<size_t>(block(f) + kModeImagesAt + kModeImageSize * kImgModeImage);
    return decodeSettings(model, &image[at]).rshift;
}

// An AFE swing as the chip reports it: the negative swing in the low byte, the positive in the
// high byte.
int16_t afeWord(double swing) {
    const long b = std::clamp(std::lround(swing / kAfeUnitsPerByte), -128L, 127L);
    const long a = std::clamp(-std::lround(swing / kAfeUnitsPerByte), -128L, 127L);
    return static_cast<int16_t>(static_cast<uint16_t>(((b & 0xFF) << 8) | (a & 0xFF)));
}

// A swing averaged over many periods, as the signal test reports it: the positive swing in AFE
// bytes with eight bits below the byte. Its high byte is the peak reading's, and a swing of less
// than one byte, too weak for a single conversion to show, still peaks where the response does.
int16_t averagedAfeWord(double swing) {
    return toWord(std::clamp(swing / kAfeUnitsPerByte, -128.0, 127.99) * 256.0);
}

// The Tx lines a selection drives, as panel lines (-1 for an unwired channel).
std::vector<int> drivenLines(const std::vector<ActiveLine>& tx, const LineSelection& s) {
    std::vector<int> lines;
    const int n = static_cast<int>(tx.size());
    int first = 0, last = n - 1;
    if (!s.txAxis && s.first != 255 && s.last != 255) {
        first = s.first;
        last = std::min(s.last, n - 1);
    }
    for (int i = std::max(first, 0); i <= last; ++i)
        lines.push_back(tx[static_cast<size_t>(i)].line);
    return lines;
}

// The mean swing of an Rx line over the driven lines, or of a Tx line over every Rx line.
double meanSwing(const Panel& p, const std::vector<int>& driven, int line, bool txAxis,
                 const ChipSettings& s, int delay) {
    if (line < 0) return 0.0;
    double sum = 0;
    int n = 0;
    if (txAxis) {
        for (int r = 0; r < p.rxLines(); ++r, ++n) sum += p.swing(line, r, s.rs, s.gain, delay);
    } else {
        for (int t : driven) {
            sum += p.swing(t, line, s.rs, s.gain, delay);
            ++n;
        }
    }
    return n > 0 ? sum / n : 0.0;
}

}  // namespace

double frameKHz(ChipModel model, const Bytes& image, int f) {
    const size_t at = static_cast<size_t>(block(f));
    return sensingKHz(model, image[at + hw::kBlockClkSrc], image[at + hw::kBlockPreScaler],
                      image[at + hw::kBlockFreqDivider]);
}

std::vector<std::vector<double>> expectedMagnitude(const Panel& panel, ChipModel model,
                                                   const Bytes& image, int f) {
    const auto tx = panel.activeLines(image, true), rx = panel.activeLines(image, false);
    const int rshift = imgScaling(model, image, f);
    std::vector<std::vector<double>> m(tx.size(), std::vector<double>(rx.size(), 0.0));
    for (size_t i = 0; i < tx.size(); ++i) {
        const Tuning k = tuningFor(image, f, static_cast<int>(i));
        for (size_t j = 0; j < rx.size(); ++j)
            m[i][j] = panel.swing(tx[i].line, rx[j].line, k.rs, k.gain, k.delay) *
                      countsPerSwing(k.count, rshift);
    }
    return m;
}

FrameGrid measureFrame(const Panel& panel, ChipModel model, const Bytes& image, int f,
                       uint16_t mode) {
    const auto tx = panel.activeLines(image, true), rx = panel.activeLines(image, false);
    const auto magnitude = expectedMagnitude(panel, model, image, f);
    const int rshift = imgScaling(model, image, f);
    const double kHz = frameKHz(model, image, f);
    std::vector<double> source(rx.size());  // per column: the sources its Rx line picks up
    for (size_t j = 0; j < rx.size(); ++j) source[j] = panel.sourceNoise(kHz, rx[j].line);
    FrameGrid g;
    g.rows = kLeadRows + static_cast<int>(tx.size());
    g.columns = static_cast<int>(rx.size());
    g.values.assign(static_cast<size_t>(g.rows * g.columns), 0);
    for (size_t i = 0; i < tx.size(); ++i) {
        const Tuning k = tuningFor(image, f, static_cast<int>(i));
        const double countsPerSource =
            Panel::settingsScale(k.rs, k.gain) * countsPerSwing(k.count, rshift);
        for (size_t j = 0; j < rx.size(); ++j) {
            const double m = magnitude[i][j];
            const double sourceCounts = source[j] * countsPerSource;
            const double theta = panel.phaseDegrees(tx[i].line, rx[j].line) * kPi / 180.0;
            const double noise = sourceCounts > 0 ? panel.gauss(0.5 * sourceCounts) : 0.0;
            double v = 0;
            switch (mode) {
                case 0x4004:
                case 0x4000:
                    v = m * std::sin(theta);
                    break;
                case 0x4805:
                    v = m * std::sin(theta) * panel.chipGain(rx[j].chip);
                    break;
                case 0x4200:
                    v = m * std::cos(theta) / std::sqrt(3.0);
                    break;
                case 0x4801:
                case 0x4008: {
                    const double t = panel.touch(tx[i].line, rx[j].line);
                    v = t > 0 ? m / t - m : 0.0;  // the baseline holds the untouched cell
                    break;
                }
                case 0x4020:
                case 0x4010: {
                    const double swing = panel.swing(tx[i].line, rx[j].line, k.rs, k.gain, k.delay);
                    g.values[static_cast<size_t>((kLeadRows + i) * rx.size() + j)] =
                        afeWord(swing * panel.chipGain(rx[j].chip) + panel.gauss(kSwingNoise));
                    continue;
                }
                default:
                    v = m;
                    break;
            }
            g.values[static_cast<size_t>((kLeadRows + i) * rx.size() + j)] =
                toWord(v + floorNoise(panel, v) + noise);
        }
    }
    // Lead rows: the noise of each Rx line, then its water-line value (the column's mean).
    for (size_t j = 0; j < rx.size(); ++j) {
        double sum = 0;
        for (size_t i = 0; i < tx.size(); ++i) sum += magnitude[i][j];
        g.values[j] = toWord(std::abs(panel.gauss(3.0)) + source[j]);
        g.values[rx.size() + j] = toWord(tx.empty() ? 0.0 : sum / static_cast<double>(tx.size()));
    }
    return g;
}

void measureChips(const Panel& panel, ChipBanks& banks, const Bytes& image,
                  const LineSelection& selection, int clock, int firstChipPinOffset) {
    const ChipLayout& l = layoutOf(banks.model());
    const std::vector<int> driven = drivenLines(panel.activeLines(image, true), selection);
    for (int chip = 0; chip < banks.chips(); ++chip) {
        const ChipSettings s = decodeSettings(banks.model(), banks.config(chip));
        const double kHz = sensingKHz(banks.model(), clock, s.phase1, s.psample);
        const int offset = chip == 0 ? firstChipPinOffset : 0;
        const double perSwing = countsPerSwing(s.waveN, s.rshift) * panel.chipGain(chip);
        const double countsPerSource =
            Panel::settingsScale(s.rs, s.gain) * countsPerSwing(s.waveN, s.rshift);
        // A signal value with its floor noise and the sources' noise on its line.
        auto digital = [&](double v, double source) {
            const double sourceCounts = source * countsPerSource;
            const double noise = sourceCounts > 0 ? std::abs(panel.gauss(0.5 * sourceCounts)) : 0;
            return static_cast<uint16_t>(
                std::clamp(v + floorNoise(panel, v) + noise, 0.0, 32767.0));
        };
        std::vector<uint16_t> rxWords(static_cast<size_t>(l.rxChannels), 0), txWords;
        const bool stuck = panel.description().calibrationUnreadable;
        const double slope =
            l.calScale * 100.0 / ((panel.calibrationValue(chip) + 0.5) * (l.calHigh - l.calLow));
        std::mt19937 floorShape(panel.description().seed + 7919u * static_cast<unsigned>(chip));
        for (int k = 0; k < l.rxChannels; ++k) {
            double v = 0;
            const int floor =
                kNoiseFloorMin +
                static_cast<int>(floorShape() % (kNoiseFloorMax - kNoiseFloorMin + 1));
            if (s.calibration) {
                // A broken calibration input leaves the converter pinned at full scale.
                v = stuck ? kCalFullScale
                          : kCalOffset + slope * s.sinOffset + std::lround(panel.uniform() * 10.0) -
                                5;
            } else if (s.noise) {
                // What the chip reads, its gain error included; calibration takes that out.
                const int line = panel.lineAt(chip, k - offset, false);
                v = (floor + panel.sourceNoise(kHz, line) * (0.8 + 0.4 * panel.uniform())) *
                    panel.chipGain(chip);
            } else {
                const int line = panel.lineAt(chip, k - offset, false);
                v = digital(meanSwing(panel, driven, line, false, s, s.delay) * perSwing,
                            panel.sourceNoise(kHz, line));
            }
            rxWords[static_cast<size_t>(k)] = static_cast<uint16_t>(std::clamp(v, 0.0, 32767.0));
        }
        if (selection.txAxis && !s.calibration && !s.noise) {
            txWords.assign(static_cast<size_t>(l.txChannels), 0);
            for (int k = 0; k < l.txChannels; ++k) {
                const int line = panel.lineAt(chip, k - offset, true);
                txWords[static_cast<size_t>(k)] =
                    digital(meanSwing(panel, driven, line, true, s, s.delay) * perSwing,
                            panel.sourceNoiseOnTx(kHz));
            }
        }
        banks.store(chip, rxWords, txWords);
    }
}

std::vector<int16_t> measureAfeRows(const Panel& panel, const ChipBanks& banks, const Bytes& image,
                                    const LineSelection& selection, int clock, int rows,
                                    int& channels) {
    const auto tx = panel.activeLines(image, true);
    const auto lines = selection.txAxis ? tx : panel.activeLines(image, false);
    const std::vector<int> driven = drivenLines(tx, selection);
    channels = static_cast<int>(lines.size());
    std::vector<int16_t> words(static_cast<size_t>(std::max(rows, 0) * channels), 0);
    for (int c = 0; c < channels; ++c) {
        const ActiveLine& line = lines[static_cast<size_t>(c)];
        const ChipSettings s = decodeSettings(banks.model(), banks.config(line.chip));
        const double kHz = sensingKHz(banks.model(), clock, s.phase1, s.psample);
        const double source =
            (selection.txAxis ? panel.sourceNoiseOnTx(kHz) : panel.sourceNoise(kHz, line.line)) *
            Panel::settingsScale(s.rs, s.gain);
        // The gain test reads each conversion's peaks; any other preset averages the swing over
        // the measure count's periods, which leaves less of the noise.
        const bool peaks = s.readSel == kPeakReadSel;
        const double sigma = peaks ? kSwingNoise : kSwingNoise / std::sqrt(std::max(s.waveN, 1));
        for (int d = 0; d + kLeadRows < rows; ++d) {
            double a = meanSwing(panel, driven, line.line, selection.txAxis, s, d) *
                       panel.chipGain(line.chip);
            a += panel.gauss(sigma) + source * panel.uniform();
            words[static_cast<size_t>((d + kLeadRows) * channels + c)] =
                peaks ? afeWord(a) : averagedAfeWord(a);
        }
    }
    return words;
}

}  // namespace sim
