#include "core/Progress.h"

#include <mutex>

#include "core/BuilderOptions.h"

namespace {

std::mutex& NotifierMutex() {
    static std::mutex mutex;
    return mutex;
}

std::unique_ptr<platform::CWindowNotifier>& Notifier() {
    static std::unique_ptr<platform::CWindowNotifier> notifier;
    return notifier;
}

}  // namespace

std::string ProgressMessageName(int percent) {
    if (percent == 100) return "processed_done";
    if (percent >= 0 && percent <= 90 && percent % 10 == 0) {
        return "processed_" + std::to_string(percent);
    }
    return "processed_I";
}

void SetProgressNotifier(std::unique_ptr<platform::CWindowNotifier> notifier) {
    std::lock_guard lock(NotifierMutex());
    Notifier() = std::move(notifier);
}

void NotifyProgress(int percent, int target) {
    std::lock_guard lock(NotifierMutex());
    if (Notifier() && target >= 0) {
        Notifier()->Send(static_cast<std::size_t>(target), ProgressMessageName(percent));
    }
}

void NotifyResearchProgress(const BuilderOptions& options, int percent) {
    if (options.fixed.research) NotifyProgress(percent, 0);
}
