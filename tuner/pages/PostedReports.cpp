#include "pages/PostedReports.h"

#include <QCoreApplication>
#include <map>
#include <memory>
#include <mutex>

namespace {

struct TargetQueue {
    int pending = 0;
    uint64_t dropped = 0;
};

// Recursive: Qt may delete an event inside postEvent, and its destructor takes the lock too.
std::recursive_mutex g_targetsMutex;
std::map<const void*, TargetQueue> g_targets;

}  // namespace

ReportEvent::ReportEvent(const void* target, uint32_t message, const DevReport& report)
    : QEvent(EventType()), target_(target), message_(message), report_(report) {}

// Handled, or discarded with its target: either way no longer waiting.
ReportEvent::~ReportEvent() {
    std::lock_guard lock(g_targetsMutex);
    const auto it = g_targets.find(target_);
    if (it != g_targets.end() && it->second.pending > 0) --it->second.pending;
}

QEvent::Type ReportEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void* WindowFor(QObject* target) {
    return static_cast<void*>(target);
}

void RegisterReportTarget(QObject* target) {
    std::lock_guard lock(g_targetsMutex);
    g_targets.emplace(WindowFor(target), TargetQueue{});
}

void UnregisterReportTarget(QObject* target) {
    std::lock_guard lock(g_targetsMutex);
    g_targets.erase(WindowFor(target));
}

void PostReportToWindow(void* /*sinkContext*/, void* window, uint32_t message,
                        const DevReport* report) {
    if (report == nullptr) return;
    // Posting under the lock: a target cannot finish unregistering (and so cannot be destroyed)
    // while its event is being queued, and a destroyed object's queued events are discarded.
    std::lock_guard lock(g_targetsMutex);
    const auto it = g_targets.find(window);
    if (it == g_targets.end()) return;
    if (it->second.pending >= kMaxPendingReports) {
        ++it->second.dropped;
        return;
    }
    ++it->second.pending;
    // The event queue takes ownership of the event.
    QCoreApplication::postEvent(static_cast<QObject*>(window),
                                new ReportEvent(window, message, *report));
}

int PendingReports(QObject* target) {
    std::lock_guard lock(g_targetsMutex);
    const auto it = g_targets.find(WindowFor(target));
    return it == g_targets.end() ? 0 : it->second.pending;
}

uint64_t DroppedReports(QObject* target) {
    std::lock_guard lock(g_targetsMutex);
    const auto it = g_targets.find(WindowFor(target));
    return it == g_targets.end() ? 0 : it->second.dropped;
}
