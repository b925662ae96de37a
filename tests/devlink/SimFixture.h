// Helpers for tests that reach the simulated controller through the public devlink API.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "devlink/devlink.h"

namespace testsim {

// A fresh folder, removed with everything in it, with short ways to name and write its files.
class TempDir {
  public:
    std::string file(const std::string& name) const { return (folder_ / name).string(); }
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(file(name)) << text;
        return file(name);
    }

  private:
    testsupport::ScratchFolder folder_{"devlink"};
};

inline std::vector<DevRecord> enumerateAll() {
    std::vector<DevRecord> found;
    devEnumerate(
        nullptr,
        [](DevRecord* r, const char*, void* ctx, uint32_t, uint32_t, uint16_t, uint16_t) {
            static_cast<std::vector<DevRecord>*>(ctx)->push_back(*r);
            return 0;
        },
        &found);
    return found;
}

// Selects a profile through the environment, as the programs see it, and opens its first
// controller. Closes it at the end of the test.
class SimDevice {
  public:
    explicit SimDevice(const std::string& profile) {
        setenv("DEVLINK", ("sim:" + profile).c_str(), 1);
        auto records = enumerateAll();
        if (!records.empty()) {
            record_ = records.front();
            handle_ = devOpen(record_);
        }
    }
    ~SimDevice() { close(); }
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    DevHandle handle() const { return handle_; }
    const DevRecord& record() const { return record_; }
    void close() {
        if (handle_) devClose(handle_);
        handle_ = nullptr;
    }

  private:
    DevRecord record_{};
    DevHandle handle_ = nullptr;
};

inline std::vector<uint8_t> readBlock(DevHandle h, int type, uint32_t length) {
    std::vector<uint8_t> data(length);
    const int count = devReadBlock(h, type, 0, length, data.data());
    data.resize(static_cast<size_t>(count > 0 ? count : 0));
    return data;
}

inline uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// The parameter image checksum, computed here independently of the simulator.
inline uint16_t imageChecksum(const std::vector<uint8_t>& image) {
    uint32_t sum = 0x55;
    const uint32_t used = le16(image, 0);
    for (uint32_t i = 0; i + 1 < used; i += 2) sum += le16(image, 4 + i);
    return static_cast<uint16_t>(sum);
}

inline void renewChecksum(std::vector<uint8_t>& image) {
    const uint16_t sum = imageChecksum(image);
    image[2] = static_cast<uint8_t>(sum);
    image[3] = static_cast<uint8_t>(sum >> 8);
}

inline std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace testsim
