#include "diag/ShortTests.h"

#include "params/CParam.h"

uint32_t ShortTest(DiagHost&) {
    ReportNotAvailable("The short test");
    return 8;
}

uint32_t ShortTestClassified(DiagHost&, bool) {
    ReportNotAvailable("The short test");
    return 8;
}
