// Section names and indexed keys of the settings file, shared by its reader and its template.
#pragma once

#include <cstdio>
#include <string>

namespace ini {

inline constexpr char kTuningSection[] = "Tuning Parameter";
inline constexpr char kResearchSection[] = "Tuning Parameter-RD";
inline constexpr char kImageSection[] = "---Image Parameter";
inline constexpr char kWaterLineRxSection[] = "---WL Rx Parameter";
inline constexpr char kWaterLineTxSection[] = "---WL Tx Parameter";
inline constexpr char kSensorTestSection[] = "Sensor Test";
inline constexpr char kFrequencyIndexSection[] = "Frequency Index";

// A key with an index, "WorkingFreq%d" or "FPCTestRxStart(%d)".
inline std::string IndexedKey(const char* format, int i) {
    char key[48];
    std::snprintf(key, sizeof key, format, i);
    return key;
}

}  // namespace ini
