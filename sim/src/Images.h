// The simulator's own compact model of the parameter images the controller stores: lengths,
// the checksum, and the fields the firmware reads. Offsets are into the image, little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/Profile.h"

namespace sim {

using Bytes = std::vector<uint8_t>;

enum BlockType { kSoftware = 0, kHardware = 1, kTable = 2, kStylus = 3 };

inline constexpr int kBlockTypes = 4;
uint32_t blockLength(int type);  // 0 for an unknown type
bool isBlockType(int type);

// Parameter image checksum: 0x55 plus the 16-bit words of the used length, from byte 4.
uint16_t imageChecksum(const Bytes& image);
bool imageChecksumValid(const Bytes& image);
void renewImageChecksum(Bytes& image);

// Uniformity table: covered length at 0, checksum 0x55AA plus words from byte 4.
bool tableValid(const Bytes& table);

Bytes factoryImage(int type, const Profile& profile);

// Pieces the factory images are built from: every image starts with the common head (used
// length, version bytes, tuner version bytes) and 0xFF elsewhere.
void put16(Bytes& b, int at, uint16_t v);
Bytes emptyImage(int type, uint8_t version);
Bytes factoryHardware(const Profile& profile);  // HardwareImage.cpp
Bytes factorySoftware(const Profile& profile);  // SoftwareImage.cpp
Bytes factoryStylus(const Profile& profile);    // StylusImage.cpp
// A chip's power-on register image (68 bytes) with its prescaler field set (HardwareImage.cpp).
std::array<uint8_t, 68> chipPowerOnImage(ChipModel model, int preScaler);

// Fields of the hardware image the firmware interprets.
namespace hw {
inline constexpr int kScanCtrl = 10;
inline constexpr int kXDimension = 40;
inline constexpr int kYDimension = 42;
inline constexpr int kRxChips = 44;
inline constexpr int kTxChips = 45;
inline constexpr int kNumsOfFreq = 46;
inline constexpr int kFreqStartIndex = 47;
inline constexpr int kTxStart = 48;  // + 2i, TxEnd at + 2i + 1
inline constexpr int kRxStart = 56;  // + 2i, RxEnd at + 2i + 1
inline constexpr int kPhaseTarget = 64;
inline constexpr int kFreqBlock = 104;
inline constexpr int kFreqBlockSize = 490;
inline constexpr int kBlockClkSrc = 0;
inline constexpr int kBlockPreScaler = 470;
inline constexpr int kBlockFreqDivider = 477;
inline constexpr int kTxEnable = 2586;
inline constexpr int kRxEnable = 2606;
inline constexpr int kChannelCtrl = 2638;

// Counts as bounds: the stored byte may hold anything, so they are clamped to their ranges.
int txChips(const Bytes& image);      // 1..4
int rxChips(const Bytes& image);      // 1..4
int frequencies(const Bytes& image);  // 1..5
int freqStartIndex(const Bytes& image);
int txCount(const Bytes& image);  // active Tx lines, the sum of the Tx chips' runs
int rxCount(const Bytes& image);
bool usesStylus(const Bytes& image);
}  // namespace hw

namespace sw {
inline constexpr int kNumsOfThresholds = 198;
}
namespace pen {
inline constexpr int kNumsOfThresholds = 1492;
}

}  // namespace sim
