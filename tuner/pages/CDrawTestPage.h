// Page 0 of the main sheet: touch and stylus drawing with the firmware's touch information.
//
// The page subscribes to the controller's point, touch-key, information and status reports while
// it is the active page. Each report updates the model at once; the views are repainted at most
// once per screen frame, so a fast controller never makes the page paint per report.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <memory>

#include "pages/CSheetPage.h"
#include "model/DrawTestDevice.h"
#include "model/DrawTestModel.h"
#include "model/Startup.h"
#include "pages/DrawTestControls.h"

class FullScreenWindow;

// The test pattern's lines on the canvas and the full-screen window.
inline constexpr tuner::Pen kPatternPen{{160, 160, 160}, 1};

class CDrawTestPage : public CSheetPage {
    Q_OBJECT

  public:
    explicit CDrawTestPage(PageHost& app, QWidget* parent = nullptr);
    ~CDrawTestPage() override;

    bool HandlePageKey(const QKeyEvent& event) override;

    const DrawTestControls& Controls() const { return c_; }
    FullScreenWindow* FullScreen() const { return fullScreen_.get(); }
    const tuner::DrawTestModel& Model() const { return model_; }
    const tuner::DrawTestDevice& Requests() const { return device_; }

    void OpenFullScreen();
    // The canvas CLEAN: background, slots and pattern; the panels blanked.
    void CleanCanvas();

  protected:
    void OnPostedReport(uint32_t message, const DevReport& report) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The canvases are drawn this long after activation or the full-screen window, when the
    // window has its final size.
    static constexpr int kRedrawDelayMs = 200;

    void ConnectControls();
    void Activate();
    void Subscribe();
    void Show(const tuner::Messages& messages);
    void ShowFirmwareInformation();
    void ShowThresholdLists();

    void OnTouchInfo(const DevReport& report);
    void OnStylusInfo(const DevReport& report);
    void OnPoints(const DevReport& report);
    void OnTouchKey(const DevReport& report);
    void CheckFullScreenBoxes(const DevReport& report, const tuner::DrawArea& area);

    void SetInfoBox(tuner::InfoMode box, bool on);
    void CleanInformation();
    void StepFrequency(bool forward);
    void SoftRestart();
    void StartLog();
    void StopLog();
    void EndLogging();
    void CloseFullScreen();
    void DrawFullScreen();

    void ScheduleViews();
    void RefreshViews();
    void RefreshPointPanel();
    void ReadDrawSettings();
    tuner::DrawArea CanvasArea() const;
    tuner::DrawArea FullScreenArea() const;
    tuner::Colour Background() const;

    DrawTestControls c_;
    tuner::DrawTestModel model_;
    tuner::DrawTestDevice device_;
    std::unique_ptr<FullScreenWindow> fullScreen_;
    tuner::CoordinateMaxima maxima_;
    QElapsedTimer clock_;
    QTimer redrawTimer_;      // redraws the canvases once after activation or full screen
    QTimer fullScreenTimer_;  // draws the full-screen window once it is shown
    QTimer viewTimer_;        // information panel and graph, at most once per frame
    QTimer pointPanelTimer_;  // the point panel, at most every 20 ms
    bool infoPanelDirty_ = false;
    bool graphDirty_ = false;
    bool active_ = false;
    bool fillingLists_ = false;
};
