// The uniformity table step: an external tool, "TovrexT310Suite.exe" in the current folder, builds
// the table and stores it in the controller; its exit code tells the outcome.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BuilderOptions.h"

class CController;

inline constexpr const char* kUniformityToolName = "TovrexT310Suite.exe";

// The tool's arguments, one element per argument.
std::vector<std::string> UniformityArguments(const BuilderOptions& options, int secondValue,
                                             int strength);

// Runs the tool from the current folder ("TovrexT310Suite.exe", or the same name without ".exe")
// with the arguments, and waits for it to end. The tool has time-outs of its own, so this wait has
// none. False when the tool cannot be started or did not exit by itself; otherwise its exit status
// as the signed byte the tool meant (-1 .. -4 stay negative).
bool RunUniformityTool(const std::vector<std::string>& arguments, int& exitCode);

// Runs the tool for the controller; 0 or a code 0x11-0x15.
uint32_t BuildUniformityTable(CController& controller);
