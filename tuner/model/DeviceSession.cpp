#include "model/DeviceSession.h"

namespace tuner {

DeviceSession::~DeviceSession() {
    Close();
}

void DeviceSession::Adopt(DevHandle handle) {
    Close();
    handle_ = handle;
}

void DeviceSession::Close() {
    if (handle_ == nullptr) return;
    devClose(handle_);
    handle_ = nullptr;
}

void DeviceSession::ReturnToNormalAndClose() {
    if (handle_ == nullptr) return;
    devSwitchWorkMode(handle_, kNormalMode);
    Close();
}

}  // namespace tuner
