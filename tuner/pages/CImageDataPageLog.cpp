// The image page's CSV log: started and stopped by its button, one record per timer tick of the
// newest computed frame.
#include <QPushButton>
#include <QSpinBox>

#include "model/ImageMessages.h"
#include "pages/CImageDataPage.h"
#include "pages/MessageBoxes.h"
#include "pages/PageHost.h"
#include "platform/ProgramFolder.h"

using namespace tuner::image;

void CImageDataPage::ToggleLog() {
    if (log_.Running()) {
        logTimer_.stop();
        log_.Stop();
        logButton_->setText(QStringLiteral("Start"));
        return;
    }
    const tuner::TunerState& state = App().State();
    TestKind kind;
    bool testMode;
    {
        std::lock_guard lock(shared_);
        kind = settings_.testKind;
        testMode = settings_.testMode;
    }
    const std::string header =
        ImageLogHeader(state.titles.base, state.texts.modelName, state.texts.firmwareVersion,
                       std::string(type_->text), testMode, kind);
    if (!log_.Start(platform::ProgramFolder(), Now(), header)) {
        ShowUserMessage(tuner::kImageLogOpenFailed);
        logButton_->setText(QStringLiteral("Start"));
        return;
    }
    logTimer_.start(logInterval_->value() * 100);
    logButton_->setText(QStringLiteral("Stop"));
}

void CImageDataPage::LogTick() {
    const ImageWorker::Snapshot snapshot = worker_->Latest();
    if (snapshot == nullptr) return;
    if (!log_.Append(ImageLogRecord(Now(), *snapshot))) {
        logTimer_.stop();
        logButton_->setText(QStringLiteral("Start"));
        ShowUserMessage(tuner::kImageLogOpenFailed);
    }
}
