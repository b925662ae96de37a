#include "model/Startup.h"

#include "model/ControllerSearch.h"

namespace tuner {

const UserMessage* StartupMessage(StartupResult result) {
    switch (result) {
        case StartupResult::kReady:
            return nullptr;
        case StartupResult::kNoController:
            return &kNoControllerMessage;
        case StartupResult::kUnsupportedSolution:
            return &kUnsupportedSolutionMessage;
        case StartupResult::kDeviceNotFound:
            return &kDeviceNotFoundMessage;
        case StartupResult::kChannelInfoUnreadable:
            return &kChannelInfoMessage;
    }
    return nullptr;
}

StartupResult OpenController(TunerState& state) {
    state.device.Close();
    if (!FindController(state.record)) return StartupResult::kNoController;

    state.device.Adopt(devOpen(state.record));

    const int code = devGetSolutionCode(state.record);
    state.solutionCode = static_cast<uint8_t>(code);
    if (devIsSupportedSolution(code) == 0) {
        state.device.Close();
        return StartupResult::kUnsupportedSolution;
    }

    if (!state.device.IsOpen()) return StartupResult::kDeviceNotFound;
    devSwitchWorkMode(state.device.Handle(), kCommandMode);
    return StartupResult::kReady;
}

bool RefreshChannelInfo(TunerState& state) {
    const auto info = ReadChannelInfo(state.device.Handle());
    if (!info) return false;
    state.channels.Set(*info);
    return true;
}

bool RefreshChannelInfoAfterRestart(TunerState& state) {
    if (!state.device.IsOpen()) return false;
    devSwitchWorkMode(state.device.Handle(), kCommandMode);
    return RefreshChannelInfo(state);
}

StartupResult ReadControllerInformation(TunerState& state) {
    if (!RefreshChannelInfo(state)) return StartupResult::kChannelInfoUnreadable;

    const DevHandle handle = state.device.Handle();
    state.touchKeys = ReadTouchKeyCounts(handle);
    const ChannelInfo channels = state.channels.Get();
    state.coordinateMaxima =
        ReadCoordinateMaxima(handle, channels.kernelMajor, channels.kernelMinor);
    return StartupResult::kReady;
}

StartupResult StartController(TunerState& state) {
    StartupResult result = OpenController(state);
    if (result == StartupResult::kReady) result = ReadControllerInformation(state);
    if (result != StartupResult::kReady) state.device.ReturnToNormalAndClose();
    return result;
}

const Titles& UpdateTitles(TunerState& state) {
    state.texts = ReadIdentityTexts(state.device.Handle());
    state.titles = BuildTitles(state.texts, state.channels.Get());
    return state.titles;
}

}  // namespace tuner
