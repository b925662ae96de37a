// The controls of the draw-test page, made and laid out here; what they do is the page's.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>

#include "pages/DrawSurface.h"

struct DrawTestControls {
    // Firmware information.
    QLineEdit* errorCode = nullptr;
    QLineEdit* errorInfo = nullptr;
    QLineEdit* icType = nullptr;
    QPushButton* freqPrevious = nullptr;
    QLineEdit* freqIndex = nullptr;
    QLineEdit* freqValue = nullptr;
    QPushButton* freqNext = nullptr;
    QPushButton* softRestart = nullptr;
    QPushButton* startLog = nullptr;
    QPushButton* stopLog = nullptr;

    // Information streams and graph.
    QCheckBox* touchInfo = nullptr;
    QCheckBox* penInfo = nullptr;
    QRadioButton* noiseView = nullptr;
    QRadioButton* waterView = nullptr;
    QPushButton* infoClean = nullptr;
    QCheckBox* rxTrace = nullptr;
    QCheckBox* txTrace = nullptr;
    QCheckBox* zTrace = nullptr;
    QCheckBox* ignoreError = nullptr;
    QComboBox* touchThresholds = nullptr;
    QComboBox* penThresholds = nullptr;

    // Drawing.
    QRadioButton* dots = nullptr;
    QRadioButton* lines = nullptr;
    QCheckBox* circleUp = nullptr;
    QCheckBox* circleDown = nullptr;
    QCheckBox* filter = nullptr;
    QCheckBox* penMode = nullptr;
    QCheckBox* penTilt = nullptr;
    QSpinBox* distance = nullptr;
    QSpinBox* sensorX = nullptr;
    QSpinBox* sensorY = nullptr;
    QRadioButton* white = nullptr;
    QRadioButton* blue = nullptr;
    QRadioButton* black = nullptr;
    QPushButton* clean = nullptr;
    QPushButton* fullScreen = nullptr;

    // The views.
    QWidget* controlBar = nullptr;
    DrawSurface* canvas = nullptr;
    DrawSurface* pointPanel = nullptr;
    DrawSurface* infoPanel = nullptr;
    DrawSurface* graph = nullptr;
    DrawSurface* keyStrip = nullptr;
};

// Makes every control as a child of the page, with its start value.
DrawTestControls MakeDrawTestControls(QWidget* page);

// Places the views for the page's size: the graph at the bottom, the information panel above it,
// the threshold lists and key strip above that, the point panel on the right and the canvas in the
// rest.
void LayOutDrawTestControls(const DrawTestControls& c, const QSize& page);
