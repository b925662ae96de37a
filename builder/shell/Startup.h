// The builder from its arguments to its result: options, single instance, working folder, main
// log, controller discovery, the command or the menu, closing, the exit pause.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ConsoleInput.h"
#include "shell/DeviceSession.h"

// The name of the builder's single-instance lock.
inline constexpr const char* kBuilderInstanceName = "TOVREXBUILDER4";

struct BuilderRun {
    std::vector<std::string> args;  // args[0] is the program
    CDeviceSession& session;
    platform::CConsoleInput& input;       // the answers to pauses and the menu
    std::filesystem::path programFolder;  // the working folder unless -Je names one
};

// Runs the builder once and returns its result code (also the basis of its exit status).
uint32_t RunBuilder(const BuilderRun& run);
