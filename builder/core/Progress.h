// Progress notices to the windows of the tools that drive the builder in research mode.
#pragma once

#include <memory>
#include <string>

#include "platform/WindowNotice.h"

// The window classes the notices go to: target 0 and target 1.
inline constexpr const char* kProgressWindowClasses[] = {"KestrelPadClass", "MarlinScope2Class"};

// "processed_0" ... "processed_90" for 0-90 in steps of 10, "processed_done" for 100,
// "processed_I" for any other value.
std::string ProgressMessageName(int percent);

// Installs where notices go (start-up does this in research mode); nullptr stops them.
void SetProgressNotifier(std::unique_ptr<platform::CWindowNotifier> notifier);

// Sends the notice for percent to the window of target (0 or 1); nothing without that window or
// without an installed notifier.
void NotifyProgress(int percent, int target);

struct BuilderOptions;
// The notice for percent to the first window, in research mode (-Jd) only: what the measuring
// and tuning steps send while they run.
void NotifyResearchProgress(const BuilderOptions& options, int percent);
