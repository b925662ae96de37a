#include "sim/Profile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

#include "PanelProfile.h"
#include "RequestFaults.h"
#include "TouchScript.h"

namespace sim {
namespace {

struct ModelRow {
    const char* name;
    int typeCode;
    ChipModel chip;
    int chips;
    const char* project;  // the last four characters of the reported model name
    std::array<ChipRange, 4> ranges;
    uint16_t scanCtrl;  // of the factory hardware set; bits 3, 9, 10: the controller has a stylus
    int firstChipPinOffset = 0;
};

// Wired pin runs per chip; every run lies inside the chip's usable pins.
const ModelRow kModels[] = {
    {"K7P100", 94, ChipModel::T3300, 1, "P094", {{{2, 41, 3, 72}}}, 0x00E5},
    {"K7P80", 158, ChipModel::T3300, 1, "P158", {{{0, 31, 0, 55}}}, 0x00E5, 5},
    {"K9P100", 164, ChipModel::T3300, 2, "P164", {{{0, 39, 1, 70}, {0, 39, 1, 70}}}, 0x00E5},
    {"K9P80", 166, ChipModel::T3300, 2, "P166", {{{0, 31, 0, 55}, {0, 31, 1, 56}}}, 0x00E5, 5},
    {"K9PM100", 172, ChipModel::T3300, 2, "P172", {{{0, 47, 1, 84}, {0, 47, 1, 84}}}, 0x02E5},
    {"K7P128", 96, ChipModel::T320, 1, "P096", {{{0, 63, 0, 111}}}, 0x00E5},
    {"6310_K7P", 160, ChipModel::T320, 1, "P160", {{{0, 47, 0, 79}}}, 0x00E5},
    {"K7P84", 176, ChipModel::T324, 1, "P176", {{{0, 39, 0, 63}}}, 0x00ED},
};

Profile fromRow(const ModelRow& row) {
    Profile p;
    p.name = row.name;
    p.typeCode = row.typeCode;
    p.chip = row.chip;
    p.chipCount = row.chips;
    p.ranges = row.ranges;
    p.firstChipPinOffset = row.firstChipPinOffset;
    p.id2 = static_cast<uint16_t>(0xC000 + row.typeCode);
    p.modelName = std::string("TVX-") + row.name + "-" + row.project;
    p.typeName = std::string("TC-") + row.name;
    p.versionText = "V5.120.07";
    p.subName = std::string(row.name) + "-EVB";
    p.scanCtrl = row.scanCtrl;
    return p;
}

std::string trim(std::string s) {
    auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    s.erase(s.begin(), std::find_if(s.begin(), s.end(), notSpace));
    s.erase(std::find_if(s.rbegin(), s.rend(), notSpace).base(), s.end());
    return s;
}

std::vector<std::string> splitList(const std::string& value, char sep = ',') {
    std::vector<std::string> items;
    std::stringstream in(value);
    std::string item;
    while (std::getline(in, item, sep)) {
        item = trim(item);
        if (!item.empty()) items.push_back(item);
    }
    return items;
}

// Decimal or 0x-prefixed hexadecimal, whole text, within [lo, hi].
bool parseNumber(const std::string& text, long long lo, long long hi, long long& out) {
    std::string s = trim(text);
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s = s.substr(2);
    }
    if (s.empty()) return false;
    long long v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool parseBlockType(const std::string& name, int& type) {
    static const std::map<std::string, int> kTypes = {
        {"sw", 0}, {"hw", 1}, {"table", 2}, {"pen", 3}};
    auto it = kTypes.find(name);
    if (it == kTypes.end()) return false;
    type = it->second;
    return true;
}

// Fields of one "a:b:c" item as numbers.
bool parseFields(const std::string& item, std::vector<long long>& out, size_t count) {
    auto parts = splitList(item, ':');
    if (parts.size() != count) return false;
    out.clear();
    for (const auto& part : parts) {
        long long v = 0;
        if (!parseNumber(part, 0, 0xFFFF, v)) return false;
        out.push_back(v);
    }
    return true;
}

class Parser {
  public:
    Parser(Profile& p, std::string& error) : p_(p), error_(error) {}

    bool apply(const std::string& key, const std::string& value) {
        if (applyIdentity(key, value) || applyNumbers(key, value)) return ok_;
        // A recognised key whose value is wrong has said so already: keep its message.
        if (applyFaults(key, value) || !ok_) return ok_;
        std::string panelError;
        if (applyPanelKey(p_, key, value, panelError))
            return panelError.empty() ? ok_ : fail(panelError);
        return fail("unknown key '" + key + "'");
    }

  private:
    bool fail(const std::string& what) {
        error_ = what;
        ok_ = false;
        return false;
    }

    bool applyIdentity(const std::string& key, const std::string& value) {
        std::string* field = key == "model_name"  ? &p_.modelName
                             : key == "type_name" ? &p_.typeName
                             : key == "version"   ? &p_.versionText
                             : key == "sub_name"  ? &p_.subName
                                                  : nullptr;
        if (!field) return false;
        if (value.size() > 63) fail(key + " is longer than 63 characters");
        *field = value;
        return true;
    }

    template <typename T>
    void number(const std::string& key, const std::string& value, long long lo, long long hi,
                T& out) {
        long long v = 0;
        if (!parseNumber(value, lo, hi, v)) {
            fail("bad value '" + value + "' for " + key);
            return;
        }
        out = static_cast<T>(v);
    }

    bool applyNumbers(const std::string& k, const std::string& v) {
        if (k == "type_code")
            number(k, v, 0, 255, p_.typeCode);
        else if (k == "controllers")
            number(k, v, 0, 2, p_.controllers);
        else if (k == "report_length") {
            number(k, v, 1, 1024, p_.inputLength);
            p_.outputLength = p_.inputLength;
        } else if (k == "id1")
            number(k, v, 0, 0xFFFF, p_.id1);
        else if (k == "id2")
            number(k, v, 0, 0xFFFF, p_.id2);
        else if (k == "kernel_major")
            number(k, v, 0, 255, p_.kernelMajor);
        else if (k == "kernel_minor")
            number(k, v, 0, 255, p_.kernelMinor);
        else if (k == "hw_version")
            number(k, v, 0, 255, p_.hwVersion);
        else if (k == "sw_version")
            number(k, v, 0, 255, p_.swVersion);
        else if (k == "pen_version")
            number(k, v, 0, 255, p_.penVersion);
        else if (k == "error_flags")
            number(k, v, 0, 0xFFFFFFFFLL, p_.errorFlags);
        else if (k == "calibration")
            number(k, v, 0, 255, p_.calibration);
        else if (k == "frame_interval_ms")
            number(k, v, 0, 10000, p_.frameIntervalMs);
        else if (k == "info_interval_ms")
            number(k, v, 0, 10000, p_.infoIntervalMs);
        else if (k == "reply_delay_ms")
            number(k, v, 0, 10000, p_.replyDelayMs);
        else if (k == "touch_interval_ms")
            number(k, v, 1, 1000, p_.touchIntervalMs);
        else if (k == "touch_path")
            touchPath(v);
        else
            return false;
        return true;
    }

    void touchPath(const std::string& value) {
        p_.touchPath.clear();
        for (const auto& part : splitList(value)) {
            if (part == "none") continue;
            if (!isTouchPathPart(part)) {
                fail("unknown touch_path part '" + part + "'");
                return;
            }
            p_.touchPath.push_back(part);
        }
    }

    bool flag(const std::string& key, const std::string& value, bool& out) {
        int v = 0;
        number(key, value, 0, 1, v);
        out = v != 0;
        return true;
    }

    bool blockTypes(const std::string& value, std::set<int>& out) {
        for (const auto& item : splitList(value)) {
            int type = 0;
            if (!parseBlockType(item, type)) return fail("unknown block type '" + item + "'");
            out.insert(type);
        }
        return true;
    }

    bool applyFaults(const std::string& k, const std::string& v) {
        Faults& f = p_.faults;
        if (k == "open_fails") return flag(k, v, f.openFails);
        if (k == "restart_fails") return flag(k, v, f.restartFails);
        if (k == "frequency_does_not_stick") return flag(k, v, f.frequencyDoesNotStick);
        if (k == "malformed_reports") return flag(k, v, f.malformedReports);
        if (k == "disconnect_after") {
            number(k, v, 0, 1000000, f.disconnectAfter);
            return true;
        }
        if (k == "fail") {
            for (const auto& item : splitList(v)) {
                const auto colon = item.find(':');
                const std::string op = item.substr(0, colon);
                const auto answer = colon == std::string::npos
                                        ? std::optional<FailAnswer>(FailAnswer::Failed)
                                        : parseFailAnswer(item.substr(colon + 1));
                if (!isFaultOperationName(op)) return fail("unknown operation '" + op + "'");
                if (!answer) return fail("bad answer in '" + item + "'");
                f.failedQueries[op] = *answer;
            }
            return true;
        }
        if (k == "no_reply") {
            for (const auto& op : splitList(v)) {
                if (!isFaultOperationName(op)) return fail("unknown operation '" + op + "'");
                f.silentOps.insert(op);
            }
            return true;
        }
        if (k == "refuse_mode") {
            for (const auto& item : splitList(v)) {
                long long mode = 0;
                if (!parseNumber(item, 0, 0xFFFF, mode)) return fail("bad mode '" + item + "'");
                f.refusedModes.insert(static_cast<uint16_t>(mode));
            }
            return true;
        }
        if (k == "bad_checksum") return blockTypes(v, f.badChecksum);
        if (k == "refuse_write") return blockTypes(v, f.refusedWrites);
        if (k == "short_read") return applyShortRead(v);
        if (k == "register_ignores_write" || k == "register_flips_bit") return applyRegister(k, v);
        if (k == "register_read_fails") {
            for (const auto& item : splitList(v)) {
                long long chip = 0;
                if (!parseNumber(item, 0, 3, chip)) return fail("bad chip '" + item + "'");
                f.registerReadFails.insert(static_cast<int>(chip));
            }
            return true;
        }
        return false;
    }

    bool applyShortRead(const std::string& value) {
        for (const auto& item : splitList(value)) {
            auto parts = splitList(item, ':');
            int type = 0;
            long long count = 0;
            if (parts.size() != 2 || !parseBlockType(parts[0], type) ||
                !parseNumber(parts[1], 0, 32768, count))
                return fail("bad short_read item '" + item + "' (want type:count)");
            p_.faults.shortRead[type] = static_cast<uint32_t>(count);
        }
        return true;
    }

    bool applyRegister(const std::string& key, const std::string& value) {
        const bool flips = key == "register_flips_bit";
        for (const auto& item : splitList(value)) {
            std::vector<long long> n;
            if (!parseFields(item, n, flips ? 4 : 3) || n[0] > 3 || n[1] > 3 || n[2] > 1023 ||
                (flips && n[3] > 7))
                return fail("bad " + key + " item '" + item + "'");
            RegisterFault rf{static_cast<int>(n[0]), static_cast<int>(n[1]), static_cast<int>(n[2]),
                             flips ? static_cast<int>(n[3]) : -1};
            p_.faults.registers.push_back(rf);
        }
        return true;
    }

    Profile& p_;
    std::string& error_;
    bool ok_ = true;
};

}  // namespace

std::vector<std::string> builtinModelNames() {
    std::vector<std::string> names;
    for (const auto& row : kModels) names.emplace_back(row.name);
    return names;
}

std::optional<Profile> builtinProfile(const std::string& name) {
    for (const auto& row : kModels) {
        if (name == row.name || name == std::to_string(row.typeCode)) return fromRow(row);
    }
    return std::nullopt;
}

std::optional<Profile> parseProfile(const std::string& text, std::string& error) {
    std::optional<Profile> profile;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        const auto hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        line = trim(line);
        if (line.empty()) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            error = "line " + std::to_string(lineNo) + ": expected key = value";
            return std::nullopt;
        }
        const std::string key = trim(line.substr(0, eq));
        const std::string value = trim(line.substr(eq + 1));
        if (!profile) {
            if (key != "model") {
                error = "line " + std::to_string(lineNo) + ": the first key must be 'model'";
                return std::nullopt;
            }
            profile = builtinProfile(value);
            if (!profile) {
                error = "line " + std::to_string(lineNo) + ": unknown model '" + value + "'";
                return std::nullopt;
            }
            continue;
        }
        Parser parser(*profile, error);
        if (!parser.apply(key, value)) {
            error = "line " + std::to_string(lineNo) + ": " + error;
            return std::nullopt;
        }
    }
    if (!profile) error = "the profile names no model";
    return profile;
}

std::optional<Profile> loadProfile(const std::string& profileName, std::string& error) {
    if (auto builtin = builtinProfile(profileName)) return builtin;
    std::ifstream file(profileName);
    if (!file) {
        error = "no built-in model and no readable profile file named '" + profileName + "'";
        return std::nullopt;
    }
    std::stringstream text;
    text << file.rdbuf();
    return parseProfile(text.str(), error);
}

}  // namespace sim
