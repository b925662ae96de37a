#include "device/DevLinkApi.h"

namespace {

DevLinkApi MakeReal() {
    DevLinkApi api;
    api.enumerate = &devEnumerate;
    api.open = &devOpen;
    api.close = &devClose;
    api.getSolutionCode = &devGetSolutionCode;
    api.getModelName = &devGetModelName;
    api.getTypeName = &devGetTypeName;
    api.getVersionText = &devGetVersionText;
    api.getStructVersion = &devGetStructVersion;
    api.getKernelNumber = &devGetKernelNumber;
    api.switchWorkMode = &devSwitchWorkMode;
    api.restart = &devRestart;
    api.getPcapInfo = &devGetPcapInfo;
    api.queryInfo = &devQueryInfo;
    api.getReportInfo = &devGetReportInfo;
    api.getErrorCode = &devGetErrorCode;
    api.request = &devRequest;
    api.addReportHandler = &devAddReportHandler;
    api.removeReportHandler = &devRemoveReportHandler;
    api.setFreqOption = &devSetFreqOption;
    api.setFrequency = &devSetFrequency;
    api.getFrequency = &devGetFrequency;
    api.setTestMode = &devSetTestMode;
    api.setClock = &devSetClock;
    api.startShortTest = &devStartShortTest;
    api.requestImage = &devRequestImage;
    api.readBlock = &devReadBlock;
    api.writeBlock = &devWriteBlock;
    api.readRegisters = &devReadRegisters;
    api.writeRegisters = &devWriteRegisters;
    api.setAnalog = &devSetAnalog;
    api.getLastError = &devGetLastError;
    api.errorText = &devErrorText;
    return api;
}

}  // namespace

const DevLinkApi& RealDevLink() {
    static const DevLinkApi api = MakeReal();
    return api;
}
