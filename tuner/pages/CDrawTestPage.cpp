#include "pages/CDrawTestPage.h"

CDrawTestPage::CDrawTestPage(PageHost& app, QWidget* parent)
    : CSheetPage(app, tuner::PageKind::kDrawTest, parent) {
    setObjectName(QStringLiteral("drawTestPage"));
    app.UpdateTitle();
}
