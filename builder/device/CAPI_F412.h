// The command interface of the F412 main MCU, over the devlink library.
#pragma once

#include "device/CAPI.h"
#include "device/DevLinkApi.h"

class CAPI_F412 : public CAPI {
  public:
    using CAPI::CAPI;

    // A checked register write gives up after this many attempts.
    static constexpr int kWriteAttempts = 20;

    int GetErrorCode(uint32_t& flags) override;
    int SwitchWorkMode(uint16_t mode) override;
    int SetTestMode(uint8_t firstTestLine, uint8_t lastTestLine) override;
    int SetFreqOption(uint8_t option) override;
    int GetFrequency(uint8_t& index) override;
    int SetFrequency(uint8_t index) override;
    int GetKernelNumber(uint8_t& kernelMinor) override;
    int SetAnalog(const int values[10]) override;
    int ReadRegisters(uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                      uint8_t* buffer) override;
    int WriteRegisters(uint8_t chip, uint8_t bank, uint16_t first, uint16_t count,
                       const uint8_t* data, bool verify) override;
    int SetClock(uint8_t clock) override;
    int StartShortTest(uint8_t stepCode) override;
    int ReadBlock(int type, uint32_t offset, uint16_t length, uint8_t* buffer) override;
    int WriteBlock(int type, uint32_t offset, uint32_t length, const uint8_t* buffer,
                   int flag) override;
    int GetInfoFlag(int& flag) override;
    int GetChannelInfo(int& v0, int& v1, int& v2, int& v3, int& v4) override;
    int Flush(int a, int b) override;
    int RequestImage(uint8_t rows, uint8_t afeGain) override;
    int GetStructVersion(uint8_t out[7]) override;
    int GetPcapInfo(uint8_t buffer64[64]) override;
    int GetReportInfo(uint8_t* buffer, int& length) override;

  private:
    DevHandle Handle() const;
    const DevLinkApi& Dev() const;
    // Every device call goes through here: a command that must stop fails it before it reaches
    // the controller, and a failure is logged (file only) with the cause the library gives.
    template <typename Call>
    int Device(const char* what, Call&& call) {
        if (Stopped()) return 0;
        if (call()) return 1;
        LogFailure(what);
        return 0;
    }
    bool Stopped() const;
    void LogFailure(const char* what) const;
    // Reads the run back from every addressed chip; false at the first read failure or difference
    // (a difference is logged).
    bool VerifyRun(uint8_t chip, uint8_t bank, uint16_t first, uint16_t count, const uint8_t* data);
};
