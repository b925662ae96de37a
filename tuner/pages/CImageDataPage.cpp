#include "pages/CImageDataPage.h"

CImageDataPage::CImageDataPage(PageHost& app, QWidget* parent)
    : CSheetPage(app, tuner::PageKind::kImageData, parent) {
    setObjectName(QStringLiteral("imageDataPage"));
    app.UpdateTitle();
}
