#include "device/CAPI_F412.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/BuilderLog.h"
#include "device/CommandStop.h"

DevHandle CAPI_F412::Handle() const {
    return Host()->Handle();
}
const DevLinkApi& CAPI_F412::Dev() const {
    return Host()->Dev();
}

bool CAPI_F412::Stopped() const {
    return CommandMustStop();
}

void CAPI_F412::LogFailure(const char* what) const {
    // Tables of test doubles may leave the cause functions out.
    if (!Dev().getLastError || !Dev().errorText) return;
    const int cause = Dev().getLastError(Handle());
    MainLog().Printf(kColourError, kRouteFile, "Device call %s failed: %s.\n", what,
                     cause == kDevErrorNone ? "incomplete reply" : Dev().errorText(cause));
}

int CAPI_F412::GetErrorCode(uint32_t& flags) {
    flags = 0;
    if (!Handle()) return 0;
    return Device("getErrorCode", [&] { return Dev().getErrorCode(Handle(), &flags); });
}

int CAPI_F412::SwitchWorkMode(uint16_t mode) {
    if (!Handle()) return 0;
    return Device("switchWorkMode", [&] { return Dev().switchWorkMode(Handle(), mode); });
}

int CAPI_F412::SetTestMode(uint8_t firstTestLine, uint8_t lastTestLine) {
    if (!Handle()) return 1;  // a controller without a device (default files) has nothing to set
    return Device("setTestMode",
                  [&] { return Dev().setTestMode(Handle(), firstTestLine, lastTestLine); });
}

int CAPI_F412::SetFreqOption(uint8_t option) {
    if (!Handle()) return 0;
    return Device("setFreqOption", [&] { return Dev().setFreqOption(Handle(), option); });
}

int CAPI_F412::GetFrequency(uint8_t& index) {
    if (!Handle()) return 0;
    return Device("getFrequency", [&] { return Dev().getFrequency(Handle(), &index); });
}

int CAPI_F412::SetFrequency(uint8_t index) {
    if (!Handle()) return 0;
    SetFreqOption(0);
    uint8_t scratch[kDevReportSize] = {};
    // The set call's own answer is not trusted: only the index read back counts.
    if (Stopped()) return 0;
    Dev().setFrequency(Handle(), scratch, index);
    uint8_t readBack = 0xFF;
    GetFrequency(readBack);
    return readBack == index ? 1 : 0;
}

int CAPI_F412::GetKernelNumber(uint8_t& kernelMinor) {
    if (!Handle()) return 0;
    return Device("getKernelNumber", [&] { return Dev().getKernelNumber(Handle(), &kernelMinor); });
}

int CAPI_F412::SetAnalog(const int values[10]) {
    if (!Handle()) return 0;
    return Device("setAnalog", [&] { return Dev().setAnalog(Handle(), values); });
}

int CAPI_F412::ReadRegisters(uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                             uint8_t* buffer) {
    if (!Handle()) {
        // Without a device the caller still decodes the buffer: give it zeros, not garbage.
        if (buffer != nullptr) std::memset(buffer, 0, count);
        return 1;
    }
    return Device("readRegisters", [&] {
        return Dev().readRegisters(Handle(), chip, bank, first, count, buffer, 0);
    });
}

int CAPI_F412::WriteRegisters(uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                              const uint8_t* data, bool verify) {
    if (!Handle()) return 1;
    // The model's read-only registers at the start of a chip: a run from register 0 leaves
    // them out.
    const uint16_t readOnly = Host()->Model().readOnlyRegisters;
    if (readOnly > 0 && first == 0 && count > readOnly) {
        data += readOnly;
        first = readOnly;
        count = static_cast<uint16_t>(count - readOnly);
    }
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        if (Stopped()) return 0;
        if (!Device("writeRegisters",
                    [&] { return Dev().writeRegisters(Handle(), chip, bank, first, count, data); }))
            continue;
        if (!verify) return 1;
        if (VerifyRun(chip, bank, first, count, data)) return 1;
    }
    return 0;
}

bool CAPI_F412::VerifyRun(uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                          const uint8_t* data) {
    const int firstChip = chip == 255 ? 0 : chip;
    const int lastChip = chip == 255 ? Host()->RxChipCount() - 1 : chip;
    std::vector<uint8_t> readBack(count);
    for (int c = firstChip; c <= lastChip; ++c) {
        std::fill(readBack.begin(), readBack.end(), 0);
        if (!ReadRegisters(static_cast<uint8_t>(c), bank, first, count, readBack.data())) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            if (readBack[i] != data[i]) {
                MainLog().Printf(kColourError, kRouteBoth,
                                 "Reg check Error: Write[0x%02X]=0x%02X, Read[0x%02X]=0x%02X\n", i,
                                 data[i], i, readBack[i]);
                return false;
            }
        }
    }
    return true;
}

int CAPI_F412::SetClock(uint8_t clock) {
    if (!Handle()) return 0;
    uint8_t scratch = 0;
    return Device("setClock", [&] { return Dev().setClock(Handle(), clock, &scratch); });
}

int CAPI_F412::StartShortTest(uint8_t stepCode) {
    if (!Handle()) return 0;
    return Device("startShortTest", [&] { return Dev().startShortTest(Handle(), stepCode); });
}

int CAPI_F412::ReadBlock(int type, uint32_t offset, uint16_t length, uint8_t* buffer) {
    if (!Handle()) return 0;
    return Device("readBlock", [&] {
        return Dev().readBlock(Handle(), type, offset, length, buffer) == length;
    });
}

int CAPI_F412::WriteBlock(int type, uint32_t offset, uint32_t length, const uint8_t* buffer,
                          int flag) {
    if (!Handle()) return 0;
    return Device("writeBlock",
                  [&] { return Dev().writeBlock(Handle(), type, offset, length, buffer, flag); });
}

int CAPI_F412::GetInfoFlag(int& flag) {
    if (!Handle()) return 0;
    uint8_t record[kDevReportSize] = {};
    if (!Device("queryInfo", [&] { return Dev().queryInfo(Handle(), 0, record); })) return 0;
    flag = (record[4] >> 1) & 1;
    return 1;
}

int CAPI_F412::GetChannelInfo(int& v0, int& v1, int& v2, int& v3, int& v4) {
    if (!Handle()) return 0;
    uint8_t record[kDevReportSize] = {};
    if (!Device("queryInfo", [&] { return Dev().queryInfo(Handle(), 3, record); })) return 0;
    v0 = record[5];
    v1 = record[6];
    v2 = record[7];
    v3 = record[8];
    v4 = record[9];
    return 1;
}

int CAPI_F412::Flush(int, int) {
    return 1;
}

// The three operations below pass no null handle to the library: the answer would be false anyway.
int CAPI_F412::RequestImage(uint8_t rows, uint8_t afeGain) {
    if (!Handle()) return 0;
    return Device("requestImage", [&] { return Dev().requestImage(Handle(), rows, afeGain); });
}

int CAPI_F412::GetStructVersion(uint8_t out[7]) {
    if (!Handle()) return 0;
    return Device("getStructVersion", [&] {
        return Dev().getStructVersion(Handle(), &out[0], &out[1], &out[2], &out[3], &out[4],
                                      &out[5], &out[6]);
    });
}

int CAPI_F412::GetPcapInfo(uint8_t buffer64[64]) {
    if (!Handle()) return 0;
    return Device("getPcapInfo", [&] { return Dev().getPcapInfo(Handle(), buffer64); });
}

int CAPI_F412::GetReportInfo(uint8_t* buffer, int& length) {
    if (!Handle()) return 0;
    return Device("getReportInfo", [&] { return Dev().getReportInfo(Handle(), buffer, &length); });
}
