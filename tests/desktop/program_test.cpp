// The real program, started as a user starts it: it finds its modules beside its real path
// (also when started through a link, as the installed command is), and a termination signal
// ends it with status 0. The program is the build's own, or HOLLOWTIDE_PROGRAM when set (the
// install check points it at an installed copy).
#include <signal.h>
#include <sys/types.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "player/playback_rules.h"
#include "player/song_table.h"

using namespace hollowtide;

namespace {

QString ProgramPath() {
    const QString chosen = qEnvironmentVariable("HOLLOWTIDE_PROGRAM");
    return chosen.isEmpty() ? QStringLiteral(HOLLOWTIDE_BUILD_PROGRAM) : chosen;
}

// The disk driver writes what the program plays into a file, in real time.
QProcessEnvironment ProgramEnvironment(const QString& soundFile) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("SDL_AUDIODRIVER", "disk");
    environment.insert("SDL_DISKAUDIOFILE", soundFile);
    return environment;
}

bool HasSound(const QString& soundFile) {
    QFile file(soundFile);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    const auto* samples = reinterpret_cast<const float*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size() / qsizetype(sizeof(float)); ++i) {
        if (samples[i] != 0.0f) return true;
    }
    return false;
}

}  // namespace

class ProgramTest : public QObject {
    Q_OBJECT
  private slots:
    void terminationSignalEndsThePlayingProgramWithStatusZero_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void terminationSignalEndsThePlayingProgramWithStatusZero() {
        QFETCH(int, signalNumber);
        QTemporaryDir scratch;
        const QString sound = scratch.filePath("heard.raw");
        QProcess program;
        program.setProcessEnvironment(ProgramEnvironment(sound));
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(ProgramPath(), {});
        QVERIFY2(program.waitForStarted(), qPrintable(ProgramPath()));
        // The intro tune is heard once the engine is up, which is after the signals are caught.
        QTRY_VERIFY_WITH_TIMEOUT(HasSound(sound), 30000);
        QCOMPARE(program.state(), QProcess::Running);

        QElapsedTimer sinceSignal;
        sinceSignal.start();
        QCOMPARE(kill(static_cast<pid_t>(program.processId()), signalNumber), 0);
        QVERIFY(program.waitForFinished(30000));
        qInfo("ended %.1f ms after the signal", sinceSignal.nsecsElapsed() / 1e6);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }

    // The folder the program reads is that of its real path, whatever link started it.
    void everyModuleLoadsFromBesideTheRealProgram() {
        const QString folder = QFileInfo(QFileInfo(ProgramPath()).canonicalFilePath()).path();
        audio::SetOutputKind(audio::OutputKind::Offline);
        QVERIFY(BASS_Init(-1, 44100, 0, nullptr));
        QList<QByteArray> paths{player::ProgramFilePath(
            folder, QStringLiteral("\\data\\") + player::IntroTuneFileName())};
        for (int number = 1; number <= player::kSongCount; ++number)
            paths << player::SongPath(folder, *player::FindSong(number));
        QCOMPARE(paths.size(), 50);
        for (const QByteArray& path : paths) {
            const HMUSIC module = BASS_MusicLoad(0, path.constData(), 0, 0, 0);
            QVERIFY2(module != 0, path.constData());
            BASS_StreamFree(module);
        }
        BASS_Free();
    }
};

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
