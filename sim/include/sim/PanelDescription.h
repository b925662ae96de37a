// The sensor panel a simulated controller measures, as a profile describes it: its wiring to the
// chips (the profile's channel runs), the seed of its variations and noise, its faults, the noise
// sources around it and a finger on it. Every field has a default that makes a healthy panel.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sim {

struct NoiseSource {
    double kHz = 0;
    double amplitude = 0;  // AFE units at RS 8 and AFE gain 20
    double widthKHz = 5;
    // The Rx panel lines the source couples into; rxFirst -1: every line, Tx lines included.
    int rxFirst = -1, rxLast = -1;

    bool everyLine() const { return rxFirst < 0; }
    bool reachesRx(int line) const {
        return line >= 0 && (everyLine() || (line >= rxFirst && line <= rxLast));
    }
};

struct PanelShort {
    char kind = 'r';  // 'r' Rx line, 't' Tx line
    int line = 0;
    enum Partner { Line, Vdd, Gnd } partner = Line;
    int other = 0;     // the other line when partner is Line
    std::string text;  // as the profile gave it ("rx3-rx7")
};

struct Finger {
    int tx = 0, rx = 0;
    int fromFrame = 0;  // the finger lands on this frame (0-based) of every image stream
};

// The touch keys beside the sensor, which image frames report after their last row.
struct TouchKeys {
    int count = 0;     // 0: none
    int pressed = -1;  // the key a finger holds down; -1: none
    bool listBursts = false;  // image streams send a list burst after each frame
};

// Faults of the streamed data, not of the panel.
struct StreamFaults {
    int missingReportInFrame = 0;  // this frame (1-based) of every image stream lacks a report
    int framesStopAfter = -1;      // an image stream sends this many frames, then nothing; -1 all
    bool afeBurstMissing = false;
    bool afeBurstTruncated = false;  // the burst's last row never comes
    bool shortBurstMissing = false;    // a short test is answered, but no reports follow
    bool shortBurstTruncated = false;  // its completion report never comes
};

struct PanelDescription {
    unsigned seed = 1;
    std::set<int> openTx, openRx;  // panel lines with no coupling
    bool weakEdge = false;         // the edge lines 40 % weaker
    bool uneven = false;           // coupling rising 2.5-fold across the Rx lines
    bool noWiredPins = false;      // nothing couples anywhere
    // The factory hardware set does not know the wiring: its channel ranges are the chips' usable
    // runs (a panel whose pins are still to be found).
    bool wiringUnknown = false;
    double signalScale = 1.0;      // every cell's coupling times this ("too strong", "too weak")
    bool flat = false;             // every cell couples exactly 1.0: no spread, no weaker edges
    std::map<int, double> rxCoupling;  // Rx panel line -> its cells' coupling times this
    std::vector<double> chipGain;  // gain error k per chip (default 1.0)
    bool calibrationUnreadable = false;
    std::vector<NoiseSource> noiseSources;
    std::vector<PanelShort> shorts;
    std::optional<Finger> finger;
    TouchKeys keys;
    StreamFaults stream;

    double gainOf(int chip) const {
        return chip >= 0 && chip < static_cast<int>(chipGain.size()) ? chipGain[chip] : 1.0;
    }
};

}  // namespace sim
