// What the controller keeps in its storage (software, hardware, stylus sets and the uniformity
// table) and the RAM copy of the hardware set that drives scanning. Optionally kept in a state
// file between runs; the file is replaced atomically after every stored change.
#pragma once

#include <array>
#include <string>

#include "Images.h"

namespace sim {

class Storage {
  public:
    // Factory images, then the state file's images when it holds a complete, matching set.
    Storage(const Profile& profile, std::string statePath);

    const Bytes& stored(int type) const { return stored_[type]; }
    const Bytes& ram() const { return ram_; }

    // Stores bytes at offset; false when they do not fit or the state file cannot be written.
    bool store(int type, uint32_t offset, const Bytes& data);
    // Changes only the RAM copy of the hardware set.
    bool applyToRam(uint32_t offset, const Bytes& data);
    // The RAM copy becomes the stored hardware set again (restart).
    void reloadRam() { ram_ = stored_[kHardware]; }
    // Breaks the stored checksum of a set (fault injection) until the set is stored anew; the
    // state file keeps the unbroken set.
    void corrupt(int type);
    // Replaces a factory image that depends on the panel, unless the state file gave the set.
    void setFactoryImage(int type, Bytes image);

  private:
    bool loadState();
    bool saveState() const;

    int typeCode_;
    std::string statePath_;
    std::array<Bytes, kBlockTypes> stored_;
    std::array<bool, kBlockTypes> corrupted_{};
    bool fromStateFile_ = false;
    Bytes ram_;
};

}  // namespace sim
