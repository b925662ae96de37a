// The T3300 register map and its fixed images. Field rows are in the order the register file
// writes them: suffix, register bits, how the register file treats it, default.
#include "chips/t3300/T3300Map.h"

namespace Slave_T3300 {

namespace {

using chipmap::Bit;
using chipmap::Bits;
using chipmap::Change;
using chipmap::Field;
using chipmap::SignedBytes;
using chipmap::SplitBits;
using chipmap::Whole;
constexpr auto Plain = chipmap::Save::Plain;
constexpr auto Yes = chipmap::Load::Yes;
constexpr auto Tuning = chipmap::Load::Tuning;

// A field the chip reports but does not hold: it reads as 0 and writing it changes no bit, so
// register 2 bits 5-4 keep whatever the chip left there.
constexpr chipmap::Layout kNoBits{};

// Registers 38-47 and 60-63 carry no field. Registers 31-33 repeat the receive settings (the
// "_99" fields); the setters and writes of RS, AFE gain and the switches keep both in step.
constexpr Field kFields[] = {
    {"_AEN", Bit(0, 0), Plain, Yes, 1},
    {"_VCMSEL", Bits(0, 2, 1), Plain, Yes, 1},
    {"_AENBG", Bit(0, 4), Plain, Yes, 1},
    {"_Bidirection", Bit(0, 5), Plain, Yes, 1},
    {"_Pipeline", Bit(0, 6), Plain, Yes, 1},
    {"_Busy", Bit(0, 7), Plain, Yes, 0},
    {"_WorkMode", Bits(1, 1, 0), Plain, Yes, 1},
    {"_PWMSin", Bits(1, 3, 2), Plain, Yes, 1},
    {"_VRefRange", Bits(1, 7, 4), Plain, Yes, 14},
    {"_VREFSEL", Bit(2, 0), Plain, Yes, 1},
    {"_PeakNum", Bits(2, 2, 1), Plain, Yes, 2},
    {"_PeakMode", Bit(2, 3), Plain, Yes, 1},
    {"_QmulAuto", kNoBits, Plain, Yes, 0},
    {"_Qmulv", Bits(2, 7, 6), Plain, Yes, 3},
    {"_RegBank", Bits(3, 1, 0), Plain, Yes, 0},
    {"_SWP", Bit(3, 2), Plain, Yes, 1},
    {"_SWN", Bit(3, 3), Plain, Yes, 1},
    {"_SR5", Bits(3, 6, 4), Plain, Tuning, 3},
    {"_ScanEvenOdd", Bit(3, 7), Plain, Yes, 0},
    {"_WaveN", Bits(4, 5, 0), Plain, Tuning, 30},
    {"_Tskip", Bits(4, 7, 6), Plain, Yes, 1},
    {"_SR3", SplitBits(5, 3, 0, 6, 7), Plain, Tuning, 20},
    {"_SRS", Bits(5, 7, 4), Plain, Tuning, 7},
    {"_Phase0", Bits(6, 6, 0), Plain, Tuning, 15},
    {"_Phase1", Bits(7, 5, 0), Plain, Yes, 18},
    {"_Psample", Bits(7, 7, 6), Plain, Yes, 3},
    {"_ReadSel", Bits(8, 3, 0), Plain, Yes, 0},
    {"_Rshift", Bits(8, 7, 4), Plain, Tuning, 4},
    {"_CHstart", Whole(9), Plain, Yes, 0},
    {"_CHend", Whole(10), Plain, Yes, 100},
    {"_SIC", Bits(11, 1, 0), Plain, Yes, 1},
    {"_SIA", Bits(11, 3, 2), Plain, Yes, 0},
    {"_SIS", Bit(11, 4), Plain, Yes, 0},
    {"_SIT", Bit(11, 5), Plain, Yes, 0},
    {"_SIG", Bit(11, 6), Plain, Yes, 0},
    {"_SIGuns", Bit(11, 7), Plain, Yes, 0},
    {"_DoComm", Bits(12, 2, 0), Plain, Yes, 0},
    {"_StopExt", Bits(12, 7, 6), Plain, Yes, 2},
    {"_CommData", Whole(13), Plain, Yes, 0},
    {"_DACOE", Bit(14, 0), Plain, Yes, 1},
    {"_CALOE", Bit(14, 1), Plain, Yes, 0},
    {"_SERI", Bit(14, 2), Plain, Yes, 0},
    {"_SERS", Bit(14, 3), Plain, Yes, 0},
    {"_Testmode", Whole(15), Plain, Yes, 0},
    {"_VrefGain", Whole(16), Plain, Yes, 128},
    {"_ID_SERIN", Bits(17, 3, 0), Plain, Yes, 1},
    {"_ID_SEROUT", Bits(17, 7, 4), Plain, Yes, 1},
    {"_PDRIVE_P", Bits(18, 1, 0), Plain, Yes, 0},
    {"_NDRIVE_P", Bits(18, 3, 2), Plain, Yes, 0},
    {"_PDRIVE_N", Bits(18, 5, 4), Plain, Yes, 0},
    {"_NDRIVE_N", Bits(18, 7, 6), Plain, Yes, 0},
    {"_PDRIVE_VCM", Bits(19, 1, 0), Plain, Yes, 2},
    {"_NDRIVE_VCM", Bits(19, 3, 2), Plain, Yes, 2},
    {"_PDRIVE_VCM2", Bits(19, 5, 4), Plain, Yes, 2},
    {"_NDRIVE_VCM2", Bits(19, 7, 6), Plain, Yes, 2},
    {"_PDRIVE_PWM", Bits(20, 1, 0), Plain, Yes, 2},
    {"_NDRIVE_PWM", Bits(20, 3, 2), Plain, Yes, 2},
    {"_ID", Bits(20, 7, 4), Plain, Yes, 8},
    {"_IDV", Bits(21, 3, 0), Plain, Yes, 12},
    {"_ST", Bits(22, 5, 0), Plain, Yes, 4},
    {"_Rsubv", SignedBytes(23, 2), Plain, Yes, 0},
    {"_SINOFS", Whole(25), Plain, Yes, 0},
    {"_SinGenAMP", Bits(26, 6, 0), Plain, Yes, 47},
    {"_SinGenEn", Bit(26, 7), Plain, Yes, 0},
    {"_ADCth", Whole(27), Plain, Yes, 0},
    {"_VBGTRIM", Bits(28, 4, 0), Plain, Yes, 0},
    {"_V5EN", Bit(28, 6), Plain, Yes, 0},
    {"_Idle0V", Bit(28, 7), Plain, Yes, 1},
    {"_BPSK", Bit(29, 0), Plain, Yes, 0},
    {"_StopBits", Bit(29, 1), Plain, Yes, 0},
    {"_SkipChip", Bit(29, 2), Plain, Yes, 0},
    {"_BitChips", Bits(29, 5, 3), Plain, Yes, 0},
    {"_SinGenPhase", Bit(29, 6), Plain, Yes, 0},
    {"_DACOFSAset", Bits(30, 5, 4), Plain, Yes, 0},
    {"_DACOFSBset", Bits(30, 7, 6), Plain, Yes, 0},
    {"_SR3_99", SplitBits(31, 3, 0, 32, 7), Plain, Yes, 20},
    {"_SRS_99", Bits(31, 7, 4), Plain, Yes, 7},
    {"_SR5_99", Bits(32, 2, 0), Plain, Yes, 3},
    {"_SWP_99", Bit(32, 3), Plain, Yes, 1},
    {"_SWN_99", Bit(32, 4), Plain, Yes, 1},
    {"_SWsame", Bit(32, 5), Plain, Yes, 0},
    {"_ID_99", Bits(33, 3, 0), Plain, Yes, 8},
    {"_IDV_99", Bits(33, 7, 4), Plain, Yes, 12},
    {"_PN", SignedBytes(34, 4), Plain, Yes, 0},
    {"_B_WaveN", Bits(48, 5, 0), Plain, Yes, 40},
    {"_B_Tskip", Bits(48, 7, 6), Plain, Yes, 0},
    {"_B_Phase1", Bits(49, 5, 0), Plain, Yes, 12},
    {"_B_PSample", Bits(49, 7, 6), Plain, Yes, 3},
    {"_B_SR3", SplitBits(50, 3, 0, 51, 7), Plain, Yes, 10},
    {"_B_SRS", Bits(50, 7, 4), Plain, Yes, 14},
    {"_B_SIC", Bits(51, 1, 0), Plain, Yes, 3},
    {"_B_SIA", Bits(51, 3, 2), Plain, Yes, 1},
    {"_B_SIS", Bit(51, 4), Plain, Yes, 0},
    {"_B_SIT", Bit(51, 5), Plain, Yes, 0},
    {"_B_SIG", Bit(51, 6), Plain, Yes, 1},
    {"_B_ST", Bits(52, 5, 0), Plain, Yes, 4},
    {"_B_SinGenEn", Bit(52, 6), Plain, Yes, 0},
    {"_B_DACOE", Bit(52, 7), Plain, Yes, 0},
    {"_PWMT", Bits(53, 5, 0), Plain, Yes, 23},
    {"_B_TXSTATE", Bits(53, 7, 6), Plain, Yes, 3},
    {"_DelayTx", SignedBytes(54, 2), Plain, Yes, 0},
    {"_PWMdurationT0", Bits(56, 5, 0), Plain, Yes, 23},
    {"_PWMdurationT1", Bits(57, 5, 0), Plain, Yes, 23},
    {"_PWMdurationT2", Bits(58, 5, 0), Plain, Yes, 23},
    {"_PWMdurationTn", Bits(59, 5, 0), Plain, Yes, 23},
    {"_TXCMDB3", Whole(64), Plain, Yes, 0},
    {"_GAIN_H", Bits(65, 4, 0), Plain, Yes, 21},
    {"_ID1", Bits(65, 6, 5), Plain, Yes, 3},
    {"_EN_HOP", Bit(65, 7), Plain, Yes, 1},
    {"_DACVB", Bits(66, 6, 0), Plain, Yes, 78},
    {"_EN_VDTVB", Bit(66, 7), Plain, Yes, 0},
    {"_PDRIVE", Bits(67, 1, 0), Plain, Yes, 3},
    {"_NDRIVE", Bits(67, 3, 2), Plain, Yes, 3},
    {"_CHMASK", Bits(67, 7, 5), Plain, Yes, 0},
};

// Fixed images: the default image with these fields changed.
constexpr Change kNoiseGroup[] = {{"_ReadSel", 3}};
// The water-line scans run at a low drive with the switches open, in both register sets.
constexpr Change kWLRxGroup[] = {
    {"_RegBank", 2},     {"_SWP", 0},        {"_SWN", 0},    {"_SR5", 2},
    {"_ScanEvenOdd", 1}, {"_Tskip", 3},      {"_SR3", 1},    {"_SIC", 3},
    {"_SIS", 1},         {"_SinGenAMP", 14}, {"_SR3_99", 1}, {"_SR5_99", 2},
    {"_SWP_99", 0},      {"_SWN_99", 0},     {"_GAIN_H", 4}, {"_DACVB", 117},
};
constexpr Change kWLTxGroup[] = {
    {"_RegBank", 3}, {"_SWP", 0},    {"_SWN", 0},    {"_SR5", 2},    {"_ScanEvenOdd", 1},
    {"_Tskip", 3},   {"_SR3", 1},    {"_SIC", 0},    {"_SIS", 1},    {"_SinGenAMP", 14},
    {"_SR3_99", 1},  {"_SR5_99", 2}, {"_SWP_99", 0}, {"_SWN_99", 0}, {"_GAIN_H", 4},
    {"_DACVB", 117}, {"_SIA", 3},    {"_SIG", 1},    {"_SIGuns", 1}, {"_ST", 2},
};

// Stylus groups: every one runs at prescaler 14 without delay, sine amplitude and GAIN_H of the
// defaults, no frequency hopping and the DAC output off. The raw groups (2, 3) measure fewer
// cycles at the default ADC gain.
constexpr Change kPenRxGroup[] = {
    {"_Phase1", 14}, {"_ReadSel", 7}, {"_DACOE", 0},  {"_EN_HOP", 0},  {"_Tskip", 0},
    {"_SR3", 10},    {"_SRS", 14},    {"_Phase0", 0}, {"_StopExt", 0}, {"_SR3_99", 10},
    {"_SRS_99", 14}, {"_RegBank", 2}, {"_WaveN", 63}, {"_SR5", 4},     {"_SR5_99", 4},
};
constexpr Change kPenTxGroup[] = {
    {"_Phase1", 14}, {"_ReadSel", 7}, {"_DACOE", 0},  {"_EN_HOP", 0},  {"_Tskip", 0},
    {"_SR3", 10},    {"_SRS", 14},    {"_Phase0", 0}, {"_StopExt", 0}, {"_SR3_99", 10},
    {"_SRS_99", 14}, {"_RegBank", 3}, {"_WaveN", 63}, {"_SR5", 4},     {"_SR5_99", 4},
    {"_SIC", 0},     {"_SIA", 1},     {"_SIG", 1},    {"_SIGuns", 1},
};
constexpr Change kPenRawRxGroup[] = {
    {"_Phase1", 14}, {"_ReadSel", 7}, {"_DACOE", 0},  {"_EN_HOP", 0},  {"_Tskip", 0},
    {"_SR3", 10},    {"_SRS", 14},    {"_Phase0", 0}, {"_StopExt", 0}, {"_SR3_99", 10},
    {"_SRS_99", 14}, {"_RegBank", 2}, {"_WaveN", 22},
};
constexpr Change kPenRawTxGroup[] = {
    {"_Phase1", 14}, {"_ReadSel", 7}, {"_DACOE", 0},  {"_EN_HOP", 0},  {"_Tskip", 0},
    {"_SR3", 10},    {"_SRS", 14},    {"_Phase0", 0}, {"_StopExt", 0}, {"_SR3_99", 10},
    {"_SRS_99", 14}, {"_RegBank", 3}, {"_WaveN", 22}, {"_SIC", 0},     {"_SIA", 1},
    {"_SIG", 1},     {"_SIGuns", 1},
};

// Measurement presets.
constexpr Change kCalPreset[] = {
    {"_Pipeline", 0},
    {"_WorkMode", 2},
    {"_PeakNum", 1},
    {"_SWP", 0},
    {"_SR5", 2},
    {"_WaveN", 63},
    {"_Tskip", 3},
    {"_SR3", 23},
    {"_SRS", 1},
    {"_Phase0", 10},
    {"_Phase1", 31},
    {"_SIC", 0},
    {"_DACOE", 0},
    {"_CALOE", 1},
    {"_SERI", 1},
    {"_ID", 5},
    {"_ST", 0},
    {"_SinGenAMP", 0},
    {"_SinGenEn", 1},
    {"_SR3_99", 23},
    {"_SRS_99", 1},
    {"_SR5_99", 2},
    {"_SWP_99", 0},
    {"_ID_99", 5},
    {"_PWMdurationT0", 0},
    {"_PWMdurationT1", 0},
    {"_PWMdurationT2", 0},
    {"_PWMdurationTn", 0},
    {"_GAIN_H", 0},
    {"_EN_HOP", 0},
    {"_DACVB", 0},
};
constexpr Change kNoisePreset[] = {
    {"_Pipeline", 0}, {"_SWP", 0},    {"_SWN", 0},    {"_SR5", 4},
    {"_WaveN", 32},   {"_SR3", 15},   {"_SRS", 14},   {"_ReadSel", 3},
    {"_Rshift", 1},   {"_SR5_99", 4}, {"_SWP_99", 0}, {"_SWN_99", 0},
};
// SWsame and the water-line settings are added per scan type (CSlave_T3300::AdjustTestPreset).
constexpr Change kGainPreset[] = {
    {"_Pipeline", 0}, {"_WorkMode", 2}, {"_PeakMode", 0}, {"_SWP", 0},
    {"_SWN", 0},      {"_ReadSel", 8},  {"_SWP_99", 0},   {"_SWN_99", 0},
};
// The signal test starts from the defaults; Pipeline, SWP and SWN are cleared when it is entered.
constexpr Change kSignalPreset[] = {{"_Pipeline", 1}, {"_SWP", 1}, {"_SWN", 1}};

// A Tx-axis measurement takes the inputs the water-line Tx image uses.
constexpr Change kTxAxis[] = {
    {"_SIC", 0}, {"_SIA", 3}, {"_SIG", 1}, {"_SIGuns", 1}, {"_ST", 2}, {"_RegBank", 3},
};

constexpr chipmap::ChipProfile MakeProfile() {
    chipmap::ChipProfile p{};
    p.fields = kFields;
    p.quantities = chipmap::kCommonQuantityFields;
    p.mergeFields = chipmap::kCommonMergeFields;
    p.modeGroups = {kNoiseGroup, kWLRxGroup, kWLTxGroup, {}, {}, {}};
    p.penGroups = {kPenRxGroup, kPenTxGroup, kPenRawRxGroup, kPenRawTxGroup, kPenRxGroup};
    p.calPreset = kCalPreset;
    p.noisePreset = kNoisePreset;
    p.gainPreset = kGainPreset;
    p.signalPreset = kSignalPreset;
    p.txAxis = kTxAxis;
    p.penGroupTuning = true;
    p.adcGainFactors = {1, 2, 4, 8, 16, 20, 26, 32};
    p.idTableR5 = {3, 5, 12, 12, 12, 12, 12, 12};
    p.idTableR3 = 5;
    p.imgTuning = {15, 7, 20, 30, 0, 0};
    p.imageBytes = 68;
    p.sinTableMax = 111;
    p.rxData = {2, 0, 200};
    p.txData = {3, 0, 128};
    p.lastTxChannel = 63;
    p.noiseScanFirstChipOnly = false;
    p.flushAfterCalWrite = true;
    return p;
}

constexpr chipmap::ChipProfile kProfile = MakeProfile();

}  // namespace

const chipmap::ChipProfile& T3300Profile() {
    return kProfile;
}

}  // namespace Slave_T3300
