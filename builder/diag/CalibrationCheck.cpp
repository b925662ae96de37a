#include "diag/CalibrationCheck.h"

#include "params/CParam.h"

uint32_t CheckCalibration(DiagHost&) {
    ReportNotAvailable("The calibration check");
    return 3;
}
