// The command interface of a controller the builder does not support: every operation fails.
// The text queries are the base ones, which answer "N/A" since such a controller has no handle.
#pragma once

#include "device/CAPI.h"

class CAPI_Null : public CAPI {
  public:
    using CAPI::CAPI;

    int GetErrorCode(uint32_t& flags) override { return flags = 0, 0; }
    int SwitchWorkMode(uint16_t) override { return 0; }
    int SetTestMode(uint8_t, uint8_t) override { return 0; }
    int SetFreqOption(uint8_t) override { return 0; }
    int GetFrequency(uint8_t&) override { return 0; }
    int SetFrequency(uint8_t) override { return 0; }
    int GetKernelNumber(uint8_t&) override { return 0; }
    int SetAnalog(const int[10]) override { return 0; }
    int ReadRegisters(uint8_t, uint8_t, uint16_t, uint16_t, uint8_t*) override { return 0; }
    int WriteRegisters(uint8_t, uint8_t, uint16_t, uint16_t, const uint8_t*, bool) override {
        return 0;
    }
    int SetClock(uint8_t) override { return 0; }
    int StartShortTest(uint8_t) override { return 0; }
    int ReadBlock(int, uint32_t, uint16_t, uint8_t*) override { return 0; }
    int WriteBlock(int, uint32_t, uint32_t, const uint8_t*, int) override { return 0; }
    int GetInfoFlag(int&) override { return 0; }
    int GetChannelInfo(int&, int&, int&, int&, int&) override { return 0; }
    int Flush(int, int) override { return 0; }
    int RequestImage(uint8_t, uint8_t) override { return 0; }
    int GetStructVersion(uint8_t[7]) override { return 0; }
    int GetPcapInfo(uint8_t[64]) override { return 0; }
    int GetReportInfo(uint8_t*, int&) override { return 0; }
};
