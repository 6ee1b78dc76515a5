// `picWinamp`: the analyser's black box on the main window, 104 x 34 pixels with a 1-pixel
// grey frame around a 102 x 32 drawable area. It shows the picture last presented to it and
// takes no pointer input, so presses and moves over it go to the window's surface (and drag it).
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <functional>

#include "visuals/spectrum_analyser.h"

namespace hollowtide::visuals {

class SpectrumBox : public QWidget {
    Q_OBJECT
  public:
    explicit SpectrumBox(QWidget* parent = nullptr);

    // Shows `picture` in the drawable area from now on (repaints also use it) unless `mode`
    // says it is unchanged. Passes come a hundred times a second; the box repaints at the
    // screen's refresh rate, at most kMaxPicturesPerSecond times a second, keeping a steady
    // pace across passes that fall between two screen refreshes. A picture held back shows on
    // the first pass after that, whether or not it changes anything; a final picture shows at
    // once.
    void Present(const QImage& picture, PresentMode mode = PresentMode::Changed);
    const QImage& Shown() const { return shown_; }

    // Above this, pictures would come faster than anyone follows bars, for nothing but load.
    static constexpr int kMaxPicturesPerSecond = 60;

    // Test seams: where the refresh rate (pictures a second; 0 or less when unknown) and the
    // time (milliseconds) come from. By default, the box's screen and a steady clock.
    using RefreshRateSource = std::function<qreal()>;
    using Clock = std::function<double()>;
    void SetRefreshRateSource(RefreshRateSource source) { refreshRate_ = std::move(source); }
    void SetClock(Clock clock) { clock_ = std::move(clock); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Test seam: called each time a picture goes to the window, by a repaint or straight.
    virtual void PictureShown() {}

  private:
    bool RepaintDue() const;
    // Puts the picture into the window's backing store and flushes it, without a paint event;
    // false when something lies over the box or the store is no plain image.
    bool PaintStraightToWindow();
    bool CoveredOrClipped() const;
    void MarkPainted();
    void UpdateFramed();  // shown_ into framed_
    double RepaintIntervalMs() const;
    // Copies the dirty part of the framed picture straight into the image the window paints
    // into; false when that is no plain image and a painter must do it.
    bool CopyIntoWindowImage(const QRegion& region);
    // Copies `part` of the framed picture (box coordinates, inside the box) into `image`, in
    // which the box's top left corner lies at `boxInImage`.
    void CopyFramedPart(QImage& image, const QRect& part, QPoint boxInImage) const;

    RefreshRateSource refreshRate_;
    Clock clock_;
    QElapsedTimer steady_;
    QImage shown_;
    QImage framed_;  // shown_ inside the frame, as painted
    bool waiting_ = false;
    bool painted_ = false;
    double nextDueMs_ = 0.0;  // when the next picture is due, on clock_
};

}  // namespace hollowtide::visuals
