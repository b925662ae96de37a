// Page 0 of the main sheet: touch and stylus drawing with the firmware's touch information.
#pragma once

#include "pages/CSheetPage.h"

class CDrawTestPage : public CSheetPage {
    Q_OBJECT

  public:
    explicit CDrawTestPage(PageHost& app, QWidget* parent = nullptr);
};
