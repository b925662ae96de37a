// Page 1 of the main sheet: the live sensor image. The controller's image rows are assembled on
// the library's thread, a worker thread computes and draws the newest frame, and this page shows
// what the worker drew, at most one picture waiting at a time.
#pragma once

#include <QImage>
#include <QTimer>
#include <atomic>
#include <memory>
#include <mutex>

#include "pages/CSheetPage.h"
#include "model/FrameAssembler.h"
#include "model/ImageGeometry.h"
#include "model/ImageLog.h"
#include "model/ImageWorker.h"
#include "pages/CImageControl.h"
#include "pages/ImageGridRender.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class ImageViewerWindow;

class CImageDataPage : public CSheetPage {
    Q_OBJECT

  public:
    explicit CImageDataPage(PageHost& app, QWidget* parent = nullptr);
    ~CImageDataPage() override;

    bool HandlePageKey(const QKeyEvent& event) override;

    // What the page shows now, for people and tests looking at it.
    bool Active() const { return active_; }
    tuner::image::DisplayMode Mode() const { return mode_; }
    tuner::image::ImageWorker::Snapshot Shown() const { return shown_; }
    uint64_t PicturesShown() const { return picturesShown_; }
    QString StatisticsText() const;
    void SelectDataType(const QString& text);
    void SetDisplayMode(tuner::image::DisplayMode mode, int quadrant = 0);
    void SetColourScale(bool on);
    void SetShowValue(bool on);
    // The magnifier, for tests: on, and the grid cell it shows (-1 when none).
    bool MagnifierOn() const { return magnifier_; }
    bool MagnifierLocked() const { return magnifierLocked_; }
    // Marked grid rows and columns (the "WT" column is column 0).
    std::vector<bool> MarkedRows() const;
    std::vector<bool> MarkedColumns() const;
    int FontStep() const;
    QString FrequencyText() const;
    int PointedRow() const { return pointedRow_; }
    int PointedColumn() const { return pointedColumn_; }
    CImageControl* ImageControl() const { return grid_; }
    bool LogRunning() const { return log_.Running(); }
    std::filesystem::path LogPath() const { return log_.Path(); }
    void ToggleLog();
    void TogglePause();
    void ToggleTestMode();
    // The grid over the whole screen, drawn from the same frames; null when not open.
    void OpenFullScreen();
    ImageViewerWindow* FullScreen() const { return viewer_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildControls();
    void Activate();
    void Deactivate();
    // The channel geometry from the controller's information, for the model and the worker.
    void ReadGeometry();
    void FullScreenClosed();
    // Where the worker's pictures go: the full-screen window when open, else the image control.
    QWidget* PictureTarget() const;
    // The mode-switch path: command mode, the report window, the data type's working mode.
    bool SendReportWindow();
    void ApplyModeControls();
    void ReadUniformityTable();
    void StepFrequency(int step);
    void SoftwareRestart();
    void StyleChanged();
    void ChangeFont(int step);
    void MoveRange(int rxStep, int txStep);
    void LogTick();
    void OnPointer(CImageControl::Pointer event, QPoint at);
    // The last picture with the pointer's cross-hair and magnifier over it.
    void ShowPicture();

    // Worker thread: draws a computed frame and hands the picture over.
    void Draw(const tuner::image::ImageWorker::Snapshot& snapshot);
    // User-interface thread: shows the picture handed over last.
    void ShowDrawn();

    static void OnImageReport(void* context, int unused, const DevReport* report);
    static void OnListReport(void* context, int unused, const DevReport* report);

    tuner::image::Geometry geometry_;
    tuner::image::DisplayMode mode_ = tuner::image::DisplayMode::kTotal;
    int quadrant_ = 1;
    tuner::image::ChannelWindow range_;
    tuner::image::ReportPlan plan_;
    const tuner::image::DataType* type_;
    tuner::ChannelInfo channels_;
    int uniformityScale_ = 0;

    tuner::image::FrameAssembler frames_;
    tuner::image::ListBurst list_;
    std::unique_ptr<tuner::image::ImageWorker> worker_;
    DevSubscription frameSubscription_ = nullptr, listSubscription_ = nullptr;
    bool active_ = false;

    // Shared with the worker thread.
    mutable std::mutex shared_;
    tuner::image::ProcessSettings settings_;
    tuner::image::GridStyle style_;
    tuner::ChannelInfo drawChannels_;  // the labels' pins and channels
    QSize gridSize_{800, 500}, keySize_{800, 30};
    QImage drawnGrid_, drawnKeys_;
    tuner::image::ImageWorker::Snapshot drawn_;
    std::atomic<bool> showPending_{false};

    tuner::image::ImageWorker::Snapshot shown_;
    QImage shownGrid_;
    int pointedRow_ = -1, pointedColumn_ = -1;
    QPoint pointer_;
    bool magnifier_ = false, magnifierLocked_ = false;
    uint64_t picturesShown_ = 0;
    tuner::image::ImageLog log_;
    QTimer logTimer_;

    // Controls.
    QComboBox* dataType_ = nullptr;
    QLineEdit* speed_ = nullptr;
    QButtonGroup* modes_ = nullptr;
    QPushButton* quadrants_[4] = {};
    QSpinBox* rangeBoxes_[4] = {};
    QPushButton* pause_ = nullptr;
    QSpinBox* thLow_ = nullptr;
    QSpinBox* thHigh_ = nullptr;
    QCheckBox* showValue_ = nullptr;
    QCheckBox* colourScale_ = nullptr;
    QCheckBox* calTarget_ = nullptr;
    QPushButton* go_ = nullptr;
    QButtonGroup* testKinds_ = nullptr;
    QSpinBox* countThreshold_ = nullptr;
    QPushButton* logButton_ = nullptr;
    QSpinBox* logInterval_ = nullptr;
    QLabel* frequency_ = nullptr;
    CImageControl* grid_ = nullptr;
    QLabel* statistics_ = nullptr;
    QLabel* keys_ = nullptr;
    QPushButton* fullScreen_ = nullptr;
    QRadioButton* satMax_ = nullptr;
    QRadioButton* satMin_ = nullptr;
    ImageViewerWindow* viewer_ = nullptr;
};
