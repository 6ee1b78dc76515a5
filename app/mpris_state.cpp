#include "app/mpris_state.h"

#include <QDBusObjectPath>

namespace hollowtide::app {

QString PlaybackStatusOf(std::int16_t stopState) {
    return stopState == 0 ? QStringLiteral("Playing") : QStringLiteral("Stopped");
}

QString TrackIdOf(int songNumber) {
    return QStringLiteral("/org/fenlark/Hollowtide/track/%1").arg(songNumber);
}

QVariantMap MetadataOf(const std::optional<MprisSong>& song) {
    QVariantMap metadata;
    if (!song) {
        metadata.insert(QStringLiteral("mpris:trackid"),
                        QVariant::fromValue(QDBusObjectPath(QString::fromLatin1(kMprisNoTrack))));
        return metadata;
    }
    metadata.insert(QStringLiteral("mpris:trackid"),
                    QVariant::fromValue(QDBusObjectPath(TrackIdOf(song->number))));
    metadata.insert(QStringLiteral("xesam:title"), song->title);
    metadata.insert(QStringLiteral("xesam:artist"), QStringList{song->artist});
    if (song->lengthMicroseconds) {
        metadata.insert(QStringLiteral("mpris:length"),
                        QVariant::fromValue(static_cast<qlonglong>(*song->lengthMicroseconds)));
    }
    return metadata;
}

QStringList ChangedPlayerProperties(const MprisSnapshot& before, const MprisSnapshot& after) {
    QStringList changed;
    if (before.playing != after.playing) changed << QStringLiteral("PlaybackStatus");
    if (before.shuffle != after.shuffle) changed << QStringLiteral("Shuffle");
    if (before.songStarts != after.songStarts) changed << QStringLiteral("Metadata");
    return changed;
}

bool ClicksPlayStop(MprisPlayMethod method, bool playing) {
    switch (method) {
        case MprisPlayMethod::PlayPause:
            return true;
        case MprisPlayMethod::Play:
            return !playing;
        case MprisPlayMethod::Pause:
        case MprisPlayMethod::Stop:
            return playing;
    }
    return false;
}

}  // namespace hollowtide::app
