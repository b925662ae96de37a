#include "params/CParam_Pen.h"

namespace {
constexpr ParamExtensions kExtensions{".pwt", ".pw", ".pwr"};
}

int CParam_Pen::InitFileName() {
    return BuildFileNames(kExtensions) ? 1 : 0;
}

int CParam_Pen::InitDefaultFileName() {
    BuildDefaultFileNames(kExtensions);
    return 0;
}

// Zero is failure for this set.
int CParam_Pen::LoadDefault() {
    ReportNotAvailable("The default stylus parameter set");
    return 0;
}

int CParam_Pen::LoadTxtFile() {
    ReportNotAvailable("Loading a stylus parameter text file");
    return 0;
}

int CParam_Pen::SaveTxtFile() {
    ReportNotAvailable("Saving a stylus parameter text file");
    return kParamNotAvailable;
}

int CParam_Pen::LoadRegFile() {
    ReportNotAvailable("Loading a stylus register file");
    return 0;
}

int CParam_Pen::SaveRegFile() {
    ReportNotAvailable("Saving a stylus register file");
    return kParamNotAvailable;
}
