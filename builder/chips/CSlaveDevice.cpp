// The chip operations that reach the chips: sine table, measurement presets, register writes and
// data reads, all through the controller's command interface.
#include <algorithm>
#include <cmath>

#include "chips/CSlave.h"
#include "chips/RegisterMap.h"
#include "core/BuilderLog.h"
#include "device/CAPI.h"

using chipmap::Quantity;

namespace {

// Hardware image offsets of the chips' active channel ranges: chip i at + 2i (start), + 2i + 1.
constexpr int kMaxChips = 4;

}  // namespace

// ---- Sine table --------------------------------------------------------------------------------

int CSlave::GetSinTableLength(ConstImage image) {
    return GetPhase1(image) * GetPsample(image);
}

int CSlave::GetSinTableMax() const {
    const chipmap::ChipProfile* profile = Profile();
    return profile != nullptr ? profile->sinTableMax : kSinTableMax;
}

bool CSlave::BuildSinTable(ConstImage image, std::span<uint8_t> table) {
    const chipmap::ChipProfile* profile = Profile();
    const int length = GetSinTableLength(image);
    const int most = profile != nullptr ? profile->sinTableMax : kSinTableMax;
    if (length > most || static_cast<std::size_t>(length) > table.size()) return false;
    const int amplitude = GetSinAmp(image);
    for (int i = 0; i < length; ++i) {
        const double angle = i * 3.1416 / length;
        const auto sample = static_cast<int>(std::sin(angle) * amplitude);  // toward zero
        table[static_cast<std::size_t>(i)] = static_cast<uint8_t>(sample);
    }
    return true;
}

bool CSlave::WriteSinTable(ConstImage image) {
    // A table too long for the chip leaves the buffer as zeroed: a flat drive, never stale bytes.
    std::array<uint8_t, kSinTableMax + 1> table{};
    BuildSinTable(image, table);
    return Host()->Api().WriteRegisters(kAllChips, 0, kSinTableFirstReg, kSinTableMax, table.data(),
                                        true) != 0;
}

// ---- Measurement presets -----------------------------------------------------------------------

bool CSlave::EnterCalMode(Image image) {
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile) || image.size() < kImageBufferSize) return false;
    if (!Host()->Api().SetClock(0)) {
        MainLog().Printf(kColourError, kRouteBoth, "Set Clk Fail\n");
        return false;
    }
    std::vector<int32_t> values = chipmap::DefaultValues(*profile);
    chipmap::ApplyChanges(*profile, profile->calPreset, values);
    std::fill_n(image.begin(), kImageBufferSize, uint8_t{0});
    chipmap::Encode(*profile, values, image);
    if (!WriteRegs(kAllChips, image, 0, profile->imageBytes, true)) return false;
    if (profile->flushAfterCalWrite) Host()->Api().Flush(0, 0);
    return true;
}

bool CSlave::EnterNoiseScanMode(Image image) {
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile) || image.size() < kImageBufferSize) return false;
    std::vector<int32_t> values = chipmap::DefaultValues(*profile);
    chipmap::ApplyChanges(*profile, profile->noisePreset, values);
    std::fill_n(image.begin(), kImageBufferSize, uint8_t{0});
    chipmap::Encode(*profile, values, image);
    const int chip = profile->noiseScanFirstChipOnly ? 0 : kAllChips;
    return WriteRegs(chip, image, 0, profile->imageBytes, true);
}

bool CSlave::EnterTestPreset(Image image, int scanType, bool signalTest) {
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile) || image.size() < kImageBufferSize) return false;
    std::vector<int32_t> values = chipmap::DefaultValues(*profile);
    chipmap::ApplyChanges(*profile, signalTest ? profile->signalPreset : profile->gainPreset,
                          values);
    auto setValue = [&](Quantity q, int32_t value) {
        if (const chipmap::Field* field = chipmap::FindField(*profile, q)) {
            values[static_cast<std::size_t>(field - profile->fields.data())] = value;
        }
    };
    // The caller's drive strength survives the preset.
    setValue(Quantity::SinAmp, GetSinAmp(image));
    setValue(Quantity::GainH, GetGainH(image));
    if (signalTest) {
        setValue(Quantity::Pipeline, 0);
        setValue(Quantity::Swp, 0);
        setValue(Quantity::Swn, 0);
    }
    if (scanType == kScanWLRx || scanType == kScanWLTx)
        chipmap::ApplyChanges(*profile, profile->waterLineTest, values);
    AdjustTestPreset(values, scanType);
    std::fill_n(image.begin(), kImageBufferSize, uint8_t{0});
    chipmap::Encode(*profile, values, image);
    if (scanType == kScanWLTx) ApplyTxAxisSettings(image);
    return WriteRegs(kAllChips, image, 0, profile->imageBytes, true);
}

bool CSlave::EnterGainTestMode(Image image, int scanType) {
    return EnterTestPreset(image, scanType, false);
}

bool CSlave::EnterSignalTestMode(Image image, int scanType) {
    return EnterTestPreset(image, scanType, true);
}

bool CSlave::EnterSignalTestModeReadSel5(Image image, int scanType) {
    if (!EnterSignalTestMode(image, scanType)) return false;
    return WriteReadSel(kAllChips, image, 5);
}

bool CSlave::SelectRegBank3(Image image) {
    return WriteRegBank(kAllChips, image, 3);
}

// ---- Register writes ---------------------------------------------------------------------------

bool CSlave::WriteRegs(int chip, ConstImage image, int first, int count, bool checked) {
    if (first < 0 || count <= 0 || image.size() < static_cast<std::size_t>(first + count)) {
        return false;
    }
    return Host()->Api().WriteRegisters(static_cast<uint8_t>(chip), 0, static_cast<uint16_t>(first),
                                        static_cast<uint16_t>(count), image.data() + first,
                                        checked) != 0;
}

bool CSlave::WriteField(int chip, Image image, int quantity, int value, bool checked) {
    const chipmap::ChipProfile* profile = Profile();
    if (!chipmap::HasMap(profile) || image.size() < kImageBufferSize) return false;
    const chipmap::Field* field = chipmap::FindField(*profile, static_cast<Quantity>(quantity));
    if (field == nullptr) return false;
    chipmap::EncodeField(*field, value, image);
    // Each register holding part of the field, in the map's order, once.
    int written[4] = {-1, -1, -1, -1};
    for (int i = 0; i < field->layout.count; ++i) {
        const int reg = field->layout.runs[static_cast<std::size_t>(i)].reg;
        if (std::find(std::begin(written), std::end(written), reg) != std::end(written)) continue;
        written[i] = reg;
        if (!WriteRegs(chip, image, reg, 1, checked)) return false;
    }
    return true;
}

bool CSlave::WriteImage(int chip, ConstImage image) {
    const chipmap::ChipProfile* profile = Profile();
    if (profile == nullptr || profile->imageBytes <= 0) return false;
    return WriteRegs(chip, image, 0, profile->imageBytes, true);
}

bool CSlave::WriteSinOffset(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::SinOffset), value, true);
}
bool CSlave::WritePhase1(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::Phase1), value, true);
}
bool CSlave::WriteRs(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::Rs), value, true);
}
bool CSlave::WriteAfeGain(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::AfeGain), value, true);
}
bool CSlave::WriteDelay(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::Delay), value, true);
}
bool CSlave::WriteMeasureCnt(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::MeasureCnt), value, true);
}
bool CSlave::WriteScaling(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::Scaling), value, true);
}
bool CSlave::WriteRegBank(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::RegBank), value, false);
}
bool CSlave::WriteDacVb(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::DacVb), value, true);
}
bool CSlave::WriteReadSel(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::ReadSel), value, true);
}
bool CSlave::WritePsample(int chip, Image image, int value) {
    return WriteField(chip, image, static_cast<int>(Quantity::Psample), value, true);
}

// ---- Reads -------------------------------------------------------------------------------------

bool CSlave::ReadImage(int chip, Image image) {
    if (image.size() < kImageBufferSize) return true;
    Host()->Api().ReadRegisters(static_cast<uint8_t>(chip), 0, 0, kImageBufferSize, image.data());
    return true;
}

bool CSlave::ReadAxisLine(int scanType, std::span<uint8_t> out) {
    const chipmap::ChipProfile* profile = Profile();
    if (profile == nullptr) return false;
    const bool txAxis = scanType == kScanWLTx;
    const int total = txAxis ? GetMaxTxChannels() : GetMaxRxChannels();
    if (static_cast<std::size_t>(total) * 2 > out.size()) return false;

    ChipHost& host = *Host();
    const int chips = std::clamp<int>(host.WiredChips(txAxis), 1, kMaxChips);
    const chipmap::DataBlock& data = txAxis ? profile->txData : profile->rxData;
    std::vector<uint8_t> block(data.bytes);
    std::size_t position = 0;
    for (int chip = 0; chip < chips; ++chip) {
        const int offset = AxisChannelOffset(chip, txAxis);
        const WiredRun wired = host.WiredChannels(txAxis, chip);
        const int start = wired.first + offset;
        const int end = wired.last + offset;
        const int run = (end - start) * 2 + 2;
        // The chip keeps Tx channels from its last one down.
        const int begin = txAxis ? (profile->lastTxChannel - end) * 2 : start * 2;
        if (end < start || begin < 0 || begin + run > data.bytes) return false;

        std::fill(block.begin(), block.end(), uint8_t{0});
        if (!Host()->Api().ReadRegisters(static_cast<uint8_t>(chip), data.bank, data.firstReg,
                                         data.bytes, block.data())) {
            return false;
        }
        // The last chip's run may not fit: the chip maximum (T320: 255 Rx) is what the caller
        // sized for.
        const std::size_t copy =
            std::min<std::size_t>(static_cast<std::size_t>(run), out.size() - position);
        for (std::size_t j = 0; j < copy; ++j) {
            // Tx: last byte first, which puts the channels in ascending order and the bytes of
            // each big-endian value in little-endian order.
            const std::size_t from = txAxis ? static_cast<std::size_t>(begin + run - 1) - j
                                            : static_cast<std::size_t>(begin) + j;
            out[position + j] = block[from];
        }
        position += copy;
    }
    return true;
}

int CSlave::ReadRxPairs(std::vector<uint16_t>& first, std::vector<uint16_t>& second) {
    const chipmap::ChipProfile* profile = Profile();
    if (profile == nullptr || profile->rxPairs.bytes == 0) return 0;
    ChipHost& host = *Host();
    const int chips = std::clamp<int>(host.WiredChips(false), 1, kMaxChips);
    std::vector<uint8_t> block(profile->rxPairs.bytes);
    for (int chip = 0; chip < chips; ++chip) {
        std::fill(block.begin(), block.end(), uint8_t{0});
        Host()->Api().ReadRegisters(static_cast<uint8_t>(chip), profile->rxPairs.bank,
                                    profile->rxPairs.firstReg, profile->rxPairs.bytes,
                                    block.data());
        const WiredRun wired = host.WiredChannels(false, chip);
        const int start = wired.first;
        const int end = wired.last;
        for (int k = start; k <= end && (k + 1) * 4 <= profile->rxPairs.bytes; ++k) {
            const auto at = static_cast<std::size_t>(k) * 4;
            first.push_back(static_cast<uint16_t>(block[at] | block[at + 1] << 8));
            second.push_back(static_cast<uint16_t>(block[at + 2] | block[at + 3] << 8));
        }
    }
    return 0;
}

bool CSlave::ReadCalSample(int chip, uint16_t& sample) {
    const chipmap::ChipProfile* profile = Profile();
    if (profile == nullptr || profile->rxData.bytes < 2) return false;
    const chipmap::DataBlock& data = profile->rxData;
    std::vector<uint8_t> block(data.bytes);
    if (!Host()->Api().ReadRegisters(static_cast<uint8_t>(chip), data.bank, data.firstReg,
                                     data.bytes, block.data())) {
        return false;
    }
    sample = static_cast<uint16_t>(block[data.bytes - 2] | block[data.bytes - 1] << 8);
    return true;
}
