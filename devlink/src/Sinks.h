// The process-wide sinks a program registers: where posted reports and diagnostics go.
#pragma once

#include <string>

#include "devlink/devlink.h"

namespace devlink {

void setPostSink(DevPostSink sink, void* context);
void setLogSink(DevLogSink sink, void* context);
void postReport(void* window, uint32_t message, const DevReport* report);
void logText(const std::string& text);

}  // namespace devlink
