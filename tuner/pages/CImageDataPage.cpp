#include "pages/CImageDataPage.h"

#include "app/CTovrexTunerT3300App.h"

CImageDataPage::CImageDataPage(CTovrexTunerT3300App& app, QWidget* parent)
    : CSheetPage(app, tuner::PageKind::kImageData, parent) {
    setObjectName(QStringLiteral("imageDataPage"));
    app.UpdateTitle();
}
