// A test double of the handlers' operations: it records every call by name ("SaveTxtFile hw") and
// answers success unless a test scripts another answer for that call.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shell/Handlers.h"

class RecordingOps : public CHandlerOps {
  public:
    std::vector<std::string> calls;
    std::map<std::string, long> answers;  // call name -> answer instead of success
    BuilderOptions options;
    uint32_t errorFlags = 0;
    uint32_t testMask = 0;
    bool uniformityRequest = false;
    bool uniformityRequestDuringTool = false;
    // Operations of the controllers built for default files, by type code.
    std::vector<std::pair<int, std::shared_ptr<std::vector<std::string>>>> defaultModels;

    const BuilderOptions& Options() override { return options; }
    void SetTestMask(uint32_t mask) override {
        testMask = mask;
        Record("SetTestMask " + std::to_string(mask));
    }
    void OpenTestLog(int kind, const std::string& name) override {
        Record("OpenTestLog " + std::to_string(kind) + " " + name);
    }
    void NotifyProgress(int percent, int target) override {
        Record("Progress " + std::to_string(percent) + " " + std::to_string(target));
    }
    int SwitchWorkMode(uint16_t mode) override {
        char text[32];
        std::snprintf(text, sizeof text, "SwitchWorkMode 0x%04X", mode);
        return Answer(text, 1);
    }
    uint32_t ErrorFlags() override { return errorFlags; }
    void SetUniformityRequest(bool on) override { uniformityRequest = on; }
    uint32_t BuildUniformityTable() override {
        uniformityRequestDuringTool = uniformityRequest;
        return static_cast<uint32_t>(Answer("BuildUniformityTable", 0));
    }
    int ControllerVersion(ParamKind set) override {
        return Answer("ControllerVersion " + S(set), 13);
    }

    int DumpFromDevice(ParamKind s) override { return Answer("DumpFromDevice " + S(s), 0); }
    int SaveBinFile(ParamKind s) override { return Answer("SaveBinFile " + S(s), 0); }
    int SaveTxtFile(ParamKind s) override { return Answer("SaveTxtFile " + S(s), 0); }
    int LoadBinFile(ParamKind s) override { return Answer("LoadBinFile " + S(s), 0); }
    int LoadTxtFile(ParamKind s) override {
        return Answer("LoadTxtFile " + S(s), s == ParamKind::Ini ? 0 : 1);
    }
    int LoadRegFile(ParamKind s) override { return Answer("LoadRegFile " + S(s), 1); }
    int WriteToDevice(ParamKind s) override { return Answer("WriteToDevice " + S(s), 0); }
    int InitDefaultFileName(ParamKind s) override {
        return Answer("InitDefaultFileName " + S(s), 0);
    }
    int LoadDefault(ParamKind s) override {
        return Answer("LoadDefault " + S(s), s == ParamKind::Hw ? 0 : 1);
    }
    int AppParamVersion(ParamKind s) override { return Answer("AppParamVersion " + S(s), 13); }
    int ParamVersion(ParamKind s) override { return Answer("ParamVersion " + S(s), 13); }
    bool EnsurePenSet() override { return Answer("EnsurePenSet", 1) != 0; }
    void ReportNoPenSet() override { Answer("ReportNoPenSet", 0); }
    int PrepareForDownload() override { return Answer("PrepareForDownload", 0); }
    bool SetThresholdsFromOptions() override { return Answer("SetThresholdsFromOptions", 1); }
    int ApplyScalingOffsets() override { return Answer("ApplyScalingOffsets", 0); }

    bool AutoTune() override { return Answer("AutoTune", 1); }
    bool OpenNeighbourTest() override { return Answer("OpenNeighbourTest", 1); }
    uint32_t ShortTest() override { return static_cast<uint32_t>(Answer("ShortTest", 0)); }
    uint32_t RunDiagnostics() override {
        return static_cast<uint32_t>(Answer("RunDiagnostics", 0));
    }
    bool CheckFlat() override { return Answer("CheckFlat", 1); }
    void SpreadCandidateFrequencies() override { Record("SpreadCandidateFrequencies"); }
    bool AdjustTouchScreen() override { return Answer("AdjustTouchScreen", 1); }
    bool CalculateScaling() override { return Answer("CalculateScaling", 1); }
    bool FindSensorPins() override { return Answer("FindSensorPins", 1); }
    uint32_t NoiseSpectrumScan() override {
        return static_cast<uint32_t>(Answer("NoiseSpectrumScan", 0));
    }
    bool AdjustSignal(int frequency) override {
        return Answer("AdjustSignal " + std::to_string(frequency), 1);
    }

    std::unique_ptr<CHandlerOps> ForDefaultModel(int typeCode) override {
        Record("ForDefaultModel " + std::to_string(typeCode));
        auto model = std::make_unique<RecordingOps>();
        model->answers = answers;  // the same script for every model
        model->options = options;
        auto log = std::make_shared<std::vector<std::string>>();
        model->shared_ = log;
        defaultModels.emplace_back(typeCode, log);
        return model;
    }

    ~RecordingOps() override {
        if (shared_) *shared_ = calls;
    }

  private:
    static std::string S(ParamKind s) {
        switch (s) {
            case ParamKind::Hw:
                return "hw";
            case ParamKind::Sw:
                return "sw";
            case ParamKind::Pen:
                return "pen";
            case ParamKind::Ini:
                break;
        }
        return "ini";
    }
    void Record(const std::string& call) { calls.push_back(call); }
    int Answer(const std::string& call, int success) {
        Record(call);
        const auto it = answers.find(call);
        return it == answers.end() ? success : static_cast<int>(it->second);
    }

    std::shared_ptr<std::vector<std::string>> shared_;
};
