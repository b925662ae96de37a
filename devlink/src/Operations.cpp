// The controller operations: each one is a command of the command channel.
#include <algorithm>
#include <cstring>
#include <vector>

#include "Registry.h"
#include "devlink_protocol.h"

using namespace devproto;
using devlink::findDevice;

namespace {

// A call the library refuses before sending anything: the arguments cannot make a request.
int badRequest(DevHandle handle) {
    if (auto device = findDevice(handle)) device->setError(kDevErrorBadRequest);
    return 0;
}

// A reply that arrived whole but does not have the size the call expects.
int malformedReply(DevHandle handle) {
    if (auto device = findDevice(handle)) device->setError(kDevErrorMalformedReply);
    return 0;
}

// Runs one command; the reply's data lands in `out` (at most outSize bytes).
bool run(DevHandle handle, uint8_t op, std::vector<uint8_t> args = {}, uint8_t* out = nullptr,
         size_t outSize = 0, size_t* outLength = nullptr, const uint8_t* bulk = nullptr,
         size_t bulkLength = 0) {
    auto device = findDevice(handle);
    if (!device) return false;
    DevDevice::Command c;
    c.op = op;
    c.args = args.data();
    c.argLength = args.size();
    c.bulk = bulk;
    c.bulkLength = bulkLength;
    c.out = out;
    c.outSize = outSize;
    return device->command(c, outLength);
}

// A reply of exactly `size` bytes into `out`.
bool query(DevHandle handle, uint8_t op, std::vector<uint8_t> args, uint8_t* out, size_t size) {
    if (!out) return badRequest(handle);
    std::vector<uint8_t> reply(size);
    size_t length = 0;
    if (!run(handle, op, std::move(args), reply.data(), reply.size(), &length)) return false;
    if (length != size) return malformedReply(handle);
    std::memcpy(out, reply.data(), size);
    return true;
}

int text(DevHandle handle, uint8_t op, char* text, std::size_t size) {
    if (!text || size == 0) return badRequest(handle);
    std::memset(text, 0, size);
    uint8_t reply[kDevReportSize] = {};
    size_t length = 0;
    if (!run(handle, op, {}, reply, sizeof reply, &length)) return 0;
    const size_t n = std::min(strnlen(reinterpret_cast<const char*>(reply), length), size - 1);
    std::memcpy(text, reply, n);
    return 1;
}

int sevenBytes(DevHandle handle, uint8_t op, uint8_t* b[7]) {
    uint8_t reply[7];
    if (!query(handle, op, {}, reply, sizeof reply)) return 0;
    for (int i = 0; i < 7; ++i)
        if (b[i]) *b[i] = reply[i];
    return 1;
}

std::vector<uint8_t> u16(uint16_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
}

void append32(std::vector<uint8_t>& args, uint32_t v) {
    for (int i = 0; i < 4; ++i) args.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

int devGetModelName(DevHandle h, char* t, std::size_t n) {
    return text(h, kOpModelName, t, n);
}
int devGetTypeName(DevHandle h, char* t, std::size_t n) {
    return text(h, kOpTypeName, t, n);
}
int devGetVersionText(DevHandle h, char* t, std::size_t n) {
    return text(h, kOpVersionText, t, n);
}
int devGetModelSubName(DevHandle h, char* t, std::size_t n) {
    return text(h, kOpModelSubName, t, n);
}

int devGetStructVersion(DevHandle handle, uint8_t* b0, uint8_t* b1, uint8_t* b2, uint8_t* b3,
                        uint8_t* b4, uint8_t* b5, uint8_t* b6) {
    uint8_t* b[7] = {b0, b1, b2, b3, b4, b5, b6};
    return sevenBytes(handle, kOpStructVersion, b);
}

int devGetVersionBytes(DevHandle handle, uint8_t* b0, uint8_t* b1, uint8_t* b2, uint8_t* b3,
                       uint8_t* b4, uint8_t* b5, uint8_t* b6) {
    uint8_t* b[7] = {b0, b1, b2, b3, b4, b5, b6};
    return sevenBytes(handle, kOpVersionBytes, b);
}

int devGetKernelNumber(DevHandle handle, uint8_t* kernelMinor) {
    return query(handle, kOpKernelNumber, {}, kernelMinor, 1);
}

int devSwitchWorkMode(DevHandle handle, uint16_t mode) {
    return run(handle, kOpSwitchWorkMode, u16(mode));
}
int devRestart(DevHandle handle, uint16_t resumeMode) {
    return run(handle, kOpRestart, u16(resumeMode));
}

int devGetPcapInfo(DevHandle handle, uint8_t* buffer64) {
    return query(handle, kOpPcapInfo, {}, buffer64, kDevReportSize);
}

int devGetFrequencyTable(DevHandle handle, uint8_t* buffer64) {
    return query(handle, kOpFrequencyTable, {}, buffer64, kDevReportSize);
}

int devQueryInfo(DevHandle handle, int index, uint8_t* buffer64) {
    if (index < 0 || index > 255) return badRequest(handle);
    return query(handle, kOpQueryInfo, {static_cast<uint8_t>(index)}, buffer64, kDevReportSize);
}

int devGetReportInfo(DevHandle handle, uint8_t* buffer, int* length) {
    if (!buffer || !length || *length <= 0) return badRequest(handle);
    uint8_t reply[kDevReportSize];
    if (!query(handle, kOpReportInfo, {}, reply, sizeof reply)) return 0;
    const int n = std::min<int>(*length, static_cast<int>(sizeof reply));
    std::memcpy(buffer, reply, static_cast<size_t>(n));
    *length = n;
    return 1;
}

int devGetErrorCode(DevHandle handle, uint32_t* flags) {
    uint8_t reply[4];
    if (!flags) return badRequest(handle);
    if (!query(handle, kOpErrorCode, {}, reply, sizeof reply)) return 0;
    *flags = getU32(reply);
    return 1;
}

int devSetFreqOption(DevHandle handle, int option) {
    return run(handle, kOpSetFreqOption, {static_cast<uint8_t>(option)});
}

int devSetFrequency(DevHandle handle, uint8_t* /*scratch64*/, uint8_t index) {
    return run(handle, kOpSetFrequency, {index});
}

int devGetFrequency(DevHandle handle, uint8_t* index) {
    return query(handle, kOpGetFrequency, {}, index, 1);
}

int devSetTestMode(DevHandle handle, uint8_t firstTestLine, uint8_t lastTestLine) {
    return run(handle, kOpSetTestMode, {firstTestLine, lastTestLine});
}

int devSetClock(DevHandle handle, uint8_t clock, uint8_t* scratch) {
    uint8_t reply[1] = {};
    size_t length = 0;
    if (!run(handle, kOpSetClock, {clock}, reply, sizeof reply, &length)) return 0;
    if (scratch && length == 1) *scratch = reply[0];
    return 1;
}

int devStartShortTest(DevHandle handle, uint8_t stepCode) {
    return run(handle, kOpStartShortTest, {stepCode});
}

int devRequestImage(DevHandle handle, uint8_t rows, uint8_t afeGain) {
    return run(handle, kOpRequestImage, {rows, afeGain});
}

int devSetReportImage(DevHandle handle, int firstRx, int lastRx, int firstTx, int lastTx) {
    std::vector<uint8_t> args;
    for (int v : {firstRx, lastRx, firstTx, lastTx}) append32(args, static_cast<uint32_t>(v));
    return run(handle, kOpSetReportImage, std::move(args));
}

int devSetAnalog(DevHandle handle, const int* values10) {
    if (!values10) return badRequest(handle);
    std::vector<uint8_t> args;
    for (int i = 0; i < 10; ++i) append32(args, static_cast<uint32_t>(values10[i]));
    return run(handle, kOpSetAnalog, std::move(args));
}

int devReadBlock(DevHandle handle, int type, uint32_t offset, uint32_t length, uint8_t* buffer) {
    if (!buffer || type < 0 || type > 255 || length == 0) return badRequest(handle);
    std::vector<uint8_t> args = {static_cast<uint8_t>(type)};
    append32(args, offset);
    append32(args, length);
    size_t received = 0;
    if (!run(handle, kOpReadBlock, std::move(args), buffer, length, &received)) return 0;
    return static_cast<int>(received);
}

int devWriteBlock(DevHandle handle, int type, uint32_t offset, uint32_t length,
                  const uint8_t* buffer, int flag) {
    if (!buffer || type < 0 || type > 255 || flag < 0 || flag > 255 || length > 0x10000)
        return badRequest(handle);
    std::vector<uint8_t> args = {static_cast<uint8_t>(type)};
    append32(args, offset);
    append32(args, length);
    args.push_back(static_cast<uint8_t>(flag));
    return run(handle, kOpWriteBlock, std::move(args), nullptr, 0, nullptr, buffer, length);
}

int devReadRegisters(DevHandle handle, uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                     uint8_t* buffer, int /*reserved*/) {
    if (!buffer) return badRequest(handle);
    std::vector<uint8_t> args = {chip, bank};
    for (uint16_t v : {first, count}) {
        args.push_back(static_cast<uint8_t>(v));
        args.push_back(static_cast<uint8_t>(v >> 8));
    }
    size_t received = 0;
    if (!run(handle, kOpReadRegisters, std::move(args), buffer, count, &received)) return 0;
    return received == count ? 1 : malformedReply(handle);
}

int devWriteRegisters(DevHandle handle, uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                      const uint8_t* buffer) {
    if (!buffer && count) return badRequest(handle);
    std::vector<uint8_t> args = {chip, bank};
    for (uint16_t v : {first, count}) {
        args.push_back(static_cast<uint8_t>(v));
        args.push_back(static_cast<uint8_t>(v >> 8));
    }
    return run(handle, kOpWriteRegisters, std::move(args), nullptr, 0, nullptr, buffer, count);
}

int devSetInfoReport(DevHandle handle, int kind) {
    if (kind < 0 || kind > 255) return badRequest(handle);
    return run(handle, kOpSetInfoReport, {static_cast<uint8_t>(kind)});
}

static int thresholdMode(DevHandle handle, uint8_t op, uint8_t opCode, uint8_t* value) {
    if (!value) return badRequest(handle);
    uint8_t reply[1] = {};
    size_t length = 0;
    if (!run(handle, op, {opCode, *value}, reply, sizeof reply, &length)) return 0;
    if (length != 1) return malformedReply(handle);
    *value = reply[0];
    return 1;
}

int devThresholdMode(DevHandle handle, uint8_t op, uint8_t* value) {
    return thresholdMode(handle, kOpThresholdMode, op, value);
}

int devPenThresholdMode(DevHandle handle, uint8_t op, uint8_t* value) {
    return thresholdMode(handle, kOpPenThresholdMode, op, value);
}
