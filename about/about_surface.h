// The drawing surface of the About screen: a black backing image that the bubbles are drawn
// onto frame by frame, shown under every control and kept across repaints.
// UI thread only.
#pragma once

#include <QImage>
#include <QWidget>

#include "about/bubbles.h"

class QPainter;

namespace hollowtide::about {

class AboutSurface : public QWidget {
    Q_OBJECT
  public:
    explicit AboutSurface(QWidget* parent);

    // Clears everything drawn back to black and sizes the backing image to the surface.
    void Clear();

    // Runs one frame of the bubbles onto the backing image and repaints only what changed.
    void DrawFrame(BubbleField& bubbles);

    const QImage& Backing() const { return backing_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage backing_;
};

}  // namespace hollowtide::about
