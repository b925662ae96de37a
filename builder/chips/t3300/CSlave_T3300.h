// The T3300 sensing chip.
#pragma once

#include "chips/CSlave.h"

namespace Slave_T3300 {

class CSlave_T3300 : public CSlave {
  public:
    using CSlave::CSlave;

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
