#include "app/CMainSheet.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>

#include "app/CTovrexTunerT3300App.h"
#include "pages/CDrawTestPage.h"
#include "pages/CImageDataPage.h"

CMainSheet::CMainSheet(CTovrexTunerT3300App& app)
    : QWidget(nullptr, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint),
      app_(app),
      tabs_(std::make_unique<QTabWidget>(this)) {
    // The pages set the caption through the application's title routine, so the application must
    // know its main window before they are made.
    app_.SetMainSheet(this);
    // The tab widget takes ownership of its pages.
    tabs_->addTab(std::make_unique<CDrawTestPage>(app_).release(), QStringLiteral("Draw Test"));
    tabs_->addTab(std::make_unique<CImageDataPage>(app_).release(), QStringLiteral("Image Data"));
    qApp->installEventFilter(this);
}

CMainSheet::~CMainSheet() {
    qApp->removeEventFilter(this);
    // The pages go before the sheet stops being the main window, so that the first of them can
    // still reach the controller to close it.
    tabs_.reset();
    app_.SetMainSheet(nullptr);
}

int CMainSheet::CurrentPage() const {
    return tabs_ ? tabs_->currentIndex() : -1;
}
int CMainSheet::PageCount() const {
    return tabs_ ? tabs_->count() : 0;
}

void CMainSheet::SelectPage(int index) {
    if (index >= 0 && index < PageCount()) tabs_->setCurrentIndex(index);
}

CSheetPage* CMainSheet::Page(int index) const {
    return tabs_ ? qobject_cast<CSheetPage*>(tabs_->widget(index)) : nullptr;
}

void CMainSheet::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isMinimized() || !tabs_) return;
    // The insets are measured from the outer frame (title bar and borders included), expressed in
    // the coordinates of the window's client area.
    const QRect outer(frameGeometry().topLeft() - geometry().topLeft(), frameGeometry().size());
    tabs_->setGeometry(outer.adjusted(kInsetLeft, kInsetTop, -kInsetRight, -kInsetBottom));
    for (int index = 0; index < PageCount(); ++index)
        if (CSheetPage* page = Page(index)) page->LayOutFor(size());
}

bool CMainSheet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    const auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this) return false;  // a message box or another window
    CSheetPage* page = Page(CurrentPage());
    return page != nullptr && page->HandlePageKey(*static_cast<QKeyEvent*>(event));
}
