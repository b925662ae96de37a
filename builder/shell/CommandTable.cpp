#include "shell/CommandTable.h"

#include <algorithm>
#include <cstdio>

#include "controller/Controller.h"
#include "params/CParam_HW.h"
#include "params/CParam_Pen.h"
#include "params/CParam_SW.h"

namespace {

using namespace handlers;

const std::vector<CommandEntry> kCommands = {
    {"convert_hbt", ConvertHbt, 0},
    {"convert_sbt", ConvertSbt, 0},
    {"convert_pbt", ConvertPbt, 0},
    {"dump_hw", DumpHw, kNeedsHw},
    {"dump_sw", DumpSw, kNeedsSw},
    {"dump_pw", DumpPw, kNeedsPen},
    {"dump_all", DumpAll, kNeedsHw | kNeedsSw | kNeedsPen},
    {"dump_def", DumpDef, 0},
    {"dump_all_def", DumpAllDef, 0},
    {"download_hw", DownloadHw, kNeedsHw},
    {"download_hwt", DownloadHwt, kNeedsHw},
    {"download_hwr", DownloadHwr, kNeedsHw},
    {"download_sw", DownloadSw, kNeedsSw},
    {"download_swt", DownloadSwt, kNeedsSw},
    {"download_pw", DownloadPw, kNeedsPen},
    {"download_pwt", DownloadPwt, kNeedsPen},
    {"download_pwr", DownloadPwr, kNeedsPen},
    {"autotune", AutoTune, kNeedsHw},
    {"test", Test, 0},
    {"testandtune", TestAndTune, kNeedsHw},
    {"diag", Diag, 0},
    {"diag_basic", DiagBasic, 0},
    {"diag_open", DiagOpen, 0},
    {"diag_short", DiagShort, 0},
    {"diag_mutual", DiagMutual, 0},
    {"calibrate", Calibrate, 0},
    {"diag_digital", DiagDigital, 0},
    {"check_flat", CheckFlat, 0},
    {"adjust_ts", AdjustTs, kNeedsHw},
    {"cal_open", CalOpen, kNeedsHw},
    {"adjust_alg_th", AdjustAlgTh, 0},
    {"create_utable", CreateUtable, 0},
    {"fast_tune_calib", FastTuneCalib, 0},
    {"struct_info", StructInfo, 0},
    {"set_pin", SetPin, kNeedsHw},
    {"detect_noise", DetectNoise, 0},
    {"adjust_hw_param", AdjustHwParam, 0},
};

struct MenuKey {
    char key;
    const char* name;
};

constexpr MenuKey kMenuKeys[] = {
    {'a', "autotune"},     {'b', "dump_all"},    {'c', "download_hwt"}, {'d', "download_swt"},
    {'e', "testandtune"},  {'f', "adjust_ts"},   {'g', "download_hwr"}, {'h', "download_pwr"},
    {'j', "detect_noise"}, {'k', "calibrate"},   {'l', "convert_hbt"},  {'m', "convert_sbt"},
    {'n', "download_hw"},  {'o', "download_sw"}, {'p', "cal_open"},     {'q', "download_pw"},
    {'s', "diag_basic"},   {'t', "diag_open"},   {'u', "diag_short"},   {'v', "diag_mutual"},
    {'w', "test"},         {'x', "struct_info"}, {'y', "set_pin"},      {'z', "decode_log"},
    {'A', "download_pwt"}, {'B', "convert_pbt"}, {'E', "dump_def"},     {'F', "dump_all_def"},
};

constexpr int kHelpLineWidth = 79;

constexpr const char* kHelpLines[] = {
    "Command List:",
    "a.Autotune                b.Dump All                E.Dump default Bin & Txt   ",
    "c.Download HWT            d.Download SWT            A.Download PWT             ",
    "e.Test And Tune           f.Adjust Touch signal     j.Scan Noise Spectrum      ",
};

}  // namespace

const std::vector<CommandEntry>& CCommandTable::Entries() {
    return kCommands;
}

const CommandEntry* CCommandTable::Find(const std::string& name) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [&](const CommandEntry& e) { return name == e.name; });
    return it == kCommands.end() ? nullptr : &*it;
}

std::string CommandForMenuKey(char key) {
    for (const MenuKey& m : kMenuKeys) {
        if (m.key == key) return m.name;
    }
    return {};
}

std::string HelpText(CController* controller) {
    std::string text = "App parameter version";
    if (controller != nullptr && controller->HasObjects()) {
        char line[96];
        std::snprintf(line, sizeof line, ": HW=%d, SW=%d", controller->Hw().GetAppParamVersion(),
                      controller->Sw().GetAppParamVersion());
        text += line;
        if (controller->EnsurePenSet()) {
            std::snprintf(line, sizeof line, ", PW=%d\n", controller->Pen().GetAppParamVersion());
            text += line;
        } else {
            text += "\n";
        }
    } else {
        text += " - Device Not Found!\n";
    }
    text += "\n";
    for (const char* helpLine : kHelpLines) {
        std::string padded = helpLine;
        if (padded.size() < kHelpLineWidth) padded.resize(kHelpLineWidth, ' ');
        text += padded + "\n";
    }
    return text;
}

uint32_t RunHandler(const CommandEntry& entry, CController& controller) {
    auto ops = MakeControllerOps(controller);
    return entry.handler(*ops);
}
