#include "params/CParam_SW.h"

namespace {
constexpr ParamExtensions kExtensions{".swt", ".sw", ""};
}

int CParam_SW::InitFileName() {
    return BuildFileNames(kExtensions) ? 1 : 0;
}

int CParam_SW::InitDefaultFileName() {
    BuildDefaultFileNames(kExtensions);
    return 0;
}

// Zero is failure for this set.
int CParam_SW::LoadDefault() {
    ReportNotAvailable("The default software parameter set");
    return 0;
}

int CParam_SW::LoadTxtFile() {
    ReportNotAvailable("Loading a software parameter text file");
    return 0;
}

int CParam_SW::SaveTxtFile() {
    ReportNotAvailable("Saving a software parameter text file");
    return kParamNotAvailable;
}

int CParam_SW::UniformityParameter() const {
    return Word(kThresholdBlockOffset + kUniformityInBlock);
}

int CParam_SW::PrepareForDownload() {
    ReportNotAvailable("Preparing a software parameter set for download");
    return 1;
}

bool CParam_SW::SetThresholdsFromOptions() {
    ReportNotAvailable("Setting the software thresholds");
    return false;
}
