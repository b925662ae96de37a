// The T320 register map and its fixed images. Field rows are in the order the register file
// writes them: suffix, register bits, how the register file treats it, default.
#include "chips/t320/T320Map.h"

namespace Slave_T320 {

namespace {

using chipmap::Bit;
using chipmap::Bits;
using chipmap::Change;
using chipmap::Field;
using chipmap::SignedBytes;
using chipmap::SplitBits;
using chipmap::Whole;
constexpr auto Plain = chipmap::Save::Plain;
constexpr auto RO = chipmap::Save::ReadOnly;
constexpr auto Yes = chipmap::Load::Yes;
constexpr auto Tuning = chipmap::Load::Tuning;
constexpr auto No = chipmap::Load::No;

// Registers 31 and 48-63 carry no field. "SR2" has no leading "_" of its own.
constexpr Field kFields[] = {
    {"_AEN", Bit(0, 0), Plain, Yes, 1},
    {"_VCMSEL", Bits(0, 2, 1), Plain, Yes, 1},
    {"_AENBG", Bit(0, 4), Plain, Yes, 1},
    {"_Bidirection", Bit(0, 5), RO, No, 1},
    {"_Pipeline", Bit(0, 6), RO, No, 1},
    {"_Busy", Bit(0, 7), RO, No, 0},
    {"_WorkMode", Bits(1, 1, 0), Plain, Yes, 1},
    {"_PWMSin", Bits(1, 3, 2), Plain, Yes, 1},
    {"_VRefRange", Bits(1, 7, 4), Plain, Yes, 14},
    {"_VREFSEL", Bit(2, 0), Plain, Yes, 1},
    {"_PeakNum", Bits(2, 2, 1), RO, Yes, 2},
    {"_PeakMode", Bit(2, 3), RO, Yes, 1},
    {"_QmulAuto", Bit(2, 5), Plain, Yes, 0},
    {"_Qmulv", Bits(2, 7, 6), Plain, Yes, 3},
    {"_WaveN", Bits(3, 5, 0), RO, Tuning, 30},
    {"_Tskip", Bits(3, 7, 6), RO, Yes, 1},
    {"_ReadSel", Bits(4, 3, 0), Plain, Yes, 0},
    {"_Rshift", Bits(4, 7, 4), RO, Tuning, 6},
    {"_CHstart", Whole(5), Plain, Yes, 0},
    {"_CHend", Whole(6), Plain, Yes, 128},
    {"_SR3", SplitBits(7, 3, 0, 11, 7), RO, Tuning, 20},
    {"_SRS", Bits(7, 7, 4), RO, Tuning, 7},
    {"_SIG", Bits(8, 1, 0), Plain, Yes, 0},
    {"_SIS", Bit(8, 2), Plain, Yes, 0},
    {"_SIC0", Bit(8, 3), Plain, Yes, 1},
    {"_SIC1", Bit(8, 4), Plain, Yes, 0},
    {"_SIA0", Bit(8, 5), Plain, Yes, 0},
    {"_SIA1", Bit(8, 6), Plain, Yes, 0},
    {"_DoComm", Bits(9, 2, 0), Plain, Yes, 0},
    {"_StopExt", Bits(9, 7, 6), Plain, Yes, 2},
    {"_CommData", Whole(10), Plain, Yes, 0},
    {"_Phase0", Bits(11, 6, 0), RO, Tuning, 15},
    {"_Phase1", Bits(12, 5, 0), RO, No, 18},
    {"_Psample", Bits(12, 7, 6), Plain, Yes, 3},
    {"_TDACV", Whole(13), Plain, Yes, 0},
    {"_RegBank", Bits(14, 1, 0), RO, No, 0},
    {"_DACOE", Bit(14, 2), Plain, Yes, 1},
    {"_CALOE", Bit(14, 3), Plain, Yes, 0},
    {"_SERI", Bit(14, 4), Plain, Yes, 0},
    {"_SERS", Bit(14, 5), Plain, Yes, 0},
    {"_SWP", Bit(14, 6), Plain, Yes, 1},
    {"_SWN", Bit(14, 7), Plain, Yes, 1},
    {"_Testmode", Whole(15), Plain, Yes, 0},
    {"_VrefGain", Whole(16), Plain, Yes, 128},
    {"_ID_SERIN", Bits(17, 3, 0), Plain, Yes, 1},
    {"_ID_SEROUT", Bits(17, 7, 4), Plain, Yes, 1},
    {"_PDRIVE_P", Bits(18, 1, 0), Plain, Yes, 2},
    {"_NDRIVE_P", Bits(18, 3, 2), Plain, Yes, 2},
    {"_PDRIVE_N", Bits(18, 5, 4), Plain, Yes, 2},
    {"_NDRIVE_N", Bits(18, 7, 6), Plain, Yes, 2},
    {"_PDRIVE_VCM", Bits(19, 1, 0), Plain, Yes, 2},
    {"_NDRIVE_VCM", Bits(19, 3, 2), Plain, Yes, 2},
    {"_PDRIVE_VCM2", Bits(19, 5, 4), Plain, Yes, 2},
    {"_NDRIVE_VCM2", Bits(19, 7, 6), Plain, Yes, 2},
    {"_PDRIVE_PWM", Bits(20, 1, 0), Plain, Yes, 2},
    {"_NDRIVE_PWM", Bits(20, 3, 2), Plain, Yes, 2},
    {"_ID", Bits(20, 7, 4), RO, No, 4},
    {"_STRmode", Bits(21, 1, 0), RO, No, 0},
    {"_SR5", Bits(21, 4, 2), RO, Tuning, 3},
    {"SR2", Bits(21, 6, 5), RO, No, 0},
    {"_ST", Bits(22, 5, 0), Plain, Yes, 21},
    {"_Rsubv", SignedBytes(23, 2), Plain, Yes, 0},
    {"_SINOFS", Whole(25), RO, Yes, 0},
    {"_SinGenAMP", Bits(26, 6, 0), RO, Yes, 47},
    {"_SinGenEn", Bit(26, 7), Plain, Yes, 0},
    {"_ADCth", Whole(27), RO, No, 0},
    {"_VBGTRIM", Bits(28, 5, 0), Plain, Yes, 32},
    {"_BPSK", Bit(29, 0), RO, No, 0},
    {"_StopBits", Bit(29, 1), RO, No, 0},
    {"_SkipChip", Bit(29, 2), RO, No, 0},
    {"_BitChips", Bits(29, 5, 3), RO, No, 0},
    {"_SinGenPhase", Bit(29, 6), Plain, Yes, 0},
    {"_IOstrength", Bits(30, 2, 0), Plain, Yes, 0},
    {"_PN", SignedBytes(44, 4), Plain, Yes, 0},
    {"_TXCMDB3", Whole(64), Plain, Yes, 1},
    {"_GAIN_H", Bits(65, 4, 0), RO, Yes, 21},
    {"_ID1", Bits(65, 6, 5), Plain, Yes, 1},
    {"_EN_HOP", Bit(65, 7), Plain, Yes, 1},
    {"_DACVB", Bits(66, 6, 0), Plain, Yes, 89},
    {"_EN_VDTVB", Bit(66, 7), Plain, Yes, 0},
    {"_PDRIVE", Bits(67, 1, 0), Plain, Yes, 1},
    {"_NDRIVE", Bits(67, 3, 2), Plain, Yes, 1},
    {"_CHMASK", Bits(67, 7, 5), Plain, Yes, 0},
    {"_B_WaveN", Bits(32, 5, 0), Plain, Yes, 40},
    {"_B_Tskip", Bits(32, 7, 6), Plain, Yes, 0},
    {"_B_Phase1", Bits(33, 5, 0), Plain, Yes, 12},
    {"_B_PSample", Bits(33, 7, 6), Plain, Yes, 3},
    {"_B_SR3", SplitBits(34, 3, 0, 35, 7), Plain, Yes, 10},
    {"_B_SRS", Bits(34, 7, 4), Plain, Yes, 14},
    {"_B_SIG", Bits(35, 1, 0), Plain, Yes, 0},
    {"_B_SIS", Bit(35, 2), Plain, Yes, 0},
    {"_B_SIC0", Bit(35, 3), Plain, Yes, 0},
    {"_B_SIC1", Bit(35, 4), Plain, Yes, 0},
    {"_B_SIA0", Bit(35, 5), Plain, Yes, 0},
    {"_B_SIA1", Bit(35, 6), Plain, Yes, 0},
    {"_B_ST", Bits(36, 5, 0), Plain, Yes, 0},
    {"_B_SinGenEn", Bit(36, 6), Plain, Yes, 0},
    {"_B_DACOE", Bit(36, 7), Plain, Yes, 1},
    {"_PWMT", Bits(37, 5, 0), Plain, Yes, 23},
    {"_B_TXSTATE", Bits(37, 7, 6), Plain, Yes, 3},
    {"_DelayTx", SignedBytes(38, 2), Plain, Yes, 0},
    {"_PWMdurationT0", Bits(40, 5, 0), Plain, Yes, 23},
    {"_PWMdurationT1", Bits(41, 5, 0), Plain, Yes, 23},
    {"_PWMdurationT2", Bits(42, 5, 0), Plain, Yes, 23},
    {"_PWMdurationTn", Bits(43, 5, 0), Plain, Yes, 23},
};

// Fixed images: the default image with these fields changed.
constexpr Change kNoiseGroup[] = {{"_ReadSel", 3}, {"_DACOE", 0}};
constexpr Change kWLRxGroup[] = {
    {"_WaveN", 45},     {"_SR3", 29},       {"_SRS", 12},   {"_Phase0", 13}, {"_RegBank", 2},
    {"_VrefGain", 196}, {"_SinGenAMP", 50}, {"_GAIN_H", 1}, {"_DACVB", 99},
};
constexpr Change kWLTxGroup[] = {
    {"_WaveN", 45},     {"_SR3", 29}, {"_SRS", 12},       {"_SIG", 3},
    {"_SIC0", 0},       {"_SIA0", 1}, {"_Phase0", 5},     {"_RegBank", 3},
    {"_VrefGain", 196}, {"_ST", 2},   {"_SinGenAMP", 39}, {"_GAIN_H", 1},
};

// Stylus groups: every one runs at prescaler 14 with no delay.
constexpr Change kPenRxGroup[] = {
    {"_Phase0", 0}, {"_Phase1", 14}, {"_WaveN", 63},  {"_ReadSel", 7}, {"_Rshift", 4},
    {"_SR3", 10},   {"_SRS", 14},    {"_RegBank", 2}, {"_DACOE", 0},
};
constexpr Change kPenTxGroup[] = {
    {"_Phase0", 0}, {"_Phase1", 14}, {"_WaveN", 63},  {"_ReadSel", 7}, {"_Rshift", 4},
    {"_SR3", 10},   {"_SRS", 14},    {"_RegBank", 3}, {"_DACOE", 0},   {"_SIG", 3},
    {"_SIC0", 0},   {"_SIA0", 1},    {"_ST", 4},
};
constexpr Change kPenRawRxGroup[] = {
    {"_Phase0", 0}, {"_Phase1", 14}, {"_WaveN", 22},  {"_ReadSel", 7}, {"_Rshift", 4},
    {"_SR3", 10},   {"_SRS", 14},    {"_RegBank", 2}, {"_DACOE", 0},   {"_SR5", 2},
};
constexpr Change kPenRawTxGroup[] = {
    {"_Phase0", 0}, {"_Phase1", 14}, {"_WaveN", 22},  {"_ReadSel", 7}, {"_Rshift", 4},
    {"_SR3", 10},   {"_SRS", 14},    {"_RegBank", 3}, {"_DACOE", 0},   {"_SR5", 2},
    {"_SIG", 3},    {"_SIC0", 0},    {"_SIA0", 1},    {"_ST", 4},
};

// Measurement presets.
constexpr Change kCalPreset[] = {
    {"_Pipeline", 0},      {"_WorkMode", 2},      {"_Qmulv", 0},         {"_WaveN", 63},
    {"_Tskip", 0},         {"_Rshift", 5},        {"_SR3", 23},          {"_SRS", 0},
    {"_SIC0", 0},          {"_Phase0", 10},       {"_Phase1", 31},       {"_DACOE", 0},
    {"_CALOE", 1},         {"_SERI", 1},          {"_SWP", 0},           {"_ID", 0},
    {"_SR5", 0},           {"_SinGenAMP", 0},     {"_SinGenEn", 1},      {"_GAIN_H", 0},
    {"_ID1", 0},           {"_EN_HOP", 0},        {"_DACVB", 0},         {"_PDRIVE", 0},
    {"_NDRIVE", 0},        {"_B_WaveN", 0},       {"_B_Phase1", 0},      {"_B_PSample", 0},
    {"_B_SR3", 0},         {"_B_SRS", 0},         {"_B_DACOE", 0},       {"_PWMT", 0},
    {"_B_TXSTATE", 0},     {"_PWMdurationT0", 0}, {"_PWMdurationT1", 0}, {"_PWMdurationT2", 0},
    {"_PWMdurationTn", 0},
};
constexpr Change kNoisePreset[] = {
    {"_Pipeline", 0}, {"_WaveN", 15}, {"_ReadSel", 3}, {"_Rshift", 2},
    {"_SR3", 15},     {"_SRS", 14},   {"_DACOE", 0},
};
constexpr Change kGainPreset[] = {
    {"_Pipeline", 0}, {"_WorkMode", 2}, {"_PeakMode", 0}, {"_WaveN", 15},
    {"_ReadSel", 8},  {"_Rshift", 4},   {"_SWP", 0},      {"_SWN", 0},
};
// The signal test starts from the defaults; Pipeline, SWP and SWN are cleared when it is entered.
constexpr Change kSignalPreset[] = {{"_Pipeline", 1}, {"_SWP", 1}, {"_SWN", 1}};

constexpr Change kTxAxis[] = {
    {"_SIG", 3},  {"_SIS", 0},  {"_SIC0", 0}, {"_SIC1", 0},
    {"_SIA0", 1}, {"_SIA1", 0}, {"_ST", 2},   {"_RegBank", 3},
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
    p.adcGainFactors = {1, 4, 8, 16, 17, 20, 24, 32};
    p.idTableR5 = {0, 0, 4, 4, 4, 4, 4, 4};
    p.idTableR3 = 12;
    p.imgTuning = {15, 7, 20, 30, 0, 0};
    p.imageBytes = 68;
    p.sinTableMax = 111;
    p.rxData = {2, 16, 256};
    p.txData = {3, 16, 160};
    p.lastTxChannel = 79;
    p.rxPairs = {0, 16, 512};
    p.noiseScanFirstChipOnly = true;
    p.flushAfterCalWrite = true;
    return p;
}

constexpr chipmap::ChipProfile kProfile = MakeProfile();

}  // namespace

const chipmap::ChipProfile& T320Profile() {
    return kProfile;
}

}  // namespace Slave_T320
