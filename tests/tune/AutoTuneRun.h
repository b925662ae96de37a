// A run of the tuning commands followed by dump_hw, and what a test reads from the stored set: its
// items by section, the image tuning records of frequency 0, and the optimal delay the simulated
// panel knows for the Tx line a phase target drives.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "TuneCommandRun.h"

// The hardware text file that dump_hw wrote, as "section/key" -> value.
using HwText = std::map<std::string, std::string>;

// A settings file that tunes the image under `rule`, keeping `frequencies` of the candidates.
inline std::string SettingsText(int rule, int frequencies, const std::string& workingFreqs,
                                bool waterLine) {
    std::string text = "[Tuning Parameter]\nNumsOfFreq = " + std::to_string(frequencies) + "\n" +
                       workingFreqs +
                       "\n[Tuning Parameter-RD]\nTuningRule = " + std::to_string(rule) +
                       "\n[---Image Parameter]\nEnableImageTune = 1\nAD_Level% = 15\nTouch% = 10\n"
                       "SignalLevel = 10\nNoiseResist = 7\n";
    if (waterLine) text += "[---WL Rx Parameter]\nEnableWaterLineTune = 1\n";
    return text;
}

class AutoTuneRun : public TuneCommandRun {
  protected:
    void UseSettings(const std::string& text) { std::ofstream(folder_ / "GXXX_C000.ini") << text; }

    HwText Dump() {
        const CommandRun run = Run({"-cdump_hw"});
        EXPECT_EQ(run.status, 0) << run.out;
        HwText items;
        std::ifstream in(folder_ / "GXXX_C000.hwt");
        std::string section;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line[0] == '[') {
                section = line.substr(1, line.find(']') - 1);
                continue;
            }
            const auto eq = line.find('='), semicolon = line.find(';');
            if (eq == std::string::npos || semicolon < eq) continue;
            items[section + "/" + Trimmed(line.substr(0, eq))] =
                Trimmed(line.substr(eq + 1, semicolon - eq - 1));
        }
        return items;
    }

    static int Value(const HwText& hw, const std::string& key) {
        const auto it = hw.find(key);
        if (it == hw.end()) {
            ADD_FAILURE() << "no item " << key;
            return -1000;
        }
        return std::atoi(it->second.c_str());
    }
    static std::string Record(const char* field, int k) {
        return "Freq-0 Img Parameters-RD/Img_" + std::string(field) + "(" + std::to_string(k) + ")";
    }

    // The optimal delay of the Tx line phase target k drives, as the panel knows it.
    int OptimalDelay(const HwText& hw, int k) {
        const TruthFile truth = Truth();
        const auto lines = truth.Numbers("frame_tx_lines");
        const auto delays = truth.Numbers("optimal_delay");
        const int channel = Value(hw, "Sensor Config-RD/PhaseTarget(" + std::to_string(k) + ")");
        if (channel < 0 || channel >= static_cast<int>(lines.size())) return -1000;
        return static_cast<int>(delays[static_cast<size_t>(lines[static_cast<size_t>(channel)])]);
    }

  private:
    static std::string Trimmed(std::string s) {
        const auto first = s.find_first_not_of(" \t\r");
        const auto last = s.find_last_not_of(" \t\r");
        return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
    }
};
