#include <QtTest>

#include "app/app_controller.h"
#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "player/song_table.h"
#include "support/message_box_recorder.h"
#include "support/test_modules.h"

using namespace hollowtide;
using hollowtide::testing::MessageBoxRecorder;
using hollowtide::testing::TempDir;

namespace {

void Click(QWidget* item) {
    QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, item->rect().center());
}

void RunDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
