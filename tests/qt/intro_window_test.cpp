#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

#include "app/app_controller.h"
#include "app/intro_window.h"
#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "player/song_table.h"
#include "support/message_box_recorder.h"
#include "support/test_modules.h"

using namespace hollowtide;
using hollowtide::testing::MessageBoxRecorder;
using hollowtide::testing::TempDir;

namespace {

// A program folder whose data/ holds a short intro tune (or none).
struct ProgramFolder {
    explicit ProgramFolder(bool withIntroTune = true) {
        if (withIntroTune) {
            hollowtide::testing::WriteFile(dir / "data" / player::IntroTuneFileName().toStdString(),
                                           hollowtide::testing::MakeTestMod(16, 1, 3));
        }
    }
    QString path() const { return QString::fromStdString(dir.path().string()); }
    TempDir dir;
};

void SendMove(QWidget* item, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, at, item->mapToGlobal(at), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(item, &move);
}

void SendPress(QWidget* item, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, item->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(item, &press);
}

void Click(QWidget* item) {
    const QPoint centre = item->rect().center();
    QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, centre);
}

// To look at a window: HOLLOWTIDE_GRAB_DIR=/some/folder ./intro_window_test
void GrabForALook(QWidget& window, const char* name) {
    if (!qEnvironmentVariableIsSet("HOLLOWTIDE_GRAB_DIR")) return;
    window.grab().save(qEnvironmentVariable("HOLLOWTIDE_GRAB_DIR") + QLatin1Char('/') +
                       QLatin1String(name));
}

QColor TextColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

}  // namespace

class IntroWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(assets);
        audio::SetOutputKind(audio::OutputKind::Offline);
    }
    void cleanup() {
        audio::InjectFailures({});
        BASS_Free();
    }

    void loadStartsTheLoopingIntroTuneAndPlacesTheMarquee() {
        ProgramFolder folder;
        MessageBoxRecorder boxes;
        Form1 intro(folder.path());
        QVERIFY(intro.Load());
        QVERIFY(boxes.boxes().empty());
        QCOMPARE(intro.windowTitle(), QStringLiteral("Fenlark H.T."));
        QVERIFY(intro.IntroHandle != 0);
        QCOMPARE(intro.MarqueeColour.ColourStep, 1);
        // Strip left 705 twips, minus the text's own width, minus 500.
        const float expected = 705.0f - intro.Label1->width() * 15.0f - 500.0f;
        QCOMPARE(intro.Marquee.left(), expected);
        QCOMPARE(intro.Label1->x(), qRound(expected / 15.0f));

        // The tune is a few seconds long; looped, it is still active long after that.
        std::vector<float> buffer(2 * 4096);
        for (int i = 0; i < 200; ++i) audio::PumpOffline(buffer.data(), 4096);
        QVERIFY(BASS_ChannelIsActive(intro.IntroHandle) != 0);
    }

    void timersScrollAndColourTheMarquee() {
        ProgramFolder folder;
        MessageBoxRecorder boxes;
        Form1 intro(folder.path());
        QCOMPARE(intro.Timer1->interval(), 200);
        QCOMPARE(intro.Timer2->interval(), 50);
        QVERIFY(intro.Timer1->isActive() && intro.Timer2->isActive());
        QVERIFY(intro.Load());
        intro.Marquee.setLeft(-17300.0f);
        intro.Timer1Tick();
        intro.Timer1Tick();
        QCOMPARE(intro.Marquee.left(), -17500.0f);
        intro.Timer1Tick();
        QCOMPARE(intro.Marquee.left(), 2500.0f);
        QCOMPARE(intro.Label1->x(), 167);  // 2500 twips, nearest pixel

        intro.Timer2Tick();
        QCOMPARE(TextColour(intro.Label1), QColor(0, 255, 255));
        intro.Timer2Tick();
        QCOMPARE(TextColour(intro.Label1), QColor(255, 0, 0));
        intro.Timer2Tick();
        QCOMPARE(TextColour(intro.Label1), QColor(255, 255, 255));
    }

    void marqueeIsAsWideAsDesignedWithTheRealFont() {
        ProgramFolder folder;
        MessageBoxRecorder boxes;
        Form1 intro(folder.path());
        // 17505 twips: the width the scroll constants were chosen for, whatever face stands in.
        QCOMPARE(intro.Label1->width(), 1167);
        QCOMPARE(QFontMetrics(intro.Label1->font()).horizontalAdvance(intro.Label1->text()), 1167);
        QCOMPARE(intro.Label1->font().pixelSize(), 11);
        QVERIFY(intro.Load());
        QCOMPARE(intro.Marquee.left(), -17300.0f);
        QCOMPARE(intro.Label1->x(), -1153);
        QList<float> positions;
        for (int tick = 0; tick < 3; ++tick) {
            intro.Timer1Tick();
            positions << intro.Marquee.left();
        }
        QCOMPARE(positions, (QList<float>{-17400.0f, -17500.0f, 2500.0f}));

        // The last position of a pass, -17500 twips, has the whole text through the strip: the
        // last credit has been seen in full.
        intro.Marquee.setLeft(-17400.0f);
        intro.Timer1Tick();
        QCOMPARE(intro.Label1->x() + intro.Label1->width(), 0);
        intro.Marquee.setLeft(-3000.0f);  // mid-way, for the picture below
        intro.Timer1Tick();
        intro.show();
        QVERIFY(QTest::qWaitForWindowExposed(&intro));
        GrabForALook(intro, "Form1.png");
    }

    void windowHasAOnePixelFrameAroundShape1() {
        ProgramFolder folder;
        Form1 intro(folder.path());
        const QImage shot = intro.grab().toImage();
        GrabForALook(intro, "Form1_frame.png");
        for (const QPoint corner : {QPoint(0, 0), QPoint(496, 0), QPoint(0, 317), QPoint(496, 317),
                                    QPoint(248, 0), QPoint(0, 150)}) {
            QCOMPARE(shot.pixelColor(corner).rgb(), 0xFF808080u);
        }
        // Shape1, the white frame of the client area, lies just inside it from y = 0 (5 twips).
        QCOMPARE(shot.pixelColor(1, 150).rgb(), 0xFFFFFFFFu);
        QCOMPARE(shot.pixelColor(495, 150).rgb(), 0xFFFFFFFFu);
        QCOMPARE(shot.pixelColor(248, 1).rgb(), 0xFFFFFFFFu);
        QCOMPARE(shot.pixelColor(248, 315).rgb(), 0xFFFFFFFFu);
        QCOMPARE(shot.pixelColor(248, 316).rgb(), 0xFF000000u);  // the client's last row
    }

    void marqueeTextNamesTheGroupAndItsMusicians() {
        ProgramFolder folder;
        Form1 intro(folder.path());
        QVERIFY(
            intro.Label1->text().startsWith(QStringLiteral("F3NL4RK  CH!P P4CK... Featuring... ")));
        QCOMPARE(intro.Label1->text(), player::MarqueeText());
    }

    void fatalFailuresReportAndStopBeforeAnyWindowShows_data() {
        QTest::addColumn<bool>("wrongVersion");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("version") << true
                                 << QStringLiteral(
                                        "BASS version 1.8 was not loaded\r\n\r\n"
                                        "Error Code : 0\r\nAll is OK");
        QTest::newRow("init") << false
                              << QStringLiteral(
                                     "Can't initialize digital sound system\r\n\r\n"
                                     "Error Code : 3\r\nCan't Find a Free Sound "
                                     "Driver");
    }
    void fatalFailuresReportAndStopBeforeAnyWindowShows() {
        QFETCH(bool, wrongVersion);
        QFETCH(QString, expectedText);
        ProgramFolder folder;
        MessageBoxRecorder boxes;
        audio::InjectedFailures failures;
        failures.wrongVersion = wrongVersion;
        failures.initFails = !wrongVersion;
        audio::InjectFailures(failures);

        int ended = 0;
        AppController controller(folder.path(), [&] { ++ended; });
        QVERIFY(!controller.Start());
        QVERIFY(!controller.introScreen()->isVisible());
        QCOMPARE(boxes.boxes().size(), std::size_t{1});
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Error"));
        QCOMPARE(boxes.boxes()[0].icon, audio::MessageIcon::Critical);
        QCOMPARE(boxes.boxes()[0].text, expectedText);
        QCOMPARE(controller.introScreen()->IntroHandle, 0u);
    }

    void failedStartIsReportedAndTheIntroGoesOn() {
        ProgramFolder folder;
        MessageBoxRecorder boxes;
        audio::InjectedFailures failures;
        failures.startFails = true;
        audio::InjectFailures(failures);
        AppController controller(folder.path(), [] {});
        QVERIFY(controller.Start());
        QVERIFY(controller.introScreen()->isVisible());
        QCOMPARE(boxes.boxes().size(), std::size_t{1});
        QVERIFY(boxes.boxes()[0].text.startsWith(QStringLiteral("Can't start digital output\r\n")));
        QCOMPARE(controller.introScreen()->MarqueeColour.ColourStep, 1);
    }

    void missingIntroTuneGivesOneBoxAndASilentIntro() {
        ProgramFolder folder(false);
        MessageBoxRecorder boxes;
        Form1 intro(folder.path());
        QVERIFY(intro.Load());
        QCOMPARE(boxes.boxes().size(), std::size_t{1});
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Cannot Play Module)"));
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Hollowtide // Fenlark //"));
        QCOMPARE(boxes.boxes()[0].icon, audio::MessageIcon::None);
        QCOMPARE(intro.IntroHandle, 0u);
        QCOMPARE(intro.MarqueeColour.ColourStep, 1);

        // GO still releases the engine and hands over.
        QSignalSpy go(&intro, &Form1::goRequested);
        Click(intro.img_button_GO);
        QCOMPARE(go.count(), 1);
    }

    void introTuneIsFoundWhateverTheLetterCaseOnDisk() {
        TempDir dir;
        hollowtide::testing::WriteFile(
            dir / "DATA" / player::IntroTuneFileName().toLower().toStdString(),
            hollowtide::testing::MakeTestMod(16, 1, 3));
        MessageBoxRecorder boxes;
        Form1 intro(QString::fromStdString(dir.path().string()));
        QVERIFY(intro.Load());
        QVERIFY(boxes.boxes().empty());
        QVERIFY(BASS_ChannelIsActive(intro.IntroHandle) != 0);
    }

    void goReleasesTheEngine() {
        ProgramFolder folder;
        MessageBoxRecorder boxes;
        Form1 intro(folder.path());
        QVERIFY(intro.Load());
        QSignalSpy go(&intro, &Form1::goRequested);
        QSignalSpy end(&intro, &Form1::endProgramRequested);
        Click(intro.img_button_GO);
        QCOMPARE(go.count(), 1);
        QCOMPARE(end.count(), 0);
        QCOMPARE(BASS_ChannelIsActive(intro.IntroHandle), 0u);
        QCOMPARE(BASS_Start(), 0);  // nothing is initialised any more
        QCOMPARE(BASS_ErrorGetCode(), 8);
    }

    void exitReleasesTheTuneAndTheEngineAndEndsTheProgram() {
        ProgramFolder folder;
        MessageBoxRecorder boxes;
        int ended = 0;
        AppController controller(folder.path(), [&] { ++ended; });
        QVERIFY(controller.Start());
        Form1* intro = controller.introScreen();
        const DWORD handle = intro->IntroHandle;
        Click(intro->img_button_EXIT);
        QCOMPARE(ended, 1);
        QCOMPARE(BASS_ChannelIsActive(handle), 0u);
        QCOMPARE(BASS_Start(), 0);
        QVERIFY(boxes.boxes().empty());
    }

    void hoverCaptionFollowsThePointer() {
        ProgramFolder folder;
        Form1 intro(folder.path());
        intro.show();
        QVERIFY(QTest::qWaitForWindowExposed(&intro));
        QCOMPARE(intro.Label3->text(), QStringLiteral("Jumping jellyfish!"));
        const QStringList expected = {
            QStringLiteral("Plundering Porpoises!"), QStringLiteral("Jumping jellyfish!"),
            QStringLiteral("Harrowing hurricanes!"), QStringLiteral("Jumping jellyfish!")};
        const QList<QWidget*> path = {intro.img_button_GO, intro.Picture2, intro.img_button_EXIT,
                                      intro.Picture1};
        for (int i = 0; i < path.size(); ++i) {
            SendMove(path[i], QPoint(2, 2));
            QCOMPARE(intro.Label3->text(), expected[i]);
        }
        // Items without pointer handling leave the caption as it is.
        SendMove(intro.img_button_GO, QPoint(2, 2));
        SendMove(intro.Label2, QPoint(1, 1));
        SendMove(intro.Picture3, QPoint(1, 1));
        QCOMPARE(intro.Label3->text(), QStringLiteral("Plundering Porpoises!"));
        SendMove(&intro, QPoint(3, 300));
        QCOMPARE(intro.Label3->text(), QStringLiteral("Jumping jellyfish!"));
        // The caption stays centred where the layout put it.
        QCOMPARE(intro.Label3->geometry().center().x(), 307 + 99 / 2);
    }

    void bannerAndSurfaceDragTheWindowButTheMarqueeDoesNot() {
        ProgramFolder folder;
        Form1 intro(folder.path());
        intro.show();
        QVERIFY(QTest::qWaitForWindowExposed(&intro));
        const QPoint start = intro.pos();
        SendMove(intro.img_button_GO, QPoint(2, 2));
        SendPress(intro.Picture1, QPoint(100, 50));
        SendMove(intro.Picture1, QPoint(130, 60), Qt::LeftButton);
        QCOMPARE(intro.pos(), start + QPoint(30, 10));
        QCOMPARE(intro.Label3->text(), QStringLiteral("Jumping jellyfish!"));

        const QPoint afterDrag = intro.pos();
        for (QWidget* inert :
             {static_cast<QWidget*>(intro.Picture3), static_cast<QWidget*>(intro.Label1),
              static_cast<QWidget*>(intro.Label2)}) {
            SendPress(inert, QPoint(5, 5));
            SendMove(inert, QPoint(40, 20), Qt::LeftButton);
        }
        SendPress(intro.img_button_EXIT, QPoint(5, 5));
        SendMove(intro.img_button_EXIT, QPoint(40, 20), Qt::LeftButton);
        QCOMPARE(intro.pos(), afterDrag);
    }

    void layoutPutsTheHotAreasOverTheirBubbles() {
        ProgramFolder folder;
        Form1 intro(folder.path());
        // A 1-pixel window frame around the 495 x 316 client area moves every control by one.
        QCOMPARE(intro.size(), QSize(497, 318));
        QCOMPARE(intro.Picture1->geometry(), QRect(12, 8, 470, 235).translated(1, 1));
        QCOMPARE(intro.Picture2->geometry(), QRect(236, 241, 243, 73).translated(1, 1));
        QCOMPARE(intro.img_button_GO->geometry(), QRect(13, 5, 85, 53));
        QCOMPARE(intro.img_button_EXIT->geometry(), QRect(163, 7, 69, 37));
        QCOMPARE(intro.Picture3->geometry(), QRect(47, 288, 181, 25).translated(1, 1));
        QCOMPARE(intro.Label2->text(), QStringLiteral("C:\\>"));
        QVERIFY(intro.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!intro.Picture1->pixmap().isNull());
        QVERIFY(!intro.Picture2->pixmap().isNull());
        // The picture boxes do not stretch their images.
        QCOMPARE(intro.Picture1->pixmap().size(), QSize(474, 234));

        // Centred on the screen when it first shows; later shows keep where it was dragged.
        intro.show();
        const QPoint centre = intro.screen()->availableGeometry().center();
        QVERIFY((intro.frameGeometry().center() - centre).manhattanLength() <= 1);
        intro.hide();
        intro.move(intro.pos() + QPoint(40, 0));
        intro.show();
        QVERIFY((intro.frameGeometry().center() - centre).manhattanLength() >= 39);
    }
};

QTEST_MAIN(IntroWindowTest)
#include "intro_window_test.moc"
