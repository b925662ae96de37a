// The transports the library can reach a controller through, one row per device-path scheme.
//
// A device path starts with its backend's scheme ("sim:K7P100"); the environment selector
// DEVLINK=<scheme><rest> enumerates through the same row. A new transport is one more row in
// Backends.cpp and one more file beside the others; the API functions never name a transport.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "devlink/devlink.h"
#include "transport/Transport.h"

namespace devlink {

struct Backend {
    const char* scheme;  // the prefix of its device paths and of its DEVLINK selector
    // The controllers `selector` (what follows the scheme) names; `error` says why there are
    // none when the selector cannot be used.
    std::vector<DevRecord> (*enumerate)(const std::string& selector, std::string& error);
    // Opens the device a path (scheme included) names; null with `error` set on failure.
    std::unique_ptr<Transport> (*open)(const std::string& path, std::string& error);
    // The device type code of a path, 0 when unknown.
    int (*solutionCode)(const std::string& path);
};

// The row whose scheme starts `path`, or null.
const Backend* backendFor(const std::string& path);

}  // namespace devlink
