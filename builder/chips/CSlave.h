// The sensing chip model: everything the builder knows about one chip family. One object per
// controller, chosen by the controller type code; it has no state beyond its owner.
//
// This header carries the chip constants and channel limits; the register-image operations of each
// chip live beside them in the chip's folder.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

class CController;
class CParamFile;

class CSlave {
  public:
    explicit CSlave(CController* owner) : owner_(owner) {}
    virtual ~CSlave() = default;
    CSlave(const CSlave&) = delete;
    CSlave& operator=(const CSlave&) = delete;

    // Calibration measurement (sine offsets, scale, samples) and the reference the controller
    // keeps.
    virtual int GetCalInputHigh() = 0;
    virtual int GetCalInputLow() = 0;
    virtual int GetCalScale() = 0;
    virtual int GetCalSampleCount() = 0;
    virtual int GetCalReference() = 0;
    virtual int GetRegImageSize() = 0;

    // Channel geometry.
    virtual int GetMaxTxChannels() = 0;
    virtual int GetMaxRxChannels() = 0;
    virtual int GetTxChannelsPerChip() = 0;
    virtual int GetFirstChipTxChannels() = 0;
    virtual int GetRxChannelsPerChip() = 0;
    virtual int GetFirstChipRxChannels() = 0;

    // Limits of the tuning quantities.
    virtual int GetScalingMax() = 0;
    virtual int GetAfeGainUpper() = 0;
    virtual int GetAfeGainLower() = 0;
    virtual int GetRsMax() = 0;
    virtual int GetRsMin() = 0;
    virtual int GetSinAmpMin() = 0;
    virtual int GetSinAmpMax() = 0;
    virtual int GetWLTxSinAmpMin() = 0;
    virtual int GetWLTxSinAmpMax() = 0;
    virtual int GetWLRxSinAmpMin() = 0;
    virtual int GetWLRxSinAmpMax() = 0;

    // Channel numbering of the chips.
    virtual int GetFirstChipTxOffset() = 0;
    virtual int GetFirstChipRxOffset() = 0;
    virtual int GetTxChannelFirst(int chip) = 0;
    virtual int GetTxChannelLast(int chip) = 0;
    virtual int GetRxChannelFirst(int chip) = 0;
    virtual int GetRxChannelLast(int chip) = 0;

    // Ranges the noise scan steps through.
    virtual int GetPsampleScanFirst() = 0;
    virtual int GetPsampleScanEnd() = 0;
    virtual int GetClockSourceCount() = 0;
    virtual int GetPhase1ScanEnd() = 0;
    virtual int GetPhase1ScanFirst() = 0;

    // Register files: one group's mode image (a register image of GetRegImageSize() bytes) as the
    // named items of its section, and back. Keys are the group name followed by the field's
    // suffix. A chip without a register map writes no named items and reads none.
    virtual void SaveRegSection(CParamFile& file, std::string_view section, std::string_view group,
                                std::span<const uint8_t> image);
    virtual bool LoadRegSection(CParamFile& file, std::string_view section, std::string_view group,
                                std::span<uint8_t> image);

  protected:
    CController* Owner() const { return owner_; }

  private:
    CController* owner_;
};
