// The handlers' operations over a real controller.
#include "controller/Controller.h"
#include "core/BuilderLog.h"
#include "core/Progress.h"
#include "device/CAPI.h"
#include "diag/CTuneData.h"
#include "diag/Diagnostics.h"
#include "diag/OpenTests.h"
#include "diag/ShortTests.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"
#include "shell/Handlers.h"
#include "shell/Uniformity.h"
#include "tune/AutoTune.h"
#include "tune/NoiseScan.h"
#include "tune/PinFinding.h"
#include "tune/SignalAdjust.h"
#include "tune/TouchAdjust.h"

namespace {

class CControllerOps : public CHandlerOps {
  public:
    explicit CControllerOps(CController& controller) : c_(controller) {}

    const BuilderOptions& Options() override { return c_.Options(); }
    void SetTestMask(uint32_t mask) override { c_.SetTestMask(mask); }
    void OpenTestLog(int kind, const std::string& name) override { TestLog().Open(kind, name); }
    void NotifyProgress(int percent, int target) override { ::NotifyProgress(percent, target); }

    int SwitchWorkMode(uint16_t mode) override { return c_.Api().SwitchWorkMode(mode); }
    uint32_t ErrorFlags() override { return c_.Identity().errorFlags; }
    void SetUniformityRequest(bool on) override { c_.SetUniformityRequest(on); }
    uint32_t BuildUniformityTable() override { return ::BuildUniformityTable(c_); }
    int ControllerVersion(ParamKind set) override {
        switch (set) {
            case ParamKind::Hw:
                return c_.Identity().hwVersion;
            case ParamKind::Sw:
                return c_.Identity().swVersion;
            case ParamKind::Pen:
                return c_.Identity().penVersion;
            case ParamKind::Ini:
                break;
        }
        return 0;
    }

    int DumpFromDevice(ParamKind set) override { return Set(set).DumpFromDevice(); }
    int SaveBinFile(ParamKind set) override { return Set(set).SaveBinFile(); }
    int SaveTxtFile(ParamKind set) override { return Set(set).SaveTxtFile(); }
    int LoadBinFile(ParamKind set) override { return Set(set).LoadBinFile(BinaryPath(set)); }
    int LoadTxtFile(ParamKind set) override { return Set(set).LoadTxtFile(); }
    int LoadRegFile(ParamKind set) override { return Set(set).LoadRegFile(); }
    int WriteToDevice(ParamKind set) override { return Set(set).WriteToDevice(); }
    int InitDefaultFileName(ParamKind set) override { return Set(set).InitDefaultFileName(); }
    int LoadDefault(ParamKind set) override { return Set(set).LoadDefault(); }
    int AppParamVersion(ParamKind set) override { return Set(set).GetAppParamVersion(); }
    int ParamVersion(ParamKind set) override { return Set(set).GetParamVersion(); }
    bool EnsurePenSet() override { return c_.EnsurePenSet(); }
    void ReportNoPenSet() override { CParam_Pen::ReportNoStylus(); }
    int PrepareForDownload() override { return c_.Sw().PrepareForDownload(); }
    bool SetThresholdsFromOptions() override { return c_.Sw().SetThresholdsFromOptions(); }
    int ApplyScalingOffsets() override { return c_.Hw().ApplyScalingOffsets(); }

    bool AutoTune() override { return ::AutoTune(c_); }
    bool OpenNeighbourTest() override { return ::OpenNeighbourTest(c_); }
    uint32_t ShortTest() override { return ::ShortTest(c_); }
    uint32_t RunDiagnostics() override { return ::RunDiagnostics(c_); }
    bool CheckFlat() override { return c_.TuneData().CheckFlat(); }
    void SpreadCandidateFrequencies() override { ::SpreadCandidateFrequencies(c_); }
    bool AdjustTouchScreen() override { return ::AdjustTouchScreen(c_); }
    bool CalculateScaling() override { return ::CalculateScaling(c_); }
    bool FindSensorPins() override { return ::FindSensorPins(c_); }
    uint32_t NoiseSpectrumScan() override { return ::NoiseSpectrumScan(c_); }
    bool AdjustSignal(int frequency) override {
        int scaling = c_.Hw().SensorTestScaling();
        return ::AdjustSignal(c_, frequency, scaling);
    }

    std::unique_ptr<CHandlerOps> ForDefaultModel(int typeCode) override;

  protected:
    CController& c_;

  private:
    CParam& Set(ParamKind set) {
        switch (set) {
            case ParamKind::Hw:
                return c_.Hw();
            case ParamKind::Sw:
                return c_.Sw();
            case ParamKind::Pen:
                return c_.Pen();
            case ParamKind::Ini:
                break;
        }
        return c_.Ini();
    }

    std::string BinaryPath(ParamKind set) const {
        const BuilderOptions& o = c_.Options();
        switch (set) {
            case ParamKind::Hw:
                return o.files.hwBinPath;
            case ParamKind::Sw:
                return o.files.swBinPath;
            case ParamKind::Pen:
                return o.files.penBinPath;
            case ParamKind::Ini:
                break;
        }
        return {};
    }
};

// A controller of one model built without a device, with its operations; it owns the controller.
class CDefaultModelOps : public CControllerOps {
  public:
    explicit CDefaultModelOps(std::unique_ptr<CController> owned)
        : CControllerOps(*owned), owned_(std::move(owned)) {}

  private:
    std::unique_ptr<CController> owned_;
};

std::unique_ptr<CHandlerOps> CControllerOps::ForDefaultModel(int typeCode) {
    const ModelRow* model = FindModel(typeCode);
    if (model == nullptr) return nullptr;
    // No handle: the controller makes no devlink call, subscribes nothing and closes nothing.
    auto controller = std::make_unique<CController>(c_.Dev(), nullptr, DevRecord{}, typeCode,
                                                    model->name, c_.Options());
    controller->CreateObjects();
    return std::make_unique<CDefaultModelOps>(std::move(controller));
}

}  // namespace

std::unique_ptr<CHandlerOps> MakeControllerOps(CController& controller) {
    return std::make_unique<CControllerOps>(controller);
}
