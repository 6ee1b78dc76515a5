// `picWinamp`: the analyser's black box on the main window, 104 x 34 pixels with a 1-pixel
// grey frame around a 102 x 32 drawable area. It shows the picture last presented to it and
// takes no pointer input, so presses and moves over it go to the window's surface (and drag it).
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include "visuals/spectrum_analyser.h"

namespace hollowtide::visuals {

class SpectrumBox : public QWidget {
    Q_OBJECT
  public:
    explicit SpectrumBox(QWidget* parent = nullptr);

    // Shows `picture` in the drawable area from now on (repaints also use it) unless `mode`
    // says it is unchanged. Passes come a hundred times a second, faster than anyone can follow
    // bars; the box repaints at most kPicturesPerSecond times a second and never faster than
    // the screen refreshes. A picture held back shows on the first pass after that, whether or
    // not it changes anything; a final picture shows at once.
    void Present(const QImage& picture, PresentMode mode = PresentMode::Changed);
    const QImage& Shown() const { return shown_; }

    static constexpr int kPicturesPerSecond = 25;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool RepaintDue() const;
    // Copies the dirty part of the framed picture straight into the image the window paints
    // into; false when that is no plain image and a painter must do it.
    bool CopyIntoWindowImage(const QRegion& region);

    double repaintIntervalMs_ = 1000.0 / kPicturesPerSecond;  // checked again at each repaint
    QImage shown_;
    QImage framed_;  // shown_ inside the frame, as painted
    bool waiting_ = false;
    QElapsedTimer sinceRepaint_;
};

}  // namespace hollowtide::visuals
