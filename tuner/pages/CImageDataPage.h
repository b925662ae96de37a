// Page 1 of the main sheet: the live sensor image.
#pragma once

#include "pages/CSheetPage.h"

class CImageDataPage : public CSheetPage {
    Q_OBJECT

  public:
    explicit CImageDataPage(PageHost& app, QWidget* parent = nullptr);
};
