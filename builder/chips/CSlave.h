// The sensing chip model: everything the builder knows about one chip family. One object per
// controller, chosen by the controller type code; it has no state beyond its host.
//
// Nothing outside the chip classes knows a register address or a bit position. A register image is
// the 68-byte buffer that mirrors bank 0 registers 0-67 of one chip (byte i = register i); the
// hardware and stylus sets keep one per scan group and working frequency ("mode images"). The
// field operations below read and change such an image in memory; the Write* operations also send
// the changed registers to the chips, checked by read-back unless said otherwise.
//
// The base class does the work from the chip's register map (chips/RegisterMap.h): a chip class
// supplies its constants and its map and overrides only what its silicon does differently. A chip
// whose map is not available has every image operation do nothing (getters give 0, device
// operations give false) instead of guessing at bits.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chips/ChipConstants.h"
#include "chips/ChipHost.h"
class CParamFile;

namespace chipmap {
struct ChipProfile;
}

class CSlave {
  public:
    // Callers hand over register images of at least this many bytes, zeroed before a build.
    static constexpr std::size_t kImageBufferSize = 68;
    // Chip argument of the register writes that addresses every chip at once (not for reads).
    static constexpr int kAllChips = 255;
    // The sine table lives in bank 0 from this register, at most kSinTableMax signed bytes.
    static constexpr int kSinTableFirstReg = 144;
    static constexpr int kSinTableMax = 111;

    // Scan types as the tuning and diagnostics name them.
    enum ScanType { kScanNoise = 0, kScanImage = 1, kScanWLRx = 2, kScanWLTx = 3, kScanVKey = 4 };
    // The six mode images of a working frequency, in image order; the names also name the
    // register-file sections and prefix the item keys.
    enum ModeGroup { kGroupNoise, kGroupWLRx, kGroupWLTx, kGroupImg, kGroupVKey, kGroupRsv };
    static constexpr std::array<const char*, 6> kModeGroupNames = {"Noise", "WLRx", "WLTx",
                                                                   "Img",   "VKey", "Rsv"};
    // The five stylus scan groups of the stylus set.
    static constexpr std::array<const char*, 5> kPenGroupNames = {"DetRx", "DetTx", "RawRx",
                                                                  "RawTx", "Rsv"};

    using Image = std::span<uint8_t>;
    using ConstImage = std::span<const uint8_t>;

    // The host's model chooses the chip's row of the chip table.
    explicit CSlave(ChipHost* host);
    virtual ~CSlave() = default;
    CSlave(const CSlave&) = delete;
    CSlave& operator=(const CSlave&) = delete;

    // ---- Constants and limits: the chip's row of the chip table (ChipConstants.h) -------------

    const ChipConstants& Constants() const { return constants_; }

    // Calibration measurement (sine offsets, scale, samples) and the reference the controller
    // keeps.
    int GetCalInputHigh() const { return constants_.calInputHigh; }
    int GetCalInputLow() const { return constants_.calInputLow; }
    int GetCalScale() const { return constants_.calScale; }
    int GetCalSampleCount() const { return constants_.calSampleCount; }
    int GetCalReference() const { return constants_.calReference; }
    int GetRegImageSize() const { return constants_.regImageSize; }

    // Channel geometry.
    int GetMaxTxChannels() const { return constants_.maxTxChannels; }
    int GetMaxRxChannels() const { return constants_.maxRxChannels; }
    int GetTxChannelsPerChip() const { return constants_.txChannelsPerChip; }
    int GetFirstChipTxChannels() const { return constants_.firstChipTxChannels; }
    int GetRxChannelsPerChip() const { return constants_.rxChannelsPerChip; }
    int GetFirstChipRxChannels() const { return constants_.firstChipRxChannels; }

    // Limits of the tuning quantities.
    int GetScalingMax() const { return constants_.scalingMax; }
    int GetAfeGainUpper() const { return constants_.afeGainUpper; }
    int GetAfeGainLower() const { return constants_.afeGainLower; }
    int GetRsMax() const { return constants_.rsMax; }
    int GetRsMin() const { return constants_.rsMin; }
    int GetSinAmpMin() const { return constants_.sinAmpMin; }
    int GetSinAmpMax() const { return constants_.sinAmpMax; }
    int GetWLTxSinAmpMin() const { return constants_.wlTxSinAmpMin; }
    int GetWLTxSinAmpMax() const { return constants_.wlTxSinAmpMax; }
    int GetWLRxSinAmpMin() const { return constants_.wlRxSinAmpMin; }
    int GetWLRxSinAmpMax() const { return constants_.wlRxSinAmpMax; }

    // Channel numbering of the chips: a chip the model marks as the smaller variant has its own
    // runs, and as the first chip its unwired first channels offset its data.
    int GetFirstChipTxOffset() const { return FirstChipOffset(); }
    int GetFirstChipRxOffset() const { return FirstChipOffset(); }
    int GetTxChannelFirst(int chip) const { return Channels(chip).txFirst; }
    int GetTxChannelLast(int chip) const { return Channels(chip).txLast; }
    int GetRxChannelFirst(int chip) const { return Channels(chip).rxFirst; }
    int GetRxChannelLast(int chip) const { return Channels(chip).rxLast; }

    // Ranges the noise scan steps through.
    int GetPsampleScanFirst() const { return constants_.psampleScanFirst; }
    int GetPsampleScanEnd() const { return constants_.psampleScanEnd; }
    int GetClockSourceCount() const { return constants_.clockSourceCount; }
    int GetPhase1ScanEnd() const { return constants_.phase1ScanEnd; }
    int GetPhase1ScanFirst() const { return constants_.phase1ScanFirst; }
    // The longest sine table the chip takes: the most AFE samples (Phase1 x Psample) a setting
    // of its frequency may ask for.
    int GetSinTableMax() const;

    // ---- Field access on a register image (memory only) ----------------------------------------
    // Setters change only the bits of their field (a value is masked to the field's width);
    // getters return the field as an unsigned value. An image shorter than kImageBufferSize is
    // left alone and reads as 0.

    virtual void SetPipeline(Image image, int value);
    // The working frequency's PreScaler applied to a mode image: the same as SetPhase1.
    virtual void ApplyPreScaler(Image image, int value);
    virtual void SetSWP(Image image, int value);
    virtual void SetSWN(Image image, int value);
    virtual void SetSinOffset(Image image, int value);
    virtual int GetSinOffset(ConstImage image);
    virtual void SetSinAmp(Image image, int value);
    virtual int GetSinAmp(ConstImage image);
    virtual void SetGainH(Image image, int value);
    virtual int GetGainH(ConstImage image);
    virtual void SetScaling(Image image, int value);
    virtual int GetScaling(ConstImage image);
    // The ADC gain code, an index into GetAdcGainFactor.
    virtual int GetAdcGainIndex(ConstImage image);
    virtual void SetMeasureCnt(Image image, int value);
    virtual int GetMeasureCnt(ConstImage image);
    virtual void SetAdcGain(Image image, int value);
    virtual int GetAdcGain(ConstImage image);
    virtual void SetRs(Image image, int value);
    virtual int GetRs(ConstImage image);
    virtual void SetAfeGain(Image image, int value);
    virtual int GetAfeGain(ConstImage image);
    virtual void SetDelay(Image image, int value);
    virtual int GetDelay(ConstImage image);
    virtual int GetPhase1(ConstImage image);
    virtual void SetPhase1(Image image, int value);
    virtual int GetPsample(ConstImage image);
    virtual int GetReadSel(ConstImage image);
    virtual int GetRegBank(ConstImage image);
    // Factor of an ADC gain code (low 8 bits used); a code past the chip's table gives 1.
    virtual int GetAdcGainFactor(int code);

    // ---- Defaults (fill caller buffers: as many entries as the buffer holds) -------------------

    virtual void GetDefaultIdTableR5(std::span<uint8_t> table);         // 8 entries
    virtual void GetDefaultIdTableR3(std::span<uint8_t> table);         // 32 entries
    virtual void GetDefaultTxRange(std::span<uint8_t> pair, int chip);  // TxStart, TxEnd
    virtual void GetDefaultRxRange(std::span<uint8_t> pair, int chip);  // RxStart, RxEnd
    virtual void GetDefaultGeneralBlock(std::span<uint8_t> block);      // 12 bytes
    // Image tuning record of one segment: delay, RS, AFE gain, measure count, 0, 0.
    virtual void GetDefaultImgTuning(std::span<uint8_t> record);
    // Zeroes the first kImageBufferSize bytes and encodes the chip's default field values.
    virtual void BuildDefaultImage(Image image);
    // The default image with the fixed changes of mode group 0-5 (ModeGroup); returns 0.
    virtual int BuildModeImage(int group, Image image);
    // The default image with the fixed changes of stylus group 0-4.
    virtual void BuildPenImage(int group, Image image);

    // ---- Register files ------------------------------------------------------------------------
    // Keys are the group name followed by the field's suffix (group "Noise", suffix "_AEN": key
    // "Noise_AEN"). The caller writes the section header lines.

    // The section the tuning items of a group belong in: "VKey" and "Rsv" use the given section
    // with "-RD" appended, every other group the section itself.
    static std::string TuneSectionName(std::string_view section, std::string_view group);
    // Writes the group's tuning items (measure count, AFE gain, RS, delay, ADC gain, scaling and
    // the peak and skip fields, as the group has them) with their ranges, under TuneSectionName.
    // The delay's range is 0 ~ preScaler x 3 - 1; freqCtrl is the working frequency's control
    // byte, which only some chips use; comment goes on every item (the stylus groups use it).
    virtual void SaveTuneSection(CParamFile& file, std::string_view section, std::string_view group,
                                 ConstImage image, uint8_t preScaler, uint8_t freqCtrl,
                                 std::string_view comment = {});
    // Writes every field of the chip's register map as an item. Read-only fields are written with
    // the comment "Read Only" under a key that begins with "_", which LoadRegSection never reads.
    virtual void SaveRegSection(CParamFile& file, std::string_view section, std::string_view group,
                                ConstImage image);
    // Reads the group's tuning items, then every readable field, into the image; a missing key
    // keeps the image's value, other bits of the image are kept. True; false when the image is
    // shorter than kImageBufferSize.
    virtual bool LoadRegSection(CParamFile& file, std::string_view section, std::string_view group,
                                Image image);

    // ---- Sine table ----------------------------------------------------------------------------

    // Samples of the sine table the image asks for: Phase1 x Psample.
    virtual int GetSinTableLength(ConstImage image);
    // Fills the table with one half sine wave of GetSinTableLength samples scaled by the image's
    // sine amplitude. False, with the table untouched, when the length is above the chip's maximum
    // or the table is too short for it.
    virtual bool BuildSinTable(ConstImage image, std::span<uint8_t> table);
    // Builds the table and writes kSinTableMax bytes from kSinTableFirstReg to all chips, checked.
    // A table too long for the chip is written flat (zeros). The result is the write's.
    virtual bool WriteSinTable(ConstImage image);

    // ---- Measurement presets (build the image from a fixed field table and write it) -----------

    // Selects sensing clock 0 ("Set Clk Fail\n" and false when that fails, nothing written), then
    // writes the calibration preset to all chips.
    virtual bool EnterCalMode(Image image);
    virtual bool EnterNoiseScanMode(Image image);
    // The gain-test preset with the sine amplitude and high gain of the caller's image; scan type
    // kScanWLTx also applies the Tx-axis settings. Written to all chips.
    virtual bool EnterGainTestMode(Image image, int scanType);
    // As EnterGainTestMode with the signal-test preset (Pipeline, SWP and SWN cleared).
    virtual bool EnterSignalTestMode(Image image, int scanType);
    virtual bool EnterSignalTestModeReadSel5(Image image, int scanType);
    virtual bool SelectRegBank3(Image image);
    // Changes the image for a Tx-axis measurement.
    virtual void ApplyTxAxisSettings(Image image);

    // ---- Register writes: set the field in the image, write its register(s) to the chip --------
    // True when every write succeeded; stops at the first failure (registers written before it and
    // the image keep the new value).

    virtual bool WriteImage(int chip, ConstImage image);
    virtual bool WriteSinOffset(int chip, Image image, int value);
    virtual bool WritePhase1(int chip, Image image, int value);
    virtual bool WriteRs(int chip, Image image, int value);
    virtual bool WriteAfeGain(int chip, Image image, int value);
    virtual bool WriteDelay(int chip, Image image, int value);
    virtual bool WriteMeasureCnt(int chip, Image image, int value);
    virtual bool WriteScaling(int chip, Image image, int value);
    // Unchecked: switching the bank changes what reads back.
    virtual bool WriteRegBank(int chip, Image image, int value);
    virtual bool WriteDacVb(int chip, Image image, int value);
    virtual bool WriteReadSel(int chip, Image image, int value);
    virtual bool WritePsample(int chip, Image image, int value);

    // ---- Reads and merge -----------------------------------------------------------------------

    // Reads bank 0 registers of the chip into the image; true (the read's result is not used).
    virtual bool ReadImage(int chip, Image image);
    // Reads one line of every chip of an axis (scan type kScanWLTx: Tx, else Rx) into out, 16-bit
    // little-endian values in ascending channel order, the chips' active ranges one after another.
    // False when out cannot hold two bytes per channel of the chip's largest total, when a chip's
    // range is outside its data, or when a chip's read fails. Never writes past out.
    virtual bool ReadAxisLine(int scanType, std::span<uint8_t> out);
    // For every Rx chip, the two values of each record of its active Rx channels; returns 0.
    virtual int ReadRxPairs(std::vector<uint16_t>& first, std::vector<uint16_t>& second);
    // The last 16-bit word of the chip's Rx data block; false when the read fails.
    virtual bool ReadCalSample(int chip, uint16_t& sample);
    // Copies the tuning fields (peak, skip, scaling, AFE gain, RS, delay; not the measure count)
    // of source into target; returns 0.
    virtual int MergeTuning(Image target, ConstImage source);

  protected:
    ChipHost* Host() const { return host_; }

    // The chip's register map and tables; nullptr when this version has none for the chip.
    virtual const chipmap::ChipProfile* Profile() const { return nullptr; }
    // A chip's last changes to a gain- or signal-test preset (values in register-map order).
    virtual void AdjustTestPreset(std::vector<int32_t>& values, int scanType);
    // Added to both ends of a chip's active range when its axis line is read (chips whose first
    // channels are not wired).
    virtual int AxisChannelOffset(int chip, bool txAxis);
    // The group's tuning items that LoadRegSection reads before the full list, into values (the
    // decoded image, in register-map order).
    virtual void LoadTuneItems(CParamFile& file, std::string_view section, std::string_view group,
                               std::vector<int32_t>& values);
    // Registers first .. first + count - 1 of the image to the chip(s); false on a failed write.
    bool WriteRegs(int chip, ConstImage image, int first, int count, bool checked);

  private:
    const ChipChannels& Channels(int chip) const;
    int FirstChipOffset() const;
    bool EnterTestPreset(Image image, int scanType, bool signalTest);
    bool WriteField(int chip, Image image, int quantity, int value, bool checked);

    ChipHost* host_;
    const ChipConstants& constants_;
};
