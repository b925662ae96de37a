// A full-size hardware text file for the benchmarks: the sections and items of a controller with
// four sensing chips, five working frequencies and every key area in use, written with CParamFile.
#pragma once

#include <string>
#include <vector>

#include "files/CParamFile.h"

struct SampleKey {
    std::string section;
    std::string key;
    std::int32_t value;
};

// Writes the file at path and returns every key in file order with the value it holds.
// Returns an empty list when the file could not be written.
std::vector<SampleKey> WriteHardwareTextSample(const std::string& path);
