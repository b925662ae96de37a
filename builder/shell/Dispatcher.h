// Running one command by name, and the interactive menu that chooses commands by key.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ConsoleInput.h"
#include "shell/DeviceSession.h"

// Looks the command up, refuses it when a set it needs is newer on the controller than the builder
// knows (0x4004 hardware, 0x4005 software, 0x4006 stylus, checked in that order, with the message
// logged here), else runs its handler. Returns 0, 0x4001 for an unknown name, the set's code, or
// 0x80000000 ORed with the handler's failure code.
uint32_t RunCommand(CDeviceSession& session, const std::string& name);

// The whole dispatch of one name: command mode around the command, the result's message, the bell.
// An empty name is "Invalid Command!" with result 0.
uint32_t DispatchCommand(CDeviceSession& session, const std::string& name);

// The interactive menu: repeats prompt, key, dispatch until a command fails, the user presses Q
// (or the input ends), or the controller is gone. Returns the ending result.
uint32_t RunMenu(CDeviceSession& session, platform::CConsoleInput& input);
