// Finding the one attached controller, assembling its model, and closing it at exit.
#pragma once

#include <devlink/devlink.h>

#include "core/BuilderOptions.h"
#include "device/DevLinkApi.h"

class CController;

// Finds, opens, assembles and initialises the controller and makes it the process-wide one.
// False (after logging why) when there is none, more than one, or it cannot be initialised.
bool DiscoverController(const BuilderOptions& options, const DevLinkApi& dev = RealDevLink());

// Restarts the firmware into the resume mode and tears the controller down; nothing without one.
void CloseController();

// The process-wide controller, or nullptr.
CController* TheController();

// Controllers seen by the last discovery (lowered by a disconnect notice).
int ControllerCount();

// The disconnect notice handler (devlink report handler; context: the controller).
void OnDisconnectReport(void* context, int unused, const DevReport* report);
