#include "Truth.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "PanelMeasure.h"
#include "PanelProfile.h"
#include "ShortTestData.h"
#include "TunerImage.h"

namespace sim {
namespace {

template <typename F>
std::string joined(int count, F item) {
    std::ostringstream out;
    for (int i = 0; i < count; ++i) out << (i ? "," : "") << item(i);
    return out.str();
}

std::string fixed(double v, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

}  // namespace

bool writeTruth(const std::string& path, const Profile& profile, const Panel& panel,
                const Bytes& image, int f) {
    std::ostringstream out;
    out << "# The simulated panel as the controller knows it.\n";
    out << "tx_count = " << panel.txLines() << '\n';
    out << "rx_count = " << panel.rxLines() << '\n';
    out << "wired_tx = " << wiringText(profile, true) << '\n';
    out << "wired_rx = " << wiringText(profile, false) << '\n';
    const int chips = std::max(1, std::min(profile.chipCount, 4));
    out << "calibration = " << joined(chips, [&](int i) { return panel.calibrationValue(i); })
        << '\n';
    out << "chip_gain = " << joined(chips, [&](int i) { return fixed(panel.chipGain(i), 3); })
        << '\n';
    out << "optimal_delay = "
        << joined(panel.txLines(), [&](int t) { return panel.optimalDelay(t); }) << '\n';
    out << "open_tx = " << linesText(panel.description().openTx) << '\n';
    out << "open_rx = " << linesText(panel.description().openRx) << '\n';
    out << "short = " << shortsText(panel.description().shorts) << '\n';
    out << "short_line_level = " << kShortLineLevel << '\n';
    out << "short_supply_level = " << kShortSupplyLevel << '\n';
    out << "noise_source = " << noiseSourcesText(panel.description().noiseSources) << '\n';
    out << "noise_floor = " << kNoiseFloorMax << '\n';
    if (panel.description().finger)
        out << "finger = " << panel.description().finger->tx << ',' << panel.description().finger->rx << '\n';
    else
        out << "finger = \n";

    // The frames at the current tuning: geometry of the active channels, then per frame row
    // (active Tx channel) the expected magnitude and phase of each column.
    const auto tx = panel.activeLines(image, true), rx = panel.activeLines(image, false);
    out << "frame_tx = " << tx.size() << '\n';
    out << "frame_rx = " << rx.size() << '\n';
    out << "frame_tx_lines = " << joined(static_cast<int>(tx.size()), [&](int i) {
        return tx[static_cast<size_t>(i)].line;
    }) << '\n';
    out << "frame_rx_lines = " << joined(static_cast<int>(rx.size()), [&](int i) {
        return rx[static_cast<size_t>(i)].line;
    }) << '\n';
    out << "frequency_index = " << f << '\n';
    out << "frequency_khz = " << fixed(frameKHz(profile.chip, image, f), 2) << '\n';
    const auto magnitude = expectedMagnitude(panel, profile.chip, image, f);
    for (size_t i = 0; i < tx.size(); ++i) {
        const auto& row = magnitude[i];
        out << "magnitude." << i << " = " << joined(static_cast<int>(row.size()), [&](int j) {
            return fixed(row[static_cast<size_t>(j)], 1);
        }) << '\n';
        out << "phase." << i << " = " << joined(static_cast<int>(rx.size()), [&](int j) {
            return fixed(panel.phaseDegrees(tx[i].line, rx[static_cast<size_t>(j)].line), 2);
        }) << '\n';
    }

    out << keyTruth(panel, profile.chip, image, f);

    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        if (!(file << out.str()) || !file.flush()) return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    return !ec;
}

}  // namespace sim
