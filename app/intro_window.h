// The intro screen `Form1`: brings the sound engine up, loops the intro tune, scrolls the
// credits marquee and leads on to the player (GO) or out of the program (EXIT).
#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "app/marquee.h"
#include "visuals/cached_text_label.h"
#include "visuals/click_label.h"
#include "visuals/window_drag.h"
#include "visuals/window_placement.h"

namespace hollowtide {

class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(QString programFolder, QWidget* parent = nullptr);

    // The load event. Returns false when a fatal engine failure has been reported, in which
    // case the program must end without showing any window.
    bool Load();

    // The error dialog (the engine's last error code is appended).
    void ThrowError(const QString& message);

    void Timer1Tick();  // marquee scroll
    void Timer2Tick();  // marquee colour

    // GO and EXIT run once: from then on the screen takes no input, even what is already queued.
    void GoClicked();
    void ExitClicked();

    // Unloads the screen for good: no input, no timers, the window closed. The app calls it once
    // the main window has taken over.
    void Unload();
    bool HandedOver() const { return handedOver_; }

    // Sets the caption under the banner after the pointer moved over `item`.
    void UpdateHoverCaption(const QWidget* item);

    std::uint32_t IntroHandle = 0;
    MarqueeScroll Marquee;
    MarqueeColourCycle MarqueeColour;

    QLabel* Picture1;
    QLabel* Label3;
    QLabel* Picture2;
    visuals::ClickLabel* img_button_GO;
    visuals::ClickLabel* img_button_EXIT;
    QLabel* Label2;
    QWidget* Picture3;
    QLabel* Label1;
    QTimer* Timer1;
    QTimer* Timer2;
    visuals::WindowDragger* Dragger;

    // The path handed to the engine for the intro tune.
    QByteArray IntroTunePath() const;

  signals:
    // GO: the engine has been released; the main player window takes over.
    void goRequested();
    // EXIT, after the engine has been released: end the program at once.
    void endProgramRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetCaption(const QString& caption);
    void FitCaption();
    void BuildControls();
    void PlaceMarqueeLabel();
    void HandOver();

    QString programFolder_;
    visuals::CentreOnFirstShow placement_;
    bool handedOver_ = false;
};

}  // namespace hollowtide
