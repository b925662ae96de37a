// A view that keeps its picture in an image and replays the model's draw records onto it. The
// picture is shown at most once per screen frame however often it changes, so a burst of reports
// costs one repaint, not one per report.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "model/DrawOps.h"

class DrawSurface : public QWidget {
    Q_OBJECT

  public:
    // The shortest time between two repaints: one frame of a 60 Hz screen.
    static constexpr int kFrameMs = 16;

    explicit DrawSurface(QWidget* parent = nullptr, int minRepaintMs = kFrameMs);

    // Starts the picture over in one colour.
    void Fill(const tuner::Colour& colour);
    void Draw(const tuner::DrawOps& ops);
    void SetTextFont(const QFont& font) { textFont_ = font; }

    const QImage& Picture() const { return image_; }
    int Repaints() const { return repaints_; }

  signals:
    // The picture was made anew for a new size (in the background colour).
    void Resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void RequestRepaint();

    QImage image_;
    QColor background_{Qt::white};
    QFont textFont_;
    QTimer throttle_;
    QElapsedTimer sinceRepaint_;
    int minRepaintMs_;
    int repaints_ = 0;
};

QColor ToQColor(const tuner::Colour& colour);
