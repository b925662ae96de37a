#include "Firmware.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ChipFields.h"
#include "PanelMeasure.h"
#include "Truth.h"
#include "TunerImage.h"
#include "devlink_protocol.h"

namespace sim {
namespace {

using namespace devproto;

bool isImageMode(uint16_t mode) {
    switch (mode) {
        case 0x4080:
        case 0x4004:
        case 0x4200:
        case 0x4805:
        case 0x4801:
        case 0x4020:
        case 0x4010:
        case 0x4008:
        case 0x4000:
            return true;
        default:
            return false;
    }
}

// Touch and stylus coordinates run from 0 to this in both axes.
constexpr uint16_t kCoordinateMax = 4095;
// A key held down is reported again this often, so that a page that comes late still sees it.
constexpr int kHeldKeyRepeatMs = 100;

bool isTouchMode(uint16_t mode) {
    return mode == 0x2000 || mode == 0x2001;
}

bool isKnownMode(uint16_t mode) {
    return mode == 0 || mode == 0x8000 || mode == 0x8001 || mode == 0x8004 || isImageMode(mode) ||
           isTouchMode(mode);
}

std::string hex16(uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", v);
    return text;
}

Outcome status(uint8_t s, std::string trace = {}) {
    Outcome o;
    o.status = s;
    o.trace = std::move(trace);
    return o;
}

int32_t getS32(const uint8_t* p) {
    return static_cast<int32_t>(getU32(p));
}

}  // namespace

std::string opName(uint8_t op) {
    switch (op) {
        case kOpModelName:
            return "model_name";
        case kOpTypeName:
            return "type_name";
        case kOpVersionText:
            return "version_text";
        case kOpModelSubName:
            return "sub_name";
        case kOpStructVersion:
            return "struct_version";
        case kOpVersionBytes:
            return "version_bytes";
        case kOpKernelNumber:
            return "kernel_number";
        case kOpSwitchWorkMode:
            return "switch_mode";
        case kOpRestart:
            return "restart";
        case kOpPcapInfo:
            return "pcap_info";
        case kOpFrequencyTable:
            return "frequency_table";
        case kOpQueryInfo:
            return "query_info";
        case kOpReportInfo:
            return "report_info";
        case kOpErrorCode:
            return "error_code";
        case kOpSetFreqOption:
            return "set_freq_option";
        case kOpSetFrequency:
            return "set_frequency";
        case kOpGetFrequency:
            return "get_frequency";
        case kOpSetTestMode:
            return "set_test_mode";
        case kOpSetClock:
            return "set_clock";
        case kOpStartShortTest:
            return "short_test";
        case kOpRequestImage:
            return "request_image";
        case kOpSetReportImage:
            return "set_report_image";
        case kOpSetAnalog:
            return "set_analog";
        case kOpReadBlock:
            return "read_block";
        case kOpWriteBlock:
            return "write_block";
        case kOpReadRegisters:
            return "read_registers";
        case kOpWriteRegisters:
            return "write_registers";
        case kOpSetInfoReport:
            return "set_info_report";
        case kOpThresholdMode:
            return "threshold_mode";
        case kOpPenThresholdMode:
            return "pen_threshold_mode";
        default:
            return {};
    }
}

Firmware::Firmware(const Profile& profile, std::string statePath, std::string truthPath)
    : profile_(profile),
      storage_(profile, std::move(statePath)),
      banks_(profile.chip, profile.chipCount, profile.faults.registers),
      panel_(profile),
      truthPath_(std::move(truthPath)),
      touch_(buildTouchScript(profile.touchPath, kCoordinateMax, kCoordinateMax,
                              profile.panel.keys.count),
             profile.infoIntervalMs / std::max(1, profile.touchIntervalMs),
             profile.panel.keys.count, profile.panel.keys.pressed,
             kHeldKeyRepeatMs / std::max(1, profile.touchIntervalMs)) {
    storage_.setFactoryImage(kTable, panelUniformityTable(panel_, profile_.chip, storage_.ram()));
    for (int type : profile_.faults.badChecksum) storage_.corrupt(type);
    freqIndex_ = static_cast<uint8_t>(hw::freqStartIndex(storage_.ram()));
    writeTruth();
}

void Firmware::writeTruth() {
    panel_.setFingerDown(true);  // the truth describes the panel with its finger
    if (!truthPath_.empty())
        sim::writeTruth(truthPath_, profile_, panel_, storage_.ram(), freqIndex_);
}

Outcome Firmware::execute(uint8_t op, const uint8_t* a, const Bytes& bulk) {
    switch (op) {
        case kOpModelName:
            return text(profile_.modelName);
        case kOpTypeName:
            return text(profile_.typeName);
        case kOpVersionText:
            return text(profile_.versionText);
        case kOpModelSubName:
            return text(profile_.subName);
        case kOpStructVersion:
        case kOpVersionBytes:
            return versionBytes();
        case kOpKernelNumber: {
            Outcome o;
            o.data = {profile_.kernelMinor};
            return o;
        }
        case kOpSwitchWorkMode:
            return switchMode(getU16(a));
        case kOpRestart:
            return restart(getU16(a));
        case kOpPcapInfo:
            return pcapInfo();
        case kOpFrequencyTable:
            return frequencyTable();
        case kOpQueryInfo:
            return queryInfo(a[0]);
        case kOpReportInfo:
            return reportInfo();
        case kOpErrorCode:
            return errorCode();
        case kOpSetFreqOption:
            return status(kStatusOk, "option=" + std::to_string(a[0]));
        case kOpSetFrequency:
            return setFrequency(a[0]);
        case kOpGetFrequency: {
            Outcome o;
            o.data = {freqIndex_};
            o.trace = "index=" + std::to_string(freqIndex_);
            return o;
        }
        case kOpSetTestMode:
            return setTestMode(a[0], a[1]);
        case kOpSetClock: {
            if (a[0] > 4) return status(kStatusRefused, "clock=" + std::to_string(a[0]));
            clock_ = a[0];
            Outcome o = status(kStatusOk, "clock=" + std::to_string(a[0]));
            o.data = {clock_};
            return o;
        }
        case kOpStartShortTest:
            return shortTest(a[0]);
        case kOpRequestImage:
            return requestImage(a[0]);
        case kOpSetReportImage:
            return setReportImage(a);
        case kOpSetAnalog:
            return status(kStatusOk, "values=" + std::to_string(getS32(a)) + ",...");
        case kOpReadBlock:
            return readBlock(a);
        case kOpWriteBlock:
            return writeBlock(a, bulk);
        case kOpReadRegisters:
            return readRegisters(a);
        case kOpWriteRegisters:
            return writeRegisters(a, bulk);
        case kOpSetInfoReport:
            if (a[0] > 2) return status(kStatusRefused, "kind=" + std::to_string(a[0]));
            infoReport_ = a[0];
            return status(kStatusOk, "kind=" + std::to_string(a[0]));
        case kOpThresholdMode:
            return thresholdMode(false, a[0], a[1]);
        case kOpPenThresholdMode:
            return thresholdMode(true, a[0], a[1]);
        default:
            return status(kStatusUnknown, "op=" + std::to_string(op));
    }
}

Outcome Firmware::text(const std::string& value) const {
    Outcome o;
    o.data.assign(value.begin(), value.end());
    o.data.push_back(0);
    return o;
}

Outcome Firmware::versionBytes() const {
    Outcome o;
    o.data = {
        profile_.kernelMajor, profile_.hwVersion, profile_.swVersion, profile_.penVersion, 0, 0, 0};
    return o;
}

Outcome Firmware::switchMode(uint16_t mode) {
    const std::string trace = "mode=" + hex16(mode);
    if (!isKnownMode(mode) || profile_.faults.refusedModes.count(mode))
        return status(kStatusRefused, trace);
    enterMode(mode);
    txAxis_ = false;
    framesSent_ = 0;
    if (isImageMode(mode)) writeTruth();
    Outcome o = status(kStatusOk, trace);
    o.stopsStreams = true;
    return o;
}

void Firmware::enterMode(uint16_t mode) {
    // The scripted hand starts over whenever the controller comes into a touch mode.
    if (isTouchMode(mode) && !isTouchMode(mode_)) touch_.restart();
    mode_ = mode;
}

Outcome Firmware::restart(uint16_t mode) {
    const std::string trace = "mode=" + hex16(mode);
    if (profile_.faults.restartFails || !isKnownMode(mode) ||
        profile_.faults.refusedModes.count(mode))
        return status(kStatusFailed, trace);
    storage_.reloadRam();
    freqIndex_ = static_cast<uint8_t>(hw::freqStartIndex(storage_.ram()));
    infoReport_ = 0;
    txAxis_ = false;
    enterMode(mode);
    framesSent_ = 0;
    if (isImageMode(mode)) writeTruth();
    Outcome o = status(kStatusOk, trace);
    o.stopsStreams = true;
    return o;
}

Outcome Firmware::pcapInfo() const {
    const Bytes& ram = storage_.ram();
    Outcome o;
    o.data.assign(64, 0);
    Bytes& d = o.data;
    std::copy(ram.begin() + hw::kXDimension, ram.begin() + hw::kXDimension + 4, d.begin() + 2);
    d[16] = 26, d[17] = 1, d[18] = 15;  // kernel build date
    d[19] = 100;                        // uniformity scale
    // The chips' own calibration values, unless the profile gives a value for every chip.
    const int calAt[4] = {21, 22, 47, 48};
    for (int i = 0; i < 4; ++i) {
        const int own = std::clamp(panel_.calibrationValue(i), 0, 255);
        d[calAt[i]] =
            static_cast<uint8_t>(profile_.calibration != 100 ? profile_.calibration : own);
    }
    for (int i = 0; i < 4; ++i) {
        if (i < hw::txChips(ram)) {
            d[25 + 2 * i] = ram[hw::kTxStart + 2 * i];
            d[26 + 2 * i] = ram[hw::kTxStart + 2 * i + 1];
        }
        if (i < hw::rxChips(ram)) {
            d[36 + 2 * i] = ram[hw::kRxStart + 2 * i];
            d[37 + 2 * i] = ram[hw::kRxStart + 2 * i + 1];
        }
    }
    d[49] = 0;  // clock type
    return o;
}

double Firmware::frequencyOf(int f) const {
    const Bytes& ram = storage_.ram();
    const int block = hw::kFreqBlock + hw::kFreqBlockSize * f;
    const int clock = ram[block + hw::kBlockClkSrc];
    const int count = ram[block + hw::kBlockPreScaler];
    const int divider = ram[block + hw::kBlockFreqDivider];
    return sensingKHz(profile_.chip, clock, count, divider);
}

Outcome Firmware::frequencyTable() const {
    Outcome o;
    o.data.assign(64, 0);
    const int count = hw::frequencies(storage_.ram());
    o.data[0] = static_cast<uint8_t>(count);
    o.data[1] = freqIndex_;
    for (int f = 0; f < count; ++f) {
        const long word = std::lround(frequencyOf(f) * 100.0);
        putU16(o.data.data() + 2 + 2 * f, static_cast<uint16_t>(std::clamp(word, 0L, 65535L)));
    }
    return o;
}

Outcome Firmware::queryInfo(int index) const {
    const Bytes& ram = storage_.ram();
    Outcome o = status(kStatusOk, "index=" + std::to_string(index));
    o.data.assign(64, 0);
    Bytes& d = o.data;
    switch (index) {
        case 0:
            if (profile_.panel.keys.count > 0) d[4] = 0x01;  // touch keys
            break;
        case 1:
            d[5] = static_cast<uint8_t>(profile_.panel.keys.count);
            break;
        case 2:
            d[9] = static_cast<uint8_t>(std::min(255, std::max(tx(), rx())));
            break;
        case 3:
            d[6] = 1;  // L1
            d[7] = 1;  // L2
            d[8] = static_cast<uint8_t>(std::min(tx(), 255));
            d[9] = static_cast<uint8_t>(std::min(rx(), 255));
            std::copy(ram.begin() + hw::kPhaseTarget, ram.begin() + hw::kPhaseTarget + 10,
                      d.begin() + 10);
            break;
        case 4:
            d[5] = ram[hw::kChannelCtrl];
            std::copy(ram.begin() + hw::kTxEnable, ram.begin() + hw::kTxEnable + 16, d.begin() + 6);
            std::copy(ram.begin() + hw::kRxEnable, ram.begin() + hw::kRxEnable + 32,
                      d.begin() + 26);
            break;
        default:
            return status(kStatusRefused, o.trace);
    }
    return o;
}

Outcome Firmware::reportInfo() const {
    Outcome o;
    o.data.assign(64, 0);
    for (int at : {1, 3, 14, 16}) putU16(o.data.data() + at, kCoordinateMax);
    return o;
}

uint32_t Firmware::errorWord() const {
    uint32_t flags = profile_.errorFlags;
    if (!imageChecksumValid(storage_.stored(kHardware))) flags |= 1u << 1;
    if (!tableValid(storage_.stored(kTable))) flags |= 1u << 8;
    return flags;
}

Outcome Firmware::errorCode() const {
    Outcome o;
    o.data.assign(4, 0);
    putU32(o.data.data(), errorWord());
    return o;
}

Outcome Firmware::setFrequency(uint8_t index) {
    const std::string trace = "index=" + std::to_string(index);
    if (index >= hw::frequencies(storage_.ram())) return status(kStatusRefused, trace);
    if (!profile_.faults.frequencyDoesNotStick) freqIndex_ = index;
    return status(kStatusOk, trace);
}

Outcome Firmware::setTestMode(uint8_t first, uint8_t last) {
    if (first == 1 && last == 255)
        txAxis_ = true;
    else if (!(first == 255 && last == 255))
        txAxis_ = false;
    testFirst_ = first;
    testLast_ = last;
    measureChips(panel_, banks_, storage_.ram(), {first, last, txAxis_}, clock_,
                 profile_.firstChipPinOffset);
    return status(kStatusOk, "first=" + std::to_string(first) + " last=" + std::to_string(last));
}

// Step code 1 tests the panel's lines at the chips, 6 through the flexible cable: the panel's
// shorts show the same in both.
Outcome Firmware::shortTest(uint8_t code) const {
    const std::string trace = "code=" + std::to_string(code);
    if (mode_ != 0x8004 || (code != 1 && code != 6)) return status(kStatusRefused, trace);
    Outcome o = status(kStatusOk, trace);
    const StreamFaults& faults = profile_.panel.stream;
    if (faults.shortBurstMissing) return o;
    const bool oldRxLayout = profile_.kernelMajor == 2 && profile_.kernelMinor < 44;
    appendShortTest(o.reports, measureShortTest(panel_, profile_, storage_.ram()), oldRxLayout);
    if (faults.shortBurstTruncated) o.reports.pop_back();
    return o;
}

Outcome Firmware::requestImage(uint8_t rows) const {
    const std::string trace = "rows=" + std::to_string(rows);
    if (rows == 0) return status(kStatusRefused, trace);
    Outcome o = status(kStatusOk, trace);
    const StreamFaults& faults = profile_.panel.stream;
    if (faults.afeBurstMissing) return o;
    int channels = 0;
    const std::vector<int16_t> words = measureAfeRows(
        panel_, banks_, storage_.ram(), {testFirst_, testLast_, txAxis_}, clock_, rows, channels);
    appendAfeBurst(o.reports, rows, channels, &words);
    if (faults.afeBurstTruncated) {
        // The last row never comes.
        while (!o.reports.empty() && o.reports.back()[3] == rows - 1) o.reports.pop_back();
    }
    return o;
}

Outcome Firmware::setReportImage(const uint8_t* a) {
    const Window w{getS32(a), getS32(a + 4), getS32(a + 8), getS32(a + 12)};
    const std::string trace = "rx=" + std::to_string(w.firstRx) + ".." + std::to_string(w.lastRx) +
                              " tx=" + std::to_string(w.firstTx) + ".." + std::to_string(w.lastTx);
    if (w.firstRx < 0 || w.firstRx > w.lastRx || w.lastRx >= rx() || w.firstTx < 0 ||
        w.firstTx > w.lastTx || w.lastTx >= tx())
        return status(kStatusRefused, trace);
    window_ = w;
    return status(kStatusOk, trace);
}

Report Firmware::icInfo() const {
    std::array<uint16_t, 5> record{};
    switch (profile_.chip) {
        case ChipModel::T320:
            record = {89, 99, 89, 0, 0};
            break;
        case ChipModel::T324:
            record = {570, 629, 629, 0, 0};
            break;
        case ChipModel::T3300:
            record = {78, 117, 117, 0, 0};
            break;
    }
    std::vector<std::array<uint16_t, 5>> records;
    for (int chip = 0; chip < banks_.chips(); ++chip) {
        auto r = record;
        r[0] = static_cast<uint16_t>(r[0] + chip);  // a small per-chip trim
        records.push_back(r);
    }
    return icInfoReply(records, profile_.chip == ChipModel::T324);
}

bool Firmware::streaming() const {
    return isImageMode(mode_) || (isTouchMode(mode_) && (infoReport_ != 0 || touch_.paced()));
}

int Firmware::streamIntervalMs() const {
    if (isImageMode(mode_)) return profile_.frameIntervalMs;
    return touch_.paced() ? profile_.touchIntervalMs : profile_.infoIntervalMs;
}

void Firmware::appendStreamBurst(Reports& out) {
    if (!streaming()) return;
    const StreamFaults& faults = profile_.panel.stream;
    if (isImageMode(mode_) && faults.framesStopAfter >= 0 && framesSent_ >= faults.framesStopAfter)
        return;
    if (profile_.faults.malformedReports) out.push_back(malformedReport(kKindImage));
    if (isImageMode(mode_)) {
        const Finger* finger = profile_.panel.finger ? &*profile_.panel.finger : nullptr;
        panel_.setFingerDown(finger == nullptr || framesSent_ >= finger->fromFrame);
        const FrameGrid frame =
            measureFrame(panel_, profile_.chip, storage_.ram(), freqIndex_, mode_);
        const size_t first = out.size();
        appendImageFrame(out, tx(), rx(), window_, &frame.values);
        appendTunerExtras(out);
        ++framesSent_;
        // A report lost on the way: one in the middle of the frame.
        if (framesSent_ == faults.missingReportInFrame && out.size() > first + 1)
            out.erase(out.begin() + static_cast<long>(first + (out.size() - first) / 2));
    } else {
        const int channels = std::min(255, std::max(tx(), rx()));
        touch_.appendStep(out, {infoReport_, freqIndex_, touchThreshold_, errorWord(), channels});
    }
}

void Firmware::appendTunerExtras(Reports& out) {
    const TouchKeys& keys = profile_.panel.keys;
    if (keys.count > 0) {
        const bool full = window_.lastRx < window_.firstRx || window_.lastTx < window_.firstTx;
        const int lastTx = full ? tx() - 1 : window_.lastTx;
        out.push_back(keyReport(
            2 + lastTx + 1, measureKeys(panel_, profile_.chip, storage_.ram(), freqIndex_, mode_)));
    }
    if (keys.listBursts)
        appendListBurst(out, panel_, panel_.activeLines(storage_.ram(), true),
                        panel_.activeLines(storage_.ram(), false), framesSent_);
}

}  // namespace sim
