#include "controller/Controller.h"

#include <algorithm>
#include <cstring>

#include "chips/t320/CSlave_T320.h"
#include "chips/t324/CSlave_T324.h"
#include "chips/t3300/CSlave_T3300.h"
#include "core/BuilderLog.h"
#include "core/ControllerExceptions.h"
#include "device/CAPI_F412.h"
#include "device/CMCU_F412.h"
#include "diag/CTuneData.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"
#include "params/HwLayout.h"

namespace {

std::unique_ptr<CSlave> MakeChip(ChipFamily family, CController* owner) {
    switch (family) {
        case ChipFamily::T320:
            return std::make_unique<CSlave_T320>(owner);
        case ChipFamily::T324:
            return std::make_unique<CSlave_T324>(owner);
        case ChipFamily::T3300:
            break;
    }
    return std::make_unique<CSlave_T3300>(owner);
}

}  // namespace

CController::CController(const DevLinkApi& dev, DevHandle handle, const DevRecord& record,
                         int typeCode, std::string modelName, const BuilderOptions& options,
                         std::span<const ModelRow> models)
    : dev_(dev),
      handle_(handle),
      id2_(record.id2),
      typeCode_(typeCode),
      model_(FindModel(typeCode, models)),
      modelName_(std::move(modelName)),
      options_(options),
      testMask_(options.sensorTest.testMask) {
    identity_.id1 = record.id1;
    identity_.devicePath.assign(record.path, strnlen(record.path, sizeof record.path));
}

CController::~CController() {
    DestroyObjects();
    if (handle_ != nullptr) {
        // Returns only when no disconnect handler is running any more.
        if (disconnectSubscription_ != nullptr) {
            dev_.removeReportHandler(handle_, disconnectSubscription_);
        }
        dev_.close(handle_);
    }
}

void CController::CreateObjects() {
    if (model_ == nullptr) throw CInitDevException("Not support this device!\n");
    mcu_ = std::make_unique<CMCU_F412>(this);
    chip_ = MakeChip(model_->chip, this);
    api_ = std::make_unique<CAPI_F412>(this);
    ini_ = std::make_unique<CParam_INI>(this);
    sw_ = std::make_unique<CParam_SW>(this);
    hw_ = std::make_unique<CParam_HW>(this);
    pen_ = std::make_unique<CParam_Pen>(this);
    tuneData_ = std::make_unique<CTuneData>(this);
}

void CController::DestroyObjects() {
    api_.reset();
    ini_.reset();
    hw_.reset();
    sw_.reset();
    pen_.reset();
    tuneData_.reset();
    chip_.reset();
    mcu_.reset();
}

int CController::RxChipCount() const {
    const int count = hw_ ? hw_->NumsOfRxChips() : geometry_.numRxChips;
    return std::clamp(count, 1, 4);
}

HardwareSummary CController::Hardware() const {
    return {hw_->NumsOfFreq(), (hw_->ScanCtrl() & hw::kScanWater) != 0,
            hw_->StrayUpdatWaiteTime(), hw_->StrayUpdatTime(), hw_->UsesStylus()};
}

int CController::WiredChips(bool txAxis) const {
    return txAxis ? hw_->NumsOfTxChips() : hw_->NumsOfRxChips();
}

WiredRun CController::WiredChannels(bool txAxis, int chip) const {
    const int at = (txAxis ? hw::kTxRange : hw::kRxRange) + 2 * chip;
    return {hw_->Byte(at), hw_->Byte(at + 1)};
}

void CController::SetChannelCounts(int tx, int rx) {
    identity_.channelInfo[3] = tx;
    identity_.channelInfo[4] = rx;
    geometry_.txCount = static_cast<uint16_t>(std::clamp(tx, 0, 0xFFFF));
    geometry_.rxCount = static_cast<uint16_t>(std::clamp(rx, 0, 0xFFFF));
}

std::string CController::TakeCommandLinePath(CommandLineFile file) {
    bool& taken = commandLinePathTaken_[static_cast<std::size_t>(file)];
    if (taken) return {};
    taken = true;
    switch (file) {
        case CommandLineFile::kHwText:
            return options_.files.hwTextPath;
        case CommandLineFile::kHwRegister:
            return options_.files.hwRegPath;
        case CommandLineFile::kSwText:
            return options_.files.swTextPath;
        case CommandLineFile::kPenText:
            return options_.files.penTextPath;
        case CommandLineFile::kPenRegister:
            break;
    }
    return options_.files.penRegPath;
}

void CController::BeginCommand() {
    commandLinePathTaken_ = {};
    testMask_ = options_.sensorTest.testMask;
}

bool CController::EnsurePenSet() {
    if (!hw_->UsesStylus()) return false;
    if (pen_->IsDumped()) return true;
    if (!pen_->InitFileName()) {
        MainLog().Print(kColourError, kRouteBoth, "Init Pen Setting File Name Fail!\n");
        return false;
    }
    if (pen_->DumpFromDevice() != kParamOk) {
        MainLog().Print(kColourError, kRouteBoth, "Initialize Pen Parameters Failed!\n");
    }
    return true;
}

void CController::SubscribeDisconnect(DevReportHandler handler) {
    if (handle_ == nullptr) return;
    disconnectSubscription_ = dev_.addReportHandler(handle_, 0x3B, kDevAnySubCode, this, handler);
}

void CController::LogIdentity() {
    MainLog().Printf(
        kColourSuccess, kRouteBoth, "\nFind controller: %s (%s, %s), Kernel: %02d_%02d.\n",
        identity_.typeName.c_str(), reportedModelName_.c_str(), identity_.firmwareVersion.c_str(),
        identity_.kernelMajor, identity_.kernelMinor);
    if (hw_ && hw_->UsesStylus()) {
        MainLog().Printf(kColourNormal, kRouteBoth, "Dev parameter version: HW=%d, SW=%d, PW=%d\n",
                         identity_.hwVersion, identity_.swVersion, identity_.penVersion);
    } else {
        MainLog().Printf(kColourNormal, kRouteBoth, "Dev parameter version: HW=%d, SW=%d\n",
                         identity_.hwVersion, identity_.swVersion);
    }
}
