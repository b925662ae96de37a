// The stylus parameter set.
#pragma once

#include "params/CParam.h"

class CParam_Pen : public CParam {
  public:
    static constexpr int kImageLength = 4096;

    explicit CParam_Pen(ParamHost* host) : CParam(host, 3, kImageLength) {}

    int GetAppParamVersion() override { return 14; }
    int GetParamVersion() override { return GetImageVersion(); }
    int InitFileName() override;
    int InitDefaultFileName() override;
    int LoadDefault() override;
    int LoadTxtFile() override;
    int SaveTxtFile() override;
    int LoadRegFile() override;
    int SaveRegFile() override;
};
