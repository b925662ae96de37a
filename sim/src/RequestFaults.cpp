#include "RequestFaults.h"

#include <cstdio>

#include "Firmware.h"
#include "devlink_protocol.h"

namespace sim {
namespace {

using namespace devproto;

constexpr int kInfoRecords = 5;

std::string hex16(uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", v);
    return text;
}

std::string n(int v) {
    return std::to_string(v);
}

int32_t s32(const uint8_t* p) {
    return static_cast<int32_t>(getU32(p));
}

// The per-record name of an information query ("info3"), empty for other commands.
std::string recordName(uint8_t op, const uint8_t* args) {
    return op == kOpQueryInfo ? "info" + n(args[0]) : std::string();
}

template <typename Container>
auto findListed(const Container& listed, const std::string& name, uint8_t op, const uint8_t* args) {
    auto it = listed.find(name);
    if (it == listed.end()) {
        const std::string record = recordName(op, args);
        if (!record.empty()) it = listed.find(record);
    }
    if (it == listed.end()) it = listed.find("all");
    return it;
}

}  // namespace

bool isFaultOperationName(const std::string& name) {
    if (name == "all" || name == "ic_info") return true;
    for (int i = 0; i < kInfoRecords; ++i)
        if (name == "info" + n(i)) return true;
    for (int op = 0; op < 256; ++op)
        if (opName(static_cast<uint8_t>(op)) == name) return true;
    return false;
}

std::optional<FailAnswer> parseFailAnswer(const std::string& answer) {
    if (answer == "failed") return FailAnswer::Failed;
    if (answer == "refused") return FailAnswer::Refused;
    if (answer == "unknown") return FailAnswer::Unknown;
    if (answer == "bad_request") return FailAnswer::BadRequest;
    if (answer == "malformed") return FailAnswer::Malformed;
    return std::nullopt;
}

const FailAnswer* failureOf(const Faults& faults, const std::string& name, uint8_t op,
                            const uint8_t* args) {
    const auto it = findListed(faults.failedQueries, name, op, args);
    return it == faults.failedQueries.end() ? nullptr : &it->second;
}

bool isUnanswered(const Faults& faults, const std::string& name, uint8_t op, const uint8_t* args) {
    return findListed(faults.silentOps, name, op, args) != faults.silentOps.end();
}

std::string requestArguments(uint8_t op, const uint8_t* a) {
    switch (op) {
        case kOpSwitchWorkMode:
        case kOpRestart:
            return "mode=" + hex16(getU16(a));
        case kOpQueryInfo:
            return "index=" + n(a[0]);
        case kOpSetFreqOption:
            return "option=" + n(a[0]);
        case kOpSetFrequency:
            return "index=" + n(a[0]);
        case kOpSetTestMode:
            return "first=" + n(a[0]) + " last=" + n(a[1]);
        case kOpSetClock:
            return "clock=" + n(a[0]);
        case kOpStartShortTest:
            return "code=" + n(a[0]);
        case kOpRequestImage:
            return "rows=" + n(a[0]);
        case kOpSetReportImage:
            return "rx=" + n(s32(a)) + ".." + n(s32(a + 4)) + " tx=" + n(s32(a + 8)) + ".." +
                   n(s32(a + 12));
        case kOpSetAnalog:
            return "values=" + n(s32(a)) + ",...";
        case kOpReadBlock:
        case kOpWriteBlock: {
            std::string text = "type=" + n(a[0]) + " offset=" + std::to_string(getU32(a + 1)) +
                               " length=" + std::to_string(getU32(a + 5));
            return op == kOpWriteBlock ? text + " flag=" + n(a[9]) : text;
        }
        case kOpReadRegisters:
        case kOpWriteRegisters:
            return "chip=" + n(a[0]) + " bank=" + n(a[1]) + " first=" + n(getU16(a + 2)) +
                   " count=" + n(getU16(a + 4));
        case kOpSetInfoReport:
            return "kind=" + n(a[0]);
        case kOpThresholdMode:
        case kOpPenThresholdMode:
            return "op=" + n(a[0]) + " value=" + n(a[1]);
        default:
            return opName(op).empty() ? "op=" + n(op) : std::string();
    }
}

}  // namespace sim
