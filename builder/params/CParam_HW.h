// The hardware parameter set: sensor geometry, scan control, chip channel ranges and, for each of
// up to five working frequencies, the clock settings, the image tuning records and the six mode
// images (register images of the sensing chip) the firmware loads for each kind of scan.
//
// The field offsets are in HwLayout.h. The text file (.hwt) is written in HwTextFile.cpp and read
// in HwTextLoad.cpp, from the key tables of HwTextKeys.h; the tuning operations live in
// HwTuning.cpp.
#pragma once

#include <array>
#include <span>

#include "params/CParam.h"
#include "params/HwLayout.h"

class CSlave;

class CParam_HW : public CParam {
  public:
    static constexpr int kImageLength = hw::kImageLength;
    static constexpr int kUsedLength = hw::kUsedLength;
    static constexpr uint16_t kStylusScanBits = 0x0608;  // ScanCtrl bits 3, 9 and 10
    static constexpr int kImageScanType = 1;             // scan type of the image tuning records

    explicit CParam_HW(ParamHost* host) : CParam(host, 1, kImageLength) {}

    int GetAppParamVersion() override { return 13; }
    int GetParamVersion() override { return GetImageVersion(); }
    int InitFileName() override;
    int InitDefaultFileName() override;
    int LoadDefault() override;  // always 0
    int LoadTxtFile() override;  // true/false
    int SaveTxtFile() override;  // result code
    int LoadRegFile() override;  // true/false
    int SaveRegFile() override;  // result code

    // ---- Fields other sets and the diagnostics read ------------------------------------------
    uint16_t ScanCtrl() const { return Word(hw::kScanCtrl); }
    uint16_t ScanCtrlIdle() const { return Word(hw::kScanCtrlIdle); }
    uint8_t NumsOfRxChips() const { return Byte(hw::kNumsOfRxChips); }
    uint8_t NumsOfTxChips() const { return Byte(hw::kNumsOfTxChips); }
    uint8_t NumsOfFreq() const { return Byte(hw::kNumsOfFreq); }
    uint8_t FreqStartIndex() const { return Byte(hw::kFreqStartIndex); }
    // The stored counts as loop bounds: within 1..4 chips and 1..5 frequencies whatever the byte.
    int RxChipsBound() const;
    int TxChipsBound() const;
    int FrequenciesBound() const;
    uint8_t TxStart(int chip) const { return Byte(hw::kTxRange + 2 * chip); }
    uint8_t TxEnd(int chip) const { return Byte(hw::kTxRange + 2 * chip + 1); }
    uint8_t RxStart(int chip) const { return Byte(hw::kRxRange + 2 * chip); }
    uint8_t RxEnd(int chip) const { return Byte(hw::kRxRange + 2 * chip + 1); }
    uint8_t PhaseTarget(int k) const { return Byte(hw::kPhaseTarget + k); }
    uint16_t OpenScaling() const { return Word(hw::kOpenScaling); }
    uint16_t MutualScaling() const { return Word(hw::kMutualScaling); }
    uint8_t ShortDelay() const { return Byte(hw::kShortDelay); }
    uint8_t SensorTestScaling() const { return Byte(hw::kSensorTestScaling); }
    // What signal adjustment and pin finding store.
    void SetTxRange(int chip, uint8_t start, uint8_t end) {
        SetByte(hw::kTxRange + 2 * chip, start);
        SetByte(hw::kTxRange + 2 * chip + 1, end);
    }
    void SetRxRange(int chip, uint8_t start, uint8_t end) {
        SetByte(hw::kRxRange + 2 * chip, start);
        SetByte(hw::kRxRange + 2 * chip + 1, end);
    }
    void SetOpenScaling(uint16_t v) { SetWord(hw::kOpenScaling, v); }
    void SetMutualScaling(uint16_t v) { SetWord(hw::kMutualScaling, v); }
    void SetSensorTestScaling(uint8_t v) { SetByte(hw::kSensorTestScaling, v); }
    void SetDimensions(uint16_t x, uint16_t y) {
        SetWord(hw::kXDimension, x);
        SetWord(hw::kYDimension, y);
    }
    // The stray counts the software set copies (its text file carries them on newer kernels).
    uint8_t StrayUpdatWaiteTime() const { return Byte(hw::kStrayUpdatWaiteTime); }
    uint8_t StrayUpdatTime() const { return Byte(hw::kStrayUpdatTime); }
    void SetStrayUpdatWaiteTime(uint8_t v) { SetByte(hw::kStrayUpdatWaiteTime, v); }
    void SetStrayUpdatTime(uint8_t v) { SetByte(hw::kStrayUpdatTime, v); }
    uint8_t ChannelCtrl() const { return Byte(hw::kChannelCtrl); }
    uint8_t NumsOfKey() const { return Byte(hw::kNumsOfKey); }
    bool UsesStylus() const { return (ScanCtrl() & kStylusScanBits) != 0; }

    // ---- Working frequencies (f 0..4; other indexes read 0 and change nothing) ---------------
    uint8_t GetClkSrc(int f) const { return BlockByte(f, hw::block::kClkSrc); }
    uint8_t GetPreScaler(int f) const { return BlockByte(f, hw::block::kPreScaler); }
    uint8_t GetFreqDivider(int f) const { return BlockByte(f, hw::block::kFreqDivider); }
    uint8_t GetFreqCtrl(int f) const { return BlockByte(f, hw::block::kFreqCtrl); }
    void SetClkSrc(int f, uint8_t v) { SetBlockByte(f, hw::block::kClkSrc, v); }
    void SetFreqDivider(int f, uint8_t v) { SetBlockByte(f, hw::block::kFreqDivider, v); }
    // Stores the prescaler and sets it into each of the six mode images of f.
    void SetPreScaler(int f, uint8_t value);
    // Mode image m (0 Noise, 1 WLRx, 2 WLTx, 3 Img, 4 VKey, 5 Rsv) of frequency f; empty when
    // either index is out of range.
    std::span<uint8_t> ModeImage(int f, int m);
    int GetScalingOf(int f, int m);

    // Tuning quantities by scan type: type 1 acts on image tuning record k of frequency f, the
    // others on the mode image the scan type selects. An unknown scan type reports
    // "Scan Type Error!\n"; getters then return 0 and setters change nothing.
    int GetTuneDelay(unsigned scanType, int f, int k);
    void SetTuneDelay(unsigned scanType, int f, int k, int value);
    int GetTuneRs(unsigned scanType, int f, int k);
    void SetTuneRs(unsigned scanType, int f, int k, int value);
    int GetTuneAfeGain(unsigned scanType, int f, int k);
    void SetTuneAfeGain(unsigned scanType, int f, int k, int value);
    void SetTuneMeasureCnt(unsigned scanType, int f, int k, int value);
    uint8_t TuningRecordField(int f, int k, int field) const;
    void SetTuningRecordField(int f, int k, int field, uint8_t value);

    // Frequency 0's ten image tuning records become their average (gain E 0).
    void AverageImgTuning();
    // Each working frequency's Img_Delay, Img_RS, Img_AFEGain, Img_MeasureCnt become the maxima
    // over its ten records.
    void SetImgTuningFromRecords();
    // Spreads the ten phase targets over the controller's Tx channels.
    void InitPhaseTargets();
    // The "Noise" mode image of every working frequency derived from its image tuning records.
    void DeriveNoiseImages();

    // ---- Writing to the controller -------------------------------------------------------------
    // Writes the image as a test image (not stored); then, for a nonzero frequency index, selects
    // that frequency ("Set Test Freq Fail...\n" when refused, still true). False when the write
    // fails.
    bool WriteTestImage(int frequencyIndex);
    // Puts the scaling into the six mode images of f and writes the test image with frequency f.
    // 0 success, 1 failure ("Set Test Parameter Fail...\n").
    int SetTestScaling(int f, int scaling);
    // Stores the image in the controller and keeps it as the image as first read.
    bool CommitToDevice();
    // Applies the -Ea/-Eb/-Ec values and commits the set (adjust_hw_param). 0 success, 1 failure.
    int ApplyScalingOffsets();

    // The image as the controller held it when it was first read successfully, or last committed.
    void KeepFirstRead();
    bool HasFirstRead() const { return firstReadValid_; }
    const std::array<uint8_t, kImageLength>& FirstRead() const { return firstRead_; }

  private:
    // The structure version a default image and a written text file carry.
    static constexpr uint8_t kStructMajor = 1, kStructMinor = 3;

    std::span<uint8_t> ImageBytes() { return {Image(), static_cast<std::size_t>(ImageLength())}; }
    uint8_t BlockByte(int f, int offset) const;
    void SetBlockByte(int f, int offset, uint8_t value);
    // The mode image a scan type selects, after the scan type check; empty on a bad argument.
    std::span<uint8_t> ScanTypeImage(unsigned scanType, int f);
    void LoadDefaultFrequency(int f, bool pipeline);

    // Text file sections (HwTextFile.cpp).
    void WriteTextSections(CParamFile& file);
    void ReadTextSections(CParamFile& file);
    void WriteScanCtrlSections(CParamFile& file);
    void WriteSensorConfig(CParamFile& file);
    void WriteFrequencySections(CParamFile& file, int f);
    void WriteImgRecords(CParamFile& file, int f);
    void WriteAreaSections(CParamFile& file);
    void ReadScanCtrlSections(CParamFile& file);
    void ReadSensorConfig(CParamFile& file);
    void ReadFrequencySections(CParamFile& file, int f);
    void ReadAreaSections(CParamFile& file);

    std::array<uint8_t, kImageLength> firstRead_{};
    bool firstReadValid_ = false;
};
