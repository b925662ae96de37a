#include "TunerImage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "PanelMeasure.h"

namespace sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPressedKeyLeft = 0.75;
constexpr size_t kTableSize = 32768, kDataAt = 48, kTableRoom = 32720;
constexpr int kSubTables = 8;

int16_t toWord(double v) {
    return static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
}

void putWord(Bytes& b, size_t at, int v) {
    b[at] = static_cast<uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

}  // namespace

double keyMagnitude(const Panel& panel, ChipModel model, const Bytes& image, int f) {
    const auto tx = panel.activeLines(image, true), rx = panel.activeLines(image, false);
    const auto m = expectedMagnitude(panel, model, image, f);
    double sum = 0;
    int n = 0;
    for (size_t i = 0; i < tx.size(); ++i)
        for (size_t j = 0; j < rx.size(); ++j) {
            const double left = panel.touch(tx[i].line, rx[j].line);
            if (left <= 0) continue;
            sum += m[i][j] / left;
            ++n;
        }
    return n > 0 ? sum / n : 0.0;
}

std::vector<int16_t> measureKeys(const Panel& panel, ChipModel model, const Bytes& image, int f,
                                 uint16_t mode) {
    const TouchKeys& keys = panel.description().keys;
    const double base = keyMagnitude(panel, model, image, f);
    std::vector<int16_t> values;
    for (int k = 0; k < keys.count; ++k) {
        const bool pressed = k == keys.pressed;
        const double raw = base * (pressed ? kPressedKeyLeft : 1.0);
        double v = 0;
        switch (mode) {
            case 0x4801:
            case 0x4008:
                v = base - raw;
                break;
            case 0x4020:
            case 0x4010: {
                const long swing = std::lround(30.0 * raw / std::max(base, 1.0));
                values.push_back(static_cast<int16_t>(
                    static_cast<uint16_t>(((swing & 0xFF) << 8) | (-swing & 0xFF))));
                continue;
            }
            default:
                v = raw;
                break;
        }
        values.push_back(toWord(v + panel.gauss(0.0015 * std::abs(v) + 1.0)));
    }
    return values;
}

Report keyReport(int row, const std::vector<int16_t>& values) {
    const int n = std::min<int>(static_cast<int>(values.size()), 29);
    Report r = makeReport(0x4A, static_cast<uint8_t>(std::clamp(row, 0, 255)), 1 + 2 * n);
    r[4] = 0;
    for (int i = 0; i < n; ++i) {
        r[static_cast<size_t>(5 + 2 * i)] = static_cast<uint8_t>(values[static_cast<size_t>(i)] & 0xFF);
        r[static_cast<size_t>(6 + 2 * i)] =
            static_cast<uint8_t>((values[static_cast<size_t>(i)] >> 8) & 0xFF);
    }
    return r;
}

void appendListBurst(Reports& out, const Panel& panel, const std::vector<ActiveLine>& tx,
                     const std::vector<ActiveLine>& rx, int frame) {
    std::vector<std::array<uint8_t, 6>> items;
    for (const ActiveLine& t : tx)
        for (const ActiveLine& r : rx) {
            const double lost = 1.0 - panel.touch(t.line, r.line);
            if (lost <= 0.05 || items.size() >= 254) continue;
            const long hundredths = std::lround(lost * 10000.0);
            items.push_back({static_cast<uint8_t>(t.line), static_cast<uint8_t>(r.line),
                             static_cast<uint8_t>(hundredths & 0xFF),
                             static_cast<uint8_t>(hundredths >> 8),
                             static_cast<uint8_t>(frame & 0xFF),
                             static_cast<uint8_t>((frame >> 8) & 0xFF)});
        }
    for (size_t first = 0; first < items.size(); first += 9) {
        const size_t n = std::min<size_t>(9, items.size() - first);
        Report r = makeReport(0x4B, static_cast<uint8_t>(n), static_cast<int>(6 * n));
        for (size_t i = 0; i < n; ++i)
            std::copy(items[first + i].begin(), items[first + i].end(), r.begin() + 4 + 6 * i);
        out.push_back(r);
    }
    Report closing = makeReport(0x4B, 2, 3);
    closing[4] = 0xFF;
    closing[5] = static_cast<uint8_t>(items.size());
    closing[6] = static_cast<uint8_t>(frame & 0xFF);
    out.push_back(closing);
}

Bytes panelUniformityTable(Panel& panel, ChipModel model, const Bytes& image) {
    Bytes table(kTableSize, 0);
    const auto tx = panel.activeLines(image, true), rx = panel.activeLines(image, false);
    const int columns = std::min<int>(static_cast<int>(rx.size()), 255);
    panel.setFingerDown(false);
    size_t used = 0;
    const int frequencies = std::min(hw::frequencies(image), kSubTables);
    for (int f = 0; f < frequencies; ++f) {
        const size_t bytes = tx.size() > 1 ? (tx.size() - 1) * (2 + 3 * static_cast<size_t>(columns)) : 0;
        if (bytes == 0 || used + bytes > kTableRoom) continue;
        const auto m = expectedMagnitude(panel, model, image, f);
        auto inPhase = [&](size_t i, size_t j) {
            return m[i][j] * std::sin(panel.phaseDegrees(tx[i].line, rx[j].line) * kPi / 180.0);
        };
        putWord(table, 16 + 4 * static_cast<size_t>(f), static_cast<int>((tx.size() - 1) * columns));
        putWord(table, 18 + 4 * static_cast<size_t>(f), static_cast<int>(used));
        size_t at = kDataAt + used;
        for (size_t i = 0; i + 1 < tx.size(); ++i) {
            table[at++] = static_cast<uint8_t>(i);
            table[at++] = static_cast<uint8_t>(columns);
            for (int j = 0; j < columns; ++j) {
                table[at++] = static_cast<uint8_t>(j);
                const size_t c = static_cast<size_t>(j);
                putWord(table, at, toWord(inPhase(i + 1, c) - inPhase(i, c)));
                at += 2;
            }
        }
        used += bytes;
    }
    panel.setFingerDown(true);
    const size_t covered = kDataAt - 4 + used;
    putWord(table, 0, static_cast<int>(covered));
    uint32_t sum = 0x55AA;
    for (size_t i = 0; i < (covered + 1) / 2; ++i) sum += table[4 + 2 * i] | (table[5 + 2 * i] << 8);
    putWord(table, 2, static_cast<int>(sum & 0xFFFF));
    return table;
}

std::string keyTruth(const Panel& panel, ChipModel model, const Bytes& image, int f) {
    const TouchKeys& keys = panel.description().keys;
    char magnitude[32];
    std::snprintf(magnitude, sizeof magnitude, "%.1f", keyMagnitude(panel, model, image, f));
    return "touch_keys = " + std::to_string(keys.count) + "\nkey_pressed = " +
           (keys.pressed >= 0 ? std::to_string(keys.pressed) : std::string()) +
           "\nkey_magnitude = " + magnitude + "\nfinger_from_frame = " +
           std::to_string(panel.description().finger ? panel.description().finger->fromFrame : 0) + "\n";
}

}  // namespace sim
