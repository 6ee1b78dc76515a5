// frm_MAIN, the main player window: a borderless 504 x 300 picture with the song number, the
// scrolling title, the status line, four text buttons, the spectrum screen and three title-bar
// hot spots. It owns the sound engine from its load on and plays the pack's songs one after
// another.
//
// Threading: everything here runs on the UI thread. Timer ticks, clicks and key presses call the
// handlers below one at a time; the handlers are public so tests can drive them without waiting
// for timers.
//
// Program end: on Exit and on a fatal engine failure the window emits endProgramRequested() and
// does nothing more; the app connects that signal to an immediate exit.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/bass.h"
#include "player/playback_rules.h"
#include "visuals/window_placement.h"

class QLabel;
class QLineEdit;
class QTimer;

namespace hollowtide {

namespace visuals {
class ClickLabel;
class SpectrumAnalyser;
class SpectrumBox;
class StarField;
class WindowDragger;
}  // namespace visuals

class frm_MAIN : public QWidget {
    Q_OBJECT
  public:
    // `programFolder` is the folder that holds the executable; songs are read from its data/.
    explicit frm_MAIN(QString programFolder, QWidget* parent = nullptr);
    ~frm_MAIN() override;

    // The window's load event: brings the engine up and arms the end-of-song poll, whose first
    // tick plays song 1. The app calls it before show(). Returns false after a fatal engine
    // failure (endProgramRequested() has then been emitted).
    bool Load();

    // Player state.
    std::int16_t NextSong = 1;   // the song the next PlaySong plays; k + 1 while song k plays
    HMUSIC MusicHandle = 0;      // the current module, 0 when loading failed; kept after a free
    std::int16_t StopState = 0;  // 0 playing, 1 stopped by the user
    std::int16_t ShuffleOn = 0;  // 0 off, -1 on

    // Tears the engine down and brings it up again; resets the title to its start position.
    // Returns false after a fatal failure, once endProgramRequested() has been emitted: the
    // caller must then return at once.
    bool restart();
    // Starts the song NextSong names (a shuffle pick first when shuffle is on) and advances
    // NextSong. Never re-enters: a call made while one runs (from a timer firing inside one of
    // its message boxes) does nothing.
    void PlaySong();
    void RandomSong();
    void SongEndCheck();
    void ThrowError(const QString& message);
    void DrawSpectrum();

    // Event handlers.
    void Timer1Tick();  // end-of-song poll
    void Timer2Tick();  // title scroll
    void Timer3Tick();  // spectrum pass
    void lbl_NEXT_Click();
    void lbl_prev_Click();
    void lblRandom_Click();
    void Label2_Click();
    void imgAbout_Click();
    void imgMinimize_Click();
    void imgExit_Click();
    void Text1_KeyDown(int keyCode);

    // The title's left edge inside Picture3, in twips.
    int TitleLeftTwips() const { return titleLeftTwips_; }
    // True once the window has asked for the program to end.
    bool EndRequested() const { return endRequested_; }
    // Replaces the clock-seeded generator of RandomSong (tests).
    void SetRandomDraw(player::UniformDraw draw) { randomDraw_ = std::move(draw); }
    const QString& ProgramFolder() const { return programFolder_; }
    // The visual pieces the window drives: the analyser behind picWinamp, the stars of
    // Timer4 to Timer8 and the dragging of the window.
    visuals::SpectrumAnalyser& Analyser() { return *analyser_; }
    visuals::StarField& Stars() { return *stars_; }
    visuals::WindowDragger& Dragger() { return *dragger_; }

    // Controls, named as the program's layout names them.
    QLineEdit* Text1 = nullptr;
    QLabel* picWinAmpBand = nullptr;
    visuals::SpectrumBox* picWinamp = nullptr;
    QWidget* Picture3 = nullptr;
    QLabel* Label4 = nullptr;
    visuals::ClickLabel* imgAbout = nullptr;
    visuals::ClickLabel* lblRandom = nullptr;
    QLabel* Label5 = nullptr;
    visuals::ClickLabel* imgExit = nullptr;
    visuals::ClickLabel* imgMinimize = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    visuals::ClickLabel* lbl_prev = nullptr;
    visuals::ClickLabel* Label2 = nullptr;
    visuals::ClickLabel* lbl_NEXT = nullptr;
    QLabel* Image1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    QTimer* Timer4 = nullptr;
    QTimer* Timer5 = nullptr;
    QTimer* Timer6 = nullptr;
    QTimer* Timer7 = nullptr;
    QTimer* Timer8 = nullptr;

  signals:
    void aboutRequested();         // the window has hidden itself; show the About screen
    void hiddenWindowRequested();  // M was pressed
    void endProgramRequested();    // end the program now
    void songStarted();            // PlaySong has started a song (or tried to): number, title
    void stateChanged();           // StopState or ShuffleOn may have changed

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void BuildTimers();
    void BuildVisuals();
    void PaintStar(QPoint pixel, QColor colour);
    void ConnectHandlers();
    void PlaceTitle();
    void ClearSpectrum();
    void EndProgram();
    // The stopped state, as Stop leaves it.
    void Stop();
    void StopWhenNothingPlays();

    QString programFolder_;
    QPixmap background_;
    QPixmap buttonBar_;
    int titleLeftTwips_ = player::kTitleStartTwips;
    bool inPlaySong_ = false;
    bool endRequested_ = false;
    player::FailedRound failedRound_;
    visuals::CentreOnFirstShow placement_;
    player::UniformDraw randomDraw_;
    std::unique_ptr<visuals::SpectrumAnalyser> analyser_;
    visuals::StarField* stars_ = nullptr;
    visuals::WindowDragger* dragger_ = nullptr;
    // The stars' last colours, painted over the background so repaints keep them.
    struct StarPoint {
        QPoint pixel;
        QColor colour;
    };
    std::vector<StarPoint> starPoints_;
};

}  // namespace hollowtide
