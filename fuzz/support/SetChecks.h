// Promises every load of a parameter set keeps, whatever the file holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "params/CParam.h"

namespace fuzz {

inline std::vector<std::uint8_t> ImageOf(const CParam& set) {
    return {set.Image(), set.Image() + set.ImageLength()};
}

// Bytes [from, to) of the set's image are as they were before the load.
inline void ExpectUnchanged(const CParam& set, const std::vector<std::uint8_t>& before, int from,
                            int to, const std::string& what) {
    for (int i = from; i < to && i < set.ImageLength(); ++i) {
        if (set.Image()[i] != before[static_cast<std::size_t>(i)])
            Finding(what + ": image byte " + std::to_string(i) + " changed");
    }
}

// A text or register load either is refused before it reads an item (only the used length at the
// front may have been set), or ends with a checksum that matches the image. It never writes past
// the used length of the image.
inline void ExpectSoundLoad(CParam& set, const std::vector<std::uint8_t>& before, bool loaded,
                            int usedLength) {
    ExpectUnchanged(set, before, 4 + usedLength, set.ImageLength(), "beyond the used length");
    if (!loaded) {
        ExpectUnchanged(set, before, 2, 4 + usedLength, "a refused load");
        return;
    }
    Expect(set.CalcCheckSum() == set.Word(2), "a loaded set with a stale checksum");
    Expect(set.Word(0) == usedLength, "a loaded set with another used length");
}

}  // namespace fuzz
