// Page 0 of the main sheet: touch and stylus drawing with the firmware's touch information.
#pragma once

#include "app/CSheetPage.h"

class CDrawTestPage : public CSheetPage {
    Q_OBJECT

  public:
    explicit CDrawTestPage(CTovrexTunerT3300App& app, QWidget* parent = nullptr);
};
