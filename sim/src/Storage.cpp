#include "Storage.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace sim {
namespace {

constexpr uint8_t kCorruption = 0x5A;  // flipped into the checksum's low byte

// State file: magic, type code, then for each block type its u32 length and bytes.
constexpr char kMagic[8] = {'T', 'V', 'X', 'S', 'T', 'A', 'T', '1'};

void putU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

uint32_t getU32(const std::string& in, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
    return v;
}

}  // namespace

Storage::Storage(const Profile& profile, std::string statePath)
    : typeCode_(profile.typeCode), statePath_(std::move(statePath)) {
    for (int type = 0; type < kBlockTypes; ++type) stored_[type] = factoryImage(type, profile);
    if (!statePath_.empty()) fromStateFile_ = loadState();
    ram_ = stored_[kHardware];
}

void Storage::setFactoryImage(int type, Bytes image) {
    if (fromStateFile_ || image.size() != stored_[type].size()) return;
    stored_[type] = std::move(image);
    if (type == kHardware) ram_ = stored_[type];
}

bool Storage::store(int type, uint32_t offset, const Bytes& data) {
    Bytes& image = stored_[type];
    if (offset > image.size() || data.size() > image.size() - offset) return false;
    Bytes previous = image;
    const bool wasCorrupted = corrupted_[type];
    std::copy(data.begin(), data.end(), image.begin() + offset);
    corrupted_[type] = false;
    if (type == kHardware) ram_ = image;
    if (!saveState()) {
        image = std::move(previous);
        corrupted_[type] = wasCorrupted;
        if (type == kHardware) ram_ = image;
        return false;
    }
    return true;
}

bool Storage::applyToRam(uint32_t offset, const Bytes& data) {
    if (offset > ram_.size() || data.size() > ram_.size() - offset) return false;
    std::copy(data.begin(), data.end(), ram_.begin() + offset);
    return true;
}

void Storage::corrupt(int type) {
    if (corrupted_[type]) return;
    Bytes& image = stored_[type];
    image[2] = static_cast<uint8_t>(image[2] ^ kCorruption);
    corrupted_[type] = true;
    if (type == kHardware) ram_ = image;
}

bool Storage::loadState() {
    std::ifstream file(statePath_, std::ios::binary);
    if (!file) return false;
    const std::string data((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    size_t at = sizeof(kMagic) + 1;
    if (data.size() < at || data.compare(0, sizeof(kMagic), kMagic, sizeof(kMagic)) != 0 ||
        static_cast<uint8_t>(data[sizeof(kMagic)]) != typeCode_)
        return false;
    std::array<Bytes, kBlockTypes> images;
    for (int type = 0; type < kBlockTypes; ++type) {
        if (data.size() < at + 4) return false;
        const uint32_t length = getU32(data, at);
        at += 4;
        if (length != blockLength(type) || data.size() - at < length) return false;
        images[type].assign(data.begin() + static_cast<long>(at),
                            data.begin() + static_cast<long>(at + length));
        at += length;
    }
    stored_ = std::move(images);
    return true;
}

bool Storage::saveState() const {
    if (statePath_.empty()) return true;
    std::string out(kMagic, sizeof(kMagic));
    out.push_back(static_cast<char>(typeCode_));
    for (int type = 0; type < kBlockTypes; ++type) {
        const Bytes& image = stored_[type];
        putU32(out, static_cast<uint32_t>(image.size()));
        const size_t at = out.size();
        out.append(image.begin(), image.end());
        if (corrupted_[type]) out[at + 2] = static_cast<char>(image[2] ^ kCorruption);
    }
    // Write beside the target and rename over it, so a failed write never leaves half a file. A
    // random name keeps two processes that share the state file from writing the same temporary.
    const std::string temp = statePath_ + ".tmp" + std::to_string(std::random_device{}());
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
        file.close();
        if (file.fail()) {
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, statePath_, ec);
    if (ec) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace sim
