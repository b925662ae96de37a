#include "params/CParam_HW.h"

#include <algorithm>

#include "params/CParam_Pen.h"
#include "shell/BuilderLog.h"
#include "shell/Controller.h"

namespace {
constexpr ParamExtensions kExtensions{".hwt", ".hw", ".hwr"};
}

int CParam_HW::InitFileName() {
    return BuildFileNames(kExtensions) ? 1 : 0;
}

int CParam_HW::InitDefaultFileName() {
    BuildDefaultFileNames(kExtensions);
    return 0;
}

// Nonzero is failure for this set.
int CParam_HW::LoadDefault() {
    ReportNotAvailable("The default hardware parameter set");
    return 1;
}

int CParam_HW::LoadTxtFile() {
    ReportNotAvailable("Loading a hardware parameter text file");
    return 0;
}

int CParam_HW::SaveTxtFile() {
    ReportNotAvailable("Saving a hardware parameter text file");
    return kParamNotAvailable;
}

int CParam_HW::LoadRegFile() {
    ReportNotAvailable("Loading a hardware register file");
    return 0;
}

int CParam_HW::SaveRegFile() {
    ReportNotAvailable("Saving a hardware register file");
    return kParamNotAvailable;
}

int CParam_HW::ApplyScalingOffsets() {
    ReportNotAvailable("Adjusting the hardware parameters");
    return 1;
}

bool CParam_HW::EnsurePenSet() {
    if (!UsesStylus()) return false;
    CParam_Pen& pen = Owner()->Pen();
    if (pen.IsDumped()) return true;
    if (!pen.InitFileName()) {
        MainLog().Print(kColourError, kRouteBoth, "Init Pen Setting File Name Fail!\n");
        return false;
    }
    if (pen.DumpFromDevice() != kParamOk) {
        MainLog().Print(kColourError, kRouteBoth, "Initialize Pen Parameters Failed!\n");
    }
    return true;
}

void CParam_HW::KeepFirstRead() {
    std::copy_n(Image(), kImageLength, firstRead_.begin());
    firstReadValid_ = true;
}
