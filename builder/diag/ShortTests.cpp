#include "diag/ShortTests.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "device/CAPI.h"
#include "diag/CTuneData.h"
#include "diag/DiagHost.h"
#include "diag/ShortClassify.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"

namespace {

constexpr uint16_t kModeDiagnostics = 0x8004;
constexpr uint8_t kStepPanel = 1;
constexpr uint8_t kStepCable = 6;  // the flexible cable's channels
constexpr int kMaxChips = 4;
constexpr int kMaxPin = 255;

int RepeatCount(DiagHost& host) {
    const int32_t fromOption = host.Options().sensorTest.shortMinRepeat;
    return std::max({host.Ini().ShortTestGetTimes(), fromOption, int32_t{1}});
}

// "Start Short Test" and the diagnostics mode; false when the mode does not switch.
bool Start(DiagHost& host) {
    TestLog().Print(kColourNormal, kRouteBoth, "Start Short Test\n");
    if (host.Api().SwitchWorkMode(kModeDiagnostics)) return true;
    MainLog().Print(kColourError, kRouteBoth, "Set Working Mode Failed!\n");
    return false;
}

// One step with its failure messages: 0, 6 or 8.
uint32_t Step(DiagHost& host, uint8_t code) {
    const int result = host.TuneData().AcquireShortStep(code);
    if (result == 8) TestLog().Print(kColourError, kRouteBoth, "Send Short Command Fail\n");
    if (result == 6) {
        TestLog().Print(kColourError, kRouteBoth, "Get Short Data Fail\n");
        TestLog().Print(kColourError, kRouteBoth, "Short Test fail\n");
    }
    return static_cast<uint32_t>(result);
}

// A value in the units of chip 0's calibration; an uncalibrated chip (value 0) leaves it as read.
int Calibrated(const ControllerGeometry& g, int value) {
    return g.calValue[0] != 0 ? value * g.calReference / g.calValue[0] : value;
}

bool KernelBelow(const ControllerIdentity& id, int major, int minor) {
    return id.kernelMajor < major || (id.kernelMajor == major && id.kernelMinor < minor);
}

bool AboveThreshold(DiagHost& host, int value) {
    return std::abs(value) > host.Ini().ShortTestThreshold();
}

uint32_t Verdict(bool failed) {
    if (failed)
        TestLog().Print(kColourError, kRouteBoth, "Short Test fail\n");
    else
        TestLog().Print(kColourSuccess, kRouteBoth, "Short Test pass\n");
    TestLog().Print(kColourNormal, kRouteBoth, "Finish Short Test\n");
    return failed ? 9 : 0;
}

int ChipCount(uint8_t stored) {
    return std::clamp<int>(stored, 1, kMaxChips);
}

// The pins of each chip the classifying form lists: the cable's ranges when the settings give
// them, else the hardware set's runs (the cable test), else every pin of each chip.
std::vector<ShortRange> ListedPins(DiagHost& host, bool tx, bool flexibleCable) {
    const CParam_HW& hw = host.Hw();
    const int chips = ChipCount(tx ? hw.NumsOfTxChips() : hw.NumsOfRxChips());
    std::vector<ShortRange> ranges;
    if (flexibleCable) {
        std::vector<ShortRange> cable;
        bool given = false;
        for (int chip = 0; chip < std::min(chips, kIniFpcChips); ++chip) {
            const FpcTestRange r = host.Ini().FPCTestRange(chip);
            const int first = tx ? r.txStart : r.rxStart, last = tx ? r.txEnd : r.rxEnd;
            given = given || first != 0 || last != 0;
            cable.push_back({std::clamp(first, 0, kMaxPin), std::clamp(last, -1, kMaxPin)});
        }
        if (given) return cable;
        for (int chip = 0; chip < chips; ++chip) {
            if (tx)
                ranges.push_back({hw.TxStart(chip), hw.TxEnd(chip)});
            else
                ranges.push_back({hw.RxStart(chip), hw.RxEnd(chip)});
        }
        return ranges;
    }
    const CSlave& slave = host.Chip();
    for (int chip = 0; chip < chips; ++chip) {
        int pins = tx ? slave.GetTxChannelsPerChip() : slave.GetRxChannelsPerChip();
        if (chip == 0 && host.Model().IsSmallChip(0))
            pins = tx ? slave.GetFirstChipTxChannels() : slave.GetFirstChipRxChannels();
        ranges.push_back({0, pins - 1});
    }
    return ranges;
}

// What the classifying form sums over its repeats for one axis.
struct AxisTotals {
    std::vector<int> sums;
    std::vector<int> partners;  // the last one a repeat found

    void Add(const std::vector<ShortChannel>& channels) {
        if (sums.empty()) {
            sums.assign(channels.size(), 0);
            partners.assign(channels.size(), kNoShortPartner);
        }
        for (std::size_t i = 0; i < channels.size() && i < sums.size(); ++i) {
            sums[i] += channels[i].peak;
            if (channels[i].partner != kNoShortPartner) partners[i] = channels[i].partner;
        }
    }
};

}  // namespace

uint32_t ShortTest(DiagHost& host) {
    if (!Start(host)) return 2;
    const int repeats = RepeatCount(host);
    const ControllerGeometry& g = host.Geometry();
    CTuneData& data = host.TuneData();
    std::vector<int> rx(std::min<std::size_t>(g.rxCount, CTuneData::kShortListSize));
    std::vector<int> tx(std::min<std::size_t>(g.txCount, CTuneData::kShortListSize));
    for (int i = 0; i < repeats; ++i) {
        if (const uint32_t failed = Step(host, kStepPanel); failed != 0) {
            data.Unsubscribe();
            return failed;
        }
        for (std::size_t c = 0; c < rx.size(); ++c)
            rx[c] += data.ShortListValue(false, static_cast<int>(c));
        for (std::size_t c = 0; c < tx.size(); ++c)
            tx[c] += data.ShortListValue(true, static_cast<int>(c));
    }
    data.Unsubscribe();

    bool failed = false;
    auto print = [&](const char* axis, const std::vector<int>& sums) {
        TestLog().Print(kColourNormal, kRouteFile, "CHANNEL,DATA\n");
        for (std::size_t c = 0; c < sums.size(); ++c) {
            const int value = Calibrated(g, sums[c] / repeats);
            TestLog().Printf(kColourNormal, kRouteFile, "%s[%d],%d\n", axis, static_cast<int>(c),
                             value);
            failed = AboveThreshold(host, value) || failed;
        }
    };
    print("Rx", rx);
    print("Tx", tx);
    return Verdict(failed);
}

uint32_t ShortTestClassified(DiagHost& host, bool flexibleCable) {
    if (!Start(host)) return 2;
    const int repeats = RepeatCount(host);
    const ControllerGeometry& g = host.Geometry();
    const CParam_HW& hw = host.Hw();
    CTuneData& data = host.TuneData();
    const int rxPerChip = g.rxPerChip, txPerChip = g.txPerChip;
    const int rxPins = std::min(rxPerChip * ChipCount(hw.NumsOfRxChips()), CTuneData::kMatrixSize);
    const int txPins = std::min(txPerChip * ChipCount(hw.NumsOfTxChips()), CTuneData::kFrameRows);
    const std::vector<ShortRange> rxRanges = ListedPins(host, false, flexibleCable);
    const std::vector<ShortRange> txRanges = ListedPins(host, true, flexibleCable);
    const int rxOffset = host.Chip().GetFirstChipRxOffset(),
              txOffset = host.Chip().GetFirstChipTxOffset();
    const ShortCell rxMatrix = [&data](int row, int column) {
        return data.MatrixValue(row, column);
    };
    // The Tx matrix comes in the frame area.
    const ShortCell txMatrix = [&data](int row, int column) {
        return data.FrameValue(row, column);
    };

    AxisTotals rx, tx;
    for (int i = 0; i < repeats; ++i) {
        if (const uint32_t failed = Step(host, flexibleCable ? kStepCable : kStepPanel);
            failed != 0) {
            data.Unsubscribe();
            return failed;
        }
        rx.Add(MapShortChannels(ClassifyRxShorts(rxMatrix, rxPerChip, rxPins), rxRanges, rxPerChip,
                                rxOffset, CTuneData::kShortListSize));
        tx.Add(MapShortChannels(ClassifyTxShorts(txMatrix, txPins), txRanges, txPerChip, txOffset,
                                CTuneData::kShortListSize));
    }
    data.Unsubscribe();

    // Older kernels report values before calibration.
    const bool scaleRx = KernelBelow(host.Identity(), 2, 75);
    const bool scaleTx = KernelBelow(host.Identity(), 2, 2);
    bool failed = false;
    auto print = [&](bool onTx, const AxisTotals& totals, bool scale) {
        for (std::size_t c = 0; c < totals.sums.size(); ++c) {
            const int mean = totals.sums[c] / repeats;
            const int value = scale ? Calibrated(g, mean) : mean;
            TestLog().Print(kColourNormal, kRouteFile,
                            ShortChannelLine(onTx, static_cast<int>(c), value, totals.partners[c]));
            failed = AboveThreshold(host, value) || failed;
        }
    };
    print(false, rx, scaleRx);
    print(true, tx, scaleTx);
    return Verdict(failed);
}
