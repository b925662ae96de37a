// The reports the draw-test page reads, decoded from their 64 bytes: touch and stylus points,
// touch and stylus information records, touch keys and the disconnect notice; and the names the
// page gives to the firmware's error bits, scan states and button states.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "devlink/devlink.h"

namespace tuner {

// Report kinds and sub-codes of the page's subscriptions, with the message each is posted as.
inline constexpr uint8_t kKindDeviceStatus = 0x3B;
inline constexpr uint8_t kKindPoints = 0x36;
inline constexpr uint8_t kSubPoints = 0x13;
inline constexpr uint8_t kSubPointsAlt = 0x30;
inline constexpr uint8_t kKindTouchKey = 0x2F;
inline constexpr uint8_t kKindInfo = 0x3F;
inline constexpr uint8_t kSubTouchInfo = 0x68;
inline constexpr uint8_t kSubStylusInfo = 0x70;

inline constexpr uint32_t kMsgDeviceStatus = 0x465;
inline constexpr uint32_t kMsgPoints = 0x467;
inline constexpr uint32_t kMsgTouchKey = 0x468;
inline constexpr uint32_t kMsgTouchInfo = 0x46A;
inline constexpr uint32_t kMsgStylusInfo = 0x46B;

// ---- Points ------------------------------------------------------------------------------------

namespace status_bit {
inline constexpr uint8_t kContact = 1u << 0;
inline constexpr uint8_t kBarrel = 1u << 1;
inline constexpr uint8_t kEraser = 1u << 3;
inline constexpr uint8_t kInRange = 1u << 4;
inline constexpr uint8_t kHover = 1u << 5;
}  // namespace status_bit

struct PointRecord {
    uint8_t status = 0;
    uint8_t id = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    int16_t z = 0;
    uint8_t byte8 = 0;  // size of a touch, tilt X of a stylus
    uint8_t byte9 = 0;  // tilt Y of a stylus

    bool Contact() const { return (status & status_bit::kContact) != 0; }
    bool InRange() const { return (status & status_bit::kInRange) != 0; }
};

inline constexpr int kMaxPointsPerReport = 5;

struct PointReport {
    int count = 0;  // never more than the five records a report holds
    std::array<PointRecord, kMaxPointsPerReport> points{};
};

// The page accepts a point report when byte 2 is the point kind, or byte 3 one of the two point
// sub-codes.
bool IsPointReport(const DevReport& report);
PointReport DecodePoints(const DevReport& report);

// How a stylus record is drawn: 5 barrel, 4 eraser, 2 tip down, 1 hovering, 3 in range only.
enum class StylusStyle : uint8_t { kHover = 1, kTip = 2, kInRange = 3, kEraser = 4, kBarrel = 5 };
StylusStyle StyleOf(const PointRecord& record);

// ---- Information records
// -------------------------------------------------------------------------

inline constexpr std::size_t kInfoRecordSize = 60;
using InfoRecordBytes = std::array<uint8_t, kInfoRecordSize>;

struct TouchInfo {
    uint8_t freqIndex = 0;
    uint8_t strayConfidence = 0;
    uint8_t touches = 0;
    uint8_t water = 0;  // 0 none, 1..3 the water states
    uint8_t noiseCondition = 0;
    uint8_t palm = 0;
    uint16_t sf1 = 0;
    uint8_t sf2 = 0;
    uint8_t palmCount = 0;
    uint8_t waterDisablesTouch = 0;
    uint8_t idle = 0;
    int16_t maxNoise = 0;
    uint8_t maxNoiseRx = 0;
    int16_t cMax = 0;
    int16_t waterQuantity = 0;
    int16_t cMin = 0;
    uint8_t threshold = 0;
    uint32_t errorWord = 0;
    std::array<int16_t, 8> debug{};
};

struct StylusInfo {
    uint8_t scanState = 0;
    uint16_t errorState = 0;
    uint16_t rawZ1 = 0, rawZ2 = 0, z1 = 0, z2 = 0;
    uint16_t maxSig = 0, secSig = 0, maxButton = 0, secButton = 0;
    uint16_t aPenState = 0;
    uint8_t buttonState = 0;
    uint8_t buttonStateIndex = 0;
    uint8_t maxSigIndex = 0, secSigIndex = 0, maxNonZeroNum = 0, nonZeroStartIndex = 0;
    uint16_t z1Comp = 0, speed = 0;
    uint8_t noiseCount = 0, freqScanIndex = 0, noiseCondition = 0, maxNoiseIndex = 0;
    uint16_t maxNoise = 0;
    uint8_t noiseDetectCount = 0;
    int16_t xTilt = 0, yTilt = 0;
    std::array<uint16_t, 8> debug{};
};

bool IsTouchInfoReport(const DevReport& report);
bool IsStylusInfoReport(const DevReport& report);
TouchInfo DecodeTouchInfo(const DevReport& report);
StylusInfo DecodeStylusInfo(const DevReport& report);

// ---- Touch keys and the device status -----------------------------------------------------------

struct TouchKeyState {
    bool pressed = false;
    int index = 0;
};
bool IsTouchKeyReport(const DevReport& report);
TouchKeyState DecodeTouchKey(const DevReport& report);

// The notice the controller sends when it goes away.
bool IsDisconnectNotice(const DevReport& report);

// ---- Answers ----------------------------------------------------------------------------------

struct FrequencyState {
    int count = 0;
    int index = 0;
    std::string text;  // "%.1f KHz", empty when the table has no entry for the index
};

// Decodes a frequency table answer: count, current index and the frequency of that index.
FrequencyState DecodeFrequencyTable(const uint8_t* answer64);

// ---- Names -------------------------------------------------------------------------------------

// The names of the set bits of the firmware's error word, in bit order.
std::string ErrorWordNames(uint32_t errorWord);
// "N_DET_RX, " and so on; "Unknown(%d)" for a state without a name.
std::string ScanStateName(uint8_t state);
// The button state on the panel ("NORMAL") and in the log ("Normal, ").
std::string ButtonStatePanelName(uint8_t state);
std::string ButtonStateLogName(uint8_t state);

}  // namespace tuner
