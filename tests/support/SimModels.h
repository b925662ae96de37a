// The simulated controller's built-in models as test parameters. A test that concerns every
// model, or every model with a feature, takes its list from here, so a model the simulator gains
// is covered at once and no test keeps its own copy of the list.
#pragma once

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sim/Profile.h"

namespace testsupport {

struct SimModel {
    std::string name;  // the profile name: DEVLINK=sim:<name>
    int typeCode = 0;
    sim::ChipModel chip = sim::ChipModel::T3300;
    int chips = 1;
    bool stylus = false;  // the hardware set scans for a stylus
    uint8_t kernelMajor = 0, kernelMinor = 0;
    std::string project;  // the last four characters of the reported model name ("P094")
    std::string stem;     // project and product number: the parameter files' names ("P094_C05E")
};

inline std::ostream& operator<<(std::ostream& os, const SimModel& m) {
    return os << m.name;
}

// Every built-in model, in the simulator's table order.
inline std::vector<SimModel> SimModels() {
    std::vector<SimModel> models;
    for (const std::string& name : sim::builtinModelNames()) {
        const std::optional<sim::Profile> p = sim::builtinProfile(name);
        if (!p) continue;
        SimModel m;
        m.name = name;
        m.typeCode = p->typeCode;
        m.chip = p->chip;
        m.chips = p->chipCount;
        m.stylus = (p->scanCtrl & 0x0608) != 0;  // scan control bits 3, 9 and 10
        m.kernelMajor = p->kernelMajor;
        m.kernelMinor = p->kernelMinor;
        m.project = p->modelName.size() >= 4 ? p->modelName.substr(p->modelName.size() - 4) : "";
        char number[8];
        std::snprintf(number, sizeof number, "_%04X", p->id2);
        m.stem = m.project + number;
        models.push_back(m);
    }
    return models;
}

// The built-in models with a feature.
inline std::vector<SimModel> SimModelsWhere(const std::function<bool(const SimModel&)>& has) {
    std::vector<SimModel> models;
    for (const SimModel& m : SimModels()) {
        if (has(m)) models.push_back(m);
    }
    return models;
}

inline std::function<bool(const SimModel&)> OnChip(sim::ChipModel chip) {
    return [chip](const SimModel& m) { return m.chip == chip; };
}
inline bool WithTwoChips(const SimModel& m) {
    return m.chips == 2;
}
inline bool WithStylus(const SimModel& m) {
    return m.stylus;
}
// Kernel major.minor at least the given one.
inline std::function<bool(const SimModel&)> KernelFrom(int major, int minor) {
    return [=](const SimModel& m) {
        return m.kernelMajor * 1000 + m.kernelMinor >= major * 1000 + minor;
    };
}

// A test name part from a model: the name with anything but letters and digits made '_'.
inline std::string TestName(const SimModel& m) {
    std::string name = m.name;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

}  // namespace testsupport
