// A label that reports a click the way the program's buttons expect it: the left button pressed
// on the label and released over it. Hot spots without a caption are click labels too. It keeps
// presses and moves to itself, so pressing it never drags the window beneath. UI thread only.
#pragma once

#include <QLabel>

namespace hollowtide::visuals {

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool armed_ = false;
};

}  // namespace hollowtide::visuals
