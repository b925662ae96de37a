// Reports that devlink posts to a window arrive at that window as queued Qt events.
//
// devlink calls the post sink on its reader thread with the window it was given at subscription.
// The sink copies the report and posts a ReportEvent to that object, which handles it on the
// user-interface thread. Only registered objects receive events: a report for an object that is
// gone, or was never registered, is dropped instead of reaching freed memory.
#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>

#include "devlink/devlink.h"

class ReportEvent : public QEvent {
  public:
    ReportEvent(uint32_t message, const DevReport& report);
    static QEvent::Type EventType();

    uint32_t Message() const { return message_; }
    const DevReport& Report() const { return report_; }

  private:
    uint32_t message_;
    DevReport report_;
};

// Makes the object a valid target of posted reports until it is unregistered. The window value
// to give devPostReports for it is WindowFor(object).
void RegisterReportTarget(QObject* target);
void UnregisterReportTarget(QObject* target);
void* WindowFor(QObject* target);

// The sink to set with devSetPostSink; the sink context is not used.
void PostReportToWindow(void* sinkContext, void* window, uint32_t message, const DevReport* report);
