#include "SimulatedControllers.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <devlink/devlink.h>

#include "FuzzSupport.h"
#include "device/DevLinkApi.h"
#include "params/CParam_HW.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"
#include "files/ParamIndex.h"
#include "controller/Controller.h"
#include "core/BuilderOptions.h"
#include "core/ModelTable.h"

namespace fuzz {
namespace {

struct Opened {
    // Declared first: the controller reads it until it is destroyed, and it must not move.
    std::unique_ptr<BuilderOptions> options;
    std::unique_ptr<CController> controller;
    std::vector<uint8_t> hw, sw, pen;
};

std::vector<uint8_t> ImageOf(const CParam& set) {
    return {set.Image(), set.Image() + set.ImageLength()};
}

void PutImage(CParam& set, const std::vector<uint8_t>& image) {
    std::copy(image.begin(), image.end(), set.Image());
}

Opened Open(const ModelRow& model) {
    const std::string& folder = EnterScratchFolder();
    // The simulator reads its selection from the environment when enumerating.
    setenv("DEVLINK", (std::string("sim:") + model.name).c_str(), 1);
    unsetenv("DEVLINK_SIM_STATE");
    unsetenv("DEVLINK_SIM_TRACE");
    DevRecord record{};
    devEnumerate(
        nullptr,
        [](DevRecord* r, const char*, void* context, uint32_t, uint32_t, uint16_t, uint16_t) {
            *static_cast<DevRecord*>(context) = *r;
            return 1;
        },
        &record);
    if (record.path[0] == '\0') Finding(std::string("no simulated ") + model.name);
    DevHandle handle = devOpen(record);
    if (handle == nullptr) Finding(std::string("cannot open the simulated ") + model.name);

    Opened opened;
    opened.options = std::make_unique<BuilderOptions>();
    opened.options->folders.workingFolder = folder;
    opened.controller = std::make_unique<CController>(RealDevLink(), handle, record, model.typeCode,
                                                      model.name, *opened.options);
    CController& c = *opened.controller;
    c.CreateObjects();
    try {
        c.Initialise();
    } catch (...) {
        Finding(std::string("the simulated ") + model.name + " does not initialise");
    }
    opened.hw = ImageOf(c.Hw());
    opened.sw = ImageOf(c.Sw());
    opened.pen = ImageOf(c.Pen());
    return opened;
}

std::map<int, Opened>& OpenedControllers() {
    static std::map<int, Opened> opened;
    return opened;
}

}  // namespace

CController& SimulatedController(int typeCode) {
    const ModelRow* model = FindModel(typeCode);
    if (model == nullptr) model = &SupportedModels().front();
    auto& opened = OpenedControllers();
    auto it = opened.find(model->typeCode);
    if (it == opened.end()) it = opened.emplace(model->typeCode, Open(*model)).first;
    return *it->second.controller;
}

int NamedTypeCode(std::string_view text) {
    static constexpr std::string_view kKey = "ControllerType";
    const std::size_t key = text.find(kKey);
    if (key == std::string_view::npos) return -1;
    std::string_view rest = ParamIndex::TrimBlanks(text.substr(key + kKey.size()));
    if (rest.empty() || rest.front() != '=') return -1;
    const std::size_t end = rest.find('\n');
    return ParamIndex::LeadingDecimal(
        ParamIndex::TrimBlanks(rest.substr(1, end == rest.npos ? end : end - 1)));
}

BuilderOptions& OptionsOf(CController& controller) {
    return *OpenedControllers().at(controller.TypeCode()).options;
}

void RestoreSets(CController& controller) {
    const Opened& opened = OpenedControllers().at(controller.TypeCode());
    PutImage(controller.Hw(), opened.hw);
    PutImage(controller.Sw(), opened.sw);
    PutImage(controller.Pen(), opened.pen);
}

}  // namespace fuzz
