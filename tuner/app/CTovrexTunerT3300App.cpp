#include "app/CTovrexTunerT3300App.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMetaObject>
#include <cstdio>
#include <cstdlib>
#include <QTimer>

#include "app/CMainSheet.h"
#include "pages/MessageBoxes.h"
#include "pages/PostedReports.h"
#include "platform/Interrupt.h"
#include "platform/SingleInstance.h"

namespace {

constexpr int kInterfaceFontPoints = 10;
constexpr int kInterruptPollMs = 100;
constexpr uint8_t kDisconnectKind = 0x3B;  // device-status reports

QFont MakeInterfaceFont() {
    const QString family = QStringLiteral("Calibri");
    if (QFontDatabase::hasFamily(family)) return QFont(family, kInterfaceFontPoints);
    QFont font = QApplication::font();
    font.setPointSize(kInterfaceFontPoints);
    return font;
}

// Without DEVLINK the library looks for real controllers only; a user who finds none may not know
// that a simulated one exists. Standard error, after the message box.
void HintAtSimulatedController() {
    const char* backend = std::getenv("DEVLINK");
    if (backend != nullptr && *backend != '\0') return;
    std::fputs("No touch controller was found. To use the simulated one, set DEVLINK, for "
               "example DEVLINK=sim:K7P100 (see --help).\n",
               stderr);
}

}  // namespace

CTovrexTunerT3300App::CTovrexTunerT3300App() = default;

CTovrexTunerT3300App::~CTovrexTunerT3300App() {
    // A controller that went away is never closed, so its notice subscription would outlive us.
    if (notice_ != nullptr) devRemoveReportHandler(noticeDevice_, notice_);
    state_.device.Close();
    devSetPostSink(nullptr, nullptr);
}

// A static library's resources are registered by hand (from the global namespace).
static void RegisterTunerResources() {
    Q_INIT_RESOURCE(tuner);
}

QIcon CTovrexTunerT3300App::Icon() {
    RegisterTunerResources();
    return QIcon(QStringLiteral(":/tuner/icon.svg"));
}

int CTovrexTunerT3300App::Run() {
    QApplication::setWindowIcon(Icon());
    if (!StartUp()) return 1;
    WatchForDisconnect();

    auto sheet = std::make_unique<CMainSheet>(*this);
    sheet->showMaximized();
    // Asked to end by a signal, the tuner leaves as when its window is closed.
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [this] {
        if (platform::InterruptSignal() != 0) PostQuit();
    });
    interruptWatch.start(kInterruptPollMs);
    QApplication::exec();
    // The pages go with the sheet; the first of them closes the controller.
    sheet.reset();
    if (state_.device.IsOpen()) state_.device.Close();
    return 0;
}

bool CTovrexTunerT3300App::StartUp() {
    font_ = MakeInterfaceFont();
    if (!TakeSingleInstance()) return false;

    // Reports posted by the library reach the pages as events; the sink must be in place before
    // the controller is opened.
    devSetPostSink(PostReportToWindow, nullptr);
    const tuner::StartupResult result = tuner::StartController(state_);
    if (const tuner::UserMessage* message = tuner::StartupMessage(result)) {
        ShowUserMessage(*message);
        if (result == tuner::StartupResult::kNoController) HintAtSimulatedController();
        return false;
    }
    return true;
}

bool CTovrexTunerT3300App::TakeSingleInstance() {
    instanceLock_ = std::make_unique<platform::CSingleInstanceLock>(tuner::kSingleInstanceName);
    // A lock that cannot be made at all (no writable runtime folder) does not stop the tuner;
    // only another running copy does.
    if (instanceLock_->GetState() != platform::CSingleInstanceLock::State::kHeldElsewhere)
        return true;
    ShowUserMessage(tuner::kAlreadyRunningMessage);
    instanceLock_.reset();
    return false;
}

void CTovrexTunerT3300App::UpdateTitle() {
    const tuner::Titles& titles = tuner::UpdateTitles(state_);
    if (sheet_ != nullptr) sheet_->setWindowTitle(QString::fromStdString(titles.full));
}

bool CTovrexTunerT3300App::RefreshChannelInformation() {
    return tuner::RefreshChannelInfoAfterRestart(state_);
}

void CTovrexTunerT3300App::ReleaseDevice() {
    state_.device.ReturnToNormalAndClose();
}

void CTovrexTunerT3300App::WatchForDisconnect() {
    noticeDevice_ = state_.device.Handle();
    notice_ = devAddReportHandler(noticeDevice_, kDisconnectKind, kDevAnySubCode, this,
                                  &OnDisconnectNotice);
}

void CTovrexTunerT3300App::OnDisconnectNotice(void* context, int, const DevReport* report) {
    // Of the device-status reports, only this one says that the controller is gone.
    const uint8_t* b = report->bytes;
    if (b[1] != 2 || b[3] != 0x70 || b[4] != 3) return;
    // On the library's thread: the handle is dropped on the GUI thread, between two events.
    auto* app = static_cast<CTovrexTunerT3300App*>(context);
    QMetaObject::invokeMethod(
        qApp, [app] { app->ForgetDevice(); }, Qt::QueuedConnection);
}

void CTovrexTunerT3300App::ForgetDevice() {
    state_.device.Forget();
    PostQuit();
}

void CTovrexTunerT3300App::PostQuit() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

int CTovrexTunerT3300App::CurrentPage() const {
    return sheet_ != nullptr ? sheet_->CurrentPage() : 0;
}

int CTovrexTunerT3300App::PageCount() const {
    return sheet_ != nullptr ? sheet_->PageCount() : 0;
}

void CTovrexTunerT3300App::SelectPage(int index) {
    if (sheet_ != nullptr) sheet_->SelectPage(index);
}
