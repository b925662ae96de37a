// The handlers' step sequences and failure codes, over a recording double of their operations.
#include <gtest/gtest.h>

#include <functional>

#include "RecordingOps.h"
#include "SimModels.h"
#include "shell/Handlers.h"

namespace {

using Calls = std::vector<std::string>;

struct Case {
    const char* label;
    CommandHandler handler;
    std::function<void(RecordingOps&)> script;
    uint32_t expected;
    Calls calls;  // the whole sequence; empty: only the result is checked
};

void Research(RecordingOps& o) {
    o.options.fixed.research = true;
}

class HandlerCase : public testing::TestWithParam<Case> {};

TEST_P(HandlerCase, RunsItsStepsAndReturnsItsCode) {
    const Case& c = GetParam();
    RecordingOps ops;
    if (c.script) c.script(ops);
    const uint32_t result = c.handler(ops);
    EXPECT_EQ(result, c.expected) << c.label << std::hex << ": 0x" << result;
    if (!c.calls.empty()) {
        EXPECT_EQ(ops.calls, c.calls) << c.label;
    }
}

using namespace handlers;

const Case kParameterCases[] = {
    {"convert_hbt load fails",
     ConvertHbt,
     [](RecordingOps& o) { o.answers["LoadBinFile hw"] = 14; },
     0x0100000E,
     {"LoadBinFile hw"}},
    {"convert_pbt", ConvertPbt, nullptr, 0, {"LoadBinFile pen", "SaveTxtFile pen"}},
    {"dump_hw", DumpHw, nullptr, 0, {"DumpFromDevice hw", "SaveBinFile hw", "SaveTxtFile hw"}},
    {"dump_sw binary fails",
     DumpSw,
     [](RecordingOps& o) { o.answers["SaveBinFile sw"] = 17; },
     0x05000011,
     {"DumpFromDevice sw", "SaveBinFile sw"}},
    {"dump_all reads the stylus set but writes no stylus files",
     DumpAll,
     nullptr,
     0,
     {"DumpFromDevice hw", "SaveTxtFile hw", "SaveBinFile hw", "DumpFromDevice sw",
      "SaveTxtFile sw", "SaveBinFile sw", "EnsurePenSet", "SaveTxtFile ini"}},
    {"dump_all in research mode",
     DumpAll,
     Research,
     0,
     {"DumpFromDevice hw", "SaveTxtFile hw", "SaveBinFile hw", "DumpFromDevice sw",
      "SaveTxtFile sw", "SaveBinFile sw", "EnsurePenSet", "DumpFromDevice pen", "SaveTxtFile pen",
      "SaveBinFile pen", "SaveTxtFile ini"}},
    {"dump_all step code",
     DumpAll,
     [](RecordingOps& o) { o.answers["SaveTxtFile sw"] = 15; },
     0x0706000F,
     {}},
    {"dump_all settings step code",
     DumpAll,
     [](RecordingOps& o) { o.answers["SaveTxtFile ini"] = 15; },
     0x070C000F,
     {}},
    {"dump_all stylus step code",
     DumpAll,
     [](RecordingOps& o) {
         Research(o);
         o.answers["SaveBinFile pen"] = 17;
     },
     0x070A0011,
     {}},
    {"dump_def without research writes no stylus files",
     DumpDef,
     nullptr,
     0,
     {"InitDefaultFileName hw", "InitDefaultFileName sw", "InitDefaultFileName pen",
      "LoadDefault hw", "SaveTxtFile hw", "SaveBinFile hw", "LoadDefault sw", "SaveTxtFile sw",
      "SaveBinFile sw", "LoadDefault pen"}},
    {"dump_def hardware default fails when nonzero",
     DumpDef,
     [](RecordingOps& o) { o.answers["LoadDefault hw"] = 1; },
     0x08000000,
     {}},
    {"dump_def software default fails when zero",
     DumpDef,
     [](RecordingOps& o) { o.answers["LoadDefault sw"] = 0; },
     0x08000000,
     {}},
    {"dump_def stylus files in research mode",
     DumpDef,
     [](RecordingOps& o) {
         Research(o);
         o.answers["SaveBinFile pen"] = 17;
     },
     0x080A0011,
     {}},
    {"dump_def file names",
     DumpDef,
     [](RecordingOps& o) { o.answers["InitDefaultFileName pen"] = 1; },
     0x08000000,
     {}},
    {"download_hw",
     DownloadHw,
     nullptr,
     0,
     {"LoadBinFile hw", "SwitchWorkMode 0x8001", "WriteToDevice hw", "BuildUniformityTable"}},
    {"download_hw error flag stop after writing",
     DownloadHw,
     [](RecordingOps& o) { o.errorFlags = 1; },
     1,
     {"LoadBinFile hw", "SwitchWorkMode 0x8001", "WriteToDevice hw"}},
    {"download_hw uniformity code",
     DownloadHw,
     [](RecordingOps& o) { o.answers["BuildUniformityTable"] = 0x13; },
     0x09000013,
     {}},
    {"download_hw mode refused",
     DownloadHw,
     [](RecordingOps& o) { o.answers["SwitchWorkMode 0x8001"] = 0; },
     0x09000002,
     {}},
    {"download_hwt load fails",
     DownloadHwt,
     [](RecordingOps& o) { o.answers["LoadTxtFile hw"] = 0; },
     0x0A000001,
     {}},
    {"download_hwr write fails",
     DownloadHwr,
     [](RecordingOps& o) { o.answers["WriteToDevice hw"] = 13; },
     0x0B00000D,
     {}},
    {"download_sw writes without uniformity",
     DownloadSw,
     nullptr,
     0,
     {"LoadBinFile sw", "SwitchWorkMode 0x8001", "WriteToDevice sw"}},
    {"download_swt preparation fails",
     DownloadSwt,
     [](RecordingOps& o) { o.answers["PrepareForDownload"] = 3; },
     0x0D000000,
     {"LoadTxtFile sw", "PrepareForDownload"}},
    {"download_pw",
     DownloadPw,
     [](RecordingOps& o) { o.answers["LoadBinFile pen"] = 12; },
     0x0E00000C,
     {}},
    {"download_pwt without a stylus set",
     DownloadPwt,
     [](RecordingOps& o) { o.answers["EnsurePenSet"] = 0; },
     0x01000000,
     {"EnsurePenSet", "ReportNoPenSet"}},
    {"download_pwt load fails",
     DownloadPwt,
     [](RecordingOps& o) { o.answers["LoadTxtFile pen"] = 0; },
     0x0F000001,
     {}},
    {"download_pwr shares convert_hbt's base",
     DownloadPwr,
     [](RecordingOps& o) { o.answers["LoadRegFile pen"] = 0; },
     0x01000001,
     {}},
};

INSTANTIATE_TEST_SUITE_P(Parameters, HandlerCase, testing::ValuesIn(kParameterCases));

const Case kTuningCases[] = {
    {"autotune in research mode",
     AutoTune,
     Research,
     0,
     {"Progress 10 0", "OpenTestLog 1 TuningLog", "LoadTxtFile ini", "AutoTune", "Progress 100 0"}},
    {"autotune settings fail",
     AutoTune,
     [](RecordingOps& o) { o.answers["LoadTxtFile ini"] = 5; },
     0x0120000F,
     {}},
    {"autotune fails",
     AutoTune,
     [](RecordingOps& o) { o.answers["AutoTune"] = 0; },
     0x01200002,
     {}},
    {"test short result",
     Test,
     [](RecordingOps& o) { o.answers["ShortTest"] = 9; },
     0x01300009,
     {"OpenTestLog 1 TuningLog", "LoadTxtFile ini", "OpenNeighbourTest", "ShortTest"}},
    {"test open fails",
     Test,
     [](RecordingOps& o) { o.answers["OpenNeighbourTest"] = 0; },
     0x01300002,
     {}},
    {"testandtune tune fails",
     TestAndTune,
     [](RecordingOps& o) { o.answers["AutoTune"] = 0; },
     0x01300004,
     {}},
    {"diag_basic reports on its own base",
     DiagBasic,
     [](RecordingOps& o) { o.answers["RunDiagnostics"] = 0x10004; },
     0x02510004,
     {"OpenTestLog 0 TovrexSensorTester", "LoadTxtFile ini", "SwitchWorkMode 0x8004",
      "SetTestMask 7", "RunDiagnostics"}},
    {"diag_basic mode refused",
     DiagBasic,
     [](RecordingOps& o) { o.answers["SwitchWorkMode 0x8004"] = 0; },
     0x01400002,
     {}},
    {"diag_open",
     DiagOpen,
     [](RecordingOps& o) { o.answers["RunDiagnostics"] = 3; },
     0x01500003,
     {}},
    {"diag_short",
     DiagShort,
     [](RecordingOps& o) { o.answers["RunDiagnostics"] = 2; },
     0x01600002,
     {}},
    {"diag_mutual settings",
     DiagMutual,
     [](RecordingOps& o) { o.answers["LoadTxtFile ini"] = 1; },
     0x0170000B,
     {}},
    {"calibrate adds calibration to -H",
     Calibrate,
     [](RecordingOps& o) { o.options.sensorTest.testMask = 4; },
     0,
     {"OpenTestLog 0 TovrexSensorTester", "LoadTxtFile ini", "SwitchWorkMode 0x8004",
      "SetTestMask 68", "RunDiagnostics"}},
    {"diag keeps -H",
     Diag,
     [](RecordingOps& o) { o.options.sensorTest.testMask = 5; },
     0,
     {"OpenTestLog 0 TovrexSensorTester", "LoadTxtFile ini", "SwitchWorkMode 0x8004",
      "SetTestMask 5", "RunDiagnostics"}},
    {"diag_digital does nothing", DiagDigital, nullptr, 0, {}},
    {"check_flat",
     CheckFlat,
     [](RecordingOps& o) { o.answers["CheckFlat"] = 0; },
     0x01A00001,
     {"OpenTestLog 0 TovrexCheck", "CheckFlat"}},
    {"adjust_ts with -Jb bit 3",
     AdjustTs,
     [](RecordingOps& o) { o.options.fixed.optionMask = 8; },
     0,
     {"OpenTestLog 1 TuningLog", "LoadTxtFile ini", "SpreadCandidateFrequencies",
      "AdjustTouchScreen"}},
    {"adjust_ts fails",
     AdjustTs,
     [](RecordingOps& o) { o.answers["AdjustTouchScreen"] = 0; },
     0x01C00002,
     {}},
    {"cal_open fails",
     CalOpen,
     [](RecordingOps& o) { o.answers["CalculateScaling"] = 0; },
     0x01D00002,
     {}},
    {"set_pin fails",
     SetPin,
     [](RecordingOps& o) { o.answers["FindSensorPins"] = 0; },
     0x02200001,
     {"OpenTestLog 1 TuningLog", "FindSensorPins"}},
    {"detect_noise",
     DetectNoise,
     Research,
     0,
     {"OpenTestLog 0 TovrexSensorTester", "LoadTxtFile ini", "NoiseSpectrumScan",
      "Progress 100 0"}},
    {"detect_noise fails",
     DetectNoise,
     [](RecordingOps& o) { o.answers["NoiseSpectrumScan"] = 7; },
     0x02400002,
     {}},
    {"fast_tune_calib without -Jb bits only reports progress",
     FastTuneCalib,
     Research,
     0,
     {"OpenTestLog 1 TuningLog", "Progress 60 0", "Progress 80 0", "Progress 90 0",
      "Progress 100 0"}},
    {"fast_tune_calib every step",
     FastTuneCalib,
     [](RecordingOps& o) {
         Research(o);
         o.options.fixed.optionMask = 7;
     },
     0,
     {"OpenTestLog 1 TuningLog", "Progress 60 0", "FindSensorPins", "Progress 101 0",
      "Progress 80 0", "AdjustSignal 0", "LoadTxtFile ini", "OpenNeighbourTest", "Progress 90 0",
      "LoadTxtFile ini", "SwitchWorkMode 0x8004", "SetTestMask 2", "RunDiagnostics",
      "Progress 100 0"}},
    {"fast_tune_calib pin finding fails",
     FastTuneCalib,
     [](RecordingOps& o) {
         o.options.fixed.optionMask = 1;
         o.answers["FindSensorPins"] = 0;
     },
     0x02000001,
     {}},
    {"fast_tune_calib open test fails",
     FastTuneCalib,
     [](RecordingOps& o) {
         o.options.fixed.optionMask = 2;
         o.answers["OpenNeighbourTest"] = 0;
     },
     0x02000005,
     {}},
    {"fast_tune_calib signal fails",
     FastTuneCalib,
     [](RecordingOps& o) {
         o.options.fixed.optionMask = 2;
         o.answers["AdjustSignal 0"] = 0;
     },
     0x02000002,
     {}},
    {"fast_tune_calib mode refused",
     FastTuneCalib,
     [](RecordingOps& o) {
         o.options.fixed.optionMask = 4;
         o.answers["SwitchWorkMode 0x8004"] = 0;
     },
     0x02000007,
     {}},
    {"fast_tune_calib diagnostics",
     FastTuneCalib,
     [](RecordingOps& o) {
         o.options.fixed.optionMask = 4;
         o.answers["RunDiagnostics"] = 0x30009;
     },
     0x02030009,
     {}},
    {"adjust_alg_th drops the tool's code",
     AdjustAlgTh,
     [](RecordingOps& o) {
         Research(o);
         o.answers["BuildUniformityTable"] = 0x13;
     },
     0x01E00003,
     {"OpenTestLog 1 TuningLog", "Progress 10 1", "SetThresholdsFromOptions", "Progress 90 1",
      "BuildUniformityTable"}},
    {"adjust_alg_th thresholds fail",
     AdjustAlgTh,
     [](RecordingOps& o) { o.answers["SetThresholdsFromOptions"] = 0; },
     0x01E00001,
     {}},
    {"adjust_alg_th error flag stop",
     AdjustAlgTh,
     [](RecordingOps& o) { o.errorFlags = 0x01000000; },
     1,
     {}},
    {"create_utable",
     CreateUtable,
     [](RecordingOps& o) { o.answers["BuildUniformityTable"] = 0x15; },
     0x01F00015,
     {"LoadTxtFile ini", "BuildUniformityTable"}},
    {"create_utable error flag stop",
     CreateUtable,
     [](RecordingOps& o) { o.errorFlags = 0x2000; },
     1,
     {"LoadTxtFile ini"}},
    {"create_utable ignores other flags",
     CreateUtable,
     [](RecordingOps& o) { o.errorFlags = 0x100; },
     0,
     {}},
    {"adjust_hw_param fails",
     AdjustHwParam,
     [](RecordingOps& o) { o.answers["ApplyScalingOffsets"] = 4; },
     0x02600001,
     {}},
    {"adjust_hw_param uniformity",
     AdjustHwParam,
     [](RecordingOps& o) { o.answers["BuildUniformityTable"] = 0x11; },
     0x02600011,
     {"ApplyScalingOffsets", "BuildUniformityTable"}},
};

INSTANTIATE_TEST_SUITE_P(Tuning, HandlerCase, testing::ValuesIn(kTuningCases));

TEST(Handlers, TheUniformityRequestIsSetOnlyWhileTheToolRuns) {
    for (CommandHandler h : {AdjustAlgTh, CreateUtable}) {
        RecordingOps ops;
        ops.answers["BuildUniformityTable"] = 0x12;
        h(ops);
        EXPECT_TRUE(ops.uniformityRequestDuringTool);
        EXPECT_FALSE(ops.uniformityRequest);
    }
    RecordingOps plain;
    DownloadHw(plain);
    EXPECT_FALSE(plain.uniformityRequestDuringTool);
}

TEST(Handlers, DumpAllDefRunsTheDefaultStepsForEveryModelAndIgnoresTheirResults) {
    RecordingOps ops;
    ops.answers["SaveBinFile hw"] = 17;
    EXPECT_EQ(DumpAllDef(ops), 0u);
    const std::vector<testsupport::SimModel> models = testsupport::SimModels();
    ASSERT_EQ(ops.defaultModels.size(), models.size());
    for (std::size_t i = 0; i < models.size(); ++i) {
        EXPECT_EQ(ops.defaultModels[i].first, models[i].typeCode) << models[i].name;
        const Calls& calls = *ops.defaultModels[i].second;
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), "InitDefaultFileName hw");
        EXPECT_EQ(calls.back(), "SaveBinFile hw");
    }
}

}  // namespace
