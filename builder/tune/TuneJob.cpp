#include "tune/TuneJob.h"

#include <algorithm>

#include "chips/CSlave.h"
#include "diag/DiagHost.h"
#include "params/CParam_HW.h"
#include "params/CParam_INI.h"

void InitTuneJob(DiagHost& host, TuneJob& job) {
    job = TuneJob{};
    host.Chip().BuildDefaultImage(job.image);
}

void CompleteTuneJob(DiagHost& host, TuneJob& job, int scanType) {
    const CParam_INI& ini = host.Ini();
    const TuneTargets* targets = &ini.ImageTargets();
    int modeGroup = CSlave::kGroupImg;
    if (scanType == CSlave::kScanWLRx) {
        targets = &ini.WLRxTargets();
        modeGroup = CSlave::kGroupWLRx;
        job.tolerance = 4;
    } else if (scanType == CSlave::kScanWLTx) {
        targets = &ini.WLTxTargets();
        modeGroup = CSlave::kGroupWLTx;
        job.tolerance = 6;
    } else {
        job.tolerance = 2;
    }
    job.scanType = static_cast<uint8_t>(scanType);
    job.signalLevel = targets->signalLevel;
    job.adTarget = targets->adTarget;
    job.adHigh = targets->adUpperLimit;
    job.touchPercent = targets->touchPercent;
    job.rsStart = static_cast<int8_t>(targets->rsTarget);

    // The IC information gives each Tx chip five values: the image, water-line Rx and water-line
    // Tx DACVB come first.
    const int dacColumn = scanType == CSlave::kScanWLRx ? 1 : scanType == CSlave::kScanWLTx ? 2 : 0;
    const int txChips = std::min<int>(host.Hw().NumsOfTxChips(), TuneJob::kDacValues);
    for (int i = 0; i < txChips; ++i)
        job.dacValues[static_cast<size_t>(i)] =
            host.Geometry().icInfo[static_cast<size_t>(i)][static_cast<size_t>(dacColumn)];

    const std::span<uint8_t> image = host.Hw().ModeImage(0, modeGroup);
    if (image.size() >= job.image.size())
        std::copy_n(image.begin(), job.image.size(), job.image.begin());
}
