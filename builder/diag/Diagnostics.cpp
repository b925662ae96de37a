#include "diag/Diagnostics.h"

#include <chrono>
#include <thread>

#include "core/BuilderLog.h"
#include "device/CAPI.h"
#include "device/CMCU.h"
#include "diag/CTuneData.h"
#include "diag/CalibrationCheck.h"
#include "diag/DiagHost.h"
#include "diag/MutualTests.h"
#include "diag/OpenTests.h"
#include "diag/SensorTestSteps.h"
#include "diag/ShortTests.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "platform/MonitorPower.h"

namespace {

constexpr uint16_t kModeDiagnostics = 0x8004;
constexpr int kMonitorOff = 2;
constexpr std::chrono::milliseconds kMonitorSettle{1000};

// A long unattended run may ask for dark monitors, so that the display does not disturb the
// panel. They stay off after the run.
void TurnOffMonitors(DiagHost& host) {
    if (host.Ini().TurnOffMonitor() == 0) return;
    TestLog().Print(kColourNormal, kRouteDetail,
                    "Monitors off requested; a system without a monitor power command leaves "
                    "them on\n");
    platform::SetMonitorPower(kMonitorOff);
    std::this_thread::sleep_for(kMonitorSettle);
}

void LogFrequency(DiagHost& host, int f) {
    CParam_HW& hw = host.Hw();
    const float kHz =
        host.Mcu().CalcFrequency(hw.GetClkSrc(f), hw.GetPreScaler(f), hw.GetFreqDivider(f));
    TestLog().Printf(kColourNormal, kRouteFile, "DiagFreq=%3.3fKHz\n", static_cast<double>(kHz));
}

uint32_t RunShortTest(DiagHost& host, uint32_t mask) {
    if (UsesClassifyingShortTest(host))
        return ShortTestClassified(host, (mask & kDiagShortClassified) != 0);
    return ShortTest(host);
}

}  // namespace

bool UsesClassifyingShortTest(const DiagHost& host) {
    const ControllerIdentity& id = host.Identity();
    const bool newKernel = id.kernelMajor > 2 || (id.kernelMajor == 2 && id.kernelMinor > 34);
    return newKernel && host.Model().classifyingShortTest;
}

uint32_t RunDiagnostics(DiagHost& host) {
    const uint32_t mask = host.TestMask();
    TurnOffMonitors(host);
    if (host.TuneData().SelectTestFrequency() != 0) return 1;
    if (!host.Api().SwitchWorkMode(kModeDiagnostics)) {
        MainLog().Print(kColourError, kRouteBoth, "Set Working Mode Failed!\n");
        return 2;
    }
    const int f = CurrentTestFrequency(host);
    LogFrequency(host, f);

    auto step = [](uint32_t r, uint32_t code) { return r != 0 ? r | code : 0; };
    if (mask & kDiagCalibration)
        if (uint32_t r = step(CheckCalibration(host), kStepCalibrationOrOpen)) return r;
    if (mask & kDiagOpen)
        if (uint32_t r = step(OpenTest(host), kStepCalibrationOrOpen)) return r;
    if (mask & kDiagMutual)
        if (uint32_t r = step(MutualCapTest(host), kStepMutual)) return r;
    if (mask & kDiagMutualMap)
        if (uint32_t r = step(MutualCapMap(host), kStepMutualMap)) return r;
    if (mask & kDiagPhase)
        if (uint32_t r = step(static_cast<uint32_t>(host.TuneData().DumpPhase()), kStepPhase))
            return r;
    if (uint32_t r = step(static_cast<uint32_t>(host.TuneData().DumpRaw16(f)), kStepRaw)) return r;
    if (mask & (kDiagShort | kDiagShortClassified))
        if (uint32_t r = step(RunShortTest(host, mask), kStepShort)) return r;
    return 0;
}
