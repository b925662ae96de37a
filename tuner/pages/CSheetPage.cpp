#include "pages/CSheetPage.h"

#include <QKeyEvent>

#include "pages/MessageBoxes.h"
#include "pages/PostedReports.h"

namespace {

tuner::SheetKey SheetKeyFor(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Escape:
            return tuner::SheetKey::kEscape;
        case Qt::Key_F5:
            return tuner::SheetKey::kF5;
        case Qt::Key_F6:
            return tuner::SheetKey::kF6;
        case Qt::Key_F7:
            return tuner::SheetKey::kF7;
        case Qt::Key_F8:
            return tuner::SheetKey::kF8;
        case Qt::Key_F9:
            return tuner::SheetKey::kF9;
        case Qt::Key_F10:
            return tuner::SheetKey::kF10;
        case Qt::Key_Comma:
            return tuner::SheetKey::kComma;
        case Qt::Key_Period:
            return tuner::SheetKey::kFullStop;
        default:
            return tuner::SheetKey::kOther;
    }
}

}  // namespace

CSheetPage::CSheetPage(PageHost& app, tuner::PageKind kind, QWidget* parent)
    : QWidget(parent), app_(app), kind_(kind) {
    setFont(app.InterfaceFont());
    RegisterReportTarget(this);
}

CSheetPage::~CSheetPage() {
    RemoveSubscriptions();
    UnregisterReportTarget(this);
    app_.ReleaseDevice();
}

bool CSheetPage::HandlePageKey(const QKeyEvent& event) {
    if (!app_.HasSheet()) return false;
    const tuner::KeyAction action =
        tuner::CommonKeyAction(SheetKeyFor(event), kind_, app_.CurrentPage(), app_.PageCount());
    switch (action.kind) {
        case tuner::KeyAction::Kind::kAskToExit:
            if (ShowUserMessage(tuner::kExitQuestion)) app_.PostQuit();
            return true;
        case tuner::KeyAction::Kind::kSelectPage:
            app_.SelectPage(action.page);
            return true;
        case tuner::KeyAction::Kind::kNone:
            break;
    }
    return false;
}

bool CSheetPage::PostReportsHere(uint8_t kind, uint32_t message) {
    const DevSubscription subscription =
        devPostReports(app_.Device(), WindowFor(this), kind, message);
    if (subscription != nullptr) subscriptions_.push_back(subscription);
    return subscription != nullptr;
}

bool CSheetPage::PostFilteredReportsHere(uint8_t kind, uint8_t subCode, uint32_t message) {
    const DevSubscription subscription =
        devPostFilteredReports(app_.Device(), WindowFor(this), kind, subCode, message);
    if (subscription != nullptr) subscriptions_.push_back(subscription);
    return subscription != nullptr;
}

void CSheetPage::RemoveSubscriptions() {
    for (DevSubscription subscription : subscriptions_)
        devRemoveReportHandler(app_.Device(), subscription);
    subscriptions_.clear();
}

void CSheetPage::customEvent(QEvent* event) {
    if (event->type() != ReportEvent::EventType()) return QWidget::customEvent(event);
    const auto* report = static_cast<ReportEvent*>(event);
    OnPostedReport(report->Message(), report->Report());
}
