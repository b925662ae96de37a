#include "params/CParam_INI.h"

#include <cstdio>

#include "shell/Controller.h"

int CParam_INI::InitFileName() {
    const std::string& model = Owner()->ReportedModelName();
    if (model == "N/A" || model.size() < 4) return 0;
    std::string name = "GXXX_C000.ini";
    if (!Owner()->Options().fixedNameMode) {
        char number[8];
        std::snprintf(number, sizeof number, "_%04X", Owner()->ProductNumber());
        name = model.substr(model.size() - 4) + number + ".ini";
    }
    SetFileNames(name, "", "");
    return 1;
}

int CParam_INI::InitDefaultFileName() {
    SetFileNames(Owner()->Options().fixedNameMode ? "GXXX_Default.ini" : "K7PXXX_Default.ini", "",
                 "");
    return 1;
}

int CParam_INI::LoadTxtFile() {
    ReportNotAvailable("Loading the tuning and test settings file");
    return kParamNotAvailable;
}

int CParam_INI::SaveTxtFile() {
    ReportNotAvailable("Saving the tuning and test settings file");
    return kParamNotAvailable;
}
