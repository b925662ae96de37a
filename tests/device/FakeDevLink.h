// A small scripted stand-in for the device library, for what the simulated controller cannot be
// made to do: calls that fail a given number of times and then succeed, replies of a chosen shape
// (records, texts that fill the whole buffer), identities no model has. Every call is recorded by
// name. A fault that a profile of the simulator can switch on is tested there instead.
#pragma once

#include <array>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "device/DevLinkApi.h"

struct FakeDevice {
    // Calls in order, e.g. "writeRegisters chip=255 first=3 count=1".
    std::vector<std::string> calls;
    std::set<std::string> failing;  // operations (name, or name and detail) that answer 0

    // Registers of bank 0 per chip; a write to chip 255 writes every chip.
    std::array<std::array<uint8_t, 1024>, 4> registers{};
    int writeFailuresLeft = 0;  // writeRegisters fails this many times first

    uint8_t frequency = 0;
    bool frequencySticks = true;

    std::map<std::string, std::string> texts = {
        {"model", "TP-GXXX"}, {"type", "T3300"}, {"version", "V1.02"}};
    bool fillWholeTextBuffer = false;  // a library that leaves no terminating zero
    uint32_t errorFlags = 0;
    std::array<uint8_t, 7> structVersion = {5, 13, 26, 14, 0, 0, 0};
    uint8_t kernelMinor = 40;
    std::array<uint8_t, 64> info0{};
    std::array<uint8_t, 64> info3{};
    std::array<uint8_t, 64> pcap{};
    std::array<uint8_t, 64> reportInfo{};
    std::array<uint8_t, 64> icReply{};
    int icReplyLength = 64;
    int blockShortBy = 0;  // readBlock returns this many bytes fewer than asked
    std::map<int, std::vector<uint8_t>> blocks;  // stored parameter images by type

    // Enumeration and opening.
    std::vector<std::string> enumeratedPaths = {"sim:fake"};
    int typeCode = 94;
    bool opened = false;
    int closeCount = 0;
    int restartMode = -1;
    DevReportHandler disconnectHandler = nullptr;
    void* disconnectContext = nullptr;
    int removedSubscriptions = 0;
};

inline FakeDevice* g_fake = nullptr;
inline DevDevice* const kFakeHandle = reinterpret_cast<DevDevice*>(0x1000);

namespace fake_detail {

inline int Call(const std::string& name, const std::string& detail = "") {
    const std::string full = detail.empty() ? name : name + " " + detail;
    g_fake->calls.push_back(full);
    return g_fake->failing.count(name) || g_fake->failing.count(full) ? 0 : 1;
}

inline int Text(const char* name, const std::string& key, char* text, std::size_t size) {
    if (!Call(name)) return 0;
    if (g_fake->fillWholeTextBuffer) {
        std::memset(text, 'A', size);
        return 1;
    }
    std::snprintf(text, size, "%s", g_fake->texts[key].c_str());
    return 1;
}

inline void Copy64(const std::array<uint8_t, 64>& from, uint8_t* to) {
    std::memcpy(to, from.data(), 64);
}

inline DevLinkApi Make() {
    DevLinkApi api;
    api.enumerate = [](DevRecord* record, DevEnumCallback callback, void* context) {
        Call("enumerate");
        int n = 0;
        for (const std::string& path : g_fake->enumeratedPaths) {
            ++n;
            callback(record, path.c_str(), context, 64, 64, 0x1234, 0xC000);
        }
        return n;
    };
    api.open = [](DevRecord record) -> DevHandle {
        if (!Call("open", record.path)) return nullptr;
        if (record.path[0] == '\0') return nullptr;
        g_fake->opened = true;
        return kFakeHandle;
    };
    api.close = [](DevHandle) {
        ++g_fake->closeCount;
        return Call("close");
    };
    api.getSolutionCode = [](DevRecord) {
        Call("getSolutionCode");
        return g_fake->typeCode;
    };
    api.getModelName = [](DevHandle, char* t, std::size_t n) {
        return Text("getModelName", "model", t, n);
    };
    api.getTypeName = [](DevHandle, char* t, std::size_t n) {
        return Text("getTypeName", "type", t, n);
    };
    api.getVersionText = [](DevHandle, char* t, std::size_t n) {
        return Text("getVersionText", "version", t, n);
    };
    api.getStructVersion = [](DevHandle, uint8_t* a, uint8_t* b, uint8_t* c, uint8_t* d, uint8_t* e,
                              uint8_t* f, uint8_t* g) {
        if (!Call("getStructVersion")) return 0;
        uint8_t* outs[] = {a, b, c, d, e, f, g};
        for (int i = 0; i < 7; ++i) *outs[i] = g_fake->structVersion[i];
        return 1;
    };
    api.getKernelNumber = [](DevHandle, uint8_t* minor) {
        if (!Call("getKernelNumber")) return 0;
        *minor = g_fake->kernelMinor;
        return 1;
    };
    api.switchWorkMode = [](DevHandle, uint16_t mode) {
        return Call("switchWorkMode", std::to_string(mode));
    };
    api.restart = [](DevHandle, uint16_t mode) {
        g_fake->restartMode = mode;
        return Call("restart", std::to_string(mode));
    };
    api.getPcapInfo = [](DevHandle, uint8_t* buffer) {
        if (!Call("getPcapInfo")) return 0;
        Copy64(g_fake->pcap, buffer);
        return 1;
    };
    api.queryInfo = [](DevHandle, int index, uint8_t* buffer) {
        if (!Call("queryInfo", std::to_string(index))) return 0;
        Copy64(index == 0 ? g_fake->info0 : g_fake->info3, buffer);
        return 1;
    };
    api.getReportInfo = [](DevHandle, uint8_t* buffer, int* length) {
        if (!Call("getReportInfo")) return 0;
        std::memcpy(buffer, g_fake->reportInfo.data(), static_cast<std::size_t>(*length));
        return 1;
    };
    api.getErrorCode = [](DevHandle, uint32_t* flags) {
        if (!Call("getErrorCode")) return 0;
        *flags = g_fake->errorFlags;
        return 1;
    };
    api.request = [](DevHandle, const uint8_t* request, int, uint8_t kind, uint8_t sub, uint32_t ms,
                     uint8_t* reply, int* length) {
        char detail[128];
        std::snprintf(detail, sizeof detail, "%02X %02X %02X %02X kind=%02X sub=%02X ms=%u",
                      request[0], request[1], request[2], request[3], kind, sub, ms);
        if (!Call("request", detail)) return 0;
        Copy64(g_fake->icReply, reply);
        *length = g_fake->icReplyLength;
        return 1;
    };
    api.addReportHandler = [](DevHandle, uint8_t kind, uint8_t sub, void* context,
                              DevReportHandler handler) -> DevSubscription {
        char detail[128];
        std::snprintf(detail, sizeof detail, "kind=%02X sub=%02X", kind, sub);
        if (!Call("addReportHandler", detail)) return nullptr;
        g_fake->disconnectHandler = handler;
        g_fake->disconnectContext = context;
        return reinterpret_cast<DevSubscription>(0x2000);
    };
    api.removeReportHandler = [](DevHandle, DevSubscription) {
        ++g_fake->removedSubscriptions;
        return Call("removeReportHandler");
    };
    api.setFreqOption = [](DevHandle, int option) {
        return Call("setFreqOption", std::to_string(option));
    };
    api.setFrequency = [](DevHandle, uint8_t*, uint8_t index) {
        if (g_fake->frequencySticks) g_fake->frequency = index;
        return Call("setFrequency", std::to_string(index));
    };
    api.getFrequency = [](DevHandle, uint8_t* index) {
        if (!Call("getFrequency")) return 0;
        *index = g_fake->frequency;
        return 1;
    };
    api.setTestMode = [](DevHandle, uint8_t, uint8_t) { return Call("setTestMode"); };
    api.setClock = [](DevHandle, uint8_t, uint8_t*) { return Call("setClock"); };
    api.startShortTest = [](DevHandle, uint8_t) { return Call("startShortTest"); };
    api.requestImage = [](DevHandle, uint8_t, uint8_t) { return Call("requestImage"); };
    api.readBlock = [](DevHandle, int type, uint32_t, uint32_t length, uint8_t* buffer) {
        if (!Call("readBlock", std::to_string(type))) return 0;
        const auto it = g_fake->blocks.find(type);
        if (it == g_fake->blocks.end()) return 0;
        const int count = static_cast<int>(std::min<std::size_t>(length, it->second.size())) -
                          g_fake->blockShortBy;
        std::memcpy(buffer, it->second.data(), static_cast<std::size_t>(std::max(count, 0)));
        return std::max(count, 0);
    };
    api.writeBlock = [](DevHandle, int type, uint32_t, uint32_t, const uint8_t*, int flag) {
        return Call("writeBlock", std::to_string(type) + " flag=" + std::to_string(flag));
    };
    api.readRegisters = [](DevHandle, uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                           uint8_t* buffer, int) {
        char detail[128];
        std::snprintf(detail, sizeof detail, "chip=%d bank=%d first=%d count=%d", chip, bank, first,
                      count);
        if (!Call("readRegisters", detail) || chip > 3) return 0;
        for (int i = 0; i < count; ++i) buffer[i] = g_fake->registers[chip][(first + i) % 1024];
        return 1;
    };
    api.writeRegisters = [](DevHandle, uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                            const uint8_t* data) {
        char detail[128];
        std::snprintf(detail, sizeof detail, "chip=%d bank=%d first=%d count=%d", chip, bank, first,
                      count);
        if (!Call("writeRegisters", detail)) return 0;
        if (g_fake->writeFailuresLeft > 0) {
            --g_fake->writeFailuresLeft;
            return 0;
        }
        for (int c = 0; c < 4; ++c) {
            if (chip != 255 && chip != c) continue;
            for (int i = 0; i < count; ++i) g_fake->registers[c][(first + i) % 1024] = data[i];
        }
        return 1;
    };
    api.setAnalog = [](DevHandle, const int*) { return Call("setAnalog"); };
    return api;
}

}  // namespace fake_detail

// The fake's table; g_fake must point at the scripted device while it is used.
inline const DevLinkApi& FakeDevLink() {
    static const DevLinkApi api = fake_detail::Make();
    return api;
}

inline int CountCalls(const FakeDevice& d, const std::string& prefix) {
    int n = 0;
    for (const std::string& c : d.calls) n += c.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}
