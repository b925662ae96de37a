#include <algorithm>

#include "TouchScript.h"
#include "devlink_protocol.h"

namespace sim {
namespace {

constexpr int kPointsPerReport = 5;
constexpr int kPointRecordSize = 10;
constexpr int kPointCountByte = 54;
constexpr uint8_t kContactBit = 0x01;
constexpr uint8_t kInRange = 0x10;

// A small, repeatable wobble for the noise figures.
int wobble(long tick, int span) {
    const auto v = static_cast<unsigned long>(tick) * 2654435761UL;
    return static_cast<int>((v >> 16) % static_cast<unsigned long>(span));
}

const Contact* findId(const std::vector<Contact>& contacts, uint8_t id) {
    for (const Contact& c : contacts)
        if (c.id == id) return &c;
    return nullptr;
}

const Contact* stylusOf(const Step& step) {
    for (const Contact& c : step.contacts)
        if (c.status & kInRange) return &c;
    return nullptr;
}

int fingers(const Step& step) {
    return static_cast<int>(std::count_if(step.contacts.begin(), step.contacts.end(), [](auto& c) {
        return (c.status & kInRange) == 0 && (c.status & kContactBit);
    }));
}

}  // namespace

TouchPlayer::TouchPlayer(std::vector<Step> script, int infoEvery, int touchKeys, int heldKey,
                         int repeatEvery)
    : script_(std::move(script)),
      infoEvery_(std::max(1, infoEvery)),
      touchKeys_(touchKeys),
      heldKey_(heldKey >= 0 && heldKey < touchKeys ? heldKey : -1),
      repeatEvery_(std::max(1, repeatEvery)) {}

void TouchPlayer::restart() {
    tick_ = 0;
    previous_.clear();
    previousKey_ = -1;
}

void TouchPlayer::appendStep(Reports& out, const InfoContext& info) {
    static const Step kEmpty;
    const Step& step =
        script_.empty() ? kEmpty : script_[static_cast<size_t>(tick_) % script_.size()];
    if (!script_.empty()) appendPoints(out, step);
    appendKey(out, step);
    // Without anything played the information records are the whole stream, one per interval.
    if (!paced() || tick_ % infoEvery_ == 0) {
        if (info.infoMode == 1) out.push_back(touchInfo(step, info));
        if (info.infoMode == 2) out.push_back(stylusInfo(step, info));
    }
    ++tick_;
}

void TouchPlayer::appendKey(Reports& out, const Step& step) {
    if (touchKeys_ <= 0) return;
    const int key = step.key >= 0 ? step.key : heldKey_;
    const bool repeat = key >= 0 && key == heldKey_ && tick_ % repeatEvery_ == 0;
    if (key == previousKey_ && !repeat) return;
    auto send = [&](bool pressed, int index) {
        Report r = makeReport(devproto::kKindKeys, pressed ? 1 : 0, 1);
        r[4] = static_cast<uint8_t>(index);
        out.push_back(r);
    };
    if (previousKey_ >= 0 && key != previousKey_) send(false, previousKey_);
    if (key >= 0) send(true, key);
    previousKey_ = key;
}

void TouchPlayer::appendPoints(Reports& out, const Step& step) {
    std::vector<Contact> records = step.contacts;
    // A contact that was there one step ago and is gone now ends with a record without contact.
    for (const Contact& before : previous_) {
        if (findId(step.contacts, before.id) != nullptr) continue;
        Contact lift = before;
        lift.status = 0;
        lift.z = 0;
        records.push_back(lift);
    }
    previous_ = step.contacts;
    for (size_t at = 0; at < records.size(); at += kPointsPerReport) {
        const size_t n = std::min<size_t>(kPointsPerReport, records.size() - at);
        Report r = makeReport(devproto::kKindPoints, devproto::kSubPoints, kPointCountByte - 3);
        for (size_t k = 0; k < n; ++k) {
            const Contact& c = records[at + k];
            uint8_t* p = r.data() + 4 + kPointRecordSize * k;
            p[0] = c.status;
            p[1] = c.id;
            devproto::putU16(p + 2, c.x);
            devproto::putU16(p + 4, c.y);
            devproto::putU16(p + 6, static_cast<uint16_t>(c.z));
            p[8] = c.byte8;
            p[9] = c.byte9;
        }
        r[kPointCountByte] = static_cast<uint8_t>(n);
        out.push_back(r);
    }
}

Report TouchPlayer::touchInfo(const Step& step, const InfoContext& info) const {
    Report r = makeReport(devproto::kKindInfo, devproto::kSubTouchInfo, 60);
    uint8_t* rec = r.data() + 4;
    const int touches = step.palm ? 0 : fingers(step);
    const int noise = 8 + wobble(tick_, 14) + (step.water ? 30 : 0);
    rec[0] = info.freqIndex;
    rec[1] = 1;  // stray confidence: pass
    rec[3] = static_cast<uint8_t>(touches);
    rec[4] = step.water;
    rec[5] = noise > 40 ? 1 : 0;
    rec[6] = step.palm;
    devproto::putU16(rec + 7, static_cast<uint16_t>(tick_ % 1000));
    rec[9] = static_cast<uint8_t>(touches);
    rec[10] = step.palm;
    rec[11] = step.water >= 3 ? 1 : 0;
    rec[12] = step.contacts.empty() && !step.palm ? 1 : 0;  // idle
    devproto::putU16(rec + 15, static_cast<uint16_t>(noise));
    rec[17] = static_cast<uint8_t>(wobble(tick_ + 7, 32));
    devproto::putU16(rec + 19, static_cast<uint16_t>(touches ? 320 + wobble(tick_, 40) : 18));
    devproto::putU16(rec + 21, static_cast<uint16_t>(step.waterQuantity));
    devproto::putU16(rec + 25, static_cast<uint16_t>(step.water ? -70 : -12));
    rec[28] = info.threshold;
    devproto::putU32(rec + 29, info.errorWord);
    for (int d = 0; d < 8; ++d)
        devproto::putU16(rec + 35 + 2 * d, static_cast<uint16_t>(d == 0 ? tick_ & 0x7FFF : d));
    return r;
}

Report TouchPlayer::stylusInfo(const Step& step, const InfoContext& info) const {
    static constexpr uint8_t kDataScans[] = {4, 8, 12, 16};
    static constexpr uint8_t kSearchScans[] = {1, 5, 9, 13};
    Report r = makeReport(devproto::kKindInfo, devproto::kSubPenInfo, 60);
    uint8_t* rec = r.data() + 4;
    const Contact* pen = stylusOf(step);
    const size_t phase = static_cast<size_t>(tick_ / infoEvery_) % 4;
    rec[0] = pen ? kDataScans[phase] : kSearchScans[phase];
    rec[21] = 1;  // button state: normal
    if (pen != nullptr) {
        const int channels = std::max(info.stylusChannels, 12);
        const int signal = 900 + wobble(tick_, 120) + (pen->status & kContactBit ? 400 : 0);
        devproto::putU16(rec + 3, static_cast<uint16_t>(pen->z));                    // RawZ1
        devproto::putU16(rec + 7, static_cast<uint16_t>(std::max<int>(pen->z, 0)));  // Z1
        devproto::putU16(rec + 11, static_cast<uint16_t>(signal));                   // MaxSigValue
        devproto::putU16(rec + 13, static_cast<uint16_t>(signal / 3));               // SecSigValue
        if (pen->status & 0x02) rec[21] = 2;
        if (pen->status & 0x08) rec[21] = 3;
        rec[23] = static_cast<uint8_t>(2 + pen->x * (channels - 12) / 4096 + 2);
        rec[24] = static_cast<uint8_t>(rec[23] + 1);
        rec[25] = 4;
        rec[26] = static_cast<uint8_t>(2 + pen->x * (channels - 12) / 4096);  // NonZeroStartIndex
        devproto::putU16(rec + 27, static_cast<uint16_t>(std::max<int>(pen->z, 0) * 3 / 4));
        devproto::putU16(rec + 38, static_cast<uint16_t>(static_cast<int8_t>(pen->byte8)));
        devproto::putU16(rec + 40, static_cast<uint16_t>(static_cast<int8_t>(pen->byte9)));
    }
    rec[32] = info.freqIndex;
    devproto::putU16(rec + 35, static_cast<uint16_t>(20 + wobble(tick_, 20)));
    return r;
}

}  // namespace sim
