#include "pages/CDrawTestPage.h"

#include "app/CTovrexTunerT3300App.h"

CDrawTestPage::CDrawTestPage(CTovrexTunerT3300App& app, QWidget* parent)
    : CSheetPage(app, tuner::PageKind::kDrawTest, parent) {
    setObjectName(QStringLiteral("drawTestPage"));
    app.UpdateTitle();
}
