// The in-process simulated controller as a transport. Its device paths are "sim:<profile>" for
// the first controller and "sim:<profile>#<n>" for further ones.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "devlink/devlink.h"
#include "transport/Transport.h"

namespace devlink::simtransport {

bool isSimPath(const std::string& path);
// The controllers a profile describes; `error` is set when the profile cannot be read.
std::vector<DevRecord> enumerate(const std::string& profileSpec, std::string& error);
std::unique_ptr<Transport> open(const std::string& path, std::string& error);
int solutionCode(const std::string& path);

}  // namespace devlink::simtransport
