// `picWinamp`: the analyser's black box on the main window, 104 x 34 pixels with a 1-pixel
// grey frame around a 102 x 32 drawable area. It shows the picture last presented to it and
// takes no pointer input, so presses and moves over it go to the window's surface (and drag it).
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

namespace hollowtide::visuals {

class SpectrumBox : public QWidget {
    Q_OBJECT
  public:
    explicit SpectrumBox(QWidget* parent = nullptr);

    // Shows `picture` in the drawable area from now on (repaints also use it). The screen
    // cannot show more pictures than it refreshes, so repaints follow at most once per
    // refresh; a pass between two refreshes only replaces the picture the next one shows.
    void Present(const QImage& picture);
    const QImage& Shown() const { return shown_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // How long a picture may wait for a pass to repaint it before a timer does.
    static constexpr int kLastPictureMs = 40;

    void ScheduleRepaint();
    int RefreshMilliseconds() const;

    QImage shown_;
    QElapsedTimer sinceRepaint_;
    QTimer lastPicture_;
};

}  // namespace hollowtide::visuals
