// What the desktop's media controls (MPRIS) are told about the player, as plain values: the
// status, the shuffle flag and the song that last started, and which of the published
// properties changed from one look at the player to the next. The D-Bus side
// (app/mpris_service.h) publishes them; tests drive these directly.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <cstdint>
#include <optional>

namespace hollowtide::app {

inline constexpr char kMprisBusName[] = "org.mpris.MediaPlayer2.hollowtide";
inline constexpr char kMprisObjectPath[] = "/org/mpris/MediaPlayer2";
inline constexpr char kMprisRootInterface[] = "org.mpris.MediaPlayer2";
inline constexpr char kMprisPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
inline constexpr char kMprisNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

// The song a start was for, as the player showed it.
struct MprisSong {
    int number = 0;  // 1 to 49
    QString title;   // the display title, exactly as the window shows it
    QString artist;  // the musician's handle
    std::optional<std::int64_t> lengthMicroseconds;
};

struct MprisSnapshot {
    bool playing = true;  // StopState 0
    bool shuffle = false;
    std::optional<MprisSong> song;  // none before the first song start
    std::uint64_t songStarts = 0;   // counts every start, so a restarted song is a change too
};

// "Playing" or "Stopped", following StopState (0 playing, 1 stopped).
QString PlaybackStatusOf(std::int16_t stopState);

// The Metadata map: track id, title, artist and length; the no-track id alone before any song.
QVariantMap MetadataOf(const std::optional<MprisSong>& song);

// The track id of a song, a D-Bus object path.
QString TrackIdOf(int songNumber);

// The Player interface's properties that differ between two snapshots, in a fixed order.
QStringList ChangedPlayerProperties(const MprisSnapshot& before, const MprisSnapshot& after);

// What each control method does, given whether the player is playing: whether it is the click
// on the Play/Stop button. PlayPause always is; Play only when stopped; Pause and Stop only
// when playing.
enum class MprisPlayMethod { PlayPause, Play, Pause, Stop };
bool ClicksPlayStop(MprisPlayMethod method, bool playing);

}  // namespace hollowtide::app
