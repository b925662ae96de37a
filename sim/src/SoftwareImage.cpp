#include "Images.h"

namespace sim {

Bytes factorySoftware(const Profile& p) {
    Bytes image = emptyImage(kSoftware, p.swVersion);
    put16(image, 10, 0);  // control flags: no automatic frequency, no diagnostic frequency
    image[184] = 0;       // axis flags
    image[191] = 0;       // start threshold index
    image[sw::kNumsOfThresholds] = 3;
    renewImageChecksum(image);
    return image;
}

}  // namespace sim
