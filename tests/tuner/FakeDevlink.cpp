#include "FakeDevlink.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

struct DevDevice {
    int unused = 0;
};

namespace fake {
namespace {

Controller g_device;
DevDevice g_openDevice;
bool g_open = false;

bool Valid(DevHandle handle) {
    if (handle == &g_openDevice && g_open) return true;
    ++g_device.handleCallsWithBadHandle;
    return false;
}

void Log(const std::string& call) {
    g_device.calls.push_back(call);
}

int GiveText(DevHandle handle, const std::string& text, char* out, std::size_t size,
             const char* name) {
    Log(name);
    if (size > 0) out[0] = '\0';
    if (!Valid(handle) || size == 0) return 0;
    const std::size_t length = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    return 1;
}

}  // namespace

int Controller::Count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

Controller& Device() {
    return g_device;
}

void Reset() {
    g_device = Controller{};
    g_open = false;
}

}  // namespace fake

using fake::g_device;

extern "C" {

int devEnumerate(DevRecord* record, DevEnumCallback callback, void* context) {
    fake::Log("devEnumerate");
    int count = 0;
    // Like the library, each controller is described in the caller's record, and the path handed
    // to the callback is the record's own.
    for (const auto& device : g_device.devices) {
        ++count;
        *record = DevRecord{};
        std::strncpy(record->path, device.path.c_str(), kDevPathSize - 1);
        record->inputLength = device.inputLength;
        record->outputLength = device.outputLength;
        record->id1 = device.id1;
        record->id2 = device.id2;
        if (callback(record, record->path, context, device.inputLength, device.outputLength,
                     device.id1, device.id2) != 0)
            break;
    }
    return count;
}

DevHandle devOpen(DevRecord record) {
    fake::Log("devOpen");
    g_device.openedRecord = record;
    if (g_device.openFails || record.path[0] == '\0') return nullptr;
    fake::g_open = true;
    return &fake::g_openDevice;
}

int devClose(DevHandle handle) {
    fake::Log("devClose");
    if (!fake::Valid(handle)) return 0;
    fake::g_open = false;
    return 1;
}

int devGetSolutionCode(DevRecord) {
    fake::Log("devGetSolutionCode");
    return g_device.solutionCode;
}

int devIsSupportedSolution(int code) {
    fake::Log("devIsSupportedSolution");
    return g_device.solutionSupported && code == g_device.solutionCode;
}

int devGetModelName(DevHandle handle, char* text, std::size_t size) {
    return fake::GiveText(handle, g_device.modelName, text, size, "devGetModelName");
}
int devGetTypeName(DevHandle handle, char* text, std::size_t size) {
    return fake::GiveText(handle, g_device.typeName, text, size, "devGetTypeName");
}
int devGetVersionText(DevHandle handle, char* text, std::size_t size) {
    return fake::GiveText(handle, g_device.versionText, text, size, "devGetVersionText");
}
int devGetModelSubName(DevHandle handle, char* text, std::size_t size) {
    return fake::GiveText(handle, g_device.modelSubName, text, size, "devGetModelSubName");
}

int devGetVersionBytes(DevHandle handle, uint8_t* b0, uint8_t* b1, uint8_t* b2, uint8_t* b3,
                       uint8_t* b4, uint8_t* b5, uint8_t* b6) {
    fake::Log("devGetVersionBytes");
    if (!fake::Valid(handle)) return 0;
    *b0 = g_device.kernelMajor;
    *b1 = *b2 = *b3 = *b4 = *b5 = *b6 = 0;
    return 1;
}

int devGetKernelNumber(DevHandle handle, uint8_t* kernelMinor) {
    fake::Log("devGetKernelNumber");
    if (!fake::Valid(handle)) return 0;
    *kernelMinor = g_device.kernelMinor;
    return 1;
}

int devSwitchWorkMode(DevHandle handle, uint16_t mode) {
    char call[40];
    std::snprintf(call, sizeof call, "devSwitchWorkMode 0x%04X", mode);
    fake::Log(call);
    return fake::Valid(handle);
}

int devGetPcapInfo(DevHandle handle, uint8_t* buffer64) {
    fake::Log("devGetPcapInfo");
    if (!fake::Valid(handle) || g_device.infoBlockFails) return 0;
    std::memcpy(buffer64, g_device.infoBlock.data(), 64);
    return 1;
}

int devQueryInfo(DevHandle handle, int index, uint8_t* buffer64) {
    fake::Log("devQueryInfo " + std::to_string(index));
    if (!fake::Valid(handle) || index < 0 || index >= 5 || g_device.failingRecords.count(index))
        return 0;
    std::memcpy(buffer64, g_device.records[static_cast<std::size_t>(index)].data(), 64);
    return 1;
}

int devGetReportInfo(DevHandle handle, uint8_t* buffer, int* length) {
    fake::Log("devGetReportInfo");
    if (!fake::Valid(handle) || g_device.reportInfoFails || *length < 64) return 0;
    std::memcpy(buffer, g_device.reportInfo.data(), 64);
    *length = g_device.reportInfoLength;
    return 1;
}

}  // extern "C"
