// The tuner's window title: the tool's own name and version, then the controller's identity.
#pragma once

#include <string>

#include "model/ChannelInfo.h"
#include "model/ControllerQueries.h"

namespace tuner {

inline constexpr const char* kToolName = "TovrexTuner_K7PXXX";
inline constexpr const char* kToolVersion = "v1.0.0.87";
inline constexpr const char* kToolBuildDate = "180308";

struct Titles {
    std::string base;  // also the "Tool Version:" line of the CSV logs
    std::string full;  // the window caption
};

std::string BaseTitle();
Titles BuildTitles(const IdentityTexts& texts, const ChannelInfo& channels);

}  // namespace tuner
