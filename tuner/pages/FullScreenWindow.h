// The draw test over the whole screen: the same traces as the page's canvas on a window without a
// frame, with a "Clean" and a "Quit" box at the bottom that a lift inside them presses.
#pragma once

#include <QRect>
#include <QStringList>

#include "pages/DrawSurface.h"

class FullScreenWindow : public DrawSurface {
    Q_OBJECT

  public:
    FullScreenWindow();

    QRect CleanBox() const;
    QRect QuitBox() const;
    // The background, both boxes with their words, then the pattern.
    void DrawFrame(const tuner::Colour& background, const tuner::DrawOps& pattern);
    // Lines written over the picture at the top (the stylus signal ranges); empty for none.
    void SetOverlay(const QStringList& lines);

  signals:
    void Closed();
    void RedrawRequested();
    // A key for the page's own keys.
    void PageKey(int key, const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QStringList overlay_;
};
