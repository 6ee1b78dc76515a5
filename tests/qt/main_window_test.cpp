// frm_MAIN's playback control, driven tick by tick: the offline output stands for the sound
// device and the message-box recorder for the user closing boxes.
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "player/main_window.h"
#include "player/song_table.h"
#include "qt/player_test_folder.h"
#include "support/message_box_recorder.h"
#include "visuals/click_label.h"

using hollowtide::frm_MAIN;
using hollowtide::testing::MessageBoxRecorder;
using hollowtide::testing::PlayerFolder;
using hollowtide::testing::PumpUntilEnded;
namespace audio = hollowtide::audio;

namespace {

QString TitleOf(int number) {
    return QString::fromLatin1(hollowtide::player::FindSong(number)->displayTitle);
}

// A draw that yields song `number` (1 to 49) from the picker.
float DrawFor(int number) {
    return (static_cast<float>(number) - 0.5f) / 49.0f;
}

// A draw source that replays `numbers` as picks, then repeats the last.
hollowtide::player::UniformDraw Picks(std::vector<int> numbers) {
    auto index = std::make_shared<std::size_t>(0);
    return [numbers, index] {
        const int number = numbers[std::min(*index, numbers.size() - 1)];
        ++*index;
        return DrawFor(number);
    };
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MessageBoxRecorder> boxes_;
    std::unique_ptr<PlayerFolder> folder_;

    // A loaded window whose first poll tick has started song 1.
    std::unique_ptr<frm_MAIN> StartedWindow() {
        auto window = std::make_unique<frm_MAIN>(folder_->path());
        window->Load();
        window->Timer1Tick();
        return window;
    }

    // Plays `number` as if it had been reached in order.
    static void PlayFrom(frm_MAIN& window, int number) {
        window.NextSong = static_cast<std::int16_t>(number);
        window.PlaySong();
    }

    static void ExpectStopped(frm_MAIN& window) {
        QCOMPARE(window.Label2->text(), QStringLiteral(">Play<"));
        QCOMPARE(window.Label3->text(), QStringLiteral("Stopped"));
        QCOMPARE(window.Label4->text(), QString());
        QCOMPARE(window.StopState, std::int16_t{1});
        QVERIFY(!window.Timer1->isActive() && !window.Timer2->isActive() &&
                !window.Timer3->isActive());
    }

    static void ExpectPlaying(frm_MAIN& window, int number) {
        QCOMPARE(window.Label1->text(), QString::number(number));
        QCOMPARE(window.Label4->text(), TitleOf(number));
        QCOMPARE(window.NextSong, static_cast<std::int16_t>(number + 1));
        QCOMPARE(window.Label3->text(), QStringLiteral("Playing"));
        QVERIFY(window.MusicHandle != 0);
        QVERIFY(BASS_ChannelIsActive(window.MusicHandle) != 0);
        QVERIFY(window.Timer1->isActive() && window.Timer2->isActive() &&
                window.Timer3->isActive());
    }

  private slots:
    void initTestCase() { audio::SetOutputKind(audio::OutputKind::Offline); }

    void init() {
        boxes_ = std::make_unique<MessageBoxRecorder>();
        folder_ = std::make_unique<PlayerFolder>(std::set<int>{13});
    }

    void cleanup() {
        BASS_Pause();
        BASS_Free();
        audio::InjectFailures({});
        folder_.reset();
        boxes_.reset();
    }

    void loadWaitsForTheFirstPollThenPlaysSongOne() {
        frm_MAIN window(folder_->path());
        QCOMPARE(window.Label4->text(), QStringLiteral("???"));
        QVERIFY(!window.Timer1->isActive());
        window.Load();
        QCOMPARE(window.windowTitle(), QStringLiteral("Fenlark H.T."));
        QCOMPARE(window.Label3->text(), QStringLiteral("Playing"));
        QCOMPARE(window.Label1->text(), QStringLiteral("1"));
        QCOMPARE(window.MusicHandle, 0u);
        QCOMPARE(window.NextSong, std::int16_t{1});
        QCOMPARE(window.StopState, std::int16_t{0});
        QCOMPARE(window.ShuffleOn, std::int16_t{0});
        for (QTimer* timer : {window.Timer1, window.Timer2, window.Timer3, window.Timer4,
                              window.Timer5, window.Timer6, window.Timer7, window.Timer8})
            QVERIFY2(timer->isActive(), qPrintable(timer->objectName()));

        window.Timer1Tick();
        ExpectPlaying(window, 1);
        QCOMPARE(window.TitleLeftTwips(), 3000);
        QCOMPARE(window.Label4->x(), 200);  // just beyond the title box's right edge
        QCOMPARE(audio::PlayedFrames(window.MusicHandle), 0u);
        QVERIFY(boxes_->boxes().empty());
    }

    void nextAndPreviousWrapAround() {
        auto window = StartedWindow();
        window->lbl_prev_Click();  // from song 1
        ExpectPlaying(*window, 49);
        window->lbl_NEXT_Click();  // from song 49
        ExpectPlaying(*window, 1);
        window->lbl_NEXT_Click();
        ExpectPlaying(*window, 2);
        window->lbl_prev_Click();  // from song 2
        ExpectPlaying(*window, 1);
        QVERIFY(boxes_->boxes().empty());
    }

    void songEndsMoveOnAndSong49LeadsToSong1() {
        auto window = StartedWindow();
        QVERIFY(PumpUntilEnded(window->MusicHandle));
        window->Timer1Tick();
        ExpectPlaying(*window, 2);

        PlayFrom(*window, 49);
        window->Timer1Tick();  // still playing: nothing happens
        ExpectPlaying(*window, 49);
        QVERIFY(PumpUntilEnded(window->MusicHandle));
        window->Timer1Tick();
        ExpectPlaying(*window, 1);
    }

    void stopThenPlayRestartsTheSameSongFromItsStart() {
        auto window = StartedWindow();
        PlayFrom(*window, 5);
        audio::PumpOffline(nullptr, 1000);
        window->Label2_Click();
        QCOMPARE(window->Label2->text(), QStringLiteral(">Play<"));
        QCOMPARE(window->Label3->text(), QStringLiteral("Stopped"));
        QCOMPARE(window->Label4->text(), QString());
        QCOMPARE(window->StopState, std::int16_t{1});
        QVERIFY(!window->Timer1->isActive() && !window->Timer2->isActive() &&
                !window->Timer3->isActive());
        QCOMPARE(window->NextSong, std::int16_t{6});  // nothing advances while stopped

        window->Label2_Click();
        ExpectPlaying(*window, 5);
        QCOMPARE(window->Label2->text(), QStringLiteral(">Stop<"));
        QCOMPARE(window->StopState, std::int16_t{0});
        QCOMPARE(audio::PlayedFrames(window->MusicHandle), 0u);
    }

    void stopThenNextPlaysTheFollowingSong() {
        auto window = StartedWindow();
        PlayFrom(*window, 7);
        window->Label2_Click();
        window->lbl_NEXT_Click();
        ExpectPlaying(*window, 8);
        QCOMPARE(window->Label2->text(), QStringLiteral(">Stop<"));
        QCOMPARE(window->StopState, std::int16_t{0});

        window->Label2_Click();
        window->lbl_prev_Click();
        ExpectPlaying(*window, 7);
        QCOMPARE(window->Label2->text(), QStringLiteral(">Stop<"));
    }

    void shuffleNeverRepeatsTheSongJustHeard() {
        auto window = StartedWindow();
        PlayFrom(*window, 7);
        window->lblRandom_Click();
        QCOMPARE(window->lblRandom->text(), QStringLiteral(">Shuffle ON<"));
        QCOMPARE(window->ShuffleOn, std::int16_t{-1});
        ExpectPlaying(*window, 7);  // the toggle leaves the playing song alone

        // The generator first lands on the song just heard; the pick must draw again.
        window->SetRandomDraw(Picks({7, 7, 20}));
        window->lbl_NEXT_Click();
        ExpectPlaying(*window, 20);

        window->SetRandomDraw(Picks({20, 3}));
        QVERIFY(PumpUntilEnded(window->MusicHandle));
        window->Timer1Tick();
        ExpectPlaying(*window, 3);

        // With the clock-seeded generator too, song after song.
        window->SetRandomDraw(nullptr);
        for (int i = 0; i < 60; ++i) {
            const QString before = window->Label1->text();
            window->lbl_NEXT_Click();
            QVERIFY(window->Label1->text() != before);
        }
    }

    void shuffleOffContinuesFromTheLastPick() {
        auto window = StartedWindow();
        window->lblRandom_Click();
        window->SetRandomDraw(Picks({31}));
        window->lbl_NEXT_Click();
        ExpectPlaying(*window, 31);
        window->lblRandom_Click();
        QCOMPARE(window->lblRandom->text(), QStringLiteral(">Shuffle OFF<"));
        QCOMPARE(window->ShuffleOn, std::int16_t{0});
        ExpectPlaying(*window, 31);
        window->lbl_NEXT_Click();
        ExpectPlaying(*window, 32);
    }

    void outOfRangeNextSongPlaysNothingAndAdvances() {
        frm_MAIN window(folder_->path());
        window.Load();
        window.lbl_prev_Click();  // before the first song: 1 - 2 = -1
        QCOMPARE(window.NextSong, std::int16_t{0});
        QCOMPARE(window.MusicHandle, 0u);
        QCOMPARE(window.Label4->text(), QStringLiteral("???"));
        window.Timer1Tick();  // 0: still nothing
        QCOMPARE(window.NextSong, std::int16_t{1});
        QCOMPARE(window.MusicHandle, 0u);
        window.Timer1Tick();
        ExpectPlaying(window, 1);
        QVERIFY(boxes_->boxes().empty());
    }

    void missingSongShowsOneBoxThenMovesOn() {
        auto window = StartedWindow();
        // A Qt box runs an event loop: the poll, the title scroll and Next keep arriving while
        // it is open. None of them may start another song.
        int ticksWhileOpen = 0;
        boxes_->setWhileOpen([&](const audio::MessageBoxRequest&) {
            for (int i = 0; i < 5; ++i) {
                window->Timer1Tick();
                window->Timer2Tick();
                window->Timer3Tick();
                ++ticksWhileOpen;
            }
            window->PlaySong();
            window->lbl_NEXT_Click();
        });
        PlayFrom(*window, 13);
        QCOMPARE(ticksWhileOpen, 5);
        QCOMPARE(boxes_->boxes().size(), std::size_t{1});
        const audio::MessageBoxRequest& box = boxes_->boxes().front();
        QCOMPARE(box.text, QStringLiteral("Cannot Play Module)"));
        QCOMPARE(box.title, QStringLiteral("Hollowtide // Fenlark //"));
        QCOMPARE(box.icon, audio::MessageIcon::None);
        // After the box the player carries on as if the song had started.
        QCOMPARE(window->Label1->text(), QStringLiteral("13"));
        QCOMPARE(window->Label3->text(), QStringLiteral("Playing"));
        QCOMPARE(window->NextSong, std::int16_t{14});
        QCOMPARE(window->MusicHandle, 0u);

        window->Timer1Tick();
        ExpectPlaying(*window, 14);
        QCOMPARE(boxes_->boxes().size(), std::size_t{1});
    }

    // A pack in which nothing plays: one full round of boxes, then the player stops as Stop
    // leaves it, instead of showing boxes for ever.
    void nothingPlayableStopsAfterOneFullRound() {
        hollowtide::testing::TempDir empty;  // no data/ folder at all
        frm_MAIN window(QString::fromStdString(empty.path().string()));
        QSignalSpy ended(&window, &frm_MAIN::endProgramRequested);
        window.Load();
        for (int tick = 0; tick < hollowtide::player::kSongCount; ++tick) {
            QVERIFY2(window.Timer1->isActive(), qPrintable(QString::number(tick)));
            window.Timer1Tick();
        }
        QCOMPARE(boxes_->boxes().size(), std::size_t{49});
        for (const auto& box : boxes_->boxes())
            QCOMPARE(box.text, QStringLiteral("Cannot Play Module)"));
        ExpectStopped(window);
        QCOMPARE(window.Label1->text(), QStringLiteral("49"));
        QCOMPARE(window.NextSong, std::int16_t{50});

        // Play, Next and Previous each try again: one more box, and stopped again.
        window.Label2_Click();
        QCOMPARE(window.Label1->text(), QStringLiteral("49"));
        ExpectStopped(window);
        window.lbl_NEXT_Click();
        QCOMPARE(window.Label1->text(), QStringLiteral("1"));
        ExpectStopped(window);
        window.lbl_prev_Click();
        QCOMPARE(window.Label1->text(), QStringLiteral("49"));
        ExpectStopped(window);
        QCOMPARE(boxes_->boxes().size(), std::size_t{52});
        window.lblRandom_Click();
        QCOMPARE(window.ShuffleOn, std::int16_t{-1});
        QCOMPARE(boxes_->boxes().size(), std::size_t{52});

        window.imgExit_Click();
        QCOMPARE(ended.count(), 1);
    }

    // Shuffle over a pack in which nothing plays: random picks come back to the same songs, yet
    // the player stops after as many boxes as in order, not once every song has been drawn.
    void nothingPlayableUnderShuffleStopsAfterAsManyBoxes() {
        hollowtide::testing::TempDir empty;
        frm_MAIN window(QString::fromStdString(empty.path().string()));
        window.Load();
        window.lblRandom_Click();
        window.SetRandomDraw(nullptr);  // the clock-seeded picks, repeats and all
        for (int tick = 0; tick < 1000 && window.Timer1->isActive(); ++tick) window.Timer1Tick();
        ExpectStopped(window);
        QCOMPARE(boxes_->boxes().size(), std::size_t{49});
    }

    void aSingleSongThatPlaysKeepsThePlayerGoing() {
        std::set<int> missing;
        for (int number = 1; number <= hollowtide::player::kSongCount; ++number) {
            if (number != 30) missing.insert(number);
        }
        PlayerFolder folder(missing);
        frm_MAIN window(folder.path());
        window.Load();
        // Songs 1 to 29 fail, 30 plays; after it 31 to 49 and 1 to 29 fail, and 30 plays again:
        // more than a round of failures, but never every song, so the player never gives up.
        for (int tick = 0; tick < 30; ++tick) window.Timer1Tick();
        ExpectPlaying(window, 30);
        for (int round = 0; round < 2; ++round) {
            QVERIFY(PumpUntilEnded(window.MusicHandle));
            for (int tick = 0; tick < 20; ++tick) window.Timer1Tick();
            QCOMPARE(window.Label1->text(), QStringLiteral("1"));
            QCOMPARE(window.StopState, std::int16_t{0});
            QCOMPARE(window.Label2->text(), QStringLiteral(">Stop<"));
            QVERIFY(window.Timer1->isActive());
            for (int tick = 0; tick < 29; ++tick) window.Timer1Tick();
            ExpectPlaying(window, 30);
        }
        QCOMPARE(boxes_->boxes().size(), std::size_t{29 + 2 * 48});
    }

    void titleScrollsLeftAndReentersFromTheRight() {
        auto window = StartedWindow();
        window->Timer2Tick();
        QCOMPARE(window->TitleLeftTwips(), 2900);
        QCOMPARE(window->Label4->x(), 193);
        for (int i = 1; i < 60; ++i) window->Timer2Tick();
        QCOMPARE(window->TitleLeftTwips(), 3000);
        for (int i = 0; i < 10; ++i) window->Timer2Tick();
        window->lbl_NEXT_Click();  // every song start brings the title back
        QCOMPARE(window->TitleLeftTwips(), 3000);
        QCOMPARE(window->Label4->x(), 200);
    }

    void engineFailuresAtLoad_data() {
        QTest::addColumn<bool>("wrongVersion");
        QTest::addColumn<bool>("initFails");
        QTest::addColumn<QString>("message");
        QTest::newRow("version") << true << false << "BASS version 1.8 was not loaded";
        QTest::newRow("init") << false << true << "Can't initialize digital sound system";
    }

    void engineFailuresAtLoad() {
        QFETCH(bool, wrongVersion);
        QFETCH(bool, initFails);
        QFETCH(QString, message);
        audio::InjectFailures({wrongVersion, initFails, false});
        frm_MAIN window(folder_->path());
        QSignalSpy ended(&window, &frm_MAIN::endProgramRequested);
        window.Load();
        QCOMPARE(ended.count(), 1);
        QVERIFY(window.EndRequested());
        QCOMPARE(boxes_->boxes().size(), std::size_t{1});
        QVERIFY(boxes_->boxes().front().text.startsWith(message + QStringLiteral("\r\n")));
        QCOMPARE(boxes_->boxes().front().title, QStringLiteral("Error"));
        QCOMPARE(boxes_->boxes().front().icon, audio::MessageIcon::Critical);
        // Nothing after the failure ran, and nothing later starts a song.
        QVERIFY(!window.Timer1->isActive());
        QCOMPARE(window.Label3->text(), QStringLiteral("Label3"));
        window.Timer1Tick();
        window.lbl_NEXT_Click();
        QCOMPARE(window.MusicHandle, 0u);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(boxes_->boxes().size(), std::size_t{1});
    }

    void fatalFailureAtASongStartStopsEverything() {
        auto window = StartedWindow();
        QSignalSpy ended(window.get(), &frm_MAIN::endProgramRequested);
        audio::InjectFailures({true, false, false});
        window->lbl_NEXT_Click();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(boxes_->boxes().size(), std::size_t{1});
        QCOMPARE(window->NextSong, std::int16_t{2});
        QVERIFY(!window->Timer1->isActive() && !window->Timer4->isActive());
    }

    void failedOutputStartIsReportedAndPlayGoesOn() {
        audio::InjectFailures({false, false, true});
        frm_MAIN window(folder_->path());
        QSignalSpy ended(&window, &frm_MAIN::endProgramRequested);
        window.Load();
        window.Timer1Tick();
        QCOMPARE(ended.count(), 0);
        QCOMPARE(boxes_->boxes().size(), std::size_t{2});  // at load and at the song start
        QVERIFY(boxes_->boxes().back().text.startsWith(
            QStringLiteral("Can't start digital output\r\n")));
        QCOMPARE(window.Label1->text(), QStringLiteral("1"));
        QCOMPARE(window.Label4->text(), TitleOf(1));
        QCOMPARE(window.NextSong, std::int16_t{2});
    }

    void exitReleasesTheEngineAndEndsTheProgram_data() {
        QTest::addColumn<bool>("stopped");
        QTest::newRow("playing") << false;
        QTest::newRow("stopped") << true;
    }

    void exitReleasesTheEngineAndEndsTheProgram() {
        QFETCH(bool, stopped);
        auto window = StartedWindow();
        if (stopped) window->Label2_Click();
        QSignalSpy ended(window.get(), &frm_MAIN::endProgramRequested);
        window->imgExit_Click();
        QCOMPARE(ended.count(), 1);
        QVERIFY(boxes_->boxes().empty());
        QCOMPARE(BASS_ChannelIsActive(window->MusicHandle), 0u);
        QCOMPARE(audio::PumpOffline(nullptr, 512), std::size_t{0});  // no output runs
        window->Timer1Tick();
        QVERIFY(boxes_->boxes().empty());
        QCOMPARE(ended.count(), 1);
    }

    void aboutHidesTheWindowAndTheMusicPlaysOn() {
        auto window = StartedWindow();
        window->show();
        QSignalSpy about(window.get(), &frm_MAIN::aboutRequested);
        QTest::mouseClick(window->imgAbout, Qt::LeftButton);
        QCOMPARE(about.count(), 1);
        QVERIFY(window->isHidden());
        QVERIFY(window->Timer1->isActive());
        QVERIFY(PumpUntilEnded(window->MusicHandle));
        window->Timer1Tick();  // songs still advance while hidden
        ExpectPlaying(*window, 2);
    }

    void minimizeLeavesTheMusicPlaying() {
        auto window = StartedWindow();
        window->show();
        QTest::mouseClick(window->imgMinimize, Qt::LeftButton);
        QVERIFY(window->windowState() & Qt::WindowMinimized);
        ExpectPlaying(*window, 1);
        audio::PumpOffline(nullptr, 512);
        QVERIFY(BASS_ChannelIsActive(window->MusicHandle) != 0);
    }

    void textButtonsAnswerLeftClicksOnly() {
        auto window = StartedWindow();
        window->show();
        QTest::mouseClick(window->lbl_NEXT, Qt::RightButton);
        ExpectPlaying(*window, 1);
        QTest::mouseClick(window->lbl_NEXT, Qt::LeftButton);
        ExpectPlaying(*window, 2);
        QTest::mouseClick(window->Label2, Qt::LeftButton);
        QCOMPARE(window->Label3->text(), QStringLiteral("Stopped"));
        QTest::mouseClick(window->lblRandom, Qt::LeftButton);
        QCOMPARE(window->ShuffleOn, std::int16_t{-1});
        // A press that ends outside the button is no click.
        QTest::mousePress(window->lbl_prev, Qt::LeftButton);
        QTest::mouseRelease(window->lbl_prev, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(window->StopState, std::int16_t{1});
        QTest::mouseClick(window->lbl_prev, Qt::LeftButton);
        QCOMPARE(window->StopState, std::int16_t{0});
    }

    void mKeyAsksForTheHiddenWindowAtOnce() {
        auto window = StartedWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->Text1));
        QVERIFY(!window->Text1->geometry().intersects(window->rect()));
        QSignalSpy hidden(window.get(), &frm_MAIN::hiddenWindowRequested);
        QTest::keyClick(window->windowHandle(), Qt::Key_M);
        QTest::keyClick(window->windowHandle(), Qt::Key_M, Qt::ShiftModifier);
        QTest::keyClick(window->windowHandle(), Qt::Key_M, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(hidden.count(), 3);
        QTest::keyClick(window->windowHandle(), Qt::Key_N);
        QTest::keyClick(window->windowHandle(), Qt::Key_Space);
        QCOMPARE(hidden.count(), 3);
        ExpectPlaying(*window, 1);
    }

    // Key presses as the X11 and Wayland keyboards deliver them, with their native key codes
    // (the key's place) and keysyms (what it types).
    void mKeyWorksOnEveryLayout_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<quint32>("keysym");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("opens");
        QTest::newRow("US: M") << int(Qt::Key_M) << 58u << 0x6du << "m" << true;
        QTest::newRow("AZERTY: M, in US ;'s place")
            << int(Qt::Key_M) << 47u << 0x6du << "m" << true;
        QTest::newRow("AZERTY: comma, in US M's place")
            << int(Qt::Key_Comma) << 58u << 0x2cu << "," << false;
        QTest::newRow("Russian: soft sign, in US M's place")
            << 0x042C << 58u << 0x6d8u << QString(QChar(0x044C)) << true;
        QTest::newRow("Russian: te, in US N's place")
            << 0x0422 << 57u << 0x6d4u << QString(QChar(0x0442)) << false;
        QTest::newRow("Greek: mu, in US M's place")
            << 0x039C << 58u << 0x7ecu << QString(QChar(0x03BC)) << true;
    }
    void mKeyWorksOnEveryLayout() {
        QFETCH(int, key);
        QFETCH(quint32, scanCode);
        QFETCH(quint32, keysym);
        QFETCH(QString, text);
        QFETCH(bool, opens);
        auto window = StartedWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QSignalSpy hidden(window.get(), &frm_MAIN::hiddenWindowRequested);
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier, scanCode, keysym, 0, text);
            QCoreApplication::sendEvent(window->windowHandle(), &event);
        }
        QCOMPARE(hidden.count(), opens ? 1 : 0);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
