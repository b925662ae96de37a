// The controller command interface: one operation per firmware command family. Every other part of
// the builder reaches the controller through the CAPI object its controller holds.
//
// Results are true/false (nonzero/zero). The text queries are implemented here once; everything
// else is supplied by an implementation (CAPI_F412 over devlink, CAPI_Null for no controller).
#pragma once

#include <cstdint>
#include <string>

#include <devlink/devlink.h>

#include "device/DeviceHost.h"

class CAPI {
  public:
    explicit CAPI(DeviceHost* host) : host_(host) {}
    virtual ~CAPI() = default;
    CAPI(const CAPI&) = delete;
    CAPI& operator=(const CAPI&) = delete;

    // Each sets the text to "N/A" first and leaves it so on failure.
    virtual int GetModelName(std::string& text);
    virtual int GetTypeName(std::string& text);
    virtual int GetVersion(std::string& text);

    virtual int GetErrorCode(uint32_t& flags) = 0;
    virtual int SwitchWorkMode(uint16_t mode) = 0;
    virtual int SetTestMode(uint8_t firstTestLine, uint8_t lastTestLine) = 0;
    virtual int SetFreqOption(uint8_t option) = 0;
    virtual int GetFrequency(uint8_t& index) = 0;
    virtual int SetFrequency(uint8_t index) = 0;
    virtual int GetKernelNumber(uint8_t& kernelMinor) = 0;
    virtual int SetAnalog(const int values[10]) = 0;
    virtual int ReadRegisters(uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                              uint8_t* buffer) = 0;
    virtual int WriteRegisters(uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                               const uint8_t* data, bool verify) = 0;
    virtual int SetClock(uint8_t clock) = 0;
    virtual int StartShortTest(uint8_t stepCode) = 0;
    virtual int ReadBlock(int type, uint32_t offset, uint16_t length, uint8_t* buffer) = 0;
    virtual int WriteBlock(int type, uint32_t offset, uint32_t length, const uint8_t* buffer,
                           int flag) = 0;
    virtual int GetInfoFlag(int& flag) = 0;
    virtual int GetChannelInfo(int& v0, int& v1, int& v2, int& v3, int& v4) = 0;
    virtual int Flush(int a, int b) = 0;
    virtual int RequestImage(uint8_t rows, uint8_t afeGain) = 0;
    virtual int GetStructVersion(uint8_t out[7]) = 0;
    virtual int GetPcapInfo(uint8_t buffer64[64]) = 0;
    virtual int GetReportInfo(uint8_t* buffer, int& length) = 0;

  protected:
    DeviceHost* Host() const { return host_; }

  private:
    using TextGetter = int (*)(DevHandle, char*, std::size_t);
    int QueryText(std::string& text, TextGetter getter);

    DeviceHost* host_;
};
