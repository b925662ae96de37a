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

  protected:
    // Constants and data layout; the register map comes with the chip's register files.
    const chipmap::ChipProfile* Profile() const override;
    int AxisChannelOffset(int chip, bool txAxis) override;
};

}  // namespace Slave_T3300

using Slave_T3300::CSlave_T3300;
