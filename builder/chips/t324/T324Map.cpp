// The T324 register map and its fixed images. Field rows are in the order the register file
// writes them: suffix, register bits, how the register file treats it, default.
//
// The chip has 56 configuration registers and synthesises its drive itself: no sine table, no
// sine amplitude, no register banks to switch. Registers 0-2 are its status and version and are
// never written (the command interface leaves them out of whole-image writes).
#include "chips/t324/T324Map.h"

namespace Slave_T324 {

namespace {

using chipmap::Bit;
using chipmap::Bits;
using chipmap::Change;
using chipmap::Field;
using chipmap::LowThenHigh;
using chipmap::ReadsZero;
using chipmap::SignedBytes;
using chipmap::Whole;
constexpr auto Plain = chipmap::Save::Plain;
constexpr auto Yes = chipmap::Load::Yes;
constexpr auto Tuning = chipmap::Load::Tuning;

// Register 53 carries no field. Every field is written plain; the tuning quantities (RS, AFE and
// ADC gain, measure count, delay, scaling) are read back only through a group's tuning items.
constexpr Field kFields[] = {
    {"_VDTHV", Bit(0, 0), Plain, Yes, 0},
    {"_Busy", Bit(0, 7), Plain, Yes, 0},
    {"_ICversion", Whole(1), Plain, Yes, 0},
    {"_ECOversion", Whole(2), Plain, Yes, 0},
    {"_Testmode", Whole(3), Plain, Yes, 0},
    {"_AEN", Bit(4, 0), Plain, Yes, 1},
    {"_VCMSEL", Bit(4, 1), Plain, Yes, 1},
    {"_OFSA_VCM", Bit(4, 2), Plain, Yes, 1},
    {"_OFSB_VCM", Bit(4, 3), Plain, Yes, 0},
    {"_VREFSEL", Bit(4, 4), Plain, Yes, 1},
    {"_IdleRXG", Bit(4, 5), Plain, Yes, 1},
    {"_IdleTXG", Bit(4, 6), Plain, Yes, 1},
    {"_PWMAscale", Bits(5, 3, 0), Plain, Yes, 13},
    {"_SRS", Bits(5, 7, 4), Plain, Tuning, 1},
    {"_SR3", Bits(6, 4, 0), Plain, Tuning, 20},
    {"_SR5", Bits(6, 7, 5), Plain, Tuning, 3},
    {"_WaveN", Bits(7, 5, 0), Plain, Tuning, 30},
    {"_Phase0", Whole(8), Plain, Tuning, 15},
    {"_ReadSel", Bits(9, 3, 0), Plain, Yes, 0},
    {"_Rshift", Bits(9, 7, 4), Plain, Tuning, 4},
    {"_Pipeline", Bit(10, 0), Plain, Yes, 1},
    {"_PENINTpp", Bit(10, 1), Plain, Yes, 1},
    {"_Tskip", Bits(10, 5, 4), Plain, Yes, 1},
    {"_WorkMode", Bits(11, 1, 0), Plain, Yes, 1},
    {"_ScanEvenOdd", Bit(11, 2), Plain, Yes, 0},
    {"_Psample", Bits(11, 7, 3), Plain, Yes, 3},
    {"_Phase1", Bits(12, 4, 0), Plain, Yes, 18},
    {"_DACOFSBset", Bits(12, 7, 5), Plain, Yes, 3},
    {"_ADCHstart", Whole(13), Plain, Yes, 0},
    {"_ADCHend", Whole(14), Plain, Yes, 84},
    {"_SIGstart", Whole(15), Plain, Yes, 0},
    {"_SIGend", Whole(16), Plain, Yes, 84},
    {"_SIC", Bits(17, 1, 0), Plain, Yes, 1},
    {"_SIA", Bits(17, 3, 2), Plain, Yes, 0},
    {"_SIS", Bit(17, 4), Plain, Yes, 0},
    {"_SIT", Bit(17, 5), Plain, Yes, 0},
    {"_SIGAsel", Bit(17, 6), Plain, Yes, 0},
    {"_SIGBuns", Bit(17, 7), Plain, Yes, 0},
    {"_ST", Whole(18), Plain, Yes, 4},
    {"_ID", Bits(19, 3, 0), Plain, Yes, 8},
    {"_IDV", Bits(19, 7, 4), Plain, Yes, 8},
    {"_DACOE", Bit(20, 0), Plain, Yes, 1},
    {"_CALOE", Bit(20, 1), Plain, Yes, 0},
    {"_SERI", Bit(20, 2), Plain, Yes, 0},
    {"_SERS", Bit(20, 3), Plain, Yes, 0},
    {"_SWP", Bit(20, 4), Plain, Yes, 1},
    {"_SWN", Bit(20, 5), Plain, Yes, 1},
    {"_SinGenEn", Bit(20, 7), Plain, Yes, 1},
    {"_SINOFS", Whole(21), Plain, Yes, 0},
    {"_GAIN_H", Bits(22, 4, 0), Plain, Yes, 23},
    {"_ID1", Bits(22, 6, 5), Plain, Yes, 2},
    {"_EN_HOP", Bit(22, 7), Plain, Yes, 1},
    {"_DACVB", LowThenHigh(23, 7, 0, 24, 3, 0), Plain, Yes, 570},
    {"_EN_VDTHV", Bit(24, 4), Plain, Yes, 0},
    {"_VBSEL", ReadsZero(Bit(24, 5)), Plain, Yes, 0},
    {"_PDRIVE_P", Bits(25, 1, 0), Plain, Yes, 0},
    {"_NDRIVE_P", Bits(25, 3, 2), Plain, Yes, 0},
    {"_PDRIVE_N", Bits(25, 5, 4), Plain, Yes, 0},
    {"_NDRIVE_N", Bits(25, 7, 6), Plain, Yes, 0},
    {"_PDRIVE_VCM", Bits(26, 1, 0), Plain, Yes, 3},
    {"_NDRIVE_VCM", Bits(26, 3, 2), Plain, Yes, 3},
    {"_PDRIVE_VCM2", Bits(26, 5, 4), Plain, Yes, 2},
    {"_NDRIVE_VCM2", Bits(26, 7, 6), Plain, Yes, 2},
    {"_PDRIVE_PWM", Bits(27, 1, 0), Plain, Yes, 2},
    {"_NDRIVE_PWM", Bits(27, 3, 2), Plain, Yes, 2},
    {"_ID_SERIN", Bits(27, 7, 4), Plain, Yes, 1},
    {"_PDRIVE", Bits(28, 1, 0), Plain, Yes, 2},
    {"_NDRIVE", Bits(28, 3, 2), Plain, Yes, 2},
    {"_CHMASK", Bits(28, 7, 5), Plain, Yes, 0},
    {"_TDACV", Whole(29), Plain, Yes, 0},
    {"_Rsubv", SignedBytes(30, 2), Plain, Yes, 0},
    {"_DoComm", Bits(32, 2, 0), Plain, Yes, 0},
    {"_PWMsin", Bits(32, 4, 3), Plain, Yes, 1},
    {"_StopExt", Bits(32, 7, 6), Plain, Yes, 2},
    {"_CommData", Whole(33), Plain, Yes, 0},
    {"_BPSK", Bit(34, 0), Plain, Yes, 0},
    {"_StopBits", Bit(34, 1), Plain, Yes, 0},
    {"_SkipChip", Bit(34, 2), Plain, Yes, 0},
    {"_BitChips", Bits(34, 5, 3), Plain, Yes, 0},
    {"_B_WaveN", Bits(35, 5, 0), Plain, Yes, 40},
    {"_B_Tskip", Bits(35, 7, 6), Plain, Yes, 0},
    {"_B_Phase1", Bits(36, 4, 0), Plain, Yes, 12},
    {"_B_PSample", LowThenHigh(36, 7, 5, 37, 1, 0), Plain, Yes, 3},
    {"_B_SRS", Bits(37, 7, 4), Plain, Yes, 14},
    {"_B_SR3", Bits(38, 4, 0), Plain, Yes, 10},
    {"_B_SR5", Bits(38, 7, 5), Plain, Yes, 0},
    {"_B_SIC", Bits(39, 1, 0), Plain, Yes, 3},
    {"_B_SIA", Bits(39, 3, 2), Plain, Yes, 1},
    {"_B_SIS", Bit(39, 4), Plain, Yes, 0},
    {"_B_SIT", Bit(39, 5), Plain, Yes, 0},
    {"_B_ST", Bits(40, 5, 0), Plain, Yes, 4},
    {"_B_SinGenEn", Bit(40, 6), Plain, Yes, 1},
    {"_B_DACOE", Bit(40, 7), Plain, Yes, 0},
    {"_PWMT", Bits(41, 5, 0), Plain, Yes, 23},
    {"_B_TXSTATE", Bits(41, 7, 6), Plain, Yes, 3},
    {"_DelayTx", SignedBytes(42, 2), Plain, Yes, 0},
    {"_PWMdurationT0", Bits(44, 5, 0), Plain, Yes, 23},
    {"_PWMdurationT1", Bits(45, 5, 0), Plain, Yes, 23},
    {"_PWMdurationT2", Bits(46, 5, 0), Plain, Yes, 23},
    {"_PWMdurationTn", Bits(47, 5, 0), Plain, Yes, 23},
    {"_PN", SignedBytes(48, 4), Plain, Yes, 0},
    {"_driveStrength", Whole(52), Plain, Yes, 0},
    {"_RX_ReadSel", Bits(54, 3, 0), Plain, Yes, 7},
    {"_RX_Rshift", Bits(54, 7, 4), Plain, Yes, 4},
    {"_TX_ReadSel", Bits(55, 3, 0), Plain, Yes, 7},
    {"_TX_Rshift", Bits(55, 7, 4), Plain, Yes, 4},
};

// Fixed images: the default image with these fields changed.
constexpr Change kNoiseGroup[] = {{"_ReadSel", 3}, {"_DACOE", 0}, {"_EN_HOP", 0}};
// The water-line scans run at a low gain with the switches open, skipping more and scanning even
// and odd lines apart.
constexpr Change kWLRxGroup[] = {
    {"_SR3", 1},         {"_SR5", 1},    {"_Phase0", 20}, {"_Rshift", 2}, {"_Tskip", 3},
    {"_ScanEvenOdd", 1}, {"_SIC", 3},    {"_SIS", 1},     {"_ST", 10},    {"_SWP", 0},
    {"_SWN", 0},         {"_GAIN_H", 4}, {"_ID1", 3},     {"_EN_HOP", 0}, {"_DACVB", 629},
};
constexpr Change kWLTxGroup[] = {
    {"_SR3", 1},         {"_SR5", 1},    {"_Phase0", 20}, {"_Rshift", 2}, {"_Tskip", 3},
    {"_ScanEvenOdd", 1}, {"_SIC", 0},    {"_SIA", 3},     {"_SIS", 1},    {"_SIGAsel", 1},
    {"_SIGBuns", 1},     {"_ST", 8},     {"_SWP", 0},     {"_SWN", 0},    {"_GAIN_H", 4},
    {"_ID1", 3},         {"_EN_HOP", 0}, {"_DACVB", 629},
};

// Stylus groups: every one runs at prescaler 14 without delay, with the largest RS, no frequency
// hopping and the DAC output off. The detection groups (0, 1, 4) measure 63 cycles at ADC gain
// code 4, the raw groups (2, 3) 22 cycles at the default gain; the Tx groups (1, 3) sense the Tx
// lines. The divider stays at its default: a zero would stop the drive.
constexpr Change kPenRxGroup[] = {
    {"_Phase1", 14}, {"_ReadSel", 7}, {"_DACOE", 0}, {"_EN_HOP", 0}, {"_Tskip", 0}, {"_SR3", 10},
    {"_SRS", 14},    {"_Phase0", 0},  {"_ST", 4},    {"_WaveN", 63}, {"_SR5", 4},
};
constexpr Change kPenTxGroup[] = {
    {"_Phase1", 14}, {"_ReadSel", 7}, {"_DACOE", 0},  {"_EN_HOP", 0}, {"_Tskip", 0},
    {"_SR3", 10},    {"_SRS", 14},    {"_Phase0", 0}, {"_ST", 4},     {"_WaveN", 63},
    {"_SR5", 4},     {"_SIC", 0},     {"_SIA", 1},
};
constexpr Change kPenRawRxGroup[] = {
    {"_Phase1", 14}, {"_ReadSel", 7}, {"_DACOE", 0},  {"_EN_HOP", 0}, {"_Tskip", 0},
    {"_SR3", 10},    {"_SRS", 14},    {"_Phase0", 0}, {"_ST", 4},     {"_WaveN", 22},
};
constexpr Change kPenRawTxGroup[] = {
    {"_Phase1", 14}, {"_ReadSel", 7}, {"_DACOE", 0}, {"_EN_HOP", 0}, {"_Tskip", 0}, {"_SR3", 10},
    {"_SRS", 14},    {"_Phase0", 0},  {"_ST", 4},    {"_WaveN", 22}, {"_SIC", 0},   {"_SIA", 1},
};

// Measurement presets.
constexpr Change kCalPreset[] = {
    {"_PWMAscale", 0},     {"_SR3", 23},          {"_SR5", 1},           {"_WaveN", 63},
    {"_Phase0", 10},       {"_Pipeline", 0},      {"_Tskip", 0},         {"_WorkMode", 2},
    {"_Phase1", 31},       {"_DACOFSBset", 1},    {"_SIC", 0},           {"_ST", 0},
    {"_DACOE", 0},         {"_CALOE", 1},         {"_SERI", 1},          {"_SWP", 0},
    {"_GAIN_H", 0},        {"_EN_HOP", 0},        {"_DACVB", 0},         {"_ID_SERIN", 8},
    {"_StopExt", 0},       {"_B_WaveN", 0},       {"_B_Phase1", 0},      {"_B_PSample", 0},
    {"_B_SRS", 0},         {"_B_SR3", 0},         {"_B_SIC", 0},         {"_B_SIA", 0},
    {"_B_ST", 0},          {"_B_SinGenEn", 0},    {"_PWMT", 0},          {"_B_TXSTATE", 0},
    {"_PWMdurationT0", 0}, {"_PWMdurationT1", 0}, {"_PWMdurationT2", 0}, {"_PWMdurationTn", 0},
    {"_RX_ReadSel", 8},    {"_RX_Rshift", 0},     {"_TX_ReadSel", 8},    {"_TX_Rshift", 0},
};
constexpr Change kNoisePreset[] = {
    {"_SRS", 14},       {"_SR3", 15},       {"_WaveN", 32},     {"_ReadSel", 3}, {"_Rshift", 1},
    {"_Pipeline", 0},   {"_DACOE", 0},      {"_SWP", 0},        {"_SWN", 0},     {"_SinGenEn", 0},
    {"_B_SinGenEn", 0}, {"_RX_ReadSel", 3}, {"_TX_ReadSel", 3},
};
constexpr Change kGainPreset[] = {
    {"_ReadSel", 8}, {"_Pipeline", 0},   {"_WorkMode", 2},   {"_SWP", 0},
    {"_SWN", 0},     {"_RX_ReadSel", 8}, {"_TX_ReadSel", 8},
};
// The signal test starts from the defaults; Pipeline, SWP and SWN are cleared when it is entered.
constexpr Change kSignalPreset[] = {{"_Pipeline", 1}, {"_SWP", 1}, {"_SWN", 1}};
constexpr Change kWaterLineTest[] = {{"_Tskip", 3}, {"_ScanEvenOdd", 1}};

// A Tx-axis measurement takes the inputs the water-line Tx image uses.
constexpr Change kTxAxis[] = {
    {"_SIC", 0}, {"_SIA", 3}, {"_SIGAsel", 1}, {"_SIGBuns", 1}, {"_ST", 8},
};

constexpr chipmap::ChipProfile MakeProfile() {
    chipmap::ChipProfile p{};
    p.fields = kFields;
    p.quantities = chipmap::kCommonQuantityFields;  // the ones the chip lacks find no field
    p.mergeFields = chipmap::kCommonMergeFields;
    p.modeGroups = {kNoiseGroup, kWLRxGroup, kWLTxGroup, {}, {}, {}};
    p.penGroups = {kPenRxGroup, kPenTxGroup, kPenRawRxGroup, kPenRawTxGroup, kPenRxGroup};
    p.calPreset = kCalPreset;
    p.noisePreset = kNoisePreset;
    p.gainPreset = kGainPreset;
    p.signalPreset = kSignalPreset;
    p.txAxis = kTxAxis;
    p.waterLineTest = kWaterLineTest;
    p.penGroupTuning = false;
    p.delayComment = "0~3*PreScaler-1";
    p.adcGainFactors = {1, 2, 4, 8, 16, 20, 26, 32};
    p.idTableR5 = {8, 8, 8, 8, 8, 8, 8, 8};
    p.idTableR3 = 8;
    p.imgTuning = {15, 1, 20, 30, 0, 0};
    p.imageBytes = 56;
    p.sinTableMax = 128;
    p.rxData = {2, 0, 168};
    p.txData = {3, 0, 96};
    p.lastTxChannel = 47;
    p.noiseScanFirstChipOnly = false;
    p.flushAfterCalWrite = false;
    return p;
}

constexpr chipmap::ChipProfile kProfile = MakeProfile();

}  // namespace

const chipmap::ChipProfile& T324Profile() {
    return kProfile;
}

}  // namespace Slave_T324
