// The main window on the desktop's media controls and media keys: the MPRIS 2 interfaces on
// the session bus, under org.mpris.MediaPlayer2.hollowtide at /org/mpris/MediaPlayer2, for as
// long as the window exists (make it the window's child). Every control method is the click on
// the window's own button, so the player's rules and texts hold as if the user had clicked;
// while a message box is open, calls wait as clicks would. Raise shows the window as the About
// screen's close does; Quit is the Exit hot spot.
//
// Without a session bus nothing is published and nothing fails. UI thread only.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <functional>

#include "app/mpris_state.h"
#include "visuals/box_wait_queue.h"

class QDBusMessage;

namespace hollowtide {
class frm_MAIN;
}

namespace hollowtide::app {

class MprisService : public QObject {
    Q_OBJECT
  public:
    // `raise` shows the window again (the app's wiring knows how the About screen does it).
    MprisService(frm_MAIN* player, std::function<void()> raise);
    ~MprisService() override;

    // The bus name taken, or an empty text when nothing could be published.
    const QString& BusName() const { return busName_; }

    // The control side, as the D-Bus interfaces call it. `call` is the method call, whose reply
    // waits while a box is open; tests may pass none.
    void Next(const QDBusMessage* call);
    void Previous(const QDBusMessage* call);
    void PlayStop(MprisPlayMethod method, const QDBusMessage* call);
    void SetShuffle(bool on);
    void Raise(const QDBusMessage* call);
    void Quit(const QDBusMessage* call);

    // Calls that wait for a message box to close.
    std::size_t WaitingCalls() const { return queue_.Waiting(); }

    // What is published.
    const MprisSnapshot& Snapshot() const { return published_; }
    QString PlaybackStatus() const;
    bool Shuffle() const;
    QVariantMap Metadata() const;
    qlonglong PositionMicroseconds() const;

  private:
    void Publish();
    void OnSongStarted();
    MprisSnapshot Look() const;
    void Click(std::function<void()> click, const QDBusMessage* call);

    QPointer<frm_MAIN> player_;
    std::function<void()> raise_;
    visuals::BoxWaitQueue queue_;
    MprisSnapshot published_;
    std::optional<MprisSong> song_;
    std::uint64_t songStarts_ = 0;
    QElapsedTimer sinceStart_;
    qint64 stoppedAt_ = 0;  // the position kept while stopped, in microseconds
    QString busName_;
};

}  // namespace hollowtide::app
