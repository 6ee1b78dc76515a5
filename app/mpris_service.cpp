#include "app/mpris_service.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLabel>
#include <utility>

#include "app/mpris_adaptors.h"
#include "audio/message_box.h"
#include "audio/module_length.h"
#include "player/main_window.h"
#include "player/playback_rules.h"
#include "player/song_table.h"

namespace hollowtide::app {
namespace {

QString FallbackBusName() {
    // A second copy of the program publishes under its own name, as MPRIS asks.
    return QString::fromLatin1(kMprisBusName) +
           QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
}

}  // namespace

MprisService::MprisService(frm_MAIN* player, std::function<void()> raise)
    : QObject(player), player_(player), raise_(std::move(raise)), queue_(audio::MessageBoxOpen) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    connect(player, &frm_MAIN::songStarted, this, &MprisService::OnSongStarted);
    connect(player, &frm_MAIN::stateChanged, this, &MprisService::Publish);
    published_ = Look();

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    if (!bus.registerObject(QString::fromLatin1(kMprisObjectPath), this,
                            QDBusConnection::ExportAdaptors)) {
        return;
    }
    for (const QString& name : {QString::fromLatin1(kMprisBusName), FallbackBusName()}) {
        if (bus.registerService(name)) {
            busName_ = name;
            return;
        }
    }
    bus.unregisterObject(QString::fromLatin1(kMprisObjectPath));
}

MprisService::~MprisService() {
    if (busName_.isEmpty()) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(busName_);
    bus.unregisterObject(QString::fromLatin1(kMprisObjectPath));
}

MprisSnapshot MprisService::Look() const {
    MprisSnapshot look;
    if (player_) {
        look.playing = player_->StopState == 0;
        look.shuffle = player_->ShuffleOn == -1;
    }
    look.song = song_;
    look.songStarts = songStarts_;
    return look;
}

void MprisService::OnSongStarted() {
    // PlaySong announces the start before it advances NextSong, so NextSong is the song.
    const int number = player_->NextSong;
    const player::SongEntry* entry = player::FindSong(number);
    if (entry == nullptr) return;
    MprisSong song;
    song.number = number;
    song.title = player_->Label4->text();
    song.artist = player::MusicianOf(number);
    song.lengthMicroseconds = audio::ModuleFileLengthMicroseconds(
        player::SongPath(player_->ProgramFolder(), *entry).toStdString());
    song_ = std::move(song);
    ++songStarts_;
    sinceStart_.start();
    stoppedAt_ = 0;
    Publish();
}

void MprisService::Publish() {
    const MprisSnapshot now = Look();
    const QStringList changed = ChangedPlayerProperties(published_, now);
    if (published_.playing && !now.playing && sinceStart_.isValid()) {
        stoppedAt_ = sinceStart_.nsecsElapsed() / 1000;
    }
    published_ = now;
    if (changed.isEmpty() || busName_.isEmpty()) return;

    QVariantMap values;
    for (const QString& property : changed) {
        if (property == QLatin1String("PlaybackStatus")) values.insert(property, PlaybackStatus());
        if (property == QLatin1String("Shuffle")) values.insert(property, Shuffle());
        if (property == QLatin1String("Metadata")) values.insert(property, Metadata());
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kMprisObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kMprisPlayerInterface) << values << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

QString MprisService::PlaybackStatus() const {
    return published_.playing ? QStringLiteral("Playing") : QStringLiteral("Stopped");
}

bool MprisService::Shuffle() const {
    return published_.shuffle;
}

QVariantMap MprisService::Metadata() const {
    return MetadataOf(published_.song);
}

qlonglong MprisService::PositionMicroseconds() const {
    if (!sinceStart_.isValid()) return 0;
    return published_.playing ? sinceStart_.nsecsElapsed() / 1000 : stoppedAt_;
}

void MprisService::Click(std::function<void()> click, const QDBusMessage* call) {
    QPointer<frm_MAIN> player = player_;
    auto guarded = [player, click = std::move(click)] {
        if (player && !player->EndRequested()) click();
    };
    if (call == nullptr) {
        queue_.Run(std::move(guarded));
        return;
    }
    // The caller's reply waits with the click; it goes once the click has run.
    call->setDelayedReply(true);
    const QDBusMessage reply = call->createReply();
    queue_.Run([guarded = std::move(guarded), reply] {
        guarded();
        QDBusConnection::sessionBus().send(reply);
    });
}

void MprisService::Next(const QDBusMessage* call) {
    Click([this] { player_->lbl_NEXT_Click(); }, call);
}

void MprisService::Previous(const QDBusMessage* call) {
    Click([this] { player_->lbl_prev_Click(); }, call);
}

void MprisService::PlayStop(MprisPlayMethod method, const QDBusMessage* call) {
    // Whether the method applies is decided when it runs: an earlier call may still wait.
    Click(
        [this, method] {
            if (ClicksPlayStop(method, player_->StopState == 0)) player_->Label2_Click();
        },
        call);
}

void MprisService::SetShuffle(bool on) {
    Click(
        [this, on] {
            if ((player_->ShuffleOn == -1) != on) player_->lblRandom_Click();
        },
        nullptr);
}

void MprisService::Raise(const QDBusMessage* call) {
    Click([this] { raise_(); }, call);
}

void MprisService::Quit(const QDBusMessage* call) {
    Click([this] { player_->imgExit_Click(); }, call);
}

}  // namespace hollowtide::app
