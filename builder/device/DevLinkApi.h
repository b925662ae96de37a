// The devlink operations the builder calls, gathered in one table of function pointers.
//
// The controller model reaches the device library only through this table. The program uses
// RealDevLink(); unit tests hand a controller a table of their own functions where a device fault
// is easier to show with a few lines of test code than with a simulator profile.
#pragma once

#include <devlink/devlink.h>

struct DevLinkApi {
    decltype(&devEnumerate) enumerate = nullptr;
    decltype(&devOpen) open = nullptr;
    decltype(&devClose) close = nullptr;
    decltype(&devGetSolutionCode) getSolutionCode = nullptr;
    decltype(&devGetModelName) getModelName = nullptr;
    decltype(&devGetTypeName) getTypeName = nullptr;
    decltype(&devGetVersionText) getVersionText = nullptr;
    decltype(&devGetStructVersion) getStructVersion = nullptr;
    decltype(&devGetKernelNumber) getKernelNumber = nullptr;
    decltype(&devSwitchWorkMode) switchWorkMode = nullptr;
    decltype(&devRestart) restart = nullptr;
    decltype(&devGetPcapInfo) getPcapInfo = nullptr;
    decltype(&devQueryInfo) queryInfo = nullptr;
    decltype(&devGetReportInfo) getReportInfo = nullptr;
    decltype(&devGetErrorCode) getErrorCode = nullptr;
    decltype(&devRequest) request = nullptr;
    decltype(&devAddReportHandler) addReportHandler = nullptr;
    decltype(&devRemoveReportHandler) removeReportHandler = nullptr;
    decltype(&devSetFreqOption) setFreqOption = nullptr;
    decltype(&devSetFrequency) setFrequency = nullptr;
    decltype(&devGetFrequency) getFrequency = nullptr;
    decltype(&devSetTestMode) setTestMode = nullptr;
    decltype(&devSetClock) setClock = nullptr;
    decltype(&devStartShortTest) startShortTest = nullptr;
    decltype(&devRequestImage) requestImage = nullptr;
    decltype(&devReadBlock) readBlock = nullptr;
    decltype(&devWriteBlock) writeBlock = nullptr;
    decltype(&devReadRegisters) readRegisters = nullptr;
    decltype(&devWriteRegisters) writeRegisters = nullptr;
    decltype(&devSetAnalog) setAnalog = nullptr;
    decltype(&devGetLastError) getLastError = nullptr;
    decltype(&devErrorText) errorText = nullptr;
};

// The table of the linked devlink library.
const DevLinkApi& RealDevLink();
