#include "model/DrawTestDevice.h"

#include "model/DeviceSession.h"
#include "model/DrawOps.h"
#include "model/DrawReports.h"
#include "model/DrawTestMessages.h"

namespace tuner {
namespace {

constexpr uint8_t kThresholdRead = 0;
constexpr uint8_t kThresholdSet = 1;
constexpr uint8_t kThresholdCount = 255;
constexpr int kStylusInfoRecord = 2;
constexpr std::size_t kStylusChannelsByte = 9;

using ThresholdCall = int (*)(DevHandle, uint8_t, uint8_t*);

// Fills the list from the controller; false when the count or the current mode is unreadable.
bool FillThresholds(DevHandle h, ThresholdCall call, const char* name, ThresholdList& list) {
    uint8_t count = 1, current = 0;
    if (call(h, kThresholdCount, &count) == 0 || call(h, kThresholdRead, &current) == 0) {
        list = {{Format("%s-0", name)}, 0};
        return false;
    }
    list.entries.clear();
    for (int i = 0; i < count; ++i) list.entries.push_back(Format("%s-%d", name, i));
    list.selected = current < count ? current : 0;
    return true;
}

void ReadSelection(DevHandle h, ThresholdCall call, ThresholdList& list) {
    uint8_t current = 0;
    const bool read = call(h, kThresholdRead, &current) != 0;
    list.selected = read && current < list.entries.size() ? current : 0;
}

}  // namespace

Messages DrawTestDevice::BeginActivation(DevHandle h) {
    Messages messages;
    devSwitchWorkMode(h, kCommandMode);
    for (const UserMessage& m : ReadErrorWord(h)) messages.push_back(m);
    uint8_t record[64] = {};
    if (devQueryInfo(h, kStylusInfoRecord, record) != 0)
        stylusChannels_ = record[kStylusChannelsByte];
    else
        messages.push_back(kPenInfoFailMessage);
    ReadFrequency(h);
    return messages;
}

Messages DrawTestDevice::EndActivation(DevHandle h) {
    Messages messages;
    ReadThresholdLists(h);
    if (info_ != InfoMode::kNone) SendInfoMode(h, info_);
    devSwitchWorkMode(h, TouchMode());
    return messages;
}

Messages DrawTestDevice::ReadErrorWord(DevHandle h) {
    uint32_t word = 0;
    if (devGetErrorCode(h, &word) == 0) return {kErrorCodeFailMessage};
    errorWord_ = word;
    errorText_ = Format("0x%08X", word);
    errorNames_ = ErrorWordNames(word);
    return {};
}

void DrawTestDevice::ReadFrequency(DevHandle h) {
    devSwitchWorkMode(h, kCommandMode);
    uint8_t table[64] = {};
    if (devGetFrequencyTable(h, table) != 0)
        frequency_ = DecodeFrequencyTable(table);
    else
        frequency_.text.clear();
}

void DrawTestDevice::ReadThresholdLists(DevHandle h) {
    // An unreadable touch list leaves the stylus list as it is.
    if (!FillThresholds(h, devThresholdMode, "Threshold", touchThresholds_)) return;
    FillThresholds(h, devPenThresholdMode, "PenThreshold", stylusThresholds_);
}

Messages DrawTestDevice::StepFrequency(DevHandle h, bool forward) {
    const int count = frequency_.count;
    if (count <= 0) return {};  // no table: nothing to step through
    int index = frequency_.index;
    if (forward)
        index = index + 1 >= count ? 0 : index + 1;
    else
        index = index <= 0 || index >= count ? count - 1 : index - 1;

    Messages messages;
    if (info_ != InfoMode::kNone && devSetInfoReport(h, 0) == 0)
        messages.push_back(kCloseInfoFailMessage);
    devSwitchWorkMode(h, kCommandMode);
    uint8_t scratch[64] = {};
    if (devSetFrequency(h, scratch, static_cast<uint8_t>(index)) == 0)
        messages.push_back(kSetFrequencyFailMessage);
    ReadSelection(h, devThresholdMode, touchThresholds_);
    ReadSelection(h, devPenThresholdMode, stylusThresholds_);
    ReadFrequency(h);
    devSwitchWorkMode(h, TouchMode());
    if (info_ != InfoMode::kNone && SendInfoMode(h, info_) == 0)
        messages.push_back(kReopenInfoFailMessage);
    return messages;
}

Messages DrawTestDevice::SelectTouchThreshold(DevHandle h, int index) {
    uint8_t value = static_cast<uint8_t>(index);
    if (devThresholdMode(h, kThresholdSet, &value) == 0) return {kThresholdFailMessage};
    touchThresholds_.selected = index;
    return {};
}

Messages DrawTestDevice::SelectStylusThreshold(DevHandle h, int index) {
    uint8_t value = static_cast<uint8_t>(index);
    if (devPenThresholdMode(h, kThresholdSet, &value) == 0) return {kThresholdFailMessage};
    stylusThresholds_.selected = index;
    return {};
}

int DrawTestDevice::SendInfoMode(DevHandle h, InfoMode mode) {
    return devSetInfoReport(h, static_cast<int>(mode));
}

Messages DrawTestDevice::SetInfoBox(DevHandle h, InfoMode box, bool on) {
    info_ = on ? box : InfoMode::kNone;
    if (SendInfoMode(h, info_) != 0) return {};
    return {box == InfoMode::kStylus ? kNoPenInfoMessage : kNoTouchInfoMessage};
}

bool DrawTestDevice::SetFiltered(DevHandle h, bool filtered) {
    filtered_ = filtered;
    return devSwitchWorkMode(h, TouchMode()) != 0;
}

Messages DrawTestDevice::Restart(DevHandle h, const std::function<bool()>& refreshChannels) {
    Messages messages;
    if (info_ != InfoMode::kNone && devSetInfoReport(h, 0) == 0)
        messages.push_back(kDisableInfoFailMessage);
    if (devRestart(h, TouchMode()) != 0) messages.push_back(kRestartOkMessage);
    if (refreshChannels && !refreshChannels()) messages.push_back(kChannelInfoMessage);
    for (const UserMessage& m : ReadErrorWord(h)) messages.push_back(m);
    ReadFrequency(h);
    devSwitchWorkMode(h, TouchMode());
    if (info_ != InfoMode::kNone && SendInfoMode(h, info_) == 0)
        messages.push_back(kRestartReopenInfoFailMessage);
    return messages;
}

}  // namespace tuner
