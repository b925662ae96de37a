// The tuner's application object: one running copy, the one controller, its information and the
// main sheet. It owns the device handle, which the pages share.
#pragma once

#include <QFont>
#include <QIcon>
#include <memory>

#include "model/Startup.h"
#include "pages/PageHost.h"

namespace platform {
class CSingleInstanceLock;
}
class CMainSheet;

class CTovrexTunerT3300App final : public PageHost {
  public:
    // Needs the QApplication to exist.
    CTovrexTunerT3300App();
    ~CTovrexTunerT3300App();
    CTovrexTunerT3300App(const CTovrexTunerT3300App&) = delete;
    CTovrexTunerT3300App& operator=(const CTovrexTunerT3300App&) = delete;

    // The whole program: start-up, the sheet until the user leaves it, and the controller closed
    // at the end. Returns the exit status: 0 when the sheet ran, 1 when start-up ended early.
    int Run();

    tuner::TunerState& State() override { return state_; }
    DevHandle Device() const override { return state_.device.Handle(); }
    const QFont& InterfaceFont() const override { return font_; }
    CMainSheet* MainSheet() const { return sheet_; }
    void SetMainSheet(CMainSheet* sheet) { sheet_ = sheet; }
    bool HasSheet() const override { return sheet_ != nullptr; }
    int CurrentPage() const override;
    int PageCount() const override;
    void SelectPage(int index) override;

    // Builds both titles from the controller's identity and shows the full one as the caption.
    void UpdateTitle() override;
    // Re-reads the channel information after a software restart, with streaming stopped; false
    // (and the previous information kept) when it is unreadable. The caller restores its mode.
    bool RefreshChannelInformation() override;

    // A page going away: the controller returns to normal mode and is closed, once.
    void ReleaseDevice() override;
    // The controller is gone: the handle is dropped without closing it and the program ends.
    void ForgetDevice() override;
    // Ends the sheet once control is back in the event loop.
    void PostQuit() override;

    // The application's icon (also every window's).
    static QIcon Icon();

  private:
    bool StartUp();
    bool TakeSingleInstance();
    // The controller's disconnect notice ends the tuner through ForgetDevice, on the GUI thread.
    void WatchForDisconnect();
    static void OnDisconnectNotice(void* context, int, const DevReport* report);

    std::unique_ptr<platform::CSingleInstanceLock> instanceLock_;
    tuner::TunerState state_;
    QFont font_;
    CMainSheet* sheet_ = nullptr;       // the sheet made by Run, while it exists
    DevHandle noticeDevice_ = nullptr;  // the handle the notice subscription was made on
    DevSubscription notice_ = nullptr;
};
