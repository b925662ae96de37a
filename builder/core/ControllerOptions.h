// The command-line settings the controller model and the command handlers read. Start-up fills one
// from the parsed options and hands it to the controller, which keeps its own copy.
#pragma once

#include <cstdint>
#include <string>

#include "core/BuilderOptions.h"

// The threshold values adjust_alg_th stores into one threshold mode block (-Gi, -Ga, -Gc, -Gd,
// -Gg, -Gt, -Gv, -Gx).
struct ThresholdOptions {
    uint8_t block = 0;
    uint16_t Uniformity = 20;
    uint16_t CookTouchTh = 60;
    uint16_t DeltaTouchTh = 60;
    uint16_t GroupMassTh = 1000;
    uint16_t TouchThFinger = 40;
    uint8_t RawFlatForStray = 13;
    uint8_t RawFlatForPoint = 13;
};

struct ControllerOptions {
    // Device path given instead of enumeration, with its report lengths (-Jf, -Jg, -Jh).
    std::string devicePath;
    uint32_t inputReportLength = 64;
    uint32_t outputReportLength = 64;
    // Working mode the firmware restarts into at exit (-Ja gives 0x8000).
    uint16_t resumeMode = 0;

    bool fixedNameMode = false;  // any -J option
    std::string outputFolder;    // -Je; empty when not given
    bool researchMode = false;   // -Jd
    bool keepVersion = false;    // -Jc
    uint16_t optionMask = 0;     // -Jb bits
    // Folder parameter files, logs and "StructInfo" go to (ends with '/'), and the program's own.
    std::string workingFolder;
    std::string programFolder;

    // Uniformity tool values (-l, -q, -C, -D).
    uint8_t uniformityStrength = 1;
    uint8_t uniformitySecond = 1;
    uint8_t disableWarning = 1;
    uint8_t disableLog = 1;

    uint32_t testMask = 0;  // -H
    ThresholdOptions thresholds;
    HwAdjustOptions hwAdjust;  // adjust_hw_param

    // File paths from the command line; empty when not given.
    std::string hwTextPath, hwBinPath, hwRegPath;
    std::string swTextPath, swBinPath;
    std::string penTextPath, penBinPath, penRegPath;
    std::string iniPath;
};
