#include "Sinks.h"

#include <mutex>

namespace devlink {
namespace {

std::mutex gSinkMutex;
DevPostSink gPostSink = nullptr;
void* gPostContext = nullptr;
DevLogSink gLogSink = nullptr;
void* gLogContext = nullptr;

}  // namespace

void setPostSink(DevPostSink sink, void* context) {
    std::lock_guard lock(gSinkMutex);
    gPostSink = sink;
    gPostContext = context;
}

void setLogSink(DevLogSink sink, void* context) {
    std::lock_guard lock(gSinkMutex);
    gLogSink = sink;
    gLogContext = context;
}

void postReport(void* window, uint32_t message, const DevReport* report) {
    DevPostSink sink;
    void* context;
    {
        std::lock_guard lock(gSinkMutex);
        sink = gPostSink;
        context = gPostContext;
    }
    if (sink) sink(context, window, message, report);
}

void logText(const std::string& text) {
    DevLogSink sink;
    void* context;
    {
        std::lock_guard lock(gSinkMutex);
        sink = gLogSink;
        context = gLogContext;
    }
    if (sink) sink(context, text.c_str());
}

}  // namespace devlink
