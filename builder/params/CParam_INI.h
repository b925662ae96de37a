// The tuning and test settings: a text file on the PC only, without an image in the controller.
#pragma once

#include "params/CParam.h"

class CParam_INI : public CParam {
  public:
    explicit CParam_INI(CController* owner) : CParam(owner, 0, 0) {}

    int GetAppParamVersion() override { return 0; }
    int GetParamVersion() override { return 0; }
    int InitFileName() override;
    int InitDefaultFileName() override;
    int LoadDefault() override { return 1; }  // nothing to fill
    int LoadTxtFile() override;
    int SaveTxtFile() override;
    int LoadRegFile() override { return 0; }
    int SaveRegFile() override { return 0; }

    // The settings' uniformity strength for the uniformity tool.
    int Uniformity() const { return uniformity_; }

  private:
    int uniformity_ = 70;  // UniformityTolerance until a settings file is loaded
};
