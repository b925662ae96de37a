#include "pages/CDrawTestPage.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "pages/PageHost.h"
#include "pages/MessageBoxes.h"
#include "pages/FullScreenWindow.h"

using tuner::InfoMode;

namespace {

constexpr int kPointPanelMs = 20;

}  // namespace

CDrawTestPage::CDrawTestPage(PageHost& app, QWidget* parent)
    : CSheetPage(app, tuner::PageKind::kDrawTest, parent),
      c_(MakeDrawTestControls(this)),
      model_(QCoreApplication::applicationDirPath().toStdString()) {
    setObjectName(QStringLiteral("drawTestPage"));
    clock_.start();
    model_.ResetSlots(clock_.elapsed());
    for (QTimer* timer : {&redrawTimer_, &fullScreenTimer_, &viewTimer_, &pointPanelTimer_})
        timer->setSingleShot(true);
    connect(&redrawTimer_, &QTimer::timeout, this, &CDrawTestPage::CleanCanvas);
    connect(&fullScreenTimer_, &QTimer::timeout, this, &CDrawTestPage::DrawFullScreen);
    connect(&viewTimer_, &QTimer::timeout, this, &CDrawTestPage::RefreshViews);
    connect(&pointPanelTimer_, &QTimer::timeout, this, &CDrawTestPage::RefreshPointPanel);
    maxima_ = app.State().coordinateMaxima;
    const tuner::ChannelInfo channels = app.State().channels.Get();
    c_.sensorX->setValue(channels.sensorSizeX);
    c_.sensorY->setValue(channels.sensorSizeY);
    ConnectControls();
    ReadDrawSettings();
    app.UpdateTitle();
}

CDrawTestPage::~CDrawTestPage() {
    fullScreen_.reset();
    RemoveSubscriptions();
    // The frame then returns the controller to normal mode and closes it.
    if (App().Device() != nullptr) devSetInfoReport(App().Device(), 0);
}

void CDrawTestPage::ConnectControls() {
    connect(c_.touchInfo, &QCheckBox::clicked, this,
            [this](bool on) { SetInfoBox(InfoMode::kTouch, on); });
    connect(c_.penInfo, &QCheckBox::clicked, this,
            [this](bool on) { SetInfoBox(InfoMode::kStylus, on); });
    connect(c_.infoClean, &QPushButton::clicked, this, &CDrawTestPage::CleanInformation);
    connect(c_.freqNext, &QPushButton::clicked, this, [this] { StepFrequency(true); });
    connect(c_.freqPrevious, &QPushButton::clicked, this, [this] { StepFrequency(false); });
    connect(c_.softRestart, &QPushButton::clicked, this, &CDrawTestPage::SoftRestart);
    connect(c_.startLog, &QPushButton::clicked, this, &CDrawTestPage::StartLog);
    connect(c_.stopLog, &QPushButton::clicked, this, &CDrawTestPage::StopLog);
    connect(c_.clean, &QPushButton::clicked, this, &CDrawTestPage::CleanCanvas);
    connect(c_.fullScreen, &QPushButton::clicked, this, &CDrawTestPage::OpenFullScreen);
    connect(c_.canvas, &DrawSurface::Resized, this, &CDrawTestPage::CleanCanvas);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             c_.dots, c_.lines, c_.circleUp, c_.circleDown, c_.penMode, c_.penTilt, c_.rxTrace,
             c_.txTrace, c_.zTrace, c_.ignoreError, c_.noiseView, c_.waterView})
        connect(b, &QAbstractButton::toggled, this, [this] {
            ReadDrawSettings();
            graphDirty_ = true;
            ScheduleViews();
        });
    connect(c_.filter, &QCheckBox::clicked, this,
            [this](bool on) { device_.SetFiltered(App().Device(), on); });
    connect(c_.touchThresholds, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!fillingLists_ && index >= 0) Show(device_.SelectTouchThreshold(App().Device(), index));
    });
    connect(c_.penThresholds, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!fillingLists_ && index >= 0)
            Show(device_.SelectStylusThreshold(App().Device(), index));
    });
}

void CDrawTestPage::ReadDrawSettings() {
    model_.settings.lines = c_.lines->isChecked();
    model_.settings.circleUp = c_.circleUp->isChecked();
    model_.settings.circleDown = c_.circleDown->isChecked();
    model_.settings.penMode = c_.penMode->isChecked();
    model_.settings.penTilt = c_.penTilt->isChecked();
    model_.traces = {c_.rxTrace->isChecked(), c_.txTrace->isChecked(), c_.zTrace->isChecked()};
    model_.ignoreErrors = c_.ignoreError->isChecked();
    model_.graphView =
        c_.waterView->isChecked() ? tuner::GraphView::kWater : tuner::GraphView::kNoise;
}

// ---- Activation ---------------------------------------------------------------------------------

void CDrawTestPage::showEvent(QShowEvent* event) {
    CSheetPage::showEvent(event);
    if (!active_) Activate();
}

void CDrawTestPage::hideEvent(QHideEvent* event) {
    CSheetPage::hideEvent(event);
    // Hidden because another page was chosen, not because the window was minimised.
    if (!isVisibleTo(parentWidget()) && active_) {
        active_ = false;
        RemoveSubscriptions();
    }
}

void CDrawTestPage::Activate() {
    active_ = true;
    RemoveSubscriptions();
    model_.ResetSlots(clock_.elapsed());
    const DevHandle h = App().Device();
    if (h == nullptr) return;
    c_.icType->setText(QString::fromStdString(App().State().texts.icType));
    maxima_ = App().State().coordinateMaxima;
    Show(device_.BeginActivation(h));
    Subscribe();
    Show(device_.EndActivation(h));
    ShowFirmwareInformation();
    ShowThresholdLists();
    redrawTimer_.start(kRedrawDelayMs);
}

void CDrawTestPage::Subscribe() {
    using namespace tuner;
    PostReportsHere(kKindDeviceStatus, kMsgDeviceStatus);
    PostFilteredReportsHere(kKindPoints, kSubPoints, kMsgPoints);
    PostReportsHere(kKindTouchKey, kMsgTouchKey);
    PostFilteredReportsHere(kKindInfo, kSubTouchInfo, kMsgTouchInfo);
    PostFilteredReportsHere(kKindInfo, kSubStylusInfo, kMsgStylusInfo);
}

void CDrawTestPage::Show(const tuner::Messages& messages) {
    for (const tuner::UserMessage& message : messages) ShowUserMessage(message);
}

void CDrawTestPage::ShowFirmwareInformation() {
    c_.errorCode->setText(QString::fromStdString(device_.ErrorText()));
    c_.errorInfo->setText(QString::fromStdString(device_.ErrorNames()));
    const tuner::FrequencyState& f = device_.Frequency();
    c_.freqIndex->setText(QString::number(f.index));
    c_.freqValue->setText(QString::fromStdString(f.text));
}

void CDrawTestPage::ShowThresholdLists() {
    fillingLists_ = true;
    auto fill = [](QComboBox* box, const tuner::ThresholdList& list) {
        box->clear();
        for (const std::string& entry : list.entries) box->addItem(QString::fromStdString(entry));
        box->setCurrentIndex(list.selected);
    };
    fill(c_.touchThresholds, device_.TouchThresholds());
    fill(c_.penThresholds, device_.StylusThresholds());
    fillingLists_ = false;
}

void CDrawTestPage::resizeEvent(QResizeEvent* event) {
    CSheetPage::resizeEvent(event);
    LayOutDrawTestControls(c_, size());
}

// ---- Reports ------------------------------------------------------------------------------------

void CDrawTestPage::OnPostedReport(uint32_t message, const DevReport& report) {
    switch (message) {
        case tuner::kMsgDeviceStatus:
            if (tuner::IsDisconnectNotice(report)) App().ForgetDevice();
            break;
        case tuner::kMsgPoints:
            OnPoints(report);
            break;
        case tuner::kMsgTouchKey:
            OnTouchKey(report);
            break;
        case tuner::kMsgTouchInfo:
            OnTouchInfo(report);
            break;
        case tuner::kMsgStylusInfo:
            OnStylusInfo(report);
            break;
        default:
            break;
    }
}

void CDrawTestPage::OnTouchInfo(const DevReport& report) {
    const auto now = model_.Logs().Logging() ? tuner::LocalClockTime() : tuner::ClockTime{};
    const tuner::InfoUpdate update = model_.OnTouchInfo(report, device_.Info(), now);
    infoPanelDirty_ = true;
    graphDirty_ = graphDirty_ || update.graphDue;
    ScheduleViews();
    if (update.logFailure) {
        EndLogging();
        ShowUserMessage(*update.logFailure);
    }
}

void CDrawTestPage::OnStylusInfo(const DevReport& report) {
    const auto now = model_.Logs().Logging() ? tuner::LocalClockTime() : tuner::ClockTime{};
    const tuner::InfoUpdate update =
        model_.OnStylusInfo(report, device_.Info(), device_.StylusChannels(), now);
    infoPanelDirty_ = true;
    graphDirty_ = graphDirty_ || update.graphDue;
    ScheduleViews();
    if (update.logFailure) {
        EndLogging();
        ShowUserMessage(*update.logFailure);
    }
}

void CDrawTestPage::OnPoints(const DevReport& report) {
    const auto now = model_.Logs().Logging() ? tuner::LocalClockTime() : tuner::ClockTime{};
    tuner::DrawOps ops;
    if (fullScreen_ && fullScreen_->isVisible()) {
        const tuner::DrawArea area = FullScreenArea();
        model_.OnPoints(report, area, clock_.elapsed(), now, ops);
        fullScreen_->Draw(ops);
        CheckFullScreenBoxes(report, area);
        return;
    }
    if (!model_.OnPoints(report, CanvasArea(), clock_.elapsed(), now, ops)) return;
    c_.canvas->Draw(ops);
    if (!pointPanelTimer_.isActive()) pointPanelTimer_.start(kPointPanelMs);
}

void CDrawTestPage::CheckFullScreenBoxes(const DevReport& report, const tuner::DrawArea& area) {
    const tuner::PointReport points = tuner::DecodePoints(report);
    for (int k = 0; k < points.count; ++k) {
        const tuner::PointRecord& r = points.points[static_cast<std::size_t>(k)];
        if (r.Contact() || r.id >= tuner::kPointSlots) continue;
        const tuner::PointSlot& slot = model_.Slots().Slot(r.id);
        const int maxX = r.InRange() ? area.stylusMaxX : area.touchMaxX;
        const int maxY = r.InRange() ? area.stylusMaxY : area.touchMaxY;
        const QPoint at(static_cast<int>(int64_t{slot.x} * area.width / std::max(1, maxX)),
                        static_cast<int>(int64_t{slot.y} * area.height / std::max(1, maxY)));
        if (fullScreen_->QuitBox().contains(at)) {
            CloseFullScreen();
            return;
        }
        if (fullScreen_->CleanBox().contains(at)) DrawFullScreen();
    }
}

void CDrawTestPage::OnTouchKey(const DevReport& report) {
    const tuner::TouchKeyCounts counts = App().State().touchKeys;
    const int keys = counts.keys != 0 ? counts.keys : counts.secondKeys;
    tuner::KeyStrip strip;
    if (!strip.Apply(report, keys, fullScreen_ != nullptr)) return;
    c_.keyStrip->Fill(tuner::kWhite);
    c_.keyStrip->Draw(strip.Paint(c_.keyStrip->width(), c_.keyStrip->height()));
}
