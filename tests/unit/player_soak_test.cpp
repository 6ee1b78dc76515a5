// The whole pack played back to back through the offline output, much faster than real time:
// every song starts and ends in order, song 1 follows song 49, and nothing is left behind.
// The pack is over two hours of music, so it is played in seven runs of seven songs, each run a
// test of its own (with its own time limit) that also sees the next run's first song start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <memory>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "player/main_window.h"
#include "player/song_table.h"
#include "support/message_box_recorder.h"

namespace {

namespace audio = hollowtide::audio;
using hollowtide::frm_MAIN;

constexpr int kSongsPerRun = 7;
constexpr std::size_t kChunkFrames = 44100;
// A generous bound on one song's length, so a song that never ends fails instead of hanging.
constexpr std::size_t kMaxSongFrames = 44100u * 60u * 15u;

int CountEntries(const char* procFolder) {
    return static_cast<int>(QDir(QString::fromLatin1(procFolder))
                                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                                .size());
}

class PlayerSoak : public ::testing::TestWithParam<int> {
  protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "player_soak_test";
            static char* argv[] = {name, nullptr};
            app_ = std::make_unique<QApplication>(argc, argv);
        }
    }
    static void TearDownTestSuite() { app_.reset(); }

    static inline std::unique_ptr<QApplication> app_;
};

TEST_P(PlayerSoak, SongsPlayToTheirEndsInOrder) {
    // The pack is generated into data/ beside the test binary; HOLLOWTIDE_DATA_DIR may say
    // otherwise.
    QString dataDir = qEnvironmentVariable("HOLLOWTIDE_DATA_DIR");
    if (dataDir.isEmpty())
        dataDir = QCoreApplication::applicationDirPath() + QStringLiteral("/data");
    const QStringList modules =
        QDir(dataDir).entryList({"*.mod", "*.xm", "*.it"}, QDir::Files);  // any letter case
    if (modules.size() < hollowtide::player::kSongCount) {
        GTEST_SKIP() << "the music pack has not been generated in " << dataDir.toStdString();
    }

    const int first = GetParam() * kSongsPerRun + 1;
    const int last = first + kSongsPerRun - 1;
    audio::SetOutputKind(audio::OutputKind::Offline);
    hollowtide::testing::MessageBoxRecorder boxes;
    const int fdsBefore = CountEntries("/proc/self/fd");
    const int threadsBefore = CountEntries("/proc/self/task");
    {
        frm_MAIN window(QDir(dataDir).absolutePath() + QStringLiteral("/.."));
        ASSERT_TRUE(window.Load());
        window.NextSong = static_cast<std::int16_t>(first);
        window.Timer1Tick();  // the first poll finds nothing playing and starts `first`
        for (int song = first; song <= last; ++song) {
            SCOPED_TRACE(testing::Message() << "song " << song);
            ASSERT_EQ(window.Label1->text(), QString::number(song));
            ASSERT_EQ(window.Label3->text(), QStringLiteral("Playing"));
            const HMUSIC handle = window.MusicHandle;
            ASSERT_NE(handle, 0u);
            ASSERT_EQ(audio::PlayedFrames(handle), 0u);
            // Follow the song by NextSong: the next module may get the same handle.
            std::size_t pumped = 0;
            bool endHeard = false;
            while (window.NextSong == song + 1 && pumped < kMaxSongFrames) {
                pumped += audio::PumpOffline(nullptr, kChunkFrames);
                if (BASS_ChannelIsActive(handle) == 0) {
                    endHeard = true;
                    EXPECT_GT(audio::PlayedFrames(handle), 44100u * 10u);
                }
                window.Timer1Tick();
            }
            ASSERT_TRUE(endHeard);
            const int following = song == hollowtide::player::kSongCount ? 1 : song + 1;
            ASSERT_EQ(window.NextSong, following + 1);
        }
        // The following song has started: the next run's first, or song 1 after song 49.
        EXPECT_EQ(window.Label1->text(),
                  QString::number(last == hollowtide::player::kSongCount ? 1 : last + 1));
        EXPECT_TRUE(boxes.boxes().empty());
        window.imgExit_Click();
        EXPECT_TRUE(window.EndRequested());
    }
    EXPECT_EQ(CountEntries("/proc/self/fd"), fdsBefore);
    EXPECT_EQ(CountEntries("/proc/self/task"), threadsBefore);
}

INSTANTIATE_TEST_SUITE_P(Pack, PlayerSoak,
                         ::testing::Range(0, hollowtide::player::kSongCount / kSongsPerRun));

}  // namespace
