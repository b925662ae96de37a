// Parsing the command line into the builder's settings (core/BuilderOptions.h), and the one
// instance of the process that start-up fills.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BuilderOptions.h"

class CBuilderLog;

// The one instance of the process.
BuilderOptions& Options();

// Reads a decimal number from the leading characters of a text the way the options are read: an
// optional sign, then digits; 0 without digits (so also when the text starts with a blank). Saturates at the limits of a 32-bit int.
int32_t ParseLeadingInt(const char* text);

// First pass over args[1..]: fills the settings. An unknown letter after "-" logs
// "Unknown Argument.\n" through the log (error colour) and parsing goes on. With enterWorkFolder,
// -Je makes its folder current at once, when it exists.
void ParseOptions(const std::vector<std::string>& args, BuilderOptions& options, CBuilderLog& log,
                  bool enterWorkFolder);

// Second pass over args[1..]: arguments that do not start with "-" become parameter file paths by
// the extension they contain. Returns whether any argument starts with "-".
bool AssignFileArguments(const std::vector<std::string>& args, BuilderOptions& options);
