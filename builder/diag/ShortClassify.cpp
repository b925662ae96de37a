#include "diag/ShortClassify.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kRxSearchFrom = 20;  // an Rx reading from this on is looked into
constexpr int kRxDropBelow = 30;   // the row where the drive stops reaching reads below this
constexpr double kRxDropRatio = 0.8;
constexpr int kTxPartnerAbove = 20;
constexpr int kTxSupplyFrom = 100;

}  // namespace

std::vector<ShortChannel> ClassifyRxShorts(const ShortCell& matrix, int perChip, int channels) {
    std::vector<ShortChannel> out(static_cast<std::size_t>(std::max(channels, 0)));
    for (int d = 0; d < channels; ++d) {
        ShortChannel& self = out[static_cast<std::size_t>(d)];
        const int v = matrix(d, d);
        if (std::abs(v) > std::abs(self.peak)) self.peak = v;
        if (std::abs(v) < kRxSearchFrom) continue;
        int found = -1;
        for (int k = d; k < channels && found < 0; ++k) {
            const int w = std::abs(matrix(k, d));
            if (w < kRxDropBelow && std::abs(v) * kRxDropRatio > w) found = k;
        }
        if (found < 0 || found == perChip) {
            self.partner = kSupplyShortPartner;
            continue;
        }
        ShortChannel& other = out[static_cast<std::size_t>(found)];
        self = {v, found};
        other = {v, d};
    }
    return out;
}

std::vector<ShortChannel> ClassifyTxShorts(const ShortCell& matrix, int channels) {
    std::vector<ShortChannel> out(static_cast<std::size_t>(std::max(channels, 0)));
    for (int d = 0; d < channels; ++d) {
        ShortChannel& self = out[static_cast<std::size_t>(d)];
        bool allSupply = channels > 1;
        for (int k = 0; k < channels; ++k) {
            if (k == d) continue;
            const int v = matrix(k, d);
            if (std::abs(v) > std::abs(self.peak)) {
                self.peak = v;
                if (std::abs(v) > kTxPartnerAbove) self.partner = k;
            }
            if (std::abs(v) < kTxSupplyFrom) allSupply = false;
        }
        if (allSupply) self.partner = kSupplyShortPartner;
    }
    return out;
}

std::vector<ShortChannel> MapShortChannels(std::span<const ShortChannel> pins,
                                           std::span<const ShortRange> ranges, int perChip,
                                           int firstChipOffset, std::size_t limit) {
    std::vector<ShortChannel> out;
    for (std::size_t chip = 0; chip < ranges.size(); ++chip) {
        const int shift = chip == 0 ? firstChipOffset : 0;
        const int base = static_cast<int>(chip) * perChip + shift;
        for (int pin = ranges[chip].first; pin <= ranges[chip].last; ++pin) {
            if (out.size() >= limit) return out;
            const int at = base + pin;
            ShortChannel c;
            if (at >= 0 && at < static_cast<int>(pins.size()))
                c = pins[static_cast<std::size_t>(at)];
            if (shift != 0 && c.partner != kNoShortPartner && c.partner != kSupplyShortPartner)
                c.partner -= shift;
            out.push_back(c);
        }
    }
    return out;
}

std::string ShortChannelLine(bool tx, int index, int value, int partner) {
    const char* axis = tx ? "Tx" : "Rx";
    char text[96];
    std::snprintf(text, sizeof text, "%s[%d],%d", axis, index, value);
    std::string line = text;
    if (partner == kSupplyShortPartner) {
        line += value >= 1 ? ",Short with vdd"
                : tx       ? ",Short with gnd"
                           : ",Short with gnd or other rx chip";
    } else if (partner != kNoShortPartner) {
        std::snprintf(text, sizeof text, ",Short with %s[%d]", axis, partner);
        line += text;
    }
    return line + "\n";
}
