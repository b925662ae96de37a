#include "shell/Discovery.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

#include "controller/Controller.h"
#include "core/BuilderLog.h"
#include "core/ConsoleOut.h"
#include "core/ControllerExceptions.h"

namespace {

std::unique_ptr<CController> g_controller;
std::atomic<int> g_controllerCount{0};

struct EnumerationState {
    DevRecord* record;
    int count;
};

// Copies a path into the record's field, always zero-ended and zero-filled behind it.
void CopyPath(DevRecord& record, const char* path) {
    std::memset(record.path, 0, sizeof record.path);
    if (path != nullptr) std::memcpy(record.path, path, strnlen(path, sizeof record.path - 1));
}

int CountController(DevRecord*, const char* path, void* context, uint32_t inputLength,
                    uint32_t outputLength, uint16_t id1, uint16_t id2) {
    auto* state = static_cast<EnumerationState*>(context);
    if (state->count++ == 0) {
        CopyPath(*state->record, path);
        state->record->inputLength = inputLength;
        state->record->outputLength = outputLength;
        state->record->id1 = id1;
        state->record->id2 = id2;
    }
    return 0;
}

// Opens the recorded device and builds the controller model around it. Throws CMyException.
void Assemble(const DevRecord& record, const BuilderOptions& options, const DevLinkApi& dev) {
    DevHandle handle = dev.open(record);
    const int typeCode = handle != nullptr ? dev.getSolutionCode(record) : -1;
    const ModelRow* model = FindModel(typeCode);
    if (model == nullptr) {
        if (handle != nullptr) dev.close(handle);  // no controller owns it yet
        throw CInitDevException("Not support this device!\n");
    }
    // From here on CloseController tears down whatever part of the model exists.
    g_controller =
        std::make_unique<CController>(dev, handle, record, typeCode, model->name, options);
    g_controller->CreateObjects();
    g_controller->Initialise();
    g_controller->LogIdentity();
    g_controller->SubscribeDisconnect(&OnDisconnectReport);
}

}  // namespace

CController* TheController() {
    return g_controller.get();
}
int ControllerCount() {
    return g_controllerCount.load();
}

void OnDisconnectReport(void* context, int, const DevReport*) {
    // The count goes down before the flag goes up, so whoever sees the flag also sees the count.
    int count = g_controllerCount.load();
    while (count > 0 && !g_controllerCount.compare_exchange_weak(count, count - 1)) {
    }
    auto* controller = static_cast<CController*>(context);
    if (controller != nullptr) controller->MarkDisconnected();
    MainLog().Print(kColourError, kRouteBoth, "\nDevice disconnected.\n");
    RingBell(3);
}

bool DiscoverController(const BuilderOptions& options, const DevLinkApi& dev) {
    DevRecord record{};
    int count = 0;
    if (!options.device.devicePath.empty()) {
        CopyPath(record, options.device.devicePath.c_str());
        record.inputLength = options.device.inputReportLength;
        record.outputLength = options.device.outputReportLength;
        count = 1;
    } else {
        // The library gets a scratch record of its own: the callback's path may point into it.
        DevRecord scratch{};
        EnumerationState state{&record, 0};
        dev.enumerate(&scratch, &CountController, &state);
        count = state.count;
    }
    g_controllerCount = count;
    if (count > 1) {
        MainLog().Print(kColourError, kRouteBoth, "\nCannot support multiplr controllers!\n");
        return false;
    }
    try {
        Assemble(record, options, dev);
        return true;
    } catch (const CMyException& e) {
        MainLog().Print(kColourError, kRouteBoth, e.GetMessage());
    } catch (...) {
        MainLog().Print(kColourError, kRouteBoth, "Resource allocate error!\n");
    }
    CloseController();
    return false;
}

void CloseController() {
    if (!g_controller) return;
    CController& c = *g_controller;
    if (c.Handle() != nullptr && !c.Dev().restart(c.Handle(), c.Options().fixed.resumeMode)) {
        MainLog().Print(kColourError, kRouteBoth, "Set Working Mode Failed!\n");
    }
    c.DestroyObjects();
    g_controller.reset();  // removes the disconnect subscription and closes the device
}
