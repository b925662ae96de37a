// The wired pin runs of the simulator's truth file, as a test compares them with stored ranges.
#pragma once

#include <sstream>
#include <string>
#include <vector>

struct PinRun {
    int chip, first, last;
};

// "0:2-41,1:0-39" as runs per chip.
inline std::vector<PinRun> WiredRuns(const std::string& text) {
    std::vector<PinRun> runs;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        PinRun r{};
        char colon = 0, dash = 0;
        std::stringstream(item) >> r.chip >> colon >> r.first >> dash >> r.last;
        runs.push_back(r);
    }
    return runs;
}
