// The builder's model of the attached controller. It owns the command and main-MCU interfaces,
// the sensing chip model, the four parameter sets and the measurement workspace; they all point
// back at it, each through the narrow view of it that it needs (DeviceHost, ChipHost, ParamHost,
// DiagHost).
//
// Lifecycle: discovery builds one (Discovery.h), CreateObjects builds what it owns, Initialise
// reads the controller's identity, geometry and parameter sets. A controller built without a
// device (default files) makes no devlink call at all.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include <devlink/devlink.h>

#include "chips/ChipHost.h"
#include "core/BuilderOptions.h"
#include "core/ControllerFacts.h"
#include "core/ModelTable.h"
#include "device/DevLinkApi.h"
#include "device/DeviceHost.h"
#include "diag/DiagHost.h"
#include "params/ParamHost.h"

class CAPI;
class CMCU;
class CSlave;
class CParam_INI;
class CParam_HW;
class CParam_SW;
class CParam_Pen;
class CTuneData;

class CController final : public DeviceHost, public ChipHost, public ParamHost, public DiagHost {
  public:
    // handle may be null (a controller without a device); the record gives path and identifiers.
    // The type code's row of the model table gives the model's facts (CreateObjects refuses a
    // type code the table lacks). The options record is read, never copied: it must outlive the
    // controller.
    CController(const DevLinkApi& dev, DevHandle handle, const DevRecord& record, int typeCode,
                std::string modelName, const BuilderOptions& options,
                std::span<const ModelRow> models = SupportedModels());
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
    const DevLinkApi& Dev() const override { return dev_; }
    DevHandle Handle() const override { return handle_; }
    int TypeCode() const override { return typeCode_; }
    // The model's row; only once CreateObjects has succeeded.
    const ModelRow& Model() const override { return *model_; }
    const std::string& ModelName() const override { return modelName_; }
    const std::string& ReportedModelName() const override { return reportedModelName_; }
    uint16_t ProductNumber() const override { return id2_; }
    uint8_t ClockType() const override { return clockType_; }
    const std::array<uint8_t, 64>& PcapInfo() const override { return pcapInfo_; }
    // Chips that "all chips" (255) stands for: the hardware set's Rx chip count, kept within 1..4.
    int RxChipCount() const override;
    const BuilderOptions& Options() const override { return options_; }
    const ControllerIdentity& Identity() const override { return identity_; }
    const ControllerGeometry& Geometry() const override { return geometry_; }
    HardwareSummary Hardware() const override;
    int WiredChips(bool txAxis) const override;
    WiredRun WiredChannels(bool txAxis, int chip) const override;
    std::string TakeCommandLinePath(CommandLineFile file) override;

    CAPI& Api() override { return *api_; }
    CMCU& Mcu() override { return *mcu_; }
    CSlave& Chip() override { return *chip_; }
    CParam_INI& Ini() override { return *ini_; }
    CParam_HW& Hw() override { return *hw_; }
    CParam_SW& Sw() override { return *sw_; }
    CParam_Pen& Pen() { return *pen_; }
    CTuneData& TuneData() override { return *tuneData_; }
    bool HasObjects() const { return api_ && hw_ && sw_ && pen_ && ini_; }

    // True when the hardware set uses a stylus; reads the stylus set from the controller the
    // first time.
    bool EnsurePenSet();

    // ---- State read at initialisation -------------------------------------------------------
    bool Disconnected() const override { return disconnected_.load(); }
    void SetRowsPerFrame(uint8_t rows) override { geometry_.rowsPerFrame = rows; }
    void SetChannelCounts(int tx, int rx) override;
    void SetCalibrationValue(int chip, uint8_t value) override {
        if (chip >= 0 && chip < static_cast<int>(geometry_.calValue.size()))
            geometry_.calValue[static_cast<size_t>(chip)] = value;
    }
    void MarkDisconnected() { disconnected_.store(1); }

    // Starts a command: the file names of the command line serve its first loads again, and the
    // diagnostic test mask is the option's until the command sets its own.
    void BeginCommand();
    uint32_t TestMask() const override { return testMask_; }
    void SetTestMask(uint32_t mask) { testMask_ = mask; }

    // Set while the uniformity tool runs on the controller's request (the tool then takes the
    // full strength); read by the tool from another thread.
    void SetUniformityRequest(bool on) { uniformityRequest_.store(on); }
    bool UniformityRequested() const { return uniformityRequest_.load(); }

    // What Initialise fills, to change by hand on a controller set up without initialising it
    // (a test that stands in for a particular firmware or panel).
    ControllerIdentity& EditIdentity() { return identity_; }
    ControllerGeometry& EditGeometry() { return geometry_; }

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
    const ModelRow* model_;
    std::string modelName_;
    std::string reportedModelName_;
    std::array<uint8_t, 64> pcapInfo_{};
    uint8_t clockType_ = 0;
    std::atomic<int> disconnected_{0};
    std::atomic<bool> uniformityRequest_{false};
    ControllerIdentity identity_;
    ControllerGeometry geometry_;
    const BuilderOptions& options_;
    std::array<bool, 5> commandLinePathTaken_{};  // by CommandLineFile
    uint32_t testMask_ = 0;

    std::unique_ptr<CMCU> mcu_;
    std::unique_ptr<CSlave> chip_;
    std::unique_ptr<CAPI> api_;
    std::unique_ptr<CParam_INI> ini_;
    std::unique_ptr<CParam_SW> sw_;
    std::unique_ptr<CParam_HW> hw_;
    std::unique_ptr<CParam_Pen> pen_;
    std::unique_ptr<CTuneData> tuneData_;
};
