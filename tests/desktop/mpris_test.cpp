// The player on the desktop's media controls, through a real session bus: CTest runs this
// binary inside its own private bus (dbus-run-session), and the test talks to the program over
// a second connection of its own, as a desktop would.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QtTest>

#include "app/app_controller.h"
#include "app/mpris_service.h"
#include "app/mpris_state.h"
#include "audio/engine_testing.h"
#include "player/song_table.h"
#include "qt/player_test_folder.h"
#include "support/message_box_recorder.h"

using namespace hollowtide;
namespace app = hollowtide::app;

namespace {

const QString kService = QString::fromLatin1(app::kMprisBusName);
const QString kPath = QString::fromLatin1(app::kMprisObjectPath);
const QString kPlayer = QString::fromLatin1(app::kMprisPlayerInterface);
const QString kRoot = QString::fromLatin1(app::kMprisRootInterface);
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

QString TitleOf(int number) {
    return QString::fromLatin1(player::FindSong(number)->displayTitle);
}

// The desktop's side: its own connection to the bus, calls that wait for their reply while the
// program's event loop runs, and the PropertiesChanged signals it has heard.
class Desktop : public QObject {
    Q_OBJECT
  public:
    Desktop() : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "desktop")) {
        bus_.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                     SLOT(Changed(QString, QVariantMap, QStringList)));
    }
    ~Desktop() override { QDBusConnection::disconnectFromBus("desktop"); }

    bool Connected() const { return bus_.isConnected(); }
    bool ServicePublished() const {
        return bus_.interface()->isServiceRegistered(kService).value();
    }

    // Starts a call; the reply comes while the event loop runs.
    QDBusPendingCall Start(const QString& interface, const QString& method,
                           const QVariantList& arguments = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        call.setArguments(arguments);
        return bus_.asyncCall(call);
    }

    // Calls and waits for the reply.
    QDBusMessage Call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusPendingCall pending = Start(interface, method, arguments);
        QDBusPendingCallWatcher watcher(pending);
        QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
        if (!pending.isFinished()) finished.wait(10000);
        return pending.reply();
    }

    QVariant Get(const QString& interface, const QString& property) {
        const QDBusMessage reply = Call(kProperties, QStringLiteral("Get"), {interface, property});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }

    QVariantMap Metadata() {
        return qdbus_cast<QVariantMap>(Get(kPlayer, QStringLiteral("Metadata")));
    }

    QList<QVariantMap> heard;

  public slots:
    void Changed(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == kPlayer) heard << changed;
    }

  private:
    QDBusConnection bus_;
};

}  // namespace

class MprisTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(assets);
        audio::SetOutputKind(audio::OutputKind::Offline);
        QVERIFY2(QDBusConnection::sessionBus().isConnected(),
                 "no session bus: run inside dbus-run-session");
    }
    void init() {
        boxes_ = std::make_unique<testing::MessageBoxRecorder>();
        folder_ = std::make_unique<testing::PlayerFolder>(std::set<int>{4});
        controller_ = std::make_unique<AppController>(folder_->path(), [this] { ++ended_; });
        ended_ = 0;
    }
    void cleanup() {
        controller_.reset();
        BASS_Free();
        folder_.reset();
        boxes_.reset();
    }

    void onlyTheMainWindowIsPublished() {
        Desktop desktop;
        QVERIFY(desktop.Connected());
        QVERIFY(controller_->Start());
        QVERIFY(!desktop.ServicePublished());  // the intro screen publishes nothing
        frm_MAIN* player = Go();
        player->Timer1->stop();  // the moment before the first poll, held
        QVERIFY(desktop.ServicePublished());
        QCOMPARE(controller_->mediaControls()->BusName(), kService);
        QCOMPARE(desktop.Get(kRoot, "Identity").toString(), QStringLiteral("Hollowtide"));
        QCOMPARE(desktop.Get(kRoot, "DesktopEntry").toString(),
                 QStringLiteral("org.fenlark.hollowtide"));
        QCOMPARE(desktop.Get(kPlayer, "CanSeek").toBool(), false);
        QCOMPARE(desktop.Get(kPlayer, "CanGoNext").toBool(), true);
        QCOMPARE(desktop.Get(kPlayer, "PlaybackStatus").toString(), QStringLiteral("Playing"));
        // Before the first song there is no track.
        QCOMPARE(desktop.Metadata().value("mpris:trackid").value<QDBusObjectPath>().path(),
                 QString::fromLatin1(app::kMprisNoTrack));

        delete player;  // the window goes, and its name with it
        QTRY_VERIFY(!desktop.ServicePublished());
    }

    void nextPlaysTheNextSongAndMetadataFollows() {
        Desktop desktop;
        QVERIFY(controller_->Start());
        frm_MAIN* player = Go();
        player->Timer1Tick();  // song 1
        QTRY_VERIFY(!desktop.heard.isEmpty());
        QVERIFY(!qdbus_cast<QVariantMap>(desktop.heard.last().value("Metadata")).isEmpty());
        QVariantMap metadata = desktop.Metadata();
        QCOMPARE(metadata.value("xesam:title").toString(), TitleOf(1));
        QCOMPARE(metadata.value("xesam:artist").toStringList(), QStringList{"ANCHORBYTE"});
        QCOMPARE(metadata.value("mpris:trackid").value<QDBusObjectPath>().path(),
                 QStringLiteral("/org/fenlark/Hollowtide/track/1"));
        // Four rows at speed 1: 0.08 s, as the decoder reckons it.
        QCOMPARE(metadata.value("mpris:length").toLongLong(), 80000);

        desktop.heard.clear();
        const QDBusMessage reply = desktop.Call(kPlayer, "Next");
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(player->Label1->text(), QStringLiteral("2"));
        QVERIFY(BASS_ChannelIsActive(player->MusicHandle) != 0);
        QCOMPARE(desktop.Metadata().value("xesam:title").toString(), TitleOf(2));
        QTRY_VERIFY(!desktop.heard.isEmpty());
        const QVariantMap announced =
            qdbus_cast<QVariantMap>(desktop.heard.first().value("Metadata"));
        QCOMPARE(announced.value("xesam:title").toString(), TitleOf(2));

        desktop.Call(kPlayer, "Previous");
        QCOMPARE(player->Label1->text(), QStringLiteral("1"));
        QCOMPARE(desktop.Metadata().value("xesam:title").toString(), TitleOf(1));
        desktop.Call(kPlayer, "Seek", {qlonglong(5000000)});
        desktop.Call(kPlayer, "SetPosition",
                     {QVariant::fromValue(QDBusObjectPath("/org/fenlark/Hollowtide/track/1")),
                      qlonglong(0)});
        QCOMPARE(player->Label1->text(), QStringLiteral("1"));
        QCOMPARE(player->NextSong, std::int16_t{2});
    }

    void playPauseStopAndShuffleAreTheButtonsClicks() {
        Desktop desktop;
        QVERIFY(controller_->Start());
        frm_MAIN* player = Go();
        player->Timer1Tick();
        desktop.Call(kPlayer, "Play");  // already playing: nothing
        QCOMPARE(player->NextSong, std::int16_t{2});
        desktop.heard.clear();
        desktop.Call(kPlayer, "Pause");
        QCOMPARE(player->Label3->text(), QStringLiteral("Stopped"));
        QCOMPARE(player->Label2->text(), QStringLiteral(">Play<"));
        QCOMPARE(desktop.Get(kPlayer, "PlaybackStatus").toString(), QStringLiteral("Stopped"));
        QTRY_VERIFY(!desktop.heard.isEmpty());
        QCOMPARE(desktop.heard.first().value("PlaybackStatus").toString(),
                 QStringLiteral("Stopped"));
        desktop.Call(kPlayer, "Stop");  // already stopped: nothing
        QCOMPARE(player->StopState, std::int16_t{1});
        desktop.Call(kPlayer, "PlayPause");
        QCOMPARE(player->StopState, std::int16_t{0});
        QCOMPARE(player->Label1->text(), QStringLiteral("1"));  // Play restarts the same song
        QCOMPARE(desktop.Get(kPlayer, "PlaybackStatus").toString(), QStringLiteral("Playing"));
        desktop.Call(kPlayer, "Stop");
        QCOMPARE(player->StopState, std::int16_t{1});
        desktop.Call(kPlayer, "Play");
        QCOMPARE(player->StopState, std::int16_t{0});

        desktop.heard.clear();
        desktop.Call(kProperties, "Set",
                     {kPlayer, QStringLiteral("Shuffle"), QVariant::fromValue(QDBusVariant(true))});
        QCOMPARE(player->ShuffleOn, std::int16_t{-1});
        QCOMPARE(player->lblRandom->text(), QStringLiteral(">Shuffle ON<"));
        QCOMPARE(desktop.Get(kPlayer, "Shuffle").toBool(), true);
        QTRY_VERIFY(!desktop.heard.isEmpty());
        QCOMPARE(desktop.heard.first().value("Shuffle").toBool(), true);
        desktop.Call(kProperties, "Set",  // the same value again: no click
                     {kPlayer, QStringLiteral("Shuffle"), QVariant::fromValue(QDBusVariant(true))});
        QCOMPARE(player->ShuffleOn, std::int16_t{-1});
    }

    void callsWaitWhileAMessageBoxIsOpen() {
        Desktop desktop;
        QVERIFY(controller_->Start());
        frm_MAIN* player = Go();
        player->Timer1Tick();
        player->NextSong = 3;
        player->PlaySong();  // song 3 plays
        // Next reaches song 4, whose file is missing: its box stays open while Pause comes from
        // the desktop. Pause waits, and runs once the box is closed.
        std::optional<QDBusPendingCall> waiting;
        bool waitedInLine = false;
        boxes_->setWhileOpen([&](const audio::MessageBoxRequest&) {
            if (waiting) return;
            waiting = desktop.Start(kPlayer, "Pause");
            QTRY_COMPARE(controller_->mediaControls()->WaitingCalls(), std::size_t{1});
            waitedInLine = !waiting->isFinished() && player->StopState == 0;
        });
        desktop.Call(kPlayer, "Next");
        QVERIFY(waitedInLine);
        QCOMPARE(boxes_->boxes().size(), std::size_t{1});
        QTRY_VERIFY(waiting->isFinished());
        QVERIFY(!waiting->isError());
        QCOMPARE(player->StopState, std::int16_t{1});
        QCOMPARE(player->Label3->text(), QStringLiteral("Stopped"));
        QCOMPARE(desktop.Get(kPlayer, "PlaybackStatus").toString(), QStringLiteral("Stopped"));
    }

    // Raise brings forward the window the user sees: the About screen while it is open (the
    // player stays hidden behind it), else the player.
    void raiseShowsTheWindowAndQuitIsExit() {
        Desktop desktop;
        QVERIFY(controller_->Start());
        frm_MAIN* player = Go();
        player->Timer1Tick();
        player->imgAbout_Click();
        QVERIFY(!player->isVisible());
        desktop.Call(kRoot, "Raise");
        QVERIFY(!player->isVisible());
        QVERIFY(controller_->aboutScreen()->isVisible());
        controller_->aboutScreen()->close();
        QVERIFY(player->isVisible());
        player->hide();
        desktop.Call(kRoot, "Raise");
        QVERIFY(player->isVisible());

        const DWORD song = player->MusicHandle;
        desktop.Call(kRoot, "Quit");
        QCOMPARE(ended_, 1);
        QVERIFY(player->EndRequested());
        QCOMPARE(BASS_ChannelIsActive(song), 0u);
        QCOMPARE(BASS_ErrorGetCode(), 8);  // the engine is released
    }

  private:
    frm_MAIN* Go() {
        QTest::mouseClick(controller_->introScreen()->img_button_GO, Qt::LeftButton);
        boxes_->clear();  // the folder has no intro tune: forget its box
        return controller_->player();
    }

    std::unique_ptr<testing::MessageBoxRecorder> boxes_;
    std::unique_ptr<testing::PlayerFolder> folder_;
    std::unique_ptr<AppController> controller_;
    int ended_ = 0;
};

QTEST_MAIN(MprisTest)
#include "mpris_test.moc"
