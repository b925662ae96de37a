// What initialisation learns about the attached controller: who it is and how its panel is laid
// out. The controller keeps one of each; its parts read them, and only initialisation (or a test
// that sets up a controller by hand) writes them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct ControllerIdentity {
    uint16_t id1 = 0;
    uint8_t hwVersion = 0, swVersion = 0, penVersion = 0;  // structure versions of the controller
    std::array<int, 5> channelInfo{};
    uint32_t errorFlags = 0;
    std::string devicePath, typeName, firmwareVersion;
    uint8_t kernelMajor = 0xFF, kernelMinor = 0xFF;
    std::array<uint8_t, 64> reportInfo{};
};

struct ControllerGeometry {
    uint16_t txCount = 0, rxCount = 0, maxTx = 0, maxRx = 0, calReference = 0;
    uint8_t numTxChips = 0, numRxChips = 0, txPerChip = 0, rxPerChip = 0;
    uint8_t rowOffset1 = 0, rowOffset2 = 0, rowsPerFrame = 0;
    std::array<std::array<int, 5>, 4> icInfo{};
    std::array<uint16_t, 4> firstChipTxOffset{}, firstChipRxOffset{};
    std::array<uint8_t, 4> calValue{};
    uint8_t rangeClassX = 0, rangeClassY = 0;
};
