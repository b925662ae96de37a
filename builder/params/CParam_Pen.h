// The stylus parameter set: the active-stylus scanning (beacon, detection and raw scans of up to
// three working frequencies, each with the sensing chip's register images of the five stylus scan
// groups), thresholds, pressure processing, filters, edge handling, tilt and up to four stylus
// threshold modes.
//
// The field offsets are in PenLayout.h; the text file (.pwt) is written and read in
// PenTextFile.cpp from the key tables of PenTextKeys.h. The controller keeps the set only when its
// hardware set uses a stylus: reading or writing it on any other controller is refused with a
// message saying so.
#pragma once

#include <span>

#include "params/CParam.h"
#include "params/PenLayout.h"

class CParam_Pen : public CParam {
  public:
    static constexpr int kImageLength = pen::kImageLength;
    static constexpr int kUsedLength = pen::kUsedLength;

    explicit CParam_Pen(ParamHost* host) : CParam(host, 3, kImageLength) {}

    int GetAppParamVersion() override { return 14; }
    int GetParamVersion() override { return GetImageVersion(); }
    int InitFileName() override;
    int InitDefaultFileName() override;
    int LoadDefault() override;  // 1
    int LoadTxtFile() override;  // true/false
    int SaveTxtFile() override;  // result code
    int LoadRegFile() override;  // true/false
    int SaveRegFile() override;  // result code
    // Refused (11, with the message of ReportNoStylus) on a controller whose hardware set uses no
    // stylus: such a controller keeps no stylus set.
    int DumpFromDevice() override;
    int WriteToDevice() override;

    // Reports that the controller keeps no stylus set because its hardware set uses no stylus.
    static void ReportNoStylus();

    uint8_t NumsOfFreq() const { return Byte(pen::kNumsOfFreq); }
    uint8_t NumsOfThresholds() const { return Byte(pen::kNumsOfThresholds); }
    // The stored counts as loop bounds: within 1..3 frequencies and 1..4 threshold modes.
    int FrequenciesBound() const;
    int ThresholdsBound() const;
    // Frequency f (0..2; others read 0).
    uint8_t GetClkSrc(int f) const { return BlockByte(f, pen::block::kClkSrc); }
    uint8_t GetPreScaler(int f) const { return BlockByte(f, pen::block::kPreScaler); }
    uint8_t GetFreqDivider(int f) const { return BlockByte(f, pen::block::kFreqDevider); }
    uint8_t GetFreqCtrl(int f) const { return BlockByte(f, pen::block::kFreqCtrl); }
    uint16_t PenCtrl(int n) const { return Word(pen::kPenCtrl + 2 * n); }
    // Register image of stylus group g (0 DetRx, 1 DetTx, 2 RawRx, 3 RawTx, 4 Rsv) of frequency
    // f; empty when either index is out of range.
    std::span<uint8_t> ModeImage(int f, int g);

  private:
    std::span<uint8_t> ImageBytes() { return {Image(), static_cast<std::size_t>(ImageLength())}; }
    uint8_t BlockByte(int f, int offset) const;
    bool UsesStylus();
    void LoadDefaultFrequency(int f);

    // Text file sections (PenTextFile.cpp).
    void PrepareForText();
    void WriteTextSections(CParamFile& file);
    void WriteHardwareSections(CParamFile& file);
    void WriteFrequencySections(CParamFile& file, int f);
    void WriteSoftwareSections(CParamFile& file);
    void ReadTextSections(CParamFile& file);
    void ReadHardwareSections(CParamFile& file);
    void ReadFrequencySections(CParamFile& file, int f);
    void ReadSoftwareSections(CParamFile& file);
};
