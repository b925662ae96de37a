#include "chips/t3300/CSlave_T3300.h"

#include "chips/RegisterMap.h"
#include "chips/t3300/T3300Map.h"

namespace Slave_T3300 {

namespace {

// Registers of the second copy of the receive settings.
constexpr int kCopyRsAfeReg = 31;   // SRS_99, SR3_99 bits 3-0
constexpr int kCopyAfeTopReg = 32;  // SR3_99 bit 4, with the switches and SR5_99

void SetValue(std::vector<int32_t>& values, std::string_view suffix, int32_t value) {
    const int index = chipmap::FieldIndex(T3300Profile(), suffix);
    if (index >= 0 && static_cast<std::size_t>(index) < values.size())
        values[static_cast<std::size_t>(index)] = value;
}

}  // namespace

const chipmap::ChipProfile* CSlave_T3300::Profile() const {
    return &T3300Profile();
}

// The first chip of the smaller variant has its first channels unwired: its data starts later.
int CSlave_T3300::AxisChannelOffset(int chip, bool txAxis) {
    if (chip != 0) return 0;
    return txAxis ? GetFirstChipTxOffset() : GetFirstChipRxOffset();
}

bool CSlave_T3300::SetCopy(Image image, std::string_view suffix, int value) {
    if (image.size() < kImageBufferSize) return false;
    const int index = chipmap::FieldIndex(T3300Profile(), suffix);
    if (index < 0) return false;
    chipmap::EncodeField(T3300Profile().fields[static_cast<std::size_t>(index)], value, image);
    return true;
}

void CSlave_T3300::SetSWP(Image image, int value) {
    CSlave::SetSWP(image, value);
    SetCopy(image, "_SWP_99", value & 1);
}

void CSlave_T3300::SetSWN(Image image, int value) {
    CSlave::SetSWN(image, value);
    SetCopy(image, "_SWN_99", value & 1);
}

bool CSlave_T3300::WriteRs(int chip, Image image, int value) {
    if (!CSlave::WriteRs(chip, image, value)) return false;
    if (!SetCopy(image, "_SRS_99", value)) return false;
    return WriteRegs(chip, image, kCopyRsAfeReg, 1, true);
}

bool CSlave_T3300::WriteAfeGain(int chip, Image image, int value) {
    if (!CSlave::WriteAfeGain(chip, image, value)) return false;
    if (!SetCopy(image, "_SR3_99", value)) return false;
    return WriteRegs(chip, image, kCopyRsAfeReg, 1, true) &&
           WriteRegs(chip, image, kCopyAfeTopReg, 1, true);
}

// Both tests run with the two register sets switched together; the water-line scans skip more
// and scan even and odd lines apart.
void CSlave_T3300::AdjustTestPreset(std::vector<int32_t>& values, int scanType) {
    if (scanType == kScanWLRx || scanType == kScanWLTx) {
        SetValue(values, "_Tskip", 3);
        SetValue(values, "_ScanEvenOdd", 1);
    }
    SetValue(values, "_SWsame", 1);
}

}  // namespace Slave_T3300
