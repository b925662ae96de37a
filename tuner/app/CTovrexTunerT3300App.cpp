#include "app/CTovrexTunerT3300App.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMetaObject>
#include <cstdio>
#include <cstdlib>

#include "app/CMainSheet.h"
#include "app/MessageBoxes.h"
#include "app/PostedReports.h"
#include "platform/SingleInstance.h"

namespace {

constexpr int kInterfaceFontPoints = 10;

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
    state_.device.Close();
    devSetPostSink(nullptr, nullptr);
}

int CTovrexTunerT3300App::Run() {
    if (!StartUp()) return 1;

    auto sheet = std::make_unique<CMainSheet>(*this);
    sheet->showMaximized();
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

void CTovrexTunerT3300App::ForgetDevice() {
    state_.device.Forget();
    PostQuit();
}

void CTovrexTunerT3300App::PostQuit() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
