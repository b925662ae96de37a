// The command handlers. Each runs a fixed sequence of steps and returns 0 or, at its first failing
// step, a code built on its command's base value; what was done before stays done. Messages come
// from the operations themselves: the handlers add none.
//
// Handlers reach the controller, its parameter sets and the shell only through CHandlerOps, so
// that their sequences and codes can be checked against a test double.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/BuilderOptions.h"

class CController;

enum class ParamKind { Hw, Sw, Pen, Ini };

class CHandlerOps {
  public:
    virtual ~CHandlerOps() = default;

    // ---- Shell -----------------------------------------------------------------------------
    virtual const BuilderOptions& Options() = 0;
    virtual void SetTestMask(uint32_t mask) = 0;  // the -H mask the diagnostic sequence reads
    virtual void OpenTestLog(int kind, const std::string& name) = 0;
    virtual void NotifyProgress(int percent, int target) = 0;

    // ---- Controller ------------------------------------------------------------------------
    virtual int SwitchWorkMode(uint16_t mode) = 0;
    virtual uint32_t ErrorFlags() = 0;  // as read at start-up
    virtual void SetUniformityRequest(bool on) = 0;
    virtual uint32_t BuildUniformityTable() = 0;
    virtual int ControllerVersion(ParamKind set) = 0;  // structure version the controller reported

    // ---- Parameter sets (result conventions of the sets) ------------------------------------
    virtual int DumpFromDevice(ParamKind set) = 0;
    virtual int SaveBinFile(ParamKind set) = 0;
    virtual int SaveTxtFile(ParamKind set) = 0;
    virtual int LoadBinFile(ParamKind set) = 0;  // the set's binary path from the command line
    virtual int LoadTxtFile(ParamKind set) = 0;  // true/false; the settings file: a result code
    virtual int LoadRegFile(ParamKind set) = 0;
    virtual int WriteToDevice(ParamKind set) = 0;
    virtual int InitDefaultFileName(ParamKind set) = 0;
    virtual int LoadDefault(ParamKind set) = 0;
    virtual int AppParamVersion(ParamKind set) = 0;
    virtual int ParamVersion(ParamKind set) = 0;
    virtual bool EnsurePenSet() = 0;
    // Says that the controller keeps no stylus set (its hardware set uses no stylus).
    virtual void ReportNoPenSet() = 0;
    virtual int PrepareForDownload() = 0;
    virtual bool SetThresholdsFromOptions() = 0;
    virtual int ApplyScalingOffsets() = 0;

    // ---- Measurement and tuning --------------------------------------------------------------
    virtual bool AutoTune() = 0;
    virtual bool OpenNeighbourTest() = 0;
    virtual uint32_t ShortTest() = 0;
    virtual uint32_t RunDiagnostics() = 0;
    virtual bool CheckFlat() = 0;
    virtual void SpreadCandidateFrequencies() = 0;
    virtual bool AdjustTouchScreen() = 0;
    virtual bool CalculateScaling() = 0;
    virtual bool FindSensorPins() = 0;
    virtual uint32_t NoiseSpectrumScan() = 0;
    virtual bool AdjustSignal(int frequency) = 0;

    // Operations on a controller of the given model built without a device (default files).
    virtual std::unique_ptr<CHandlerOps> ForDefaultModel(int typeCode) = 0;
};

// The operations over a real controller.
std::unique_ptr<CHandlerOps> MakeControllerOps(CController& controller);

using CommandHandler = uint32_t (*)(CHandlerOps& ops);

// Working modes the handlers switch to.
inline constexpr uint16_t kModeWriteSet = 0x8001;
inline constexpr uint16_t kModeDiagnostics = 0x8004;
// Firmware error flags that stop a command before the uniformity table is built.
inline constexpr uint32_t kErrorFlagStopMask = 0x010020D7;

namespace handlers {

uint32_t ConvertHbt(CHandlerOps& ops);
uint32_t ConvertSbt(CHandlerOps& ops);
uint32_t ConvertPbt(CHandlerOps& ops);
uint32_t DumpHw(CHandlerOps& ops);
uint32_t DumpSw(CHandlerOps& ops);
uint32_t DumpPw(CHandlerOps& ops);
uint32_t DumpAll(CHandlerOps& ops);
uint32_t DumpDef(CHandlerOps& ops);
uint32_t DumpAllDef(CHandlerOps& ops);
uint32_t DownloadHw(CHandlerOps& ops);
uint32_t DownloadHwt(CHandlerOps& ops);
uint32_t DownloadHwr(CHandlerOps& ops);
uint32_t DownloadSw(CHandlerOps& ops);
uint32_t DownloadSwt(CHandlerOps& ops);
uint32_t DownloadPw(CHandlerOps& ops);
uint32_t DownloadPwt(CHandlerOps& ops);
uint32_t DownloadPwr(CHandlerOps& ops);

uint32_t AutoTune(CHandlerOps& ops);
uint32_t Test(CHandlerOps& ops);
uint32_t TestAndTune(CHandlerOps& ops);
uint32_t Diag(CHandlerOps& ops);
uint32_t DiagBasic(CHandlerOps& ops);
uint32_t DiagOpen(CHandlerOps& ops);
uint32_t DiagShort(CHandlerOps& ops);
uint32_t DiagMutual(CHandlerOps& ops);
uint32_t Calibrate(CHandlerOps& ops);
uint32_t DiagDigital(CHandlerOps& ops);
uint32_t CheckFlat(CHandlerOps& ops);
uint32_t AdjustTs(CHandlerOps& ops);
uint32_t CalOpen(CHandlerOps& ops);
uint32_t SetPin(CHandlerOps& ops);
uint32_t DetectNoise(CHandlerOps& ops);
uint32_t FastTuneCalib(CHandlerOps& ops);

uint32_t AdjustAlgTh(CHandlerOps& ops);
uint32_t CreateUtable(CHandlerOps& ops);
uint32_t AdjustHwParam(CHandlerOps& ops);
uint32_t StructInfo(CHandlerOps& ops);

}  // namespace handlers
