#include "PanelProfile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace sim {
namespace {

std::string trim(std::string s) {
    auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    s.erase(s.begin(), std::find_if(s.begin(), s.end(), notSpace));
    s.erase(std::find_if(s.rbegin(), s.rend(), notSpace).base(), s.end());
    return s;
}

std::vector<std::string> split(const std::string& value, char sep) {
    std::vector<std::string> items;
    std::stringstream in(value);
    for (std::string item; std::getline(in, item, sep);) {
        item = trim(item);
        if (!item.empty()) items.push_back(item);
    }
    return items;
}

bool toInt(const std::string& text, int lo, int hi, int& out) {
    const std::string s = trim(text);
    if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int v = std::atoi(s.c_str());
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

bool toDouble(const std::string& text, double lo, double hi, double& out) {
    const std::string s = trim(text);
    if (s.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v) || v < lo || v > hi) return false;
    out = v;
    return true;
}

// "<chip>:<first>-<last>" per chip; chips not named keep their runs.
bool parseWiring(Profile& p, const std::string& value, bool tx, std::string& error) {
    for (const auto& item : split(value, ',')) {
        const auto colon = item.find(':'), dash = item.find('-');
        int chip = 0, first = 0, last = 0;
        const int pins = chipPins(p.chip, tx);
        if (colon == std::string::npos || dash == std::string::npos || dash < colon ||
            !toInt(item.substr(0, colon), 0, p.chipCount - 1, chip) ||
            !toInt(item.substr(colon + 1, dash - colon - 1), 0, pins - 1, first) ||
            !toInt(item.substr(dash + 1), first, pins - 1, last)) {
            error =
                "bad wiring '" + item + "' (want <chip>:<first pin>-<last pin> within the chip)";
            return false;
        }
        ChipRange& r = p.ranges[static_cast<size_t>(chip)];
        (tx ? r.txStart : r.rxStart) = static_cast<uint8_t>(first);
        (tx ? r.txEnd : r.rxEnd) = static_cast<uint8_t>(last);
    }
    return true;
}

bool parseLines(const std::string& value, std::set<int>& out, std::string& error) {
    for (const auto& item : split(value, ',')) {
        int line = 0;
        if (!toInt(item, 0, 255, line)) {
            error = "bad line '" + item + "'";
            return false;
        }
        out.insert(line);
    }
    return true;
}

// "rx4-9" or "rx4": the Rx panel lines a noise source reaches.
bool parseRxLines(const std::string& text, int& first, int& last) {
    if (text.rfind("rx", 0) != 0) return false;
    const std::string lines = text.substr(2);
    const auto dash = lines.find('-');
    if (dash == std::string::npos) return toInt(lines, 0, 255, first) && toInt(lines, 0, 255, last);
    return toInt(lines.substr(0, dash), 0, 255, first) &&
           toInt(lines.substr(dash + 1), 0, 255, last) && first <= last;
}

bool parseNoise(const std::string& value, std::vector<NoiseSource>& out, std::string& error) {
    for (const auto& item : split(value, ',')) {
        const auto f = split(item, ':');
        NoiseSource s;
        if (f.size() < 2 || f.size() > 4 || !toDouble(f[0], 1, 10000, s.kHz) ||
            !toDouble(f[1], 0, 1000, s.amplitude) ||
            (f.size() >= 3 && !toDouble(f[2], 0.01, 1000, s.widthKHz)) ||
            (f.size() == 4 && !parseRxLines(f[3], s.rxFirst, s.rxLast))) {
            error = "bad noise source '" + item +
                    "' (want <kHz>:<amplitude>[:<width kHz>[:rx<first>-<last>]])";
            return false;
        }
        out.push_back(s);
    }
    return true;
}

// "rx3", "tx12": the kind letter and the line.
bool parseLineName(const std::string& text, char& kind, int& line) {
    if (text.size() < 3 || (text.rfind("rx", 0) != 0 && text.rfind("tx", 0) != 0)) return false;
    kind = text[0];
    return toInt(text.substr(2), 0, 255, line);
}

bool parseShorts(const std::string& value, std::vector<PanelShort>& out, std::string& error) {
    for (const auto& item : split(value, ',')) {
        const auto dash = item.find('-');
        PanelShort s;
        s.text = item;
        bool ok = dash != std::string::npos && parseLineName(item.substr(0, dash), s.kind, s.line);
        if (ok) {
            const std::string other = item.substr(dash + 1);
            char kind = 0;
            if (other == "vdd") {
                s.partner = PanelShort::Vdd;
            } else if (other == "gnd") {
                s.partner = PanelShort::Gnd;
            } else {
                ok = parseLineName(other, kind, s.other) && kind == s.kind && s.other != s.line;
            }
        }
        if (!ok) {
            error = "bad short '" + item + "' (want rx3-rx7, tx2-tx5, rx9-vdd or tx4-gnd)";
            return false;
        }
        // Lines shorted together are one short: a line named twice would need two readings.
        for (const PanelShort& earlier : out) {
            auto names = [](const PanelShort& x, char kind, int line) {
                return x.kind == kind &&
                       (x.line == line || (x.partner == PanelShort::Line && x.other == line));
            };
            if (names(earlier, s.kind, s.line) ||
                (s.partner == PanelShort::Line && names(earlier, s.kind, s.other))) {
                error = "short '" + item + "' names a line that is already shorted";
                return false;
            }
        }
        out.push_back(s);
    }
    return true;
}

// "<rx line>:<factor>, ...".
bool parseRxCoupling(const std::string& value, std::map<int, double>& out, std::string& error) {
    for (const auto& item : split(value, ',')) {
        const auto f = split(item, ':');
        int line = 0;
        double factor = 0;
        if (f.size() != 2 || !toInt(f[0], 0, 255, line) || !toDouble(f[1], 0.01, 100, factor)) {
            error = "bad rx coupling '" + item + "' (want <rx line>:<factor>)";
            return false;
        }
        out[line] = factor;
    }
    return true;
}

bool parseFlag(const std::string& value, bool& out, std::string& error) {
    int v = 0;
    if (!toInt(value, 0, 1, v)) {
        error = "bad value '" + value + "' (want 0 or 1)";
        return false;
    }
    out = v != 0;
    return true;
}

bool parseCount(const std::string& value, int lo, int& out, std::string& error) {
    if (!toInt(value, lo < 0 ? 0 : lo, 1000000, out)) {
        error = "bad count '" + value + "'";
        return false;
    }
    return true;
}

}  // namespace

int chipPins(ChipModel chip, bool tx) {
    switch (chip) {
        case ChipModel::T320:
            return tx ? 80 : 128;
        case ChipModel::T324:
            return tx ? 48 : 84;
        case ChipModel::T3300:
            break;
    }
    return tx ? 64 : 100;
}

bool applyPanelKey(Profile& p, const std::string& k, const std::string& v, std::string& error) {
    PanelDescription& s = p.panel;
    if (k == "panel_seed") {
        int seed = 0;
        if (!toInt(v, 0, 999999999, seed)) error = "bad seed '" + v + "'";
        s.seed = static_cast<unsigned>(seed);
    } else if (k == "wired_tx" || k == "wired_rx") {
        parseWiring(p, v, k == "wired_tx", error);
    } else if (k == "open_tx" || k == "open_rx") {
        parseLines(v, k == "open_tx" ? s.openTx : s.openRx, error);
    } else if (k == "weak_edge") {
        parseFlag(v, s.weakEdge, error);
    } else if (k == "uneven") {
        parseFlag(v, s.uneven, error);
    } else if (k == "no_wired_pins") {
        parseFlag(v, s.noWiredPins, error);
    } else if (k == "wiring_unknown") {
        parseFlag(v, s.wiringUnknown, error);
    } else if (k == "calibration_unreadable") {
        parseFlag(v, s.calibrationUnreadable, error);
    } else if (k == "signal_scale") {
        if (!toDouble(v, 0.001, 1000, s.signalScale)) error = "bad signal scale '" + v + "'";
    } else if (k == "flat") {
        parseFlag(v, s.flat, error);
    } else if (k == "rx_coupling") {
        parseRxCoupling(v, s.rxCoupling, error);
    } else if (k == "chip_gain") {
        s.chipGain.clear();
        for (const auto& item : split(v, ',')) {
            double g = 0;
            if (!toDouble(item, 0.2, 5, g)) {
                error = "bad chip gain '" + item + "' (want 0.2 to 5)";
                break;
            }
            s.chipGain.push_back(g);
        }
    } else if (k == "noise_source") {
        parseNoise(v, s.noiseSources, error);
    } else if (k == "short") {
        parseShorts(v, s.shorts, error);
    } else if (k == "finger") {
        const auto f = split(v, ',');
        Finger finger;
        if (f.size() != 2 || !toInt(f[0], 0, 255, finger.tx) || !toInt(f[1], 0, 255, finger.rx))
            error = "bad finger '" + v + "' (want <tx>,<rx>)";
        s.finger = finger;
    } else if (k == "finger_from_frame") {
        if (!s.finger)
            error = "finger_from_frame needs a finger line before it";
        else
            parseCount(v, 0, s.finger->fromFrame, error);
    } else if (k == "touch_keys") {
        if (!toInt(v, 0, 29, s.keys.count)) error = "bad touch_keys '" + v + "' (want 0..29)";
    } else if (k == "key_pressed") {
        if (!toInt(v, 0, 28, s.keys.pressed)) error = "bad key_pressed '" + v + "' (want 0..28)";
    } else if (k == "list_bursts") {
        if (v != "on" && v != "off") error = "bad list_bursts '" + v + "' (want on or off)";
        s.keys.listBursts = v == "on";
    } else if (k == "missing_report_in_frame") {
        parseCount(v, 1, s.stream.missingReportInFrame, error);
    } else if (k == "frames_stop_after") {
        parseCount(v, 0, s.stream.framesStopAfter, error);
    } else if (k == "afe_burst") {
        if (v == "missing")
            s.stream.afeBurstMissing = true;
        else if (v == "truncated")
            s.stream.afeBurstTruncated = true;
        else if (v != "whole")
            error = "bad afe_burst '" + v + "' (want whole, missing or truncated)";
    } else if (k == "short_burst") {
        if (v == "missing")
            s.stream.shortBurstMissing = true;
        else if (v == "truncated")
            s.stream.shortBurstTruncated = true;
        else if (v != "whole")
            error = "bad short_burst '" + v + "' (want whole, missing or truncated)";
    } else {
        return false;
    }
    return true;
}

std::string wiringText(const Profile& p, bool tx) {
    std::string text;
    for (int i = 0; i < p.chipCount && i < 4; ++i) {
        const ChipRange& r = p.ranges[static_cast<size_t>(i)];
        if (!text.empty()) text += ',';
        text += std::to_string(i) + ':' + std::to_string(tx ? r.txStart : r.rxStart) + '-' +
                std::to_string(tx ? r.txEnd : r.rxEnd);
    }
    return text;
}

std::string linesText(const std::set<int>& lines) {
    std::string text;
    for (int line : lines) text += (text.empty() ? "" : ",") + std::to_string(line);
    return text;
}

std::string noiseSourcesText(const std::vector<NoiseSource>& sources) {
    std::string text;
    for (const auto& s : sources) {
        char item[96];
        std::snprintf(item, sizeof item, "%s%g:%g:%g", text.empty() ? "" : ",", s.kHz, s.amplitude,
                      s.widthKHz);
        text += item;
        if (!s.everyLine())
            text += ":rx" + std::to_string(s.rxFirst) + "-" + std::to_string(s.rxLast);
    }
    return text;
}

std::string shortsText(const std::vector<PanelShort>& shorts) {
    std::string text;
    for (const auto& s : shorts) text += (text.empty() ? "" : ",") + s.text;
    return text;
}

}  // namespace sim
