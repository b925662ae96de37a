// The hardware parameter set: sensor geometry, scan control, chip channel ranges and the analog
// settings of each working frequency.
#pragma once

#include <array>

#include "params/CParam.h"

class CParam_HW : public CParam {
  public:
    static constexpr int kImageLength = 4096;
    static constexpr int kUsedLength = 3350;
    static constexpr uint16_t kStylusScanBits = 0x0608;  // ScanCtrl bits 3, 9 and 10

    explicit CParam_HW(CController* owner) : CParam(owner, 1, kImageLength) {}

    int GetAppParamVersion() override { return 13; }
    int GetParamVersion() override { return GetImageVersion(); }
    int InitFileName() override;
    int InitDefaultFileName() override;
    int LoadDefault() override;
    int LoadTxtFile() override;
    int SaveTxtFile() override;
    int LoadRegFile() override;
    int SaveRegFile() override;

    uint16_t ScanCtrl() const { return Word(10); }
    uint8_t NumsOfRxChips() const { return Byte(44); }
    uint8_t NumsOfTxChips() const { return Byte(45); }
    bool UsesStylus() const { return (ScanCtrl() & kStylusScanBits) != 0; }

    // True when the set uses a stylus; reads the stylus set from the controller the first time.
    bool EnsurePenSet();
    // Applies the -Ea/-Eb/-Ec offsets and commits the set (adjust_hw_param).
    int ApplyScalingOffsets();

    // The image as the controller held it when it was first read successfully.
    void KeepFirstRead();
    bool HasFirstRead() const { return firstReadValid_; }
    const std::array<uint8_t, kImageLength>& FirstRead() const { return firstRead_; }

  private:
    std::array<uint8_t, kImageLength> firstRead_{};
    bool firstReadValid_ = false;
};
