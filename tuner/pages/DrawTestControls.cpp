#include "pages/DrawTestControls.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

constexpr int kMargin = 10;
constexpr int kGap = 5;
constexpr int kGraphHeight = 170;
constexpr int kInfoPanelHeight = 86;
constexpr int kListRowHeight = 26;
constexpr int kPointPanelWidth = 330;
constexpr int kListWidth = 130;

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* ReadOnlyBox(QWidget* parent, const char* name, int width) {
    auto* box = Named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    if (width > 0) box->setFixedWidth(width);
    return box;
}

QSpinBox* NumberBox(QWidget* parent, const char* name, int value) {
    auto* box = Named(new QSpinBox(parent), name);
    box->setRange(0, 65535);
    box->setValue(value);
    return box;
}

QLabel* Caption(QWidget* parent, const char* text) {
    return new QLabel(QString::fromLatin1(text), parent);
}

}  // namespace

DrawTestControls MakeDrawTestControls(QWidget* page) {
    DrawTestControls c;
    c.controlBar = Named(new QWidget(page), "controlBar");
    QWidget* bar = c.controlBar;
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    auto* third = new QHBoxLayout;
    auto* fourth = new QHBoxLayout;
    for (QHBoxLayout* row : {first, second, third, fourth}) rows->addLayout(row);

    c.errorCode = ReadOnlyBox(bar, "errorCode", 90);
    c.errorInfo = ReadOnlyBox(bar, "errorInfo", 0);
    c.icType = ReadOnlyBox(bar, "icType", 110);
    c.freqPrevious = Named(new QPushButton(QStringLiteral("<"), bar), "freqPrevious");
    c.freqIndex = ReadOnlyBox(bar, "freqIndex", 30);
    c.freqValue = ReadOnlyBox(bar, "freqValue", 80);
    c.freqNext = Named(new QPushButton(QStringLiteral(">"), bar), "freqNext");
    c.softRestart = Named(new QPushButton(QStringLiteral("SOFT  RESTART"), bar), "softRestart");
    c.startLog = Named(new QPushButton(QStringLiteral("START  LOG"), bar), "startLog");
    c.stopLog = Named(new QPushButton(QStringLiteral("STOP  LOG"), bar), "stopLog");
    c.stopLog->setEnabled(false);
    for (QPushButton* b : {c.freqPrevious, c.freqNext}) b->setFixedWidth(26);
    first->addWidget(Caption(bar, "Error Code"));
    first->addWidget(c.errorCode);
    first->addWidget(Caption(bar, "Error Info"));
    first->addWidget(c.errorInfo, 1);
    first->addWidget(Caption(bar, "IC Type"));
    first->addWidget(c.icType);
    for (QWidget* w :
         std::initializer_list<QWidget*>{c.freqPrevious, c.freqIndex, c.freqValue, c.freqNext,
                                         c.softRestart, c.startLog, c.stopLog})
        second->addWidget(w);
    second->addStretch(1);

    c.touchInfo = Named(new QCheckBox(QStringLiteral("Touch"), bar), "touchInfo");
    c.penInfo = Named(new QCheckBox(QStringLiteral("Pen"), bar), "penInfo");
    c.noiseView = Named(new QRadioButton(QStringLiteral("Noise"), bar), "noiseView");
    c.waterView = Named(new QRadioButton(QStringLiteral("Water"), bar), "waterView");
    c.noiseView->setChecked(true);
    c.noiseView->setEnabled(false);
    c.waterView->setEnabled(false);
    c.infoClean = Named(new QPushButton(QStringLiteral("CLEAN"), bar), "infoClean");
    c.rxTrace = Named(new QCheckBox(QStringLiteral("Rx"), bar), "rxTrace");
    c.txTrace = Named(new QCheckBox(QStringLiteral("Tx"), bar), "txTrace");
    c.zTrace = Named(new QCheckBox(QStringLiteral("Z"), bar), "zTrace");
    c.ignoreError = Named(new QCheckBox(QStringLiteral("Ignore Error"), bar), "ignoreError");
    for (QCheckBox* b : {c.rxTrace, c.txTrace, c.zTrace, c.ignoreError}) b->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{c.touchInfo, c.penInfo, c.noiseView,
                                                      c.waterView, c.infoClean, c.rxTrace,
                                                      c.txTrace, c.zTrace, c.ignoreError})
        third->addWidget(w);

    c.dots = Named(new QRadioButton(QStringLiteral("Dot"), bar), "dots");
    c.lines = Named(new QRadioButton(QStringLiteral("Line"), bar), "lines");
    c.lines->setChecked(true);
    c.circleUp = Named(new QCheckBox(QStringLiteral("Circle UP"), bar), "circleUp");
    c.circleDown = Named(new QCheckBox(QStringLiteral("Circle Dn"), bar), "circleDown");
    c.filter = Named(new QCheckBox(QStringLiteral("Filter"), bar), "filter");
    for (QCheckBox* b : {c.circleUp, c.circleDown, c.filter}) b->setChecked(true);
    c.penMode = Named(new QCheckBox(QStringLiteral("Pen Mode"), bar), "penMode");
    c.penTilt = Named(new QCheckBox(QStringLiteral("Pen Tilt"), bar), "penTilt");
    c.distance = NumberBox(bar, "distance", 30);
    c.sensorX = NumberBox(bar, "sensorX", 0);
    c.sensorY = NumberBox(bar, "sensorY", 0);
    c.white = Named(new QRadioButton(QStringLiteral("White"), bar), "white");
    c.blue = Named(new QRadioButton(QStringLiteral("Blue"), bar), "blue");
    c.black = Named(new QRadioButton(QStringLiteral("Black"), bar), "black");
    c.white->setChecked(true);
    c.clean = Named(new QPushButton(QStringLiteral("CLEAN"), bar), "clean");
    c.fullScreen = Named(new QPushButton(QStringLiteral("FULL  SCREEN"), bar), "fullScreen");
    // Two radio groups share the row: each pair needs its own group.
    auto* joins = new QButtonGroup(bar);
    joins->addButton(c.dots);
    joins->addButton(c.lines);
    auto* backgrounds = new QButtonGroup(bar);
    for (QRadioButton* b : {c.white, c.blue, c.black}) backgrounds->addButton(b);
    auto* views = new QButtonGroup(bar);
    views->addButton(c.noiseView);
    views->addButton(c.waterView);
    for (QWidget* w : std::initializer_list<QWidget*>{c.dots, c.lines, c.circleUp, c.circleDown,
                                                      c.filter, c.penMode, c.penTilt})
        fourth->addWidget(w);
    fourth->addWidget(Caption(bar, "Dist"));
    fourth->addWidget(c.distance);
    fourth->addWidget(Caption(bar, "X"));
    fourth->addWidget(c.sensorX);
    fourth->addWidget(Caption(bar, "Y"));
    fourth->addWidget(c.sensorY);
    fourth->addStretch(1);
    // The canvas's background and buttons end the information row, which has room to spare.
    for (QWidget* w :
         std::initializer_list<QWidget*>{c.white, c.blue, c.black, c.clean, c.fullScreen})
        third->addWidget(w);
    third->addStretch(1);

    c.touchThresholds = Named(new QComboBox(page), "touchThresholds");
    c.penThresholds = Named(new QComboBox(page), "penThresholds");
    c.canvas = Named(new DrawSurface(page), "canvas");
    c.pointPanel = Named(new DrawSurface(page, 20), "pointPanel");
    c.infoPanel = Named(new DrawSurface(page), "infoPanel");
    c.graph = Named(new DrawSurface(page), "graph");
    c.keyStrip = Named(new DrawSurface(page), "keyStrip");
    return c;
}

void LayOutDrawTestControls(const DrawTestControls& c, const QSize& page) {
    const int w = page.width(), h = page.height();
    const int barHeight = c.controlBar->sizeHint().height();
    c.controlBar->setGeometry(kMargin, kGap, w - 2 * kMargin, barHeight);
    const int right = w - kMargin;
    const QRect graph(kMargin, h - kMargin - kGraphHeight, right - kMargin, kGraphHeight);
    c.graph->setGeometry(graph);
    const QRect info(kMargin, graph.top() - kInfoPanelHeight, graph.width(), kInfoPanelHeight);
    c.infoPanel->setGeometry(info);
    const int listTop = info.top() - kListRowHeight;
    c.touchThresholds->setGeometry(kMargin, listTop, kListWidth, kListRowHeight - 2);
    c.penThresholds->setGeometry(kMargin + kListWidth + kGap, listTop, kListWidth,
                                 kListRowHeight - 2);
    const int stripLeft = kMargin + 2 * (kListWidth + kGap);
    c.keyStrip->setGeometry(stripLeft, listTop, std::max(1, right - stripLeft), kListRowHeight - 2);
    const int top = kGap + barHeight + kGap;
    const int bottom = listTop - kGap;
    c.pointPanel->setGeometry(right - kPointPanelWidth, top, kPointPanelWidth,
                              std::max(1, bottom - top));
    c.canvas->setGeometry(kMargin, top, std::max(1, right - kPointPanelWidth - kGap - kMargin),
                          std::max(1, bottom - top));
}
