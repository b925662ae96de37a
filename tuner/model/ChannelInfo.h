// The controller's version, channel and sensor geometry as the tuner reads it at start-up and again
// after each software restart.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "devlink/devlink.h"

namespace tuner {

inline constexpr std::size_t kInfoBlockSize = 64;
using InfoBlock = std::array<uint8_t, kInfoBlockSize>;

struct PinRange {
    uint8_t first = 0;
    uint8_t last = 0;

    bool operator==(const PinRange&) const = default;
};

struct ChannelInfo {
    uint8_t kernelMajor = 0;
    uint8_t kernelMinor = 0;
    std::array<uint8_t, 3> kernelBuildDate{};  // year, month, day as two-digit numbers

    // Information record 3.
    uint32_t txCount = 0;
    uint32_t rxCount = 0;
    int8_t leadRows1 = 0;  // L1
    int8_t leadRows2 = 0;  // L2
    int leadRowSum = 0;    // L1 + L2
    std::array<uint8_t, 10> calTargets{};

    // Information record 4.
    bool channelMapsValid = false;
    std::array<uint8_t, 16> txChannelMap{};  // bit n of the map is bit n % 8 of byte n / 8
    std::array<uint8_t, 32> rxChannelMap{};

    // Information block.
    uint16_t sensorSizeX = 0;
    uint16_t sensorSizeY = 0;
    std::array<PinRange, 4> txPins{};  // per sensing chip
    std::array<PinRange, 4> rxPins{};
    uint8_t uniformityScale = 0;
    uint8_t calTargetOffset = 0;  // 0 or 1

    bool operator==(const ChannelInfo&) const = default;
};

// Field decoders for the three 64-byte answers; each fills only the fields its answer carries.
void DecodeChannelRecord(const InfoBlock& record3, ChannelInfo& info);
void DecodeChannelMapRecord(const InfoBlock& record4, ChannelInfo& info);
void DecodeInfoBlock(const InfoBlock& block, ChannelInfo& info);

// Reads the kernel numbers, information records 3 and 4 and the information block. Answers nothing
// when record 3, record 4 or the block cannot be read, so a failed refresh never leaves a mixture
// of old and new geometry.
std::optional<ChannelInfo> ReadChannelInfo(DevHandle handle);

}  // namespace tuner
