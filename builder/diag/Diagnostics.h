// The diagnostic sequence: the selected sensor tests in their fixed order at the test frequency,
// in the diagnostics working mode. The first failing step ends the run; nothing is undone.
#pragma once

#include <cstdint>

class DiagHost;

// Bits of the test selection (the command's mask).
enum DiagnosticStep : uint32_t {
    kDiagOpen = 0x01,
    kDiagShort = 0x02,
    kDiagMutual = 0x04,
    kDiagCalibration = 0x40,
    kDiagShortClassified = 0x100,  // the short test, with the flexible cable's channel ranges
    kDiagMutualMap = 0x4000,
    kDiagPhase = 0x8000,
};

// What a failing step's result is ORed with, so the result tells which step failed.
enum DiagnosticStepCode : uint32_t {
    kStepCalibrationOrOpen = 0x10000,
    kStepShort = 0x30000,
    kStepMutual = 0x40000,
    kStepMutualMap = 0x50000,
    kStepPhase = 0x60000,
    kStepRaw = 0x70000,
};

// Runs the steps the host's test mask selects. 0 when all passed; 1 test frequency not set;
// 2 working mode not switched; otherwise the failing step's result ORed with its step code.
uint32_t RunDiagnostics(DiagHost& host);

// Whether the short step runs the classifying form: the model's firmware has it and the kernel
// is above 2.34.
bool UsesClassifyingShortTest(const DiagHost& host);
