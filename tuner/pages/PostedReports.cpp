#include "pages/PostedReports.h"

#include <QCoreApplication>
#include <memory>
#include <mutex>
#include <set>

namespace {

std::mutex g_targetsMutex;
std::set<const void*> g_targets;

}  // namespace

ReportEvent::ReportEvent(uint32_t message, const DevReport& report)
    : QEvent(EventType()), message_(message), report_(report) {}

QEvent::Type ReportEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void* WindowFor(QObject* target) {
    return static_cast<void*>(target);
}

void RegisterReportTarget(QObject* target) {
    std::lock_guard lock(g_targetsMutex);
    g_targets.insert(WindowFor(target));
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
    if (g_targets.count(window) == 0) return;
    // The event queue takes ownership of the event.
    QCoreApplication::postEvent(static_cast<QObject*>(window),
                                std::make_unique<ReportEvent>(message, *report).release());
}
