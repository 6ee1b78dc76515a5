// The player logic of frm_MAIN: the load sequence, the song start through a full engine
// restart, the end-of-song poll, the title scroll and the four text buttons.
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "audio/error_dialog.h"
#include "audio/mod_bass.h"
#include "player/main_window.h"
#include "player/song_table.h"
#include "visuals/click_label.h"
#include "visuals/stars.h"

namespace hollowtide {
namespace {

constexpr std::int16_t kAfterLastSong = player::kSongCount + 1;

// Marks a PlaySong as running for as long as it lives.
class PlayingGuard {
  public:
    explicit PlayingGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~PlayingGuard() { flag_ = false; }
    PlayingGuard(const PlayingGuard&) = delete;
    PlayingGuard& operator=(const PlayingGuard&) = delete;

  private:
    bool& flag_;
};

}  // namespace

bool frm_MAIN::Load() {
    setWindowTitle(QStringLiteral("Fenlark H.T."));
    StopState = 0;
    if (!restart()) return false;
    NextSong = 1;
    SongEndCheck();
    stars_->Load();  // each star dark, then its timer on, Timer4 to Timer8
    ShuffleOn = 0;
    return true;
}

bool frm_MAIN::restart() {
    BASS_Pause();
    BASS_StreamFree(MusicHandle);
    BASS_Free();
    if (audio::EngineVersionText() != QLatin1String(audio::kRequiredEngineVersion)) {
        ThrowError(QStringLiteral("BASS version 1.8 was not loaded"));
        EndProgram();
        return false;
    }
    if (BASS_Init(-1, 44100, 0, this) == 0) {
        ThrowError(QStringLiteral("Can't initialize digital sound system"));
        EndProgram();
        return false;
    }
    if (BASS_Start() == 0) ThrowError(QStringLiteral("Can't start digital output"));
    titleLeftTwips_ = player::kTitleStartTwips;
    PlaceTitle();
    return true;
}

void frm_MAIN::PlaySong() {
    // A message box of this PlaySong runs a nested event loop in which the poll keeps ticking;
    // a second PlaySong from there would restart the engine under the first one.
    if (inPlaySong_ || endRequested_) return;
    const PlayingGuard guard(inPlaySong_);

    for (;;) {
        if (ShuffleOn == -1) RandomSong();
        if (const player::SongEntry* entry = player::FindSong(NextSong)) {
            Label1->setText(QString::number(NextSong));
            Label4->setText(QString::fromLatin1(entry->displayTitle));
            if (!restart()) return;
            const QByteArray path = player::SongPath(programFolder_, *entry);
            MusicHandle = BASS_MusicLoad(0, path.constData(), 0, 0, entry->loadFlags);
            const bool played = BASS_MusicPlayEx(MusicHandle, 0, 0, 1) != 0;
            failedRound_.Record(NextSong, played);
            if (!played) audio::ShowCannotPlayModule();
            SongEndCheck();
            emit songStarted();
            break;
        }
        if (NextSong != kAfterLastSong) break;  // out of range: nothing plays
        NextSong = 1;
    }
    NextSong = static_cast<std::int16_t>(NextSong + 1);
}

void frm_MAIN::RandomSong() {
    const player::UniformDraw draw = randomDraw_ ? randomDraw_ : player::ClockSeededDraw();
    NextSong = static_cast<std::int16_t>(player::PickRandomSong(NextSong - 1, draw));
}

void frm_MAIN::SongEndCheck() {
    Label3->setText(QStringLiteral("Playing"));
    Timer1->start();
    Timer2->start();
    Timer3->start();
    DrawSpectrum();
}

void frm_MAIN::Timer1Tick() {
    // While a PlaySong waits on its box, the song it starts is not over: leave it alone.
    if (inPlaySong_ || endRequested_) return;
    if (BASS_ChannelIsActive(MusicHandle) == 0) {
        Label3->setText(QStringLiteral("Song Ended"));
        PlaySong();
        StopWhenNothingPlays();
    }
}

void frm_MAIN::StopWhenNothingPlays() {
    // A pack in which no song plays would otherwise show one box after another for ever, with
    // no moment in which Exit can be reached. Play, Next and Previous try again.
    if (endRequested_ || StopState != 0 || !failedRound_.Complete()) return;
    Stop();
}

void frm_MAIN::Stop() {
    Label2->setText(QStringLiteral(">Play<"));
    BASS_Pause();
    Timer1->stop();
    Label3->setText(QStringLiteral("Stopped"));
    Timer2->stop();
    Label4->setText(QString());
    Timer3->stop();
    ClearSpectrum();
    StopState = 1;
    emit stateChanged();
}

void frm_MAIN::Timer2Tick() {
    titleLeftTwips_ = player::NextTitleLeft(titleLeftTwips_);
    PlaceTitle();
}

void frm_MAIN::Timer3Tick() {
    DrawSpectrum();
}

void frm_MAIN::lbl_NEXT_Click() {
    PlaySong();
    if (endRequested_) return;
    Label2->setText(QStringLiteral(">Stop<"));
    StopState = 0;
    emit stateChanged();
    StopWhenNothingPlays();
}

void frm_MAIN::lbl_prev_Click() {
    NextSong = static_cast<std::int16_t>(NextSong - 2);
    if (NextSong == 0) NextSong = player::kSongCount;
    PlaySong();
    if (endRequested_) return;
    Label2->setText(QStringLiteral(">Stop<"));
    StopState = 0;
    emit stateChanged();
    StopWhenNothingPlays();
}

void frm_MAIN::lblRandom_Click() {
    if (ShuffleOn == 0) {
        lblRandom->setText(QStringLiteral(">Shuffle ON<"));
        ShuffleOn = -1;
    } else if (ShuffleOn == -1) {
        lblRandom->setText(QStringLiteral(">Shuffle OFF<"));
        ShuffleOn = 0;
    }
    emit stateChanged();
}

void frm_MAIN::Label2_Click() {
    if (StopState == 0) {
        Stop();
    } else if (StopState == 1) {
        Label2->setText(QStringLiteral(">Stop<"));
        NextSong = static_cast<std::int16_t>(NextSong - 1);
        PlaySong();
        if (endRequested_) return;
        StopState = 0;
        emit stateChanged();
        StopWhenNothingPlays();
    }
}

void frm_MAIN::Text1_KeyDown(int keyCode) {
    if (keyCode == Qt::Key_M) emit hiddenWindowRequested();
}

}  // namespace hollowtide
