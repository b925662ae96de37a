// What every page of the main sheet shares: the keys common to the pages, the posted reports it
// subscribes to, its layout when the sheet changes size, and returning the controller to normal
// mode and closing it when the page goes away first.
#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

#include "devlink/devlink.h"
#include "model/SheetKeys.h"
#include "pages/PageHost.h"

class QKeyEvent;

class CSheetPage : public QWidget {
    Q_OBJECT

  public:
    CSheetPage(PageHost& app, tuner::PageKind kind, QWidget* parent = nullptr);
    ~CSheetPage() override;

    tuner::PageKind Kind() const { return kind_; }

    // A key pressed anywhere on the page, before the control with the focus sees it; true when the
    // page used it. Pages with keys of their own handle those and pass the rest on to this one.
    virtual bool HandlePageKey(const QKeyEvent& event);

    // Lays the page's controls out for the sheet's new size. The frame has no controls of its own.
    virtual void LayOutFor(const QSize& /*sheetSize*/) {}

  protected:
    PageHost& App() { return app_; }

    // Has devlink post reports of the kind (and sub-code) to this page as the given message; they
    // arrive in OnPostedReport. The subscriptions end with RemoveSubscriptions or with the page.
    bool PostReportsHere(uint8_t kind, uint32_t message);
    bool PostFilteredReportsHere(uint8_t kind, uint8_t subCode, uint32_t message);
    void RemoveSubscriptions();

    // A posted report, on the user-interface thread. The frame subscribes to none.
    virtual void OnPostedReport(uint32_t /*message*/, const DevReport& /*report*/) {}

    void customEvent(QEvent* event) override;

  private:
    PageHost& app_;
    tuner::PageKind kind_;
    std::vector<DevSubscription> subscriptions_;
};
