// Reports that devlink posts to a window arrive at that window as queued Qt events.
//
// devlink calls the post sink on its reader thread with the window it was given at subscription.
// The sink copies the report and posts a ReportEvent to that object, which handles it on the
// user-interface thread. Only registered objects receive events: a report for an object that is
// gone, or was never registered, is dropped instead of reaching freed memory.
//
// A target that falls behind does not make the queue grow without end: once it has
// kMaxPendingReports events waiting, newer reports for it are dropped and counted, as a device
// buffer that is not read drops what arrives.
#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>

#include "devlink/devlink.h"

inline constexpr int kMaxPendingReports = 4096;

class ReportEvent : public QEvent {
  public:
    ReportEvent(const void* target, uint32_t message, const DevReport& report);
    ~ReportEvent() override;
    ReportEvent(const ReportEvent&) = delete;
    ReportEvent& operator=(const ReportEvent&) = delete;
    static QEvent::Type EventType();

    uint32_t Message() const { return message_; }
    const DevReport& Report() const { return report_; }

  private:
    const void* target_;
    uint32_t message_;
    DevReport report_;
};

// Makes the object a valid target of posted reports until it is unregistered. The window value
// to give devPostReports for it is WindowFor(object).
void RegisterReportTarget(QObject* target);
void UnregisterReportTarget(QObject* target);
void* WindowFor(QObject* target);

// Reports posted to the target and not yet handled, and those dropped because too many were.
int PendingReports(QObject* target);
uint64_t DroppedReports(QObject* target);

// The sink to set with devSetPostSink; the sink context is not used.
void PostReportToWindow(void* sinkContext, void* window, uint32_t message, const DevReport* report);
