#include "tune/SignalAdjust.h"

#include "params/CParam.h"

bool AdjustSignal(DiagHost&, int, int&) {
    ReportNotAvailable("Adjusting the signal");
    return false;
}

bool MeasureOpenMutualScaling(DiagHost&) {
    ReportNotAvailable("Measuring the open and mutual scaling");
    return false;
}

bool CalculateScaling(DiagHost&) {
    ReportNotAvailable("Calculating the open scaling");
    return false;
}
