// The drawn frames and the line of the About screen: the two white bars edging the bubble
// band, the close box with its diagonal and the frame round "Click here". They lie over the
// pictures and under the labels, and take no mouse input, so presses on them reach whatever
// lies beneath.
// UI thread only.
#pragma once

#include <QWidget>

namespace hollowtide::about {

class AboutShapes : public QWidget {
    Q_OBJECT
  public:
    explicit AboutShapes(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace hollowtide::about
