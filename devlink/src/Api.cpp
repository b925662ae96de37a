// Enumeration, open and close, subscriptions, sinks and error causes.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "Backend.h"
#include "Registry.h"
#include "Sinks.h"

namespace devlink {
namespace {

// Open devices by handle token. Tokens count up and are never reused, so a closed handle finds
// nothing even after later opens.
std::mutex gRegistryMutex;
uintptr_t gLastToken = 0;
std::unordered_map<uintptr_t, std::shared_ptr<DevDevice>>& registry() {
    static std::unordered_map<uintptr_t, std::shared_ptr<DevDevice>> devices;
    return devices;
}

uintptr_t tokenOf(DevHandle handle) {
    return reinterpret_cast<uintptr_t>(handle);
}

std::string recordPath(const DevRecord& record) {
    return std::string(record.path, strnlen(record.path, kDevPathSize));
}

// The controllers the environment selects: DEVLINK=<scheme><selector> of one backend.
std::vector<DevRecord> attachedControllers() {
    const char* selector = std::getenv("DEVLINK");
    if (!selector || !*selector) return {};
    const Backend* backend = backendFor(selector);
    if (!backend) {
        logText(std::string("devlink: DEVLINK=") + selector + " names no known backend");
        return {};
    }
    std::string error;
    auto records = backend->enumerate(selector + std::strlen(backend->scheme), error);
    if (!error.empty()) logText("devlink: " + error);
    return records;
}

}  // namespace

DevHandle registerDevice(std::shared_ptr<DevDevice> device) {
    std::lock_guard lock(gRegistryMutex);
    const uintptr_t token = ++gLastToken;
    registry().emplace(token, std::move(device));
    return reinterpret_cast<DevHandle>(token);
}

std::shared_ptr<DevDevice> findDevice(DevHandle handle) {
    if (!handle) return nullptr;
    std::lock_guard lock(gRegistryMutex);
    auto it = registry().find(tokenOf(handle));
    return it == registry().end() ? nullptr : it->second;
}

std::shared_ptr<DevDevice> unregisterDevice(DevHandle handle) {
    std::lock_guard lock(gRegistryMutex);
    auto it = registry().find(tokenOf(handle));
    if (it == registry().end()) return nullptr;
    auto device = std::move(it->second);
    registry().erase(it);
    return device;
}

}  // namespace devlink

using namespace devlink;

int devEnumerate(DevRecord* record, DevEnumCallback callback, void* context) {
    int reported = 0;
    for (DevRecord found : attachedControllers()) {
        DevRecord& target = record ? *record : found;
        if (record) *record = found;
        ++reported;
        if (callback && callback(&target, target.path, context, target.inputLength,
                                 target.outputLength, target.id1, target.id2) != 0)
            break;
    }
    return reported;
}

DevHandle devOpen(DevRecord record) {
    const std::string path = recordPath(record);
    const Backend* backend = backendFor(path);
    if (!backend) return nullptr;
    std::string error;
    auto transport = backend->open(path, error);
    if (!transport) {
        logText("devlink: cannot open " + path + ": " + error);
        return nullptr;
    }
    return registerDevice(std::make_shared<DevDevice>(std::move(transport)));
}

int devClose(DevHandle handle) {
    auto device = findDevice(handle);
    if (!device) return 0;
    // Closing joins a reader thread: never from one, where it could be waiting for itself.
    if (DevDevice::onAnyReaderThread()) return device->settle(kDevErrorFromHandler);
    device = unregisterDevice(handle);
    if (!device) return 0;
    device->stop(true);
    return 1;
}

int devGetSolutionCode(DevRecord record) {
    const std::string path = recordPath(record);
    const Backend* backend = backendFor(path);
    return backend ? backend->solutionCode(path) : 0;
}

int devIsSupportedSolution(int code) {
    switch (code) {
        case 94:
        case 158:
        case 164:
        case 166:
        case 172:
        case 96:
        case 160:
        case 176:
            return 1;
        default:
            return 0;
    }
}

DevSubscription devAddReportHandler(DevHandle handle, uint8_t kind, uint8_t subCode, void* context,
                                    DevReportHandler handler) {
    auto device = findDevice(handle);
    if (!device || !handler) return nullptr;
    DevSubscriptionImpl s;
    s.kind = kind;
    s.subCode = subCode;
    s.handler = handler;
    s.context = context;
    return device->subscribe(s);
}

DevSubscription devPostReports(DevHandle handle, void* window, uint8_t kind, uint32_t message) {
    return devPostFilteredReports(handle, window, kind, kDevAnySubCode, message);
}

DevSubscription devPostFilteredReports(DevHandle handle, void* window, uint8_t kind,
                                       uint8_t subCode, uint32_t message) {
    auto device = findDevice(handle);
    if (!device) return nullptr;
    DevSubscriptionImpl s;
    s.kind = kind;
    s.subCode = subCode;
    s.window = window;
    s.message = message;
    return device->subscribe(s);
}

int devRemoveReportHandler(DevHandle handle, DevSubscription subscription) {
    auto device = findDevice(handle);
    return device && subscription && device->unsubscribe(subscription) ? 1 : 0;
}

int devGetLastError(DevHandle handle) {
    auto device = findDevice(handle);
    return device ? device->lastError() : kDevErrorNoDevice;
}

const char* devErrorText(int cause) {
    switch (cause) {
        case kDevErrorNone:
            return "no error";
        case kDevErrorTimeOut:
            return "time-out";
        case kDevErrorDeviceLost:
            return "device lost";
        case kDevErrorRefused:
            return "refused";
        case kDevErrorUnknownOperation:
            return "unknown operation";
        case kDevErrorBadRequest:
            return "bad request";
        case kDevErrorMalformedReply:
            return "malformed reply";
        case kDevErrorFailed:
            return "failed in the controller";
        case kDevErrorNoDevice:
            return "no such device";
        case kDevErrorFromHandler:
            return "not allowed in a report handler";
        default:
            return "unknown cause";
    }
}

void devSetPostSink(DevPostSink sink, void* sinkContext) {
    setPostSink(sink, sinkContext);
}
void devSetLogSink(DevLogSink sink, void* sinkContext) {
    setLogSink(sink, sinkContext);
}

uint32_t devGetDroppedReportCount(DevHandle handle) {
    auto device = findDevice(handle);
    return device ? device->dropped() : 0;
}

int devRequest(DevHandle handle, const uint8_t* request, int requestLength, uint8_t replyKind,
               uint8_t replySubCode, uint32_t timeoutMs, uint8_t* reply, int* replyLength) {
    if (replyLength) *replyLength = 0;
    auto device = findDevice(handle);
    if (!device) return 0;
    if (requestLength < 0 || !reply) return device->settle(kDevErrorBadRequest);
    uint8_t received[kDevReportSize] = {};
    if (!device->request(request, static_cast<size_t>(requestLength), replyKind, replySubCode,
                         timeoutMs, received))
        return 0;
    std::memcpy(reply, received, kDevReportSize);
    if (replyLength) *replyLength = static_cast<int>(kDevReportSize);
    return 1;
}
