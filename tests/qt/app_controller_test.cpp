#include <QtTest>

#include <SDL.h>
#include <signal.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/app_controller.h"
#include "app/program_setup.h"
#include "app/termination_signals.h"
#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "player/song_table.h"
#include "support/message_box_recorder.h"
#include "support/test_modules.h"

using namespace hollowtide;
namespace app = hollowtide::app;
using hollowtide::testing::MessageBoxRecorder;
using hollowtide::testing::TempDir;

namespace {

void Click(QWidget* item) {
    QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, item->rect().center());
}

void RunDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Queues a pointer event on a top-level window, as the window system would deliver it.
void QueueMouse(QWindow* window, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const QPointF local(at);
    const QPointF global = window->mapToGlobal(local);
    QCoreApplication::postEvent(
        window, new QMouseEvent(type, local, local, global, Qt::LeftButton, held, Qt::NoModifier));
}

template <typename Window>
int WindowsAlive() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<Window*>(window) != nullptr) ++count;
    }
    return count;
}

int MainWindowsAlive() {
    return WindowsAlive<frm_MAIN>();
}

}  // namespace

// The hand-overs between the windows, as a user meets them.
class AppControllerTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(assets);
        audio::SetOutputKind(audio::OutputKind::Offline);
        hollowtide::testing::WriteFile(folder_ / "data" / player::IntroTuneFileName().toStdString(),
                                       hollowtide::testing::MakeTestMod(16, 1, 3));
        const QString song1 = QString::fromLatin1(player::FindSong(1)->storedPath).mid(6);
        hollowtide::testing::WriteFile(folder_ / "data" / song1.toStdString(),
                                       hollowtide::testing::MakeTestMod(64, 2));
    }
    void cleanup() { BASS_Free(); }

    void goOpensThePlayerAndUnloadsTheIntroForGood() {
        MessageBoxRecorder boxes;
        int ended = 0;
        AppController controller(folderPath(), [&] { ++ended; });
        QVERIFY(controller.Start());
        QPointer<Form1> intro = controller.introScreen();
        Click(intro->img_button_GO);

        QVERIFY(controller.player() != nullptr);
        QVERIFY(controller.player()->isVisible());
        QVERIFY(!intro->isVisible());
        QVERIFY(!intro->Timer1->isActive() && !intro->Timer2->isActive());
        RunDeferredDeletes();
        QVERIFY(intro.isNull());

        // The player owns a freshly started engine: its first poll plays song 1.
        controller.player()->Timer1Tick();
        QCOMPARE(controller.player()->Label1->text(), QStringLiteral("1"));
        QVERIFY(BASS_ChannelIsActive(controller.player()->MusicHandle) != 0);
        QVERIFY(boxes.boxes().empty());
        QCOMPARE(ended, 0);
    }

    // The rest of a double-click on GO reaches the intro screen after the first click has
    // handed over; it must not run GO again.
    //
    // In the last row a box shown while the player comes up ("Can't start digital output") runs
    // its own event loop, as a modal box does, while the intro screen is still on show: the
    // rest of the double-click is handled there and then.
    void secondGoOpensNoSecondPlayer_data() {
        using Events = QList<QEvent::Type>;
        QTest::addColumn<Events>("events");
        QTest::addColumn<bool>("boxOnStart");
        const auto press = QEvent::MouseButtonPress;
        const auto release = QEvent::MouseButtonRelease;
        const auto doubleClick = QEvent::MouseButtonDblClick;
        QTest::newRow("press release press double-click")
            << Events{press, release, press, doubleClick} << false;
        QTest::newRow("double-click and its release")
            << Events{press, release, press, doubleClick, release} << false;
        QTest::newRow("two clicks") << Events{press, release, press, release} << false;
        QTest::newRow("double-click handled inside the player's start-up box")
            << Events{press, release, press, doubleClick, release} << true;
    }
    void secondGoOpensNoSecondPlayer() {
        QFETCH(QList<QEvent::Type>, events);
        QFETCH(bool, boxOnStart);
        MessageBoxRecorder boxes;
        int ended = 0;
        AppController controller(folderPath(), [&] { ++ended; });
        QVERIFY(controller.Start());
        Form1* intro = controller.introScreen();
        QVERIFY(QTest::qWaitForWindowExposed(intro));
        QWindow* window = intro->windowHandle();
        const QPoint go = intro->img_button_GO->mapTo(intro, intro->img_button_GO->rect().center());
        const QPoint caption = intro->Label3->mapTo(intro, QPoint(1, 1));
        if (boxOnStart) {
            audio::InjectFailures({.startFails = true});
            boxes.setWhileOpen([](const audio::MessageBoxRequest&) {
                audio::InjectFailures({});
                QCoreApplication::processEvents();
            });
        }
        for (const QEvent::Type type : events) {
            const bool down = type != QEvent::MouseButtonRelease;
            QueueMouse(window, type, go, down ? Qt::LeftButton : Qt::NoButton);
        }
        QueueMouse(window, QEvent::MouseMove, caption, Qt::NoButton);
        QCoreApplication::processEvents();
        RunDeferredDeletes();

        QCOMPARE(MainWindowsAlive(), 1);
        frm_MAIN* player = controller.player();
        QVERIFY(player != nullptr && player->isVisible());
        player->Timer1Tick();
        QCOMPARE(player->Label1->text(), QStringLiteral("1"));
        QCOMPARE(player->NextSong, std::int16_t{2});
        // The engine the player brought up is still its own: the song plays on.
        audio::PumpOffline(nullptr, 4096);
        QCOMPARE(BASS_ChannelIsActive(player->MusicHandle), BASS_ACTIVE_PLAYING);
        QCOMPARE(boxes.boxes().size(), std::size_t{boxOnStart ? 1u : 0u});
        QCOMPARE(ended, 0);
    }

    // A real SIGTERM, SIGINT or SIGHUP ends the program as the Exit of the window in charge
    // does, from the event loop: the engine is released first.
    void terminationSignalsEndLikeExit_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("afterGo");
        for (const int number : app::kTerminationSignals) {
            const QByteArray name = QByteArray(sigabbrev_np(number));
            QTest::newRow(name + " on the intro screen") << number << false;
            QTest::newRow(name + " in the player") << number << true;
        }
    }
    void terminationSignalsEndLikeExit() {
        QFETCH(int, signalNumber);
        QFETCH(bool, afterGo);
        MessageBoxRecorder boxes;
        int ended = 0;
        bool engineUpAtEnd = true;
        AppController controller(folderPath(), [&] {
            ++ended;
            engineUpAtEnd = BASS_Start() != 0;
        });
        app::TerminationSignals termination;
        QVERIFY(termination.Installed());
        connect(&termination, &app::TerminationSignals::terminationRequested, &controller,
                &AppController::EndOnSignal);
        QVERIFY(controller.Start());
        DWORD song = controller.introScreen()->IntroHandle;
        if (afterGo) {
            Click(controller.introScreen()->img_button_GO);
            controller.player()->Timer1Tick();
            song = controller.player()->MusicHandle;
        }
        QVERIFY(BASS_ChannelIsActive(song) != 0);

        QCOMPARE(kill(getpid(), signalNumber), 0);
        QCOMPARE(ended, 0);  // nothing happens inside the handler
        QTRY_COMPARE(ended, 1);
        QVERIFY(!engineUpAtEnd);
        QCOMPARE(BASS_ErrorGetCode(), 8);  // not initialised: released
        QCOMPARE(BASS_ChannelIsActive(song), 0u);
        QVERIFY(boxes.boxes().empty());
        if (afterGo) QVERIFY(controller.player()->EndRequested());
    }

    void theSoundLibraryLeavesTheSignalsAlone() {
        app::SetUpProgram();
        QCOMPARE(QByteArray(SDL_GetHint(SDL_HINT_NO_SIGNAL_HANDLERS)), QByteArray("1"));
        // With the engine up, SIGINT and SIGTERM still have the handling they had before.
        struct sigaction before {};
        sigaction(SIGTERM, nullptr, &before);
        MessageBoxRecorder boxes;
        audio::SetOutputKind(audio::OutputKind::Sdl);
        const BOOL up = BASS_Init(-1, 44100, 0, nullptr);
        struct sigaction during {};
        sigaction(SIGTERM, nullptr, &during);
        BASS_Free();
        audio::SetOutputKind(audio::OutputKind::Offline);
        QVERIFY(up != 0);
        QCOMPARE(reinterpret_cast<void*>(during.sa_handler),
                 reinterpret_cast<void*>(before.sa_handler));
    }

    void onlyTheIntroAndThePlayerCarryTheProgramIcon() {
        app::SetUpProgram();
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.fenlark.hollowtide"));
        MessageBoxRecorder boxes;
        AppController controller(folderPath(), [] {});
        QVERIFY(controller.Start());
        QVERIFY(!controller.introScreen()->windowIcon().isNull());
        Click(controller.introScreen()->img_button_GO);
        frm_MAIN* player = controller.player();
        QCOMPARE(player->windowIcon().pixmap(32, 32).size(), QSize(32, 32));
        player->imgAbout_Click();
        QVERIFY(controller.aboutScreen()->windowIcon().isNull());
        player->Text1_KeyDown(Qt::Key_M);
        QVERIFY(controller.hiddenWindow().Window()->windowIcon().isNull());
    }

    void aboutSwapsWithThePlayerAndTheMusicPlaysOn() {
        MessageBoxRecorder boxes;
        AppController controller(folderPath(), [] {});
        QVERIFY(controller.Start());
        Click(controller.introScreen()->img_button_GO);
        frm_MAIN* player = controller.player();
        player->Timer1Tick();
        const DWORD song = player->MusicHandle;

        player->imgAbout_Click();
        QVERIFY(!player->isVisible());
        QPointer<frmAbout> about = controller.aboutScreen();
        QVERIFY(about && about->isVisible());
        QVERIFY(BASS_ChannelIsActive(song) != 0);

        Click(about->findChild<QWidget*>(QStringLiteral("imgExit")));
        RunDeferredDeletes();
        QVERIFY(about.isNull());
        QVERIFY(player->isVisible());
        QCOMPARE(player->MusicHandle, song);
        QVERIFY(BASS_ChannelIsActive(song) != 0);
    }

    // The desktop's Raise while the About screen is open brings the About screen forward; the
    // player stays hidden behind it, and another click on About opens no second one.
    void raiseWhileAboutIsOpenKeepsOneAboutScreen() {
        MessageBoxRecorder boxes;
        AppController controller(folderPath(), [] {});
        QVERIFY(controller.Start());
        Click(controller.introScreen()->img_button_GO);
        frm_MAIN* player = controller.player();
        player->imgAbout_Click();
        QPointer<frmAbout> about = controller.aboutScreen();
        QVERIFY(about && about->isVisible());

        controller.mediaControls()->Raise(nullptr);
        QVERIFY(!player->isVisible());
        QVERIFY(about->isVisible());
        player->imgAbout_Click();
        RunDeferredDeletes();
        QCOMPARE(WindowsAlive<frmAbout>(), 1);
        QCOMPARE(controller.aboutScreen(), about.data());

        Click(about->findChild<QWidget*>(QStringLiteral("imgExit")));
        RunDeferredDeletes();
        QVERIFY(player->isVisible());
        QCOMPARE(WindowsAlive<frmAbout>(), 0);
    }

    // The browser that the About screen's link starts inherits the user's environment, not the
    // settings the program made for its own sound and window libraries.
    void theBrowserInheritsNoneOfTheProgramsOwnSettings() {
        TempDir bin;
        const std::filesystem::path dump = bin / "environment";
        {
            std::ofstream opener(bin / "xdg-open");
            opener << "#!/bin/sh\nenv > \"$HOLLOWTIDE_TEST_DUMP.part\"\necho \"opened $1\" >> "
                      "\"$HOLLOWTIDE_TEST_DUMP.part\"\nmv \"$HOLLOWTIDE_TEST_DUMP.part\" "
                      "\"$HOLLOWTIDE_TEST_DUMP\"\n";
        }
        std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
        qputenv("HOLLOWTIDE_TEST_DUMP", QByteArray::fromStdString(dump.string()));
        qputenv("PATH", QByteArray::fromStdString(bin.path().string()) + ":" + qgetenv("PATH"));
        // The user chose the X setting; the sound server's buffer is left to the program.
        qputenv("QT_XCB_NO_MITSHM", "0");
        qunsetenv("PULSE_LATENCY_MSEC");
        app::PrepareEnvironment();
        QCOMPARE(qgetenv("QT_XCB_NO_MITSHM"), QByteArray("0"));
        QVERIFY(!qgetenv("PULSE_LATENCY_MSEC").isEmpty());

        MessageBoxRecorder boxes;
        AppController controller(folderPath(), [] {});
        QVERIFY(controller.Start());
        Click(controller.introScreen()->img_button_GO);
        controller.player()->imgAbout_Click();
        Click(controller.aboutScreen()->findChild<QWidget*>(QStringLiteral("Label4")));
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(dump), 10000);

        std::ifstream in(dump);
        const std::string seen((std::istreambuf_iterator<char>(in)), {});
        QVERIFY2(seen.find("opened http") != std::string::npos, seen.c_str());
        QVERIFY2(seen.find("PULSE_LATENCY_MSEC") == std::string::npos, seen.c_str());
        QVERIFY2(seen.find("QT_XCB_NO_MITSHM=0") != std::string::npos, seen.c_str());
        QVERIFY(seen.find("HOLLOWTIDE_TEST_DUMP=") != std::string::npos);
    }

    void mOpensTheHiddenWindowOnceAndExitEndsTheProgram() {
        MessageBoxRecorder boxes;
        int ended = 0;
        AppController controller(folderPath(), [&] { ++ended; });
        QVERIFY(controller.Start());
        Click(controller.introScreen()->img_button_GO);
        frm_MAIN* player = controller.player();

        player->Text1_KeyDown(Qt::Key_M);
        Form2* hidden = controller.hiddenWindow().Window();
        QVERIFY(hidden && hidden->isVisible());
        player->Text1_KeyDown(Qt::Key_M);
        QCOMPARE(controller.hiddenWindow().Window(), hidden);

        player->imgExit_Click();
        QCOMPARE(ended, 1);
        QCOMPARE(BASS_Start(), 0);  // the engine has been released
    }

  private:
    QString folderPath() const { return QString::fromStdString(folder_.path().string()); }
    TempDir folder_;
};

QTEST_MAIN(AppControllerTest)
#include "app_controller_test.moc"
