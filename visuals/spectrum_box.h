// `picWinamp`: the analyser's black box on the main window, 104 x 34 pixels with a 1-pixel
// grey frame around a 102 x 32 drawable area. It shows the picture last presented to it and
// takes no pointer input, so presses and moves over it go to the window's surface (and drag it).
#pragma once

#include <QImage>
#include <QWidget>

namespace hollowtide::visuals {

class SpectrumBox : public QWidget {
    Q_OBJECT
  public:
    explicit SpectrumBox(QWidget* parent = nullptr);

    // Shows `picture` in the drawable area from now on (repaints also use it).
    void Present(const QImage& picture);
    const QImage& Shown() const { return shown_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage shown_;
};

}  // namespace hollowtide::visuals
