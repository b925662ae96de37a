// The T320 sensing chip.
#pragma once

#include "chips/CSlave.h"

namespace Slave_T320 {

class CSlave_T320 : public CSlave {
  public:
    using CSlave::CSlave;

    int GetCalInputHigh() override { return 212; }
    int GetCalInputLow() override { return 44; }
    int GetCalScale() override { return 2880; }
    int GetCalSampleCount() override { return 34; }
    int GetCalReference() override { return 100; }
    int GetRegImageSize() override { return 68; }

    int GetMaxTxChannels() override { return 160; }
    int GetMaxRxChannels() override { return 255; }
    int GetTxChannelsPerChip() override { return 80; }
    int GetFirstChipTxChannels() override { return 0; }
    int GetRxChannelsPerChip() override { return 128; }
    int GetFirstChipRxChannels() override { return 0; }

    int GetScalingMax() override { return 15; }
    int GetAfeGainUpper() override { return 30; }
    int GetAfeGainLower() override { return 1; }
    int GetRsMax() override { return 14; }
    int GetRsMin() override { return 1; }
    int GetSinAmpMin() override { return 0; }
    int GetSinAmpMax() override { return 127; }
    int GetWLTxSinAmpMin() override { return 0; }
    int GetWLTxSinAmpMax() override { return 127; }
    int GetWLRxSinAmpMin() override { return 0; }
    int GetWLRxSinAmpMax() override { return 127; }

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

  protected:
    const chipmap::ChipProfile* Profile() const override;
};

}  // namespace Slave_T320

using Slave_T320::CSlave_T320;
