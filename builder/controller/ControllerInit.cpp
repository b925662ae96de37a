// Initialisation of an assembled controller: every step either succeeds or throws
// CInitDevException with the message the user sees. Nothing is written to the controller.
#include <algorithm>

#include "chips/CSlave.h"
#include "controller/Controller.h"
#include "core/ControllerExceptions.h"
#include "device/CAPI.h"
#include "device/CMCU.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"

namespace {

constexpr long kReceiveBufferBytes = 81920;
constexpr uint16_t kCommandMode = 0x8000;

void Require(bool ok, const char* message) {
    if (!ok) throw CInitDevException(message);
}

uint8_t RangeClass(uint16_t maximum) {
    if (maximum > 0x1FFF) return 2;
    if (maximum > 0x0FFF) return 1;
    return 0;
}

}  // namespace

void CController::Initialise() {
    Require(handle_ != nullptr, "Device Handle Invalid!\n");
    Require(api_->SwitchWorkMode(kCommandMode), "Switch Work Mode Failed!\n");
    InitIdentity();
    InitParameterSets();
    Require(api_->SwitchWorkMode(0), "Switch Work Mode Failed!\n");
    FillGeometry();
    QueryIcInformation();
    DecideClockType();
    DecideRangeClasses();
}

void CController::InitIdentity() {
    Require(api_->GetModelName(reportedModelName_), "Get Model Name Failed!\n");
    Require(api_->GetTypeName(identity_.typeName), "Get Type Name Failed!\n");
    Require(api_->GetVersion(identity_.firmwareVersion), "Get Version Failed!\n");
    Require(api_->GetErrorCode(identity_.errorFlags), "Get ErrorCode Failed!\n");
    auto& ci = identity_.channelInfo;
    Require(api_->GetChannelInfo(ci[0], ci[1], ci[2], ci[3], ci[4]),
            "Query Channel Information Failed!\n");
    Require(static_cast<long>(chip_->GetMaxTxChannels()) * chip_->GetMaxRxChannels() * 2 <=
                kReceiveBufferBytes,
            "Max channel larger than receive buffer!\n");
    Require(api_->GetPcapInfo(pcapInfo_.data()), "Query PCAP Information Failed!\n");
    uint8_t versions[7] = {};
    Require(api_->GetStructVersion(versions), "Query Structure Version Failed!\n");
    identity_.kernelMajor = versions[0];
    identity_.hwVersion = versions[1];
    identity_.swVersion = versions[2];
    identity_.penVersion = versions[3];
    Require(api_->GetKernelNumber(identity_.kernelMinor), "Query Kernel Number Failed!\n");
    Require(api_->GetChannelInfo(ci[0], ci[1], ci[2], ci[3], ci[4]),
            "Query Channel Information Failed!\n");
}

void CController::InitParameterSets() {
    Require(hw_->InitFileName(), "Init HW Setting File Name Fail!\n");
    if (hw_->DumpFromDevice() == kParamOk) hw_->KeepFirstRead();
    Require(sw_->InitFileName(), "Init SW Setting File Name Fail!\n");
    sw_->DumpFromDevice();  // a bad software set does not stop the start-up
    // The stylus files are named on every controller, so that a stylus command on one without a
    // stylus set names its file; only a controller whose hardware set uses a stylus keeps one.
    Require(pen_->InitFileName(), "Init Pen Setting File Name Fail!\n");
    if (hw_->UsesStylus()) pen_->DumpFromDevice();
    Require(ini_->InitFileName(), "Init Ini Setting File Name Fail!\n");
}

void CController::FillGeometry() {
    geometry_.txCount = static_cast<uint16_t>(identity_.channelInfo[3]);
    geometry_.rxCount = static_cast<uint16_t>(identity_.channelInfo[4]);
    geometry_.maxTx = static_cast<uint16_t>(chip_->GetMaxTxChannels());
    geometry_.maxRx = static_cast<uint16_t>(chip_->GetMaxRxChannels());
    geometry_.calReference = static_cast<uint16_t>(chip_->GetCalReference());
    geometry_.numTxChips = hw_->NumsOfTxChips();
    geometry_.numRxChips = hw_->NumsOfRxChips();
    geometry_.txPerChip = static_cast<uint8_t>(chip_->GetTxChannelsPerChip());
    geometry_.rxPerChip = static_cast<uint8_t>(chip_->GetRxChannelsPerChip());
    geometry_.rowOffset1 = static_cast<uint8_t>(identity_.channelInfo[1]);
    geometry_.rowOffset2 = static_cast<uint8_t>(identity_.channelInfo[2]);
    geometry_.rowsPerFrame = 0;
    geometry_.firstChipTxOffset = {static_cast<uint16_t>(chip_->GetFirstChipTxOffset()), 0, 0, 0};
    geometry_.firstChipRxOffset = {static_cast<uint16_t>(chip_->GetFirstChipRxOffset()), 0, 0, 0};
    geometry_.calValue = {pcapInfo_[21], pcapInfo_[22], pcapInfo_[47], pcapInfo_[48]};
}

void CController::QueryIcInformation() {
    uint8_t request[kDevReportSize] = {0x03, 0x02, 0x3F, 0x7D};
    uint8_t reply[kDevReportSize] = {};
    int replyLength = 0;
    Require(dev_.request(handle_, request, kDevReportSize, 0x3F, 0x7D, 1000, reply, &replyLength),
            "Query IC Information Failed!\n");
    // Only bytes the reply really holds are read; records that did not come stay zero.
    DevReport report{};
    std::copy(std::begin(reply), std::end(reply), report.bytes);
    const int valid =
        std::min(std::clamp(replyLength, 0, int(kDevReportSize)), 2 + devReportCount(report));
    const bool wide = model_->wideIcInformation;  // five big-endian u16 per record
    const int recordSize = wide ? 10 : 5;
    const int records = std::min<int>(reply[4], 4);
    geometry_.icInfo = {};
    for (int r = 0; r < records; ++r) {
        const int start = 5 + r * recordSize;
        if (start + recordSize > valid) break;
        for (int v = 0; v < 5; ++v) {
            geometry_.icInfo[r][v] =
                wide ? (reply[start + 2 * v] << 8) | reply[start + 2 * v + 1] : reply[start + v];
        }
    }
}

void CController::DecideClockType() {
    clockType_ = 0;
    if (!model_->clockTypeFromKernel) return;
    // The two version fields are compared separately, as the firmware releases were numbered.
    if (identity_.kernelMajor <= 2 && identity_.kernelMinor <= 95) {
        clockType_ = 1;
    } else if (identity_.kernelMajor >= 3 && identity_.kernelMinor >= 19) {
        clockType_ = static_cast<uint8_t>(mcu_->GetClockType());
    }
}

void CController::DecideRangeClasses() {
    geometry_.rangeClassX = geometry_.rangeClassY = 0;
    if (identity_.kernelMajor * 100 + identity_.kernelMinor < 538) return;
    int length = 64;
    Require(api_->GetReportInfo(identity_.reportInfo.data(), length),
            "Query HID Report Information Failed!\n");
    geometry_.rangeClassX =
        RangeClass(static_cast<uint16_t>(identity_.reportInfo[1] | (identity_.reportInfo[2] << 8)));
    geometry_.rangeClassY =
        RangeClass(static_cast<uint16_t>(identity_.reportInfo[3] | (identity_.reportInfo[4] << 8)));
}
