// The builder's model of the attached controller. It owns the command and main-MCU interfaces,
// the sensing chip model, the four parameter sets and the measurement workspace; they all point
// back at it.
//
// Lifecycle: discovery builds one (Discovery.h), CreateObjects builds what it owns, Initialise
// reads the controller's identity, geometry and parameter sets. A controller built without a
// device (default files) makes no devlink call at all.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include <devlink/devlink.h>

#include "device/DevLinkApi.h"
#include "shell/ControllerOptions.h"

class CAPI;
class CMCU;
class CSlave;
class CParam_INI;
class CParam_HW;
class CParam_SW;
class CParam_Pen;
class CTuneData;

enum class ChipFamily { T320, T324, T3300 };

struct ModelEntry {
    int typeCode;
    const char* modelName;
    ChipFamily chip;
};

// The supported models in table order; nullptr for any other type code.
const ModelEntry* FindModel(int typeCode);
const std::array<ModelEntry, 8>& SupportedModels();

class CController {
  public:
    // handle may be null (a controller without a device); the record gives path and identifiers.
    CController(const DevLinkApi& dev, DevHandle handle, const DevRecord& record, int typeCode,
                std::string modelName, ControllerOptions options);
    // Removes the disconnect subscription (waiting for a running handler), frees what it owns and
    // closes the device handle. Restarting the firmware is CloseController's job.
    ~CController();
    CController(const CController&) = delete;
    CController& operator=(const CController&) = delete;

    // Builds the MCU interface, the chip model, the command interface, the settings, software,
    // hardware and stylus sets and the workspace, in this order.
    void CreateObjects();
    // Reads identity, versions, geometry and the parameter sets. Throws CInitDevException.
    void Initialise();
    // Logs the "Find controller" and parameter version lines.
    void LogIdentity();
    // Subscribes the disconnect notice with the given handler (context: this controller).
    void SubscribeDisconnect(DevReportHandler handler);
    // Frees the owned objects in teardown order; safe after a partial CreateObjects.
    void DestroyObjects();

    // ---- What the owned objects read --------------------------------------------------------
    const DevLinkApi& Dev() const { return dev_; }
    DevHandle Handle() const { return handle_; }
    int TypeCode() const { return typeCode_; }
    const std::string& ModelName() const { return modelName_; }
    const std::string& ReportedModelName() const { return reportedModelName_; }
    uint16_t ProductNumber() const { return id2_; }
    uint8_t ClockType() const { return clockType_; }
    const std::array<uint8_t, 64>& PcapInfo() const { return pcapInfo_; }
    // Chips that "all chips" (255) stands for: the hardware set's Rx chip count, kept within 1..4.
    int RxChipCount() const;
    ControllerOptions& Options() { return options_; }
    const ControllerOptions& Options() const { return options_; }

    CAPI& Api() { return *api_; }
    CMCU& Mcu() { return *mcu_; }
    CSlave& Chip() { return *chip_; }
    CParam_INI& Ini() { return *ini_; }
    CParam_HW& Hw() { return *hw_; }
    CParam_SW& Sw() { return *sw_; }
    CParam_Pen& Pen() { return *pen_; }
    CTuneData& TuneData() { return *tuneData_; }
    bool HasObjects() const { return api_ && hw_ && sw_ && pen_ && ini_; }

    // ---- State read at initialisation -------------------------------------------------------
    bool Disconnected() const { return disconnected_.load(); }
    void MarkDisconnected() { disconnected_.store(1); }

    uint16_t id1 = 0;
    uint8_t hwVersion = 0, swVersion = 0, penVersion = 0;  // structure versions of the controller
    std::array<int, 5> channelInfo{};
    uint32_t errorFlags = 0;
    std::string devicePath, typeName, firmwareVersion;
    uint8_t kernelMajor = 0xFF, kernelMinor = 0xFF;
    std::array<uint8_t, 64> reportInfo{};

    // Geometry copies.
    uint16_t txCount = 0, rxCount = 0, maxTx = 0, maxRx = 0, calReference = 0;
    uint8_t numTxChips = 0, numRxChips = 0, txPerChip = 0, rxPerChip = 0;
    uint8_t rowOffset1 = 0, rowOffset2 = 0, rowsPerFrame = 0;
    std::array<std::array<int, 5>, 4> icInfo{};
    std::array<uint16_t, 4> firstChipTxOffset{}, firstChipRxOffset{};
    std::array<uint8_t, 4> calValue{};
    uint8_t rangeClassX = 0, rangeClassY = 0;
    std::atomic<uint8_t> uniformityRequest{0};

  private:
    void InitIdentity();
    void InitParameterSets();
    void FillGeometry();
    void QueryIcInformation();
    void DecideClockType();
    void DecideRangeClasses();

    const DevLinkApi& dev_;
    DevHandle handle_;
    DevSubscription disconnectSubscription_ = nullptr;
    uint16_t id2_ = 0;
    int typeCode_;
    std::string modelName_;
    std::string reportedModelName_;
    std::array<uint8_t, 64> pcapInfo_{};
    uint8_t clockType_ = 0;
    std::atomic<int> disconnected_{0};
    ControllerOptions options_;

    std::unique_ptr<CMCU> mcu_;
    std::unique_ptr<CSlave> chip_;
    std::unique_ptr<CAPI> api_;
    std::unique_ptr<CParam_INI> ini_;
    std::unique_ptr<CParam_SW> sw_;
    std::unique_ptr<CParam_HW> hw_;
    std::unique_ptr<CParam_Pen> pen_;
    std::unique_ptr<CTuneData> tuneData_;
};
