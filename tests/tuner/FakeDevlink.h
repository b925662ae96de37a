// A scriptable stand-in for the devlink functions the tuner's model calls, for tests that need a
// controller answer the real simulator cannot be made to give. Linked instead of devlink.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "devlink/devlink.h"

namespace fake {

using Block = std::array<uint8_t, 64>;

struct EnumeratedDevice {
    std::string path = "/dev/fake-controller";
    uint32_t inputLength = 64;
    uint32_t outputLength = 64;
    uint16_t id1 = 0x1234;
    uint16_t id2 = 0xC000;
};

struct Controller {
    // What the controller answers.
    std::vector<EnumeratedDevice> devices{EnumeratedDevice{}};
    bool openFails = false;
    int solutionCode = 94;
    bool solutionSupported = true;
    std::string modelName = "TP-GXXX";
    std::string modelSubName = "K7P100";
    std::string typeName = "T3300";
    std::string versionText = "V5.120";
    uint8_t kernelMajor = 5;
    uint8_t kernelMinor = 120;
    std::array<Block, 5> records{};
    std::set<int> failingRecords;
    Block infoBlock{};
    bool infoBlockFails = false;
    Block reportInfo{};
    int reportInfoLength = 64;
    bool reportInfoFails = false;

    // What the tuner did.
    std::vector<std::string> calls;
    DevRecord openedRecord{};
    int handleCallsWithBadHandle = 0;

    int Count(const std::string& call) const;
};

// The one controller of the process; Reset() before each test.
Controller& Device();
void Reset();

}  // namespace fake
