// Open devices by handle. A handle that was never returned, or was closed, finds nothing, so
// every call with it fails instead of touching freed memory.
#pragma once

#include <memory>

#include "Device.h"

namespace devlink {

DevHandle registerDevice(std::shared_ptr<DevDevice> device);
std::shared_ptr<DevDevice> findDevice(DevHandle handle);
std::shared_ptr<DevDevice> unregisterDevice(DevHandle handle);

}  // namespace devlink
