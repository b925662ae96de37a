// The T324 sensing chip.
#pragma once

#include "chips/CSlave.h"

namespace Slave_T324 {

class CSlave_T324 : public CSlave {
  public:
    using CSlave::CSlave;

    int GetCalInputHigh() override { return 236; }
    int GetCalInputLow() override { return 27; }
    int GetCalScale() override { return 5578; }
    int GetCalSampleCount() override { return 34; }
    int GetCalReference() override { return 100; }
    int GetRegImageSize() override { return 56; }

    int GetMaxTxChannels() override { return 96; }
    int GetMaxRxChannels() override { return 168; }
    int GetTxChannelsPerChip() override { return 48; }
    int GetFirstChipTxChannels() override { return 0; }
    int GetRxChannelsPerChip() override { return 84; }
    int GetFirstChipRxChannels() override { return 0; }

    int GetScalingMax() override { return 15; }
    int GetAfeGainUpper() override { return 30; }
    int GetAfeGainLower() override { return 1; }
    int GetRsMax() override { return 14; }
    int GetRsMin() override { return 1; }
    int GetSinAmpMin() override { return 10; }
    int GetSinAmpMax() override { return 111; }
    int GetWLTxSinAmpMin() override { return 10; }
    int GetWLTxSinAmpMax() override { return 111; }
    int GetWLRxSinAmpMin() override { return 10; }
    int GetWLRxSinAmpMax() override { return 111; }

    int GetFirstChipTxOffset() override;
    int GetFirstChipRxOffset() override;
    int GetTxChannelFirst(int chip) override;
    int GetTxChannelLast(int chip) override;
    int GetRxChannelFirst(int chip) override;
    int GetRxChannelLast(int chip) override;

    int GetPsampleScanFirst() override { return 3; }
    int GetPsampleScanEnd() override { return 31; }
    int GetClockSourceCount() override { return 0; }
    int GetPhase1ScanEnd() override { return 31; }
    int GetPhase1ScanFirst() override { return 12; }

    // The chip has no sine generator and no register banks to switch.
    void SetSinAmp(Image, int) override {}
    int GetSinAmp(ConstImage) override { return 10; }
    bool WriteSinTable(ConstImage) override { return true; }
    bool WriteRegBank(int, Image, int) override { return true; }
    bool SelectRegBank3(Image) override { return true; }

  protected:
    const chipmap::ChipProfile* Profile() const override;
};

}  // namespace Slave_T324

using Slave_T324::CSlave_T324;
