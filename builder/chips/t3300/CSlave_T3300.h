// The T3300 sensing chip.
#pragma once

#include "chips/CSlave.h"

namespace Slave_T3300 {

class CSlave_T3300 : public CSlave {
  public:
    using CSlave::CSlave;

    int GetCalInputHigh() override { return 236; }
    int GetCalInputLow() override { return 27; }
    int GetCalScale() override { return 3720; }
    int GetCalSampleCount() override { return 34; }
    int GetCalReference() override { return 100; }
    int GetRegImageSize() override { return 68; }

    int GetMaxTxChannels() override { return 128; }
    int GetMaxRxChannels() override { return 200; }
    int GetTxChannelsPerChip() override { return 64; }
    int GetFirstChipTxChannels() override { return 56; }
    int GetRxChannelsPerChip() override { return 100; }
    int GetFirstChipRxChannels() override { return 80; }

    int GetScalingMax() override { return 15; }
    int GetAfeGainUpper() override { return 30; }
    int GetAfeGainLower() override { return 1; }
    int GetRsMax() override { return 14; }
    int GetRsMin() override { return 1; }
    int GetSinAmpMin() override { return 10; }
    int GetSinAmpMax() override { return 47; }
    int GetWLTxSinAmpMin() override { return 10; }
    int GetWLTxSinAmpMax() override { return 14; }
    int GetWLRxSinAmpMin() override { return 10; }
    int GetWLRxSinAmpMax() override { return 47; }

    int GetFirstChipTxOffset() override;
    int GetFirstChipRxOffset() override;
    int GetTxChannelFirst(int chip) override;
    int GetTxChannelLast(int chip) override;
    int GetRxChannelFirst(int chip) override;
    int GetRxChannelLast(int chip) override;

    int GetPsampleScanFirst() override { return 3; }
    int GetPsampleScanEnd() override { return 3; }
    int GetClockSourceCount() override { return 5; }
    int GetPhase1ScanEnd() override { return 37; }
    int GetPhase1ScanFirst() override { return 12; }

    // The receive settings have a second copy (registers 31-33): the switches, RS and AFE gain
    // change both.
    void SetSWP(Image image, int value) override;
    void SetSWN(Image image, int value) override;
    bool WriteRs(int chip, Image image, int value) override;
    bool WriteAfeGain(int chip, Image image, int value) override;

    // The image groups' tuning items carry comments, and the ADC gain of a group whose FREQCTRL
    // bit fixes it (bit 1 "Img", bit 2 "WLTx", bit 3 "WLRx") is marked read-only.
    void SaveTuneSection(CParamFile& file, std::string_view section, std::string_view group,
                         ConstImage image, uint8_t preScaler, uint8_t freqCtrl,
                         std::string_view comment = {}) override;

  protected:
    const chipmap::ChipProfile* Profile() const override;
    int AxisChannelOffset(int chip, bool txAxis) override;
    void AdjustTestPreset(std::vector<int32_t>& values, int scanType) override;
    // The water-line groups take their ADC gain and RS from the "-RD" section when it has them.
    void LoadTuneItems(CParamFile& file, std::string_view section, std::string_view group,
                       std::vector<int32_t>& values) override;

  private:
    // Sets the second-copy field in the image; false when the image or the map lacks it.
    bool SetCopy(Image image, std::string_view suffix, int value);
};

}  // namespace Slave_T3300

using Slave_T3300::CSlave_T3300;
