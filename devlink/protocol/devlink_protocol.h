// The report protocol between the devlink library and a controller's firmware.
//
// Both sides build and read 64-byte reports: byte 0 report id, byte 1 the count of bytes after
// it, byte 2 kind, byte 3 sub-code, data from byte 4. The command channel uses four kinds of its
// own; every other kind is a report the firmware sends on its own (image rows, short-test data,
// touch information, the disconnect notice). docs/devlink-protocol.md describes every layout.
#pragma once

#include <cstddef>
#include <cstdint>

namespace devproto {

inline constexpr std::size_t kReportSize = 64;
inline constexpr uint8_t kReportId = 0x03;
inline constexpr int kMaxCount = 62;  // bytes 2..63

// Command channel kinds.
inline constexpr uint8_t kKindCommand = 0x7C;  // host -> device: sub op, [4] seq, args from 5
inline constexpr uint8_t kKindDataOut = 0x7D;  // host -> device: sub seq, payload from 4
inline constexpr uint8_t kKindDataIn = 0x7E;   // device -> host: sub seq, payload from 4
inline constexpr uint8_t kKindReply =
    0x7F;  // device -> host: sub op, [4] seq, [5] status, tail from 6

inline constexpr std::size_t kCommandArgOffset = 5;
inline constexpr std::size_t kCommandArgMax = kReportSize - kCommandArgOffset;  // 59
inline constexpr std::size_t kDataPayloadOffset = 4;
inline constexpr std::size_t kDataPayloadMax = kReportSize - kDataPayloadOffset;  // 60
inline constexpr std::size_t kReplyTailOffset = 6;
inline constexpr std::size_t kReplyTailMax = kReportSize - kReplyTailOffset;  // 58

// Reports the firmware sends on its own.
inline constexpr uint8_t kKindImage = 0x4A;
inline constexpr uint8_t kKindList = 0x4B;
inline constexpr uint8_t kKindInfo = 0x3F;
inline constexpr uint8_t kKindPoints = 0x36;
inline constexpr uint8_t kKindKeys = 0x2F;
inline constexpr uint8_t kKindDisconnect = 0x3B;
inline constexpr uint8_t kSubShortTest = 0x53;
inline constexpr uint8_t kSubTouchInfo = 0x68;
inline constexpr uint8_t kSubPenInfo = 0x70;
inline constexpr uint8_t kSubIcInfo = 0x7D;
inline constexpr uint8_t kSubPoints = 0x13;

// Reply status byte.
enum Status : uint8_t {
    kStatusOk = 0,
    kStatusRefused = 1,     // understood, but not allowed now or with these arguments
    kStatusUnknown = 2,     // an operation the firmware does not know
    kStatusBadRequest = 3,  // malformed arguments or bulk data
    kStatusFailed = 4,      // the operation failed inside the firmware
};

// Operations of the command channel (the sub-code of a kKindCommand report).
enum Op : uint8_t {
    kOpModelName = 0x01,
    kOpTypeName = 0x02,
    kOpVersionText = 0x03,
    kOpModelSubName = 0x04,
    kOpStructVersion = 0x05,
    kOpVersionBytes = 0x06,
    kOpKernelNumber = 0x07,
    kOpSwitchWorkMode = 0x10,
    kOpRestart = 0x11,
    kOpPcapInfo = 0x20,
    kOpFrequencyTable = 0x21,
    kOpQueryInfo = 0x22,
    kOpReportInfo = 0x23,
    kOpErrorCode = 0x24,
    kOpSetFreqOption = 0x30,
    kOpSetFrequency = 0x31,
    kOpGetFrequency = 0x32,
    kOpSetTestMode = 0x40,
    kOpSetClock = 0x41,
    kOpStartShortTest = 0x42,
    kOpRequestImage = 0x43,
    kOpSetReportImage = 0x44,
    kOpSetAnalog = 0x45,
    kOpReadBlock = 0x50,
    kOpWriteBlock = 0x51,
    kOpReadRegisters = 0x60,
    kOpWriteRegisters = 0x61,
    kOpSetInfoReport = 0x70,
    kOpThresholdMode = 0x71,
    kOpPenThresholdMode = 0x72,
};

// Little-endian field helpers, byte by byte.
inline void putU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void putU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint16_t getU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t getU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace devproto
