// The profile keys that describe the panel (wiring, variations, faults, noise, finger) and the
// faults of its data streams.
#pragma once

#include <string>

#include "sim/Profile.h"

namespace sim {

// False when the key is not a panel key. Otherwise true, with `error` set when the value is bad.
bool applyPanelKey(Profile& profile, const std::string& key, const std::string& value,
                   std::string& error);

// Every pin one chip of the model has on an axis.
int chipPins(ChipModel chip, bool tx);

// The profile forms of the wiring and the lists, as the truth file repeats them.
std::string wiringText(const Profile& profile, bool tx);
std::string linesText(const std::set<int>& lines);
std::string noiseSourcesText(const std::vector<NoiseSource>& sources);
std::string shortsText(const std::vector<PanelShort>& shorts);

}  // namespace sim
