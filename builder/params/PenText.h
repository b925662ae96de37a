// What the stylus text file's writer and reader share.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "params/CParam.h"
#include "files/CParamFile.h"
#include "params/PenTextKeys.h"

namespace pentext {

extern const ParamFileFrame kTextFrame;

// The ranged items of a table whose offsets count from base, with the comments that depend on
// the controller's stylus structure version; the keys named in headKeys at headLevel, the others
// at the detail level.
void WriteKeys(CParamFile& file, std::span<uint8_t> image, std::span<const RangedKey> keys,
               std::string_view section, int structVersion, int base = 0,
               int headLevel = kLevelDetail, std::initializer_list<std::string_view> headKeys = {});

// The key with its "%d" name filled in; name must outlive the returned row.
RangedKey IndexedKey(RangedKey key, const std::string& name);

}  // namespace pentext
