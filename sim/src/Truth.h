// The truth file: what the simulated controller knows of its panel, for tests to compare what the
// programs measured or found with what is so. Text, one "key = value" per line; lists are
// comma-separated, lines numbered from 0 in the panel's channel order.
#pragma once

#include <string>

#include "Panel.h"

namespace sim {

// Writes the whole file through a temporary file and a rename, so a reader never sees half of
// it. `image` is the RAM hardware image and f the working frequency the frames use now. The
// controller writes it when it opens and whenever an image stream starts, so the frame part
// describes the frames it sent last.
bool writeTruth(const std::string& path, const Profile& profile, const Panel& panel,
                const Bytes& image, int f);

}  // namespace sim
