// What the draw-test page asks of the controller: the error word, the stylus channel count, the
// working frequency, the threshold modes, the information stream and the software restart. Each
// request answers the messages to show; a failure never stops the page.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "devlink/devlink.h"
#include "model/DrawLogs.h"
#include "model/DrawReports.h"
#include "model/Messages.h"

namespace tuner {

inline constexpr uint16_t kTouchModeFiltered = 0x2000;
inline constexpr uint16_t kTouchModeUnfiltered = 0x2001;

struct ThresholdList {
    std::vector<std::string> entries;
    int selected = 0;
};

using Messages = std::vector<UserMessage>;

class DrawTestDevice {
  public:
    uint32_t ErrorWord() const { return errorWord_; }
    const std::string& ErrorText() const { return errorText_; }
    const std::string& ErrorNames() const { return errorNames_; }
    int StylusChannels() const { return stylusChannels_; }
    const FrequencyState& Frequency() const { return frequency_; }
    const ThresholdList& TouchThresholds() const { return touchThresholds_; }
    const ThresholdList& StylusThresholds() const { return stylusThresholds_; }
    InfoMode Info() const { return info_; }
    uint16_t TouchMode() const { return filtered_ ? kTouchModeFiltered : kTouchModeUnfiltered; }

    // Activation before the page subscribes: command mode, error word, stylus information and
    // frequency.
    Messages BeginActivation(DevHandle h);
    // Activation after it subscribed: threshold lists, the information stream again, touch mode.
    Messages EndActivation(DevHandle h);

    Messages ReadErrorWord(DevHandle h);
    // Reads the frequency table in command mode; the caller restores the touch mode.
    void ReadFrequency(DevHandle h);
    void ReadThresholdLists(DevHandle h);

    // ">" (forward) or "<": the next or previous working frequency, wrapping round.
    Messages StepFrequency(DevHandle h, bool forward);
    Messages SelectTouchThreshold(DevHandle h, int index);
    Messages SelectStylusThreshold(DevHandle h, int index);
    // The "Touch" (box kTouch) or "Pen" (kStylus) box switched on or off; the other stream goes
    // off with it. The mode is kept as chosen even when the controller refuses it.
    Messages SetInfoBox(DevHandle h, InfoMode box, bool on);
    // "Filter": filtered or unfiltered points, sent at once.
    bool SetFiltered(DevHandle h, bool filtered);
    // Restarts the firmware into touch mode. refreshChannels re-reads the channel information
    // and the title (false when that fails).
    Messages Restart(DevHandle h, const std::function<bool()>& refreshChannels);

  private:
    int SendInfoMode(DevHandle h, InfoMode mode);

    uint32_t errorWord_ = 0;
    std::string errorText_;
    std::string errorNames_;
    int stylusChannels_ = 0;
    FrequencyState frequency_;
    ThresholdList touchThresholds_{{"Threshold-0"}, 0};
    ThresholdList stylusThresholds_{{"PenThreshold-0"}, 0};
    InfoMode info_ = InfoMode::kNone;
    bool filtered_ = true;
};

}  // namespace tuner
