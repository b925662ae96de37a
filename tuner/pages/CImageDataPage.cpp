#include "pages/CImageDataPage.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>

#include "pages/PageHost.h"
#include "pages/ImageViewerWindow.h"
#include "pages/MessageBoxes.h"
#include "model/DeviceSession.h"
#include "model/ImageMessages.h"
#include "model/UniformityTable.h"

using namespace tuner::image;

namespace {

constexpr uint8_t kImageKind = 0x4A, kListKind = 0x4B, kStatusKind = 0x3B;
constexpr uint32_t kStatusMessage = 0x465;

}  // namespace

CImageDataPage::CImageDataPage(PageHost& app, QWidget* parent)
    : CSheetPage(app, tuner::PageKind::kImageData, parent), type_(FindDataType(kDefaultDataType)) {
    setObjectName(QStringLiteral("imageDataPage"));
    worker_ = std::make_unique<ImageWorker>(
        frames_,
        [this] {
            std::lock_guard lock(shared_);
            return settings_;
        },
        [this](const ImageWorker::Snapshot& s) { Draw(s); });
    BuildControls();
    connect(&logTimer_, &QTimer::timeout, this, &CImageDataPage::LogTick);
    app.UpdateTitle();
}

CImageDataPage::~CImageDataPage() {
    Deactivate();
}

void CImageDataPage::showEvent(QShowEvent* event) {
    CSheetPage::showEvent(event);
    if (!event->spontaneous()) Activate();
}

void CImageDataPage::hideEvent(QHideEvent* event) {
    CSheetPage::hideEvent(event);
    if (!event->spontaneous()) Deactivate();
}

void CImageDataPage::resizeEvent(QResizeEvent* event) {
    CSheetPage::resizeEvent(event);
    StyleChanged();  // the worker draws at the new size
}

void CImageDataPage::OnImageReport(void* context, int, const DevReport* report) {
    auto* page = static_cast<CImageDataPage*>(context);
    if (page->frames_.OnImageReport(*report)) page->worker_->SignalFrame();
}

void CImageDataPage::OnListReport(void* context, int, const DevReport* report) {
    static_cast<CImageDataPage*>(context)->list_.OnListReport(*report);
}

void CImageDataPage::Activate() {
    DevHandle device = App().Device();
    if (active_ || device == nullptr) return;
    active_ = true;
    devSwitchWorkMode(device, tuner::kCommandMode);
    RemoveSubscriptions();
    PostReportsHere(kStatusKind, kStatusMessage);
    frameSubscription_ = devAddReportHandler(device, kImageKind, kDevAnySubCode, this, OnImageReport);
    listSubscription_ = devAddReportHandler(device, kListKind, kDevAnySubCode, this, OnListReport);

    ReadGeometry();
    StepFrequency(0);
    worker_->Start();
    SendReportWindow();
    ReadUniformityTable();
    SelectDataType(dataType_->currentText());
}

void CImageDataPage::ReadGeometry() {
    channels_ = App().State().channels.Get();
    {
        // A software restart changes the channels while the worker draws.
        std::lock_guard lock(shared_);
        drawChannels_ = channels_;
    }
    const tuner::TouchKeyCounts keys = App().State().touchKeys;
    geometry_ = MakeGeometry(channels_, keys.keys != 0 ? keys.keys : keys.secondKeys);
    uniformityScale_ = channels_.uniformityScale;
    if (!RangeWindowValid(range_, geometry_)) range_ = DefaultRangeWindow(geometry_);
    worker_->WithProcessor([&](ImageProcessor& p) { p.SetGeometry(geometry_); });
}

void CImageDataPage::Deactivate() {
    if (!active_) return;
    if (viewer_ != nullptr) viewer_->close();
    active_ = false;
    pointedRow_ = pointedColumn_ = -1;
    magnifier_ = magnifierLocked_ = false;
    DevHandle device = App().Device();
    if (device != nullptr) devSwitchWorkMode(device, tuner::kCommandMode);
    worker_->Stop();
    for (DevSubscription* s : {&frameSubscription_, &listSubscription_}) {
        if (*s != nullptr && device != nullptr) devRemoveReportHandler(device, *s);
        *s = nullptr;
    }
    RemoveSubscriptions();
    if (log_.Running()) ToggleLog();
}

bool CImageDataPage::SendReportWindow() {
    DevHandle device = App().Device();
    plan_ = PlanFor(mode_, quadrant_, range_, geometry_);
    frames_.Configure(plan_.expectedLastRow, plan_.rowLength, geometry_.keys);
    {
        std::lock_guard lock(shared_);
        settings_.window = plan_.window;
    }
    devSwitchWorkMode(device, tuner::kCommandMode);
    frames_.Restart();
    const ChannelWindow& w = plan_.window;
    const bool sent = devSetReportImage(device, w.firstRx, w.lastRx, w.firstTx, w.lastTx) != 0;
    if (!sent) ShowUserMessage(tuner::kSetReportImageFailed);
    devSwitchWorkMode(device, type_->workingMode);
    return sent;
}

void CImageDataPage::SelectDataType(const QString& text) {
    const DataType* type = FindDataType(text.toStdString());
    DevHandle device = App().Device();
    if (device != nullptr) devSwitchWorkMode(device, tuner::kCommandMode);
    const int index = dataType_->findText(text);
    if (type == nullptr || index < 0) return;
    type_ = type;
    if (dataType_->currentIndex() != index) dataType_->setCurrentIndex(index);
    satMax_->setEnabled(false);
    satMin_->setEnabled(false);
    // No frame of the previous type's stream reaches the new type's computation or baseline.
    frames_.Restart();
    worker_->WithProcessor([&](ImageProcessor& p) { p.SelectType(*type); });
    if (device != nullptr && active_) devSwitchWorkMode(device, type->workingMode);
}

void CImageDataPage::SetDisplayMode(DisplayMode mode, int quadrant) {
    if (mode == DisplayMode::kRange) {
        const ChannelWindow typed{rangeBoxes_[0]->value(), rangeBoxes_[1]->value(),
                                  rangeBoxes_[2]->value(), rangeBoxes_[3]->value()};
        if (!RangeWindowValid(typed, geometry_)) {
            ShowUserMessage(tuner::kRangeWindowInvalid);
            ApplyModeControls();
            return;
        }
        range_ = typed;
    }
    mode_ = mode;
    if (quadrant >= 1 && quadrant <= 4) quadrant_ = quadrant;
    ApplyModeControls();
    if (active_) SendReportWindow();
}

void CImageDataPage::ReadUniformityTable() {
    const UniformityRead read = tuner::image::ReadUniformityTable(App().Device());
    UniformitySubTable sub;
    if (read.result == TableRead::kReadError) ShowUserMessage(tuner::kUniformityReadFailed);
    if (read.result == TableRead::kInvalid) ShowUserMessage(tuner::kUniformityInvalid);
    if (read.result == TableRead::kOk)
        sub = ParseSubTable(read.table, read.frequencyIndex, uniformityScale_,
                            channels_.kernelMajor, channels_.kernelMinor);
    worker_->WithProcessor([&](ImageProcessor& p) { p.SetUniformity(std::move(sub)); });
}

void CImageDataPage::StepFrequency(int step) {
    DevHandle device = App().Device();
    uint8_t table[64] = {};
    devSwitchWorkMode(device, tuner::kCommandMode);
    if (devGetFrequencyTable(device, table) == 0) return;
    const int count = table[0];
    uint8_t index = table[1];
    if (step != 0 && count > 0) {
        int next = index + step;
        if (next < 0) next = count - 1;
        if (next >= count) next = 0;
        uint8_t scratch[64] = {};
        if (devSetFrequency(device, scratch, static_cast<uint8_t>(next)) == 0) {
            ShowUserMessage(tuner::kSetFrequencyFailed);
        } else {
            devGetFrequencyTable(device, table);
            index = table[1];
        }
    }
    const size_t at = 2 + 2 * static_cast<size_t>(std::min<int>(index, 30));
    frequency_->setText(QString::asprintf("%.3f KHz", (table[at] | (table[at + 1] << 8)) / 100.0));
    if (step == 0) return;
    ReadUniformityTable();
    SendReportWindow();
    SelectDataType(dataType_->currentText());
}

void CImageDataPage::SoftwareRestart() {
    DevHandle device = App().Device();
    if (devRestart(device, type_->workingMode) == 0) {
        ShowUserMessage(tuner::kRestartFailed);
        return;
    }
    ShowUserMessage(tuner::kRestartDone);
    App().RefreshChannelInformation();
    App().UpdateTitle();
    if (!active_) return;
    // The stream stops while the geometry changes; the worker, the subscriptions and a running
    // image log carry on.
    devSwitchWorkMode(device, tuner::kCommandMode);
    ReadGeometry();
    StepFrequency(0);
    SendReportWindow();
    ReadUniformityTable();
    SelectDataType(dataType_->currentText());
}

void CImageDataPage::Draw(const ImageWorker::Snapshot& snapshot) {
    GridStyle style;
    QSize gridSize, keySize;
    tuner::ChannelInfo channels;
    {
        std::lock_guard lock(shared_);
        style = style_;
        channels = drawChannels_;
        gridSize = gridSize_;
        keySize = keySize_;
    }
    QImage grid = RenderGrid(*snapshot, style, channels, gridSize);
    QImage keys = RenderKeyStrip(*snapshot, style, keySize);
    {
        std::lock_guard lock(shared_);
        drawnGrid_ = std::move(grid);
        drawnKeys_ = std::move(keys);
        drawn_ = snapshot;
    }
    // One picture waits at most; a newer one replaces it before it is shown.
    if (!showPending_.exchange(true))
        QMetaObject::invokeMethod(this, [this] { ShowDrawn(); }, Qt::QueuedConnection);
}

void CImageDataPage::ShowDrawn() {
    showPending_.store(false);
    QImage grid, keys;
    {
        std::lock_guard lock(shared_);
        grid = drawnGrid_;
        keys = drawnKeys_;
        shown_ = drawn_;
    }
    if (!active_ || shown_ == nullptr) return;
    if (viewer_ != nullptr) {
        viewer_->SetPicture(grid);
    } else {
        shownGrid_ = grid;
        ShowPicture();
    }
    keys_->setPixmap(QPixmap::fromImage(keys));
    keys_->setVisible(!shown_->keys.empty());
    statistics_->setText(QString::fromStdString(StatisticsLine(*shown_)));
    ++picturesShown_;
    // The key strip, the layout or the full-screen window changed the grid's room: the next
    // picture is drawn to fit.
    const QWidget* target = PictureTarget();
    if (!target->size().isEmpty() && target->size() != grid.size()) StyleChanged();
}

QString CImageDataPage::StatisticsText() const {
    return statistics_->text();
}
