// The whole pack played back to back through the offline output, much faster than real time:
// every song starts and ends in order, song 1 follows song 49, and nothing is left behind.
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "player/main_window.h"
#include "player/song_table.h"
#include "support/message_box_recorder.h"

using hollowtide::frm_MAIN;
namespace audio = hollowtide::audio;

namespace {

int CountEntries(const QString& procFolder) {
    return static_cast<int>(
        QDir(procFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

// A generous bound on one song's length, so a song that never ends fails instead of hanging.
constexpr std::size_t kMaxSongFrames = 44100u * 60u * 15u;
constexpr std::size_t kChunkFrames = 44100;

}  // namespace

class PlayerSoakTest : public QObject {
    Q_OBJECT

  private slots:
    void wholePackPlaysInOrderAndWrapsAround() {
        const QString dataDir = qEnvironmentVariable("HOLLOWTIDE_DATA_DIR");
        const QStringList modules =
            QDir(dataDir).entryList({"*.mod", "*.xm", "*.it"}, QDir::Files);  // any case
        if (dataDir.isEmpty() || modules.size() < hollowtide::player::kSongCount)
            QSKIP("the music pack has not been generated in HOLLOWTIDE_DATA_DIR");

        audio::SetOutputKind(audio::OutputKind::Offline);
        hollowtide::testing::MessageBoxRecorder boxes;
        const int fdsBefore = CountEntries(QStringLiteral("/proc/self/fd"));
        const int threadsBefore = CountEntries(QStringLiteral("/proc/self/task"));
        {
            auto window = std::make_unique<frm_MAIN>(QDir(dataDir).absolutePath() + "/..");
            QSignalSpy ended(window.get(), &frm_MAIN::endProgramRequested);
            QVERIFY(window->Load());
            window->Timer1Tick();
            for (int song = 1; song <= hollowtide::player::kSongCount; ++song) {
                QCOMPARE(window->Label1->text(), QString::number(song));
                QCOMPARE(window->Label3->text(), QStringLiteral("Playing"));
                const HMUSIC handle = window->MusicHandle;
                QVERIFY2(handle != 0, qPrintable(QStringLiteral("song %1 loads").arg(song)));
                QCOMPARE(audio::PlayedFrames(handle), 0u);
                // Track the song by NextSong: the engine may give the next module the same
                // handle.
                std::size_t pumped = 0;
                bool endHeard = false;
                while (window->NextSong == song + 1 && pumped < kMaxSongFrames) {
                    pumped += audio::PumpOffline(nullptr, kChunkFrames);
                    if (BASS_ChannelIsActive(handle) == 0) {
                        endHeard = true;
                        QVERIFY(audio::PlayedFrames(handle) > 0);
                    }
                    window->Timer1Tick();
                }
                QVERIFY2(endHeard, qPrintable(QStringLiteral("song %1 ends").arg(song)));
                QCOMPARE(window->NextSong, static_cast<std::int16_t>(song + 2));
            }
            QCOMPARE(window->Label1->text(), QStringLiteral("1"));
            QVERIFY(boxes.boxes().empty());
            window->imgExit_Click();
            QCOMPARE(ended.count(), 1);
        }
        QCOMPARE(CountEntries(QStringLiteral("/proc/self/fd")), fdsBefore);
        QCOMPARE(CountEntries(QStringLiteral("/proc/self/task")), threadsBefore);
    }
};

QTEST_MAIN(PlayerSoakTest)
#include "player_soak_test.moc"
