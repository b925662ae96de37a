// The software parameter set: the touch algorithm settings (model strings, control flags, three
// threshold modes, noise hopping, point reporting, palm and water handling, filters, edge
// compensation, calibration corners, active areas, USB, power and interface settings). Field
// offsets are in SwLayout.h; the keys of its text file (.swt) in SwTextKeys.h.
#pragma once

#include <string>

#include "params/CParam.h"

class CParamFile;
class SwItemIo;

class CParam_SW : public CParam {
  public:
    static constexpr int kImageLength = 2048;
    // The structure version a default image and a written text file carry.
    static constexpr uint8_t kStructMajor = 2, kStructMinor = 6;

    explicit CParam_SW(CController* owner) : CParam(owner, 0, kImageLength) {}

    int GetAppParamVersion() override { return 26; }
    int GetParamVersion() override { return GetImageVersion(); }
    int InitFileName() override;
    int InitDefaultFileName() override;
    // Nonzero on success.
    int LoadDefault() override;
    // Nonzero on success (SwTextFile.cpp).
    int LoadTxtFile() override;
    int SaveTxtFile() override;
    int LoadRegFile() override { return 0; }  // the set has no register file
    int SaveRegFile() override { return 0; }

    static constexpr int kThresholdBlockOffset = 230;  // threshold mode block 0
    static constexpr int kUniformityInBlock = 18;

    // The Uniformity value of the first threshold mode, which the uniformity tool starts from.
    int UniformityParameter() const;
    // Derives the thresholds of a loaded text file before the image is written (download_swt);
    // 0 on success.
    int PrepareForDownload();
    // Writes the -G threshold values into one threshold mode block and the set to the controller
    // (adjust_alg_th). False, with "Set Parameter Fail", when the block index is not 0 to 2 or the
    // write fails.
    bool SetThresholdsFromOptions();

    // The controller's X and Y range class (0, 1 or 2) do not match the calibration sets: reset
    // the mismatching axis of all three sets to the defaults of the controller's class, with one
    // message per axis.
    void CheckCalibrationResolution();

  private:
    // SwTextFile.cpp
    void WriteSections(CParamFile& file);
    void ReadSections(CParamFile& file);
    void WriteHead(SwItemIo& io);
    void ReadHead(CParamFile& file, SwItemIo& io);
    void WriteGeneral(SwItemIo& io, bool strayFromKernel);
    void ReadGeneral(CParamFile& file, SwItemIo& io, bool strayFromKernel);
    void WriteModes(SwItemIo& io, int modes);
    void ReadModes(SwItemIo& io, int modes);
    void WriteCalibrationAndAreas(SwItemIo& io);
    void ReadCalibrationAndAreas(CParamFile& file, SwItemIo& io);
    void WriteInterfaces(SwItemIo& io, int structVersion);
    void ReadInterfaces(SwItemIo& io, int structVersion);
    void DeriveWaterLineThresholds(int modes);
    bool StrayCountsFromKernel() const;
    int StructVersion() const;
    bool HwWaterScan() const;

    void StoreRangedDefaults();

    // CParam_SW.cpp
    void PrepareThresholdBlocks();
    void ApplyResearchDerivations();
};
