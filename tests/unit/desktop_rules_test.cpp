// The plain rules behind the desktop integration: the hidden window's key on any keyboard
// layout, the names screen readers give the text buttons, the round of unplayable songs, and
// what the media controls are told.
#include <gtest/gtest.h>

#include <QDBusObjectPath>

#include "app/mpris_state.h"
#include "player/playback_rules.h"
#include "player/song_table.h"
#include "visuals/click_label.h"

namespace app = hollowtide::app;
namespace player = hollowtide::player;

namespace {

// X11/Wayland key codes of a few keys of a US keyboard, by the letter printed on them there.
constexpr quint32 kUsSemicolonKey = 47;  // where AZERTY has M
constexpr quint32 kUsNKey = 57;
constexpr quint32 kUsMKey = 58;

constexpr int kCyrillicSoftSign = 0x042C;  // Russian: the key in M's place types "ь"
constexpr int kCyrillicTe = 0x0422;        // Russian: the key in N's place types "т"
constexpr int kGreekMu = 0x039C;           // Greek: the key in M's place types "μ"

}  // namespace

TEST(HiddenWindowKey, LatinLayoutsUseTheKeyThatTypesM) {
    EXPECT_TRUE(player::IsHiddenWindowKey(Qt::Key_M, kUsMKey));          // QWERTY, Dvorak
    EXPECT_TRUE(player::IsHiddenWindowKey(Qt::Key_M, kUsSemicolonKey));  // AZERTY
    EXPECT_TRUE(player::IsHiddenWindowKey(Qt::Key_M, 0));                // no native code at all
    // AZERTY's comma sits where US has M: it is not M there.
    EXPECT_FALSE(player::IsHiddenWindowKey(Qt::Key_Comma, kUsMKey));
    // A Latin letter other than M never counts, wherever it sits.
    EXPECT_FALSE(player::IsHiddenWindowKey(Qt::Key_N, kUsMKey));
    EXPECT_FALSE(player::IsHiddenWindowKey(Qt::Key_Semicolon, kUsMKey));
}

TEST(HiddenWindowKey, OtherScriptsUseTheKeyInMsUsPlace) {
    EXPECT_TRUE(player::IsHiddenWindowKey(kCyrillicSoftSign, kUsMKey));
    EXPECT_TRUE(player::IsHiddenWindowKey(kGreekMu, kUsMKey));
    EXPECT_FALSE(player::IsHiddenWindowKey(kCyrillicTe, kUsNKey));
    EXPECT_FALSE(player::IsHiddenWindowKey(kCyrillicSoftSign, kUsNKey));
    // Keys that are no letters (digits, function keys) never stand in for M.
    EXPECT_FALSE(player::IsHiddenWindowKey(Qt::Key_F1, kUsMKey));
    EXPECT_FALSE(player::IsHiddenWindowKey(Qt::Key_5, kUsMKey));
}

TEST(AccessibleName, TextButtonsAreNamedAfterTheirCaptions) {
    using hollowtide::visuals::AccessibleNameFromCaption;
    EXPECT_EQ(AccessibleNameFromCaption(">Next Tune<"), "Next tune");
    EXPECT_EQ(AccessibleNameFromCaption(">Previous Tune<"), "Previous tune");
    EXPECT_EQ(AccessibleNameFromCaption(">Stop<"), "Stop");
    EXPECT_EQ(AccessibleNameFromCaption(">Shuffle ON<"), "Shuffle on");
    EXPECT_EQ(AccessibleNameFromCaption("Click here"), "Click here");
    EXPECT_EQ(AccessibleNameFromCaption("><"), "");
    EXPECT_EQ(AccessibleNameFromCaption(""), "");
}

TEST(FailedRound, CompleteAfterAsManyFailuresInARowAsTheTableHasSongs) {
    player::FailedRound round;
    for (int song = 1; song <= 48; ++song) round.Record(song, false);
    EXPECT_FALSE(round.Complete());
    round.Record(49, false);
    EXPECT_TRUE(round.Complete());
    round.Record(5, false);  // a retry that fails again keeps it complete
    EXPECT_TRUE(round.Complete());

    round.Record(7, true);  // one song plays: the count starts afresh
    EXPECT_FALSE(round.Complete());
    EXPECT_EQ(round.FailuresInARow(), 0);
    for (int song = 8; song <= 49; ++song) round.Record(song, false);
    for (int song = 1; song <= 6; ++song) round.Record(song, false);
    EXPECT_FALSE(round.Complete());
    round.Record(7, false);
    EXPECT_TRUE(round.Complete());
}

// Random picks meet the same songs again and again: the count is of boxes, not of songs, so
// shuffle over a pack where nothing plays stops after as many boxes as in order.
TEST(FailedRound, RepeatedPicksCountEachTime) {
    player::FailedRound round;
    for (int i = 0; i < 48; ++i) round.Record(1 + i % 3, false);
    EXPECT_FALSE(round.Complete());
    round.Record(2, false);
    EXPECT_TRUE(round.Complete());
}

TEST(FailedRound, NumbersOutsideTheTableAreIgnored) {
    player::FailedRound round;
    for (int song : {0, -1, 50, 1000}) round.Record(song, false);
    EXPECT_EQ(round.FailuresInARow(), 0);
}

TEST(MprisState, StatusFollowsTheStopState) {
    EXPECT_EQ(app::PlaybackStatusOf(0), "Playing");
    EXPECT_EQ(app::PlaybackStatusOf(1), "Stopped");
}

TEST(MprisState, PlayStopMethodsClickOnlyWhereTheyApply) {
    using app::MprisPlayMethod;
    EXPECT_TRUE(app::ClicksPlayStop(MprisPlayMethod::PlayPause, true));
    EXPECT_TRUE(app::ClicksPlayStop(MprisPlayMethod::PlayPause, false));
    EXPECT_TRUE(app::ClicksPlayStop(MprisPlayMethod::Play, false));
    EXPECT_FALSE(app::ClicksPlayStop(MprisPlayMethod::Play, true));
    for (MprisPlayMethod method : {MprisPlayMethod::Pause, MprisPlayMethod::Stop}) {
        EXPECT_TRUE(app::ClicksPlayStop(method, true));
        EXPECT_FALSE(app::ClicksPlayStop(method, false));
    }
}

TEST(MprisState, MetadataNamesTheSongAsShown) {
    EXPECT_EQ(app::MetadataOf(std::nullopt).value("mpris:trackid").value<QDBusObjectPath>().path(),
              QString::fromLatin1(app::kMprisNoTrack));
    EXPECT_EQ(app::MetadataOf(std::nullopt).size(), 1);

    app::MprisSong song{10, "DUSKMOTH_night bloom.XM", player::MusicianOf(10), 123456789};
    const QVariantMap metadata = app::MetadataOf(song);
    EXPECT_EQ(metadata.value("mpris:trackid").value<QDBusObjectPath>().path(),
              "/org/fenlark/Hollowtide/track/10");
    EXPECT_EQ(metadata.value("xesam:title").toString(), "DUSKMOTH_night bloom.XM");
    EXPECT_EQ(metadata.value("xesam:artist").toStringList(), QStringList{"DuskMoth"});
    EXPECT_EQ(metadata.value("mpris:length").toLongLong(), 123456789);

    song.lengthMicroseconds.reset();  // an unreadable file has no length to tell
    EXPECT_FALSE(app::MetadataOf(song).contains("mpris:length"));
}

TEST(MprisState, ChangedPropertiesAreTheOnesThatDiffer) {
    app::MprisSnapshot before;
    app::MprisSnapshot after = before;
    EXPECT_TRUE(app::ChangedPlayerProperties(before, after).isEmpty());
    after.playing = false;
    after.shuffle = true;
    EXPECT_EQ(app::ChangedPlayerProperties(before, after),
              (QStringList{"PlaybackStatus", "Shuffle"}));
    // The same song started again is a new start, so the metadata is sent again.
    before.song = app::MprisSong{3, "t", "a", 1};
    after = before;
    after.songStarts = before.songStarts + 1;
    EXPECT_EQ(app::ChangedPlayerProperties(before, after), QStringList{"Metadata"});
}

TEST(SongTable, MusicianOfEverySongIsAHandleOfTheMarquee) {
    for (int number = 1; number <= player::kSongCount; ++number) {
        const QString handle = player::MusicianOf(number);
        ASSERT_FALSE(handle.isEmpty()) << number;
        EXPECT_TRUE(player::MarqueeText().contains(handle + "....")) << number;
        EXPECT_TRUE(QString::fromLatin1(player::FindSong(number)->displayTitle)
                        .startsWith(handle.toUpper() + "_"))
            << number;
    }
    EXPECT_TRUE(player::MusicianOf(0).isEmpty());
    EXPECT_TRUE(player::MusicianOf(50).isEmpty());
}
