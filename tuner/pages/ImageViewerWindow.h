// The image page's grid over the whole screen: a window without a frame that shows the picture the
// page's worker draws for its size. Its keys are the page's keys; a right click closes it.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

class ImageViewerWindow : public QWidget {
    Q_OBJECT

  public:
    // `pageKey` is the page's key handling.
    explicit ImageViewerWindow(std::function<bool(const QKeyEvent&)> pageKey);

    void SetPicture(QImage picture);
    const QImage& Picture() const { return picture_; }
    int Pictures() const { return pictures_; }

  signals:
    void Closed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    std::function<bool(const QKeyEvent&)> pageKey_;
    QImage picture_;
    int pictures_ = 0;
};
