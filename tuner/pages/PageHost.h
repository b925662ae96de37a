// What a page of the main sheet asks of the application it lives in: the shared device handle and
// the tuner's state, the interface font, the title, moving between pages, and leaving. The
// application implements it; a page sees nothing else of it.
#pragma once

#include <QFont>

#include "devlink/devlink.h"
#include "model/Startup.h"

class PageHost {
  public:
    virtual tuner::TunerState& State() = 0;
    virtual DevHandle Device() const = 0;
    virtual const QFont& InterfaceFont() const = 0;
    // Builds both titles from the controller's identity and shows the full one as the caption.
    virtual void UpdateTitle() = 0;
    // Re-reads the channel information after a software restart; false (and the previous
    // information kept) when it is unreadable.
    virtual bool RefreshChannelInformation() = 0;
    // A page going away: the controller returns to normal mode and is closed, once.
    virtual void ReleaseDevice() = 0;
    // The controller is gone: the handle is dropped without closing it and the program ends.
    virtual void ForgetDevice() = 0;
    // Ends the sheet once control is back in the event loop.
    virtual void PostQuit() = 0;

    // The sheet's pages: false from HasSheet while there is no sheet.
    virtual bool HasSheet() const = 0;
    virtual int CurrentPage() const = 0;
    virtual int PageCount() const = 0;
    virtual void SelectPage(int index) = 0;

  protected:
    ~PageHost() = default;
};
