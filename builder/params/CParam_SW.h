// The software parameter set: the touch algorithm settings.
#pragma once

#include "params/CParam.h"

class CParam_SW : public CParam {
  public:
    static constexpr int kImageLength = 2048;

    explicit CParam_SW(CController* owner) : CParam(owner, 0, kImageLength) {}

    int GetAppParamVersion() override { return 26; }
    int GetParamVersion() override { return GetImageVersion(); }
    int InitFileName() override;
    int InitDefaultFileName() override;
    int LoadDefault() override;
    int LoadTxtFile() override;
    int SaveTxtFile() override;
    int LoadRegFile() override { return 0; }  // the set has no register file
    int SaveRegFile() override { return 0; }

    static constexpr int kThresholdBlockOffset = 230;  // threshold mode block 0
    static constexpr int kUniformityInBlock = 18;

    // The Uniformity value of the first threshold mode, which the uniformity tool starts from.
    int UniformityParameter() const;
    // Checks and completes a loaded text file's image before it is written (download_swt).
    int PrepareForDownload();
    // Writes the -G threshold values into one threshold mode block and the set (adjust_alg_th).
    bool SetThresholdsFromOptions();
};
