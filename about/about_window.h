// The About screen: credits that swap every 5 s, a text and a "Click here" link to the
// group's radio station, and bubbles rising in the band between the two pictures. It has no
// title bar; its close box returns to the main window (through the closed() signal, which the
// app wires), and it deletes itself when closed, so each opening starts afresh.
// UI thread only.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

#include "about/bubbles.h"
#include "about/credits.h"
#include "visuals/window_placement.h"

class QTimer;

namespace hollowtide {

namespace about {
class AboutSurface;
}  // namespace about
namespace visuals {
class ClickLabel;
}  // namespace visuals

inline constexpr char kRadioStationUrl[] = "https://radio.fenlark.example/";

class frmAbout : public QWidget {
    Q_OBJECT
  public:
    // Hands a web address to the desktop's browser and returns at once.
    using UrlOpener = std::function<void(const QUrl&)>;

    // An empty random source means one seeded from the clock.
    explicit frmAbout(QWidget* parent = nullptr, about::RandomSource random = {});

    void SetUrlOpener(UrlOpener opener);

    // One bubble frame; the animation timer calls it, tests call it directly. Draws nothing
    // before the bubbles are set up or once the window has been closed.
    void Frame();

    // Swaps the credits; Timer1 calls it every 5 s.
    void Timer1Tick();

    const about::BubbleField& Bubbles() const { return bubbles_; }
    const QImage& Backing() const;
    QWidget* Surface() const;
    QTimer* Timer1() const { return Timer1_; }
    QTimer* AnimationTimer() const { return animation_; }

  signals:
    // Closed with the close box; the main window should show again.
    void closed();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void BuildControls();
    void ShowCredits();
    void SetUpBubbles();

    about::AboutSurface* surface_ = nullptr;
    visuals::ClickLabel* Label1_ = nullptr;
    visuals::ClickLabel* Label3_ = nullptr;
    QTimer* Timer1_ = nullptr;
    QTimer* animation_ = nullptr;
    about::Credits credits_;
    about::BubbleField bubbles_;
    UrlOpener openUrl_;
    bool setUp_ = false;
    visuals::CentreOnFirstShow placement_;
    bool closed_ = false;
};

}  // namespace hollowtide
