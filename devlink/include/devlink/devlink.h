// devlink: the only way the builder and the tuner reach a touch controller.
//
// A C-style API: plain structs, opaque handles, function pointers with a context. Every operation
// except devEnumerate, devOpen, devGetSolutionCode and devIsSupportedSolution takes the device
// handle first. Nonzero is success; a null, closed or disconnected handle makes every operation
// fail (devReadBlock then returns a count of 0), and devGetLastError(handle) tells why the last
// call failed. No operation waits without a time-out.
//
// Handles and subscriptions are tokens that are never reused within the process: once closed or
// removed, a handle or a subscription fails every call, even after later opens and subscriptions.
//
// The backend is chosen at run time by the environment (see docs/devlink-protocol.md):
//   DEVLINK=sim:<profile>   the simulated controller, in process (a model name or a profile file)
//   DEVLINK unset           the real transport (none yet: enumeration finds no controller)
//
// Report handlers and the post sink run on a device's reader thread and must not block. From
// there a handler may read the report, add and remove subscriptions (its own included), and call
// devGetLastError, devErrorText and devGetDroppedReportCount. Every call that waits for a
// controller (the operations, devRequest) and devClose fail at once when made on any device's
// reader thread, with the cause kDevErrorFromHandler: the reply they would wait for may have to
// come through the very thread that is waiting.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// ---- Plain data ---------------------------------------------------------------------------------

inline constexpr std::size_t kDevPathSize = 512;  // 511 characters and a terminating zero
inline constexpr std::size_t kDevReportSize = 64;
inline constexpr std::size_t kDevTextSize = 260;  // text buffers callers pass to the text getters

// One attached controller, as enumeration describes it. devOpen takes it by value.
struct DevRecord {
    char path[kDevPathSize];  // zero-ended
    uint32_t inputLength;     // input report length in bytes (64)
    uint32_t outputLength;    // output report length in bytes (64)
    uint16_t id1;             // vendor number
    uint16_t id2;             // product number; parameter file names carry it
};
static_assert(sizeof(DevRecord) == 524, "the device record is 524 bytes");

// One report as the controller sends it: byte 0 report id, byte 1 the count of bytes after it,
// byte 2 kind, byte 3 sub-code, data from byte 4. The count byte may claim more than the report
// holds; devReportPayloadCount() bounds it.
struct DevReport {
    uint8_t bytes[kDevReportSize];
};
static_assert(sizeof(DevReport) == 64, "a report is 64 bytes");

// The usable count of bytes after byte 1: the report's own count, never more than 62.
inline int devReportCount(const DevReport& r) { return r.bytes[1] < 62 ? r.bytes[1] : 62; }
inline uint8_t devReportKind(const DevReport& r) { return r.bytes[2]; }
inline uint8_t devReportSubCode(const DevReport& r) { return r.bytes[3]; }

inline constexpr uint8_t kDevAnySubCode = 0xFF;  // a subscription with this sub-code matches any

struct DevDevice;                 // opaque
using DevHandle = DevDevice*;     // nullptr on failure
struct DevSubscriptionImpl;       // opaque
using DevSubscription = DevSubscriptionImpl*;  // nullptr on failure

// Enumeration callback, once per controller: (record, path, context, input length, output length,
// id1, id2). The record is valid only during the call. A nonzero return stops the enumeration.
using DevEnumCallback = int (*)(DevRecord* record, const char* path, void* context,
                                uint32_t inputLength, uint32_t outputLength, uint16_t id1,
                                uint16_t id2);

// Report handler: (context, unused, report), called on the device's reader thread. The report is
// valid only during the call.
using DevReportHandler = void (*)(void* context, int unused, const DevReport* report);

// Where posted reports go (devPostReports, devPostFilteredReports): the program registers one sink,
// which gets the target window, the message and the report. The report is valid only during the
// call, so a sink that queues it keeps a copy. Called on the device's reader thread.
using DevPostSink = void (*)(void* sinkContext, void* window, uint32_t message,
                             const DevReport* report);

// The library never prints; it hands its diagnostics to this sink when one is set.
using DevLogSink = void (*)(void* sinkContext, const char* text);

// ---- Error causes -------------------------------------------------------------------------------

// Why the last call with a handle failed. Calls made on a reader thread (from report handlers)
// keep a cause of their own, so a refused call in a handler never hides the cause a
// program thread is about to read.
enum DevError : int {
    kDevErrorNone = 0,              // the last call succeeded
    kDevErrorTimeOut = 1,           // no reply within the time-out
    kDevErrorDeviceLost = 2,        // the controller is gone (disconnected, closed, write failed)
    kDevErrorRefused = 3,           // the controller refused: not allowed now or with these values
    kDevErrorUnknownOperation = 4,  // the controller does not know the operation
    kDevErrorBadRequest = 5,        // malformed arguments, seen by the library or the controller
    kDevErrorMalformedReply = 6,    // the reply did not have the size or shape the call expects
    kDevErrorFailed = 7,            // the operation failed inside the controller
    kDevErrorNoDevice = 8,          // a null, closed or unknown handle
    kDevErrorFromHandler = 9,       // a waiting call from a report handler (a reader thread)
};

// The cause of the last failed call with this handle, kDevErrorNone after a success;
// kDevErrorNoDevice for a null, closed or unknown handle.
int devGetLastError(DevHandle handle);
// A short English text for a cause ("time-out", ...); never null, also for unknown values.
const char* devErrorText(int cause);

// ---- Session, identity and enumeration ----------------------------------------------------------

// Calls back once per attached controller; returns the number of controllers reported.
int devEnumerate(DevRecord* record, DevEnumCallback callback, void* context);
DevHandle devOpen(DevRecord record);
int devClose(DevHandle handle);
int devGetSolutionCode(DevRecord record);  // the device type code, 0 when unknown
int devIsSupportedSolution(int code);      // 0 = unsupported

// Text getters write a zero-ended text of at most size - 1 characters (size is normally
// kDevTextSize); a failure leaves an empty text.
int devGetModelName(DevHandle handle, char* text, std::size_t size);
int devGetTypeName(DevHandle handle, char* text, std::size_t size);
int devGetVersionText(DevHandle handle, char* text, std::size_t size);
int devGetModelSubName(DevHandle handle, char* text, std::size_t size);

// [0] kernel major, [1] hardware, [2] software, [3] stylus structure version, [4..6] reserved.
int devGetStructVersion(DevHandle handle, uint8_t* b0, uint8_t* b1, uint8_t* b2, uint8_t* b3,
                        uint8_t* b4, uint8_t* b5, uint8_t* b6);
int devGetVersionBytes(DevHandle handle, uint8_t* b0, uint8_t* b1, uint8_t* b2, uint8_t* b3,
                       uint8_t* b4, uint8_t* b5, uint8_t* b6);
int devGetKernelNumber(DevHandle handle, uint8_t* kernelMinor);

// ---- Working mode and restart -------------------------------------------------------------------

int devSwitchWorkMode(DevHandle handle, uint16_t mode);
int devRestart(DevHandle handle, uint16_t resumeMode);

// ---- Queries (buffers are 64 bytes) -------------------------------------------------------------

int devGetPcapInfo(DevHandle handle, uint8_t* buffer64);
int devGetFrequencyTable(DevHandle handle, uint8_t* buffer64);
int devQueryInfo(DevHandle handle, int index, uint8_t* buffer64);
int devGetReportInfo(DevHandle handle, uint8_t* buffer, int* length);  // *length in: size, out: used
int devGetErrorCode(DevHandle handle, uint32_t* flags);

// Sends one 64-byte request and waits up to timeoutMs for a report of replyKind and replySubCode
// (0xFF: any); copies it into reply (64 bytes) and sets *replyLength. Nonzero when it arrived.
int devRequest(DevHandle handle, const uint8_t* request, int requestLength, uint8_t replyKind,
               uint8_t replySubCode, uint32_t timeoutMs, uint8_t* reply, int* replyLength);

// ---- Report delivery ----------------------------------------------------------------------------

DevSubscription devAddReportHandler(DevHandle handle, uint8_t kind, uint8_t subCode, void* context,
                                    DevReportHandler handler);
DevSubscription devPostReports(DevHandle handle, void* window, uint8_t kind, uint32_t message);
DevSubscription devPostFilteredReports(DevHandle handle, void* window, uint8_t kind,
                                       uint8_t subCode, uint32_t message);
// Returns only when no callback of the subscription is running; none is made afterwards. From a
// handler of the same device it returns at once (a handler removing its own subscription gets no
// further call once it returns). Zero for a subscription that was already removed or belongs to
// another device.
int devRemoveReportHandler(DevHandle handle, DevSubscription subscription);

// Process-wide sinks; pass nullptr to remove. Set them before opening a device.
void devSetPostSink(DevPostSink sink, void* sinkContext);
void devSetLogSink(DevLogSink sink, void* sinkContext);

// Count of reports from this device that were dropped as malformed.
uint32_t devGetDroppedReportCount(DevHandle handle);

// ---- Frequency ----------------------------------------------------------------------------------

int devSetFreqOption(DevHandle handle, int option);
int devSetFrequency(DevHandle handle, uint8_t* scratch64, uint8_t index);
int devGetFrequency(DevHandle handle, uint8_t* index);

// ---- Chip-level tests and measurements ----------------------------------------------------------

int devSetTestMode(DevHandle handle, uint8_t firstTestLine, uint8_t lastTestLine);
int devSetClock(DevHandle handle, uint8_t clock, uint8_t* scratch);
int devStartShortTest(DevHandle handle, uint8_t stepCode);
int devRequestImage(DevHandle handle, uint8_t rows, uint8_t afeGain);
int devSetReportImage(DevHandle handle, int firstRx, int lastRx, int firstTx, int lastTx);

// ---- Storage blocks (type 0 software, 1 hardware, 2 uniformity table, 3 stylus) ----------------

// Returns the count of bytes read, 0 on failure.
int devReadBlock(DevHandle handle, int type, uint32_t offset, uint32_t length, uint8_t* buffer);
// flag 1 stores the image; flag 0 (hardware set only) changes the controller's working copy.
int devWriteBlock(DevHandle handle, int type, uint32_t offset, uint32_t length,
                  const uint8_t* buffer, int flag);

// ---- Sensing-chip registers ---------------------------------------------------------------------

int devReadRegisters(DevHandle handle, uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                     uint8_t* buffer, int reserved);
// chip 255 writes every chip.
int devWriteRegisters(DevHandle handle, uint8_t chip, uint8_t bank, uint16_t first,
                      uint16_t count, const uint8_t* buffer);
int devSetAnalog(DevHandle handle, const int* values10);

// ---- Touch-mode controls ------------------------------------------------------------------------

int devSetInfoReport(DevHandle handle, int kind);  // 0 off, 1 touch, 2 stylus
// op 0 get, 1 set, 255 count of modes; the value travels through *value.
int devThresholdMode(DevHandle handle, uint8_t op, uint8_t* value);
int devPenThresholdMode(DevHandle handle, uint8_t op, uint8_t* value);

}  // extern "C"
