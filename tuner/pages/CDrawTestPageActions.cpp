// The draw-test page's buttons and keys: information streams, frequency, restart, logs, the
// information clean and the full-screen window.
#include <QKeyEvent>

#include "pages/PageHost.h"
#include "pages/MessageBoxes.h"
#include "model/TestPattern.h"
#include "pages/CDrawTestPage.h"
#include "pages/FullScreenWindow.h"

using tuner::InfoMode;

void CDrawTestPage::SetInfoBox(InfoMode box, bool on) {
    const tuner::Messages messages = device_.SetInfoBox(App().Device(), box, on);
    const InfoMode mode = device_.Info();
    c_.touchInfo->setChecked(mode == InfoMode::kTouch);
    c_.penInfo->setChecked(mode == InfoMode::kStylus);
    c_.noiseView->setEnabled(mode == InfoMode::kTouch);
    c_.waterView->setEnabled(mode == InfoMode::kTouch);
    CleanInformation();
    c_.clean->setFocus();
    Show(messages);
}

void CDrawTestPage::CleanInformation() {
    model_.CleanInfo();
    c_.infoPanel->Fill(tuner::kWhite);
    c_.graph->Fill(tuner::kBlack);
    infoPanelDirty_ = graphDirty_ = false;
}

void CDrawTestPage::StepFrequency(bool forward) {
    Show(device_.StepFrequency(App().Device(), forward));
    ShowFirmwareInformation();
    ShowThresholdLists();
}

void CDrawTestPage::SoftRestart() {
    CleanInformation();
    const tuner::Messages messages = device_.Restart(App().Device(), [this] {
        const bool refreshed = App().RefreshChannelInformation();
        App().UpdateTitle();
        return refreshed;
    });
    ShowFirmwareInformation();
    Show(messages);
}

void CDrawTestPage::StartLog() {
    c_.startLog->setEnabled(false);
    c_.touchInfo->setEnabled(false);
    c_.penInfo->setEnabled(false);
    c_.stopLog->setEnabled(true);
    model_.Logs().Start(c_.penMode->isChecked(), device_.Info(), tuner::LocalClockTime());
}

void CDrawTestPage::EndLogging() {
    c_.startLog->setEnabled(true);
    c_.touchInfo->setEnabled(true);
    c_.penInfo->setEnabled(true);
    c_.stopLog->setEnabled(false);
}

void CDrawTestPage::StopLog() {
    EndLogging();
    Show(model_.Logs().Stop(tuner::LocalClockTime()));
}

// ---- Full screen --------------------------------------------------------------------------------

void CDrawTestPage::OpenFullScreen() {
    if (fullScreen_) return;
    c_.fullScreen->setEnabled(false);
    fullScreen_ = std::make_unique<FullScreenWindow>();
    connect(fullScreen_.get(), &FullScreenWindow::Closed, this, &CDrawTestPage::CloseFullScreen,
            Qt::QueuedConnection);
    connect(fullScreen_.get(), &FullScreenWindow::RedrawRequested, this,
            &CDrawTestPage::DrawFullScreen);
    connect(fullScreen_.get(), &FullScreenWindow::PageKey, this,
            [this](int key, const QString& text) {
                HandlePageKey(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
            });
    fullScreen_->showFullScreen();
    fullScreenTimer_.start(kRedrawDelayMs);
}

void CDrawTestPage::DrawFullScreen() {
    if (!fullScreen_) return;
    model_.ResetSlots(clock_.elapsed());
    const tuner::ChannelInfo channels = App().State().channels.Get();
    const tuner::PatternGeometry g{fullScreen_->width(), fullScreen_->height(),
                                   channels.sensorSizeX, channels.sensorSizeY,
                                   c_.distance->value()};
    fullScreen_->DrawFrame(Background(), tuner::TestPattern(g, kPatternPen));
}

void CDrawTestPage::CloseFullScreen() {
    if (!fullScreen_) return;
    fullScreenTimer_.stop();
    // Closing may come from the window's own event handler: let it finish first.
    fullScreen_.release()->deleteLater();
    c_.fullScreen->setEnabled(true);
    redrawTimer_.start(kRedrawDelayMs);
}

// ---- Keys ---------------------------------------------------------------------------------------

bool CDrawTestPage::HandlePageKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        case Qt::Key_T:
            if (c_.touchInfo->isEnabled()) SetInfoBox(InfoMode::kTouch, !c_.touchInfo->isChecked());
            return true;
        case Qt::Key_D:
            model_.hexDebug = !model_.hexDebug;
            infoPanelDirty_ = true;
            ScheduleViews();
            return true;
        case Qt::Key_L:
            if (model_.Logs().Logging())
                StopLog();
            else
                StartLog();
            return true;
        case Qt::Key_R:
            SoftRestart();
            return true;
        case Qt::Key_Plus:
            StepFrequency(true);
            return true;
        case Qt::Key_Minus:
            StepFrequency(false);
            return true;
        case Qt::Key_Space:
            CleanCanvas();
            return true;
        case Qt::Key_F:
            OpenFullScreen();
            return true;
        default:
            return CSheetPage::HandlePageKey(event);
    }
}
