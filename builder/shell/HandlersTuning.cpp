// Handlers that measure, test, tune and adjust.
#include "shell/HandlersSteps.h"

namespace handlers {

using namespace steps;

namespace {

constexpr uint16_t kJbPinFinding = 1 << 0;
constexpr uint16_t kJbOpenTest = 1 << 1;
constexpr uint16_t kJbShortTest = 1 << 2;
constexpr uint16_t kJbSpreadFrequencies = 1 << 3;

uint32_t RunDiagnosticCommand(CHandlerOps& ops, uint32_t base, uint32_t mask, uint32_t resultBase) {
    ops.OpenTestLog(kCsvFile, "TovrexSensorTester");
    if (uint32_t r = LoadSettings(ops, base)) return r;
    if (uint32_t r = SwitchTo(ops, kModeDiagnostics, base)) return r;
    ops.SetTestMask(mask);
    if (uint32_t r = ops.RunDiagnostics()) return resultBase | r;
    return 0;
}

}  // namespace

uint32_t AutoTune(CHandlerOps& ops) {
    constexpr uint32_t base = 0x01200000;
    Progress(ops, 10);
    ops.OpenTestLog(kLogFile, "TuningLog");
    if (uint32_t r = LoadSettings(ops, base)) return r;
    if (!ops.AutoTune()) return base + 2;
    Progress(ops, 100);
    return 0;
}

uint32_t Test(CHandlerOps& ops) {
    constexpr uint32_t base = 0x01300000;
    ops.OpenTestLog(kLogFile, "TuningLog");
    if (uint32_t r = LoadSettings(ops, base)) return r;
    if (!ops.OpenNeighbourTest()) return base + 2;
    if (uint32_t r = ops.ShortTest()) return base | r;
    return 0;
}

uint32_t TestAndTune(CHandlerOps& ops) {
    if (uint32_t r = Test(ops)) return r;
    if (!ops.AutoTune()) return 0x01300004;
    return 0;
}

uint32_t Diag(CHandlerOps& ops) {
    return RunDiagnosticCommand(ops, 0x01400000, ops.Options().sensorTest.testMask, 0x01400000);
}
uint32_t DiagBasic(CHandlerOps& ops) {
    return RunDiagnosticCommand(ops, 0x01400000, 7, 0x02500000);
}
uint32_t DiagOpen(CHandlerOps& ops) {
    return RunDiagnosticCommand(ops, 0x01500000, 1, 0x01500000);
}
uint32_t DiagShort(CHandlerOps& ops) {
    return RunDiagnosticCommand(ops, 0x01600000, 2, 0x01600000);
}
uint32_t DiagMutual(CHandlerOps& ops) {
    return RunDiagnosticCommand(ops, 0x01700000, 4, 0x01700000);
}
uint32_t Calibrate(CHandlerOps& ops) {
    return RunDiagnosticCommand(ops, 0x01B00000, ops.Options().sensorTest.testMask | 0x40,
                                0x01B00000);
}

uint32_t DiagDigital(CHandlerOps&) {
    return 0;
}

uint32_t CheckFlat(CHandlerOps& ops) {
    ops.OpenTestLog(kCsvFile, "TovrexCheck");
    return ops.CheckFlat() ? 0 : 0x01A00001;
}

uint32_t AdjustTs(CHandlerOps& ops) {
    constexpr uint32_t base = 0x01C00000;
    ops.OpenTestLog(kLogFile, "TuningLog");
    if (uint32_t r = LoadSettings(ops, base)) return r;
    if (ops.Options().fixed.optionMask & kJbSpreadFrequencies) ops.SpreadCandidateFrequencies();
    return ops.AdjustTouchScreen() ? 0 : base + 2;
}

uint32_t CalOpen(CHandlerOps& ops) {
    constexpr uint32_t base = 0x01D00000;
    ops.OpenTestLog(kLogFile, "TuningLog");
    if (uint32_t r = LoadSettings(ops, base)) return r;
    return ops.CalculateScaling() ? 0 : base + 2;
}

uint32_t SetPin(CHandlerOps& ops) {
    ops.OpenTestLog(kLogFile, "TuningLog");
    return ops.FindSensorPins() ? 0 : 0x02200001;
}

uint32_t DetectNoise(CHandlerOps& ops) {
    constexpr uint32_t base = 0x02400000;
    ops.OpenTestLog(kCsvFile, "TovrexSensorTester");
    if (uint32_t r = LoadSettings(ops, base)) return r;
    if (ops.NoiseSpectrumScan() != 0) return base + 2;
    Progress(ops, 100);
    return 0;
}

uint32_t FastTuneCalib(CHandlerOps& ops) {
    constexpr uint32_t base = 0x02000000;
    const uint16_t mask = ops.Options().fixed.optionMask;
    ops.OpenTestLog(kLogFile, "TuningLog");
    Progress(ops, 60);
    if (mask & kJbPinFinding) {
        if (!ops.FindSensorPins()) return base + 1;
        Progress(ops, 101);
    }
    Progress(ops, 80);
    if (mask & kJbOpenTest) {
        if (!ops.AdjustSignal(0)) return base + 2;
        if (uint32_t r = LoadSettings(ops, base)) return r;
        if (!ops.OpenNeighbourTest()) return base + 5;
    }
    Progress(ops, 90);
    if (mask & kJbShortTest) {
        if (uint32_t r = LoadSettings(ops, base)) return r;
        if (!ops.SwitchWorkMode(kModeDiagnostics)) return base + 7;
        ops.SetTestMask(2);
        if (uint32_t r = ops.RunDiagnostics()) return base | r;
    }
    Progress(ops, 100);
    return 0;
}

uint32_t AdjustAlgTh(CHandlerOps& ops) {
    constexpr uint32_t base = 0x01E00000;
    ops.OpenTestLog(kLogFile, "TuningLog");
    Progress(ops, 10, 1);
    if (!ops.SetThresholdsFromOptions()) return base + 1;
    Progress(ops, 90, 1);
    if (uint32_t r = ErrorFlagStop(ops)) return r;
    {
        UniformityRequest request(ops);
        if (ops.BuildUniformityTable() != 0) return base + 3;  // the tool's code is not kept
    }
    Progress(ops, 100, 1);
    return 0;
}

uint32_t CreateUtable(CHandlerOps& ops) {
    constexpr uint32_t base = 0x01F00000;
    if (uint32_t r = LoadSettings(ops, base)) return r;
    if (uint32_t r = ErrorFlagStop(ops)) return r;
    UniformityRequest request(ops);
    return UniformityTable(ops, base);
}

uint32_t AdjustHwParam(CHandlerOps& ops) {
    constexpr uint32_t base = 0x02600000;
    if (ops.ApplyScalingOffsets() != 0) return base + 1;
    if (uint32_t r = ErrorFlagStop(ops)) return r;
    return UniformityTable(ops, base);
}

}  // namespace handlers
