// The image page's controls, their layout, and the page's keys.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "pages/PageHost.h"
#include "pages/CImageDataPage.h"

using namespace tuner::image;

namespace {

QSpinBox* Box(int low, int high, int value) {
    auto* box = new QSpinBox;
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

}  // namespace

void CImageDataPage::BuildControls() {
    auto* top = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    auto* third = new QHBoxLayout;    // the buttons that act on the controller and the log
    auto* testRow = new QHBoxLayout;  // the test mode's accumulation

    dataType_ = new QComboBox;
    const tuner::ChannelInfo info = App().State().channels.Get();
    for (const DataType& type : OfferedDataTypes(info.kernelMajor, info.kernelMinor))
        dataType_->addItem(QString::fromUtf8(type.text.data(), static_cast<int>(type.text.size())));
    connect(dataType_, &QComboBox::textActivated, this, &CImageDataPage::SelectDataType);
    top->addWidget(dataType_);

    auto* slower = new QPushButton(QStringLiteral("<"));
    auto* faster = new QPushButton(QStringLiteral(">"));
    speed_ = new QLineEdit(QStringLiteral("3"));
    speed_->setReadOnly(true);
    speed_->setMaximumWidth(40);
    auto setSpeed = [this](int step) {
        frames_.SetSkipCount(frames_.SkipCount() + step);
        speed_->setText(QString::number(frames_.SkipCount()));
    };
    connect(slower, &QPushButton::clicked, this, [setSpeed] { setSpeed(-1); });
    connect(faster, &QPushButton::clicked, this, [setSpeed] { setSpeed(1); });
    top->addWidget(new QLabel(QStringLiteral("SPEED")));
    top->addWidget(slower);
    top->addWidget(speed_);
    top->addWidget(faster);

    modes_ = new QButtonGroup(this);
    const char* modeNames[] = {"TOTAL", "UP", "DN", "RANGE", "QUAD"};
    for (int m = 0; m < 5; ++m) {
        auto* radio = new QRadioButton(QString::fromLatin1(modeNames[m]));
        modes_->addButton(radio, m);
        top->addWidget(radio);
    }
    modes_->button(0)->setChecked(true);
    connect(modes_, &QButtonGroup::idClicked, this,
            [this](int id) { SetDisplayMode(static_cast<DisplayMode>(id)); });
    for (int q = 0; q < 4; ++q) {
        quadrants_[q] = new QPushButton(QString::number(q + 1));
        quadrants_[q]->setObjectName(QStringLiteral("quadrant%1").arg(q + 1));
        quadrants_[q]->setMaximumWidth(28);
        connect(quadrants_[q], &QPushButton::clicked, this,
                [this, q] { SetDisplayMode(DisplayMode::kQuad, q + 1); });
        top->addWidget(quadrants_[q]);
    }
    // The RANGE window: first and last Rx, first and last Tx.
    for (int i = 0; i < 4; ++i) {
        if (i % 2 == 0)
            second->addWidget(new QLabel(i == 0 ? QStringLiteral("Rx") : QStringLiteral("Tx")));
        rangeBoxes_[i] = Box(0, 255, 0);
        second->addWidget(rangeBoxes_[i]);
    }

    pause_ = new QPushButton(QStringLiteral("P a u s e"));
    connect(pause_, &QPushButton::clicked, this, &CImageDataPage::TogglePause);
    third->addWidget(pause_);
    pause_->setObjectName(QStringLiteral("pause"));
    auto* restart = new QPushButton(QStringLiteral("SOFT  RESTART"));
    restart->setObjectName(QStringLiteral("softRestart"));
    connect(restart, &QPushButton::clicked, this, &CImageDataPage::SoftwareRestart);
    third->addWidget(restart);
    fullScreen_ = new QPushButton(QStringLiteral("FULL  SCREEN"));
    fullScreen_->setObjectName(QStringLiteral("fullScreen"));
    connect(fullScreen_, &QPushButton::clicked, this, &CImageDataPage::OpenFullScreen);
    third->addWidget(fullScreen_);
    top->addStretch();

    thLow_ = Box(0, 32767, 3);
    thHigh_ = Box(0, 32767, 15);
    showValue_ = new QCheckBox(QStringLiteral("Show Value"));
    showValue_->setChecked(true);
    colourScale_ = new QCheckBox(QStringLiteral("Color Scale"));
    calTarget_ = new QCheckBox(QStringLiteral("CalTarget"));
    for (QSpinBox* box : {thLow_, thHigh_})
        connect(box, &QSpinBox::valueChanged, this, &CImageDataPage::StyleChanged);
    for (QCheckBox* box : {showValue_, colourScale_, calTarget_})
        connect(box, &QCheckBox::toggled, this, &CImageDataPage::StyleChanged);
    second->addWidget(new QLabel(QStringLiteral("ThL")));
    second->addWidget(thLow_);
    second->addWidget(new QLabel(QStringLiteral("ThH")));
    second->addWidget(thHigh_);
    second->addWidget(showValue_);
    second->addWidget(colourScale_);
    second->addWidget(calTarget_);

    go_ = new QPushButton(QStringLiteral("GO"));
    connect(go_, &QPushButton::clicked, this, &CImageDataPage::ToggleTestMode);
    testKinds_ = new QButtonGroup(this);
    const char* kinds[] = {"Counts", "Max", "Min"};
    testRow->addWidget(go_);
    for (int k = 0; k < 3; ++k) {
        auto* radio = new QRadioButton(QString::fromLatin1(kinds[k]));
        testKinds_->addButton(radio, k);
        testRow->addWidget(radio);
    }
    testKinds_->button(0)->setChecked(true);
    // Selecting a data type disables these two, and nothing enables them again.
    auto* saturation = new QButtonGroup(this);
    satMax_ = new QRadioButton(QStringLiteral("Sat-Max"));
    satMin_ = new QRadioButton(QStringLiteral("Sat-Min"));
    satMax_->setObjectName(QStringLiteral("satMax"));
    satMin_->setObjectName(QStringLiteral("satMin"));
    for (QRadioButton* radio : {satMax_, satMin_}) {
        saturation->addButton(radio);
        radio->setEnabled(false);
        testRow->addWidget(radio);
    }
    countThreshold_ = Box(-32768, 32767, 0);
    testRow->addWidget(new QLabel(QStringLiteral("Th")));
    testRow->addWidget(countThreshold_);
    auto* clean = new QPushButton(QStringLiteral("Clean"));
    connect(clean, &QPushButton::clicked, this, [this] {
        worker_->WithProcessor([](ImageProcessor& p) { p.ResetAccumulators(); });
        frames_.Clear();
        worker_->SignalFrame();
    });
    testRow->addWidget(clean);
    auto settingsChanged = [this] {
        std::lock_guard lock(shared_);
        settings_.testKind = static_cast<TestKind>(testKinds_->checkedId());
        settings_.countThreshold = countThreshold_->value();
    };
    connect(testKinds_, &QButtonGroup::idClicked, this, settingsChanged);
    connect(countThreshold_, &QSpinBox::valueChanged, this, settingsChanged);

    logButton_ = new QPushButton(QStringLiteral("Start"));
    connect(logButton_, &QPushButton::clicked, this, &CImageDataPage::ToggleLog);
    logInterval_ = Box(1, 600, 10);
    third->addWidget(new QLabel(QStringLiteral("Log")));
    third->addWidget(logInterval_);
    third->addWidget(logButton_);
    auto* lower = new QPushButton(QStringLiteral("<<"));
    auto* higher = new QPushButton(QStringLiteral(">>"));
    lower->setObjectName(QStringLiteral("frequencyDown"));
    higher->setObjectName(QStringLiteral("frequencyUp"));
    frequency_ = new QLabel;
    connect(lower, &QPushButton::clicked, this, [this] { StepFrequency(-1); });
    connect(higher, &QPushButton::clicked, this, [this] { StepFrequency(1); });
    third->addWidget(lower);
    third->addWidget(frequency_);
    third->addWidget(higher);
    second->addStretch();
    third->addStretch();
    testRow->addStretch();

    grid_ = new CImageControl;
    connect(grid_, &CImageControl::PointerEvent, this, &CImageDataPage::OnPointer);
    grid_->setObjectName(QStringLiteral("imageGrid"));
    grid_->setMinimumSize(200, 120);
    grid_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    grid_->setStyleSheet(QStringLiteral("background: black"));
    grid_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    statistics_ = new QLabel;
    statistics_->setStyleSheet(QStringLiteral("background: white; color: black"));
    keys_ = new QLabel;
    keys_->setFixedHeight(30);
    keys_->setVisible(false);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addLayout(second);
    page->addLayout(third);
    page->addLayout(testRow);
    page->addWidget(grid_, 1);
    page->addWidget(statistics_);
    page->addWidget(keys_);
    ApplyModeControls();
    StyleChanged();
}

void CImageDataPage::ApplyModeControls() {
    modes_->button(static_cast<int>(mode_))->setChecked(true);
    const bool quad = mode_ == DisplayMode::kQuad;
    for (int q = 0; q < 4; ++q) quadrants_[q]->setEnabled(quad && q + 1 != quadrant_);
    const bool rangeBoxes = mode_ != DisplayMode::kRange && !quad;
    const int values[] = {range_.firstRx, range_.lastRx, range_.firstTx, range_.lastTx};
    for (int i = 0; i < 4; ++i) {
        rangeBoxes_[i]->setEnabled(rangeBoxes);
        rangeBoxes_[i]->setValue(values[i]);
    }
}

void CImageDataPage::StyleChanged() {
    std::lock_guard lock(shared_);
    style_.thresholdLow = thLow_->value();
    style_.thresholdHigh = thHigh_->value();
    style_.showValue = showValue_->isChecked();
    style_.colourScale = colourScale_->isChecked();
    style_.calTarget = calTarget_->isChecked();
    const QWidget* target = PictureTarget();
    if (target->width() > 0 && target->height() > 0) gridSize_ = target->size();
    keySize_ = QSize(std::max(grid_->width(), 1), keys_->height());
    if (worker_) worker_->Redraw();  // also while paused
}

void CImageDataPage::SetColourScale(bool on) {
    colourScale_->setChecked(on);
}

void CImageDataPage::SetShowValue(bool on) {
    showValue_->setChecked(on);
}

void CImageDataPage::TogglePause() {
    const bool paused = !frames_.Paused();
    frames_.SetPaused(paused);
    list_.SetPaused(paused);
    pause_->setText(paused ? QStringLiteral("S t a r t") : QStringLiteral("P a u s e"));
}

void CImageDataPage::ToggleTestMode() {
    std::lock_guard lock(shared_);
    settings_.testMode = !settings_.testMode;
    go_->setText(settings_.testMode ? QStringLiteral("STOP") : QStringLiteral("GO"));
}
