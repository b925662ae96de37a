// Page 1 of the main sheet: the live sensor image.
#pragma once

#include "app/CSheetPage.h"

class CImageDataPage : public CSheetPage {
    Q_OBJECT

  public:
    explicit CImageDataPage(CTovrexTunerT3300App& app, QWidget* parent = nullptr);
};
