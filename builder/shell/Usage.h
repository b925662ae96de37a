// --help and --version of the builder. They are answered before anything else runs: no lock, no
// working folder, no log, no controller. The help is made from the tables the program runs on:
// the options table, the command table and the exit statuses.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

// The one-line description of a command of the command table; nullptr for a name without one.
const char* CommandSummary(const std::string& name);

// An exit status of the program, a result code that ends with it, and what it means.
struct ExitStatusRow {
    int status;
    unsigned sampleResult;
    const char* meaning;
};
std::span<const ExitStatusRow> ExitStatusRows();

std::string UsageText();
std::string VersionText();

// The text to print when an argument is --help or --version (the first of them counts); nothing
// when neither is given.
std::optional<std::string> InformationRequest(const std::vector<std::string>& args);
