// A simulated controller's description: one built-in profile per supported model, optionally
// changed by a profile file (key = value lines) that also switches faults on.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sim/PanelDescription.h"

namespace sim {

enum class ChipModel { T320, T324, T3300 };

struct ChipRange {
    uint8_t txStart = 0, txEnd = 0, rxStart = 0, rxEnd = 0;
};

// A register that does not read back what was written.
struct RegisterFault {
    int chip = 0;
    int bank = 0;
    int reg = 0;
    int flipBit = -1;  // -1: writes are ignored; 0..7: this bit reads back inverted
};

// How a request listed in `fail` is answered. Malformed: the operation is carried out, but its
// reply carries one data report more than the request asked for.
enum class FailAnswer { Failed, Refused, Unknown, BadRequest, Malformed };

struct Faults {
    bool openFails = false;
    // Operation names (per-record names such as "info3", "ic_info", or "all") and their answer.
    std::map<std::string, FailAnswer> failedQueries;
    std::set<std::string> silentOps;  // the same names: requests never answered
    std::set<uint16_t> refusedModes;
    bool restartFails = false;
    bool frequencyDoesNotStick = false;
    std::set<int> badChecksum;          // block types whose stored image fails its checksum
    std::map<int, uint32_t> shortRead;  // block type -> bytes a read returns at most
    std::set<int> refusedWrites;        // block types whose writes are refused
    std::vector<RegisterFault> registers;
    std::set<int> registerReadFails;  // chips whose register reads fail
    int disconnectAfter = 0;          // requests answered before the disconnect notice; 0 never
    bool malformedReports = false;    // every streamed burst starts with a malformed report
};

struct Profile {
    std::string name;  // built-in model name the profile starts from
    int typeCode = 0;
    ChipModel chip = ChipModel::T3300;
    int chipCount = 1;  // physical sensing chips
    std::array<ChipRange, 4> ranges{};
    int firstChipPinOffset = 0;  // chip 0 keeps pin p's data at position p + this
    int controllers = 1;  // how many controllers enumeration reports
    uint32_t inputLength = 64;
    uint32_t outputLength = 64;
    uint16_t id1 = 0x2A7E;
    uint16_t id2 = 0xC000;
    std::string modelName, typeName, versionText, subName;
    uint8_t kernelMajor = 5, kernelMinor = 120;
    uint8_t hwVersion = 13, swVersion = 26, penVersion = 14;
    uint32_t errorFlags = 0;
    uint16_t scanCtrl = 0x0021;
    uint8_t calibration = 100;  // info-block calibration value of every Rx chip
    int frameIntervalMs = 20;   // pause between streamed image frames
    int infoIntervalMs = 15;    // pause between touch or stylus information reports
    int replyDelayMs = 0;       // a slow controller: each reply comes this long after its request
    std::vector<std::string> touchPath;  // parts of the scripted hand; empty: nobody touches
    int touchIntervalMs = 10;            // pause between point reports while a path plays
    Faults faults;
    PanelDescription panel;
};

// The names of the built-in models, in type-code order of the model table.
std::vector<std::string> builtinModelNames();

// A built-in model by name ("K7P100") or by type code ("94").
std::optional<Profile> builtinProfile(const std::string& name);

// Parses profile text; `error` says what is wrong when it returns nothing.
std::optional<Profile> parseProfile(const std::string& text, std::string& error);

// A model name, or the path of a profile file.
std::optional<Profile> loadProfile(const std::string& profileName, std::string& error);

}  // namespace sim
