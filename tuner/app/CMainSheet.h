// The main window: a tab widget holding the draw-test page (index 0) and the image-data page
// (index 1), shown maximised.
#pragma once

#include <QTabWidget>
#include <QWidget>
#include <memory>

class CDrawTestPage;
class CImageDataPage;
class CSheetPage;
class CTovrexTunerT3300App;

class CMainSheet : public QWidget {
    Q_OBJECT

  public:
    // The tab control keeps these insets from the window's outer edges.
    static constexpr int kInsetLeft = 15;
    static constexpr int kInsetTop = 35;
    static constexpr int kInsetRight = 15;
    static constexpr int kInsetBottom = 15;

    explicit CMainSheet(CTovrexTunerT3300App& app);
    ~CMainSheet() override;

    int CurrentPage() const;
    int PageCount() const;
    void SelectPage(int index);
    CSheetPage* Page(int index) const;
    QTabWidget* Tabs() const { return tabs_.get(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    // Sends key presses on the sheet to the current page before its controls see them.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CTovrexTunerT3300App& app_;
    // A child of this window, released here first so that the pages go while the sheet is still
    // the main window.
    std::unique_ptr<QTabWidget> tabs_;
};
