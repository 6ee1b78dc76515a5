// A label that keeps the mouse to itself: presses on it never reach the window beneath (so
// it is no drag handle), and a left-button release over it is a click.
// UI thread only.
#pragma once

#include <QLabel>

namespace hollowtide::about {

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace hollowtide::about
